#pragma once
// The logic speaks UTF-8 std::string; the controls speak QString.

#include <QString>
#include <string>
#include <string_view>

namespace velmaro::ui {

inline QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace velmaro::ui
