#include "platform/fake_platform.h"

#include "platform/project_version.h"

namespace velmaro::platform {
namespace {

// Takes the front of a script queue, or fallback when the script has run out.
template <typename T, typename U>
T takeOr(std::deque<T>& queue, U&& fallback) {
  if (queue.empty()) return T(std::forward<U>(fallback));
  T front = std::move(queue.front());
  queue.pop_front();
  return front;
}

Answer defaultAnswer(Buttons buttons) { return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok; }

}  // namespace

FakePlatform::FakePlatform() : applicationFolder_("/opt/velmaro"), version_(kProjectVersion) {}

Answer FakePlatform::showMessage(const Message& message) {
  messages_.push_back(message);
  return takeOr(answers_, defaultAnswer(message.buttons));
}

std::string FakePlatform::chooseFile(const FileDialogRequest& request) {
  fileDialogs_.push_back(request);
  const std::optional<std::string> chosen = takeOr(fileNames_, std::nullopt);
  return chosen.value_or(request.presetName);
}

bool FakePlatform::shellOpen(const Launch& launch) {
  launches_.push_back(launch);
  return takeOr(shellResults_, defaultShellResult_);
}

}  // namespace velmaro::platform
