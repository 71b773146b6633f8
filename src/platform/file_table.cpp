#include "platform/file_table.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <unistd.h>

#include "common/codec.h"
#include "common/errors.h"
#include "platform/beside_files.h"
#include "platform/drive_map.h"
#include "platform/write_support.h"

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
};

namespace {

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

// Flushes and closes an output; the system error of the first step that failed, 0 when all went
// well. `pending` is written first. A new file that is to replace its target (`durable`) is
// flushed to the disk before it is closed, so that it is whole on the disk before it is put in
// place.
int FinishOutput(std::FILE*& out, const fs::path& target, std::string_view pending,
                 bool durable) {
  int err = WriteBytes(out, target, pending);
  errno = 0;
  if (err == 0)
    err = std::fflush(out) == 0 ? InjectedFault(WriteStage::Flush, target) : LastError();
  errno = 0;
  if (err == 0 && durable)
    err = ::fsync(::fileno(out)) == 0 ? InjectedFault(WriteStage::Sync, target) : LastError();
  errno = 0;
  const bool closed = std::fclose(out) == 0;
  out = nullptr;
  if (err == 0) err = closed ? InjectedFault(WriteStage::Close, target) : LastError();
  return err;
}

}  // namespace

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
  int err = FinishOutput(f->out, f->finalPath, common::Cp1252OrUtf8Bytes(f->pending),
                         !f->tempPath.empty());
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
  if (const int err =
          FinishOutput(f->out, f->finalPath, common::Cp1252OrUtf8Bytes(f->pending), true)) {
    RemoveQuietly(f->tempPath);
    Raise(WriteErrorNumber(err, common::kDeviceIoError));
  }
  held_.emplace_back(f->tempPath, f->finalPath);
}

void FileTable::PutHeldInPlace() {
  const NewFiles held = std::move(held_);
  held_.clear();
  size_t failed = 0;
  if (const int err = PutAllInPlace(held, failed))
    Raise(WriteErrorNumber(err, common::kDeviceIoError));
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

}  // namespace platform
