#include "files/journal_record.h"

#include <bit>
#include <cstring>

#include "files/crc32c.h"

namespace velmaro {
namespace {

void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFFu);
}

std::uint64_t GetLittleEndian(std::string_view bytes, std::size_t at, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

char TypeLetter(const JournalField& field) {
  if (std::holds_alternative<std::int64_t>(field)) return 'i';
  if (std::holds_alternative<double>(field)) return 'd';
  return 's';
}

void PutField(std::string& body, const JournalField& field) {
  body += TypeLetter(field);
  if (const auto* integer = std::get_if<std::int64_t>(&field)) {
    PutLittleEndian(body, static_cast<std::uint64_t>(*integer), 8);
  } else if (const auto* number = std::get_if<double>(&field)) {
    PutLittleEndian(body, std::bit_cast<std::uint64_t>(*number), 8);
  } else {
    const std::string& text = std::get<std::string>(field);
    PutLittleEndian(body, text.size(), 4);
    body += text;
  }
}

constexpr std::string_view kAnyFields = "*";

// Reads the fields of `body` after the kind byte, following the signature (any letters up to the body's
// end for "*"). False on any mismatch, a value running past the body, or bytes left over.
bool ParseFields(std::string_view body, std::string_view signature, std::vector<JournalField>& fields) {
  std::size_t at = 1;
  const bool any = signature == kAnyFields;
  for (std::size_t i = 0; any ? at < body.size() : i < signature.size(); ++i) {
    const char letter = any ? body[at] : signature[i];
    if (at >= body.size() || body[at] != letter || (letter != 'i' && letter != 'd' && letter != 's')) return false;
    ++at;
    if (letter == 's') {
      if (body.size() - at < 4) return false;
      const std::uint64_t length = GetLittleEndian(body, at, 4);
      at += 4;
      if (body.size() - at < length) return false;
      fields.emplace_back(std::string(body.substr(at, length)));
      at += length;
      continue;
    }
    if (body.size() - at < 8) return false;
    const std::uint64_t bits = GetLittleEndian(body, at, 8);
    at += 8;
    if (letter == 'i') fields.emplace_back(static_cast<std::int64_t>(bits));
    else fields.emplace_back(std::bit_cast<double>(bits));
  }
  return at == body.size();
}

bool SameField(const JournalField& a, const JournalField& b) {
  if (a.index() != b.index()) return false;
  if (const auto* x = std::get_if<double>(&a)) return std::bit_cast<std::uint64_t>(*x) == std::bit_cast<std::uint64_t>(std::get<double>(b));
  return a == b;
}

}  // namespace

const RecordKindInfo* FindRecordKind(RecordKind kind) {
  for (const RecordKindInfo& info : kRecordKinds) {
    if (info.kind == kind) return &info;
  }
  return nullptr;
}

const RecordKindInfo* FindRecordKind(std::string_view name) {
  for (const RecordKindInfo& info : kRecordKinds) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

std::int64_t JournalRecord::integer(std::size_t index) const {
  const auto* value = index < fields.size() ? std::get_if<std::int64_t>(&fields[index]) : nullptr;
  return value ? *value : 0;
}

double JournalRecord::number(std::size_t index) const {
  const auto* value = index < fields.size() ? std::get_if<double>(&fields[index]) : nullptr;
  return value ? *value : 0.0;
}

const std::string& JournalRecord::text(std::size_t index) const {
  static const std::string kNone;
  const auto* value = index < fields.size() ? std::get_if<std::string>(&fields[index]) : nullptr;
  return value ? *value : kNone;
}

bool operator==(const JournalRecord& a, const JournalRecord& b) {
  if (a.kind != b.kind || a.fields.size() != b.fields.size()) return false;
  for (std::size_t i = 0; i < a.fields.size(); ++i) {
    if (!SameField(a.fields[i], b.fields[i])) return false;
  }
  return true;
}

bool FitsKind(const JournalRecord& record) {
  const RecordKindInfo* info = FindRecordKind(record.kind);
  if (info != nullptr && info->signature == kAnyFields) return true;
  if (info == nullptr || info->signature.size() != record.fields.size()) return false;
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    if (TypeLetter(record.fields[i]) != info->signature[i]) return false;
  }
  return true;
}

bool AppendEncodedRecord(const JournalRecord& record, std::string& out) {
  if (!FitsKind(record)) return false;
  std::string body(1, static_cast<char>(record.kind));
  for (const JournalField& field : record.fields) {
    // Checked field by field so a huge text is refused before it is copied.
    if (const auto* text = std::get_if<std::string>(&field); text && text->size() > kMaxRecordBodyBytes) return false;
    PutField(body, field);
  }
  if (body.size() > kMaxRecordBodyBytes) return false;
  PutLittleEndian(out, body.size(), 4);
  PutLittleEndian(out, Crc32c(body), 4);
  out += body;
  return true;
}

DecodedRecord DecodeRecord(std::string_view bytes) {
  if (bytes.size() < 4) return {{}, 0, JournalDamage::CutShort};
  const std::uint64_t length = GetLittleEndian(bytes, 0, 4);
  if (length == 0 || length > kMaxRecordBodyBytes) return {{}, 0, JournalDamage::BadLength};
  if (bytes.size() < kRecordFrameBytes || bytes.size() - kRecordFrameBytes < length) return {{}, 0, JournalDamage::CutShort};
  const std::string_view body = bytes.substr(kRecordFrameBytes, length);
  if (Crc32c(body) != GetLittleEndian(bytes, 4, 4)) return {{}, 0, JournalDamage::BadChecksum};
  const RecordKindInfo* info = FindRecordKind(static_cast<RecordKind>(static_cast<unsigned char>(body[0])));
  if (info == nullptr) return {{}, 0, JournalDamage::UnknownKind};
  DecodedRecord decoded;
  decoded.record.kind = info->kind;
  if (!ParseFields(body, info->signature, decoded.record.fields)) return {{}, 0, JournalDamage::Malformed};
  decoded.bytes = kRecordFrameBytes + length;
  return decoded;
}

}  // namespace velmaro
