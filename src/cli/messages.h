// Messages of vernier-cli on standard error, with their exit statuses.
#pragma once

#include <optional>
#include <string>

#include "bessel/data_directory.h"

namespace vernier::cli {

// A bad command line: the message and a hint, status 2.
int UsageError(const std::string& message);

// The program's own messages for element files, status 1.
int ReportMissingElementFile(const DataDirectory& directory,
                             const std::optional<std::string>& name);
int ReportNextElementFileMissing(const DataDirectory& directory,
                                 const std::optional<std::string>& name);
int ReportEndOfElementFiles();

// The line after a missing band's message that names the command building it.
void SayHowToBuildBand(const DataDirectory& directory, const std::string& name);

}  // namespace vernier::cli
