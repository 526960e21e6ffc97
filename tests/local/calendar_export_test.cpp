// The calendar writer's line handling: folding at 75 octets without cutting a
// UTF-8 sequence, and the escapes of TEXT values.
#include "local/calendar_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vernier {
namespace {

std::vector<std::string> PhysicalLines(const std::string& folded) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = folded.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(folded.substr(start, end - start));
  EXPECT_EQ(start, folded.size()) << "text after the last CRLF";
  return lines;
}

TEST(CalendarExportTest, FoldsAtSeventyFiveOctetsAndUnfoldsToTheSameLine) {
  struct Case {
    std::string line;
  };
  const std::string eta = "η";  // two octets
  const std::string kanji = "星蝕";  // three octets each
  const Case cases[] = {
      {std::string(75, 'a')},                       // fits exactly: no fold
      {std::string(76, 'a')},                       // one octet over
      {std::string(74, 'a') + eta + "b"},           // η would straddle octet 75
      {std::string(73, 'a') + kanji + kanji + std::string(200, 'c')},
      {[&] { std::string s; for (int i = 0; i < 60; ++i) s += kanji; return s; }()},
  };
  for (const Case& c : cases) {
    const std::string folded = FoldCalendarLine(c.line);
    const auto lines = PhysicalLines(folded);
    std::string unfolded;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_LE(lines[i].size(), 75u) << c.line;
      if (i == 0) {
        unfolded = lines[i];
        continue;
      }
      ASSERT_FALSE(lines[i].empty());
      EXPECT_EQ(lines[i][0], ' ');
      // A continuation never starts inside a UTF-8 sequence.
      ASSERT_GT(lines[i].size(), 1u);
      EXPECT_NE(static_cast<unsigned char>(lines[i][1]) & 0xC0, 0x80) << c.line;
      unfolded += lines[i].substr(1);
    }
    EXPECT_EQ(unfolded, c.line);
    EXPECT_EQ(lines.size() == 1, c.line.size() <= 75) << c.line;
  }
}

TEST(CalendarExportTest, EscapesTextValues) {
  EXPECT_EQ(EscapeCalendarText("a,b;c\\d"), "a\\,b\\;c\\\\d");
  EXPECT_EQ(EscapeCalendarText("line 1\nline 2\r\nline 3"), "line 1\\nline 2\\nline 3");
  EXPECT_EQ(EscapeCalendarText(std::string("bell\a")), "bell");
  EXPECT_EQ(EscapeCalendarText("η Leo (Al Jabhah)"), "η Leo (Al Jabhah)");
}

TEST(CalendarExportTest, RefusesContactsACalendarCannotHold) {
  PredictedContact early;
  early.jdUT = 2299000.5;  // 1582, before the Gregorian reform
  const CalendarDocument document =
      MakeCalendar({early}, StarNames{}, ObserverSite{}, CalendarOptions{});
  EXPECT_TRUE(document.text.empty());
  EXPECT_NE(document.problem.find("1582-10-15"), std::string::npos) << document.problem;
}

}  // namespace
}  // namespace vernier
