#pragma once
// The font table (\fonttbl) and the colour table (\colortbl) of an RTF document, built while the
// reader walks through them and consulted for every run afterwards. Both are bounded: a table keeps at
// most kMaxTableEntries entries and a font name at most kMaxFontNameBytes bytes; the rest is dropped.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/rtf/rtf_document.h"

namespace velmaro::rtf {

inline constexpr std::size_t kMaxTableEntries = 4096;
inline constexpr std::size_t kMaxFontNameBytes = 256;

class FontTable {
 public:
  // "\fN" inside the table: the entry that the following name belongs to.
  void SelectEntry(int number);
  // Name bytes in the document's code page (Windows-1252); ";" completes the entry.
  void AddNameBytes(std::string_view bytes);
  // End of an entry's group: an entry written without ";" is completed as well.
  void CloseEntry();

  // The UTF-8 name of entry number, without surrounding blanks; none for an unknown or empty entry.
  std::optional<std::string> FamilyOf(int number) const;

 private:
  void CompletePending();

  std::map<int, std::string> names_;
  int current_ = 0;
  std::string pending_;
};

class ColourTable {
 public:
  enum class Component { Red, Green, Blue };
  // Values are clamped to 0..255.
  void SetComponent(Component component, int value);
  // ";": completes an entry. An entry without any component is "auto" (the viewer's own colour), as
  // the first entry of every table is.
  void CompleteEntry();

  // none for "auto" and for an index outside the table.
  std::optional<Rgb> ColourOf(int index) const;

 private:
  std::vector<std::optional<Rgb>> entries_;
  Rgb pending_;
  bool pendingHasComponent_ = false;
};

}  // namespace velmaro::rtf
