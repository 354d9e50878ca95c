#include "platform/core/app_info.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/core/file_system.h"

namespace morvane::core {
namespace {

constexpr std::string_view kOwnFolder = "Morvane";

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || out.back() != '/') out += '/';
  out += name;
  return out;
}

}  // namespace

std::string ProgramPath() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string ProgramFolder() {
  const std::string exe = ProgramPath();
  const std::size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

std::string UserConfigFolderFor(std::string_view xdgConfigHome, std::string_view home) {
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
  if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
    return Join(xdgConfigHome, kOwnFolder);
  }
  return Join(Join(home.empty() ? std::string_view("/") : home, ".config"), kOwnFolder);
}

std::string UserConfigFolder() { return UserConfigFolderFor(Env("XDG_CONFIG_HOME"), HomeFolder()); }

std::string SettingsFilePath(std::string_view programFolder, std::string_view fileName) {
  if (!programFolder.empty() && FolderIsWritable(std::string(programFolder))) {
    return Join(programFolder, fileName);
  }
  const std::string folder = UserConfigFolder();
  CreateFolders(folder);
  return Join(folder, fileName);
}

}  // namespace morvane::core
