// Starting a program by its command line, the Windows way, without waiting.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// 1 normal with focus, 2 minimised with focus; a hint only here.
enum WindowStyle : int { kHidden = 0, kNormalFocus = 1, kMinimizedFocus = 2 };

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts the program detached (it outlives the starter) and returns a task id; never waits.
  // No program found is error 53.
  virtual double StartProgram(std::string_view commandLine, int windowStyle) = 0;
};

// Records the starts; a command line in `missing` fails with error 53.
class FakeProgramStarter : public ProgramStarter {
 public:
  struct Start {
    std::string commandLine;
    int windowStyle;
  };
  double StartProgram(std::string_view commandLine, int windowStyle) override;
  std::vector<Start> starts;
  std::vector<std::string> missing;
};

}  // namespace platform
