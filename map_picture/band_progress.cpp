#include "map_picture/band_progress.h"

#include <algorithm>

namespace velmaro::map_picture {

BandProgress::BandProgress(int height, int bandRows)
    : height_(height),
      bandRows_(std::max(1, std::min(bandRows, height))),
      bands_(std::max(1, (height + bandRows_ - 1) / bandRows_)),
      writtenUpTo_(new int[static_cast<std::size_t>(bands_)]) {
  for (int band = 0; band < bands_; ++band) writtenUpTo_[band] = ownBegin(band);
}

bool BandProgress::takeNext(int band) {
  const std::lock_guard lock(mutex_);
  if (band + 1 >= bands_ || nextBand_ != band + 1) return false;
  ++nextBand_;
  return true;
}

int BandProgress::takeAny() {
  const std::lock_guard lock(mutex_);
  return nextBand_ < bands_ ? nextBand_++ : -1;
}

void BandProgress::written(int band, int row) {
  const std::lock_guard lock(mutex_);
  writtenUpTo_[band] = std::max(writtenUpTo_[band], std::min(row, ownEnd(band)));
  int ready = 0;
  for (int b = 0; b < bands_; ++b) {
    ready = writtenUpTo_[b];
    if (ready < ownEnd(b)) break;
  }
  ready_.store(ready, std::memory_order_release);
}

}  // namespace velmaro::map_picture
