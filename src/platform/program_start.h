// Starting a program by its command line, the Windows way, without waiting.
#pragma once

#include <filesystem>
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

// A command line read the Windows way.
struct Command {
  std::filesystem::path program;       // the host file found
  std::vector<std::string> arguments;  // Windows drive paths already turned into host paths
  bool batch = false;                  // a ".bat" file, run by the batch runner
};

// A quoted first token is the program; an unquoted line is cut at each blank from the left until
// the part before it names an existing program. A drive path goes through the drive map, a name
// without a folder is looked up in PATH, anything else is used as it is; "X.exe" is the host file
// "X.exe" or "X". The rest is split at blanks (quotes group). Error 53 when no program is found.
Command ReadCommandLine(std::string_view commandLine);

// The program part as cmd names it in its messages: the quoted text, or the first word.
std::string CommandName(std::string_view commandLine);

// The process arguments for a command: the program and its arguments, or the batch runner and
// the batch. Error 53 when a batch is to run and the batch runner cannot be found.
std::vector<std::string> ProcessArguments(const Command& command);

// The batch runner "ormila-batch": beside the running executable, else in PATH; empty when absent.
std::filesystem::path BatchRunnerPath();

// Starts `argv` with this process's environment, in which ORMILA_DRIVES names the drive root in
// use. Detached: in a session of its own, not a child of this process, input from /dev/null.
// Returns the process id; error 53 when the program cannot be executed.
long SpawnProcess(const std::vector<std::string>& argv, bool detached);

// Starts programs as processes of the host.
class SystemProgramStarter : public ProgramStarter {
 public:
  double StartProgram(std::string_view commandLine, int windowStyle) override;
};

}  // namespace platform
