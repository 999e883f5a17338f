#include "bench/test_map.h"

#include <turbojpeg.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace velmaro::bench {
namespace {

constexpr int kJpegQuality = 90;
constexpr std::uint32_t kSeed = 0x5EED1234u;

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t salt) {
  std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ salt * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  return h ^ (h >> 15);
}

// One octave of value noise: random values on a lattice of `spacing` pixels, interpolated bilinearly.
class ValueNoise {
 public:
  ValueNoise(int spacing, std::uint32_t salt) : spacing_(spacing), salt_(salt) {}

  // Prepares the vertical interpolation for row y; Sample then only interpolates along x.
  void PrepareRow(int y, int width) {
    const int cell = y / spacing_;
    const float t = static_cast<float>(y % spacing_) / spacing_;
    const int cells = width / spacing_ + 2;
    column_.resize(cells);
    for (int i = 0; i < cells; ++i) {
      const float top = Lattice(i, cell);
      column_[i] = top + (Lattice(i, cell + 1) - top) * t;
    }
  }

  float Sample(int x) const {
    const int cell = x / spacing_;
    const float t = static_cast<float>(x % spacing_) / spacing_;
    return column_[cell] + (column_[cell + 1] - column_[cell]) * t;
  }

 private:
  float Lattice(int i, int j) const { return static_cast<float>(Hash(i, j, salt_) >> 8) / 16777216.0f; }

  int spacing_;
  std::uint32_t salt_;
  std::vector<float> column_;
};

struct Rgb {
  int r, g, b;
};

Rgb TerrainColour(float height) {
  const Rgb low{206, 226, 176}, high{222, 190, 140};
  const float t = std::clamp(height, 0.0f, 1.0f);
  return {static_cast<int>(low.r + (high.r - low.r) * t), static_cast<int>(low.g + (high.g - low.g) * t),
          static_cast<int>(low.b + (high.b - low.b) * t)};
}

// Line work printed over the terrain: contours, the kilometre grid, roads and isolated dots.
std::optional<Rgb> Ink(int x, int y, float height, const std::vector<int>& roadRows) {
  const float contour = height * 40.0f - std::floor(height * 40.0f);
  if (contour < 0.05f) return Rgb{150, 100, 60};
  if (x % 1000 < 2 || y % 1000 < 2) return Rgb{40, 60, 160};
  for (const int road : roadRows) {
    if (std::abs(y - road) < 3) return Rgb{200, 40, 30};
  }
  if (Hash(x / 3, y / 3, kSeed + 7) % 4000 == 0) return Rgb{20, 20, 20};
  return std::nullopt;
}

void PaintRow(int y, int width, std::vector<ValueNoise>& octaves, std::uint8_t* row) {
  for (auto& octave : octaves) octave.PrepareRow(y, width);
  std::vector<int> roadRows;
  for (int x = 0; x < width; ++x) {
    if (x % 64 == 0) {  // road centre lines wander slowly; recomputing them every 64 columns is plenty
      roadRows.clear();
      for (int k = 1; k <= 4; ++k) roadRows.push_back(y / 3000 * 3000 + k * 600 + int(80 * std::sin(x / (300.0 * k))));
    }
    const float height = 0.55f * octaves[0].Sample(x) + 0.3f * octaves[1].Sample(x) + 0.15f * octaves[2].Sample(x);
    const Rgb colour = Ink(x, y, height, roadRows).value_or(TerrainColour(height));
    const int grain = static_cast<int>(Hash(x, y, kSeed) % 13) - 6;  // scanner noise, a few levels either way
    row[3 * x + 0] = static_cast<std::uint8_t>(std::clamp(colour.r + grain, 0, 255));
    row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp(colour.g + grain, 0, 255));
    row[3 * x + 2] = static_cast<std::uint8_t>(std::clamp(colour.b + grain, 0, 255));
  }
}

std::vector<std::uint8_t> PaintMap(QSize size) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(size.width()) * size.height() * 3);
  std::vector<ValueNoise> octaves{{997, kSeed + 1}, {211, kSeed + 2}, {37, kSeed + 3}};
  for (int y = 0; y < size.height(); ++y) {
    PaintRow(y, size.width(), octaves, rgb.data() + static_cast<std::size_t>(y) * size.width() * 3);
  }
  return rgb;
}

bool WriteJpeg(const std::vector<std::uint8_t>& rgb, QSize size, const QString& path) {
  std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
  unsigned char* jpeg = nullptr;
  unsigned long jpegSize = 0;
  if (!handle || tjCompress2(handle.get(), rgb.data(), size.width(), 0, size.height(), TJPF_RGB, &jpeg, &jpegSize,
                             TJSAMP_420, kJpegQuality, 0) != 0) {
    tjFree(jpeg);
    return false;
  }
  QFile file(path + ".part");
  const bool written = file.open(QIODevice::WriteOnly) &&
                       file.write(reinterpret_cast<const char*>(jpeg), jpegSize) == qint64(jpegSize);
  file.close();
  tjFree(jpeg);
  QFile::remove(path);
  return written && QFile::rename(path + ".part", path);
}

}  // namespace

QSize MapSizeForMegapixels(int megapixels) {
  // A gigapixel is the A0 sheet scanned at 600 dpi, whose proportions the map sizes are held against.
  if (megapixels == 1000) return {40000, 25000};
  const double width = std::sqrt(megapixels * 1e6 * 4.0 / 3.0);
  const int rounded = std::max(200, static_cast<int>(std::lround(width / 200.0)) * 200);
  return {rounded, rounded / 4 * 3};
}

std::optional<QString> CachedTestMap(QSize size) {
  const QString folder = QDir::temp().filePath("velmaro-bench-maps");
  if (!QDir().mkpath(folder)) return std::nullopt;
  const QString path = QDir(folder).filePath(QString("map-%1x%2-v1.jpg").arg(size.width()).arg(size.height()));
  if (QFileInfo(path).isFile()) return path;
  if (!WriteJpeg(PaintMap(size), size, path)) return std::nullopt;
  return path;
}

std::optional<QString> CachedRestartMap(const QString& plainMap) {
  QString path = plainMap;
  path.insert(path.lastIndexOf(".jpg"), "-rst1");  // only the name's own suffix, not a folder's
  if (QFileInfo(path).isFile()) return path;
  const int exitCode = QProcess::execute("jpegtran", {"-restart", "1", "-outfile", path + ".part", plainMap});
  if (exitCode != 0 || !QFile::rename(path + ".part", path)) return std::nullopt;
  return path;
}

}  // namespace velmaro::bench
