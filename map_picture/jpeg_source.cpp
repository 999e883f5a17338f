#include "map_picture/jpeg_source.h"

#include <algorithm>

#include <jerror.h>
#include <unistd.h>

namespace velmaro::map_picture {
namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
constexpr JOCTET kRst7 = JPEG_RST0 + 7;  // libjpeg names only the first restart marker

JpegSource& SourceOf(j_decompress_ptr info) { return *reinterpret_cast<JpegSource*>(info->src); }

void Renumber(JpegSource& source, std::size_t count) {
  if (!source.markerOffsets || source.renumber == 0) return;
  const auto& markers = *source.markerOffsets;
  // A marker's code byte follows its 0xFF, which may lie at the end of the piece before.
  for (auto m = std::lower_bound(markers.begin(), markers.end(), source.offset - 1);
       m != markers.end() && *m + 1 < source.offset + static_cast<std::int64_t>(count); ++m) {
    JOCTET& code = source.piece[static_cast<std::size_t>(*m + 1 - source.offset)];
    if (code >= JPEG_RST0 && code <= kRst7)
      code = static_cast<JOCTET>(JPEG_RST0 + ((code - JPEG_RST0 - source.renumber) & 7));
  }
}

void Begin(j_decompress_ptr) {}
void End(j_decompress_ptr) {}

boolean Fill(j_decompress_ptr info) {
  JpegSource& source = SourceOf(info);
  if (!source.leadGiven) {
    source.leadGiven = true;
    if (!source.lead.empty()) {
      source.manager.next_input_byte = reinterpret_cast<const JOCTET*>(source.lead.data());
      source.manager.bytes_in_buffer = source.lead.size();
      return TRUE;
    }
  }
  const ssize_t got = pread(source.descriptor, source.piece.data(), source.piece.size(), source.offset);
  std::size_t count = 0;
  if (got <= 0) {
    WARNMS(info, JWRN_JPEG_EOF);
    source.piece[0] = 0xFF;
    source.piece[1] = JPEG_EOI;
    count = 2;
  } else {
    count = static_cast<std::size_t>(got);
    Renumber(source, count);
    source.offset += got;
  }
  source.manager.next_input_byte = source.piece.data();
  source.manager.bytes_in_buffer = count;
  return TRUE;
}

// Skipped bytes beyond the piece in hand are never read: the next piece starts after them.
void Skip(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr& manager = *info->src;
  const auto wanted = static_cast<std::size_t>(count);
  if (wanted <= manager.bytes_in_buffer) {
    manager.next_input_byte += wanted;
    manager.bytes_in_buffer -= wanted;
    return;
  }
  SourceOf(info).offset += static_cast<std::int64_t>(wanted - manager.bytes_in_buffer);
  manager.bytes_in_buffer = 0;
}

}  // namespace

void UseSource(j_decompress_ptr info, JpegSource& source) {
  source.piece.resize(kPieceBytes);
  source.manager.init_source = Begin;
  source.manager.fill_input_buffer = Fill;
  source.manager.skip_input_data = Skip;
  source.manager.resync_to_restart = jpeg_resync_to_restart;
  source.manager.term_source = End;
  source.manager.bytes_in_buffer = 0;
  source.manager.next_input_byte = nullptr;
  info->src = &source.manager;
}

}  // namespace velmaro::map_picture
