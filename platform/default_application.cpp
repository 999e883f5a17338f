#include "platform/default_application.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace velmaro::platform {
namespace {

// xdg-mime is a shell script that may probe the session (dbus-send, xprop); a hung probe must not freeze the window.
constexpr int kQueryTimeoutMs = 5000;

std::string environmentOr(const char* name, const std::string& fallback) {
  const QString value = qEnvironmentVariable(name);
  return value.isEmpty() ? fallback : value.toStdString();
}

void appendApplicationFolders(std::string_view colonList, std::vector<std::string>& folders) {
  while (!colonList.empty()) {
    const std::size_t end = std::min(colonList.find(':'), colonList.size());
    std::string folder(colonList.substr(0, end));
    colonList.remove_prefix(std::min(end + 1, colonList.size()));
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (!folder.empty()) folders.push_back(folder + "/applications");
  }
}

std::optional<std::string> readFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll().toStdString();
}

}  // namespace

std::vector<std::string> applicationFolders() {
  std::vector<std::string> folders;
  appendApplicationFolders(environmentOr("XDG_DATA_HOME", environmentOr("HOME", "") + "/.local/share"), folders);
  appendApplicationFolders(environmentOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share"), folders);
  return folders;
}

std::vector<std::string> desktopFileCandidates(std::string_view desktopId) {
  std::vector<std::string> candidates{std::string(desktopId)};
  for (std::size_t dash = desktopId.find('-'); dash != std::string_view::npos; dash = desktopId.find('-', dash + 1)) {
    std::string candidate(desktopId);
    candidate[dash] = '/';
    candidates.push_back(std::move(candidate));
  }
  return candidates;
}

std::optional<std::string> queryDefaultDesktopId(const std::string& mimeType) {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return std::nullopt;
  QProcess query;
  query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QString::fromStdString(mimeType)});
  if (!query.waitForFinished(kQueryTimeoutMs)) {
    query.kill();
    query.waitForFinished(kQueryTimeoutMs);
    return std::nullopt;
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return std::nullopt;
  // A list "a.desktop;b.desktop" names the preferred one first.
  const QString answer = QString::fromUtf8(query.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0);
  const QString first = answer.section(QLatin1Char(';'), 0, 0).trimmed();
  if (first.isEmpty()) return std::nullopt;
  return first.toStdString();
}

std::optional<std::string> findDesktopFile(std::string_view desktopId) {
  if (desktopId.empty() || desktopId.find('/') != std::string_view::npos) return std::nullopt;
  const std::vector<std::string> candidates = desktopFileCandidates(desktopId);
  for (const std::string& folder : applicationFolders()) {
    for (const std::string& candidate : candidates) {
      const std::string path = folder + "/" + candidate;
      const QFileInfo info(QString::fromStdString(path));
      if (info.isFile() && info.isReadable()) return path;
    }
  }
  return std::nullopt;
}

std::optional<RegisteredApplication> defaultApplicationFor(const std::string& mimeType) {
  const std::optional<std::string> desktopId = queryDefaultDesktopId(mimeType);
  if (!desktopId) return std::nullopt;
  const std::optional<std::string> desktopFile = findDesktopFile(*desktopId);
  if (!desktopFile) return std::nullopt;
  const std::optional<std::string> text = readFile(*desktopFile);
  if (!text) return std::nullopt;
  std::optional<DesktopEntry> entry = parseDesktopEntry(*text);
  if (!entry) return std::nullopt;
  return RegisteredApplication{std::move(*entry), *desktopFile};
}

}  // namespace velmaro::platform
