#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "map_picture/band_progress.h"
#include "map_picture/jpeg_decoder.h"
#include "map_picture/pixel_buffer.h"
#include "map_picture/restart_bands.h"

namespace velmaro::map_picture {

// A JPEG map decoded in the background, once, while the window goes on answering the user.
//
// Begin reads the header on the calling thread, checks the memory budget, and hands out the picture at its
// full size (3 bytes a pixel) and its preview (RGB32, reduced by PreviewDivisor for the preview's box) at
// once, before a single row is decoded. Threads then share the work: one decodes the rows top to bottom;
// one asks the kernel for the picture's fresh pages ahead of it, so that clearing memory does not stand in
// the decoder's way; one reduces the decoded rows into the preview behind it. A JPEG whose restart
// intervals are whole MCU rows (restart_bands.h) gets a decoder on every further core: each first finds the
// restart markers, and then they take bands below the first decoder's, each decoded by libjpeg-turbo from
// its own restart marker on (BandProgress says who takes which); a file whose markers are out of order or
// missing is left to the first decoder alone. The pixels are those of a decode from top to bottom. The
// memory behind both pictures stays alive until the decode and the caller have both let it go, so the
// caller may drop the pictures at any time.
//
// The rows, and who may touch them (the caller is the thread that called Begin, the window's):
// - picture rows from readyRows() on: the decoders are writing them. The caller neither reads nor writes
//   them, even where a band below is already whole.
// - rows below readyRows(): decoded. The caller may read them; the preview thread may still be reading
//   them, so the caller must not write them.
// - rows below settledRows(): decoded and read by no other thread any more (the preview has been made from
//   them, or the decode has ended). Only these may the caller write (a disc drawn on the map).
// - preview rows below previewRows(): made. The caller may read them and never writes the preview while
//   the decode runs.
// The counters only grow. Each is published after its rows (release) and read before them (acquire), so
// a caller that reads a counter first and the rows after it sees whole rows.
// Every member is for the caller's thread only; the threads themselves are the decode's private business.
class MapDecode {
 public:
  enum class Beginning {
    Begun,
    NotForMe,  // not a JPEG that libjpeg-turbo turns into RGB (another format, CMYK): for LoadFull
    Refused    // no picture: missing, unreadable, damaged header, sides out of range or not enough memory
  };
  // `makeRoom` runs once the file is known to be a JPEG for this decoder and before the memory is
  // counted: the caller lets go of what it can spare. `ended` runs once, on one of the decode's threads, as
  // soon as state() is no longer Running, so that the caller need not poll for the end; the destructor
  // waits for it.
  static Beginning Begin(const QString& path, QSize previewBox, std::unique_ptr<MapDecode>& decode,
                         const std::function<void()>& makeRoom = [] {}, std::function<void()> ended = {});
  // Runs on the preview thread before each piece of the preview is made: tests hold the preview back
  // with it, to see that nothing writes rows the preview has still to read.
  static void SetPreviewPauseForTests(std::function<void()> pause);
  // Tests: decode with `decoders` decoders whatever the number of cores (0: one per core again), and let the
  // first one start only once the others have looked for restart bands, so that the bands are shared.
  static void SetDecodersForTests(int decoders);
  ~MapDecode();  // stops the decode and waits for its threads
  MapDecode(const MapDecode&) = delete;
  MapDecode& operator=(const MapDecode&) = delete;

  // The pictures, handed out once; the decode keeps no QImage of its own, so that drawing into the
  // picture never makes Qt copy it.
  QImage takePicture() { return std::move(picture_.image); }
  QImage takePreview() { return std::move(preview_.image); }
  QSize size() const { return size_; }
  int previewDivisor() const { return divisor_; }

  int readyRows() const { return progress_.readyRows(); }
  int settledRows() const;
  int previewRows() const { return previewRows_.load(std::memory_order_acquire); }
  int height() const { return size_.height(); }

  // How many runs of libjpeg decoded the picture, once the decode has ended: 1 when one decoder went from
  // the top to the bottom, more when decoders shared restart bands.
  int decodeRuns() const { return runs_.load(std::memory_order_acquire); }

  enum class State { Running, Decoded, Failed, Stopped };
  // Running until the decoder and the preview have both ended.
  State state() const { return finished_.load(std::memory_order_acquire) ? outcome_ : State::Running; }

  void stop();  // asks every thread to end at its next band, and waits for them
  void wait();  // waits for the decode to end by itself

 private:
  MapDecode(std::unique_ptr<JpegDecoder> decoder, PixelImage picture, PixelImage preview, int divisor, int bandRows);
  void start(int decoders);
  void decodeBands(bool first);
  JpegDecoder::Outcome decodeRun(int band, JpegDecoder& decoder);
  const RestartBands* restartBands();
  void endDecoder(JpegDecoder::Outcome outcome);
  void preparePages();
  void reducePreview();
  void join();

  std::unique_ptr<JpegDecoder> decoder_;  // the first decoder's, from the top; then let go
  std::shared_ptr<const JpegFile> file_;
  BandProgress progress_;
  std::once_flag bandsFound_;
  std::optional<RestartBands> bands_;  // written once, under bandsFound_
  bool waitForBands_ = false;
  PixelImage picture_;
  PixelImage preview_;
  QImage previewTarget_;  // the preview's rows, for the reducing thread: a view on preview_'s memory
  QSize size_;
  int divisor_;
  std::function<void()> previewPause_;
  std::function<void()> ended_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> failed_{false};
  std::atomic<bool> abandon_{false};  // stopped or failed: every decoder ends at its next band
  std::atomic<int> previewRows_{0};
  std::atomic<int> runningDecoders_{0};
  std::atomic<int> runs_{0};
  std::atomic<bool> decoderEnded_{false};  // every decoder has ended
  std::atomic<unsigned> news_{0};  // counts the decoders' news, for the preview thread to wait on
  std::atomic<bool> finished_{false};
  State outcome_ = State::Running;  // written before decoderEnded_ is set
  std::vector<std::thread> decoderThreads_;
  std::thread pagesThread_;
  std::thread previewThread_;
};

}  // namespace velmaro::map_picture
