// The regression corpus: real events through every display and output of the
// headless front end, compared exactly with what the program produced when
// the corpus was recorded. Texts are kept verbatim; a picture is kept as its
// size and a hash of its pixels, with the picture itself beside the hash. A
// change that moves a pixel or a character fails here, with the new output
// written for review: a text in the temporary folder, a picture as NAME.new.png
// beside the recorded NAME.png.
//
// To record the corpus again after an intended change, run the test with
// VERNIER_UPDATE_CORPUS=1 and review the diff of tests/data/corpus/expected.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_cli.h"
#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;

enum class Output {
  Stdout,   // what the command prints (texts, CSV, lines)
  Picture,  // the PNG written with --png
  Kml,      // the KML file written with --kml
};

struct CorpusCase {
  std::string name;
  std::string arguments;  // after the data directory
  Output output = Output::Stdout;
};

// A failing case names itself by its command line.
void PrintTo(const CorpusCase& c, std::ostream* os) {
  *os << c.name << ": " << c.arguments;
}

// The events of the corpus element file, each with a place that sees it (see
// tests/data/corpus/README.md for where each record comes from).
struct CorpusEvent {
  const char* tag;       // the cases' names end in it: "map_<tag>"
  const char* date;      // --date
  const char* observer;  // --observer of the commands for one place
};
const CorpusEvent kEvents[] = {
    {"eclipse1999", "1999-08-11", "24.3,45.1"},     {"star2026", "2026-12-08", "172.58,-19.66"},
    {"partial2027", "2027-01-03", "65.07,-63.26"},  {"antares2027", "2027-02-28", "-16.93,-51.62"},
    {"mercury2027", "2027-03-06", "177.77,-61.95"}, {"jupiter2027", "2027-03-19", "153.01,-37.21"},
    {"alcyone2027", "2027-07-28", "77.83,73.6"},    {"venus2027", "2027-08-02", "85.29,-14.73"},
    {"mars2027", "2027-12-29", "13.15,11.29"},      {"pisco2028", "2028-01-21", "-36.61,59.84"},
};

// What every event goes through: the case's name is the pattern's with the
// event's tag for "%", the arguments follow the command with the event's date
// and, for the commands of one place, its observer.
struct CorpusCommand {
  const char* name;
  const char* command;
  const char* options;
  bool atObserver;
  Output output;
};
const CorpusCommand kCommands[] = {
    {"map_%", "map", "--simple-map --text", false, Output::Stdout},
    {"map_%_picture", "map", "--simple-map", false, Output::Picture},
    {"table_%", "table", "--text", false, Output::Stdout},
    {"path_%", "path", "--step 2", false, Output::Stdout},
    {"contacts_%", "contacts", "", true, Output::Stdout},
    {"local_%", "local", "--text", true, Output::Stdout},
    {"sky_%", "sky", "--text", true, Output::Stdout},
    {"kml_%", "map", "--simple-map --kml", false, Output::Kml},
};

// The cases beyond events × commands: other windows, projections and options,
// and the commands that are not about one event.
const CorpusCase kFurtherCases[] = {
#include "corpus/corpus_cases.inc"
};

std::vector<CorpusCase> CorpusCases() {
  std::vector<CorpusCase> cases;
  for (const CorpusEvent& event : kEvents)
    for (const CorpusCommand& command : kCommands) {
      std::string name = command.name;
      name.replace(name.find('%'), 1, event.tag);
      std::string arguments = std::string(command.command) + " --date " + event.date;
      if (command.atObserver) arguments += std::string(" --observer ") + event.observer;
      if (*command.options) arguments += std::string(" ") + command.options;
      cases.push_back({name, arguments, command.output});
    }
  cases.insert(cases.end(), std::begin(kFurtherCases), std::end(kFurtherCases));
  return cases;
}

using testing::ReadWholeFile;

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Size and 64-bit FNV-1a hash of the pixels, independent of how the PNG
// encoder compressed them.
std::string PictureDigest(const std::string& path) {
  QImage image(QString::fromStdString(path));
  if (image.isNull()) return "no picture";
  image = image.convertToFormat(QImage::Format_RGB32);
  std::uint64_t hash = 14695981039346656037ull;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const unsigned char*>(image.constScanLine(y));
    for (int i = 0; i < image.width() * 4; ++i) {
      if (i % 4 == 3) continue;  // alpha is always opaque
      hash = (hash ^ row[i]) * 1099511628211ull;
    }
  }
  char text[64];
  std::snprintf(text, sizeof text, "%dx%d %016llx\n", image.width(), image.height(),
                static_cast<unsigned long long>(hash));
  return text;
}

// Keeps a picture the command wrote, its pixels as they are, in PNG's
// strongest compression (the corpus is part of the repository).
bool KeepPicture(const std::string& written, const fs::path& kept) {
  const QImage image(QString::fromStdString(written));
  return !image.isNull() && image.save(QString::fromStdString(kept.string()), "PNG", 0);
}

class RegressionCorpus : public ::testing::TestWithParam<CorpusCase> {
 protected:
  static void SetUpTestSuite() {
    data_ = new testing::TempDataDir;
    const fs::path source = testing::TestData("corpus");
    for (const char* name : {"ecad22.PRN", "location.new", "echead.prn"})
      fs::copy_file(source / name, data_->File(name));
  }
  // A smooth synthetic relief, so that the limb profile has something to
  // draw; written only for the cases that draw it (it takes a second).
  static void WriteLimbGrid() {
    if (fs::exists(data_->File("LRO.dat"))) return;
    LimbHeightGrid grid;
    testing::FillLimbGrid(grid, [](double lon, double lat) {
      return 1500 * std::sin(lon * 0.35) * std::cos(lat * 0.21) +
             testing::Mountain(lon, lat, 270, 0, 4000, 3);
    });
    ASSERT_TRUE(testing::WriteLimbGrid(data_->File("LRO.dat"), grid));
  }
  static void TearDownTestSuite() {
    delete data_;
    data_ = nullptr;
  }
  static testing::TempDataDir* data_;
};

testing::TempDataDir* RegressionCorpus::data_ = nullptr;

TEST_P(RegressionCorpus, OutputIsAsRecorded) {
  const CorpusCase& c = GetParam();
  if (c.arguments.rfind("limb ", 0) == 0) WriteLimbGrid();
  testing::TempDataDir work;
  std::string arguments = c.arguments + " --data '" + data_->path() + "'";
  if (c.output == Output::Picture) arguments += " --png '" + work.File("picture.png") + "'";
  const auto result = RunCli(arguments, work.path());
  if (c.output != Output::Stdout) {
    ASSERT_EQ(result.status, 0) << c.arguments << "\n" << result.err;
  }

  std::string actual;
  switch (c.output) {
    case Output::Stdout:
      // What a script sees: the output, the messages and the exit status.
      actual = result.out + "--- exit status " + std::to_string(result.status) +
               ", standard error:\n" + ReplaceAll(result.err, data_->path(), "DATA");
      break;
    case Output::Picture:
      actual = PictureDigest(work.File("picture.png"));
      break;
    case Output::Kml: {
      std::string kml;
      for (const auto& entry : fs::directory_iterator(work.path()))
        if (entry.path().extension() == ".kml") kml = ReadWholeFile(entry.path());
      ASSERT_FALSE(kml.empty()) << "no KML file written";
      actual = kml;
      break;
    }
  }

  const fs::path recorded = testing::TestData("corpus/expected");
  const fs::path expected = recorded / (c.name + ".txt");
  // A picture is kept beside its hash, so that a change can be looked at.
  const fs::path expectedPicture = recorded / (c.name + ".png");
  const fs::path changedPicture = recorded / (c.name + ".new.png");
  if (std::getenv("VERNIER_UPDATE_CORPUS")) {
    WriteFile(expected, actual);
    if (c.output == Output::Picture) {
      ASSERT_TRUE(KeepPicture(work.File("picture.png"), expectedPicture));
      fs::remove(changedPicture);
    }
    GTEST_SKIP() << "recorded " << expected;
  }
  ASSERT_TRUE(fs::exists(expected))
      << "no recorded output " << expected << " (run with VERNIER_UPDATE_CORPUS=1 to record it)";
  const std::string wanted = ReadWholeFile(expected);
  if (c.output == Output::Picture) {
    // The picture kept is the one the hash was taken of.
    EXPECT_EQ(PictureDigest(expectedPicture.string()), wanted)
        << "the recorded picture " << expectedPicture << " is not the one of " << expected;
  }
  if (actual != wanted) {
    const fs::path got = fs::temp_directory_path() / "vernier-corpus" / (c.name + ".txt");
    WriteFile(got, actual);
    if (c.output == Output::Picture) {
      ASSERT_TRUE(KeepPicture(work.File("picture.png"), changedPicture));
      FAIL() << c.name << ": the picture differs from " << expectedPicture << "; this run's is "
             << changedPicture;
    }
    FAIL() << c.name << ": output differs from " << expected << "; this run's output is in " << got;
  }
  if (c.output == Output::Picture) fs::remove(changedPicture);
}

INSTANTIATE_TEST_SUITE_P(Events, RegressionCorpus, ::testing::ValuesIn(CorpusCases()),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace vernier
