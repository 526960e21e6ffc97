// vernier-cli reduce and graze on the command line: the outputs' columns, and
// bad input refused with every problem named and nothing printed.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/run_cli.h"

namespace vernier {
namespace {

using testing::RunCli;
using testing::TestData;

std::string WriteTimings(const std::string& text) {
  char path[] = "/tmp/vernier-timings-XXXXXX";
  const int fd = mkstemp(path);
  close(fd);
  std::ofstream(path) << text;
  return path;
}

const char kHeader[] = "date,utc,kind,star,lon,lat,height,note\n";

TEST(ReduceCommandTest, CsvAndJsonCarryTheResidualAndItsRate) {
  const std::string path = WriteTimings(std::string(kHeader) +
                                        "2003-05-10,05:22:39.07,D,HIP 49583,-101.855,33.578,990,"
                                        "video\n");
  const std::string base = "reduce " + path + " --data '" + TestData("predictions") + "'";
  const auto csv = RunCli(base + " --format csv");
  ASSERT_EQ(csv.status, 0) << csv.err;
  const auto header = csv.out.substr(0, csv.out.find('\n'));
  EXPECT_NE(header.find(",o_c_arcsec,rate_arcsec_per_s,"), std::string::npos) << header;
  // One second after the predicted disappearance the star is 0.3" inside.
  EXPECT_NE(csv.out.find(",05:22:38.07,contact,1.00,-0.31"), std::string::npos) << csv.out;
  const auto json = RunCli(base + " --format json");
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("\"o_c_arcsec\": -0.31"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"zc\": null"), std::string::npos);
  std::remove(path.c_str());
}

TEST(ReduceCommandTest, BadLinesAreAllNamedAndNothingIsPrinted) {
  const std::string path = WriteTimings(
      std::string(kHeader) +
      "2003-05-10,05:22:39.07,D,HIP 49583,-101.855,33.578,990,\n"
      "2003-05-10,5:22:39,D,HIP 49583,-101.855,33.578,990,\n"      // line 3: time
      "2003-05-10,05:32:39.07,D,HIP 49583,-101.855,33.578,990,\n"  // line 4: 10 min late
      "2003-05-10,05:22:39.07,D,HIP 49583,-101.855,33.578,abc,\n"); // line 5: height
  const auto result = RunCli("reduce " + path + " --data '" + TestData("predictions") + "'");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("line 3: the time \"5:22:39\""), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("line 4: the time lies 601 s from the predicted disappearance at "
                            "05:22:38.07"),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("line 5: the height"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("line 2"), std::string::npos) << result.err;
  std::remove(path.c_str());
  EXPECT_EQ(RunCli("reduce").status, 2);
  EXPECT_EQ(RunCli("reduce /nonexistent/timings.csv").status, 1);
  EXPECT_EQ(RunCli("reduce x.csv --format xml").status, 2);
}

TEST(GrazeCommandTest, FormatsAndRangesOnTheCommandLine) {
  const std::string base = "graze --data '" + TestData("predictions") +
                           "' --date 2003-05-10 --hip 49583 --observer -90.6,33.5,1585 ";
  const auto csv = RunCli(base + "--rows 3 --station-span 400 --format csv");
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out.rfind("line,offset_m,lon,lat,", 0), 0u);
  int limits = 0, stations = 0;
  for (std::size_t at = 0; (at = csv.out.find('\n', at)) != std::string::npos; ++at) {
    limits += csv.out.compare(at + 1, 6, "limit,") == 0;
    stations += csv.out.compare(at + 1, 8, "station,") == 0;
  }
  EXPECT_EQ(limits, 3);
  EXPECT_EQ(stations, 15);  // five lines of three points
  const auto kml = RunCli(base + "--format kml");
  ASSERT_EQ(kml.status, 0) << kml.err;
  EXPECT_NE(kml.out.find("<name>northern limit for 1585 m</name>"), std::string::npos) << kml.out;
  EXPECT_NE(kml.out.find("<name>stations +2000 m</name>"), std::string::npos);
  // A well-formed document, where the XML checker of the test packages is.
  if (testing::RunShell("command -v xmllint >/dev/null").status == 0) {
    char path[] = "/tmp/vernier-graze-XXXXXX";
    close(mkstemp(path));
    std::ofstream(path) << kml.out;
    const auto lint = testing::RunShell(std::string("xmllint --noout ") + path);
    EXPECT_EQ(lint.status, 0) << lint.err;
    std::remove(path);
  }
  const auto text = RunCli(base);
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("the northern limit nearest 90.60000 W, 33.50000 N, moved for 1585 m"),
            std::string::npos)
      << text.out;
  const auto refused = RunCli(base + "--step-minutes 500");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("0.5..120"), std::string::npos) << refused.err;
  EXPECT_EQ(RunCli(base + "--format gpx").status, 2);
}

}  // namespace
}  // namespace vernier
