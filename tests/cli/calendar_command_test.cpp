// predict --format ics read back by a parser that is not ours (the Python
// icalendar library of the test packages): every occultation of the CSV
// output is an event with its times and a UID that stays the same when the
// calendar is made again.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_cli.h"

namespace vernier {
namespace {

using testing::RunCli;
using testing::RunShell;
using testing::TestData;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

constexpr char kReader[] = R"(
import sys
from icalendar import Calendar
cal = Calendar.from_ical(open(sys.argv[1], 'rb').read())
assert cal['VERSION'] == '2.0', cal['VERSION']
for ev in cal.walk('VEVENT'):
    end = ev.get('DTEND')
    alarms = [a for a in ev.subcomponents if a.name == 'VALARM']
    trig = alarms[0]['TRIGGER'].dt.total_seconds() if alarms else 0
    print('|'.join([str(ev['UID']), ev['DTSTART'].dt.strftime('%Y-%m-%d %H:%M:%S'),
                    end.dt.strftime('%Y-%m-%d %H:%M:%S') if end else '-',
                    str(ev['SUMMARY']), str(ev['DESCRIPTION']).replace('\n', '~'),
                    str(ev['LOCATION']), '%d' % trig]))
)";

// Debian's interpreter, which the python3-icalendar package installs for,
// ahead of any other python3 on the PATH.
std::string Python() {
  return RunShell("test -x /usr/bin/python3").status == 0 ? "/usr/bin/python3" : "python3";
}

bool HavePython() { return RunShell(Python() + " -c '' 2>/dev/null").status == 0; }

struct ParsedEvent {
  std::string uid, start, end, summary, description, location, trigger;
};

std::vector<ParsedEvent> ReadWithIcalendar(const std::string& ics) {
  char path[] = "/tmp/vernier-ics-XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  close(fd);
  std::ofstream(path, std::ios::binary) << ics;
  char script[] = "/tmp/vernier-ics-reader-XXXXXX";
  const int sfd = mkstemp(script);
  close(sfd);
  std::ofstream(script) << kReader;
  const auto result = RunShell(Python() + " " + script + " " + path);
  std::remove(path);
  std::remove(script);
  EXPECT_EQ(result.status, 0) << result.err;
  std::vector<ParsedEvent> events;
  for (const std::string& line : Split(result.out, '\n')) {
    const auto f = Split(line, '|');
    if (f.size() != 7) {
      ADD_FAILURE() << line;
      continue;
    }
    events.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6]});
  }
  return events;
}

bool HavePythonIcalendar() {
  return RunShell(Python() + " -c 'import icalendar'").status == 0;
}

TEST(CalendarCommandTest, EveryOccultationImportsWithItsTimesAndUid) {
  if (!HavePython())
    GTEST_SKIP() << "python3 is not installed: the calendar is not read back";
  ASSERT_TRUE(HavePythonIcalendar()) << "the test packages include python3-icalendar";
  // Tokyo over the span of the test records, every magnitude.
  const std::string base = "predict --data '" + TestData("predictions") +
                           "' --observer 139.7454,35.6586,40 --from 2003-03-20 --days 160 ";
  const auto csv = RunCli(base + "--format csv --tz UTC");
  ASSERT_EQ(csv.status, 0) << csv.err;
  const auto ics = RunCli(base + "--format ics --reminder 20");
  ASSERT_EQ(ics.status, 0) << ics.err;

  // Every physical line ends in CRLF and holds at most 75 octets.
  std::size_t start = 0, lines = 0;
  for (std::size_t end; (end = ics.out.find("\r\n", start)) != std::string::npos;
       start = end + 2, ++lines) {
    EXPECT_LE(end - start, 75u) << ics.out.substr(start, end - start);
    EXPECT_EQ(ics.out.substr(start, end - start).find('\n'), std::string::npos);
  }
  EXPECT_EQ(start, ics.out.size());

  // The occultations of the CSV: contacts of one body on one date, each
  // first contact's time to the second and the last one's.
  struct Occultation {
    std::string first, last, kinds;
    std::string body;
    int lastDay = 0;
  };
  std::vector<Occultation> expected;
  const auto rows = Split(csv.out, '\n');
  ASSERT_GT(rows.size(), 3u) << csv.out;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const auto f = Split(rows[i], ',');
    ASSERT_GE(f.size(), 9u);
    const std::string body = f[5] + "/" + f[8];  // hip / xz
    const std::string time = f[0] + " " + f[1].substr(0, 8);
    const int day = std::atoi(f[0].substr(0, 4).c_str()) * 372 +
                    std::atoi(f[0].substr(5, 2).c_str()) * 31 + std::atoi(f[0].substr(8, 2).c_str());
    // The contacts of one occultation lie within a day of each other; the
    // Moon comes back to a star only a month later.
    Occultation* o = nullptr;
    for (Occultation& candidate : expected)
      if (candidate.body == body && day - candidate.lastDay <= 1) o = &candidate;
    if (!o) {
      expected.push_back({time, time, "", body, day});
      o = &expected.back();
    }
    o->last = time;
    o->lastDay = day;
    o->kinds += f[3];
  }

  const auto events = ReadWithIcalendar(ics.out);
  ASSERT_EQ(events.size(), expected.size());
  std::set<std::string> uids;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const ParsedEvent& ev = events[i];
    const Occultation& o = expected[i];
    uids.insert(ev.uid);
    // The CSV's tenths are rounded away; the seconds agree within one.
    EXPECT_EQ(ev.start.substr(0, 16), o.first.substr(0, 16)) << ev.uid;
    if (o.kinds.size() > 1) {
      EXPECT_EQ(ev.end.substr(0, 16), o.last.substr(0, 16)) << ev.uid;
    } else {
      EXPECT_EQ(ev.end, "-") << ev.uid;
    }
    EXPECT_EQ(ev.trigger, "-1200") << ev.uid;
    EXPECT_NE(ev.description.find("PA "), std::string::npos) << ev.description;
    EXPECT_NE(ev.description.find("limb"), std::string::npos) << ev.description;
    // The comma of the site survives the escaping.
    EXPECT_EQ(ev.location, "139.7454 E, 35.6586 N, 40 m");
  }
  EXPECT_EQ(uids.size(), events.size()) << "UIDs must differ between events";

  // Made again, later and over a different span holding the same events:
  // the same UIDs.
  const auto again = RunCli("predict --data '" + TestData("predictions") +
                            "' --observer 139.7454,35.6586,40 --from 2003-03-01 --days 200 "
                            "--format ics");
  ASSERT_EQ(again.status, 0) << again.err;
  for (const std::string& uid : uids)
    EXPECT_NE(again.out.find("UID:" + uid), std::string::npos) << uid;
}

TEST(CalendarCommandTest, StarNameWithCommasAndLongDescriptionRoundTrips) {
  if (!HavePython())
    GTEST_SKIP() << "python3 is not installed: the calendar is not read back";
  // η Leo from Lubbock: a two-octet letter in the name, a description longer
  // than one line.
  const auto ics = RunCli("predict --data '" + TestData("predictions") +
                          "' --observer -101.855,33.578,990 --from 2003-05-10 --days 1 "
                          "--max-mag 3.6 --format ics --reminder 0");
  ASSERT_EQ(ics.status, 0) << ics.err;
  const auto events = ReadWithIcalendar(ics.out);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].start, "2003-05-10 05:22:38");
  EXPECT_EQ(events[0].end, "2003-05-10 06:05:59");
  EXPECT_EQ(events[0].trigger, "0");  // no alarm
  EXPECT_NE(events[0].summary.find("η Leo"), std::string::npos) << events[0].summary;
  EXPECT_NE(events[0].description.find("~D 05:22:38 UT, PA 72.9°, altitude 38.5°, dark limb"),
            std::string::npos)
      << events[0].description;
  EXPECT_NE(events[0].description.find("~R 06:05:59 UT, PA 348.4°"), std::string::npos);
  EXPECT_EQ(RunCli("predict --observer 0,0 --format ics --reminder -5").status, 2);
}

}  // namespace
}  // namespace vernier
