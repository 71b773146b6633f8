// The faults the writers' tests put in a writer's way (by the file table's fault seam where no
// file mode does), the names of their cases, and what a writer may leave behind.
#pragma once

#include <cerrno>
#include <filesystem>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_table.h"

namespace testing_support {

// A target the composer made read-only, a full disk met when the new file is closed (a copy:
// when it is copied), or one met when the new file is flushed to the disk before it is put in
// place.
enum class Fault { ReadOnly, DiskFullAtClose, DiskFullAtSync };
inline const char* FaultName(Fault f) {
  switch (f) {
    case Fault::ReadOnly: return "ReadOnly";
    case Fault::DiskFullAtClose: return "DiskFullAtClose";
    case Fault::DiskFullAtSync: return "DiskFullAtSync";
  }
  return "";
}
inline void PrintTo(Fault f, std::ostream* os) { *os << FaultName(f); }

// Every fault, for a writer's cases combined with them.
inline auto EveryFault() {
  return ::testing::Values(Fault::ReadOnly, Fault::DiskFullAtClose, Fault::DiskFullAtSync);
}

// The name of a writer's case under a fault: "<writer>_ReadOnly", "<writer>_DiskFullAtClose",
// "<writer>_DiskFullAtSync".
template <class Param>
std::string WriterFaultName(const ::testing::TestParamInfo<Param>& info) {
  return std::string(std::get<0>(info.param).name) + "_" + FaultName(std::get<1>(info.param));
}

// The file table's fault: the system error `err` at that stage of writing the host file `host`.
inline platform::WriteFaults FailAt(platform::WriteStage stage, const std::string& host, int err) {
  return [stage, host, err](platform::WriteStage at, const std::string& file) {
    return at == stage && file == host ? err : 0;
  };
}

// Puts the fault in place: the target's mode (0444, or a writable 0640), and for a full disk the
// file table's fault at the close or the copy of that target, or at its flush to the disk
// (copies and new files alike). Returns the mode given.
inline std::filesystem::perms PutFault(Fault fault, const std::filesystem::path& target, bool copy) {
  const std::filesystem::perms mode =
      fault == Fault::ReadOnly ? std::filesystem::perms(0444) : std::filesystem::perms(0640);
  std::filesystem::permissions(target, mode);
  if (fault == Fault::DiskFullAtClose)
    platform::SetWriteFaults(FailAt(copy ? platform::WriteStage::Copy : platform::WriteStage::Close,
                                    target.string(), ENOSPC));
  if (fault == Fault::DiskFullAtSync)
    platform::SetWriteFaults(FailAt(platform::WriteStage::Sync, target.string(), ENOSPC));
  return mode;
}

// The hidden new files (".<name>.….neu") that writers left in the folder.
inline std::vector<std::string> BesideLeftovers(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().filename().string().ends_with(".neu")) names.push_back(e.path().filename());
  return names;
}

// The messages of a case, each with the error's text in place of its "%".
inline std::vector<std::string> WithCause(std::vector<std::string> messages,
                                          const std::string& cause) {
  for (std::string& m : messages) m.replace(m.find('%'), 1, cause);
  return messages;
}

}  // namespace testing_support
