#include "files/crc32c.h"

#include <array>

namespace velmaro {
namespace {

constexpr std::uint32_t kReflectedPolynomial = 0x82F63B78u;

// The remainder of every byte value, computed by the compiler once.
constexpr std::array<std::uint32_t, 256> MakeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    std::uint32_t remainder = byte;
    for (int bit = 0; bit < 8; ++bit) remainder = (remainder >> 1) ^ ((remainder & 1u) ? kReflectedPolynomial : 0u);
    table[byte] = remainder;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

}  // namespace

std::uint32_t Crc32c(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) crc = (crc >> 8) ^ kTable[(crc ^ static_cast<unsigned char>(c)) & 0xFFu];
  return crc ^ 0xFFFFFFFFu;
}

}  // namespace velmaro
