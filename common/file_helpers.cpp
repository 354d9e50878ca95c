#include "common/file_helpers.h"

#include <cstdlib>
#include <vector>

#include "platform/core/file_system.h"

namespace morvane::common {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsDrivePath(std::string_view p) { return p.size() >= 2 && p[1] == ':'; }

bool EndsWithSeparator(std::string_view p) { return !p.empty() && IsSeparator(p.back()); }

std::vector<std::string_view> Components(std::string_view s) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || IsSeparator(s[i])) {
      if (i > start) parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// A component as the short-name rule allows it: at most 8 characters, or at most 8, a
// dot and at most 3; no leading or trailing dot.
bool IsShortName(std::string_view c) {
  const std::size_t dot = c.rfind('.');
  const std::size_t d = dot == std::string_view::npos ? 0 : dot + 1;  // 1-based, 0 = none
  const std::size_t n = c.size();
  return !(d == 1 || d > 9 || d == n || (d > 0 && n > 12) || (d == 0 && n > 8));
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? std::string(home) : std::string("/");
}

std::string WithSeparator(std::string folder) {
  if (!EndsWithSeparator(folder)) folder += '/';
  return folder;
}

}  // namespace

bool FileExists(std::string_view path) { return core::IsFile(std::string(path)); }

bool DirExists(std::string_view path) { return core::IsFolder(std::string(path)); }

std::string ResolveRelativePath(std::string_view path, std::string_view base) {
  if (IsDrivePath(path) || (!path.empty() && path.front() == '/')) return std::string(path);

  std::string folder(base);
  if (!folder.empty() && !EndsWithSeparator(folder)) {
    const std::size_t last = folder.find_last_of("/\\");
    if (last == std::string::npos) {
      folder += '/';
    } else {
      folder.resize(last + 1);
    }
  }
  const char sep =
      folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos ? '\\' : '/';

  std::string root;
  if (IsDrivePath(folder) && folder.size() >= 3 && IsSeparator(folder[2])) {
    root = folder.substr(0, 3);
  } else if (IsDrivePath(folder)) {
    root = folder.substr(0, 2);
  } else if (!folder.empty() && IsSeparator(folder.front())) {
    root = std::string(1, folder.front());
  }
  std::vector<std::string_view> parts = Components(std::string_view(folder).substr(root.size()));

  bool lastIsStep = false;
  for (const std::string_view part : Components(path)) {
    lastIsStep = part == "." || part == "..";
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();  // never above the root
      continue;
    }
    parts.push_back(part);
  }
  const bool isFolder = path.empty() || EndsWithSeparator(path) || lastIsStep;
  std::string result = root;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result += sep;
    result += parts[i];
  }
  if (isFolder && !parts.empty()) result += sep;
  return result;
}

std::string SplitFileName(std::string_view path, std::string* drive, std::string* folder,
                          std::string* name, std::string* extension, int level) {
  if (path.empty()) return {};
  const std::string_view longRefused = "|:<>\"*?";
  const std::string_view shortRefused = " [],;=+";

  std::string driveText;
  std::string_view rest = path;
  if (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2])) {
    driveText = std::string(path.substr(0, 3));
    rest = path.substr(3);
  } else if (path.front() == '/') {
    driveText = "/";
    rest = path.substr(1);
  }
  if (rest.find('\0') != std::string_view::npos) return {};
  if (level <= 1 && rest.find_first_of(longRefused) != std::string_view::npos) return {};
  if (level <= 0 && rest.find_first_of(shortRefused) != std::string_view::npos) return {};

  std::string folderText;
  std::string_view last;
  while (!rest.empty()) {
    const std::size_t sep = rest.find_first_of("/\\");
    std::string_view component;
    if (sep == std::string_view::npos || sep == 0) {
      // No separator, or one in front: the whole rest is one name (a network path
      // "\\server\x" has no folder).
      component = rest;
      rest = {};
    } else {
      component = rest.substr(0, sep);
      folderText += std::string(rest.substr(0, sep + 1));
      rest = rest.substr(sep + 1);
    }
    if (level <= 0 && !IsShortName(component)) return {};
    last = component;
  }

  std::string nameText(last);
  std::string extensionText;
  const std::size_t dot = last.rfind('.');
  if (dot != std::string_view::npos) {
    std::string_view ext = last.substr(dot);
    while (!ext.empty() && ext.back() == ' ') ext.remove_suffix(1);
    extensionText = std::string(ext);
    if (level != 1) nameText = std::string(last.substr(0, dot));
  }

  if (drive) *drive = driveText;
  if (folder) *folder = folderText;
  if (name) *name = nameText;
  if (extension) *extension = extensionText;

  const int parts = (folder ? 1 : 0) + (name ? 1 : 0) + (extension ? 1 : 0);
  if (parts == 1 && !drive) {
    if (folder) return folderText;
    if (name) return nameText;
    return extensionText;
  }
  if (parts == 0) return driveText;
  return std::string(path);
}

std::string ValidFolderOrDefault(std::string_view folderOrPath, std::string_view fallback) {
  std::string text(folderOrPath);
  if (EndsWithSeparator(text)) text += "-.-";
  std::string drive;
  std::string folder;
  // Any name Linux can hold is fine for a dialog's start folder.
  SplitFileName(text, &drive, &folder, nullptr, nullptr, 2);
  std::string candidate = drive + folder;
  if (candidate.empty()) candidate = std::string(fallback);
  if (DirExists(candidate)) return WithSeparator(candidate);
  if (DirExists(fallback)) return WithSeparator(std::string(fallback));
  return WithSeparator(HomeFolder());
}

}  // namespace morvane::common
