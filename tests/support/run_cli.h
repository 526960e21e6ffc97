// Runs the vernier-cli binary and collects what it printed.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace vernier::testing {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a shell command line and collects its standard output and error.
// `workingDirectory`, when given, is where it runs.
inline CliResult RunShell(std::string command, const std::string& workingDirectory = "") {
  char errPath[] = "/tmp/vernier-cli-stderr-XXXXXX";
  int fd = mkstemp(errPath);
  if (fd >= 0) close(fd);
  command += std::string(" 2>") + errPath;
  if (!workingDirectory.empty()) command = "cd '" + workingDirectory + "' && " + command;
  CliResult result;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
      result.out.append(buffer.data(), n);
    int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::ifstream err(errPath);
  std::stringstream text;
  text << err.rdbuf();
  result.err = text.str();
  std::remove(errPath);
  return result;
}

// `arguments` is passed to the shell as written after the binary's path. The
// program's messages are asked for in Japanese, the language they are written
// in, whatever the locale of the machine running the tests.
inline CliResult RunCli(const std::string& arguments, const std::string& workingDirectory = "") {
  return RunShell(std::string("'") + VERNIER_CLI_PATH + "' --lang ja " + arguments,
                  workingDirectory);
}

inline std::string TestData(const std::string& relative) {
  return std::string(VERNIER_TEST_DATA_DIR) + "/" + relative;
}

}  // namespace vernier::testing
