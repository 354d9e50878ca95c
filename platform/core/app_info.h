#pragma once

#include <string>
#include <string_view>

namespace morvane::core {

// The running program's file and its folder (no trailing "/"), from the kernel's
// record of the executable.
std::string ProgramPath();
std::string ProgramFolder();

// The per-user folder of Morvane's own files: $XDG_CONFIG_HOME/Morvane when that
// variable holds an absolute path, else ~/.config/Morvane. Not created here.
std::string UserConfigFolder();

// The rule above on given values, so it can be checked without the environment.
std::string UserConfigFolderFor(std::string_view xdgConfigHome, std::string_view home);

// Where a settings file named fileName lives: beside the program when the program's
// folder is writable, else in the per-user folder, which is created if needed so that
// the first write does not fail. A program installed in a system folder so keeps its
// settings.
std::string SettingsFilePath(std::string_view programFolder, std::string_view fileName);

}  // namespace morvane::core
