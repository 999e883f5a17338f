#pragma once
// Private to the JPEG decoder: the only other file that includes libjpeg's header.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace velmaro::map_picture {

// Feeds libjpeg a JPEG's bytes read from a file with pread, 1 MiB at a time: the file is never held whole,
// and several decoders read one open file at once, each from its own place. A stream may give bytes of its
// own first (a band's header) and then go on with the file from `offset`. The restart markers at
// `markerOffsets` (file offsets of their 0xFF) are given renumbered: `renumber` is taken off each marker's
// number, modulo 8, so that a stream starting after marker n sees RST0 first, as libjpeg expects; every
// other byte, a damaged marker's included, is given as the file holds it. At the end of the file libjpeg
// gets its own warning of a premature end and an end of picture, as from its stdio source.
struct JpegSource {
  jpeg_source_mgr manager{};  // first member: libjpeg's pointer to the manager is a pointer to this
  int descriptor = -1;
  std::string lead;
  std::int64_t offset = 0;
  const std::vector<std::int64_t>* markerOffsets = nullptr;
  int renumber = 0;
  std::vector<JOCTET> piece;
  bool leadGiven = false;
};

// Makes `source` the data source of `info`; `source` must outlive the decoding.
void UseSource(j_decompress_ptr info, JpegSource& source);

}  // namespace velmaro::map_picture
