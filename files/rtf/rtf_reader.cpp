// ParseRtf: walks the token stream with a stack of group states. The stack is an explicit vector, so
// nesting depth costs no native stack; groups beyond kMaxGroupDepth are only counted.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/rtf/document_builder.h"
#include "files/rtf/rtf_document.h"
#include "files/rtf/rtf_tables.h"
#include "files/rtf/rtf_tokenizer.h"
#include "files/rtf/rtf_vocabulary.h"
#include "files/text_encoding.h"

namespace velmaro::rtf {
namespace {

constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxHalfPoints = 3276;  // 1638 points, the largest size RTF writers produce
constexpr int kMaxUnicodeSkip = 1000;

enum class Destination { Text, Skip, FontTable, ColourTable };

struct GroupState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int halfPoints = kDefaultHalfPoints;
  std::optional<int> font;  // none: the document's default font (\deff)
  int colour = 0;           // index into the colour table; 0 is "auto"
  int unicodeSkip = 1;      // \uc: fallback characters that follow each \u
  ParagraphFormat paragraph;
  Destination destination = Destination::Text;
};

bool Flag(const Token& token) { return !token.parameter || *token.parameter != 0; }

class RtfReader {
 public:
  explicit RtfReader(std::string_view bytes) : tokenizer_(bytes) { states_.emplace_back(); }

  Document Read() {
    while (!builder_.Full()) {
      const Token token = tokenizer_.Next();
      if (token.kind == TokenKind::End) break;
      Handle(token);
    }
    ResolveLoneSurrogate();
    FlushText();
    // A last paragraph without \par keeps the format its text was written in, although the closing
    // braces have restored the outer state by now.
    return builder_.Finish(lastTextParagraph_);
  }

 private:
  GroupState& State() { return states_.back(); }

  void Handle(const Token& token) {
    if (token.kind == TokenKind::GroupOpen) return OpenGroup();
    if (token.kind == TokenKind::GroupClose) return CloseGroup();
    if (droppedDepth_ > 0 || State().destination == Destination::Skip) return;
    if (pendingSkip_ > 0) return SkipFallback(token);
    switch (token.kind) {
      case TokenKind::ControlWord: return HandleWord(token);
      case TokenKind::ControlSymbol: return HandleSymbol(token.symbol);
      case TokenKind::HexByte: return HandleBytes(std::string_view(reinterpret_cast<const char*>(&token.byte), 1));
      case TokenKind::Text: return HandleBytes(token.text);
      default: return;
    }
  }

  // The fallback characters after \uN: each byte of text, hex escape or control counts as one. A
  // partly skipped text is handled from the first byte past the fallback.
  void SkipFallback(const Token& token) {
    if (token.kind != TokenKind::Text) {
      --pendingSkip_;
      return;
    }
    const std::size_t skipped = std::min(static_cast<std::size_t>(pendingSkip_), token.text.size());
    pendingSkip_ -= static_cast<int>(skipped);
    if (skipped < token.text.size()) HandleBytes(token.text.substr(skipped));
  }

  void OpenGroup() {
    FlushText();
    pendingSkip_ = 0;
    if (droppedDepth_ > 0 || states_.size() >= static_cast<std::size_t>(kMaxGroupDepth)) {
      ++droppedDepth_;
      return;
    }
    states_.push_back(State());
  }

  // An extra "}" at the outermost level is ignored: the document's base state is never popped.
  void CloseGroup() {
    FlushText();
    pendingSkip_ = 0;
    if (droppedDepth_ > 0) {
      --droppedDepth_;
      return;
    }
    if (states_.size() <= 1) return;
    if (State().destination == Destination::FontTable) fonts_.CloseEntry();
    states_.pop_back();
  }

  void HandleWord(const Token& token) {
    FlushText();
    const WordMeaning meaning = MeaningOf(token.word);
    if (meaning == WordMeaning::SkippedDestination) {
      State().destination = Destination::Skip;
      return;
    }
    switch (State().destination) {
      case Destination::FontTable: return HandleFontTableWord(meaning, token);
      case Destination::ColourTable: return HandleColourTableWord(meaning, token);
      default: return HandleTextWord(meaning, token);
    }
  }

  void HandleFontTableWord(WordMeaning meaning, const Token& token) {
    if (meaning == WordMeaning::FontIndex && token.parameter) fonts_.SelectEntry(*token.parameter);
  }

  void HandleColourTableWord(WordMeaning meaning, const Token& token) {
    const int value = token.parameter.value_or(0);
    if (meaning == WordMeaning::Red) colours_.SetComponent(ColourTable::Component::Red, value);
    if (meaning == WordMeaning::Green) colours_.SetComponent(ColourTable::Component::Green, value);
    if (meaning == WordMeaning::Blue) colours_.SetComponent(ColourTable::Component::Blue, value);
  }

  void HandleTextWord(WordMeaning meaning, const Token& token) {
    if (ApplyCharacterFormat(meaning, token) || ApplyParagraphFormat(meaning, token)) return;
    switch (meaning) {
      case WordMeaning::ParagraphBreak: return EndParagraph();
      case WordMeaning::LineBreak: return EmitCodePoint(U'\n');
      case WordMeaning::Tab: return EmitCodePoint(U'\t');
      case WordMeaning::Symbol: return EmitCodePoint(SymbolCodePoint(token.word).value_or(kReplacementCharacter));
      case WordMeaning::Unicode: return HandleUnicode(token.parameter);
      case WordMeaning::UnicodeSkipCount:
        State().unicodeSkip = std::clamp(token.parameter.value_or(1), 0, kMaxUnicodeSkip);
        return;
      case WordMeaning::DefaultFont: defaultFont_ = token.parameter.value_or(0); return;
      case WordMeaning::FontTable: State().destination = Destination::FontTable; return;
      case WordMeaning::ColourTable: State().destination = Destination::ColourTable; return;
      default: return;
    }
  }

  bool ApplyCharacterFormat(WordMeaning meaning, const Token& token) {
    GroupState& state = State();
    switch (meaning) {
      case WordMeaning::Bold: state.bold = Flag(token); return true;
      case WordMeaning::Italic: state.italic = Flag(token); return true;
      case WordMeaning::Underline: state.underline = Flag(token); return true;
      case WordMeaning::UnderlineNone: state.underline = false; return true;
      case WordMeaning::FontSize: state.halfPoints = FontSizeOf(token.parameter); return true;
      case WordMeaning::ColourIndex: state.colour = std::max(0, token.parameter.value_or(0)); return true;
      case WordMeaning::FontIndex: state.font = token.parameter; return true;
      case WordMeaning::PlainFormat:
        state.bold = state.italic = state.underline = false;
        state.halfPoints = kDefaultHalfPoints;
        state.font.reset();
        state.colour = 0;
        return true;
      default: return false;
    }
  }

  static int FontSizeOf(std::optional<std::int32_t> halfPoints) {
    if (!halfPoints || *halfPoints <= 0) return kDefaultHalfPoints;
    return std::min(*halfPoints, kMaxHalfPoints);
  }

  bool ApplyParagraphFormat(WordMeaning meaning, const Token& token) {
    ParagraphFormat& paragraph = State().paragraph;
    Alignment& alignment = paragraph.alignment;
    const int twips = std::clamp(token.parameter.value_or(0), -kMaxTwips, kMaxTwips);
    switch (meaning) {
      case WordMeaning::ParagraphDefaults: paragraph = ParagraphFormat{}; return true;
      case WordMeaning::LeftIndent: paragraph.leftIndent = twips; return true;
      case WordMeaning::FirstLineIndent: paragraph.firstLineIndent = twips; return true;
      case WordMeaning::SpaceBefore: paragraph.spaceBefore = twips; return true;
      case WordMeaning::SpaceAfter: paragraph.spaceAfter = twips; return true;
      case WordMeaning::TabStop:
        if (paragraph.tabStops.size() < kMaxTabStops) paragraph.tabStops.push_back(twips);
        return true;
      case WordMeaning::AlignLeft: alignment = Alignment::Left; return true;
      case WordMeaning::AlignCenter: alignment = Alignment::Center; return true;
      case WordMeaning::AlignRight: alignment = Alignment::Right; return true;
      case WordMeaning::AlignJustify: alignment = Alignment::Justify; return true;
      default: return false;
    }
  }

  void HandleSymbol(char symbol) {
    if (symbol == '*') {
      FlushText();
      State().destination = Destination::Skip;  // no optional destination is shown
      return;
    }
    const bool inText = State().destination == Destination::Text;
    if (symbol == '\n' || symbol == '\r') {  // a backslash before a line end is a paragraph break
      if (inText) EndParagraph();
      return;
    }
    const auto codePoint = ControlSymbolCodePoint(symbol);
    if (!codePoint) return;
    if (inText) return EmitCodePoint(*codePoint);
    if (State().destination == Destination::FontTable && *codePoint < 0x80) {
      const char literal = static_cast<char>(*codePoint);
      fonts_.AddNameBytes(std::string_view(&literal, 1));
    }
  }

  // Bytes of text or of hex escapes, in the document's code page.
  void HandleBytes(std::string_view bytes) {
    switch (State().destination) {
      case Destination::FontTable: return fonts_.AddNameBytes(bytes);
      case Destination::ColourTable:
        for (const char byte : bytes) {
          if (byte == ';') colours_.CompleteEntry();
        }
        return;
      case Destination::Text:
        for (const char byte : bytes) EmitCodePoint(Windows1252CodePoint(static_cast<unsigned char>(byte)));
        return;
      default: return;
    }
  }

  void HandleUnicode(std::optional<std::int32_t> parameter) {
    if (!parameter) return;
    std::int32_t value = *parameter;
    if (value < 0) value += 65536;  // writers give values above 32767 as negative 16-bit numbers
    EmitCodePoint(value >= 0 && value <= 0xFFFF ? static_cast<char32_t>(value) : kReplacementCharacter);
    pendingSkip_ = State().unicodeSkip;
  }

  void EmitCodePoint(char32_t codePoint) {
    if (highSurrogate_) {
      const char32_t high = *std::exchange(highSurrogate_, std::nullopt);
      if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
        AppendUtf8(pendingText_, 0x10000 + ((high - 0xD800) << 10) + (codePoint - 0xDC00));
        return;
      }
      AppendUtf8(pendingText_, kReplacementCharacter);
    }
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
      highSurrogate_ = codePoint;
      return;
    }
    if (codePoint < 0x20 && codePoint != U'\t' && codePoint != U'\n') return;
    AppendUtf8(pendingText_, codePoint);  // a lone low surrogate comes out as U+FFFD
  }

  void ResolveLoneSurrogate() {
    if (highSurrogate_) {
      highSurrogate_.reset();
      AppendUtf8(pendingText_, kReplacementCharacter);
    }
  }

  void EndParagraph() {
    ResolveLoneSurrogate();
    FlushText();
    builder_.EndParagraph(State().paragraph);
  }

  void FlushText() {
    if (pendingText_.empty()) return;
    builder_.AppendText(pendingText_, CurrentFormat());
    pendingText_.clear();
    lastTextParagraph_ = State().paragraph;
  }

  CharFormat CurrentFormat() const {
    const GroupState& state = states_.back();
    CharFormat format;
    format.bold = state.bold;
    format.italic = state.italic;
    format.underline = state.underline;
    format.pointSize = state.halfPoints / 2.0;
    format.colour = colours_.ColourOf(state.colour);
    format.fontFamily = fonts_.FamilyOf(state.font.value_or(defaultFont_));
    return format;
  }

  Tokenizer tokenizer_;
  std::vector<GroupState> states_;
  std::size_t droppedDepth_ = 0;  // groups open beyond kMaxGroupDepth; their content is dropped
  int pendingSkip_ = 0;
  std::optional<char32_t> highSurrogate_;
  int defaultFont_ = 0;
  FontTable fonts_;
  ColourTable colours_;
  std::string pendingText_;  // text of the current format not yet handed to the builder
  ParagraphFormat lastTextParagraph_;
  DocumentBuilder builder_;
};

}  // namespace

Document ParseRtf(std::string_view bytes) { return RtfReader(bytes).Read(); }

}  // namespace velmaro::rtf
