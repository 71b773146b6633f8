#include "platform/program_start.h"

#include <algorithm>

#include "common/errors.h"

namespace platform {

double FakeProgramStarter::StartProgram(std::string_view commandLine, int windowStyle) {
  if (std::find(missing.begin(), missing.end(), commandLine) != missing.end())
    common::Raise(common::kFileNotFound);
  starts.push_back({std::string(commandLine), windowStyle});
  return static_cast<double>(starts.size());
}

}  // namespace platform
