#include "map_picture/restart_bands.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <unistd.h>

namespace velmaro::map_picture {
namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
// APPn segments (Exif, ICC profiles) make headers of a few hundred kilobytes at most; a larger one is no map.
constexpr std::size_t kMaxHeaderBytes = std::size_t{16} << 20;

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStuffing = 0x00;
constexpr unsigned char kRst0 = 0xD0;
constexpr unsigned char kRst7 = 0xD7;
constexpr unsigned char kSoi = 0xD8;
constexpr unsigned char kEoi = 0xD9;
constexpr unsigned char kSos = 0xDA;
constexpr unsigned char kSof0 = 0xC0;  // baseline
constexpr unsigned char kSof1 = 0xC1;  // extended sequential, Huffman

int CeilDiv(int value, int divisor) { return (value + divisor - 1) / divisor; }

int Intervals(const ScanLayout& layout) {
  const int mcuRows = CeilDiv(layout.height, layout.mcuHeight);
  const int rowsPerInterval = layout.restartInterval / CeilDiv(layout.width, layout.mcuWidth);
  return CeilDiv(mcuRows, rowsPerInterval);
}

// The file's bytes up to the end of the first SOS segment, walking the header's segments, and where the
// frame's height lies in them. The walk only finds places: libjpeg has read the same header already.
struct Header {
  std::string bytes;
  std::size_t heightOffset = 0;
};

bool ReadAt(int descriptor, std::int64_t offset, std::size_t count, std::string& into) {
  const std::size_t old = into.size();
  into.resize(old + count);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = pread(descriptor, into.data() + old + done, count - done, offset + static_cast<std::int64_t>(done));
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

std::optional<Header> WalkHeader(int descriptor) {
  Header header;
  if (!ReadAt(descriptor, 0, 2, header.bytes) || static_cast<unsigned char>(header.bytes[1]) != kSoi) return std::nullopt;
  bool frameSeen = false;
  while (header.bytes.size() < kMaxHeaderBytes) {
    const std::size_t at = header.bytes.size();
    if (!ReadAt(descriptor, static_cast<std::int64_t>(at), 4, header.bytes)) return std::nullopt;
    const auto* segment = reinterpret_cast<const unsigned char*>(header.bytes.data() + at);
    if (segment[0] != kMarker) return std::nullopt;
    const unsigned char code = segment[1];
    const std::size_t length = std::size_t{segment[2]} << 8 | segment[3];  // counts itself, not the marker
    if (length < 2 || !ReadAt(descriptor, static_cast<std::int64_t>(at + 4), length - 2, header.bytes)) return std::nullopt;
    if (code == kSof0 || code == kSof1) {
      if (length < 8) return std::nullopt;
      header.heightOffset = at + 5;  // marker (2), length (2), precision (1)
      frameSeen = true;
    }
    if (code == kSos) return frameSeen ? std::optional<Header>(std::move(header)) : std::nullopt;
  }
  return std::nullopt;
}

// Follows the markers in the coded data, piece by piece. A marker's 0xFF may end one piece and its code
// start the next.
class MarkerScan {
 public:
  MarkerScan(int expected, std::vector<std::int64_t>& offsets) : expected_(expected), offsets_(offsets) {}

  enum class Step { More, Ended, Refused };
  Step piece(const unsigned char* bytes, std::size_t count, std::int64_t offset) {
    std::size_t i = 0;
    if (pendingMarker_) {
      pendingMarker_ = false;
      if (count == 0) return Step::Ended;
      const Step step = code(bytes[0], offset - 1, i);
      if (step != Step::More) return step;
    }
    while (i < count) {
      const void* found = std::memchr(bytes + i, kMarker, count - i);
      if (!found) return Step::More;
      const std::size_t at = static_cast<std::size_t>(static_cast<const unsigned char*>(found) - bytes);
      if (at + 1 == count) {
        pendingMarker_ = true;
        return Step::More;
      }
      i = at + 1;
      const Step step = code(bytes[at + 1], offset + static_cast<std::int64_t>(at), i);
      if (step != Step::More) return step;
    }
    return Step::More;
  }
  bool complete() const { return static_cast<int>(offsets_.size()) == expected_; }

 private:
  // The code after a 0xFF at `markerOffset`; `next` is the index of the code byte, moved past it when used.
  Step code(unsigned char value, std::int64_t markerOffset, std::size_t& next) {
    if (value == kStuffing) return ++next, Step::More;
    if (value == kMarker) return Step::More;  // fill byte: the marker's code comes later
    if (value == kEoi) return Step::Ended;
    if (value < kRst0 || value > kRst7) return Step::Refused;
    const int number = static_cast<int>(offsets_.size());
    if (number >= expected_ || value != kRst0 + number % 8) return Step::Refused;
    offsets_.push_back(markerOffset);
    ++next;
    return Step::More;
  }

  int expected_;
  std::vector<std::int64_t>& offsets_;
  bool pendingMarker_ = false;
};

bool ScanMarkers(int descriptor, RestartBands& bands, int expected, const std::atomic<bool>& stop) {
  std::vector<unsigned char> piece(kPieceBytes);
  MarkerScan scan(expected, bands.markerOffsets);
  bands.markerOffsets.reserve(static_cast<std::size_t>(expected));
  for (std::int64_t offset = bands.dataOffset;;) {
    if (stop.load(std::memory_order_relaxed)) return false;
    const ssize_t got = pread(descriptor, piece.data(), piece.size(), offset);
    if (got < 0) return false;
    switch (scan.piece(piece.data(), static_cast<std::size_t>(got), offset)) {
      case MarkerScan::Step::Refused: return false;
      case MarkerScan::Step::Ended: return scan.complete();
      case MarkerScan::Step::More: break;
    }
    if (got == 0) return scan.complete();
    offset += got;
  }
}

}  // namespace

std::optional<int> BandRows(const ScanLayout& layout, int targetRows) {
  if (!layout.oneSequentialHuffmanScan || layout.restartInterval <= 0 || layout.mcuWidth <= 0 ||
      layout.mcuHeight <= 0 || layout.width <= 0 || layout.height <= 0)
    return std::nullopt;
  const int mcusPerRow = CeilDiv(layout.width, layout.mcuWidth);
  if (layout.restartInterval % mcusPerRow != 0) return std::nullopt;
  const int intervalRows = layout.restartInterval / mcusPerRow * layout.mcuHeight;
  const int intervals = std::max(1, static_cast<int>(std::lround(static_cast<double>(targetRows) / intervalRows)));
  const int bandRows = intervals * intervalRows;
  if (bandRows >= layout.height) return std::nullopt;
  return bandRows;
}

std::int64_t RestartBands::bandDataOffset(int band) const {
  if (band == 0) return dataOffset;
  return markerOffsets[static_cast<std::size_t>(markersBefore(band) - 1)] + 2;
}

std::optional<RestartBands> FindRestartBands(int descriptor, const ScanLayout& layout, int targetRows,
                                             const std::atomic<bool>& stop) {
  const auto bandRows = BandRows(layout, targetRows);
  if (!bandRows) return std::nullopt;
  auto header = WalkHeader(descriptor);
  if (!header) return std::nullopt;
  RestartBands bands;
  bands.height = layout.height;
  bands.bandRows = *bandRows;
  bands.heightOffset = header->heightOffset;
  bands.dataOffset = static_cast<std::int64_t>(header->bytes.size());
  bands.header = std::move(header->bytes);
  const int mcuRowsPerInterval = layout.restartInterval / CeilDiv(layout.width, layout.mcuWidth);
  bands.intervalsPerBand = *bandRows / (mcuRowsPerInterval * layout.mcuHeight);
  if (!ScanMarkers(descriptor, bands, Intervals(layout) - 1, stop)) return std::nullopt;
  return bands;
}

}  // namespace velmaro::map_picture
