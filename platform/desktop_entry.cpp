#include "platform/desktop_entry.h"

#include <algorithm>

namespace velmaro::platform {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Calls onKey(key, value) for every "key=value" line of the [Desktop Entry] group; returns whether the
// group was there at all.
template <typename OnKey>
bool forEachDesktopEntryKey(std::string_view text, OnKey onKey) {
  bool inGroup = false;
  bool groupSeen = false;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inGroup = line == "[Desktop Entry]";
      groupSeen = groupSeen || inGroup;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (inGroup && equals != std::string_view::npos) onKey(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
  }
  return groupSeen;
}

struct EntryKeys {
  std::optional<std::string> exec, name, icon, path, terminal, hidden, type;

  std::optional<std::string>* slotFor(std::string_view key) {
    if (key == "Exec") return &exec;
    if (key == "Name") return &name;
    if (key == "Icon") return &icon;
    if (key == "Path") return &path;
    if (key == "Terminal") return &terminal;
    if (key == "Hidden") return &hidden;
    if (key == "Type") return &type;
    return nullptr;  // localized keys ("Name[de]") and everything else
  }
};

enum class FieldCode { Target, Text, Removed };

// Appends the expansion of one field code (the letter after "%") to word and says what the code was.
FieldCode expandFieldCode(char code, const DesktopEntry& entry, std::string_view desktopFile, const ExecTarget& target,
                          std::string& word) {
  switch (code) {
    case 'f': case 'F': word += target.file; return FieldCode::Target;
    case 'u': case 'U': word += target.url; return FieldCode::Target;
    case 'c': word += entry.name; return FieldCode::Text;
    case 'k': word += desktopFile; return FieldCode::Text;
    case '%': word += '%'; return FieldCode::Text;
    default: return FieldCode::Removed;  // deprecated (%d %D %n %N %v %m), %i inside a word, or unknown
  }
}

struct ExpandedWord {
  std::string text;
  bool keep = false;         // false: the word held only removed codes
  bool namesTarget = false;  // the word held %f %F %u or %U
};

ExpandedWord expandWord(std::string_view word, const DesktopEntry& entry, std::string_view desktopFile,
                        const ExecTarget& target) {
  ExpandedWord result;
  result.keep = word.empty();  // an empty quoted word is a word of its own
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%') {
      result.text += word[i];
      result.keep = true;
    } else if (++i < word.size()) {  // a lone "%" at the end is malformed: dropped
      const FieldCode code = expandFieldCode(word[i], entry, desktopFile, target, result.text);
      result.keep = result.keep || code != FieldCode::Removed;
      result.namesTarget = result.namesTarget || code == FieldCode::Target;
    }
  }
  return result;
}

}  // namespace

std::string unescapeKeyFileValue(std::string_view value) {
  std::string result;
  result.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      result += value[i];
      continue;
    }
    switch (value[i + 1]) {
      case 's': result += ' '; break;
      case 'n': result += '\n'; break;
      case 't': result += '\t'; break;
      case 'r': result += '\r'; break;
      case '\\': result += '\\'; break;
      default: result += value.substr(i, 2); break;
    }
    ++i;
  }
  return result;
}

std::optional<DesktopEntry> parseDesktopEntry(std::string_view text) {
  EntryKeys keys;
  const bool groupSeen = forEachDesktopEntryKey(text, [&keys](std::string_view key, std::string_view value) {
    std::optional<std::string>* slot = keys.slotFor(key);
    if (slot != nullptr && !slot->has_value()) *slot = unescapeKeyFileValue(value);
  });
  if (!groupSeen || !keys.exec || trimmed(*keys.exec).empty()) return std::nullopt;
  if (keys.hidden == "true" || (keys.type && *keys.type != "Application")) return std::nullopt;
  DesktopEntry entry;
  entry.exec = *keys.exec;
  entry.name = keys.name.value_or("");
  entry.icon = keys.icon.value_or("");
  entry.path = keys.path.value_or("");
  entry.terminal = keys.terminal == "true";
  return entry;
}

std::optional<std::vector<std::string>> splitExecLine(std::string_view exec) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool inQuotes = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (inQuotes) {
      if (c == '"') {
        inQuotes = false;
      } else if (c == '\\' && i + 1 < exec.size() && std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
        word += exec[++i];
      } else {
        word += c;
      }
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      inQuotes = c == '"';
      if (!inQuotes) word += c;
      inWord = true;
    }
  }
  if (inQuotes) return std::nullopt;
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::optional<std::vector<std::string>> commandLineFor(const DesktopEntry& entry, std::string_view desktopFile,
                                                       const ExecTarget& target) {
  const std::optional<std::vector<std::string>> words = splitExecLine(entry.exec);
  if (!words || words->empty()) return std::nullopt;
  std::vector<std::string> command;
  bool targetGiven = false;
  for (const std::string& word : *words) {
    if (word == "%i") {
      if (!entry.icon.empty()) command.insert(command.end(), {"--icon", entry.icon});
      continue;
    }
    ExpandedWord expanded = expandWord(word, entry, desktopFile, target);
    targetGiven = targetGiven || expanded.namesTarget;
    if (expanded.keep) command.push_back(std::move(expanded.text));
  }
  if (command.empty() || command.front().empty()) return std::nullopt;
  if (!targetGiven) command.push_back(target.file);
  return command;
}

}  // namespace velmaro::platform
