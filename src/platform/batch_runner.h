// The batch runner: runs the command lines of a Windows batch file in order, each waited for.
#pragma once

#include <iosfwd>
#include <string>

namespace platform {

// Reads the batch (a Windows drive path or a host path; Windows-1252; lines end in CR LF, CR or
// LF) and runs it: REM lines and empty lines do nothing; "set NAME=VALUE" sets an environment
// variable, Windows drive paths in the value turned into host paths (PATH entries, separated by
// ";", joined with ":"); %NAME% is replaced by the variable's value in every line; any other line
// is a command line (ReadCommandLine), started and waited for. A line whose program cannot be
// found is reported on `messages` and the batch goes on. Returns the exit status of the last
// line run (0 when none ran), 1 when the batch cannot be read.
int RunBatch(const std::string& windowsOrHostPath, std::ostream& messages);
int RunBatch(const std::string& windowsOrHostPath);  // messages on stderr

}  // namespace platform
