#pragma once
// Cases as data: one case per line of a small text file, read by one runner per module.
//
//   # a comment line; blank lines are skipped
//   name | field 1 | field 2 | ...
//
// Fields are trimmed. A field written in double quotes keeps its inside exactly, blanks included
// ("  X= 1"); "" is the empty text. A line that cannot be read stops the test program with its file
// and line, so a typo in a table never passes silently. Numbers are read with "." whatever the locale.

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace velmaro::testing {

struct Case {
  std::string where;  // file:line, for failure messages
  std::string name;
  std::vector<std::string> fields;

  const std::string& operator[](std::size_t i) const {
    if (i >= fields.size()) Fail(where, "has too few fields");
    return fields[i];
  }
  double number(std::size_t i) const {
    const std::string& text = (*this)[i];
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) Fail(where, "field is not a number: " + text);
    return value;
  }
  int integer(std::size_t i) const { return static_cast<int>(number(i)); }

  [[noreturn]] static void Fail(const std::string& where, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), why.c_str());
    std::abort();
  }
};

inline std::string TrimField(const std::string& raw) {
  const auto first = raw.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  std::string field = raw.substr(first, raw.find_last_not_of(" \t") - first + 1);
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"') return field.substr(1, field.size() - 2);
  return field;
}

// Splits at " | " outside double quotes, so a quoted field may hold "|".
inline std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::string current;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == '|' && !quoted) {
      fields.push_back(TrimField(current));
      current.clear();
    } else {
      current += c;
    }
  }
  fields.push_back(TrimField(current));
  return fields;
}

inline std::vector<Case> ReadCases(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Case::Fail(path, "cannot be read");
  std::vector<Case> cases;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::vector<std::string> fields = SplitFields(line);
    Case c{path + ":" + std::to_string(number), fields.front(), {fields.begin() + 1, fields.end()}};
    cases.push_back(std::move(c));
  }
  if (cases.empty()) Case::Fail(path, "holds no case");
  return cases;
}

// Bytes in a field: \xHH stands for that byte and ¶ for CR LF.
inline std::string Unescape(std::string field) {
  for (std::size_t at; (at = field.find("¶")) != std::string::npos;) field.replace(at, 2, "\r\n");
  for (std::size_t at = 0; (at = field.find("\\x", at)) != std::string::npos; ++at) {
    field.replace(at, 4, 1, static_cast<char>(std::stoi(field.substr(at + 2, 2), nullptr, 16)));
  }
  return field;
}

// GoogleTest prints a failing case by its place in the table.
inline void PrintTo(const Case& c, std::ostream* os) { *os << c.where << " (" << c.name << ")"; }

// A GoogleTest parameter name from a case name: letters and digits kept, anything else "_".
inline std::string CaseTestName(const Case& c, std::size_t index) {
  std::string name;
  for (char ch : c.name) name += (std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_');
  return name + "_" + std::to_string(index);
}

}  // namespace velmaro::testing
