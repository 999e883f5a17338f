// The journal reader on any bytes. What it reads whole must be exactly the bytes it came from: the
// Header and every kept record, written again, give back the journal's first wholeBytes bytes, so a
// reader that skipped, reordered or misread a field could not pass; and it gives a reason exactly when
// it stops before the end.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/session_journal.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const velmaro::JournalContents read = velmaro::ParseJournal(bytes);
  VELMARO_FUZZ_CHECK((read.damage == velmaro::JournalDamage::None) == (read.map && read.wholeBytes == size));
  std::string written = read.map ? velmaro::JournalStart(*read.map) : "";
  for (const velmaro::JournalRecord& record : read.records) VELMARO_FUZZ_CHECK(velmaro::AppendEncodedRecord(record, written));
  VELMARO_FUZZ_CHECK(written.size() == read.wholeBytes && written == bytes.substr(0, read.wholeBytes));
  return 0;
}
