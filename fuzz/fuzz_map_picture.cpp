// The window's map loader on any file content, written to a scratch file first since the loader takes paths:
// it never crashes or leaks, a refusal is a nullopt, and a picture it returns lies within the side limit, a JPEG
// at the size its header states, with the preview reduced from that size by the divisor for the box.
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "fuzz/fuzz_check.h"
#include "map_picture/jpeg_decoder.h"
#include "map_picture/map_picture_loader.h"
#include "map_picture/memory_budget.h"
#include "map_picture/preview_reduction.h"

using namespace velmaro::map_picture;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QString path = qEnvironmentVariable("VELMARO_FUZZ_SCRATCH", QStringLiteral("/tmp")) +
                              QStringLiteral("/velmaro-fuzz-picture-%1.jpg").arg(getpid());
  // Damaged pictures make the decoders talk; thousands of runs a second would drown the fuzzer's report.
  [[maybe_unused]] static const auto quiet =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) std::abort();
  // The size the header states, read by the decoder the loader picks: libjpeg-turbo for JPEG, Qt for the rest.
  QBuffer buffer;
  buffer.setData(bytes);
  std::unique_ptr<JpegDecoder> decoder;
  const bool jpeg = JpegDecoder::Open(path, decoder) == JpegDecoder::Opening::Opened && decoder->decodableToRgb();
  const QSize header = jpeg ? decoder->size() : QImageReader(&buffer).size(), box(24, 16);
  decoder.reset();
  // A large legal claim would only trip libFuzzer's malloc limit; the budget table covers such sizes.
  if (qint64{header.width()} * header.height() > qint64{4096} * 4096) return 0;
  const auto full = LoadFull(path);
  const auto preview = full ? PreviewOf(*full, box) : std::nullopt;
  // Qt's readers state a size that a picture need not keep (a GIF's screen is not its first frame).
  const QSize stated = jpeg || !full ? header : full->size();
  VELMARO_FUZZ_CHECK(!full || (full->size() == stated && SidesInRange(stated)));
  VELMARO_FUZZ_CHECK(!preview || preview->size() == ReducedSize(stated, PreviewDivisor(stated, box)));
  return 0;
}
