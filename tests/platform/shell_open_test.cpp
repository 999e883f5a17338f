// The shell open against a real, sandboxed desktop: HOME and the XDG folders point into a temporary
// folder, handlers are registered there as desktop files whose programs are small scripts that record
// their working folder and arguments, and xdg-mime itself answers the queries.
#include "platform/qt_platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/platform/scoped_environment.h"

namespace velmaro::platform {
namespace {

using Strings = std::vector<std::string>;

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

void writeFile(const QString& path, const std::string& text, bool executable = false) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();
  if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// One sandboxed desktop for the whole suite: the MIME database must keep one place for the life of the
// process (Qt caches it), so only the folders below it are emptied between tests.
class DesktopSandbox : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(root_->isValid());
    QDir().mkpath(path("share"));
    // File types still come from the system's MIME database; only the applications are hidden.
    QFile::link(QStringLiteral("/usr/share/mime"), path("share/mime"));
    environment_ = std::make_unique<testing::ScopedEnvironment>();
    environment_->set("HOME", path("home").toStdString());
    environment_->set("XDG_DATA_HOME", path("home/.local/share").toStdString());
    environment_->set("XDG_CONFIG_HOME", path("home/.config").toStdString());
    environment_->set("XDG_DATA_DIRS", path("share").toStdString());
    environment_->set("XDG_CONFIG_DIRS", path("etc-xdg").toStdString());
    // xdg-mime asks KDE's own tools when it believes it runs in KDE; the sandbox needs its generic rules.
    for (const char* name : {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "KDE_SESSION_VERSION", "XDG_MENU_PREFIX"}) {
      environment_->set(name, std::nullopt);
    }
  }

  static void TearDownTestSuite() {
    environment_.reset();
    root_.reset();
  }

  void SetUp() override {
    for (const char* folder : {"home", "share/applications", "app folder", "work", "out"}) {
      QDir(path(folder)).removeRecursively();
      QDir().mkpath(path(folder));
    }
    writeFile(path("work/my points.kml"), "<kml/>\n");
    writeFile(path("work/my points.png"), "not really a picture\n");
    mimeApps_.clear();
  }

  static QString path(const QString& relative) { return root_->filePath(relative); }

  // Replaces {work}, {app} and {cwd} by the sandbox's folders and the process's current folder.
  static std::string expand(std::string text) {
    const std::map<std::string, QString> folders{
        {"{work}", path("work")}, {"{app}", path("app folder")}, {"{cwd}", QDir::currentPath()}};
    for (const auto& [placeholder, folder] : folders) {
      for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder)) {
        text.replace(at, placeholder.size(), QFileInfo(folder).canonicalFilePath().toStdString());
      }
    }
    return text;
  }

  // A program that writes its working folder and then each argument, one a line, to out/<name>.txt.
  static QString writeRecorder(const QString& scriptPath, const QString& name) {
    const std::string out = path("out/" + name + ".txt").toStdString();
    writeFile(scriptPath,
              "#!/bin/sh\n{ pwd -P; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + out + ".part' && mv '" +
                  out + ".part' '" + out + "'\n",
              true);
    return scriptPath;
  }

  // What the recorder of that name wrote, once it has run; nullopt when it did not within a few seconds.
  static std::optional<Strings> recorded(const QString& name) {
    QFile file(path("out/" + name + ".txt"));
    for (int attempt = 0; attempt < 250 && !file.exists(); ++attempt) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    Strings lines;
    for (const QByteArray& line : file.readAll().split('\n')) lines.push_back(line.toStdString());
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
  }

  static void writeDesktopFile(const std::string& desktopId, const std::string& body) {
    writeFile(path(QString::fromStdString("home/.local/share/applications/" + desktopId)), "[Desktop Entry]\n" + body);
  }

  // Makes desktopId the user's choice for mimeType, the way "xdg-mime default" does.
  void makeDefault(const std::string& mimeType, const std::string& desktopId) {
    mimeApps_[mimeType] = desktopId;
    std::string text = "[Default Applications]\n";
    for (const auto& [type, id] : mimeApps_) text += type + "=" + id + ";\n";
    writeFile(path("home/.config/mimeapps.list"), text);
  }

  // A registration that xdg-mime reports without checking the desktop file, so the lookup's own checks
  // are the ones under test.
  static void listInDefaults(const std::string& mimeType, const std::string& desktopId) {
    writeFile(path("home/.local/share/applications/defaults.list"), "[Default Applications]\n" + mimeType + "=" + desktopId + "\n");
  }

  static bool open(LaunchKind kind, const std::string& target, const std::optional<std::string>& parameters,
                   const std::optional<std::string>& workingFolder) {
    QtPlatform platform(nullptr, "VELMARO");
    return platform.shellOpen(Launch{kind, expand(target), parameters, workingFolder ? std::optional(expand(*workingFolder)) : std::nullopt});
  }

 private:
  static inline std::unique_ptr<QTemporaryDir> root_;
  static inline std::unique_ptr<testing::ScopedEnvironment> environment_;
  std::map<std::string, std::string> mimeApps_;
};

constexpr const char* kMailLink = "mailto:contact@example.org?CC=&BCC=&Subject=Velmaro&Body=Velmaro";

// ---- nothing registered ----

struct UnhandledRow {
  const char* name;
  LaunchKind kind;
  const char* target;
};

class ShellOpenWithoutHandlers : public DesktopSandbox, public ::testing::WithParamInterface<UnhandledRow> {};

TEST_P(ShellOpenWithoutHandlers, ReportsFailure) {
  EXPECT_FALSE(open(GetParam().kind, GetParam().target, "", "{app}"));
}

INSTANTIATE_TEST_SUITE_P(Table, ShellOpenWithoutHandlers, ::testing::Values(
    UnhandledRow{"kml_document", LaunchKind::Document, "{work}/my points.kml"},
    UnhandledRow{"mail_link", LaunchKind::Link, kMailLink},
    UnhandledRow{"text_editor", LaunchKind::TextEditor, "{work}/my points.kml"}),
    rowName<UnhandledRow>);

// ---- handlers registered ----

struct HandledRow {
  const char* name;
  LaunchKind kind;
  const char* target;
  std::optional<std::string> workingFolder;
  const char* recorder;      // which handler should have run; "" when none should
  Strings expectedRecord;    // its working folder, then its arguments
};

class ShellOpenWithHandlers : public DesktopSandbox, public ::testing::WithParamInterface<HandledRow> {
 protected:
  void SetUp() override {
    DesktopSandbox::SetUp();
    registerHandler("application/vnd.google-earth.kml+xml", "viewer", "%f");
    registerHandler("text/plain", "editor", "--new %U");
    registerHandler("x-scheme-handler/mailto", "mail", "%u");
  }

  void registerHandler(const std::string& mimeType, const QString& name, const std::string& fieldCodes) {
    const QString program = writeRecorder(path("bin/" + name), name);
    writeDesktopFile(name.toStdString() + ".desktop", "Type=Application\nName=" + name.toStdString() + "\nExec=" +
                                                          program.toStdString() + " " + fieldCodes + "\n");
    makeDefault(mimeType, name.toStdString() + ".desktop");
  }
};

TEST_P(ShellOpenWithHandlers, StartsTheRegisteredApplication) {
  const HandledRow& row = GetParam();
  const bool started = open(row.kind, row.target, "", row.workingFolder);
  if (std::string(row.recorder).empty()) {
    EXPECT_FALSE(started);
    return;
  }
  ASSERT_TRUE(started);
  Strings expected;
  for (const std::string& line : row.expectedRecord) expected.push_back(expand(line));
  EXPECT_EQ(recorded(row.recorder), std::optional(expected));
}

INSTANTIATE_TEST_SUITE_P(Table, ShellOpenWithHandlers, ::testing::Values(
    HandledRow{"kml_document_to_viewer", LaunchKind::Document, "{work}/my points.kml", "{app}", "viewer",
               Strings{"{app}", "{work}/my points.kml"}},
    HandledRow{"text_editor_gets_url", LaunchKind::TextEditor, "{work}/my points.kml", "{app}", "editor",
               Strings{"{app}", "--new", "file://{work}/my%20points.kml"}},
    HandledRow{"mail_link_to_mail_program", LaunchKind::Link, kMailLink, std::nullopt, "mail",
               Strings{"{cwd}", kMailLink}},
    HandledRow{"missing_document", LaunchKind::Document, "{work}/absent.kml", "{app}", "", {}},
    HandledRow{"folder_is_not_a_document", LaunchKind::Document, "{work}", "{app}", "", {}},
    HandledRow{"unregistered_file_type", LaunchKind::Document, "{work}/my points.png", "{app}", "", {}},
    HandledRow{"unregistered_scheme", LaunchKind::Link, "https://example.org/", std::nullopt, "", {}},
    HandledRow{"link_without_scheme", LaunchKind::Link, "contact at example.org", std::nullopt, "", {}}),
    rowName<HandledRow>);

// ---- registrations that cannot work ----

struct BrokenRow {
  const char* name;
  const char* desktopFileBody;  // nullptr: no desktop file at all
};

class ShellOpenWithBrokenHandler : public DesktopSandbox, public ::testing::WithParamInterface<BrokenRow> {};

TEST_P(ShellOpenWithBrokenHandler, ReportsFailure) {
  const QString recorder = writeRecorder(path("bin/viewer"), "viewer");
  if (GetParam().desktopFileBody != nullptr) {
    std::string body = GetParam().desktopFileBody;
    body.replace(body.find("{recorder}"), 10, recorder.toStdString());
    writeDesktopFile("viewer.desktop", body);
  }
  listInDefaults("application/vnd.google-earth.kml+xml", "viewer.desktop");
  EXPECT_FALSE(open(LaunchKind::Document, "{work}/my points.kml", "", "{app}"));
}

INSTANTIATE_TEST_SUITE_P(Table, ShellOpenWithBrokenHandler, ::testing::Values(
    BrokenRow{"desktop_file_missing", nullptr},
    BrokenRow{"program_not_in_path", "Exec=velmaro-no-such-viewer %f {recorder}\n"},
    BrokenRow{"entry_hidden", "Exec={recorder} %f\nHidden=true\n"},
    BrokenRow{"unterminated_quote", "Exec=\"{recorder} %f\n"},
    BrokenRow{"working_folder_missing", "Exec={recorder} %f\nPath=/nonexistent/velmaro\n"}),
    rowName<BrokenRow>);

// The same registration as listed in the rows above, intact, does start: the broken rows fail for their
// own fault, not because the defaults.list route never works.
TEST_F(DesktopSandbox, ListedInDefaultsStarts) {
  const QString recorder = writeRecorder(path("bin/viewer"), "viewer");
  writeDesktopFile("viewer.desktop", "Exec=" + recorder.toStdString() + " %f\n");
  listInDefaults("application/vnd.google-earth.kml+xml", "viewer.desktop");
  ASSERT_TRUE(open(LaunchKind::Document, "{work}/my points.kml", "", "{app}"));
  EXPECT_EQ(recorded("viewer"), std::optional(Strings{expand("{app}"), expand("{work}/my points.kml")}));
}

TEST_F(DesktopSandbox, TerminalApplicationNeedsATerminal) {
  if (!QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator")).isEmpty()) {
    GTEST_SKIP() << "a terminal emulator is installed; this checks the refusal without one";
  }
  const QString recorder = writeRecorder(path("bin/editor"), "editor");
  writeDesktopFile("editor.desktop", "Exec=" + recorder.toStdString() + " %f\nTerminal=true\n");
  makeDefault("text/plain", "editor.desktop");
  EXPECT_FALSE(open(LaunchKind::TextEditor, "{work}/my points.kml", std::nullopt, "{app}"));
}

// ---- programs ----

struct ProgramRow {
  const char* name;
  const char* programContent;  // nullptr: no program file; "recorder": the recording script; else this text
  bool executable;             // for a text
  std::optional<std::string> parameters;
  std::optional<std::string> workingFolder;
  std::optional<Strings> expectedRecord;  // nullopt: the start must fail
};

class ShellOpenProgram : public DesktopSandbox, public ::testing::WithParamInterface<ProgramRow> {};

TEST_P(ShellOpenProgram, StartsTheProgramItself) {
  const ProgramRow& row = GetParam();
  const QString program = path("app folder/Transko.EXE");
  const std::string content = row.programContent != nullptr ? row.programContent : "";
  if (content == "recorder") writeRecorder(program, "program");
  else if (row.programContent != nullptr) writeFile(program, content, row.executable);
  const bool started = open(LaunchKind::Program, program.toStdString(), row.parameters, row.workingFolder);
  if (!row.expectedRecord) {
    EXPECT_FALSE(started);
    return;
  }
  ASSERT_TRUE(started);
  Strings expected;
  for (const std::string& line : *row.expectedRecord) expected.push_back(expand(line));
  EXPECT_EQ(recorded("program"), std::optional(expected));
}

INSTANTIATE_TEST_SUITE_P(Table, ShellOpenProgram, ::testing::Values(
    ProgramRow{"missing_program", nullptr, false, "", "{app}", std::nullopt},
    ProgramRow{"not_executable", "#!/bin/sh\nexit 0\n", false, "", "{app}", std::nullopt},
    ProgramRow{"not_a_program", "MZ\x90\n", true, "", "{app}", std::nullopt},
    ProgramRow{"working_folder_missing", "recorder", true, "", "/nonexistent/velmaro", std::nullopt},
    ProgramRow{"runs_in_working_folder", "recorder", true, "", "{app}", Strings{"{app}"}},
    ProgramRow{"parameters_absent", "recorder", true, std::nullopt, "{work}", Strings{"{work}"}},
    ProgramRow{"parameters_split_like_a_command_line", "recorder", true, R"(-a "b c")", "{app}", Strings{"{app}", "-a", "b c"}},
    ProgramRow{"no_working_folder_keeps_current", "recorder", true, "", std::nullopt, Strings{"{cwd}"}}),
    rowName<ProgramRow>);

}  // namespace
}  // namespace velmaro::platform
