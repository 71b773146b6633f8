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

}  // namespace

void CopyFile(std::string_view source, std::string_view target) {
  fs::path from = Drives().ToHost(source);
  fs::path to = Drives().ToHost(target);
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) {
    if (!fs::is_directory(from.parent_path(), ec)) Raise(common::kPathNotFound);
    Raise(common::kFileNotFound);
  }
  // A file copied onto itself is already where it should be.
  if (fs::equivalent(from, to, ec)) return;
  PrepareTarget(to);
  const fs::path beside = BesidePath(to);
  int err = CopyBytes(from, beside, to);
  if (err == 0) err = PutInPlace(beside, to);
  if (err != 0) {
    RemoveQuietly(beside);
    Raise(WriteErrorNumber(err, common::kPermissionDenied));
  }
}

}  // namespace platform
