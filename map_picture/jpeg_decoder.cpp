#include "map_picture/jpeg_decoder.h"

#include <QFile>

#include <algorithm>
#include <csetjmp>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "map_picture/jpeg_source.h"

namespace velmaro::map_picture {
namespace {

// A hostile progressive file could otherwise spin through thousands of scans.
constexpr int kMaxScans = 500;
constexpr int kRowsPerBand = 32;

enum class Interruption { None, Damaged, Stopped };

}  // namespace

JpegFile::~JpegFile() {
  if (descriptor >= 0) ::close(descriptor);
}

// libjpeg reports errors by calling back, and its callbacks must not return: they jump back to the
// setjmp of whichever step is running. No C++ object with a destructor lives between the two.
struct JpegDecoder::Session {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  jpeg_progress_mgr progress{};
  JpegSource source;
  std::jmp_buf jump{};
  Interruption interruption = Interruption::None;
  const std::atomic<bool>* stop = nullptr;
  bool created = false;

  ~Session() {
    if (created) jpeg_destroy_decompress(&info);
  }
  static Session& Of(j_common_ptr common) { return *static_cast<Session*>(common->client_data); }
  [[noreturn]] void interrupt(Interruption why) {
    interruption = why;
    std::longjmp(jump, 1);
  }
};

namespace {

void OnError(j_common_ptr common) { JpegDecoder::Session::Of(common).interrupt(Interruption::Damaged); }

void OnMessage(j_common_ptr common, int level) {
  if (level < 0) JpegDecoder::Session::Of(common).interrupt(Interruption::Damaged);  // warnings are damage
}

void OnProgress(j_common_ptr common) {
  auto& session = JpegDecoder::Session::Of(common);
  if (session.info.input_scan_number > kMaxScans) session.interrupt(Interruption::Damaged);
  if (session.stop && session.stop->load(std::memory_order_relaxed)) session.interrupt(Interruption::Stopped);
}

bool StartsLikeJpeg(int descriptor) {
  unsigned char start[3] = {};
  return pread(descriptor, start, 3, 0) == 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF;
}

// Each step that calls into libjpeg sets its own jump target; a false return means it was interrupted.
bool ReadHeader(JpegDecoder::Session& s) {
  if (setjmp(s.jump)) return false;
  jpeg_create_decompress(&s.info);
  s.created = true;
  s.info.client_data = &s;
  UseSource(&s.info, s.source);
  return jpeg_read_header(&s.info, TRUE) == JPEG_HEADER_OK;
}

bool StartDecompress(JpegDecoder::Session& s) {
  if (setjmp(s.jump)) return false;
  s.info.out_color_space = JCS_EXT_RGB;
  s.info.dct_method = JDCT_ISLOW;
  s.info.do_fancy_upsampling = TRUE;
  jpeg_start_decompress(&s.info);
  return true;
}

bool ReadBand(JpegDecoder::Session& s, JSAMPROW* rowPointers, int count, int& written) {
  if (setjmp(s.jump)) return false;
  written = static_cast<int>(jpeg_read_scanlines(&s.info, rowPointers, static_cast<JDIMENSION>(count)));
  return true;
}

bool FinishDecompress(JpegDecoder::Session& s) {
  if (setjmp(s.jump)) return false;
  jpeg_finish_decompress(&s.info);
  return true;
}

std::unique_ptr<JpegDecoder::Session> NewSession(int descriptor) {
  auto session = std::make_unique<JpegDecoder::Session>();
  session->source.descriptor = descriptor;
  session->info.err = jpeg_std_error(&session->errors);
  session->errors.error_exit = OnError;
  session->errors.emit_message = OnMessage;
  return session;
}

void WatchProgress(JpegDecoder::Session& session) {
  session.progress.progress_monitor = OnProgress;
  session.info.progress = &session.progress;
}

// What decides whether the coded data can be cut at its restart markers (restart_bands.h).
ScanLayout LayoutOf(const jpeg_decompress_struct& info) {
  ScanLayout layout;
  layout.width = static_cast<int>(info.image_width);
  layout.height = static_cast<int>(info.image_height);
  // A single-component scan has MCUs of one block; a component sampled below full size there is left alone.
  const bool plainSingle = info.num_components == 1 && info.max_h_samp_factor == 1 && info.max_v_samp_factor == 1;
  layout.oneSequentialHuffmanScan = !info.progressive_mode && !info.arith_code && info.data_precision == 8 &&
                                    info.comps_in_scan == info.num_components &&
                                    (info.num_components > 1 || plainSingle);
  layout.mcuWidth = 8 * info.max_h_samp_factor;
  layout.mcuHeight = 8 * info.max_v_samp_factor;
  layout.restartInterval = static_cast<int>(info.restart_interval);
  return layout;
}

// The file's header with the frame's height set to the rows from `top` down.
std::string BandHeader(const RestartBands& bands, int top) {
  std::string header = bands.header;
  const int rows = bands.height - top;
  header[bands.heightOffset] = static_cast<char>(rows >> 8);
  header[bands.heightOffset + 1] = static_cast<char>(rows & 0xFF);
  return header;
}

}  // namespace

JpegDecoder::JpegDecoder(std::unique_ptr<Session> session, std::shared_ptr<const JpegFile> file)
    : session_(std::move(session)), file_(std::move(file)) {}
JpegDecoder::~JpegDecoder() = default;

JpegDecoder::Opening JpegDecoder::Open(const QString& path, std::unique_ptr<JpegDecoder>& decoder) {
  if (path.isEmpty()) return Opening::Refused;
  auto file = std::make_shared<JpegFile>(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat status {};
  // Only regular files: folders, devices and pipes would block or never end (opened without waiting for a
  // pipe's writer, so that asking does not block either).
  if (file->descriptor < 0 || fstat(file->descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0)
    return Opening::Refused;
  if (!StartsLikeJpeg(file->descriptor)) return Opening::NotJpeg;
  auto session = NewSession(file->descriptor);
  if (!ReadHeader(*session)) return Opening::Refused;
  WatchProgress(*session);
  const jpeg_decompress_struct& info = session->info;
  file->size = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
  file->layout = LayoutOf(info);
  decoder.reset(new JpegDecoder(std::move(session), std::move(file)));
  decoder->decodableToRgb_ = info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK;
  decoder->progressive_ = info.progressive_mode;
  return Opening::Opened;
}

std::unique_ptr<JpegDecoder> JpegDecoder::OpenBand(const std::shared_ptr<const JpegFile>& file,
                                                   const RestartBands& bands, int band) {
  const int top = bands.firstRow(band);
  auto session = NewSession(file->descriptor);
  session->source.lead = BandHeader(bands, top);
  session->source.offset = bands.bandDataOffset(band);
  session->source.markerOffsets = &bands.markerOffsets;
  session->source.renumber = bands.markersBefore(band) % 8;
  if (!ReadHeader(*session)) return nullptr;
  WatchProgress(*session);
  std::unique_ptr<JpegDecoder> decoder(new JpegDecoder(std::move(session), file));
  decoder->frameTop_ = top;
  return decoder;
}

std::int64_t JpegDecoder::workBytes() const {
  if (!progressive_) return 0;
  const QSize size = file_->size;
  const std::int64_t blocks = std::int64_t{(size.width() + 7) / 8} * ((size.height() + 7) / 8);
  return blocks * 3 * 64 * 2;
}

JpegDecoder::Outcome JpegDecoder::decode(uchar* rows, qsizetype bytesPerLine, const std::atomic<bool>& stop,
                                         const std::function<int(int)>& rowsDone) {
  Session& s = *session_;
  s.stop = &stop;
  auto interrupted = [&s] { return s.interruption == Interruption::Stopped ? Outcome::Stopped : Outcome::Failed; };
  if (!decodableToRgb_ || !StartDecompress(s)) return interrupted();
  const int height = size().height();
  std::vector<JSAMPROW> band(kRowsPerBand);
  std::vector<uchar> aboveRow(frameTop_ > 0 ? static_cast<std::size_t>(bytesPerLine) : 0);  // written, not kept
  int next = frameTop_;  // the picture's row that libjpeg gives next
  for (int limit = rowsDone(firstRow()); next < limit;) {
    if (stop.load(std::memory_order_relaxed)) return Outcome::Stopped;
    const int count = std::min(kRowsPerBand, limit - next);
    for (int i = 0; i < count; ++i) {
      const int row = next + i;
      band[static_cast<std::size_t>(i)] = row == frameTop_ && frameTop_ > 0 ? aboveRow.data() : rows + row * bytesPerLine;
    }
    int written = 0;
    if (!ReadBand(s, band.data(), count, written)) return interrupted();
    if (written <= 0) return Outcome::Failed;
    next += written;
    limit = std::min(rowsDone(std::max(next, firstRow())), height);
  }
  if (next < height) return Outcome::Decoded;  // as far as it was let go
  return FinishDecompress(s) ? Outcome::Decoded : interrupted();
}

}  // namespace velmaro::map_picture
