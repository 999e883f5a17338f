#include "files/rtf/rtf_document.h"

#include "files/text_encoding.h"

namespace velmaro::rtf {

std::string Paragraph::Text() const {
  std::string text;
  for (const Run& run : runs) text += run.text;
  return text;
}

std::string Document::Text() const {
  std::string text;
  for (const Paragraph& paragraph : paragraphs) {
    text += paragraph.Text();
    text += '\n';
  }
  return text;
}

bool LooksLikeRtf(std::string_view bytes) {
  bytes = WithoutUtf8Bom(bytes);
  const auto start = bytes.find_first_not_of(" \t\r\n");
  return start != std::string_view::npos && bytes.substr(start).starts_with("{\\rtf");
}

Document ReadDocument(std::string_view bytes) {
  return LooksLikeRtf(bytes) ? ParseRtf(bytes) : PlainTextDocument(bytes);
}

}  // namespace velmaro::rtf
