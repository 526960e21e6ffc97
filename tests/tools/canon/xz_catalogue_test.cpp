// The XZ catalogue reader on a sample written in its fixed-width layout, and
// the assignment of XZ and ZC numbers.
#include "xz_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

namespace vernier::canon {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kArcsec = kPi / (180.0 * 3600.0);
const std::string kSample = std::string(VERNIER_CANON_TEST_DATA) + "/xz80q_sample.dat";

TEST(XzCatalogueTest, ReadsTheFixedWidthSample) {
  std::vector<XzStar> xz;
  std::string error;
  ASSERT_TRUE(ReadXzCatalogue(kSample, xz, error)) << error;
  ASSERT_EQ(xz.size(), 4u);
  EXPECT_EQ(xz[0].xz, 6283);
  EXPECT_EQ(xz[0].zc, 692);
  EXPECT_EQ(xz[0].hd, 29139);
  EXPECT_NEAR(xz[0].magnitude, 0.85, 1e-9);
  EXPECT_NEAR(xz[0].ra, (4 + 35 / 60.0 + 55.2391 / 3600) * 15 * kPi / 180, 1e-12);
  EXPECT_NEAR(xz[0].dec, (16 + 30 / 60.0 + 33.488 / 3600) * kPi / 180, 1e-12);
  EXPECT_NEAR(xz[2].dec, -(11 + 9 / 60.0 + 41.2 / 3600) * kPi / 180, 1e-12);  // southern
  EXPECT_EQ(xz[2].hd, 0);  // blank HD
  EXPECT_EQ(xz[3].zc, 0);  // the line ends before the ZC column
  EXPECT_EQ(xz[3].xz, 99999);
}

TEST(XzCatalogueTest, MalformedLinesAreReportedWithTheirNumber) {
  const std::string path = ::testing::TempDir() + "canon_bad_xz.dat";
  {
    std::ifstream in(kSample);
    std::ofstream out(path);
    std::string line;
    std::getline(in, line);
    out << line << "\n";
    line[21] = 'q';  // inside the magnitude
    out << line << "\n";
  }
  std::vector<XzStar> xz;
  std::string error;
  EXPECT_FALSE(ReadXzCatalogue(path, xz, error));
  EXPECT_NE(error.find(":2:"), std::string::npos) << error;
  {
    std::ofstream out(path);
    out << "  6283              0.85 0435\n";
  }
  EXPECT_FALSE(ReadXzCatalogue(path, xz, error));
  EXPECT_NE(error.find("too short"), std::string::npos) << error;
  std::remove(path.c_str());
}

TEST(XzCatalogueTest, NumbersGoByHdOrPosition) {
  std::vector<XzStar> xz;
  std::string error;
  ASSERT_TRUE(ReadXzCatalogue(kSample, xz, error)) << error;
  auto star = [](int hip, int hd, double raHours, double decDegrees, double v) {
    CatalogueStar s;
    s.hip = hip, s.hd = hd, s.ra = raHours * 15 * kPi / 180, s.dec = decDegrees * kPi / 180, s.magnitude = v;
    return s;
  };
  std::vector<CatalogueStar> stars = {
      star(21421, 29139, 4.598677, 16.509302, 0.85),      // Aldebaran: HD
      star(49669, 87901, 10.139531, 11.967208, 1.35),     // Regulus: HD
      star(65474, 116658, 13.419883, -11.161322, 0.95),   // Spica: position, 0.4" away
      star(80763, 148478, 16.490128, -26.432003, 1.05),   // Antares: not in the sample
      star(11111, 0, 13.0, 5.0 + 10 * kArcsec, 3.0),      // at the faint entry's place, too bright
  };
  const XzAssignment a = AssignXzNumbers(stars, xz, 3.0);
  EXPECT_EQ(a.byHd, 2);
  EXPECT_EQ(a.byPosition, 1);
  EXPECT_EQ(a.unmatched, 2);
  EXPECT_EQ(stars[0].xz, 6283);
  EXPECT_EQ(stars[0].zc, 692);
  EXPECT_EQ(stars[1].xz, 14567);
  EXPECT_EQ(stars[1].zc, 1487);
  EXPECT_EQ(stars[2].xz, 19210);
  EXPECT_EQ(stars[2].zc, 1925);
  EXPECT_EQ(stars[3].xz, 0);
  EXPECT_EQ(stars[4].xz, 0);
}

}  // namespace
}  // namespace vernier::canon
