#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/japan_star.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

using testing::RunCli;

struct MapData {
  MapData() {
    data.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
    data.Write("location.new", "Osaka,135.5,34.7,0,0\n");
    data.CopyKmlHeader();
  }
  std::string Args(const std::string& more) const {
    return "map --data '" + data.path() + "' --date 2000-01-01 --simple-map " + more;
  }
  testing::TempDataDir data;
};

// Width and height from a PNG file's header.
std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char head[24] = {};
  in.read(reinterpret_cast<char*>(head), sizeof head);
  if (head[1] != 'P' || head[2] != 'N' || head[3] != 'G') return {0, 0};
  auto be = [&](int at) {
    return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
  };
  return {be(16), be(20)};
}

TEST(MapCommand, TextAndPictureOfTheView) {
  MapData d;
  auto text = RunCli(d.Args("--text"));
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out.rfind("10 16 CANON OF OCCULTATION\n", 0), 0u);
  EXPECT_NE(text.out.find("\n10 64 STAR NAME:X  1234 Mag.:  3.50\n"), std::string::npos);
  EXPECT_NE(text.out.find("\n110 208  134゜"), std::string::npos);  // centre near 135° E

  auto png = RunCli(d.Args("--projection mercator --grid --width 800 --height 600 --png '" +
                           d.data.File("map.png") + "'"));
  ASSERT_EQ(png.status, 0) << png.err;
  EXPECT_EQ(png.out, "");
  EXPECT_EQ(PngSize(d.data.File("map.png")), std::make_pair(800, 600));

  // A typed centre with a magnification: the preset header and the place label.
  auto zoomed = RunCli(d.Args("--centre 135.5,34.7 --zoom 12 --text"));
  ASSERT_EQ(zoomed.status, 0) << zoomed.err;
  EXPECT_NE(zoomed.out.find(" Osaka\n"), std::string::npos);
  EXPECT_NE(zoomed.out.find("30 48 STAR NAME: 1234\n"), std::string::npos);
}

TEST(MapCommand, TheObserverIsMarkedOnlyWhenAskedFor) {
  MapData d;
  auto picture = [&](const std::string& name, const std::string& more) {
    auto r = RunCli(d.Args(more + " --png '" + d.data.File(name) + "'"));
    EXPECT_EQ(r.status, 0) << r.err;
    return testing::ReadWholeFile(d.data.File(name));
  };
  const std::string plain = picture("plain.png", "");
  ASSERT_FALSE(plain.empty());
  // An observer alone leaves the picture as it was.
  EXPECT_EQ(picture("site.png", "--site 1"), plain);
  EXPECT_NE(picture("marked.png", "--site 1 --mark-observer"), plain);
  EXPECT_NE(picture("mercator.png", "--site 1 --mark-observer --projection mercator"),
            picture("mercator-plain.png", "--site 1 --projection mercator"));
}

TEST(MapCommand, KmlExportWritesTheFileIntoTheWorkingDirectory) {
  MapData d;
  testing::TempDataDir work;
  auto r = RunCli(d.Args("--kml --text"), work.path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(r.out.size() - 15), "2000010112.kml\n");
  std::ifstream kml(work.File("2000010112.kml"));
  EXPECT_TRUE(kml.good());
}

TEST(MapCommand, MessagesAndBadOptions) {
  MapData d;
  testing::TempDataDir noSites;
  noSites.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
  auto r = RunCli("map --data '" + noSites.path() + "' --date 2000-01-01 --text");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("都市情報(location.new)ファイルがありません！"), std::string::npos);

  auto late = RunCli(d.Args("--text --date 2100-01-01"));
  EXPECT_EQ(late.status, 1);
  EXPECT_NE(late.err.find("ベッセル要素ファイルが終了しました"), std::string::npos);

  for (const char* bad : {"--projection flat", "--preset 4", "--centre 0,95", "--centre 1",
                          "--zoom 0", "--width 10", "--png"}) {
    auto e = RunCli(d.Args(std::string(bad) + " --text"));
    EXPECT_EQ(e.status, 2) << bad;
  }
}

}  // namespace
}  // namespace vernier
