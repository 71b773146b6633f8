#include "platform/file_table.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
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
  fs::path finalPath;  // replacing output: where Close puts the file
  fs::path tempPath;

  ~File() {
    if (out) std::fclose(out);
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
      Raise(common::kDiskFull);
    default:
      Raise(common::kPathFileAccessError);
  }
}

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

void WriteOrRaise(std::FILE* out, std::string_view bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
    Raise(errno == ENOSPC ? common::kDiskFull : common::kDeviceIoError);
  }
}

// Where a new file is written before it replaces `target`: beside it, hidden, named per process.
fs::path BesidePath(const fs::path& target) {
  return target.parent_path() /
         ("." + target.filename().string() + "." + std::to_string(::getpid()) + ".neu");
}

// Flushes and closes an output; false when either failed.
bool FinishOutput(std::FILE*& out) {
  bool ok = std::fflush(out) == 0;
  ok = (std::fclose(out) == 0) && ok;
  out = nullptr;
  return ok;
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// Puts a completed new file in place of its target; one that cannot be is removed (false).
bool PutInPlace(const fs::path& temp, const fs::path& target) {
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) RemoveQuietly(temp);
  return !ec;
}

}  // namespace

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

void FileTable::OpenWriting(int number, std::string_view path, const char* mode, bool replacing) {
  if (IsOpen(number)) Raise(common::kFileAlreadyOpen);
  fs::path host = drives_->ToHost(path);
  auto file = std::make_unique<File>();
  std::error_code ec;
  if (fs::is_directory(host, ec)) Raise(common::kPathFileAccessError);
  if (!fs::is_directory(host.parent_path().empty() ? fs::path(".") : host.parent_path(), ec))
    Raise(common::kPathNotFound);
  fs::path target = host;
  if (replacing) {
    file->finalPath = host;
    file->tempPath = BesidePath(host);
    target = file->tempPath;
  }
  file->out = std::fopen(target.c_str(), mode);
  if (!file->out) RaiseOpenError(errno, target);
  files_[number] = std::move(file);
}

void FileTable::OpenOutput(int number, std::string_view path) {
  OpenWriting(number, path, "wb", false);
}
void FileTable::OpenAppend(int number, std::string_view path) {
  OpenWriting(number, path, "ab", false);
}
void FileTable::OpenOutputReplacing(int number, std::string_view path) {
  OpenWriting(number, path, "wb", true);
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

void FileTable::Print(int number, std::string_view line) {
  File& f = Get(number, false);
  WriteOrRaise(f.out, common::Utf8ToCp1252(line));
  WriteOrRaise(f.out, "\r\n");
}

void FileTable::PrintText(int number, std::string_view text) {
  File& f = Get(number, false);
  WriteOrRaise(f.out, common::Utf8ToCp1252(text));
}

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
  const bool ok = FinishOutput(f->out);
  if (f->tempPath.empty()) {
    if (!ok) Raise(common::kDeviceIoError);
    return;
  }
  if (!ok) RemoveQuietly(f->tempPath);
  if (!ok || !PutInPlace(f->tempPath, f->finalPath)) Raise(common::kDeviceIoError);
}

void FileTable::CloseHeld(int number) {
  const File* open = Find(number);
  if (!open) return;
  if (!open->out || open->tempPath.empty()) {
    Close(number);
    return;
  }
  std::unique_ptr<File> f = Take(number);
  if (!FinishOutput(f->out)) {
    RemoveQuietly(f->tempPath);
    Raise(common::kDeviceIoError);
  }
  held_.emplace_back(f->tempPath.string(), f->finalPath.string());
}

void FileTable::PutHeldInPlace() {
  std::vector<std::pair<std::string, std::string>> held = std::move(held_);
  held_.clear();
  bool ok = true;
  for (const auto& [temp, target] : held) {
    if (ok) ok = PutInPlace(temp, target);
    else RemoveQuietly(temp);
  }
  if (!ok) Raise(common::kDeviceIoError);
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
  if (!fs::is_directory(to.parent_path(), ec)) Raise(common::kPathNotFound);
  // A file copied onto itself is already where it should be.
  if (fs::equivalent(from, to, ec)) return;
  const fs::path beside = BesidePath(to);
  fs::copy_file(from, beside, fs::copy_options::overwrite_existing, ec);
  if (ec) RemoveQuietly(beside);
  if (ec || !PutInPlace(beside, to)) Raise(common::kPermissionDenied);
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
