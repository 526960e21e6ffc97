#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/japan_star.h"
#include "support/run_cli.h"
#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::RunCli;

struct LimbData {
  LimbData() {
    data.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
    data.Write("location.new", "Sapporo,141.35,43.06,0,0\nNaha,127.68,26.21,0,0\n");
  }
  std::string Args(const std::string& more) const {
    return "limb --data '" + data.path() + "' --date 2000-01-01 " + more;
  }
  void WriteFlatGrid() const {
    LimbHeightGrid grid;
    testing::FillLimbGrid(grid, [](double, double) { return 0.0; });
    ASSERT_TRUE(testing::WriteLimbGrid(data.File("LRO.dat"), grid));
  }
  testing::TempDataDir data;
};

TEST(LimbCommandLine, WithoutTheGridTheMessageAndStatusOne) {
  LimbData d;
  for (const char* output : {"--text", "--png x.png"}) {
    auto r = RunCli(d.Args(output), d.data.path());
    EXPECT_EQ(r.status, 1) << output;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("月の標高ファイル(LRO.dat)がありません！\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("https://pds-geosciences.wustl.edu/"), std::string::npos);
    EXPECT_NE(r.err.find("vernier-lunar-grid"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(d.data.File("x.png")));
}

TEST(LimbCommandLine, TextsAndPictureWithTheObserverOptions) {
  LimbData d;
  d.WriteFlatGrid();
  auto text = RunCli(d.Args("--observer 135,36.5 --text"));
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("Lon:135.000 Lat: 36.500  STAR NAME: 1234"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("\n35 255 0.0\n"), std::string::npos);
  EXPECT_NE(text.out.find("\n535 435 LRO/LORA\n"), std::string::npos);
  // The libration's lines go to standard error, apart from the texts.
  EXPECT_NE(text.err.find("Total libration"), std::string::npos);
  EXPECT_EQ(text.out.find("libration"), std::string::npos);

  auto site = RunCli(d.Args("--site 2 --text"));
  ASSERT_EQ(site.status, 0) << site.err;
  EXPECT_NE(site.out.find("Lon:127.680 Lat: 26.210"), std::string::npos) << site.out;

  auto png = RunCli(d.Args("--png '" + d.data.File("limb.png") + "'"));
  ASSERT_EQ(png.status, 0) << png.err;
  EXPECT_EQ(png.out, "");
  EXPECT_GT(std::filesystem::file_size(d.data.File("limb.png")), 1000u);

  for (const char* bad : {"--site 3", "--site 0", "--observer 135", "--observer 1,2 --site 1"}) {
    auto e = RunCli(d.Args(std::string(bad) + " --text"));
    EXPECT_NE(e.status, 0) << bad;
    EXPECT_EQ(e.out, "") << bad;
  }

  // A short grid is reported, not drawn.
  d.data.Write("LRO.dat", std::string(4096, '\0'));
  auto shortGrid = RunCli(d.Args("--text"));
  EXPECT_EQ(shortGrid.status, 1);
  EXPECT_NE(shortGrid.err.find("月の標高ファイル(LRO.dat)が短すぎます(4096 バイト"),
            std::string::npos)
      << shortGrid.err;
}

// graze --png: the limb profile with the stations' tracks, drawn before the
// table is printed; without the height grid the grid's message, status 1,
// nothing printed and no picture.
TEST(LimbCommandLine, GrazePictureOfTheStationsTracks) {
  LimbData d;
  const std::string png = d.data.File("tracks.png");
  const std::string args = "graze --data '" + d.data.path() +
                           "' --date 2000-01-01 --observer 135,51,0 --png '" + png + "'";
  auto missing = RunCli(args);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("LRO.dat"), std::string::npos) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(png));

  d.WriteFlatGrid();
  auto drawn = RunCli(args);
  ASSERT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_NE(drawn.out.find("the northern limit nearest 135.00000 E, 51.00000 N"),
            std::string::npos)
      << drawn.out;
  EXPECT_GT(std::filesystem::file_size(png), 1000u);
  EXPECT_EQ(RunCli("graze --data '" + d.data.path() + "' --date 2000-01-01 --observer 135,51 --png")
                .status,
            2);
}

}  // namespace
}  // namespace vernier
