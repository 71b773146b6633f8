// The hidden new files written beside their targets, and the removal of those that killed
// writers left behind.
//
// A new file is named ".<target name>.ormila.<boot>.<namespace>.<time>.<pid>.<start>.neu":
//   boot       this system's boot id (/proc/sys/kernel/random/boot_id) without its dashes,
//   namespace  the inode number of the writer's pid namespace (/proc/self/ns/pid),
//   time       the inode number of its time namespace (/proc/self/ns/time; 0 on a kernel
//              without them), whose offset shifts the start times a process reads in /proc,
//   pid        the writer's process id in its pid namespace,
//   start      the writer's start time in clock ticks since boot (field 22 of /proc/<pid>/stat).
// So the name alone tells who wrote it, and no file time is read: a share's server clock or a
// file time set by hand decides nothing. A target name too long to leave room for the rest in
// one file name is cut (at a character's start): only the writer's part is ever read back.
//
// A leftover is removed only when its name has exactly this form, its boot and namespaces are
// those of the process that looks, and no process of that id with that start time runs (the id
// is free, or it belongs to a process started at another time). A writer in another pid or time
// namespace (a container) or on another machine sharing the folder cannot be seen from here as
// it sees itself, so its files are never judged; this also keeps the files of a writer killed
// before the last reboot (its boot id could as well be another machine's), which are hidden and
// only take room. Every other file is left alone, also one that only looks alike
// (".Notizen.txt.99999.neu", or the older ".<name>.<pid>.neu" form).
#include "platform/beside_files.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <fstream>
#include <iterator>
#include <optional>
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

constexpr std::string_view kTag = "ormila";
constexpr std::string_view kBesideEnding = ".neu";

// The start time of process `pid` in clock ticks since boot; nullopt when it cannot be read.
std::optional<unsigned long long> StartTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name in parentheses may hold blanks and parentheses itself: the fields are
  // counted from behind its last ")", which ends field 2. The start time is field 22.
  size_t at = text.rfind(')');
  if (at == std::string::npos) return std::nullopt;
  for (int field = 2; field < 22 && at != std::string::npos; ++field) at = text.find(' ', at + 1);
  if (at == std::string::npos) return std::nullopt;
  unsigned long long ticks = 0;
  const char* first = text.data() + at + 1;
  const auto [end, ec] = std::from_chars(first, text.data() + text.size(), ticks);
  if (ec != std::errc() || end == first) return std::nullopt;
  return ticks;
}

// The inode number of this process's namespace of that kind, as text; `missing` when the kernel
// has none of them, empty when it cannot be read.
std::string NamespaceOf(const char* kind, const char* missing) {
  struct stat ns;
  if (::stat((std::string("/proc/self/ns/") + kind).c_str(), &ns) == 0)
    return std::to_string(ns.st_ino);
  return errno == ENOENT ? missing : "";
}

// "ormila.<boot>.<namespace>.<time>" of this process; empty when /proc does not tell them, or is
// the /proc of another pid namespace (its process ids are not ours).
std::string SystemTag() {
  std::error_code ec;
  if (fs::read_symlink("/proc/self", ec).string() != std::to_string(::getpid())) return {};
  std::ifstream in("/proc/sys/kernel/random/boot_id");
  std::string id, boot;
  std::getline(in, id);
  for (char c : id)
    if (c != '-') boot += c;
  if (boot.size() != 32 || boot.find_first_not_of("0123456789abcdef") != std::string::npos)
    return {};
  const std::string pidNamespace = NamespaceOf("pid", "");
  const std::string timeNamespace = NamespaceOf("time", "0");
  if (pidNamespace.empty() || timeNamespace.empty()) return {};
  return std::string(kTag) + "." + boot + "." + pidNamespace + "." + timeNamespace;
}

// The writer's part of this process's new files: "<system tag>.<pid>.<start>". Where /proc
// does not tell all of it, the part names no system, and no remover takes it for one of its own.
std::string OwnWriterPart() {
  const pid_t pid = ::getpid();
  const std::string system = SystemTag();
  const std::optional<unsigned long long> start = StartTicks(pid);
  if (system.empty() || !start) return std::string(kTag) + ".0.0.0." + std::to_string(pid) + ".0";
  return system + "." + std::to_string(pid) + "." + std::to_string(*start);
}

// Takes the number behind the last "." of `name` off its end: digits only, no leading zero,
// at most `largest`; nullopt (and `name` as it was) when the end is not such a number.
std::optional<unsigned long long> TakeNumber(std::string_view& name, unsigned long long largest) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const std::string_view digits = name.substr(dot + 1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos ||
      (digits.size() > 1 && digits[0] == '0'))
    return std::nullopt;
  unsigned long long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || value > largest)
    return std::nullopt;
  name = name.substr(0, dot);
  return value;
}

struct Writer {
  pid_t pid;
  unsigned long long start;
};

// The writer a name ".<target>.<system>.<pid>.<start>.neu" names, for the system tag `system`;
// nullopt for any other name.
std::optional<Writer> WriterOf(std::string_view name, std::string_view system) {
  if (!name.starts_with('.') || !name.ends_with(kBesideEnding)) return std::nullopt;
  name.remove_prefix(1);
  name.remove_suffix(kBesideEnding.size());
  const std::optional<unsigned long long> start = TakeNumber(name, ULLONG_MAX);
  if (!start) return std::nullopt;
  const std::optional<unsigned long long> pid = TakeNumber(name, INT_MAX);
  if (!pid || *pid == 0) return std::nullopt;
  // A target's name of at least one character before ".<system>".
  if (name.size() < system.size() + 2 || !name.ends_with(system) ||
      name[name.size() - system.size() - 1] != '.')
    return std::nullopt;
  return Writer{static_cast<pid_t>(*pid), *start};
}

// Whether a process of that id and start time may run: its id is in use (also by a process of
// another user) and its start time is that one, or cannot be read.
bool Runs(const Writer& writer) {
  if (::kill(writer.pid, 0) != 0 && errno == ESRCH) return false;
  const std::optional<unsigned long long> start = StartTicks(writer.pid);
  return !start || *start == writer.start;
}

}  // namespace

fs::path BesidePath(const fs::path& target) {
  const std::string writer = "." + OwnWriterPart() + std::string(kBesideEnding);
  const long longest = ::pathconf(FolderOf(target).c_str(), _PC_NAME_MAX);
  const size_t room = longest > 0 ? static_cast<size_t>(longest) : NAME_MAX;
  std::string name = target.filename().string();
  if (1 + name.size() + writer.size() > room) {
    // Cut at the start of a character (a byte that does not continue one), keeping the first.
    size_t keep = room > 2 + writer.size() ? room - 1 - writer.size() : 1;
    while (keep > 1 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    while (keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) ++keep;
    name.resize(keep);
  }
  return target.parent_path() / ("." + name + writer);
}

void RemoveStaleBesideFiles(const std::string& hostFolder) {
  const std::string system = SystemTag();
  if (system.empty()) return;
  std::error_code ec;
  fs::directory_iterator it(hostFolder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::optional<Writer> writer = WriterOf(it->path().filename().native(), system);
    if (!writer) continue;
    struct stat st;
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (!Runs(*writer)) RemoveQuietly(it->path());
  }
}

}  // namespace platform
