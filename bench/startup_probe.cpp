// velmaro_startup_probe: the program's start-up up to the moment the map dialog is requested.
//
//   velmaro_startup_probe [--at-main]
//
// Runs what velmaro's main() runs (the application, the Qt platform, Form1, Form_Load), except that the
// platform, asked for the map dialog, writes one line to standard output instead, "<microseconds since
// main() was entered>", and ends the process at once. With --at-main the line is written on entering main():
// the time the system needs to start any program linked like velmaro, before a line of its code runs.
// The benchmark starts it and times it from the outside.
#include <QApplication>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/qt_platform.h"
#include "ui/form1.h"

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void ReportAndExit(Clock::time_point mainEntered) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - mainEntered);
  const std::string line = std::to_string(elapsed.count()) + "\n";
  // Straight to the descriptor and out without destructors: the parent stops its clock on this line.
  if (write(STDOUT_FILENO, line.data(), line.size()) < 0) _exit(1);
  _exit(0);
}

// The real desktop platform, but the map dialog is where start-up ends.
class ProbePlatform final : public velmaro::platform::Platform {
 public:
  explicit ProbePlatform(Clock::time_point mainEntered) : real_(nullptr, "VELMARO"), mainEntered_(mainEntered) {}

  void setOwner(QWidget* owner) { real_.setOwner(owner); }

  velmaro::platform::Answer showMessage(const velmaro::platform::Message& message) override {
    return real_.showMessage(message);
  }
  std::string chooseFile(const velmaro::platform::FileDialogRequest&) override { ReportAndExit(mainEntered_); }
  void beep() override { real_.beep(); }
  bool shellOpen(const velmaro::platform::Launch& launch) override { return real_.shellOpen(launch); }
  std::string applicationFolder() const override { return real_.applicationFolder(); }
  velmaro::platform::Version version() const override { return real_.version(); }
  void quit() override { real_.quit(); }

 private:
  velmaro::platform::QtPlatform real_;
  Clock::time_point mainEntered_;
};

}  // namespace

int main(int argc, char* argv[]) {
  const Clock::time_point mainEntered = Clock::now();
  if (argc == 2 && std::strcmp(argv[1], "--at-main") == 0) ReportAndExit(mainEntered);

  // From here on, as velmaro's main() does it.
  QApplication application(argc, argv);
  QApplication::setApplicationName("velmaro");
  ProbePlatform platform(mainEntered);
  velmaro::ui::Form1 form(platform);
  platform.setOwner(&form);
  form.Form_Load();
  return QApplication::exec();  // not reached: Form_Load asks for the map dialog
}
