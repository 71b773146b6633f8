// Numbered text files: open under a fixed number for input, output or append, read lines, print
// lines, test for the end, close. Lines end at CR LF, a lone CR or a lone LF; written lines end in
// CR LF. The system's files are Windows-1252 on disk and UTF-8 inside the program.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class DriveMap;

enum class Encoding {
  Cp1252,        // the system's own files
  Utf8OrCp1252,  // REAPER projects: UTF-8, or Windows-1252 when not valid UTF-8
};

class FileTable {
 public:
  FileTable();  // uses the process drive map
  explicit FileTable(const DriveMap& drives);
  ~FileTable();
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  // Errors: 55 number already open, 53 file missing (input), 76 folder missing, 70 no access.
  void OpenInput(int number, std::string_view path, Encoding encoding = Encoding::Cp1252);
  void OpenOutput(int number, std::string_view path);
  void OpenAppend(int number, std::string_view path);
  // Output that reaches `path` only when closed: a failure before Close leaves the old file whole
  // (the new text is written beside it and put in place by Close; a table destroyed with the file
  // still open drops the new text).
  void OpenOutputReplacing(int number, std::string_view path);

  bool IsOpen(int number) const;
  // Next line without its ending; 62 at the end, 52 when the number is not open, 54 for output.
  std::string LineInput(int number);
  bool Eof(int number) const;
  // Writes the text and CR LF.
  void Print(int number, std::string_view line);
  // Writes the text without a line end (the last line of a file that ends without one).
  void PrintText(int number, std::string_view text);
  void Close(int number);  // closing a number that is not open does nothing
  // Closes the number without putting a replacing output in place: its new text is dropped and
  // the old file stays as it was (for a write that failed half-way).
  void Abandon(int number);
  void CloseAll();

 private:
  struct File;
  File& Get(int number, bool forInput);
  // Removes the number from the table and gives its file (nullptr when it is not open).
  std::unique_ptr<File> Take(int number);
  const File* Find(int number) const;
  void OpenWriting(int number, std::string_view path, const char* mode, bool replacing);

  const DriveMap* drives_;
  std::map<int, std::unique_ptr<File>> files_;
};

// The whole text of a Windows-1252 file, decoded. Errors as OpenInput.
std::string ReadWholeFile(std::string_view path);

// Copies a file (53 when the source is missing, 76 when the target folder is missing).
void CopyFile(std::string_view source, std::string_view target);
bool FileExists(std::string_view path);

// Current folder, a Windows path as the system set it ("C:\Arbeit\").
void ChangeFolder(std::string_view path);  // 76 when it does not exist
std::string CurrentFolder();

}  // namespace platform
