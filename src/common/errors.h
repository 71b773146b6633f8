// Runtime errors of the classic runtime (number and German text) and the program-end signal.
#pragma once

#include <stdexcept>
#include <string>

namespace common {

// Classic runtime error numbers used by the system.
enum ErrorNumber : int {
  kInvalidCall = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  kBadFileNameOrNumber = 52,
  kFileNotFound = 53,
  kBadFileMode = 54,
  kFileAlreadyOpen = 55,
  kDeviceIoError = 57,
  kFileAlreadyExists = 58,
  kDiskFull = 61,
  kInputPastEnd = 62,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,  // also: a read-only file opened for writing
  kPathNotFound = 76,
};

// The German text the runtime gives for an error number.
std::string ErrorText(int number);

// A runtime error: what an untrapped error shows is "Laufzeitfehler 'N':" and the text.
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  RuntimeError(int number, std::string text);
  int number() const { return number_; }
  const std::string& text() const { return text_; }
  // "Laufzeitfehler '53':\n\nDatei nicht gefunden"
  std::string Message() const;

 private:
  int number_;
  std::string text_;
};

[[noreturn]] void Raise(int number);

// Runs a step whose runtime error only ends that step; true when it ran to its end.
template <class F>
bool SkipOnRuntimeError(F&& step) {
  try {
    step();
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

// Ending the program ("End"): unwinds to main(), so nothing after the call runs.
struct ProgramEnd {
  int exitStatus = 0;
};

[[noreturn]] inline void EndProgram(int exitStatus = 0) { throw ProgramEnd{exitStatus}; }

}  // namespace common
