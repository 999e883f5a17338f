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
// Rows of a restart band. A decoder starting a band decodes one MCU row more than its share (the first row of
// the band below), 1.5 % of a band of 1024 rows; smaller bands would keep the decoders' rows closer
// together, larger ones waste less.
constexpr int kBandRows = 1024;
constexpr int kMaxDecoders = 8;

// Named, so that a profile or /proc/PID/task tells the decode's threads apart (at most 15 characters).
void NameThisThread(const char* name) { pthread_setname_np(pthread_self(), name); }

std::function<void()>& PreviewPauseForTests() {
  static std::function<void()> pause;
  return pause;
}

std::atomic<int>& DecodersForTests() {
  static std::atomic<int> decoders{0};
  return decoders;
}

// One decoder, and one more on every further core when the file can be cut into restart bands.
int Decoders(const BandProgress& progress) {
  if (progress.bands() < 2) return 1;
  const int forTests = DecodersForTests().load();
  if (forTests > 0) return forTests;
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(std::min(cores, progress.bands()), 1, kMaxDecoders);
}

}  // namespace

void MapDecode::SetPreviewPauseForTests(std::function<void()> pause) { PreviewPauseForTests() = std::move(pause); }
void MapDecode::SetDecodersForTests(int decoders) { DecodersForTests().store(decoders); }

MapDecode::Beginning MapDecode::Begin(const QString& path, QSize previewBox, std::unique_ptr<MapDecode>& decode,
                                      const std::function<void()>& makeRoom, std::function<void()> ended) {
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
  const int bandRows = BandRows(decoder->file()->layout, kBandRows).value_or(size.height());
  decode.reset(new MapDecode(std::move(decoder), std::move(picture), std::move(preview), divisor, bandRows));
  decode->ended_ = std::move(ended);
  decode->start(Decoders(decode->progress_));
  return Beginning::Begun;
}

MapDecode::MapDecode(std::unique_ptr<JpegDecoder> decoder, PixelImage picture, PixelImage preview, int divisor,
                     int bandRows)
    : decoder_(std::move(decoder)),
      file_(decoder_->file()),
      progress_(decoder_->size().height(), bandRows),
      picture_(std::move(picture)),
      preview_(std::move(preview)),
      previewTarget_(preview_.rows, preview_.image.width(), preview_.image.height(), preview_.bytesPerLine,
                     QImage::Format_RGB32),
      size_(picture_.image.size()),
      divisor_(divisor),
      previewPause_(PreviewPauseForTests()) {}

MapDecode::~MapDecode() { stop(); }

void MapDecode::start(int decoders) {
  waitForBands_ = decoders > 1 && DecodersForTests().load() > 0;
  runningDecoders_.store(decoders);
  for (int i = 0; i < decoders; ++i)
    decoderThreads_.emplace_back([this, i] { NameThisThread("map-decoder"); decodeBands(i == 0); });
  pagesThread_ = std::thread([this] { NameThisThread("map-pages"); preparePages(); });
  previewThread_ = std::thread([this] { NameThisThread("map-preview"); reducePreview(); });
}

void MapDecode::stop() {
  stop_.store(true, std::memory_order_relaxed);
  abandon_.store(true, std::memory_order_relaxed);
  news_.fetch_add(1, std::memory_order_release);
  news_.notify_all();
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
  for (std::thread& thread : decoderThreads_)
    if (thread.joinable()) thread.join();
  for (std::thread* thread : {&pagesThread_, &previewThread_})
    if (thread->joinable()) thread->join();
}

const RestartBands* MapDecode::restartBands() {
  std::call_once(bandsFound_, [this] { bands_ = FindRestartBands(file_->descriptor, file_->layout, kBandRows, abandon_); });
  return bands_ ? &*bands_ : nullptr;
}

// The first decoder starts at the top of the file at once; the others find the restart bands first. Each
// then takes the next band nobody has, until none is left.
void MapDecode::decodeBands(bool first) {
  auto outcome = JpegDecoder::Outcome::Decoded;
  if (first) {
    if (waitForBands_) restartBands();
    std::unique_ptr<JpegDecoder> fromTheTop = std::move(decoder_);
    outcome = decodeRun(0, *fromTheTop);
  } else if (!restartBands()) {
    return endDecoder(outcome);
  }
  while (outcome == JpegDecoder::Outcome::Decoded && !abandon_.load(std::memory_order_relaxed)) {
    const int band = progress_.takeAny();
    if (band < 0) break;
    const RestartBands* bands = restartBands();  // found already: nobody takes a band before
    std::unique_ptr<JpegDecoder> decoder = bands ? JpegDecoder::OpenBand(file_, *bands, band) : nullptr;
    outcome = decoder ? decodeRun(band, *decoder) : JpegDecoder::Outcome::Failed;
  }
  endDecoder(outcome);
}

// Decodes `band` and goes on with the bands below it as long as nobody else has taken them.
JpegDecoder::Outcome MapDecode::decodeRun(int band, JpegDecoder& decoder) {
  runs_.fetch_add(1, std::memory_order_relaxed);
  return decoder.decode(picture_.rows, picture_.bytesPerLine, abandon_, [this, band](int row) mutable {
    progress_.written(band, row);
    news_.fetch_add(1, std::memory_order_release);
    news_.notify_all();
    if (row < progress_.ownEnd(band)) return progress_.ownEnd(band);
    if (!progress_.takeNext(band)) return row;
    return progress_.ownEnd(++band);
  });
}

void MapDecode::endDecoder(JpegDecoder::Outcome outcome) {
  if (outcome == JpegDecoder::Outcome::Failed) {
    failed_.store(true);
    abandon_.store(true);  // the other decoders end at their next band
  }
  if (runningDecoders_.fetch_sub(1) != 1) return;
  // The last decoder to end: the file closes as soon as it is read.
  bands_.reset();
  file_.reset();
  outcome_ = failed_.load()                  ? State::Failed
             : readyRows() == size_.height() ? State::Decoded
                                             : State::Stopped;
  decoderEnded_.store(true, std::memory_order_release);
  news_.fetch_add(1, std::memory_order_release);
  news_.notify_all();
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
    const unsigned seen = news_.load(std::memory_order_acquire);
    const bool ended = decoderEnded_.load(std::memory_order_acquire);
    if (stop_.load(std::memory_order_relaxed) || (ended && outcome_ != State::Decoded)) break;
    const int ready = readyRows();
    // A preview row needs all of its block's rows; the last block may be short.
    const int complete = ready >= size_.height() ? targetRows : ready / divisor_;
    if (complete > reduced) {
      if (previewPause_) previewPause_();
      ReduceRgb888Rows(picture_.rows, picture_.bytesPerLine, size_, divisor_, reduced, complete, previewTarget_);
      reduced = complete;
      previewRows_.store(reduced, std::memory_order_release);
      continue;
    }
    news_.wait(seen, std::memory_order_acquire);
  }
  // The decoders may still be running after a stop; the outcome is read only once they have ended.
  while (!decoderEnded_.load(std::memory_order_acquire)) {
    const unsigned seen = news_.load(std::memory_order_acquire);
    if (decoderEnded_.load(std::memory_order_acquire)) break;
    news_.wait(seen, std::memory_order_acquire);
  }
  finished_.store(true, std::memory_order_release);
  if (ended_) ended_();
}

}  // namespace velmaro::map_picture
