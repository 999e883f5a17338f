// The manual reader on any bytes, RTF or not. The model must stay proportional to the input and
// well-formed: valid UTF-8, no empty run, no two neighbouring runs of the same format.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/rtf/code_page.h"
#include "files/rtf/rtf_document.h"
#include "fuzz/fuzz_check.h"

namespace {

void CheckParagraph(const velmaro::rtf::Paragraph& paragraph) {
  const auto& format = paragraph.format;
  VELMARO_FUZZ_CHECK(format.tabStops.size() <= velmaro::rtf::kMaxTabStops);
  for (int twips : {format.leftIndent, format.firstLineIndent, format.spaceBefore, format.spaceAfter}) {
    VELMARO_FUZZ_CHECK(twips >= -velmaro::rtf::kMaxTwips && twips <= velmaro::rtf::kMaxTwips);
  }
  for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
    const velmaro::rtf::Run& run = paragraph.runs[i];
    VELMARO_FUZZ_CHECK(!run.text.empty());
    VELMARO_FUZZ_CHECK(i == 0 || !(run.format == paragraph.runs[i - 1].format));
    VELMARO_FUZZ_CHECK(run.format.pointSize > 0);
    if (run.format.fontFamily) VELMARO_FUZZ_CHECK(velmaro::rtf::IsValidUtf8(*run.format.fontFamily));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const velmaro::rtf::Document document = velmaro::rtf::ReadDocument(bytes);

  const std::string text = document.Text();
  VELMARO_FUZZ_CHECK(velmaro::rtf::IsValidUtf8(text));
  // A byte yields at most three bytes of text (a Windows-1252 byte above 0x7F) plus a paragraph end.
  VELMARO_FUZZ_CHECK(text.size() <= 3 * size + 1);
  VELMARO_FUZZ_CHECK(document.paragraphs.size() <= size + 1);
  for (const velmaro::rtf::Paragraph& paragraph : document.paragraphs) CheckParagraph(paragraph);
  return 0;
}
