#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "support/japan_star.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::RunCli;

struct LocalData {
  LocalData() {
    data.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
    data.Write("location.new", "Osaka,135,35,0,0\nTokyo,139.767,35.681,40,0\n");
  }
  std::string Args(const std::string& more) const {
    return "local --data '" + data.path() + "' --date 2000-01-01 " + more;
  }
  testing::TempDataDir data;
};

bool Has(const std::string& out, const std::string& line) {
  return out.find("\n" + line + "\n") != std::string::npos || out.rfind(line + "\n", 0) == 0;
}

TEST(LocalCommand, TextsOfTheReport) {
  LocalData d;
  auto r = RunCli(d.Args("--site 1 --text"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out,
                  "10 30  Date : 2000/ 1/ 1 20.98h(LST) : STAR NAME:X 1234 ZC#:  1234 SAO#: "
                  "98765 HIP#: 54321 Mag.:  3.50"))
      << r.out;
  EXPECT_TRUE(Has(r.out, "10 45  Location : Osaka Lon: 135.00 Lat:  35.00  Height:  0.0  STD = UT+9h"));
  EXPECT_NE(r.out.find("\n10 150  Max.  Occultation      11:58:56."), std::string::npos);
  EXPECT_NE(r.out.find("\n10 135  First Umbra    Contact "), std::string::npos);
  EXPECT_NE(r.out.find("\n10 165  Last  Umbra    Contact "), std::string::npos);
  EXPECT_TRUE(Has(r.out, "10 60  Duration : 97min. 2.5sec. ")) << r.out;  // 1 h 37 min
  // The snapshot at maximum, then the animation at its final state (its last
  // frame only: every frame writes its time at the same place), and the note.
  EXPECT_TRUE(Has(r.out, "515 440 11:59"));
  EXPECT_FALSE(Has(r.out, "340 440 10:59"));
  EXPECT_TRUE(Has(r.out, "340 440 12:59"));
  const std::string note = "\n10 450  Note:  LMT = UT + Longitude/15.0     \n";
  EXPECT_EQ(r.out.substr(r.out.size() - note.size()), note);

  auto typed = RunCli(d.Args("--observer 139.767,35.681,40 --text"));
  ASSERT_EQ(typed.status, 0) << typed.err;
  EXPECT_TRUE(Has(typed.out,
                  "10 45  Location : Selected Point      Lon: 139.77 Lat:  35.68  Height:  40.0  STD = UT+9h"));
}

TEST(LocalCommand, PictureWithTheDiagrams) {
  LocalData d;
  const std::string png = d.data.File("local.png");
  auto r = RunCli(d.Args("--site 2 --png '" + png + "'"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  QImage image(QString::fromStdString(png));
  ASSERT_EQ(image.width(), 684);
  ASSERT_EQ(image.height(), 520);
  // The body redrawn on top of the Moon at maximum; the Moon's lit part.
  EXPECT_EQ(image.pixel(525, 350) & 0xffffff, 0xff0000u);
  int yellow = 0;
  for (int y = 250; y < 450; ++y)
    for (int x = 400; x < 650; ++x) yellow += (image.pixel(x, y) & 0xffffff) == 0xffff00;
  EXPECT_GT(yellow, 500);
}

TEST(LocalCommand, MessagesAndBadOptions) {
  LocalData d;
  auto noOutput = RunCli(d.Args("--site 1"));
  EXPECT_EQ(noOutput.status, 2);
  EXPECT_NE(noOutput.err.find("--text"), std::string::npos);

  auto noSite = RunCli(d.Args("--site 3 --text"));
  EXPECT_EQ(noSite.status, 1);
  EXPECT_NE(noSite.err.find("no site 3"), std::string::npos);

  testing::TempDataDir noSites;
  noSites.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
  auto missing = RunCli("local --data '" + noSites.path() + "' --date 2000-01-01 --text");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("都市情報(location.new)ファイルがありません！"), std::string::npos);
}

}  // namespace
}  // namespace vernier
