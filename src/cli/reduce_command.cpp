// vernier-cli reduce FILE: occultation timings reduced to O−C against the
// program's own prediction, as a table to read, CSV or JSON. The file is read
// whole and every timing reduced before anything is printed: one bad line
// stops the command with every problem found and nothing on standard output.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "base/data_directory.h"
#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "local/prediction_table.h"
#include "local/timing_reduction.h"

namespace vernier::cli {
namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string JsonText(const std::string& text) {
  std::string out = "\"";
  for (unsigned char ch : text) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch < 0x20) {
      out += Format("\\u%04x", ch);
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}

void PrintText(const std::vector<ReducedTiming>& reduced) {
  std::printf("%-4s  %-10s  %-11s  %-2s  %-14s  %-11s  %8s  %9s  %8s  %6s  %6s  %4s  %7s  %7s  %5s\n",
              "Line", "Date", "UTC", "Ev", "Star", "Predicted", "O-C\"", "Rate\"/s", "dT s",
              "PA", "AA", "CA", "Lib L", "Lib B", "Alt");
  for (const ReducedTiming& r : reduced) {
    const auto f = ReductionRecord(r);
    // The star padded to 14 characters (not bytes), cut at a character.
    std::string star;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < r.timing.star.size(); ++i) {
      const unsigned char ch = static_cast<unsigned char>(r.timing.star[i]);
      if ((ch & 0xC0) != 0x80 && ++characters > 14) break;
      star += static_cast<char>(ch);
    }
    if (characters < 14) star += std::string(14 - std::min<std::size_t>(characters, 14), ' ');
    std::printf("%-4s  %-10s  %-11s  %-2s  %s  %-11s  %8.3f  %9.4f  %8.2f  %6.1f  %6.1f  %3.0f%c"
                "  %+7.3f  %+7.3f  %5.1f%s\n",
                f[0].c_str(), f[1].c_str(), f[2].c_str(), f[3].c_str(), star.c_str(),
                f[11].c_str(), r.oMinusC, r.rate, (r.jdUT - r.predictedJdUT) * 86400,
                r.positionAngle, r.axisAngle, r.cuspAngle, r.cusp, r.librationLongitude,
                r.librationLatitude, r.moonAltitude,
                r.contactPredicted ? "" : "  (no contact predicted: closest approach)");
  }
}

}  // namespace

int RunReduceCommand(const std::vector<std::string>& args) {
  if (args.empty() || args[0].rfind("--", 0) == 0)
    return UsageError("give the timings file: reduce FILE [--format text|csv|json]");
  const std::string path = args[0];
  std::string error;
  const auto options = Options::Parse(std::vector<std::string>(args.begin() + 1, args.end()),
                                      {{"format", "data", "delta-t-adjust"}, {}}, error);
  if (!options) return UsageError(error);
  const std::string format = options->Value("format").value_or("text");
  if (format != "text" && format != "csv" && format != "json")
    return UsageError("option --format must be text, csv or json");
  const double deltaTAdjust = options->Number("delta-t-adjust", 0, error);
  if (!error.empty()) return UsageError(error);
  if (!(std::fabs(deltaTAdjust) <= 10000))
    return UsageError("option --delta-t-adjust must lie in -10000..10000 seconds");

  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "vernier-cli: cannot read the timings file %s\n", path.c_str());
    return 1;
  }
  const DataDirectory dataDirectory = ResolveDataDirectory(options->Value("data"));
  const TimingsReduction result =
      ReduceTimingsFile(in, dataDirectory, StarNames::Shared(dataDirectory), deltaTAdjust);
  const std::vector<ReducedTiming>& reduced = result.reduced;
  if (!result.problems.empty()) {
    for (const std::string& problem : result.problems)
      std::fprintf(stderr, "vernier-cli: %s: %s\n", path.c_str(), problem.c_str());
    std::fprintf(stderr, "vernier-cli: nothing reduced\n");
    return 1;
  }
  if (reduced.empty()) {
    std::fprintf(stderr, "vernier-cli: %s holds no timings\n", path.c_str());
    return 1;
  }

  const auto& columns = ReductionFields();
  if (format == "csv") {
    std::vector<std::string> header;
    for (const ReductionField& c : columns) header.push_back(c.name);
    std::printf("%s\n", CsvLine(header).c_str());
    for (const ReducedTiming& r : reduced) std::printf("%s\n", CsvLine(ReductionRecord(r)).c_str());
  } else if (format == "json") {
    std::printf("[");
    for (std::size_t i = 0; i < reduced.size(); ++i) {
      const auto f = ReductionRecord(reduced[i]);
      std::printf("%s\n  {", i ? "," : "");
      for (std::size_t k = 0; k < columns.size(); ++k) {
        const std::string value =
            !columns[k].number ? JsonText(f[k]) : f[k].empty() ? "null" : f[k];
        std::printf("%s%s: %s", k ? ", " : "", JsonText(columns[k].name).c_str(), value.c_str());
      }
      std::printf("}");
    }
    std::printf("\n]\n");
  } else {
    PrintText(reduced);
  }
  return 0;
}

}  // namespace vernier::cli
