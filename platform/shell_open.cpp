#include "platform/shell_open.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "platform/default_application.h"
#include "platform/desktop_entry.h"

namespace velmaro::platform {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

bool startDetached(const std::vector<std::string>& command, const std::string& workingFolder) {
  // QProcess would search PATH too, but a program that is not there must count as failure before anything starts.
  const QString program = QStandardPaths::findExecutable(qt(command.front()));
  if (program.isEmpty()) return false;
  QStringList arguments;
  for (std::size_t i = 1; i < command.size(); ++i) arguments << qt(command[i]);
  return QProcess::startDetached(program, arguments, qt(workingFolder));
}

std::optional<std::vector<std::string>> inTerminal(std::vector<std::string> command) {
  if (QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator")).isEmpty()) return std::nullopt;
  command.insert(command.begin(), {"x-terminal-emulator", "-e"});
  return command;
}

bool openWithDefaultApplication(const std::string& mimeType, const ExecTarget& target,
                                const std::optional<std::string>& workingFolder) {
  const std::optional<RegisteredApplication> application = defaultApplicationFor(mimeType);
  if (!application) return false;
  std::optional<std::vector<std::string>> command =
      commandLineFor(application->entry, application->desktopFile, target);
  if (command && application->entry.terminal) command = inTerminal(std::move(*command));
  if (!command) return false;
  const std::string folder = application->entry.path.empty() ? workingFolder.value_or("") : application->entry.path;
  return startDetached(*command, folder);
}

// The application is started in another folder, so a relative name is made absolute first.
ExecTarget fileTarget(const std::string& path) {
  if (path.empty()) return ExecTarget{};
  const QString absolute = QFileInfo(qt(path)).absoluteFilePath();
  return ExecTarget{absolute.toStdString(), QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded).toStdString()};
}

bool openDocument(const Launch& launch) {
  const QFileInfo document(qt(launch.target));
  if (!document.isFile()) return false;
  const QString mimeType = QMimeDatabase().mimeTypeForFile(document).name();
  return openWithDefaultApplication(mimeType.toStdString(), fileTarget(launch.target), launch.workingFolder);
}

bool openInTextEditor(const Launch& launch) {
  return openWithDefaultApplication("text/plain", fileTarget(launch.target), launch.workingFolder);
}

bool openLink(const Launch& launch) {
  const QString scheme = QUrl(qt(launch.target), QUrl::TolerantMode).scheme().toLower();
  if (scheme.isEmpty()) return false;
  return openWithDefaultApplication("x-scheme-handler/" + scheme.toStdString(), ExecTarget{launch.target, launch.target},
                                    launch.workingFolder);
}

bool startProgram(const Launch& launch) {
  if (launch.target.empty()) return false;
  const QStringList arguments = QProcess::splitCommand(qt(launch.parameters.value_or("")));
  return QProcess::startDetached(qt(launch.target), arguments, qt(launch.workingFolder.value_or("")));
}

}  // namespace

bool shellOpen(const Launch& launch) {
  switch (launch.kind) {
    case LaunchKind::Document: return openDocument(launch);
    case LaunchKind::TextEditor: return openInTextEditor(launch);
    case LaunchKind::Link: return openLink(launch);
    case LaunchKind::Program: return startProgram(launch);
  }
  return false;
}

}  // namespace velmaro::platform
