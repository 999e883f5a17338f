#include "map_picture/map_decode.h"

#include "map_picture/memory_budget.h"
#include "map_picture/preview_reduction.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <pthread.h>

namespace velmaro::map_picture {
namespace {

// 2 MiB: small enough that the pages thread stays well ahead of the decoder from its first rows on.
constexpr std::size_t kPreparedPieceBytes = std::size_t{2} << 20;
// Preparing pages holds the address space's lock for reading, and the kernel lets a reader that comes straight
// back take it again ahead of a waiting writer. Without a breath between pieces, a new mapping made by the
// window's own thread (a large image, a grown heap) waited 15 ms and more while a map decoded; with it, a few
// milliseconds at worst.
constexpr auto kPauseBetweenPieces = std::chrono::microseconds(50);

// Named, so that a profile or /proc/PID/task tells the decode's threads apart (at most 15 characters).
void NameThisThread(const char* name) { pthread_setname_np(pthread_self(), name); }

std::function<void()>& PreviewPauseForTests() {
  static std::function<void()> pause;
  return pause;
}

}  // namespace

void MapDecode::SetPreviewPauseForTests(std::function<void()> pause) { PreviewPauseForTests() = std::move(pause); }

MapDecode::Beginning MapDecode::Begin(const QString& path, QSize previewBox, std::unique_ptr<MapDecode>& decode,
                                      const std::function<void()>& makeRoom) {
  std::unique_ptr<JpegDecoder> decoder;
  switch (JpegDecoder::Open(path, decoder)) {
    case JpegDecoder::Opening::Refused: return Beginning::Refused;
    case JpegDecoder::Opening::NotJpeg: return Beginning::NotForMe;
    case JpegDecoder::Opening::Opened: break;
  }
  if (!decoder->decodableToRgb()) return Beginning::NotForMe;
  makeRoom();
  const QSize size = decoder->size();
  const int divisor = PreviewDivisor(size, previewBox);
  const QSize previewSize = ReducedSize(size, divisor);
  if (!FitsInMemory(size, RgbBytes(size) + PixelBytes(previewSize) + decoder->workBytes())) return Beginning::Refused;
  PixelImage picture = NewPixelImage(size, QImage::Format_RGB888);
  PixelImage preview = NewPixelImage(previewSize, QImage::Format_RGB32);
  if (picture.image.isNull() || preview.image.isNull()) return Beginning::Refused;
  decode.reset(new MapDecode(std::move(decoder), std::move(picture), std::move(preview), divisor));
  decode->start();
  return Beginning::Begun;
}

MapDecode::MapDecode(std::unique_ptr<JpegDecoder> decoder, PixelImage picture, PixelImage preview, int divisor)
    : decoder_(std::move(decoder)),
      picture_(std::move(picture)),
      preview_(std::move(preview)),
      previewTarget_(preview_.rows, preview_.image.width(), preview_.image.height(), preview_.bytesPerLine,
                     QImage::Format_RGB32),
      size_(picture_.image.size()),
      divisor_(divisor),
      previewPause_(PreviewPauseForTests()) {}

MapDecode::~MapDecode() { stop(); }

void MapDecode::start() {
  decoderThread_ = std::thread([this] { NameThisThread("map-decoder"); decodeRows(); });
  pagesThread_ = std::thread([this] { NameThisThread("map-pages"); preparePages(); });
  previewThread_ = std::thread([this] { NameThisThread("map-preview"); reducePreview(); });
}

void MapDecode::stop() {
  stop_.store(true, std::memory_order_relaxed);
  bands_.fetch_add(1, std::memory_order_release);
  bands_.notify_all();
  join();
}

void MapDecode::wait() { join(); }

int MapDecode::settledRows() const {
  // Once the preview thread has ended, nothing but the caller reads a row again.
  if (finished_.load(std::memory_order_acquire)) return readyRows();
  const int previewRows = previewRows_.load(std::memory_order_acquire);
  return std::min(readyRows(), previewRows * divisor_);
}

void MapDecode::join() {
  for (std::thread* thread : {&decoderThread_, &pagesThread_, &previewThread_})
    if (thread->joinable()) thread->join();
}

void MapDecode::decodeRows() {
  const JpegDecoder::Outcome outcome =
      decoder_->decode(picture_.rows, picture_.bytesPerLine, stop_, [this](int rows) {
        readyRows_.store(rows, std::memory_order_release);
        bands_.fetch_add(1, std::memory_order_release);
        bands_.notify_all();
      });
  decoder_.reset();  // the file closes as soon as it is read
  outcome_ = outcome == JpegDecoder::Outcome::Decoded  ? State::Decoded
             : outcome == JpegDecoder::Outcome::Stopped ? State::Stopped
                                                        : State::Failed;
  decoderEnded_.store(true, std::memory_order_release);
  bands_.fetch_add(1, std::memory_order_release);
  bands_.notify_all();
}

void MapDecode::preparePages() {
  const std::size_t total = static_cast<std::size_t>(picture_.bytesPerLine) * static_cast<std::size_t>(size_.height());
  for (std::size_t offset = 0; offset < total; offset += kPreparedPieceBytes) {
    if (stop_.load(std::memory_order_relaxed) || decoderEnded_.load(std::memory_order_relaxed)) return;
    if (!PreparePages(picture_.rows + offset, std::min(kPreparedPieceBytes, total - offset))) return;
    std::this_thread::sleep_for(kPauseBetweenPieces);
  }
}

void MapDecode::reducePreview() {
  int reduced = 0;
  const int targetRows = previewTarget_.height();
  while (reduced < targetRows) {
    const unsigned seen = bands_.load(std::memory_order_acquire);
    const bool ended = decoderEnded_.load(std::memory_order_acquire);
    if (stop_.load(std::memory_order_relaxed) || (ended && outcome_ != State::Decoded)) break;
    const int ready = readyRows_.load(std::memory_order_acquire);
    // A preview row needs all of its block's rows; the last block may be short.
    const int complete = ready >= size_.height() ? targetRows : ready / divisor_;
    if (complete > reduced) {
      if (previewPause_) previewPause_();
      ReduceRgb888Rows(picture_.rows, picture_.bytesPerLine, size_, divisor_, reduced, complete, previewTarget_);
      reduced = complete;
      previewRows_.store(reduced, std::memory_order_release);
      continue;
    }
    bands_.wait(seen, std::memory_order_acquire);
  }
  // The decoder may still be running after a stop; the outcome is read only once it has ended.
  while (!decoderEnded_.load(std::memory_order_acquire)) {
    const unsigned seen = bands_.load(std::memory_order_acquire);
    if (decoderEnded_.load(std::memory_order_acquire)) break;
    bands_.wait(seen, std::memory_order_acquire);
  }
  finished_.store(true, std::memory_order_release);
}

}  // namespace velmaro::map_picture
