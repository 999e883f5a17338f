// The info-file reader on any bytes. Whatever it reads must survive being written and read again
// unchanged: the window saves what it showed, and a second save of an untouched map must not drift.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/info_file.h"
#include "files/text_encoding.h"
#include "fuzz/fuzz_check.h"

namespace {

bool SameFrame(const velmaro::MapFrame& a, const velmaro::MapFrame& b) {
  return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom &&
         a.xCaption == b.xCaption && a.yCaption == b.yCaption;
}

bool NoLineEnd(const std::string& text) { return text.find('\n') == std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const velmaro::InfoFileValues read = velmaro::ParseInfoFile(bytes);

  const velmaro::MapFrame& frame = read.frame;
  for (const std::string* text : {&read.mapPath, &frame.left, &frame.right, &frame.top, &frame.bottom,
                                  &frame.xCaption, &frame.yCaption}) {
    VELMARO_FUZZ_CHECK(NoLineEnd(*text));
    VELMARO_FUZZ_CHECK(velmaro::IsValidUtf8(*text));
  }

  const velmaro::InfoFileValues again = velmaro::ParseInfoFile(velmaro::InfoFileText(read));
  VELMARO_FUZZ_CHECK(again.notation == read.notation);
  VELMARO_FUZZ_CHECK(again.mapPath == read.mapPath);
  VELMARO_FUZZ_CHECK(SameFrame(again.frame, read.frame));
  return 0;
}
