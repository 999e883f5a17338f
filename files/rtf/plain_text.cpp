// PlainTextDocument: what the rich-text box shows for a file that is not RTF, such as a KML document.

#include <algorithm>
#include <string>
#include <string_view>

#include "files/rtf/document_builder.h"
#include "files/rtf/rtf_document.h"
#include "files/text_encoding.h"

namespace velmaro::rtf {
namespace {

// Drops control characters other than tab; line ends are handled by the caller.
std::string PrintableText(std::string_view line) {
  std::string text;
  text.reserve(line.size());
  for (const char c : line) {
    if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') text.push_back(c);
  }
  return text;
}

}  // namespace

Document PlainTextDocument(std::string_view bytes) {
  const std::string utf8 = DecodeUtf8OrWindows1252(WithoutUtf8Bom(bytes));
  const std::string_view text = utf8;
  DocumentBuilder builder;
  const CharFormat format;
  std::size_t lineStart = 0;
  while (lineStart < text.size() && !builder.Full()) {
    const std::size_t lineEnd = std::min(text.find_first_of("\r\n", lineStart), text.size());
    builder.AppendText(PrintableText(text.substr(lineStart, lineEnd - lineStart)), format);
    if (lineEnd == text.size()) break;  // the last line has no line end
    builder.EndParagraph(ParagraphFormat{});
    const bool crLf = text.compare(lineEnd, 2, "\r\n") == 0;
    lineStart = lineEnd + (crLf ? 2 : 1);
  }
  return builder.Finish(ParagraphFormat{});
}

}  // namespace velmaro::rtf
