#pragma once
// The control words the reader acts on, and what each one means to it. Every word not listed here is
// ignored, as RTF readers are required to do.

#include <optional>
#include <string_view>

namespace velmaro::rtf {

enum class WordMeaning {
  Ignored,
  // character formatting, group-scoped
  Bold, Italic, Underline, UnderlineNone, FontSize, ColourIndex, FontIndex, PlainFormat,
  // paragraph formatting, group-scoped
  ParagraphDefaults, AlignLeft, AlignCenter, AlignRight, AlignJustify, LeftIndent, FirstLineIndent,
  SpaceBefore, SpaceAfter, TabStop,
  // content
  ParagraphBreak, LineBreak, Tab, Symbol, Unicode, UnicodeSkipCount,
  // document settings
  DefaultFont,
  // destinations
  FontTable, ColourTable, SkippedDestination,
  // colour table entries
  Red, Green, Blue,
};

WordMeaning MeaningOf(std::string_view word);

// The character of a WordMeaning::Symbol word ("emdash" -> U+2014).
std::optional<char32_t> SymbolCodePoint(std::string_view word);

// The character of a control symbol that stands for text ("\~" -> U+00A0, "\{" -> "{").
std::optional<char32_t> ControlSymbolCodePoint(char symbol);

}  // namespace velmaro::rtf
