#include "platform/file_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/codec.h"
#include "common/errors.h"
#include "platform/drive_map.h"

namespace platform {
namespace fs = std::filesystem;
using common::Raise;

struct FileTable::File {
  bool input = false;
  bool utf8 = false;  // input: the data is UTF-8 (else Windows-1252)
  std::string data;   // input: the whole file
  LineScanner lines;  // input: over data
  std::FILE* out = nullptr;
  fs::path finalPath;  // output: the file written (replacing output: where Close puts it)
  fs::path tempPath;   // replacing output: the new file beside it
  bool choosesCode = false;  // output: the code is chosen for the whole text at Close
  std::string pending;       // output that chooses its code: the text so far, UTF-8

  ~File() {
    if (out) std::fclose(out);
  }

  // The bytes of the text kept for Close: Windows-1252 when every character has a place there,
  // else the UTF-8 text itself.
  std::string PendingBytes() const {
    return common::FitsCp1252(pending) ? common::Utf8ToCp1252(pending) : pending;
  }
};

namespace {

[[noreturn]] void RaiseOpenError(int err, const fs::path& host) {
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

// The runtime's error for a failure of the system while a file is written, flushed, closed, put
// in place or copied; the same wherever it surfaces (buffered text meets a full disk only at the
// flush or the close). A file grown to the size limit the process may write is an error of the
// device, not a full disk.
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

WriteFaults& InjectedFaults() {
  static WriteFaults faults;
  return faults;
}

// The error a test injects at this stage, 0 for none.
int InjectedFault(WriteStage stage, const fs::path& target) {
  const WriteFaults& faults = InjectedFaults();
  return faults ? faults(stage, target.string()) : 0;
}

// errno after a call that failed; a failure that set none is an error of the device.
int LastError() { return errno != 0 ? errno : EIO; }

std::string ReadBytes(const fs::path& host) {
  std::error_code ec;
  // Only regular files are read: a folder, a FIFO or a device would block or never end.
  if (fs::exists(host, ec) && !fs::is_regular_file(host, ec)) Raise(common::kPathFileAccessError);
  std::ifstream in(host, std::ios::binary);
  if (!in) {
    int err = errno;
    if (!fs::is_directory(host.parent_path(), ec)) Raise(common::kPathNotFound);
    if (!fs::exists(host, ec)) Raise(common::kFileNotFound);
    RaiseOpenError(err, host);
  }
  // Read in one piece at the size the file has, then whatever it still holds beyond that.
  const std::uintmax_t size = fs::file_size(host, ec);
  std::string data(ec ? 0 : static_cast<size_t>(size), '\0');
  in.read(data.data(), static_cast<std::streamsize>(data.size()));
  data.resize(static_cast<size_t>(in.gcount()));
  char chunk[65536];
  while (in) {
    in.read(chunk, sizeof chunk);
    data.append(chunk, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) Raise(common::kDeviceIoError);
  return data;
}

// Writes the bytes; the system error, 0 when they are written.
int WriteBytes(std::FILE* out, const fs::path& target, std::string_view bytes) {
  if (bytes.empty()) return 0;
  if (const int err = InjectedFault(WriteStage::Write, target)) return err;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) return LastError();
  return 0;
}

void WriteOrRaise(std::FILE* out, const fs::path& target, std::string_view bytes) {
  if (const int err = WriteBytes(out, target, bytes))
    Raise(WriteErrorNumber(err, common::kDeviceIoError));
}

constexpr std::string_view kBesideEnding = ".neu";

// Where a new file is written before it replaces `target`: beside it, hidden, named per process.
fs::path BesidePath(const fs::path& target) {
  return target.parent_path() / ("." + target.filename().string() + "." +
                                 std::to_string(::getpid()) + std::string(kBesideEnding));
}

// Flushes and closes an output; the system error of the first that failed, 0 when both went well.
// `pending` is written first.
int FinishOutput(std::FILE*& out, const fs::path& target, std::string_view pending = {}) {
  int err = WriteBytes(out, target, pending);
  errno = 0;
  if (err == 0)
    err = std::fflush(out) == 0 ? InjectedFault(WriteStage::Flush, target) : LastError();
  errno = 0;
  const bool closed = std::fclose(out) == 0;
  out = nullptr;
  if (err == 0) err = closed ? InjectedFault(WriteStage::Close, target) : LastError();
  return err;
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// Puts a completed new file in place of its target; one that cannot be is removed. The system
// error, 0 when it is in place.
int PutInPlace(const fs::path& temp, const fs::path& target) {
  int err = InjectedFault(WriteStage::Rename, target);
  if (err == 0) {
    std::error_code ec;
    fs::rename(temp, target, ec);
    err = ec.value();
  }
  if (err != 0) RemoveQuietly(temp);
  return err;
}

// The new file beside a target that exists gets the target's permission bits.
void TakePermissionsOf(const fs::path& target, int newFile) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) ::fchmod(newFile, st.st_mode & 0777);
}

// Checks made before a file is written to `host` or copied there: 76 when its folder is
// missing, 75 for a read-only file. Then the folder is cleared of leftovers of killed writers.
void PrepareTarget(const fs::path& host) {
  std::error_code ec;
  const fs::path folder = host.parent_path().empty() ? fs::path(".") : host.parent_path();
  if (!fs::is_directory(folder, ec)) Raise(common::kPathNotFound);
  if (IsReadOnlyFile(host.string())) Raise(common::kPathFileAccessError);
  RemoveStaleBesideFiles(folder.string());
}

// PrepareTarget for an output opened on `host`, which a folder cannot be (75).
void PrepareWriting(const fs::path& host) {
  std::error_code ec;
  if (fs::is_directory(host, ec)) Raise(common::kPathFileAccessError);
  PrepareTarget(host);
}

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

// Copies the bytes of `from` into the new file `to`, made with the permission bits of `target`,
// the file it is to replace (of the source where there is none). The system error of the first
// call that failed, 0 when the copy is complete. (The library's copy reports a copy cut short by
// a full disk as an error of the device.)
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
  if (::close(out) != 0 && err == 0) err = LastError();
  return err;
}

}  // namespace

bool IsReadOnlyFile(const std::string& hostPath) {
  struct stat st;
  if (::stat(hostPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::faccessat(AT_FDCWD, hostPath.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
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

void SetWriteFaults(WriteFaults faults) { InjectedFaults() = std::move(faults); }

LineScanner::LineScanner(std::string_view text, size_t from)
    : text_(text),
      pos_(std::min(from, text.size())),
      nextCr_(Search('\r')),
      nextLf_(Search('\n')) {}

size_t LineScanner::Search(char c) const {
  if (pos_ >= text_.size()) return text_.size();
  const void* hit = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
}

// Each character is searched for again only when the line cursor has passed where it was last
// found: a file that uses only one of the two line ends is not searched through for the other
// one at every line.
size_t LineScanner::Behind(char c, size_t& cached) const {
  if (cached < pos_) cached = Search(c);
  return cached;
}

std::string_view LineScanner::Next() {
  const size_t start = pos_;
  const size_t cr = Behind('\r', nextCr_);
  const size_t end = std::min(cr, Behind('\n', nextLf_));
  if (end >= text_.size()) {
    pos_ = text_.size();
    return text_.substr(start);
  }
  pos_ = end + 1;
  if (end == cr && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return text_.substr(start, end - start);
}

FileTable::FileTable() : drives_(&Drives()) {}
FileTable::FileTable(const DriveMap& drives) : drives_(&drives) {}
// At the end of the program the runtime closes what is still open; a replacing output that was
// never closed belongs to a step that failed, so its new text is dropped and the old file stays.
FileTable::~FileTable() {
  while (!files_.empty()) Discard(files_.begin()->first);
  DropHeld();
}

bool FileTable::IsOpen(int number) const { return files_.count(number) != 0; }

int FileTable::FreeFile() const {
  int number = 1;
  while (IsOpen(number)) ++number;
  return number;
}

const FileTable::File* FileTable::Find(int number) const {
  auto it = files_.find(number);
  return it == files_.end() ? nullptr : it->second.get();
}

FileTable::File& FileTable::Get(int number, bool forInput) {
  auto it = files_.find(number);
  if (it == files_.end()) Raise(common::kBadFileNameOrNumber);
  if (it->second->input != forInput) Raise(common::kBadFileMode);
  return *it->second;
}

void FileTable::OpenInput(int number, std::string_view path, Encoding encoding) {
  if (IsOpen(number)) Raise(common::kFileAlreadyOpen);
  auto file = std::make_unique<File>();
  file->input = true;
  file->data = ReadBytes(drives_->ToHost(path));
  // UTF-8 or Windows-1252 is decided for the whole file, not line by line
  size_t start = 0;
  if (encoding == Encoding::Utf8OrCp1252 && common::IsValidUtf8(file->data)) {
    file->utf8 = true;
    if (file->data.starts_with("\xEF\xBB\xBF")) start = 3;
  }
  file->lines = LineScanner(file->data, start);
  files_[number] = std::move(file);
}

void FileTable::OpenWriting(int number, std::string_view path, const char* mode, bool replacing,
                            Encoding encoding) {
  if (IsOpen(number)) Raise(common::kFileAlreadyOpen);
  fs::path host = drives_->ToHost(path);
  PrepareWriting(host);
  auto file = std::make_unique<File>();
  file->finalPath = host;
  file->choosesCode = encoding == Encoding::Utf8OrCp1252;
  fs::path target = host;
  if (replacing) {
    file->tempPath = BesidePath(host);
    target = file->tempPath;
  }
  file->out = std::fopen(target.c_str(), mode);
  if (!file->out) RaiseOpenError(errno, target);
  if (replacing) TakePermissionsOf(host, ::fileno(file->out));
  files_[number] = std::move(file);
}

void FileTable::OpenOutput(int number, std::string_view path) {
  OpenWriting(number, path, "wb", false);
}
void FileTable::OpenAppend(int number, std::string_view path) {
  OpenWriting(number, path, "ab", false);
}
void FileTable::OpenOutputReplacing(int number, std::string_view path, Encoding encoding) {
  OpenWriting(number, path, "wb", true, encoding);
}

std::string FileTable::LineInput(int number) {
  File& f = Get(number, true);
  if (f.lines.AtEnd()) Raise(common::kInputPastEnd);
  std::string_view line = f.lines.Next();
  return f.utf8 ? std::string(line) : common::Cp1252ToUtf8(line);
}

bool FileTable::Eof(int number) const {
  const File* f = Find(number);
  if (!f) Raise(common::kBadFileNameOrNumber);
  return !f->input || f->lines.AtEnd();
}

std::string FileTable::InputRest(int number) {
  File& f = Get(number, true);
  const size_t from = f.lines.Position();
  std::string rest;
  if (!f.utf8) {
    rest = common::Cp1252ToUtf8(std::string_view(f.data).substr(from));
  } else if (from == 0) {
    rest = std::move(f.data);  // the whole file: handed over, not copied
  } else {
    rest = f.data.substr(from);
  }
  f.lines = LineScanner();
  f.data = std::string();
  return rest;
}

void FileTable::Write(File& f, std::string_view text) {
  if (f.choosesCode) f.pending += text;
  else WriteOrRaise(f.out, f.finalPath, common::Utf8ToCp1252(text));
}

void FileTable::Print(int number, std::string_view line) {
  File& f = Get(number, false);
  Write(f, line);
  Write(f, "\r\n");
}

void FileTable::PrintText(int number, std::string_view text) { Write(Get(number, false), text); }

std::unique_ptr<FileTable::File> FileTable::Take(int number) {
  auto it = files_.find(number);
  if (it == files_.end()) return nullptr;
  std::unique_ptr<File> f = std::move(it->second);
  files_.erase(it);
  return f;
}

void FileTable::Close(int number) {
  std::unique_ptr<File> f = Take(number);
  if (!f || !f->out) return;
  int err = FinishOutput(f->out, f->finalPath, f->PendingBytes());
  if (!f->tempPath.empty()) {
    if (err != 0) RemoveQuietly(f->tempPath);
    else err = PutInPlace(f->tempPath, f->finalPath);
  }
  if (err != 0) Raise(WriteErrorNumber(err, common::kDeviceIoError));
}

void FileTable::CloseHeld(int number) {
  const File* open = Find(number);
  if (!open) return;
  if (!open->out || open->tempPath.empty()) {
    Close(number);
    return;
  }
  std::unique_ptr<File> f = Take(number);
  if (const int err = FinishOutput(f->out, f->finalPath, f->PendingBytes())) {
    RemoveQuietly(f->tempPath);
    Raise(WriteErrorNumber(err, common::kDeviceIoError));
  }
  held_.emplace_back(f->tempPath.string(), f->finalPath.string());
}

void FileTable::PutHeldInPlace() {
  std::vector<std::pair<std::string, std::string>> held = std::move(held_);
  held_.clear();
  int err = 0;
  for (const auto& [temp, target] : held) {
    if (err == 0) err = PutInPlace(temp, target);
    else RemoveQuietly(temp);
  }
  if (err != 0) Raise(WriteErrorNumber(err, common::kDeviceIoError));
}

void FileTable::DropHeld() {
  for (const auto& [temp, target] : held_) RemoveQuietly(temp);
  held_.clear();
}

void FileTable::Discard(int number) {
  const File* open = Find(number);
  if (!open) return;
  if (open->out && !open->tempPath.empty()) {
    std::unique_ptr<File> f = Take(number);
    std::fclose(f->out);
    f->out = nullptr;
    RemoveQuietly(f->tempPath);
    return;
  }
  try {
    Close(number);
  } catch (const common::RuntimeError&) {
  }
}

void FileTable::CloseAll() {
  while (!files_.empty()) {
    try {
      Close(files_.begin()->first);
    } catch (const common::RuntimeError&) {
    }
  }
}

std::string ReadWholeFile(std::string_view path) {
  return common::Cp1252ToUtf8(ReadBytes(Drives().ToHost(path)));
}

bool FileExists(std::string_view path) {
  std::error_code ec;
  return fs::is_regular_file(Drives().ToHost(path), ec);
}

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
  if (err == 0) err = InjectedFault(WriteStage::Copy, to);
  if (err == 0) err = PutInPlace(beside, to);
  if (err != 0) {
    RemoveQuietly(beside);
    Raise(WriteErrorNumber(err, common::kPermissionDenied));
  }
}

namespace {
std::string& CurrentFolderText() {
  static std::string folder;
  return folder;
}
}  // namespace

void ChangeFolder(std::string_view path) {
  fs::path host = Drives().ToHost(path);
  std::error_code ec;
  if (!fs::is_directory(host, ec)) Raise(common::kPathNotFound);
  fs::current_path(host, ec);
  if (ec) Raise(common::kPathNotFound);
  CurrentFolderText() = std::string(path);
}

std::string CurrentFolder() {
  if (!CurrentFolderText().empty()) return CurrentFolderText();
  std::error_code ec;
  return fs::current_path(ec).string();
}

}  // namespace platform
