#include "platform/shell_open.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include "platform/desktop_launch.h"

namespace velmaro::platform {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// QProcess rather than GLib's spawn: a file that is no program (a Windows .EXE) fails instead of being handed
// to /bin/sh as a script.
bool startProgram(const Launch& launch) {
  if (launch.target.empty()) return false;
  const QStringList arguments = QProcess::splitCommand(qt(launch.parameters.value_or("")));
  return QProcess::startDetached(qt(launch.target), arguments, qt(launch.workingFolder.value_or("")));
}

}  // namespace

bool shellOpen(const Launch& launch) {
  switch (launch.kind) {
    case LaunchKind::Document: return OpenDocument(launch.target);
    case LaunchKind::TextEditor: return OpenWithApplicationFor("text/plain", launch.target);
    case LaunchKind::Link: return OpenLink(launch.target);
    case LaunchKind::Program: return startProgram(launch);
  }
  return false;
}

}  // namespace velmaro::platform
