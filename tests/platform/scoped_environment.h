#pragma once
// Sets or removes environment variables for the life of the object and puts the old values back after,
// so a test can point the desktop lookup at a sandbox without leaking into the next test.

#include <map>
#include <optional>
#include <string>

#include <QByteArray>
#include <QtGlobal>

namespace velmaro::platform::testing {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) qputenv(name.c_str(), QByteArray::fromStdString(*value));
      else qunsetenv(name.c_str());
    }
  }

  // value nullopt removes the variable.
  void set(const std::string& name, const std::optional<std::string>& value) {
    if (!saved_.contains(name)) {
      saved_[name] = qEnvironmentVariableIsSet(name.c_str())
                         ? std::optional<std::string>(qgetenv(name.c_str()).toStdString())
                         : std::nullopt;
    }
    if (value) qputenv(name.c_str(), QByteArray::fromStdString(*value));
    else qunsetenv(name.c_str());
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace velmaro::platform::testing
