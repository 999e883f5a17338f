#pragma once
// One record of a session journal: a kind and a few typed fields, and its bytes on the disk.
//
// On the disk a record is
//   u32 body length | u32 CRC-32C of the body | body
// and the body is the kind (one byte) followed by the fields, each a type byte and its value:
//   'i' i64 | 'd' the 8 bytes of an IEEE double, bit for bit | 's' u32 length and the bytes
// All numbers are little-endian. The type bytes repeat what the kind's signature says, so a record
// written by another version with other fields is refused as Malformed rather than misread.
//
// Each kind has a fixed signature, one letter a field ('i' integer, 'd' double, 's' text), or "*" for any
// number of fields of any type. Adding a
// kind is a number in RecordKind and a line in kRecordKinds; numbers already used never change
// meaning, since journals outlive the program that wrote them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmaro {

enum class RecordKind : std::uint8_t {
  Header = 1,           // the map the journal belongs to; always and only the first record
  MapOpened = 2,
  Capture = 3,
  RemovalOnMap = 4,
  RemovalFromGrid = 5,
  Undo = 6,
  Redo = 7,
  Notation = 9,
  ReferenceModel = 10,
  Snapshot = 12,
  Field = 13,
};

struct RecordKindInfo {
  RecordKind kind;
  std::string_view name;       // for test tables and diagnostics
  std::string_view signature;  // one letter a field: 'i' integer, 'd' double, 's' text
};

// Positions are twips on the canvas, as the window measures presses; sizes bytes, times nanoseconds
// since the epoch. Ranges (a field index of 2..5, a notation of 0..3) are the window's to check: the
// journal keeps whatever it was given.
inline constexpr RecordKindInfo kRecordKinds[] = {
    {RecordKind::Header, "header", "sii"},               // map path, size, modification time
    {RecordKind::MapOpened, "map_opened", "siidd"},      // map path, size, modification time, canvas width, height
    {RecordKind::Capture, "capture", "idd"},             // button, x, y
    {RecordKind::RemovalOnMap, "removal_on_map", "dd"},  // x, y of the right press
    {RecordKind::RemovalFromGrid, "removal_from_grid", "ii"},  // row, the grid's current column
    {RecordKind::Undo, "undo", ""},
    {RecordKind::Redo, "redo", ""},
    {RecordKind::Notation, "notation", "i"},             // the notation chosen
    {RecordKind::ReferenceModel, "reference_model", "s"},  // the reference-point model, opaque
    {RecordKind::Snapshot, "snapshot", "*"},             // the session as a map was opened (files/session_snapshot)
    {RecordKind::Field, "field", "ss"},                  // a text field or caption by its control's name, its text
};

// Nothing for a kind this program does not know.
const RecordKindInfo* FindRecordKind(RecordKind kind);
const RecordKindInfo* FindRecordKind(std::string_view name);

using JournalField = std::variant<std::int64_t, double, std::string>;

struct JournalRecord {
  RecordKind kind = RecordKind::Undo;
  std::vector<JournalField> fields;

  // The field at `index` when it has that type; 0, 0.0 or "" otherwise. Records read back from a
  // journal always fit their kind's signature, so for them the type is never wrong.
  std::int64_t integer(std::size_t index) const;
  double number(std::size_t index) const;
  const std::string& text(std::size_t index) const;
};

// Equal kinds and fields, doubles compared bit for bit: what was written is what is read back,
// -0.0 and every NaN included.
bool operator==(const JournalRecord& a, const JournalRecord& b);

// Whether the kind is known and the fields follow its signature.
bool FitsKind(const JournalRecord& record);

// The largest body a record may have. A journal holds clicks and short texts, so a length field above
// it is damage and is refused before a byte of the body is looked at.
inline constexpr std::size_t kMaxRecordBodyBytes = std::size_t{1} << 20;
inline constexpr std::size_t kRecordFrameBytes = 8;  // the length and the checksum

// Appends the record's bytes to `out`. False, with `out` unchanged, when the record does not fit its
// kind or its body would exceed kMaxRecordBodyBytes.
bool AppendEncodedRecord(const JournalRecord& record, std::string& out);

enum class JournalDamage {
  None,
  CutShort,     // the bytes end inside a record (or inside the journal's first bytes)
  BadLength,    // a length of 0 or over kMaxRecordBodyBytes: never a record this program writes
  BadChecksum,
  UnknownKind,  // a whole record of a kind this program does not know
  Malformed,    // a whole record whose fields do not follow its kind's signature, or a second header
  NotAJournal,  // the file does not start as a journal does
  Unreadable,   // the file could not be read at all; see the error beside it
};

struct DecodedRecord {
  JournalRecord record;           // meaningful when damage is None
  std::size_t bytes = 0;          // bytes the record took, when damage is None
  JournalDamage damage = JournalDamage::None;
};

// The record at the start of `bytes`. Never reads past them, never throws.
DecodedRecord DecodeRecord(std::string_view bytes);

}  // namespace velmaro
