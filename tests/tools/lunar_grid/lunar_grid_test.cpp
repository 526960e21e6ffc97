#include "lunar_grid.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "local/limb_grid.h"
#include "pds3_label.h"
#include "support/temp_data_dir.h"

namespace lunar_grid {
namespace {

using vernier::testing::TempDataDir;

// A small global image: `lines` x 2 * `lines` samples of a known function of
// (line, sample), in either byte order.
std::string Samples(int lines, bool bigEndian, const std::function<int(int, int)>& dn) {
  std::string bytes;
  for (int i = 0; i < lines; ++i)
    for (int j = 0; j < 2 * lines; ++j) {
      const auto u = static_cast<std::uint16_t>(static_cast<std::int16_t>(dn(i, j)));
      const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xff);
      bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
  return bytes;
}

// DN of the test images: a different value in every pixel, signs mixed.
int TestDn(int i, int j) {
  return (i * 37 + j * 11) % 2000 - 1000;
}

std::string ImageObject(int lines, const char* type, const char* scale, const char* offset) {
  return "OBJECT = IMAGE\r\n"
         "  LINES = " +
         std::to_string(lines) +
         "\r\n"
         "  LINE_SAMPLES = " +
         std::to_string(2 * lines) +
         "\r\n"
         "  SAMPLE_TYPE = " +
         type +
         "\r\n"
         "  SAMPLE_BITS = 16\r\n"
         "  UNIT = METER\r\n"
         "  SCALING_FACTOR = " +
         scale +
         "\r\n"
         "  OFFSET = " +
         offset +
         "\r\n"
         "  DESCRIPTION = \"Elevation relative to the reference sphere,\r\n"
         "    in metres (/* not a comment */).\"\r\n"
         "END_OBJECT = IMAGE\r\n";
}

const char kProjection[] =
    "OBJECT = IMAGE_MAP_PROJECTION\r\n"
    "  MAP_PROJECTION_TYPE = \"SIMPLE CYLINDRICAL\"\r\n"
    "  MAXIMUM_LATITUDE = 90 <DEG>\r\n"
    "  MINIMUM_LATITUDE = -90 <DEG>\r\n"
    "  WESTERNMOST_LONGITUDE = 0 <DEG>  /* column 0 starts at 0 east */\r\n"
    "  EASTERNMOST_LONGITUDE = 360 <DEG>\r\n"
    "END_OBJECT = IMAGE_MAP_PROJECTION\r\n";

TEST(Pds3Label, KeysByObjectUnitsQuotesCommentsAndValuesOverSeveralLines) {
  const std::string text =
      "PDS_VERSION_ID = PDS3\n"
      "RECORD_BYTES = 720 /* bytes a record */\n"
      "^IMAGE = (\"ldem_1.img\", 5 <BYTES>)\n"
      "NOTE = (1, 2,\n   3)\n" +
      ImageObject(180, "MSB_INTEGER", "0.5", "1737400. <M>") + kProjection + "END\nbinary";
  Pds3Label label;
  std::string error;
  ASSERT_TRUE(ParsePds3Label(text, label, error)) << error;
  EXPECT_EQ(label.length, text.size() - std::string("binary").size());
  EXPECT_EQ(label.Value("", "RECORD_BYTES"), "720");
  EXPECT_EQ(label.Value("", "NOTE"), "(1, 2, 3)");
  EXPECT_EQ(label.Value("IMAGE", "SAMPLE_TYPE"), "MSB_INTEGER");
  EXPECT_EQ(NumberValue(*label.Value("IMAGE", "OFFSET")), 1737400.0);
  EXPECT_EQ(UnitOf(*label.Value("IMAGE", "OFFSET")), "M");
  EXPECT_EQ(label.Value("IMAGE", "DESCRIPTION").value().find("(/* not a comment */)") !=
                std::string::npos,
            true);
  // A key looked up in an object falls back to the top level, not the reverse.
  EXPECT_EQ(label.Value("IMAGE", "RECORD_BYTES"), "720");
  EXPECT_FALSE(label.Value("", "LINES"));
  EXPECT_EQ(PlainValue(*label.Value("IMAGE_MAP_PROJECTION", "MAP_PROJECTION_TYPE")),
            "SIMPLE CYLINDRICAL");
  EXPECT_EQ(NumberValue(*label.Value("IMAGE_MAP_PROJECTION", "WESTERNMOST_LONGITUDE")), 0.0);

  EXPECT_FALSE(ParsePds3Label("LINES = 3\nLINE_SAMPLES = 6\n", label, error));
  EXPECT_NE(error.find("END"), std::string::npos);
  EXPECT_FALSE(ParsePds3Label(std::string(4000, '\x7f'), label, error));
}

// An attached label padded to whole records, the samples after it.
struct AttachedImage {
  std::string path;
};

AttachedImage WriteAttached(const TempDataDir& dir, const std::string& name, int lines,
                            const char* type, const char* scale, const char* offset,
                            const std::string& samples) {
  const std::size_t recordBytes = 4 * static_cast<std::size_t>(lines);  // one image line
  auto label = [&](std::size_t labelRecords) {
    char pointer[32];
    std::snprintf(pointer, sizeof pointer, "^IMAGE = %6zu\r\n", labelRecords + 1);
    return "PDS_VERSION_ID = PDS3\r\nRECORD_TYPE = FIXED_LENGTH\r\n"
           "RECORD_BYTES = " +
           std::to_string(recordBytes) + "\r\n" + pointer +
           ImageObject(lines, type, scale, offset) + kProjection + "END\r\n";
  };
  const std::size_t records = (label(0).size() + recordBytes - 1) / recordBytes;
  std::string text = label(records);
  text.resize(records * recordBytes, ' ');
  dir.Write(name, text + samples);
  return {dir.File(name)};
}

TEST(LunarGridConversion, AttachedLabelLittleEndianRadiiToHeights) {
  TempDataDir dir;
  auto image = WriteAttached(dir, "small.img", 180, "LSB_INTEGER", "0.5", "1737400 <M>",
                             Samples(180, false, TestDn));
  ImageDescription d;
  std::string error;
  ASSERT_TRUE(DescribeImage(image.path, d, error)) << error;
  EXPECT_EQ(d.lines, 180);
  EXPECT_EQ(d.samples, 360);
  EXPECT_FALSE(d.bigEndian);
  EXPECT_TRUE(d.offsetIsRadius);
  EXPECT_EQ(d.byteOffset, 720u);  // the label fills one record of 720 bytes
  EXPECT_EQ(d.imagePath, image.path);

  // At the image's own size every cell is its pixel: DN * 0.5 metres.
  std::vector<std::int16_t> grid;
  ConversionReport report;
  ASSERT_TRUE(ConvertImage(d, 180, 360, grid, report, error)) << error;
  EXPECT_EQ(report.factor, 1);
  for (auto [i, j] : {std::pair{0, 0}, {0, 359}, {45, 10}, {179, 200}, {90, 180}})
    EXPECT_DOUBLE_EQ(grid[i * 360 + j], std::round(TestDn(i, j) * 0.5)) << i << "," << j;
  EXPECT_EQ(report.clamped, 0u);
  EXPECT_EQ(report.minimum, -500);
  EXPECT_EQ(report.maximum, 500);
}

TEST(LunarGridConversion, DetachedLabelBigEndianByteOffsetScaleAndWesternLongitude) {
  TempDataDir dir;
  // 64 bytes of something else before the samples, found by a byte pointer.
  dir.Write("SMALL.IMG", std::string(64, 'x') + Samples(90, true, TestDn));
  std::string projection = kProjection;
  projection.replace(projection.find("WESTERNMOST_LONGITUDE = 0"),
                     std::string("WESTERNMOST_LONGITUDE = 0").size(),
                     "WESTERNMOST_LONGITUDE = -180");
  projection.replace(projection.find("EASTERNMOST_LONGITUDE = 360"),
                     std::string("EASTERNMOST_LONGITUDE = 360").size(),
                     "EASTERNMOST_LONGITUDE = 180");
  dir.Write("small.lbl", "PDS_VERSION_ID = PDS3\n^IMAGE = (\"small.img\", 65 <BYTES>)\n" +
                             ImageObject(90, "MSB_INTEGER", "2", "-100") + projection + "END\n");
  ImageDescription d;
  std::string error;
  ASSERT_TRUE(DescribeImage(dir.File("small.lbl"), d, error)) << error;
  EXPECT_TRUE(d.bigEndian);
  EXPECT_FALSE(d.offsetIsRadius);  // a height offset: kept as it stands
  EXPECT_EQ(d.byteOffset, 64u);
  EXPECT_EQ(d.imagePath, dir.File("SMALL.IMG"));  // matched without regard to case

  // Twice the image's size: each pixel fills 2 x 2 cells. Column 0 of the image
  // starts at 180 W = 180 E, so grid column 0 (0 E) is image column 90.
  std::vector<std::int16_t> grid;
  ConversionReport report;
  ASSERT_TRUE(ConvertImage(d, 180, 360, grid, report, error)) << error;
  EXPECT_EQ(report.factor, 2);
  EXPECT_FALSE(report.averaged);
  auto expected = [](int i, int j) { return TestDn(i, j) * 2.0 - 100; };
  EXPECT_EQ(grid[0], expected(0, 90));
  EXPECT_EQ(grid[1], expected(0, 90));
  EXPECT_EQ(grid[360 + 1], expected(0, 90));
  EXPECT_EQ(grid[2], expected(0, 91));
  EXPECT_EQ(grid[179 * 360 + 359], expected(89, 89));  // 359 E: image column 89, 2 W .. 0
  EXPECT_EQ(grid[179 * 360 + 180], expected(89, 0));   // 180 E: image column 0
}

TEST(LunarGridConversion, FinerImagesAreAveragedInBlocksAndValuesBeyond16BitsClamped) {
  TempDataDir dir;
  auto image = WriteAttached(dir, "fine.img", 8, "PC_INTEGER", "1", "0",
                             Samples(8, false, [](int i, int j) { return 1000 * i + j; }));
  ImageDescription d;
  std::string error;
  ASSERT_TRUE(DescribeImage(image.path, d, error)) << error;
  std::vector<std::int16_t> grid;
  ConversionReport report;
  ASSERT_TRUE(ConvertImage(d, 4, 8, grid, report, error)) << error;
  EXPECT_TRUE(report.averaged);
  // Cell (1, 3) averages lines 2, 3 and samples 6, 7: 2500 + 6.5, rounded.
  EXPECT_EQ(grid[1 * 8 + 3], 2507);
  EXPECT_EQ(grid[0], 501);  // (0 + 1 + 1000 + 1001) / 4 = 500.5, away from zero

  auto big = WriteAttached(dir, "big.img", 4, "LSB_INTEGER", "100", "0",
                           Samples(4, false, [](int i, int) { return i == 0 ? 30000 : -7; }));
  ASSERT_TRUE(DescribeImage(big.path, d, error)) << error;
  ASSERT_TRUE(ConvertImage(d, 4, 8, grid, report, error)) << error;
  EXPECT_EQ(report.clamped, 8u);
  EXPECT_EQ(grid[0], 32767);
  EXPECT_EQ(grid[8], -700);
}

TEST(LunarGridConversion, ImagesItCannotConvertAreRefused) {
  TempDataDir dir;
  std::string error;
  ImageDescription d;
  auto refuses = [&](const std::string& label, const std::string& why) {
    dir.Write("x.lbl", label);
    std::vector<std::int16_t> grid;
    ConversionReport report;
    const bool ok = DescribeImage(dir.File("x.lbl"), d, error) &&
                    ConvertImage(d, 180, 360, grid, report, error);
    EXPECT_FALSE(ok) << label;
    EXPECT_NE(error.find(why), std::string::npos) << error;
  };
  const std::string pointer = "^IMAGE = \"x.img\"\n";
  dir.Write("x.img", Samples(90, false, TestDn));
  std::string eightBit = ImageObject(90, "LSB_INTEGER", "1", "0");
  eightBit.replace(eightBit.find("SAMPLE_BITS = 16"), 16, "SAMPLE_BITS = 8");
  refuses(pointer + eightBit + "END\n", "SAMPLE_BITS");
  refuses(pointer + ImageObject(90, "UNSIGNED_INTEGER", "1", "0") + "END\n", "SAMPLE_TYPE");
  refuses(pointer + ImageObject(100, "LSB_INTEGER", "1", "0") + "END\n", "whole multiple");
  refuses(ImageObject(90, "LSB_INTEGER", "1", "0") + "END\n", "^IMAGE");
  refuses("^IMAGE = 3\n" + ImageObject(90, "LSB_INTEGER", "1", "0") + "END\n", "RECORD_BYTES");
  refuses(pointer + ImageObject(90, "LSB_INTEGER", "1", "0") +
              "OBJECT = IMAGE_MAP_PROJECTION\nMAXIMUM_LATITUDE = 0\nEND_OBJECT\nEND\n",
          "whole Moon");
  refuses(pointer + "LINES = 90\nEND\n", "LINE_SAMPLES");
  // An image shorter than its label says.
  dir.Write("x.img", Samples(90, false, TestDn).substr(0, 1000));
  refuses(pointer + ImageObject(90, "LSB_INTEGER", "1", "0") + "END\n", "ends within line 3");
}

// The tool end to end on the public model's layout: an attached-label image
// at 4 pixels a degree, written as the program's grid and read back by the
// program's own reader.
TEST(LunarGridTool, WritesTheProgramsGridReadBackByTheProgram) {
  TempDataDir dir;
  auto image = WriteAttached(dir, "ldem_4.img", 720, "LSB_INTEGER", "0.5", "1737400",
                             Samples(720, false, TestDn));
  const std::string command = std::string("'") + VERNIER_LUNAR_GRID_TOOL + "' '" + image.path +
                              "' '" + dir.File("LRO.dat") + "' > '" + dir.File("out.txt") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream out(dir.File("out.txt"));
  std::string summary;
  std::getline(out, summary);
  EXPECT_NE(summary.find("5760 x 2880 cells"), std::string::npos) << summary;
  EXPECT_FALSE(std::filesystem::exists(dir.File("LRO.dat.part")));

  vernier::LimbHeightGrid grid;
  ASSERT_EQ(vernier::ReadLimbHeightGrid(dir.path(), "lro.dat", grid).status,
            vernier::LimbGridStatus::Read);
  // Image pixel (i, j) spans latitude 90 - i/4 .. 90 - (i+1)/4 and longitude
  // j/4 .. (j+1)/4 east.
  for (auto [lon, lat] : {std::pair{0.1, 89.9}, {359.9, -89.9}, {135.3, 35.1}, {200.6, -12.4}}) {
    const int i = static_cast<int>((90 - lat) * 4), j = static_cast<int>(lon * 4);
    EXPECT_DOUBLE_EQ(vernier::NearestGridHeight(grid, lon, lat).height,
                     std::round(TestDn(i, j) * 0.5) / 1000)
        << lon << "," << lat;
  }

  // A missing label is reported, and nothing is written.
  const std::string missing = std::string("'") + VERNIER_LUNAR_GRID_TOOL + "' '" +
                              dir.File("none.lbl") + "' '" + dir.File("none.dat") + "' 2>/dev/null";
  EXPECT_NE(std::system(missing.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("none.dat")));
}

}  // namespace
}  // namespace lunar_grid
