#include "platform/batch_runner.h"

#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"

extern char** environ;

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

// The first word, when the line begins with `word` followed by a blank or the end.
bool BeginsWithWord(std::string_view line, std::string_view word) {
  return line.size() >= word.size() && EqualNoCase(line.substr(0, word.size()), word) &&
         (line.size() == word.size() || IsBlank(line[word.size()]));
}

// Environment names are case-insensitive on Windows: the spelling of an existing variable of the
// same name, else the name as given.
std::string EnvironmentName(std::string_view name) {
  for (char** e = environ; e && *e; ++e) {
    std::string_view entry(*e);
    std::size_t eq = entry.find('=');
    if (eq != std::string_view::npos && EqualNoCase(entry.substr(0, eq), name))
      return std::string(entry.substr(0, eq));
  }
  return std::string(name);
}

// %NAME% becomes the variable's value (nothing when it is not set, as in a batch file);
// %% becomes %.
std::string Expand(std::string_view line) {
  std::string out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] != '%') {
      out += line[i++];
      continue;
    }
    std::size_t close = line.find('%', i + 1);
    if (close == std::string_view::npos) {
      out += line.substr(i);
      break;
    }
    if (close == i + 1) {
      out += '%';
    } else {
      const char* value = std::getenv(EnvironmentName(line.substr(i + 1, close - i - 1)).c_str());
      if (value) out += value;
    }
    i = close + 1;
  }
  return out;
}

std::string MapValue(std::string_view name, std::string_view value) {
  if (!EqualNoCase(name, "PATH"))
    return DriveMap::IsDrivePath(value) ? Drives().ToHost(value).string() : std::string(value);
  std::string joined;
  while (true) {
    std::size_t semicolon = value.find(';');
    std::string_view entry = Trim(value.substr(0, semicolon));
    if (!entry.empty()) {
      if (!joined.empty()) joined += ':';
      joined += DriveMap::IsDrivePath(entry) ? Drives().ToHost(entry).string() : std::string(entry);
    }
    if (semicolon == std::string_view::npos) break;
    value.remove_prefix(semicolon + 1);
  }
  return joined;
}

void Set(std::string_view assignment) {
  std::size_t eq = assignment.find('=');
  if (eq == std::string_view::npos || eq == 0) return;
  std::string name = EnvironmentName(assignment.substr(0, eq));
  std::string_view value = assignment.substr(eq + 1);
  if (value.empty()) {
    ::unsetenv(name.c_str());
  } else {
    ::setenv(name.c_str(), MapValue(name, value).c_str(), 1);
  }
}

int Wait(long pid) {
  int status = 0;
  while (::waitpid(static_cast<pid_t>(pid), &status, 0) < 0) {
    if (errno != EINTR) return 1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 1;
}

}  // namespace

int RunBatch(const std::string& windowsOrHostPath, std::ostream& messages) {
  std::ifstream in(Drives().ToHost(windowsOrHostPath), std::ios::binary);
  if (!in) {
    messages << "The batch file cannot be found." << std::endl;
    return 1;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int status = 0;
  for (const std::string& raw : SplitLines(common::Cp1252ToUtf8(bytes))) {
    std::string_view line = Trim(raw);
    if (line.empty() || BeginsWithWord(line, "rem")) continue;
    std::string expanded = Expand(line);
    line = Trim(expanded);
    if (line.empty()) continue;
    if (BeginsWithWord(line, "set")) {
      Set(Trim(line.substr(3)));
      status = 0;
      continue;
    }
    try {
      Command command = ReadCommandLine(line);
      std::cout.flush();
      messages.flush();
      status = Wait(SpawnProcess(ProcessArguments(command), false));
    } catch (const common::RuntimeError& error) {
      if (error.number() != common::kFileNotFound) throw;
      messages << "'" << CommandName(line)
               << "' is not recognized as an internal or external command, operable program or "
                  "batch file."
               << std::endl;
      status = 1;
    }
  }
  return status;
}

int RunBatch(const std::string& windowsOrHostPath) { return RunBatch(windowsOrHostPath, std::cerr); }

}  // namespace platform
