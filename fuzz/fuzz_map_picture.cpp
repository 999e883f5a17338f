// The map picture loader on any file content: header reading, the decoders behind it (libjpeg-turbo and
// Qt's image plugins) and the preview reduction. The loader only takes paths, so each input is written
// to one scratch file first.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "fuzz/fuzz_check.h"
#include "ui/map_picture/map_picture_loader.h"

namespace {

// A claimed size above this is only read, not decoded: the pixel allocation of a large but legal claim
// would trip libFuzzer's own malloc limit without telling anything new (the memory budget for large
// claims has its own tests).
constexpr qint64 kMaxDecodedPixels = qint64{4096} * 4096;

QString ScratchPath() {
  const QString folder = qEnvironmentVariable("VELMARO_FUZZ_SCRATCH", QDir::tempPath());
  return folder + QStringLiteral("/velmaro-fuzz-picture-%1.jpg").arg(QCoreApplication::applicationPid());
}

void IgnoreQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

bool WriteScratch(const QString& path, const std::uint8_t* data, std::size_t size) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const auto count = static_cast<qint64>(size);
  return file.write(reinterpret_cast<const char*>(data), count) == count;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Image plugins are found through the application object; it lives for the whole run.
  static QCoreApplication* application = new QCoreApplication(*argc, *argv);
  (void)application;
  // Damaged pictures make the decoders talk; thousands of runs a second would drown the fuzzer's report.
  qInstallMessageHandler(IgnoreQtMessages);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QString path = ScratchPath();
  if (!WriteScratch(path, data, size)) std::abort();  // the scratch folder itself is broken: stop at once

  const std::optional<QSize> claimed = velmaro::map_picture::PictureSize(path);
  if (claimed) VELMARO_FUZZ_CHECK(claimed->width() >= 1 && claimed->height() >= 1);
  if (claimed && qint64{claimed->width()} * claimed->height() > kMaxDecodedPixels) return 0;

  const auto picture = velmaro::map_picture::LoadMapPicture(path, velmaro::map_picture::kPreviewBoxPixels);
  if (!picture) return 0;
  // The loader refuses before decoding whatever it could refuse from the header alone.
  VELMARO_FUZZ_CHECK(claimed.has_value());
  VELMARO_FUZZ_CHECK(!picture->full.isNull() && !picture->preview.isNull());
  VELMARO_FUZZ_CHECK(picture->preview.width() <= picture->full.width());
  VELMARO_FUZZ_CHECK(picture->preview.height() <= picture->full.height());
  return 0;
}
