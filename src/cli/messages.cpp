#include "cli/messages.h"

#include <cstdio>

#include "base/data_directory.h"
#include "base/ui_text.h"

namespace vernier::cli {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "vernier-cli: %s\n(vernier-cli --help lists the commands and options)\n",
               message.c_str());
  return 2;
}

void PrintUserMessage(const UserMessage& message) {
  for (const std::string& line : message.lines) std::fprintf(stderr, "%s\n", line.c_str());
}

// Generated bands go to the primary data directory.
void SayHowToBuildBand(const DataDirectory& directory, const std::string& name) {
  std::fprintf(stderr, "vernier-canon --band %s --out %s builds it\n", name.c_str(),
               directory.primary.c_str());
}

static void NameFile(const DataDirectory& directory, const std::optional<std::string>& name) {
  if (name && FindDataEntry(directory, *name) != DataEntry::Missing)
    std::fprintf(stderr, "(%s in the data directory %s holds no readable record)\n", name->c_str(),
                 DescribeDataDirectory(directory).c_str());
  else if (name) {
    std::fprintf(stderr, "(%s was not found in the data directory %s)\n", name->c_str(),
                 DescribeDataDirectory(directory).c_str());
    SayHowToBuildBand(directory, *name);
  }
  else
    std::fprintf(stderr, "(no element file covers this year)\n");
}

int ReportMissingElementFile(const DataDirectory& directory,
                             const std::optional<std::string>& name) {
  std::fprintf(
      stderr, "%s\n%s\n", UI_TEXT("ElementFiles", "ベッセル要素ファイルがありません！").c_str(),
      UI_TEXT("ElementFiles", "EC****.prnファイルのあるディレクトリで起動して下さい。").c_str());
  NameFile(directory, name);
  return 1;
}

int ReportNextElementFileMissing(const DataDirectory& directory,
                                 const std::optional<std::string>& name) {
  std::fprintf(stderr, "%s\n%s\n",
               UI_TEXT("ElementFiles", "ベッセル要素ファイルが終了しました").c_str(),
               UI_TEXT("ElementFiles", "早い年代を設定し、検索モードを変更ください。").c_str());
  NameFile(directory, name);
  return 1;
}

int ReportEndOfElementFiles() {
  std::fprintf(stderr, "%s\n",
               UI_TEXT("ElementFiles", "ベッセル要素ファイルが終了しました。").c_str());
  return 1;
}

}  // namespace vernier::cli
