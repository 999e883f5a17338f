#pragma once
// The scripted platform of the tests: every modal question is answered from a script queued beforehand,
// nothing is shown or started, and every call is recorded in order so a test can check what the user
// would have seen. Plain C++: it never needs a window system.

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace velmaro::platform {

class FakePlatform final : public Platform {
 public:
  // Version: the project's own; application folder: "/opt/velmaro".
  FakePlatform();

  // --- script ---
  // The next message box is answered with answer. The answer is given back as queued, even one its box
  // does not offer, so a test can drive a caller into its "impossible" branch. With nothing queued a box
  // answers with its default button: Ok, or Yes for Yes/No.
  void queueAnswer(Answer answer) { answers_.push_back(answer); }
  // The next file dialog is closed with name, or cancelled when name is nullopt (it then yields the
  // request's preset). With nothing queued a dialog is cancelled.
  void queueFileName(std::optional<std::string> name) { fileNames_.push_back(std::move(name)); }
  // The next shellOpen answers result; with nothing queued it answers the default result (true at first).
  void queueShellResult(bool result) { shellResults_.push_back(result); }
  void setDefaultShellResult(bool result) { defaultShellResult_ = result; }
  void setApplicationFolder(std::string folder) { applicationFolder_ = std::move(folder); }
  void setVersion(Version version) { version_ = version; }

  // --- records, in call order ---
  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
  const std::vector<Launch>& launches() const { return launches_; }
  int beepCount() const { return beepCount_; }
  int quitCount() const { return quitCount_; }
  // Script entries not used yet, so a test can tell that its whole script was consumed.
  std::size_t pendingAnswers() const { return answers_.size(); }
  std::size_t pendingFileNames() const { return fileNames_.size(); }
  std::size_t pendingShellResults() const { return shellResults_.size(); }

  // --- Platform ---
  Answer showMessage(const Message& message) override;
  std::string chooseFile(const FileDialogRequest& request) override;
  void beep() override { ++beepCount_; }
  bool shellOpen(const Launch& launch) override;
  std::string applicationFolder() const override { return applicationFolder_; }
  Version version() const override { return version_; }
  void quit() override { ++quitCount_; }  // the process goes on: the test decides what follows

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> fileNames_;
  std::deque<bool> shellResults_;
  bool defaultShellResult_ = true;
  std::string applicationFolder_;
  Version version_;

  std::vector<Message> messages_;
  std::vector<FileDialogRequest> fileDialogs_;
  std::vector<Launch> launches_;
  int beepCount_ = 0;
  int quitCount_ = 0;
};

}  // namespace velmaro::platform
