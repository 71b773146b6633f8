#include "platform/file_table.h"

#include <cerrno>
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
  size_t pos = 0;
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
  if (fs::is_directory(host, ec)) Raise(common::kPathFileAccessError);
  std::ifstream in(host, std::ios::binary);
  if (!in) {
    int err = errno;
    if (!fs::is_directory(host.parent_path(), ec)) Raise(common::kPathNotFound);
    if (!fs::exists(host, ec)) Raise(common::kFileNotFound);
    RaiseOpenError(err, host);
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// One line from data at pos; the ending (CR LF, CR or LF) is consumed but not returned.
std::string_view NextLine(const std::string& data, size_t& pos) {
  size_t start = pos;
  size_t end = data.find_first_of("\r\n", start);
  if (end == std::string::npos) {
    pos = data.size();
    return std::string_view(data).substr(start);
  }
  pos = end + 1;
  if (data[end] == '\r' && pos < data.size() && data[pos] == '\n') ++pos;
  return std::string_view(data).substr(start, end - start);
}

void WriteOrRaise(std::FILE* out, std::string_view bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
    Raise(errno == ENOSPC ? common::kDiskFull : common::kDeviceIoError);
  }
}

}  // namespace

FileTable::FileTable() : drives_(&Drives()) {}
FileTable::FileTable(const DriveMap& drives) : drives_(&drives) {}
// At the end of the program the runtime closes what is still open; a replacing output that was
// never closed belongs to a step that failed, so its new text is dropped and the old file stays.
FileTable::~FileTable() {
  for (auto& [number, f] : files_) {
    if (f->out && !f->tempPath.empty()) {
      std::fclose(f->out);
      f->out = nullptr;
      std::error_code ec;
      fs::remove(f->tempPath, ec);
    }
  }
  CloseAll();
}

bool FileTable::IsOpen(int number) const { return files_.count(number) != 0; }

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
  if (encoding == Encoding::Utf8OrCp1252 && common::IsValidUtf8(file->data)) {
    file->utf8 = true;
    if (file->data.starts_with("\xEF\xBB\xBF")) file->data.erase(0, 3);
  }
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
    file->tempPath = host.parent_path() / ("." + host.filename().string() + "." +
                                           std::to_string(::getpid()) + ".neu");
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
  if (f.pos >= f.data.size()) Raise(common::kInputPastEnd);
  std::string_view line = NextLine(f.data, f.pos);
  return f.utf8 ? std::string(line) : common::Cp1252ToUtf8(line);
}

bool FileTable::Eof(int number) const {
  const File* f = Find(number);
  if (!f) Raise(common::kBadFileNameOrNumber);
  return !f->input || f->pos >= f->data.size();
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
  bool ok = std::fflush(f->out) == 0;
  ok = (std::fclose(f->out) == 0) && ok;
  f->out = nullptr;
  if (!f->tempPath.empty()) {
    std::error_code ec;
    if (ok) fs::rename(f->tempPath, f->finalPath, ec);
    if (!ok || ec) {
      fs::remove(f->tempPath, ec);
      Raise(common::kDeviceIoError);
    }
  } else if (!ok) {
    Raise(common::kDeviceIoError);
  }
}

void FileTable::Abandon(int number) {
  std::unique_ptr<File> f = Take(number);
  if (!f || !f->out) return;
  std::fclose(f->out);
  f->out = nullptr;
  std::error_code ec;
  if (!f->tempPath.empty()) fs::remove(f->tempPath, ec);
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
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) Raise(common::kPermissionDenied);
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
