#include "platform/program_start.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "common/errors.h"
#include "platform/drive_map.h"

extern char** environ;

namespace platform {
namespace fs = std::filesystem;
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), s.end() - static_cast<long>(suffix.size()),
                    [](char a, char b) {
                      auto lower = [](char c) {
                        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
                      };
                      return lower(a) == lower(b);
                    });
}

bool IsExecutableFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

bool IsReadableFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && ::access(path.c_str(), R_OK) == 0;
}

// Where a program name may be: a drive path through the drive map, a name without a folder in
// each PATH folder, anything else as it is.
std::vector<fs::path> Places(std::string_view name) {
  if (DriveMap::IsDrivePath(name)) return {Drives().ToHost(name)};
  if (name.find('/') != std::string_view::npos) return {fs::path(std::string(name))};
  std::vector<fs::path> places;
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "";
  while (true) {
    std::size_t colon = folders.find(':');
    std::string_view folder = folders.substr(0, colon);
    if (!folder.empty()) places.push_back(fs::path(std::string(folder)) / std::string(name));
    if (colon == std::string_view::npos) break;
    folders.remove_prefix(colon + 1);
  }
  return places;
}

struct Found {
  fs::path program;
  bool batch = false;
};

std::optional<Found> FindProgram(std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (EndsWithNoCase(name, ".bat")) {
    for (const fs::path& place : Places(name))
      if (IsReadableFile(place)) return Found{place, true};
    return std::nullopt;
  }
  const bool exe = EndsWithNoCase(name, ".exe");
  const std::string_view stem = exe ? name.substr(0, name.size() - 4) : name;
  std::vector<fs::path> places = Places(name);
  std::vector<fs::path> stemPlaces = exe ? Places(stem) : std::vector<fs::path>{};
  for (std::size_t i = 0; i < places.size(); ++i) {
    if (IsExecutableFile(places[i])) return Found{places[i], false};
    if (i < stemPlaces.size() && !stem.empty() && IsExecutableFile(stemPlaces[i]))
      return Found{stemPlaces[i], false};
  }
  return std::nullopt;
}

// Splits at blanks; a quoted stretch keeps its blanks and loses its quotes.
std::vector<std::string> SplitArguments(std::string_view rest) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false, quoted = false;
  for (char c : rest) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if (IsBlank(c) && !quoted) {
      if (inArgument) arguments.push_back(current);
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) arguments.push_back(current);
  return arguments;
}

std::vector<std::string> ChildEnvironment() {
  std::error_code ec;
  fs::path root = fs::absolute(Drives().root(), ec);
  if (ec) root = Drives().root();
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e)
    if (std::string_view(*e).substr(0, 14) != "ORMILA_DRIVES=") env.emplace_back(*e);
  env.push_back("ORMILA_DRIVES=" + root.string());
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

// What the processes between fork and exec report through the pipe.
struct Report {
  int kind;  // kStarted: value is the pid; kFailed: value is errno
  long value;
};
constexpr int kStarted = 1;
constexpr int kFailed = 2;

void WriteReport(int fd, int kind, long value) {
  Report report{kind, value};
  [[maybe_unused]] ssize_t n = ::write(fd, &report, sizeof report);
}

// In the new process: default signal handling, then the program.
[[noreturn]] void Exec(char** argv, char** envp, int reportFd, bool nullInput) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  signal(SIGCHLD, SIG_DFL);
  if (nullInput) {
    int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0 && null != 0) {
      ::dup2(null, 0);
      ::close(null);
    }
  }
  ::execve(argv[0], argv, envp);
  WriteReport(reportFd, kFailed, errno);
  ::_exit(127);
}

}  // namespace

Command ReadCommandLine(std::string_view commandLine) {
  std::string_view line = Trim(commandLine);
  std::optional<Found> found;
  std::string_view rest;
  if (!line.empty() && line.front() == '"') {
    std::size_t close = line.find('"', 1);
    std::string_view name = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
    found = FindProgram(name);
    rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
  } else {
    for (std::size_t end = 0; end <= line.size() && !found; ++end) {
      if (end < line.size() && !IsBlank(line[end])) continue;
      found = FindProgram(line.substr(0, end));
      if (found) rest = line.substr(end);
    }
  }
  if (!found) common::Raise(common::kFileNotFound);
  Command command{found->program, SplitArguments(rest), found->batch};
  for (std::string& argument : command.arguments)
    if (DriveMap::IsDrivePath(argument)) argument = Drives().ToHost(argument).string();
  return command;
}

std::string CommandName(std::string_view commandLine) {
  std::string_view line = Trim(commandLine);
  if (!line.empty() && line.front() == '"') {
    std::size_t close = line.find('"', 1);
    return std::string(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
  }
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  return std::string(line.substr(0, end));
}

fs::path BatchRunnerPath() {
  constexpr const char* kName = "ormila-batch";
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    fs::path beside = self.parent_path() / kName;
    if (IsExecutableFile(beside)) return beside;
  }
  for (const fs::path& place : Places(kName))
    if (IsExecutableFile(place)) return place;
  return {};
}

std::vector<std::string> ProcessArguments(const Command& command) {
  if (command.batch) {
    fs::path runner = BatchRunnerPath();
    if (runner.empty()) common::Raise(common::kFileNotFound);
    return {runner.string(), command.program.string()};
  }
  std::vector<std::string> argv{command.program.string()};
  argv.insert(argv.end(), command.arguments.begin(), command.arguments.end());
  return argv;
}

long SpawnProcess(const std::vector<std::string>& arguments, bool detached) {
  if (arguments.empty()) common::Raise(common::kFileNotFound);
  // Everything the new process needs is made before fork: after it only plain system calls run.
  std::vector<std::string> argvTexts = arguments;
  std::vector<std::string> envTexts = ChildEnvironment();
  std::vector<char*> argv = Pointers(argvTexts);
  std::vector<char*> envp = Pointers(envTexts);

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) common::Raise(common::kFileNotFound);
  pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    common::Raise(common::kFileNotFound);
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    if (detached) {
      // A new session, and a grandchild that the init process adopts once this child ends.
      ::setsid();
      pid_t grandchild = ::fork();
      if (grandchild < 0) {
        WriteReport(pipeFds[1], kFailed, errno);
        ::_exit(1);
      }
      if (grandchild > 0) {
        WriteReport(pipeFds[1], kStarted, grandchild);
        ::_exit(0);
      }
    }
    Exec(argv.data(), envp.data(), pipeFds[1], detached);
  }
  ::close(pipeFds[1]);

  long pid = detached ? 0 : child;
  bool failed = false;
  Report report;
  while (true) {
    ssize_t n = ::read(pipeFds[0], &report, sizeof report);
    if (n < 0 && errno == EINTR) continue;
    if (n != static_cast<ssize_t>(sizeof report)) break;  // end: the program runs
    if (report.kind == kStarted) pid = report.value;
    if (report.kind == kFailed) failed = true;
  }
  ::close(pipeFds[0]);
  if (detached || failed) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }
  if (failed || pid <= 0) common::Raise(common::kFileNotFound);
  return pid;
}

double FakeProgramStarter::StartProgram(std::string_view commandLine, int windowStyle) {
  if (std::find(missing.begin(), missing.end(), commandLine) != missing.end())
    common::Raise(common::kFileNotFound);
  starts.push_back({std::string(commandLine), windowStyle});
  return static_cast<double>(starts.size());
}

double SystemProgramStarter::StartProgram(std::string_view commandLine, int /*windowStyle*/) {
  Command command = ReadCommandLine(commandLine);
  return static_cast<double>(SpawnProcess(ProcessArguments(command), true));
}

}  // namespace platform
