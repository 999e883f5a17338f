#include "files/rtf/rtf_document.h"

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
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  const auto start = bytes.find_first_not_of(" \t\r\n");
  return start != std::string_view::npos && bytes.substr(start).starts_with("{\\rtf");
}

Document ReadDocument(std::string_view bytes) {
  return LooksLikeRtf(bytes) ? ParseRtf(bytes) : PlainTextDocument(bytes);
}

}  // namespace velmaro::rtf
