#include "cli/messages.h"

#include <cstdio>

#include "bessel/data_directory.h"

namespace vernier::cli {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "vernier-cli: %s\n(vernier-cli --help lists the commands and options)\n",
               message.c_str());
  return 2;
}

void SayHowToBuildBand(const std::string& directory, const std::string& name) {
  std::fprintf(stderr, "vernier-canon --band %s --out %s builds it\n", name.c_str(), directory.c_str());
}

static void NameFile(const std::string& directory, const std::optional<std::string>& name) {
  if (name && FindDataEntry(directory, *name) != DataEntry::Missing)
    std::fprintf(stderr, "(%s in the data directory %s holds no readable record)\n", name->c_str(),
                 directory.c_str());
  else if (name) {
    std::fprintf(stderr, "(%s was not found in the data directory %s)\n", name->c_str(),
                 directory.c_str());
    SayHowToBuildBand(directory, *name);
  }
  else
    std::fprintf(stderr, "(no element file covers this year)\n");
}

int ReportMissingElementFile(const std::string& directory, const std::optional<std::string>& name) {
  std::fprintf(stderr, "ベッセル要素ファイルがありません！\n"
                       "EC****.prnファイルのあるディレクトリで起動して下さい。\n");
  NameFile(directory, name);
  return 1;
}

int ReportNextElementFileMissing(const std::string& directory,
                                 const std::optional<std::string>& name) {
  std::fprintf(stderr, "ベッセル要素ファイルが終了しました\n"
                       "早い年代を設定し、検索モードを変更ください。\n");
  NameFile(directory, name);
  return 1;
}

int ReportEndOfElementFiles() {
  std::fprintf(stderr, "ベッセル要素ファイルが終了しました。\n");
  return 1;
}

}  // namespace vernier::cli
