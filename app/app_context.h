#pragma once

// The long-lived services the main window starts from: where the program and its
// settings live, the registry stand-in, where control libraries are found, how a
// program is looked up on the PATH, and the command line. The program fills it from
// its surroundings; tests point it at a temporary folder.

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace morvane::core {
class MachineStore;
}
namespace morvane::automation {
class ClassStore;
}

namespace morvane::app {

class HelpDisplay;

struct AppContext {
  std::string programFolder;
  std::string settingsFile;
  core::MachineStore* machineStore = nullptr;
  automation::ClassStore* classStore = nullptr;
  // Folders searched for control libraries that are not registered.
  QStringList controlFolders;
  // A program's full path by name, "" when it is not on the PATH.
  std::function<std::string(const std::string&)> findProgram;
  // Where help topics appear; null for the help viewer over the program's topics file.
  HelpDisplay* helpDisplay = nullptr;
  // The command line after the program's name, each argument as its bytes.
  std::vector<std::string> arguments;

  // The running program's context, with its command line.
  static AppContext ForProgram(std::vector<std::string> arguments);
};

}  // namespace morvane::app
