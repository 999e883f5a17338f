#include "files/rtf/document_builder.h"

#include <utility>

namespace velmaro::rtf {

void DocumentBuilder::AppendText(std::string_view utf8, const CharFormat& format) {
  if (utf8.empty() || Full()) return;
  if (textBytes_ + utf8.size() > kMaxTextBytes) {
    document_.truncated = true;
    return;
  }
  textBytes_ += utf8.size();
  if (!current_.runs.empty() && current_.runs.back().format == format) {
    current_.runs.back().text.append(utf8);
    return;
  }
  if (runCount_ >= kMaxRuns) {
    document_.truncated = true;
    return;
  }
  ++runCount_;
  current_.runs.push_back(Run{std::string(utf8), format});
}

void DocumentBuilder::EndParagraph(const ParagraphFormat& format) {
  if (Full()) return;
  if (document_.paragraphs.size() >= kMaxParagraphs) {
    document_.truncated = true;
    return;
  }
  current_.format = format;
  document_.paragraphs.push_back(std::exchange(current_, Paragraph{}));
}

Document DocumentBuilder::Finish(const ParagraphFormat& format) {
  // The text gathered before a bound was reached is kept as well.
  if (!current_.runs.empty() && document_.paragraphs.size() < kMaxParagraphs) {
    current_.format = format;
    document_.paragraphs.push_back(std::exchange(current_, Paragraph{}));
  }
  return std::exchange(document_, Document{});
}

}  // namespace velmaro::rtf
