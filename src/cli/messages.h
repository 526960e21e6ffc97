// Messages of vernier-cli on standard error, with their exit statuses.
#pragma once

#include <optional>
#include <string>

#include "base/data_directory.h"
#include "base/user_message.h"

namespace vernier::cli {

// A bad command line: the message and a hint, status 2.
int UsageError(const std::string& message);

// The program's own messages for element files, status 1.
int ReportMissingElementFile(const DataDirectory& directory,
                             const std::optional<std::string>& name);
int ReportNextElementFileMissing(const DataDirectory& directory,
                                 const std::optional<std::string>& name);
int ReportEndOfElementFiles();

// The program's message for the user, a line each on standard error.
void PrintUserMessage(const UserMessage& message);

// The line after a missing band's message that names the command building it.
void SayHowToBuildBand(const DataDirectory& directory, const std::string& name);

}  // namespace vernier::cli
