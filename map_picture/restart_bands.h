#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmaro::map_picture {

// Bands of a JPEG that separate decoders can decode at the same time.
//
// A restart marker resets everything the entropy decoder carries from one MCU to the next (the DC
// predictions, the bit buffer), so the coded data after one can be decoded without what came before. A JPEG
// whose restart intervals are whole MCU rows is cut here into bands of whole intervals, about `targetRows`
// rows each. A band is decoded by libjpeg-turbo from a stream of its own: the file's header with the frame's
// height set to the rows from the band down to the bottom of the picture, then the coded data from the
// band's restart marker on, its restart markers numbered from RST0 as libjpeg expects (see JpegDecoder).

// What the header says about the layout of the coded data (filled in from libjpeg's reading of it).
struct ScanLayout {
  int width = 0;   // pixels
  int height = 0;  // pixels
  // One scan of Huffman-coded sequential data holding every component (baseline or extended, not
  // progressive, not arithmetic-coded, not one scan per component): only then is the whole picture one
  // run of coded data that restart markers cut.
  bool oneSequentialHuffmanScan = false;
  int mcuWidth = 0;   // pixels of an MCU
  int mcuHeight = 0;  // pixels of an MCU row
  int restartInterval = 0;  // MCUs from one restart marker to the next; 0 when the file has none
};

// The rows of every band but the last: a whole number of restart intervals, the nearest to `targetRows`
// (at least one interval). nullopt when the layout cannot be cut: no single sequential Huffman scan, no
// restart markers, intervals that are not a whole number of MCU rows, or a picture of a single band.
std::optional<int> BandRows(const ScanLayout& layout, int targetRows);

struct RestartBands {
  int height = 0;     // the picture's, in rows
  int bandRows = 0;   // rows of every band but the last
  std::string header;          // the file's bytes before its coded data
  std::size_t heightOffset = 0;  // where the frame's height lies in `header`: two bytes, most significant first
  std::int64_t dataOffset = 0;   // where the coded data starts in the file
  int intervalsPerBand = 0;
  std::vector<std::int64_t> markerOffsets;  // of every restart marker in the file, in order

  int bands() const { return (height + bandRows - 1) / bandRows; }
  int firstRow(int band) const { return band * bandRows; }
  // Where band `band`'s coded data starts in the file, and the number of the restart markers before it.
  std::int64_t bandDataOffset(int band) const;
  int markersBefore(int band) const { return band * intervalsPerBand; }
};

// Reads the header and every byte of the coded data of the JPEG open as `descriptor` (read with pread, so
// the caller may go on reading it elsewhere), and finds every restart marker. nullopt, for the caller to
// decode the file whole, when `BandRows` refuses the layout, when the header cannot be walked, when a marker
// is out of sequence (RST0 to RST7 in turn), when a marker other than a restart or the end of the picture
// appears among the coded data, or when there are not exactly as many markers as intervals less one: a
// file whose markers are damaged or missing, or cut short before its last interval. A file that ends inside
// its last interval is cut into bands; its last band fails as the whole decode would. Looks at `stop`
// between pieces of 1 MiB and gives nullopt when it is set.
std::optional<RestartBands> FindRestartBands(int descriptor, const ScanLayout& layout, int targetRows,
                                             const std::atomic<bool>& stop);

}  // namespace velmaro::map_picture
