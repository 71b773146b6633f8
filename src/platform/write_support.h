// Inside the platform layer's file functions only (the public ones are in file_table.h): the
// runtime's errors for the system's failures, the fault-injection seam, putting a new file in
// place, its permission bits and the checks made before a file is written.
#pragma once

#include <cstddef>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/file_table.h"

namespace platform {

// The runtime's error for a failed open of `host` (53, 76, 70, 61, else 75).
[[noreturn]] void RaiseOpenError(int err, const std::filesystem::path& host);

// The runtime's error for a failure of the system while a file is written, flushed, closed, put
// in place or copied; `otherwise` for an error that has none of its own.
int WriteErrorNumber(int err, int otherwise);

// The error a test injects at this stage of writing `target`, 0 for none.
int InjectedFault(WriteStage stage, const std::filesystem::path& target);

// errno after a call that failed; a failure that set none is an error of the device.
int LastError();

void RemoveQuietly(const std::filesystem::path& path);

// The folder a host path names a file in ("." for a bare name).
std::filesystem::path FolderOf(const std::filesystem::path& host);

// Puts a completed new file, already flushed to the disk, in place of its target, and flushes
// the folder then; a new file that cannot be put in place is removed. The system error, 0 when
// it is in place.
int PutInPlace(const std::filesystem::path& temp, const std::filesystem::path& target);

// Completed new files and the targets they replace.
using NewFiles = std::vector<std::pair<std::filesystem::path, std::filesystem::path>>;

// Puts the new files in place, in order, whole or not at all: the first that cannot be stops the
// rest, those before it get their old targets back (where the file system can exchange two names;
// a target that was not there is removed again), and every new file is removed. The system
// error, 0 when all are in place; `failed` is then the place in the list of the one that could
// not be.
int PutAllInPlace(const NewFiles& files, size_t& failed);

// The new file beside a target that exists gets the target's permission bits.
void TakePermissionsOf(const std::filesystem::path& target, int newFile);

// Checks made before a file is written to `host` or copied there: 76 when its folder is
// missing, 75 for a read-only file. Then the folder is cleared of leftovers of killed writers.
void PrepareTarget(const std::filesystem::path& host);

// PrepareTarget for an output opened on `host`, which a folder cannot be (75).
void PrepareWriting(const std::filesystem::path& host);

}  // namespace platform
