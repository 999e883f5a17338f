#pragma once
// The neutral model of a rich-text document, as the manual box shows it, and the two readers that
// produce it: the RTF reader for the manual and the plain-text reader for everything else that lands
// in the same box (the KML document after an export).
//
// The model knows only what a hand-written manual uses: paragraphs with an alignment, indents,
// spacing and tab stops, and runs of UTF-8 text with bold, italic, underline, a size in points, an optional colour and an optional font
// family. Pictures, tables, headers, fields and every other destination are dropped, not shown.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::rtf {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr double kDefaultPointSize = 12.0;  // RTF's default \fs24

struct CharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  double pointSize = kDefaultPointSize;
  std::optional<Rgb> colour;              // none: the viewer's own text colour (\cf0, "auto")
  std::optional<std::string> fontFamily;  // none: the viewer's own font; UTF-8, as the document names it
  bool operator==(const CharFormat&) const = default;
};

// Text is UTF-8. A tab is '\t'; a line break inside the paragraph (\line) is '\n'. No other control
// character ever appears. Adjacent runs of a paragraph never share the same format.
struct Run {
  std::string text;
  CharFormat format;
};

enum class Alignment { Left, Center, Right, Justify };

// Indents, spacing and tab stops in twips (1/1440 inch), as RTF gives them, each clamped to
// -kMaxTwips..kMaxTwips; at most kMaxTabStops tab stops, in the order the document sets them.
inline constexpr int kMaxTwips = 31680;  // 22 inches
inline constexpr std::size_t kMaxTabStops = 64;

struct ParagraphFormat {
  Alignment alignment = Alignment::Left;
  int leftIndent = 0;       // \li
  int firstLineIndent = 0;  // \fi, relative to leftIndent; negative for a hanging first line
  int spaceBefore = 0;      // \sb
  int spaceAfter = 0;       // \sa
  std::vector<int> tabStops;  // \tx
  bool operator==(const ParagraphFormat&) const = default;
};

struct Paragraph {
  std::vector<Run> runs;
  ParagraphFormat format;

  std::string Text() const;  // the runs' texts joined
};

struct Document {
  std::vector<Paragraph> paragraphs;
  // Set when the input held more than the reader keeps (kMaxParagraphs, kMaxRuns, kMaxTextBytes):
  // everything up to the limit is kept, the rest is dropped.
  bool truncated = false;

  std::string Text() const;  // the paragraphs' texts, each followed by '\n'
};

// Bounds that keep memory proportional to a sane document whatever the input holds.
inline constexpr std::size_t kMaxParagraphs = 1'000'000;
inline constexpr std::size_t kMaxRuns = 2'000'000;
inline constexpr std::size_t kMaxTextBytes = 256u * 1024u * 1024u;

// True when the bytes start with "{\rtf", after an optional UTF-8 byte order mark and blanks
// (space, tab, CR, LF).
bool LooksLikeRtf(std::string_view bytes);

// Reads RTF. Never fails, never throws on any input, runs in time linear in the input:
// - unbalanced braces: an extra "}" is ignored, groups still open at the end are closed;
// - groups nested deeper than kMaxGroupDepth are counted but their content is dropped;
// - \binN skips N bytes, at most what remains; a number with many digits is clamped;
// - an escape cut by the end ("\'", "\'4", "\u") yields nothing.
// \'hh and raw 8-bit bytes are decoded through the document's code page; Windows-1252 is the only
// one known, every other \ansicpg reads as Windows-1252. \uN honours \ucN; negative N counts from
// 65536; surrogate pairs are joined and a lone surrogate becomes U+FFFD.
inline constexpr int kMaxGroupDepth = 1000;
Document ParseRtf(std::string_view bytes);

// A text that is not RTF: one paragraph per line (CR LF, LF or a lone CR end a line; a final line
// end does not start an empty paragraph), decoded as UTF-8 or, when the bytes are not valid UTF-8,
// as Windows-1252. A leading UTF-8 byte order mark is dropped, control characters other than tab are
// dropped. Every run has the default format.
Document PlainTextDocument(std::string_view bytes);

// ParseRtf when LooksLikeRtf, PlainTextDocument otherwise.
Document ReadDocument(std::string_view bytes);

}  // namespace velmaro::rtf
