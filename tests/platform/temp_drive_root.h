// A drive root in a fresh temporary folder, removed again at the end of the test, with helpers
// to lay out and read files in it as bytes.
#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include "../temp_folder.h"
#include "common/errors.h"

namespace platform_test {

// The bytes of a host file ("" when it cannot be read).
inline std::string ReadHostFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes the bytes to a host file, creating its folders; optionally executable.
inline void WriteHostFile(const std::filesystem::path& path, const std::string& bytes,
                          bool executable = false) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  if (executable) chmod(path.c_str(), 0755);
}

// An environment variable, and putting it back as it was.
inline std::optional<std::string> Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::optional<std::string>(v) : std::nullopt;
}
inline void RestoreEnv(const char* name, const std::optional<std::string>& value) {
  if (value) setenv(name, value->c_str(), 1);
  else unsetenv(name);
}

class TempDriveRoot {
 public:
  TempDriveRoot() : root_(folder_.path()) {}
  TempDriveRoot(const TempDriveRoot&) = delete;
  TempDriveRoot& operator=(const TempDriveRoot&) = delete;

  const std::filesystem::path& root() const { return root_; }

  // Host path of a path relative to the root ("c/Arbeit/Tesu.rsz").
  std::filesystem::path operator/(const std::string& relative) const { return root_ / relative; }

  void MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(root_ / relative);
  }

  // Writes the bytes to the file, creating its folders.
  void Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path p = root_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << bytes;
  }

  std::string Read(const std::string& relative) const { return ReadHost(root_ / relative); }

  static std::string ReadHost(const std::filesystem::path& p) { return ReadHostFile(p); }

 private:
  testing_support::TempFolder folder_{"ormila_drives"};
  std::filesystem::path root_;
};

// Runs f and returns the runtime error number it raised, or 0 when it raised none.
template <class F>
int ErrorOf(F f) {
  try {
    f();
  } catch (const common::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace platform_test
