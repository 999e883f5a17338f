// The manual reader on any bytes, RTF or not. The model must stay proportional to the input and
// well-formed: valid UTF-8, bounded formats, no empty run, no two neighbouring runs of the same format.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/rtf/rtf_document.h"
#include "files/text_encoding.h"
#include "fuzz/fuzz_check.h"

namespace rtf = velmaro::rtf;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const rtf::Document document = rtf::ReadDocument({reinterpret_cast<const char*>(data), size});
  const std::string text = document.Text();
  VELMARO_FUZZ_CHECK(velmaro::IsValidUtf8(text));
  // A byte yields at most three bytes of text (a Windows-1252 byte above 0x7F) plus a paragraph end.
  VELMARO_FUZZ_CHECK(text.size() <= 3 * size + 1 && document.paragraphs.size() <= size + 1);
  for (const rtf::Paragraph& paragraph : document.paragraphs) {
    const rtf::ParagraphFormat& f = paragraph.format;
    VELMARO_FUZZ_CHECK(f.tabStops.size() <= rtf::kMaxTabStops);
    for (int twips : {f.leftIndent, f.firstLineIndent, f.spaceBefore, f.spaceAfter}) VELMARO_FUZZ_CHECK(std::abs(twips) <= rtf::kMaxTwips);
    for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
      const rtf::Run& run = paragraph.runs[i];
      VELMARO_FUZZ_CHECK(!run.text.empty() && run.format.pointSize >= 0.5 && run.format.pointSize <= 1638);
      VELMARO_FUZZ_CHECK(i == 0 || !(run.format == paragraph.runs[i - 1].format));
      VELMARO_FUZZ_CHECK(!run.format.fontFamily || velmaro::IsValidUtf8(*run.format.fontFamily));
    }
  }
  return 0;
}
