// A drive root in a fresh temporary folder, removed again at the end of the test, with helpers
// to lay out and read files in it as bytes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "common/errors.h"

namespace platform_test {

class TempDriveRoot {
 public:
  TempDriveRoot() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ormila_drives_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
  }
  ~TempDriveRoot() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
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

  static std::string ReadHost(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
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
