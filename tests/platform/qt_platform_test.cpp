// The Qt platform on the offscreen window system and a private desktop: HOME and the user's XDG folders
// point into an empty temporary folder, so a test sees anything the platform stores there, and the only
// registered application is /bin/true, so nothing real is ever started. Modal boxes and dialogs are
// answered from inside their own event loops, the way a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDirIterator>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/qt_platform.h"

namespace velmaro::platform {
namespace {

const QTemporaryDir sandbox;
QString at(const QString& path) { return path.contains(':') ? path : QDir(sandbox.path()).filePath(path); }

void write(const QString& relative, const QByteArray& text) {
  QDir().mkpath(QFileInfo(at(relative)).path());
  QFile file(at(relative));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}

QStringList homeContent() {
  QStringList content;
  for (QDirIterator it(at("home"), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
       it.hasNext();) content << it.next();
  return content;
}

// Acts on the next modal widget once it shows; should it stay open after that, it is closed a few seconds
// later, so a widget waiting for something unexpected fails its test instead of hanging it.
void onNextModal(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    const QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (modal.isNull()) return;
    poll->stop();
    poll->deleteLater();
    act(modal);
    QTimer::singleShot(4000, qApp, [modal] { while (modal && QApplication::activeModalWidget()) QApplication::activeModalWidget()->close(); });
  });
  poll->start(10);
}

// seen: text|title|icon (QMessageBox::Icon)|buttons, the default one marked *|text format (0: plain)
struct MessageRow { Message message; Qt::Key key; const char* seen; Answer answer; };
class QtMessageBox : public ::testing::TestWithParam<MessageRow> {};

TEST_P(QtMessageBox, ShowsTitleIconAndButtonsAndYieldsTheAnswer) {
  QString seen;
  onNextModal([&seen](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
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

// chosen: nullptr cancels. seen: filters|name field|accept mode, file mode, no overwrite question, Qt's own dialog|suffix
struct DialogRow { DialogMode mode; const char* pattern; const char* chosen; const char* seen; };
class QtFileDialog : public ::testing::TestWithParam<DialogRow> {};

TEST_P(QtFileDialog, ShowsTheFilterAndPresetAndStoresNoSettings) {
  const DialogRow& row = GetParam();
  QString seen;
  onNextModal([&seen, &row](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    seen = QString("%1|%2|%3%4%5%6|%7").arg(dialog->nameFilters().join(','), dialog->findChild<QLineEdit*>("fileNameEdit")->text())
               .arg(dialog->acceptMode()).arg(dialog->fileMode()).arg(dialog->testOption(QFileDialog::DontConfirmOverwrite))
               .arg(dialog->testOption(QFileDialog::DontUseNativeDialog)).arg(dialog->defaultSuffix());
    if (row.chosen == nullptr) return dialog->reject();
    dialog->selectFile(at(row.chosen));
    static_cast<QDialog*>(dialog)->accept();
  });
  const std::string chosen = QtPlatform(nullptr, "VELMARO").chooseFile({row.mode, "File selection All", row.pattern, row.pattern});
  EXPECT_EQ(chosen, row.chosen != nullptr ? at(row.chosen).toStdString() : row.pattern);
  EXPECT_EQ(seen.toStdString(), row.seen);
  EXPECT_EQ(homeContent(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Rows, QtFileDialog, ::testing::Values(
    DialogRow{DialogMode::Open, "*.jpg", "work/sheet12.jpg", "File selection All (*.jpg)|*.jpg|0001|"},
    DialogRow{DialogMode::Save, "*.txt", "work/points", "File selection All (*.txt)|*.txt|1011|"},
    DialogRow{DialogMode::Open, "*.jpg", nullptr, "File selection All (*.jpg)|*.jpg|0001|"},
    DialogRow{DialogMode::Save, "*.txt", nullptr, "File selection All (*.txt)|*.txt|1011|"}));

struct LaunchRow { LaunchKind kind; const char* target; const char* folder; bool started; };
class QtShellOpen : public ::testing::TestWithParam<LaunchRow> {
 protected:
  static void SetUpTestSuite() {
    write("home/applications/harmless.desktop", "[Desktop Entry]\nType=Application\nName=Harmless\nExec=/bin/true %u\n");
    write("home/applications/mimeapps.list", "[Default Applications]\napplication/vnd.google-earth.kml+xml=harmless.desktop\n"
                                             "text/plain=harmless.desktop\nx-scheme-handler/mailto=harmless.desktop\n");
    write("work/points.kml", "<kml/>\n");
    write("work/map.png", "");
  }
  static void TearDownTestSuite() { QDir(at("home/applications")).removeRecursively(); }
};

TEST_P(QtShellOpen, ReportsWhetherSomethingStarted) {
  const LaunchRow& row = GetParam();
  const Launch launch{row.kind, at(row.target).toStdString(), "", at(row.folder).toStdString()};
  EXPECT_EQ(QtPlatform(nullptr, "VELMARO").shellOpen(launch), row.started);
}

INSTANTIATE_TEST_SUITE_P(Rows, QtShellOpen, ::testing::Values(
    LaunchRow{LaunchKind::Document, "work/points.kml", "work", true},
    LaunchRow{LaunchKind::Document, "work/absent.kml", "work", false},
    LaunchRow{LaunchKind::Document, "work/map.png", "work", false},
    LaunchRow{LaunchKind::TextEditor, "work/map.png", "work", true},
    LaunchRow{LaunchKind::Link, "mailto:contact@example.org?CC=&BCC=&Subject=Velmaro&Body=Velmaro", "work", true},
    LaunchRow{LaunchKind::Link, "velmaro-nothing:x", "work", false},
    LaunchRow{LaunchKind::Program, "/bin/true", "work", true},
    LaunchRow{LaunchKind::Program, "/bin/true", "work/absent", false},
    LaunchRow{LaunchKind::Program, "work/absent", "work", false},
    LaunchRow{LaunchKind::Program, "work/points.kml", "work", false}));

}  // namespace
}  // namespace velmaro::platform

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  using velmaro::platform::at;
  for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) qputenv(name, at("home").toUtf8());
  for (const char* folder : {"home", "share", "work"}) QDir().mkpath(at(folder));
  QFile::link("/usr/share/mime", at("share/mime"));  // file types from the system, applications only from the test
  qputenv("XDG_DATA_DIRS", at("share").toUtf8());
  qputenv("XDG_CONFIG_DIRS", at("etc").toUtf8());
  qputenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + at("no-bus")).toUtf8());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
