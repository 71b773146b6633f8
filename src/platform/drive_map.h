// The drive map: Windows drive paths ("C:\Arbeit\Tesu.rsz") are turned into host paths only when
// a file is opened, copied or started. Drive X is the folder <root>/x; each component is matched
// without regard to case against what exists, and a component that does not exist keeps its
// spelling; blanks at the end of the path are dropped, as Windows drops them. A path that is not a
// Windows drive path is used as it is.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

class DriveMap {
 public:
  explicit DriveMap(std::filesystem::path root);
  // The root from ORMILA_DRIVES, else $HOME/.local/share/ormila/drives.
  static DriveMap FromEnvironment();
  static std::filesystem::path DefaultRoot();

  const std::filesystem::path& root() const { return root_; }

  // "C:\..." or "c:/...": a drive letter, a colon and a separator.
  static bool IsDrivePath(std::string_view path);

  std::filesystem::path ToHost(std::string_view path) const;

 private:
  std::filesystem::path root_;
};

// The drive map of this process (set once at start; tests set their own root).
DriveMap& Drives();
void SetDrives(const DriveMap& map);

}  // namespace platform
