// Numbered text files: open under a fixed number for input, output or append, read lines, print
// lines, test for the end, close. Lines end at CR LF, a lone CR or a lone LF; written lines end in
// CR LF. The system's files are Windows-1252 on disk (or UTF-8 where they hold names in other
// scripts, see Encoding) and UTF-8 inside the program. Also the file functions around it:
// copies, the read-only check, the leftovers of killed writers, the fault-injection seam and the
// current folder (each defined in the file named after it).
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "platform/line_scanner.h"

namespace platform {

class DriveMap;

enum class Encoding {
  Cp1252,  // the system's own files
  // REAPER projects, and the files that hold names the composer chose (which REAPER may have
  // given in any script): read as UTF-8 when the file is valid UTF-8, else as Windows-1252;
  // written in Windows-1252 when every character of the whole file has a place there (so a
  // file of umlauts stays as it always was), else in UTF-8.
  Utf8OrCp1252,
};

class FileTable {
 public:
  FileTable();  // uses the process drive map
  explicit FileTable(const DriveMap& drives);
  ~FileTable();
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  // Errors: 55 number already open, 53 file missing (input), 76 folder missing, 70 no access.
  // Opening for writing refuses a file that is read-only (see IsReadOnlyFile) with 75, as the
  // original platform does, before anything is written; it also removes the hidden leftovers of
  // writers that were killed in that folder (see RemoveStaleBesideFiles).
  void OpenInput(int number, std::string_view path, Encoding encoding = Encoding::Cp1252);
  void OpenOutput(int number, std::string_view path);
  void OpenAppend(int number, std::string_view path);
  // Output that reaches `path` only when closed: a failure before Close leaves the old file whole
  // (the new text is written hidden beside it, in a file named after the target and this process,
  // and put in place by Close; a table destroyed with the file still open drops the new text).
  // The new file is flushed to the disk before it is put in place, and its folder after that, so
  // that a crash finds the old file or the new one, whole. The new file gets the permission bits
  // of the file it replaces. With Utf8OrCp1252 the text is kept until Close, which chooses the
  // code for the whole file and writes it then.
  void OpenOutputReplacing(int number, std::string_view path,
                           Encoding encoding = Encoding::Cp1252);

  bool IsOpen(int number) const;
  // The lowest file number not in use.
  int FreeFile() const;
  // Next line without its ending; 62 at the end, 52 when the number is not open, 54 for output.
  std::string LineInput(int number);
  bool Eof(int number) const;
  // The rest of an input file's text from the current line on, decoded, in one piece (empty at
  // the end); the file stands at its end afterwards. 52 when the number is not open, 54 for output.
  std::string InputRest(int number);
  // Writes the text and CR LF. A failure of the system while a file is written, flushed, closed
  // or put in place is 61 when the disk is full, 70 when access is denied, else 57.
  void Print(int number, std::string_view line);
  // Writes the text without a line end (the last line of a file that ends without one).
  void PrintText(int number, std::string_view text);
  void Close(int number);  // closing a number that is not open does nothing
  // Closes without putting a replacing output in place: the new text is dropped, the old file
  // stays as it was. Other files are closed as by Close.
  void Discard(int number);
  void CloseAll();

  // Files written as a group: CloseHeld completes a replacing output beside its target but keeps
  // the old file in place; PutHeldInPlace then puts every held file in place, in the order they
  // were closed, all or none (see CopyFilesTogether); DropHeld (or the end of the table) removes
  // them, leaving the old files.
  void CloseHeld(int number);
  void PutHeldInPlace();
  void DropHeld();

 private:
  struct File;
  File& Get(int number, bool forInput);
  // Removes the number from the table and gives its file (nullptr when it is not open).
  std::unique_ptr<File> Take(int number);
  const File* Find(int number) const;
  void OpenWriting(int number, std::string_view path, const char* mode, bool replacing,
                   Encoding encoding = Encoding::Cp1252);
  void Write(File& f, std::string_view text);

  const DriveMap* drives_;
  std::map<int, std::unique_ptr<File>> files_;
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> held_;  // new file, target
};

// ---- whole files (file_table.cpp)

// The whole text of a Windows-1252 file, decoded. Errors as OpenInput.
std::string ReadWholeFile(std::string_view path);

bool FileExists(std::string_view path);

// ---- copies (file_copy.cpp)

// Copies a file (53 when the source is missing, 76 when the target folder is missing, 75 when the
// target is read-only, 61 when the disk is full, 57 for an error of the device, else 70). The copy
// is made beside the target, flushed to the disk and put in place when complete, with the
// permission bits of the target it replaces (of the source where there is none), and always
// writable by its owner: a failed copy leaves the target as it was; a file copied onto itself is
// left as it is.
void CopyFile(std::string_view source, std::string_view target);

// One copy of a group: a source and its target.
struct FileCopy {
  std::string source, target;
};

// The error of a group of copies, and which copy of the group (its place in the list) it met.
class GroupCopyError : public common::RuntimeError {
 public:
  GroupCopyError(const common::RuntimeError& error, size_t index)
      : common::RuntimeError(error), index_(index) {}
  size_t index() const { return index_; }

 private:
  size_t index_;
};

// Copies a group of files whole or not at all: every source and every target is checked before
// the first byte is copied (the errors of CopyFile), every copy is made beside its target, and
// only when all are complete are they put in place, in the order given (as PutHeldInPlace does).
// A failure leaves every target as it was and nothing beside them, and raises GroupCopyError;
// one met when a later copy is put in place gives the earlier targets their old text back (on a
// file system that can exchange two names, as the local ones can).
// CopyFile is the group of one copy.
void CopyFilesTogether(const std::vector<FileCopy>& copies);

// ---- the read-only check (write_support.cpp)

// A file the composer protected: its mode has no write bit at all (like the original platform's
// read-only attribute, this holds for every user, root included), or this user may not write it.
// A missing file and a folder are not read-only files.
bool IsReadOnlyFile(const std::string& hostPath);

// ---- the new files written beside their targets (beside_files.cpp)

// Removes the hidden new files in the host folder that writers of this system killed while
// writing left behind: a file whose name has exactly the form of one (see beside_files.cpp)
// naming a writer of this boot and of this process's pid and time namespaces, when no process of
// that id and that start time runs any more. Every other file is kept: those of running writers, of this process, of writers
// that cannot be seen from here (another machine, a container) and any name that only looks
// alike.
void RemoveStaleBesideFiles(const std::string& hostFolder);

// ---- the fault-injection seam (write_support.cpp)

// Where writing a file can fail: a write, the flush of an output, the flush of a new file to the
// disk (before it is closed and put in place), the close of an output, putting a new file in
// place, the flush of its folder to the disk after that (a failure there is not reported: the
// file is in place), a copy of the bytes.
enum class WriteStage { Write, Flush, Sync, Close, Rename, SyncFolder, Copy };
// A fault-injection seam for tests: asked at each stage with the host path of the target, it
// returns the system error (an errno value) the stage fails with, or 0 to let it run. Empty: none.
using WriteFaults = std::function<int(WriteStage stage, const std::string& hostTarget)>;
void SetWriteFaults(WriteFaults faults);

// ---- the current folder (current_folder.cpp)

// Current folder, a Windows path as the system set it ("C:\Arbeit\").
void ChangeFolder(std::string_view path);  // 76 when it does not exist
std::string CurrentFolder();

}  // namespace platform
