#include "platform/write_support.h"

#include <cerrno>
#include <cstdio>
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

fs::path FolderOf(const fs::path& host) {
  return host.parent_path().empty() ? fs::path(".") : host.parent_path();
}

namespace {

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

namespace {

// How a file of a group was put in place, and so how it is taken back.
enum class Placed {
  Exchanged,  // with the old target, whose text now stands under the new file's name
  Created,    // where no target was
  Replaced,   // over the old target, which is gone (the file system cannot exchange two names)
};

// Puts the new file of a group in place of its target: exchanged with an old target where the
// file system can, so that the old text stays, under the new file's name, until the whole group
// is in place. The system error, 0 when it is in place.
int PutInPlaceKeepingTheOld(const fs::path& temp, const fs::path& target, Placed& placed) {
  if (const int err = InjectedFault(WriteStage::Rename, target)) return err;
  if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
    placed = Placed::Exchanged;
    return 0;
  }
  const int err = errno;
  if (err != ENOENT && err != EINVAL && err != ENOSYS) return err;
  placed = err == ENOENT ? Placed::Created : Placed::Replaced;
  return ::rename(temp.c_str(), target.c_str()) == 0 ? 0 : LastError();
}

}  // namespace

int PutAllInPlace(const NewFiles& files, size_t& failed) {
  if (files.size() == 1) {  // one file has nothing to give back
    failed = 0;
    return PutInPlace(files[0].first, files[0].second);
  }
  std::vector<Placed> placed;
  int err = 0;
  for (const auto& [temp, target] : files) {
    Placed how = Placed::Replaced;
    if ((err = PutInPlaceKeepingTheOld(temp, target, how)) != 0) break;
    placed.push_back(how);
  }
  if (err != 0) {
    // The files put in place before the one that failed give way to the old ones again, and the
    // new files are removed (but an old text that could not be given back, which stays beside).
    failed = placed.size();
    for (size_t i = 0; i < files.size(); ++i) {
      const auto& [temp, target] = files[i];
      if (i < placed.size() && placed[i] == Placed::Exchanged &&
          ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0)
        continue;
      if (i < placed.size() && placed[i] == Placed::Created) RemoveQuietly(target);
      RemoveQuietly(temp);
    }
    return err;
  }
  for (size_t i = 0; i < files.size(); ++i) {
    SyncFolderOf(files[i].second);
    if (placed[i] == Placed::Exchanged) RemoveQuietly(files[i].first);
  }
  return 0;
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
