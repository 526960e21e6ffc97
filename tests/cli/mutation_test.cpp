// Mutated copies of a real element record (each field set to extreme,
// non-finite, negative or huge values; lines dropped or merged) through the
// display commands of vernier-cli: each run ends within seconds with status
// 0, 1 or 2 and no sanitizer report. The long form, every mutation through
// every command, is tests/mutation/run-mutations.sh.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_cli.h"
#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

using testing::TempDataDir;
using testing::TestData;

std::vector<std::vector<std::string>> RecordLines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    lines.emplace_back();
    for (std::string w; words >> w;) lines.back().push_back(w);
  }
  return lines;
}

std::string Join(const std::vector<std::vector<std::string>>& lines) {
  std::string text;
  for (const auto& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) text += (i ? " " : "") + line[i];
    text += "\n";
  }
  return text;
}

struct Mutation {
  std::string name, text;
};

// Field k (0..33) of the record set to `value`; each line dropped; each pair
// of lines merged.
std::vector<Mutation> Mutations(const std::string& record) {
  static const char* const kValues[] = {"0",   "-1",  "1e300", "-1e300", "1e-300",
                                        "nan", "inf", "4e9",   "-99999"};
  constexpr std::size_t kCount = sizeof kValues / sizeof kValues[0];
  const auto lines = RecordLines(record);
  std::vector<Mutation> out;
  int k = 0;
  for (std::size_t l = 0; l < lines.size(); ++l)
    for (std::size_t w = 0; w < lines[l].size(); ++w, ++k)
      for (std::size_t j : {k % kCount, (k + 4) % kCount}) {
        auto changed = lines;
        changed[l][w] = kValues[j];
        out.push_back({"field " + std::to_string(k) + " = " + kValues[j], Join(changed)});
      }
  for (std::size_t l = 0; l < lines.size(); ++l) {
    auto dropped = lines;
    dropped.erase(dropped.begin() + l);
    out.push_back({"line " + std::to_string(l + 1) + " dropped", Join(dropped)});
    if (l + 1 < lines.size()) {
      auto merged = lines;
      merged[l].insert(merged[l].end(), merged[l + 1].begin(), merged[l + 1].end());
      merged.erase(merged.begin() + l + 1);
      out.push_back({"lines " + std::to_string(l + 1) + "+" + std::to_string(l + 2) + " merged",
                     Join(merged)});
    }
  }
  return out;
}

bool SanitizerReport(const std::string& err) {
  return err.find("runtime error") != std::string::npos ||
         err.find("Sanitizer") != std::string::npos;
}

TEST(MutatedRecords, EveryCommandEndsWithAClearStatus) {
  const std::string commands[] = {
      "events --count 3", "contacts --site 1",     "path",       "map --simple-map --text",
      "table --text",     "local --site 1 --text", "sky --text", "list --from 1999",
      "limb --text",      "predict --site 1 --from 1999-08-11 --days 3 --format csv"};
  constexpr std::size_t kCommands = sizeof commands / sizeof commands[0];
  const std::string record = testing::ReadWholeFile(TestData("eclipse1999/ecad22.PRN"));
  const auto mutations = Mutations(record);
  ASSERT_GT(mutations.size(), 70u);

  TempDataDir dir;
  dir.Write("location.new", "Oslo,10.75,59.916667,94,0\n");
  int runs = 0;
  for (std::size_t v = 0; v < mutations.size(); ++v) {
    // The valid record first, so that a mutated one lies in the middle of the file.
    dir.Write("ecad22.PRN", record + mutations[v].text);
    for (std::size_t c : {v % kCommands, (v + 4) % kCommands}) {
      const auto r =
          testing::RunShell("timeout 20 '" + std::string(VERNIER_CLI_PATH) + "' " + commands[c] +
                            " --data '" + dir.path() + "'" +
                            (commands[c].starts_with("predict") ? "" : " --date 1999-08-12") +
                            " >/dev/null");
      ++runs;
      EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == 2)
          << commands[c] << " on " << mutations[v].name << ": status " << r.status << "\n"
          << r.err;
      EXPECT_FALSE(SanitizerReport(r.err)) << commands[c] << " on " << mutations[v].name << "\n"
                                           << r.err;
    }
  }
  EXPECT_EQ(runs, static_cast<int>(2 * mutations.size()));
}

}  // namespace
}  // namespace vernier
