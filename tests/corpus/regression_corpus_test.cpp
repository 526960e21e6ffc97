// The regression corpus: real events through every display and output of the
// headless front end, compared exactly with what the program produced when
// the corpus was recorded. Texts are kept verbatim; a picture is kept as its
// size and a hash of its pixels. A change that moves a pixel or a character
// fails here, with the new output written beside the build for review.
//
// To record the corpus again after an intended change, run the test with
// VERNIER_UPDATE_CORPUS=1 and review the diff of tests/data/corpus/expected.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/run_cli.h"
#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"

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
  const char* name;
  const char* arguments;  // after the data directory
  Output output = Output::Stdout;
};

// The events of the corpus, by date in the corpus element file:
//   2027-03-19 Jupiter (planet, inner and outer contacts)
//   2027-08-02 Venus (planet, daylight)
//   2026-12-08 a bright star, 2027-02-22 Antares, 2028-01-10 Regulus,
//   2027-05-28 a faint southern star, 2027-10-15 a grazing star path,
//   1999-08-11 and 2024-04-08 the solar eclipses (central total, from the
//   eclipse data), 2030-06-01 an annular eclipse.
// See tests/data/corpus/README.md for where each record comes from.
const CorpusCase kCases[] = {
#include "corpus/corpus_cases.inc"
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

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
  if (std::string(c.arguments).rfind("limb ", 0) == 0) WriteLimbGrid();
  testing::TempDataDir work;
  std::string arguments = std::string(c.arguments) + " --data '" + data_->path() + "'";
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
        if (entry.path().extension() == ".kml") kml = ReadFile(entry.path());
      ASSERT_FALSE(kml.empty()) << "no KML file written";
      actual = kml;
      break;
    }
  }

  const fs::path expected =
      fs::path(testing::TestData("corpus/expected")) / (std::string(c.name) + ".txt");
  if (std::getenv("VERNIER_UPDATE_CORPUS")) {
    WriteFile(expected, actual);
    GTEST_SKIP() << "recorded " << expected;
  }
  ASSERT_TRUE(fs::exists(expected))
      << "no recorded output " << expected << " (run with VERNIER_UPDATE_CORPUS=1 to record it)";
  if (actual != ReadFile(expected)) {
    const fs::path got =
        fs::temp_directory_path() / "vernier-corpus" / (std::string(c.name) + ".txt");
    WriteFile(got, actual);
    FAIL() << c.name << ": output differs from " << expected << "; this run's output is in " << got;
  }
}

INSTANTIATE_TEST_SUITE_P(Events, RegressionCorpus, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace vernier
