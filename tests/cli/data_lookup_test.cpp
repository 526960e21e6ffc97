// The data directories of an installed vernier-cli: a copy of the program in
// PREFIX/bin finds PREFIX/share/vernier, the user's data comes before it, and
// a directory given with --data is searched alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

namespace fs = std::filesystem;
using testing::TempDataDir;

std::string Record(double xz) {
  return testing::FormatRecord(testing::DatedRecord(2000, 1, 1, xz));
}

TEST(DataLookup, AnInstalledProgramFindsTheUsersAndTheInstalledData) {
  TempDataDir prefix, home, given;
  fs::create_directories(prefix.File("bin"));
  fs::create_directories(prefix.File("share/vernier"));
  const std::string program = prefix.File("bin/vernier-cli");
  fs::copy_file(VERNIER_CLI_PATH, program);
  const std::string installed = prefix.File("share/vernier");
  const std::string user = home.File(".local/share/vernier");

  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // path, text
    std::vector<std::string> workingFiles;
    std::string arguments;
    int status;
    std::string expected;  // in standard output, else standard error
  };
  const std::vector<Case> cases = {
      {"nothing anywhere: every directory searched is named", {}, {}, "", 1,
       "ecad22.PRN was not found in the data directory " + user + " or " + installed + ")\n"},
      {"the installed element file", {{installed + "/ecad22.PRN", Record(111)}}, {}, "", 0,
       " xz=111 "},
      {"the user's file before the installed one",
       {{installed + "/ecad22.PRN", Record(111)}, {user + "/ECAD22.prn", Record(222)}}, {}, "", 0,
       " xz=222 "},
      {"a working directory with a site list, the element file installed",
       {{installed + "/ecad22.PRN", Record(111)}}, {"location.new"}, "", 0, " xz=111 "},
      {"a working directory with its own element file",
       {{installed + "/ecad22.PRN", Record(111)}}, {"ecad22.PRN"}, "", 0, " xz=333 "},
      {"--data is searched alone",
       {{installed + "/ecad22.PRN", Record(111)}, {user + "/ecad22.PRN", Record(222)}}, {},
       " --data '" + given.path() + "'", 1,
       "ecad22.PRN was not found in the data directory " + given.path() + ")"},
  };
  for (const Case& c : cases) {
    fs::remove_all(user);
    fs::remove(installed + "/ecad22.PRN");
    fs::create_directories(user);
    for (const auto& [path, text] : c.files) std::ofstream(path) << text;
    TempDataDir work;
    for (const std::string& name : c.workingFiles)
      work.Write(name, name == "ecad22.PRN" ? Record(333) : "Tokyo,139.767,35.681,40,0\n");
    const auto r = testing::RunShell("env -i HOME='" + home.path() + "' PATH=/usr/bin:/bin '" +
                                         program + "' events --date 2000-01-01" + c.arguments,
                                     work.path());
    EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.err;
    const std::string& output = c.status == 0 ? r.out : r.err;
    EXPECT_NE(output.find(c.expected), std::string::npos) << c.what << "\n" << output;
  }
}

}  // namespace
}  // namespace vernier
