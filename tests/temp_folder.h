// A folder of the test's own: made fresh by mkdtemp in the system's temporary folder ($TMPDIR,
// else /tmp), so that no other run (another checkout, another user, the same suite started twice)
// can share it, and removed with everything in it when the object goes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testing_support {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "ormila-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed: " + pattern);
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
