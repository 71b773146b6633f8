// A temporary drive root for tests: <tmp>/c/Arbeit exists, and files can be written into it.
// It is removed with everything in it when the object goes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "../temp_folder.h"

namespace testing_support {

class TempDriveRoot {
 public:
  TempDriveRoot() : root_(folder_.path()) { std::filesystem::create_directories(Arbeit()); }
  TempDriveRoot(const TempDriveRoot&) = delete;
  TempDriveRoot& operator=(const TempDriveRoot&) = delete;

  const std::filesystem::path& root() const { return root_; }
  // The host folder of "C:\Arbeit\".
  std::filesystem::path Arbeit() const { return root_ / "c" / "Arbeit"; }

  // Writes the bytes as they are into C:\Arbeit\<name>.
  void Write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(Arbeit() / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + name);
  }

 private:
  TempFolder folder_;
  std::filesystem::path root_;
};

}  // namespace testing_support
