#include "cli/options.h"

#include <gtest/gtest.h>

namespace vernier::cli {
namespace {

TEST(CliOptions, ValuesSwitchesAndNegativeNumbers) {
  OptionSpec known{{"data", "observer", "delta-t-adjust", "count"}, {"text", "grid"}};
  std::string error;
  auto o = Options::Parse({"--data=/x", "--observer", "-70.5,-33.4", "--text",
                           "--delta-t-adjust", "-2", "--count", ".5"},
                          known, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->Value("data"), "/x");
  EXPECT_EQ(o->Value("observer"), "-70.5,-33.4");
  EXPECT_TRUE(o->Has("text"));
  EXPECT_FALSE(o->Has("grid"));
  EXPECT_EQ(o->Number("delta-t-adjust", 0, error), -2);
  EXPECT_EQ(o->Integer("count", 1, error), 1);
  EXPECT_FALSE(error.empty());  // .5 is no whole number

  for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
           {"--data"}, {"--data", "--text"}, {"--text=1"}, {"--what"}, {"loose"}}) {
    error.clear();
    EXPECT_FALSE(Options::Parse(bad, known, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(CliOptions, NumbersAndDates) {
  EXPECT_EQ(ParseNumber("+1.5"), 1.5);
  EXPECT_EQ(ParseNumber("-0.25"), -0.25);
  EXPECT_FALSE(ParseNumber("1.5x"));
  EXPECT_FALSE(ParseNumber(""));
  EXPECT_FALSE(ParseNumber("nan"));

  auto d = ParseDate("-0500-03-01");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->year, -500);
  EXPECT_EQ(d->month, 3);
  EXPECT_EQ(d->day, 1);
  EXPECT_EQ(ParseDate("2026-12-07")->day, 7);
  for (const char* bad : {"2026-12", "2026-00-01", "2026-12-32", "2026/12/07", "2026-12-07x", "--1-1-1"})
    EXPECT_FALSE(ParseDate(bad)) << bad;
}

}  // namespace
}  // namespace vernier::cli
