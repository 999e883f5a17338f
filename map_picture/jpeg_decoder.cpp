#include "map_picture/jpeg_decoder.h"

#include <QFile>
#include <QFileInfo>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace velmaro::map_picture {
namespace {

// A hostile progressive file could otherwise spin through thousands of scans.
constexpr int kMaxScans = 500;
constexpr int kRowsPerBand = 32;
constexpr std::size_t kReadPieceBytes = 1 << 20;

enum class Interruption { None, Damaged, Stopped };

}  // namespace

// libjpeg reports errors by calling back, and its callbacks must not return: they jump back to the
// setjmp of whichever step is running. No C++ object with a destructor lives between the two.
struct JpegDecoder::Session {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump{};
  Interruption interruption = Interruption::None;
  const std::atomic<bool>* stop = nullptr;
  std::FILE* file = nullptr;
  bool created = false;

  ~Session() {
    if (created) jpeg_destroy_decompress(&info);
    if (file) std::fclose(file);
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

bool StartsLikeJpeg(std::FILE* file) {
  unsigned char start[3] = {};
  const bool jpeg = std::fread(start, 1, 3, file) == 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF;
  std::rewind(file);
  return jpeg;
}

// Each step that calls into libjpeg sets its own jump target; a false return means it was interrupted.
bool ReadHeader(JpegDecoder::Session& s) {
  if (setjmp(s.jump)) return false;
  jpeg_create_decompress(&s.info);
  s.created = true;
  s.info.client_data = &s;
  jpeg_stdio_src(&s.info, s.file);
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

}  // namespace

JpegDecoder::JpegDecoder(std::unique_ptr<Session> session) : session_(std::move(session)) {}
JpegDecoder::~JpegDecoder() = default;

JpegDecoder::Opening JpegDecoder::Open(const QString& path, std::unique_ptr<JpegDecoder>& decoder) {
  const QFileInfo file(path);
  // isFile() follows links and is false for folders, devices and pipes, which would block or never end.
  if (path.isEmpty() || !file.isFile() || file.size() <= 0) return Opening::Refused;
  auto session = std::make_unique<Session>();
  session->file = std::fopen(QFile::encodeName(path).constData(), "rb");
  if (!session->file) return Opening::Refused;
  std::setvbuf(session->file, nullptr, _IOFBF, kReadPieceBytes);
  if (!StartsLikeJpeg(session->file)) return Opening::NotJpeg;
  session->info.err = jpeg_std_error(&session->errors);
  session->errors.error_exit = OnError;
  session->errors.emit_message = OnMessage;
  if (!ReadHeader(*session)) return Opening::Refused;
  session->progress.progress_monitor = OnProgress;
  session->info.progress = &session->progress;

  decoder.reset(new JpegDecoder(std::move(session)));
  const jpeg_decompress_struct& info = decoder->session_->info;
  decoder->size_ = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
  decoder->decodableToRgb_ = info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK;
  decoder->progressive_ = info.progressive_mode;
  return Opening::Opened;
}

std::int64_t JpegDecoder::workBytes() const {
  if (!progressive_) return 0;
  const std::int64_t blocks = std::int64_t{(size_.width() + 7) / 8} * ((size_.height() + 7) / 8);
  return blocks * 3 * 64 * 2;
}

JpegDecoder::Outcome JpegDecoder::decode(uchar* rows, qsizetype bytesPerLine, const std::atomic<bool>& stop,
                                         const std::function<void(int)>& bandDone) {
  Session& s = *session_;
  s.stop = &stop;
  auto interrupted = [&s] { return s.interruption == Interruption::Stopped ? Outcome::Stopped : Outcome::Failed; };
  if (!decodableToRgb_ || !StartDecompress(s)) return interrupted();
  const int height = size_.height();
  std::vector<JSAMPROW> band(kRowsPerBand);
  int done = 0;
  while (done < height) {
    if (stop.load(std::memory_order_relaxed)) return Outcome::Stopped;
    const int count = std::min(kRowsPerBand, height - done);
    for (int i = 0; i < count; ++i) band[static_cast<std::size_t>(i)] = rows + (done + i) * bytesPerLine;
    int written = 0;
    if (!ReadBand(s, band.data(), count, written)) return interrupted();
    if (written <= 0) return Outcome::Failed;
    done += written;
    bandDone(done);
  }
  return FinishDecompress(s) ? Outcome::Decoded : interrupted();
}

}  // namespace velmaro::map_picture
