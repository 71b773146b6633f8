// The current folder, kept as the Windows path the system set.
#include <filesystem>
#include <string>
#include <system_error>

#include "common/errors.h"
#include "platform/drive_map.h"
#include "platform/file_table.h"

namespace platform {
namespace fs = std::filesystem;

namespace {
std::string& CurrentFolderText() {
  static std::string folder;
  return folder;
}
}  // namespace

void ChangeFolder(std::string_view path) {
  fs::path host = Drives().ToHost(path);
  std::error_code ec;
  if (!fs::is_directory(host, ec)) common::Raise(common::kPathNotFound);
  fs::current_path(host, ec);
  if (ec) common::Raise(common::kPathNotFound);
  CurrentFolderText() = std::string(path);
}

std::string CurrentFolder() {
  if (!CurrentFolderText().empty()) return CurrentFolderText();
  std::error_code ec;
  return fs::current_path(ec).string();
}

}  // namespace platform
