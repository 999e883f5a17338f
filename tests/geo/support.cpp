#include "tests/geo/support.h"

#include <gdal_priv.h>

namespace velmaro::test {

void WriteMapPicture(const fs::path& file) {
  GDALAllRegister();
  GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
  GDALDriver* jpeg = GetGDALDriverManager()->GetDriverByName("JPEG");
  ASSERT_TRUE(memory != nullptr && jpeg != nullptr);
  const GDALDatasetUniquePtr pixels(memory->Create("", 40, 30, 1, GDT_Byte, nullptr));
  ASSERT_TRUE(pixels);
  ASSERT_EQ(pixels->GetRasterBand(1)->Fill(128), CE_None);
  const GDALDatasetUniquePtr picture(jpeg->CreateCopy(file.c_str(), pixels.get(), FALSE, nullptr, nullptr, nullptr));
  ASSERT_TRUE(picture);
  std::error_code ignored;
  fs::remove(file.string() + ".aux.xml", ignored);  // a copy may note the source's statistics
}

std::vector<KnownPoint> KnownPoints() {
  std::vector<KnownPoint> points;
  for (const testing::Case& c : testing::ReadCases(kGeoTests / "points.txt")) {
    points.push_back({{c.name, {c.number(0), c.number(1)}, {c.number(2), c.number(3)}},
                      {c.number(4), c.number(5)},
                      {c.number(6), c.number(7)}});
  }
  return points;
}

}  // namespace velmaro::test
