#include "base/data_directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/scoped_env.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempDataDir;

// Runs in `directory` for one scope.
class ScopedWorkingDirectory {
 public:
  explicit ScopedWorkingDirectory(const std::string& directory) : saved_(fs::current_path()) {
    fs::current_path(directory);
  }
  ~ScopedWorkingDirectory() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

TEST(DataDirectoryTest, ResolutionOrder) {
  // Paths in the table: HOME, XDG, GIVEN and SHARE stand for temporary
  // directories; "." is the working directory.
  struct Case {
    const char* what;
    std::optional<std::string> commandLine, vernierData, xdgDataHome, home;
    std::vector<std::string> workingFiles;
    std::string primary;
    std::vector<std::string> fallbacks;
  };
  const std::vector<Case> cases = {
      {"the command line wins, alone", "GIVEN", "ENV", "XDG", "HOME", {"ecad22.PRN"}, "GIVEN", {}},
      {"an empty --data counts as none", "", "GIVEN", "XDG", "HOME", {}, "GIVEN", {}},
      {"then VERNIER_DATA, alone", std::nullopt, "GIVEN", "XDG", "HOME", {"location.new"}, "GIVEN",
       {}},
      {"a working directory with an element file", std::nullopt, std::nullopt, "XDG", "HOME",
       {"ecad22.PRN"}, ".", {"XDG/vernier", "SHARE"}},
      {"element file names in any case", std::nullopt, "", std::nullopt, "HOME", {"EcBc04.prn"}, ".",
       {"HOME/.local/share/vernier", "SHARE"}},
      {"a working directory with the site list", std::nullopt, std::nullopt, std::nullopt, "HOME",
       {"LOCATION.NEW"}, ".", {"HOME/.local/share/vernier", "SHARE"}},
      {"other files do not make a data directory", std::nullopt, std::nullopt, "XDG", "HOME",
       {"echead.prn", "as_cil.cbd", "ecad22.txt"}, "XDG/vernier", {"SHARE"}},
      {"the user's data under XDG_DATA_HOME", std::nullopt, std::nullopt, "XDG", "HOME", {},
       "XDG/vernier", {"SHARE"}},
      {"else under HOME", std::nullopt, std::nullopt, std::nullopt, "HOME", {},
       "HOME/.local/share/vernier", {"SHARE"}},
      {"a relative XDG_DATA_HOME is ignored", std::nullopt, std::nullopt, "relative", "HOME", {},
       "HOME/.local/share/vernier", {"SHARE"}},
      {"without HOME the working directory", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
       {}, ".", {"SHARE"}},
  };
  TempDataDir home, xdg, given, share;
  auto expand = [&](std::string text) {
    for (auto [token, dir] : {std::pair{"HOME", &home}, {"XDG", &xdg}, {"GIVEN", &given},
                              {"SHARE", &share}})
      if (text.rfind(token, 0) == 0) return dir->path() + text.substr(std::string(token).size());
    return text;
  };
  auto expandOptional = [&](const std::optional<std::string>& text) {
    return text ? std::optional(expand(*text)) : std::nullopt;
  };
  for (const Case& c : cases) {
    TempDataDir work;
    for (const std::string& name : c.workingFiles) work.Write(name, "x\n");
    const ScopedWorkingDirectory inWork(work.path());
    const ScopedEnv data("VERNIER_DATA", expandOptional(c.vernierData));
    const ScopedEnv xdgHome("XDG_DATA_HOME", expandOptional(c.xdgDataHome));
    const ScopedEnv homeDir("HOME", expandOptional(c.home));
    const DataDirectory resolved = ResolveDataDirectory(expandOptional(c.commandLine), share.path());
    EXPECT_EQ(resolved.primary, expand(c.primary)) << c.what;
    std::vector<std::string> fallbacks;
    for (const std::string& f : c.fallbacks) fallbacks.push_back(expand(f));
    EXPECT_EQ(resolved.fallbacks, fallbacks) << c.what;
  }
}

TEST(DataDirectoryTest, FilesAreFoundDirectoryByDirectoryAndWrittenToThePrimary) {
  TempDataDir user, shared, other;
  user.Write("location.new", "user\n");
  shared.Write("LOCATION.NEW", "shared\n");
  shared.Write("Echead.PRN", "head\n");
  std::filesystem::create_directory(shared.File("LRO.dat"));
  const DataDirectory data{user.path()};
  DataDirectory withFallbacks = data;
  withFallbacks.fallbacks = {other.path(), shared.path()};

  // The primary directory comes first; a file it lacks comes from a fallback,
  // matched without regard to case there too.
  EXPECT_EQ(FindDataFile(withFallbacks, "location.new"), user.File("location.new"));
  EXPECT_EQ(FindDataFile(withFallbacks, "echead.prn"), shared.File("Echead.PRN"));
  EXPECT_EQ(FindDataFile(data, "echead.prn"), std::nullopt);
  EXPECT_EQ(FindDataEntry(withFallbacks, "echead.prn"), DataEntry::File);
  EXPECT_EQ(FindDataEntry(withFallbacks, "lro.dat"), DataEntry::NotAFile);
  EXPECT_EQ(FindDataEntry(withFallbacks, "kaguya.dat"), DataEntry::Missing);
  if (std::FILE* f = OpenDataFile(withFallbacks, "ECHEAD.prn", "r")) {
    char line[16] = {};
    EXPECT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "head\n");
    std::fclose(f);
  } else {
    ADD_FAILURE() << "echead.prn was not opened from the fallback";
  }

  // What the program writes goes to the primary directory only.
  EXPECT_EQ(DataFilePath(withFallbacks, "location.new"),
            (fs::path(user.path()) / "location.new").string());
  EXPECT_EQ(DescribeDataDirectory(data), user.path());
  EXPECT_EQ(DescribeDataDirectory(withFallbacks),
            user.path() + " or " + other.path() + " or " + shared.path());
}

}  // namespace
}  // namespace vernier
