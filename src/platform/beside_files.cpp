#include "platform/beside_files.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_table.h"
#include "platform/write_support.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBesideEnding = ".neu";

// The process number in a name ".<name>.<pid>.neu"; 0 when the name is not one of these.
pid_t BesideFileOwner(std::string_view name) {
  if (name.size() < 2 + kBesideEnding.size() || name[0] != '.' || !name.ends_with(kBesideEnding))
    return 0;
  name.remove_suffix(kBesideEnding.size());
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot < 2 || dot + 1 == name.size()) return 0;
  long long pid = 0;
  for (char c : name.substr(dot + 1)) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
    if (pid > 0x7FFFFFFF) return 0;
  }
  return static_cast<pid_t>(pid);
}

// When the process started, in seconds since the epoch; nullopt when it cannot be told.
std::optional<double> ProcessStartTime(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name in parentheses may hold blanks and parentheses itself: the fields are
  // counted from behind its last ")", which ends field 2. The start time is field 22.
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(text.substr(close + 1));
  std::string field;
  for (int k = 3; k < 22 && fields >> field; ++k) {
  }
  unsigned long long ticks = 0;
  if (!(fields >> ticks)) return std::nullopt;
  std::ifstream system("/proc/stat");
  std::string line;
  while (std::getline(system, line)) {
    if (!line.starts_with("btime ")) continue;
    const double boot = std::strtod(line.c_str() + 6, nullptr);
    const long hz = ::sysconf(_SC_CLK_TCK);
    if (boot <= 0 || hz <= 0) return std::nullopt;
    return boot + static_cast<double>(ticks) / static_cast<double>(hz);
  }
  return std::nullopt;
}

// Whether the leftover of process `pid`, last written at `written` (seconds since the epoch),
// may still belong to a running writer.
bool WriterMayRun(pid_t pid, double written) {
  if (::kill(pid, 0) != 0 && errno != EPERM) return false;
  // The number of a writer that ended can be given to a new process: one started clearly after
  // the file was last written is not its writer. (The boot time is known to the second only.)
  constexpr double kClockSlack = 5;
  const std::optional<double> started = ProcessStartTime(pid);
  return !started || *started <= written + kClockSlack;
}

}  // namespace

fs::path BesidePath(const fs::path& target) {
  return target.parent_path() / ("." + target.filename().string() + "." +
                                 std::to_string(::getpid()) + std::string(kBesideEnding));
}

void RemoveStaleBesideFiles(const std::string& hostFolder) {
  std::error_code ec;
  fs::directory_iterator it(hostFolder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const pid_t pid = BesideFileOwner(it->path().filename().native());
    if (pid <= 0 || pid == ::getpid()) continue;
    struct stat st;
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const double written =
        static_cast<double>(st.st_mtim.tv_sec) + static_cast<double>(st.st_mtim.tv_nsec) * 1e-9;
    if (WriterMayRun(pid, written)) continue;
    RemoveQuietly(it->path());
  }
}

}  // namespace platform
