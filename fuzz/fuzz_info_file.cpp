// The info-file reader on any bytes. Whatever it reads must be one clean line of UTF-8 per value and
// survive being written and read again unchanged: a second save of an untouched map must not drift.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/info_file.h"
#include "files/text_encoding.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const velmaro::InfoFileValues read = velmaro::ParseInfoFile({reinterpret_cast<const char*>(data), size});
  const std::string saved = velmaro::InfoFileText(read);
  VELMARO_FUZZ_CHECK(velmaro::InfoFileText(velmaro::ParseInfoFile(saved)) == saved);
  const velmaro::MapFrame& f = read.frame;
  for (const std::string_view text : {read.mapPath, f.left, f.right, f.top, f.bottom, f.xCaption, f.yCaption}) {
    VELMARO_FUZZ_CHECK(text.find('\n') == std::string_view::npos && velmaro::IsValidUtf8(text));
  }
  return 0;
}
