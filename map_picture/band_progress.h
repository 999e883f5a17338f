#pragma once

#include <atomic>
#include <memory>
#include <mutex>

namespace velmaro::map_picture {

// A picture decoded in bands by several decoders at once: which decoder has taken which band, how far each
// band is written, and how many rows from the top are decoded without a gap.
//
// Bands are `bandRows` high, the last one what is left. A band's own rows run from its second row to the
// first row of the band below, included: the first row of a band needs the chroma row above it, so the
// decoder of the band above writes it (JpegDecoder::firstRow). Band 0's own rows start at row 0, the last
// band's end at the bottom. Band 0 belongs to the decoder that starts at once; the others are taken in
// order from the top by whoever asks next, and a decoder at the end of its band goes on with the next one
// when nobody has taken it, so that a picture nobody else helps with is decoded top to bottom in one run.
// Every member may be called from any thread.
class BandProgress {
 public:
  BandProgress(int height, int bandRows);  // one band when bandRows >= height

  int bands() const { return bands_; }
  int ownBegin(int band) const { return band == 0 ? 0 : band * bandRows_ + 1; }
  int ownEnd(int band) const { return band + 1 == bands_ ? height_ : (band + 1) * bandRows_ + 1; }

  // The band below `band`, for the decoder that holds `band`: true when nobody had taken it, and it is now
  // that decoder's; false at the last band.
  bool takeNext(int band);
  // The first band nobody has taken, now the caller's; -1 when every band is taken.
  int takeAny();

  // The rows of `band` from its own beginning up to `row` are written; rows of a band are written from the
  // top and never taken back. The rows written before it are handed over with it: whoever reads
  // readyRows() afterwards sees them.
  void written(int band, int row);
  // The rows from the top decoded without a gap: every band above whole, and the written rows of the first
  // band that is not. Only grows.
  int readyRows() const { return ready_.load(std::memory_order_acquire); }

 private:
  const int height_;
  const int bandRows_;
  const int bands_;
  // The counters change under the lock, so that the last of two decoders finishing neighbouring bands at
  // once always sees both; the rows ready are also published on their own, for readers without the lock.
  mutable std::mutex mutex_;
  int nextBand_ = 1;
  std::unique_ptr<int[]> writtenUpTo_;
  std::atomic<int> ready_{0};
};

}  // namespace velmaro::map_picture
