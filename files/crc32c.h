#pragma once
// CRC-32C (Castagnoli: reflected polynomial 0x82F63B78, initial value and final inversion 0xFFFFFFFF),
// the checksum of every journal record. Chosen over zlib's CRC-32 because it catches more of the
// short bursts a torn write leaves in records of a few dozen bytes, and is the checksum file systems
// (ext4, btrfs) and iSCSI use for the same job; a table of 256 words needs no library.

#include <cstdint>
#include <string_view>

namespace velmaro {

std::uint32_t Crc32c(std::string_view bytes);

}  // namespace velmaro
