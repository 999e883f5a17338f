// The Qt platform's modal boxes and dialogs, answered from inside their own event loops the way a user
// would: a timer waits for the modal widget, checks what it shows, then clicks, types or presses a key.
#include "platform/qt_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace velmaro::platform {
namespace {

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// Runs act on the next modal widget of type W as soon as it is shown, from inside its event loop. A
// watchdog closes any modal widget still open a few seconds later, so a dialog that waits for something
// unexpected fails the test instead of hanging it. Both timers die with the object, at the end of the test.
template <typename W>
class ModalResponder {
 public:
  explicit ModalResponder(std::function<void(W*)> act) : act_(std::move(act)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] { respond(); });
    poll_.start(10);
    watchdog_.setSingleShot(true);
    QObject::connect(&watchdog_, &QTimer::timeout, [] {
      while (QWidget* modal = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "a modal widget was still open: " << modal->metaObject()->className();
        modal->close();
      }
    });
    watchdog_.start(5000);
  }

 private:
  void respond() {
    auto* widget = qobject_cast<W*>(QApplication::activeModalWidget());
    if (widget == nullptr) return;
    poll_.stop();
    act_(widget);
  }

  std::function<void(W*)> act_;
  QTimer poll_;
  QTimer watchdog_;
};

// ---- message boxes ----

enum class UserAction { ClickOk, ClickYes, ClickNo, PressEnter, PressEscape };

struct MessageRow {
  const char* name;
  Message message;
  const char* expectedTitle;
  QMessageBox::Icon expectedIcon;
  UserAction action;
  Answer expectedAnswer;
};

struct SeenBox {
  QString text, title;
  Qt::TextFormat format = Qt::AutoText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

void perform(QMessageBox* box, UserAction action) {
  switch (action) {
    case UserAction::ClickOk: box->button(QMessageBox::Ok)->click(); break;
    case UserAction::ClickYes: box->button(QMessageBox::Yes)->click(); break;
    case UserAction::ClickNo: box->button(QMessageBox::No)->click(); break;
    case UserAction::PressEnter: QTest::keyClick(box, Qt::Key_Return); break;
    case UserAction::PressEscape: QTest::keyClick(box, Qt::Key_Escape); break;
  }
}

class QtMessageBox : public ::testing::TestWithParam<MessageRow> {};

TEST_P(QtMessageBox, ShowsTheMessageAndReturnsTheButton) {
  const MessageRow& row = GetParam();
  SeenBox seen;
  ModalResponder<QMessageBox> user([&seen, &row](QMessageBox* box) {
    seen = SeenBox{box->text(), box->windowTitle(), box->textFormat(), box->icon(), box->standardButtons(),
                   box->standardButton(box->defaultButton())};
    perform(box, row.action);
  });
  QtPlatform platform(nullptr, "VELMARO");
  EXPECT_EQ(platform.showMessage(row.message), row.expectedAnswer);

  EXPECT_EQ(seen.text.toStdString(), row.message.text);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.title.toStdString(), row.expectedTitle);
  EXPECT_EQ(seen.icon, row.expectedIcon);
  const bool yesNo = row.message.buttons == Buttons::YesNo;
  EXPECT_EQ(seen.buttons, yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(seen.defaultButton, yesNo ? QMessageBox::Yes : QMessageBox::Ok);
}

INSTANTIATE_TEST_SUITE_P(Table, QtMessageBox, ::testing::Values(
    MessageRow{"confirmation", {"D:\\maps\\sheet12.txt has been saved", Buttons::Ok, Icon::Information, "Tessaro"},
               "Tessaro", QMessageBox::Information, UserAction::ClickOk, Answer::Ok},
    MessageRow{"untitled_takes_application_title", {"Unable to launch Google Earth ", Buttons::Ok, Icon::None, std::nullopt},
               "VELMARO", QMessageBox::NoIcon, UserAction::PressEnter, Answer::Ok},
    MessageRow{"stop_icon_closed_by_escape", {"Maximum 250 points", Buttons::Ok, Icon::Stop, "Tessaro"},
               "Tessaro", QMessageBox::Critical, UserAction::PressEscape, Answer::Ok},
    MessageRow{"markup_shown_as_typed", {"<b>a</b> & b", Buttons::Ok, Icon::None, std::nullopt},
               "VELMARO", QMessageBox::NoIcon, UserAction::ClickOk, Answer::Ok},
    MessageRow{"question_enter_takes_yes", {"Display KML Code ?", Buttons::YesNo, Icon::None, "Tessaro"},
               "Tessaro", QMessageBox::NoIcon, UserAction::PressEnter, Answer::Yes},
    MessageRow{"question_yes", {"Display the points on GOOGLES EARTH?", Buttons::YesNo, Icon::None, "Tessaro"},
               "Tessaro", QMessageBox::NoIcon, UserAction::ClickYes, Answer::Yes},
    MessageRow{"question_no", {"Display KML Code ?", Buttons::YesNo, Icon::None, "Tessaro"},
               "Tessaro", QMessageBox::NoIcon, UserAction::ClickNo, Answer::No},
    MessageRow{"question_escape_is_no", {"Display KML Code ?", Buttons::YesNo, Icon::None, std::nullopt},
               "VELMARO", QMessageBox::NoIcon, UserAction::PressEscape, Answer::No}),
    rowName<MessageRow>);

// ---- file dialogs ----

struct FileDialogRow {
  const char* name;
  FileDialogRequest request;
  std::optional<std::string> typed;   // nullopt: the user cancels; "{dir}" stands for the dialog's folder
  const char* existing;               // a file made in that folder first, "" for none
  const char* expected;               // "{dir}" as above
};

struct SeenDialog {
  QStringList filters;
  QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
  QFileDialog::FileMode fileMode = QFileDialog::ExistingFile;
  bool confirmsOverwrite = true;
  bool native = true;
  QString defaultSuffix, fileNameField;
};

class QtFileDialog : public ::testing::TestWithParam<FileDialogRow> {
 protected:
  // One folder for the suite, made the current one: the dialog starts there, and returns there, since Qt
  // reopens in the folder last visited.
  static void SetUpTestSuite() {
    folder_ = std::make_unique<QTemporaryDir>();
    previous_ = QDir::currentPath();
    QDir::setCurrent(folder_->path());
  }
  static void TearDownTestSuite() {
    QDir::setCurrent(previous_);
    folder_.reset();
  }
  static std::string expand(std::string text) {
    const std::string dir = QFileInfo(folder_->path()).canonicalFilePath().toStdString();
    for (std::size_t at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}")) text.replace(at, 5, dir);
    return text;
  }
  static inline std::unique_ptr<QTemporaryDir> folder_;
  static inline QString previous_;
};

// The dialog lists its folder in a worker thread and, once done, updates its selection, which would
// override a name typed before; a user never types that fast, so the test waits for the listing too.
void waitForFolderListing(QFileDialog* dialog) {
  auto* model = dialog->findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  QSignalSpy listed(model, &QFileSystemModel::directoryLoaded);
  listed.wait(1000);  // it may have been listed already
}

void typeAndAccept(QFileDialog* dialog, const std::string& name) {
  waitForFolderListing(dialog);
  auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(field, nullptr);
  field->clear();
  QTest::keyClicks(field, QString::fromStdString(name));
  auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  ASSERT_NE(buttons, nullptr);
  QTest::mouseClick(buttons->buttons().first(), Qt::LeftButton);
}

TEST_P(QtFileDialog, YieldsTheChosenNameOrThePreset) {
  const FileDialogRow& row = GetParam();
  if (std::string(row.existing).size() > 0) {
    QFile existing(QString::fromStdString(expand(row.existing)));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  }
  SeenDialog seen;
  ModalResponder<QFileDialog> user([&seen, &row](QFileDialog* dialog) {
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    seen = SeenDialog{dialog->nameFilters(), dialog->acceptMode(), dialog->fileMode(),
                      !dialog->testOption(QFileDialog::DontConfirmOverwrite), !dialog->testOption(QFileDialog::DontUseNativeDialog),
                      dialog->defaultSuffix(), field != nullptr ? field->text() : QString()};
    if (row.typed) typeAndAccept(dialog, expand(*row.typed));
    else dialog->reject();
  });
  QtPlatform platform(nullptr, "VELMARO");
  const std::string chosen = platform.chooseFile(row.request);

  EXPECT_EQ(chosen, expand(row.expected));
  const std::string filter = row.request.filterDescription + " (" + row.request.filterPattern + ")";
  EXPECT_EQ(seen.filters, QStringList{QString::fromStdString(filter)});
  const bool save = row.request.mode == DialogMode::Save;
  EXPECT_EQ(seen.acceptMode, save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  EXPECT_EQ(seen.fileMode, QFileDialog::AnyFile);
  EXPECT_EQ(seen.confirmsOverwrite, !save);
  EXPECT_FALSE(seen.native);
  EXPECT_TRUE(seen.defaultSuffix.isEmpty());
  EXPECT_EQ(seen.fileNameField.toStdString(), row.request.presetName);
}

const FileDialogRequest kOpenMap{DialogMode::Open, "File selection All", "*.jpg", "*.jpg"};
const FileDialogRequest kSaveXy{DialogMode::Save, "File selection All", "*.txt", "*.txt"};

INSTANTIATE_TEST_SUITE_P(Table, QtFileDialog, ::testing::Values(
    FileDialogRow{"open_existing_map", kOpenMap, "sheet12.jpg", "{dir}/sheet12.jpg", "{dir}/sheet12.jpg"},
    FileDialogRow{"open_need_not_exist", kOpenMap, "absent.jpg", "", "{dir}/absent.jpg"},
    FileDialogRow{"open_adds_no_extension", kOpenMap, "sheet12", "", "{dir}/sheet12"},
    FileDialogRow{"open_absolute_name", kOpenMap, "{dir}/other.jpg", "", "{dir}/other.jpg"},
    FileDialogRow{"save_new_name", kSaveXy, "points.txt", "", "{dir}/points.txt"},
    FileDialogRow{"save_over_existing_without_asking", kSaveXy, "old.txt", "{dir}/old.txt", "{dir}/old.txt"},
    FileDialogRow{"save_adds_no_extension", kSaveXy, "points", "", "{dir}/points"},
    FileDialogRow{"open_cancelled_gives_preset", kOpenMap, std::nullopt, "", "*.jpg"},
    FileDialogRow{"save_cancelled_gives_preset", kSaveXy, std::nullopt, "", "*.txt"}),
    rowName<FileDialogRow>);

// ---- application information and quitting ----

TEST(QtPlatformApplication, FolderIsTheExecutablesWithoutTrailingSeparator) {
  QtPlatform platform(nullptr, "VELMARO");
  const std::string folder = platform.applicationFolder();
  EXPECT_EQ(folder, std::filesystem::canonical("/proc/self/exe").parent_path().string());
  EXPECT_NE(folder.back(), '/');
}

TEST(QtPlatformApplication, VersionIsTheProjects) {
  const Version version = QtPlatform(nullptr, "VELMARO").version();
  EXPECT_EQ(version.major, VELMARO_TEST_VERSION_MAJOR);
  EXPECT_EQ(version.minor, VELMARO_TEST_VERSION_MINOR);
  EXPECT_EQ(version.revision, VELMARO_TEST_VERSION_PATCH);
}

class StubbornWindow : public QWidget {
 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

struct QuitRow {
  const char* name;
  bool windowRefuses;
  bool insideModalBox;  // quit pressed while a message box's own loop runs
};

class QtPlatformQuit : public ::testing::TestWithParam<QuitRow> {};

TEST_P(QtPlatformQuit, ClosesWindowsAndEndsTheEventLoop) {
  std::unique_ptr<QWidget> window = GetParam().windowRefuses ? std::make_unique<StubbornWindow>() : std::make_unique<QWidget>();
  window->show();
  QtPlatform platform(window.get(), "VELMARO");
  std::optional<ModalResponder<QMessageBox>> user;
  if (GetParam().insideModalBox) {
    QTimer::singleShot(0, [&platform] { platform.showMessage(Message{"busy", Buttons::Ok, Icon::None, std::nullopt}); });
    user.emplace([&platform](QMessageBox*) { platform.quit(); });
  } else {
    QTimer::singleShot(0, [&platform] { platform.quit(); });
  }
  // Should quit fail to end the loop, this ends it with another code.
  QTimer fallback;
  fallback.setSingleShot(true);
  QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  fallback.start(4000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_EQ(window->isVisible(), GetParam().windowRefuses);
}

INSTANTIATE_TEST_SUITE_P(Table, QtPlatformQuit, ::testing::Values(
    QuitRow{"window_closes", false, false},
    QuitRow{"window_refuses", true, false},
    QuitRow{"from_a_modal_box", false, true}),
    rowName<QuitRow>);

}  // namespace
}  // namespace velmaro::platform
