#include "platform/write_support.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/errors.h"

namespace platform {
namespace fs = std::filesystem;
using common::Raise;

void RaiseOpenError(int err, const fs::path& host) {
  switch (err) {
    case ENOENT:
    case ENOTDIR: {
      std::error_code ec;
      if (!fs::is_directory(host.parent_path(), ec)) Raise(common::kPathNotFound);
      Raise(common::kFileNotFound);
    }
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      Raise(common::kPermissionDenied);
    case ENOSPC:
    case EDQUOT:
      Raise(common::kDiskFull);
    default:
      Raise(common::kPathFileAccessError);
  }
}

// The same wherever the failure surfaces (buffered text meets a full disk only at the flush or
// the close). A file grown to the size limit the process may write is an error of the device,
// not a full disk.
int WriteErrorNumber(int err, int otherwise) {
  switch (err) {
    case ENOSPC:
    case EDQUOT:
      return common::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return common::kPermissionDenied;
    case EIO:
    case EFBIG:
      return common::kDeviceIoError;
    default:
      return otherwise;
  }
}

namespace {
WriteFaults& InjectedFaults() {
  static WriteFaults faults;
  return faults;
}
}  // namespace

void SetWriteFaults(WriteFaults faults) { InjectedFaults() = std::move(faults); }

int InjectedFault(WriteStage stage, const fs::path& target) {
  const WriteFaults& faults = InjectedFaults();
  return faults ? faults(stage, target.string()) : 0;
}

int LastError() { return errno != 0 ? errno : EIO; }

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

namespace {

// The folder a host path names a file in ("." for a bare name).
fs::path FolderOf(const fs::path& host) {
  return host.parent_path().empty() ? fs::path(".") : host.parent_path();
}

// Flushes the folder of `target` to the disk, so that the new file put in place there is still
// in place after a crash. Its failure is not a failure of the write: the new file is whole in
// place, and a crash before the folder reached the disk finds the old file or the new one, whole
// either way. So an error here, the system's or the seam's, is not reported.
void SyncFolderOf(const fs::path& target) {
  const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  if (::fsync(fd) == 0) InjectedFault(WriteStage::SyncFolder, target);
  ::close(fd);
}

}  // namespace

int PutInPlace(const fs::path& temp, const fs::path& target) {
  int err = InjectedFault(WriteStage::Rename, target);
  if (err == 0) {
    std::error_code ec;
    fs::rename(temp, target, ec);
    err = ec.value();
  }
  if (err != 0) {
    RemoveQuietly(temp);
    return err;
  }
  SyncFolderOf(target);
  return 0;
}

int PutAllInPlace(const NewFiles& files, size_t& failed) {
  int err = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    if (err != 0) {
      RemoveQuietly(files[i].first);
    } else if ((err = PutInPlace(files[i].first, files[i].second)) != 0) {
      failed = i;
    }
  }
  return err;
}

void TakePermissionsOf(const fs::path& target, int newFile) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) ::fchmod(newFile, st.st_mode & 0777);
}

bool IsReadOnlyFile(const std::string& hostPath) {
  struct stat st;
  if (::stat(hostPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::faccessat(AT_FDCWD, hostPath.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

void PrepareTarget(const fs::path& host) {
  std::error_code ec;
  const fs::path folder = FolderOf(host);
  if (!fs::is_directory(folder, ec)) Raise(common::kPathNotFound);
  if (IsReadOnlyFile(host.string())) Raise(common::kPathFileAccessError);
  RemoveStaleBesideFiles(folder.string());
}

void PrepareWriting(const fs::path& host) {
  std::error_code ec;
  if (fs::is_directory(host, ec)) Raise(common::kPathFileAccessError);
  PrepareTarget(host);
}

}  // namespace platform
