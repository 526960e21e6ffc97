// The commands of vernier-cli. Each takes the words after the command name and
// returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace vernier {
struct DataDirectory;
struct LimbCommandResult;
}  // namespace vernier

namespace vernier::cli {

int RunEventsCommand(const std::vector<std::string>& args);
int RunContactsCommand(const std::vector<std::string>& args);
int RunTableCommand(const std::vector<std::string>& args);
int RunPathCommand(const std::vector<std::string>& args);
int RunMapCommand(const std::vector<std::string>& args);
int RunLocalCommand(const std::vector<std::string>& args);
int RunListCommand(const std::vector<std::string>& args);
int RunSkyCommand(const std::vector<std::string>& args);
int RunLimbCommand(const std::vector<std::string>& args);
int RunPredictCommand(const std::vector<std::string>& args);
int RunReduceCommand(const std::vector<std::string>& args);
int RunGrazeCommand(const std::vector<std::string>& args);

// The outcome of one drawing of the limb profile (the limb command's, or the
// graze command's with the stations' tracks): 0, or 1 after printing why the
// profile could not be drawn.
int CheckLimbDrawn(const LimbCommandResult& result, const DataDirectory& dataDirectory);

}  // namespace vernier::cli
