#include "platform/drive_map.h"

#include <cstdlib>
#include <memory>
#include <system_error>
#include <vector>

#include "common/codec.h"

namespace platform {
namespace fs = std::filesystem;
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::vector<std::string> Components(std::string_view rest) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : rest) {
    if (c == '\\' || c == '/') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

std::unique_ptr<DriveMap>& Current() {
  static std::unique_ptr<DriveMap> map;
  return map;
}

}  // namespace

DriveMap::DriveMap(fs::path root) : root_(std::move(root)) {}

fs::path DriveMap::DefaultRoot() {
  if (const char* env = std::getenv("ORMILA_DRIVES"); env && *env) return fs::path(env);
  const char* home = std::getenv("HOME");
  return fs::path(home ? home : ".") / ".local" / "share" / "ormila" / "drives";
}

DriveMap DriveMap::FromEnvironment() { return DriveMap(DefaultRoot()); }

bool DriveMap::IsDrivePath(std::string_view path) {
  if (path.size() < 3) return false;
  char d = Lower(path[0]);
  return d >= 'a' && d <= 'z' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

fs::path DriveMap::ToHost(std::string_view path) const {
  if (!IsDrivePath(path)) return fs::path(std::string(path));
  // Windows opens a path without the blanks at its end ("Samp100.wav " is "Samp100.wav").
  path.remove_suffix(path.size() - (path.find_last_not_of(' ') + 1));
  const fs::path drive = root_ / std::string(1, Lower(path[0]));
  fs::path host = drive;
  bool exists = true;  // while every component so far exists, look for the case-insensitive match
  for (const std::string& part : Components(path.substr(3))) {
    if (part == ".") continue;
    if (part == "..") {
      // as on Windows, ".." at the drive's top stays there
      if (host != drive) host = host.parent_path();
      std::error_code ec;
      exists = fs::is_directory(host, ec);
      continue;
    }
    if (exists) {
      std::error_code ec;
      fs::path exact = host / part;
      if (fs::exists(exact, ec)) {
        host = exact;
        continue;
      }
      std::string folded = common::LowerCase(part);
      bool found = false;
      for (fs::directory_iterator it(host, ec), end; !ec && it != end; it.increment(ec)) {
        if (common::LowerCase(it->path().filename().string()) == folded) {
          host = it->path();
          found = true;
          break;
        }
      }
      if (found) continue;
      exists = false;
    }
    host /= part;
  }
  return host;
}

DriveMap& Drives() {
  auto& map = Current();
  if (!map) map = std::make_unique<DriveMap>(DriveMap::FromEnvironment());
  return *map;
}

// Assigns in place, so that a reference from Drives() (a FileTable holds one) stays valid.
void SetDrives(const DriveMap& map) {
  auto& current = Current();
  if (current) *current = map;
  else current = std::make_unique<DriveMap>(map);
}

}  // namespace platform
