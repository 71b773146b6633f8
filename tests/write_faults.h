// The two faults the writers' tests put in a writer's way, and what a writer may leave behind.
#pragma once

#include <cerrno>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "platform/file_table.h"

namespace testing_support {

// A target the composer made read-only, or a full disk met when the new file is closed (a copy:
// when it is copied).
enum class Fault { ReadOnly, DiskFullAtClose };
inline void PrintTo(Fault f, std::ostream* os) {
  *os << (f == Fault::ReadOnly ? "read-only" : "disk full");
}
inline std::string FaultSuffix(Fault f) {
  return f == Fault::ReadOnly ? "_ReadOnly" : "_DiskFullAtClose";
}

// Puts the fault in place: the target's mode (0444, or a writable 0640), and for a full disk the
// file table's fault at the close or the copy of that target. Returns the mode given.
inline std::filesystem::perms PutFault(Fault fault, const std::filesystem::path& target, bool copy) {
  const std::filesystem::perms mode =
      fault == Fault::ReadOnly ? std::filesystem::perms(0444) : std::filesystem::perms(0640);
  std::filesystem::permissions(target, mode);
  if (fault == Fault::DiskFullAtClose) {
    const std::string host = target.string();
    const platform::WriteStage stage = copy ? platform::WriteStage::Copy : platform::WriteStage::Close;
    platform::SetWriteFaults([host, stage](platform::WriteStage at, const std::string& file) {
      return at == stage && file == host ? ENOSPC : 0;
    });
  }
  return mode;
}

// The hidden new files (".<name>.<pid>.neu") that writers left in the folder.
inline std::vector<std::string> BesideLeftovers(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().filename().string().ends_with(".neu")) names.push_back(e.path().filename());
  return names;
}

}  // namespace testing_support
