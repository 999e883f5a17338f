#include "files/rtf/rtf_tables.h"

#include <algorithm>

#include "files/text_encoding.h"

namespace velmaro::rtf {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

void FontTable::SelectEntry(int number) {
  CompletePending();
  current_ = number;
}

void FontTable::AddNameBytes(std::string_view bytes) {
  for (const char byte : bytes) {
    if (byte == ';') {
      CompletePending();
    } else if (pending_.size() < kMaxFontNameBytes) {
      pending_.push_back(byte);
    }
  }
}

void FontTable::CloseEntry() { CompletePending(); }

void FontTable::CompletePending() {
  const std::string_view name = TrimBlanks(pending_);
  if (!name.empty() && (names_.size() < kMaxTableEntries || names_.contains(current_))) {
    names_[current_] = Windows1252ToUtf8(name);
  }
  pending_.clear();
}

std::optional<std::string> FontTable::FamilyOf(int number) const {
  const auto found = names_.find(number);
  if (found == names_.end()) return std::nullopt;
  return found->second;
}

void ColourTable::SetComponent(Component component, int value) {
  const auto level = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  switch (component) {
    case Component::Red: pending_.red = level; break;
    case Component::Green: pending_.green = level; break;
    case Component::Blue: pending_.blue = level; break;
  }
  pendingHasComponent_ = true;
}

void ColourTable::CompleteEntry() {
  if (entries_.size() < kMaxTableEntries) {
    entries_.push_back(pendingHasComponent_ ? std::optional<Rgb>(pending_) : std::nullopt);
  }
  pending_ = Rgb{};
  pendingHasComponent_ = false;
}

std::optional<Rgb> ColourTable::ColourOf(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return std::nullopt;
  return entries_[static_cast<std::size_t>(index)];
}

}  // namespace velmaro::rtf
