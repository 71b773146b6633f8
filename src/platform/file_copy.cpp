// Copies of whole files, made beside the target and put in place when complete.
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/errors.h"
#include "platform/beside_files.h"
#include "platform/drive_map.h"
#include "platform/file_table.h"
#include "platform/write_support.h"

namespace platform {
namespace fs = std::filesystem;
using common::Raise;

namespace {

// The new copy is writable by its owner whatever the source's mode: a source from a CD, an
// archive or a read-only share would otherwise give a copy that every later copy onto it is
// refused for as read-only.
void MakeOwnerWritable(int newFile) {
  struct stat st;
  if (::fstat(newFile, &st) == 0 && (st.st_mode & S_IWUSR) == 0)
    ::fchmod(newFile, (st.st_mode & 0777) | S_IWUSR);
}

// Copies the bytes of `from` into the new file `to`, made with the permission bits of `target`,
// the file it is to replace (of the source where there is none) and writable by its owner, and
// flushes it to the disk. The system error of the first call that failed, 0 when the copy is
// complete. (The library's copy reports a copy cut short by a full disk as an error of the
// device.)
int CopyBytes(const fs::path& from, const fs::path& to, const fs::path& target) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return LastError();
  struct stat st;
  if (::fstat(in, &st) != 0) {
    const int err = LastError();
    ::close(in);
    return err;
  }
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0777);
  if (out < 0) {
    const int err = LastError();
    ::close(in);
    return err;
  }
  TakePermissionsOf(target, out);
  MakeOwnerWritable(out);
  int err = 0;
  std::vector<char> buffer(1 << 16);
  while (err == 0) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) err = LastError();
    if (got <= 0) break;
    for (ssize_t done = 0; done < got && err == 0;) {
      const ssize_t put = ::write(out, buffer.data() + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) err = LastError();
      else if (put == 0) err = EIO;
      else done += put;
    }
  }
  ::close(in);
  if (err == 0) err = InjectedFault(WriteStage::Copy, target);
  if (err == 0) err = ::fsync(out) == 0 ? InjectedFault(WriteStage::Sync, target) : LastError();
  if (::close(out) != 0 && err == 0) err = LastError();
  return err;
}

// A copy of the group on the host, the new file it makes beside its target, and its place in
// the group.
struct HostCopy {
  fs::path from, to, beside;
  size_t place;
};

// The runtime error of copy `index` of a group for the system error `err`.
[[noreturn]] void RaiseCopyError(int err, size_t index) {
  throw GroupCopyError(common::RuntimeError(WriteErrorNumber(err, common::kPermissionDenied)),
                       index);
}

// The source and the target of a copy checked before anything is copied: 53 or 76 for the
// source, then the checks of PrepareTarget. False for a file copied onto itself, which is
// already where it should be.
bool CheckCopy(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) {
    if (!fs::is_directory(from.parent_path(), ec)) Raise(common::kPathNotFound);
    Raise(common::kFileNotFound);
  }
  if (fs::equivalent(from, to, ec)) return false;
  PrepareTarget(to);
  return true;
}

}  // namespace

void CopyFilesTogether(const std::vector<FileCopy>& copies) {
  std::vector<HostCopy> host;
  for (size_t i = 0; i < copies.size(); ++i) {
    fs::path from = Drives().ToHost(copies[i].source);
    fs::path to = Drives().ToHost(copies[i].target);
    try {
      if (!CheckCopy(from, to)) continue;
    } catch (const common::RuntimeError& e) {
      throw GroupCopyError(e, i);
    }
    host.push_back({from, to, BesidePath(to), i});
  }
  NewFiles made;
  for (const HostCopy& c : host) {
    if (const int err = CopyBytes(c.from, c.beside, c.to)) {
      RemoveQuietly(c.beside);
      for (const auto& [beside, target] : made) RemoveQuietly(beside);
      RaiseCopyError(err, c.place);
    }
    made.emplace_back(c.beside, c.to);
  }
  size_t failed = 0;
  if (const int err = PutAllInPlace(made, failed)) RaiseCopyError(err, host[failed].place);
}

void CopyFile(std::string_view source, std::string_view target) {
  CopyFilesTogether({{std::string(source), std::string(target)}});
}

}  // namespace platform
