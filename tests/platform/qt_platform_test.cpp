// The Qt platform on the offscreen window system and a private desktop: HOME and the user's XDG folders
// point into a temporary folder that holds nothing but the test's own registrations, so a test sees
// anything the platform stores there; the only registered application is /bin/true, so nothing real is
// ever started. Modal boxes and dialogs are answered from inside their own event loops, as a user would.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "platform/qt_platform.h"

using namespace velmaro::platform;

const QTemporaryDir sandbox;
QString at(const QString& path) { return path.contains(':') ? path : QDir(sandbox.path()).filePath(path); }
std::string atText(const char* path) { return path != nullptr ? at(path).toStdString() : ""; }

void write(const QString& path, const QByteArray& text) { QFile file(at(path)); file.open(QIODevice::WriteOnly); file.write(text); }

// Acts on the next modal widget (a W) once it shows; should it stay open after that, it is closed a few seconds
// later, so a widget waiting for something unexpected fails its test instead of hanging it.
template <typename W, typename Act>
void onNextModal(Act act) {
  QTimer::singleShot(10, qApp, [act] {
    const QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (modal.isNull()) return onNextModal<W>(act);
    act(qobject_cast<W*>(modal.data()));
    QTimer::singleShot(4000, qApp, [modal] { while (modal && qApp->activeModalWidget()) qApp->activeModalWidget()->close(); });
  });
}

// seen: text|title|icon (QMessageBox::Icon)|buttons, the default one marked *|text format (0: plain)
struct MessageRow { Message message; Qt::Key key; const char* seen; Answer answer; };
class QtMessageBox : public ::testing::TestWithParam<MessageRow> {};

TEST_P(QtMessageBox, ShowsTitleIconAndButtonsAndYieldsTheAnswer) {
  QString seen;
  onNextModal<QMessageBox>([&seen](QMessageBox* box) {
    seen = QString("%1|%2|%3|").arg(box->text(), box->windowTitle()).arg(box->icon());
    for (QAbstractButton* button : box->buttons()) seen += button->text() + (button == box->defaultButton() ? "*" : "");
    seen += "|" + QString::number(box->textFormat());
    QTest::keyClick(box, GetParam().key);
  });
  EXPECT_EQ(QtPlatform(nullptr, "VELMARO").showMessage(GetParam().message), GetParam().answer);
  EXPECT_EQ(seen.toStdString(), GetParam().seen);
}

INSTANTIATE_TEST_SUITE_P(Rows, QtMessageBox, ::testing::Values(
    MessageRow{{"<b>saved", Buttons::Ok, Icon::Information, "Tessaro"}, Qt::Key_Return, "<b>saved|Tessaro|1|OK*|0", Answer::Ok},
    MessageRow{{"Unable to launch Google Earth ", Buttons::Ok, Icon::None, {}}, Qt::Key_Escape, "Unable to launch Google Earth |VELMARO|0|OK*|0", Answer::Ok},
    MessageRow{{"Maximum 250 points", Buttons::Ok, Icon::Stop, "Tessaro"}, Qt::Key_Return, "Maximum 250 points|Tessaro|3|OK*|0", Answer::Ok},
    MessageRow{{"Display KML Code ?", Buttons::YesNo, Icon::None, "Tessaro"}, Qt::Key_Return, "Display KML Code ?|Tessaro|0|&Yes*&No|0", Answer::Yes},
    MessageRow{{"Display KML Code ?", Buttons::YesNo, Icon::None, {}}, Qt::Key_Escape, "Display KML Code ?|VELMARO|0|&Yes*&No|0", Answer::No}));

// chosen: nullptr cancels. seen: filters|name field|accept mode (1: save), no overwrite question, Qt's own dialog
struct DialogRow { DialogMode mode; const char* pattern; const char* chosen; const char* seen; };
class QtFileDialog : public ::testing::TestWithParam<DialogRow> {};

TEST_P(QtFileDialog, ShowsTheFilterAndPresetAndStoresNoSettings) {
  const DialogRow& row = GetParam();
  QString seen;
  onNextModal<QFileDialog>([&seen, &row](QFileDialog* dialog) {
    seen = QString("%1|%2|%3%4%5").arg(dialog->nameFilters().join(','), dialog->findChild<QLineEdit*>("fileNameEdit")->text())
               .arg(dialog->acceptMode()).arg(dialog->testOption(QFileDialog::DontConfirmOverwrite)).arg(dialog->testOption(QFileDialog::DontUseNativeDialog));
    if (row.chosen == nullptr) return dialog->reject();
    dialog->selectFile(at(row.chosen));
    static_cast<QDialog*>(dialog)->accept();
  });
  const std::string chosen = QtPlatform(nullptr, "VELMARO").chooseFile({row.mode, "File selection All", row.pattern, row.pattern});
  EXPECT_EQ(chosen, row.chosen != nullptr ? atText(row.chosen) : row.pattern);
  EXPECT_EQ(seen.toStdString(), row.seen);
  // Qt's dialog must leave no state in the user's folders.
  EXPECT_EQ(QDir(at("home")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(' ').toStdString(), "applications");
}

INSTANTIATE_TEST_SUITE_P(Rows, QtFileDialog, ::testing::Values(
    DialogRow{DialogMode::Open, "*.jpg", "work/sheet12.jpg", "File selection All (*.jpg)|*.jpg|001"},
    DialogRow{DialogMode::Save, "*.txt", "work/points", "File selection All (*.txt)|*.txt|111"},
    DialogRow{DialogMode::Open, "*.jpg", nullptr, "File selection All (*.jpg)|*.jpg|001"},
    DialogRow{DialogMode::Save, "*.txt", nullptr, "File selection All (*.txt)|*.txt|111"}));

struct LaunchRow { LaunchKind kind; const char* target; const char* folder; bool started; };
class QtShellOpen : public ::testing::TestWithParam<LaunchRow> {};

TEST_P(QtShellOpen, ReportsWhetherSomethingStarted) {
  const LaunchRow& row = GetParam();
  EXPECT_EQ(QtPlatform(nullptr, "VELMARO").shellOpen({row.kind, atText(row.target), "", atText(row.folder)}), row.started);
}

INSTANTIATE_TEST_SUITE_P(Rows, QtShellOpen, ::testing::Values(
    LaunchRow{LaunchKind::Document, "work/points.kml", "work", true},
    LaunchRow{LaunchKind::Document, "work/absent.kml", "work", false},
    LaunchRow{LaunchKind::Document, "work/map.png", "work", false},
    LaunchRow{LaunchKind::Document, "work/route.gpx", "work", false},  // XML: only the text editor would take it
    LaunchRow{LaunchKind::TextEditor, "work/map.png", "work", true},
    LaunchRow{LaunchKind::Link, "mailto:contact@example.org?CC=&BCC=&Subject=Velmaro&Body=Velmaro", nullptr, true},
    LaunchRow{LaunchKind::Link, "velmaro-nothing:x", nullptr, false},
    LaunchRow{LaunchKind::Program, "/bin/true", "work", true},
    LaunchRow{LaunchKind::Program, "/bin/true", "work/absent", false},
    LaunchRow{LaunchKind::Program, "work/absent", "work", false}));

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) qputenv(name, at("home").toUtf8());
  for (const char* folder : {"home/applications", "share", "work"}) QDir().mkpath(at(folder));
  write("home/applications/harmless.desktop", "[Desktop Entry]\nType=Application\nName=Harmless\nExec=/bin/true %u\n");
  write("home/applications/mimeapps.list", "[Default Applications]\napplication/vnd.google-earth.kml+xml=harmless.desktop\n"
                                           "text/plain=harmless.desktop\nx-scheme-handler/mailto=harmless.desktop\n");
  write("work/points.kml", "<kml/>\n");
  write("work/map.png", "");  // a type nothing is registered for
  write("work/route.gpx", "<gpx/>\n");
  QFile::link("/usr/share/mime", at("share/mime"));  // file types from the system, applications only from the test
  qputenv("XDG_DATA_DIRS", at("share").toUtf8());
  qputenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + at("no-bus")).toUtf8());  // no session bus to wait for
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
