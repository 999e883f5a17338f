#pragma once
// Collects text into paragraphs and runs for both readers: merges text of equal format into one run,
// and stops taking anything once the document reaches one of the bounds of rtf_document.h.

#include <cstddef>
#include <string_view>

#include "files/rtf/rtf_document.h"

namespace velmaro::rtf {

class DocumentBuilder {
 public:
  // utf8 must be valid UTF-8 without control characters other than '\t' and '\n'. Empty text adds
  // nothing, so format changes without text leave no empty runs.
  void AppendText(std::string_view utf8, const CharFormat& format);

  // Closes the current paragraph, even an empty one, with the given format.
  void EndParagraph(const ParagraphFormat& format);

  // Closes the last paragraph when it holds text; a document that ends on a paragraph break gets no
  // empty paragraph after it.
  Document Finish(const ParagraphFormat& format);

  // True once a bound was reached; the readers stop reading then.
  bool Full() const { return document_.truncated; }

 private:
  Document document_;
  Paragraph current_;
  std::size_t runCount_ = 0;
  std::size_t textBytes_ = 0;
};

}  // namespace velmaro::rtf
