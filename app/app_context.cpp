#include "app/app_context.h"

#include <QStandardPaths>

#include "platform/core/app_info.h"
#include "platform/core/machine_store.h"
#include "platform/widgets/automation/class_registry.h"

namespace morvane::app {

AppContext AppContext::ForProgram(std::vector<std::string> arguments) {
  AppContext context;
  context.programFolder = core::ProgramFolder();
  context.settingsFile = core::SettingsFilePath(context.programFolder, "Morvane.dat");
  context.machineStore = &core::MachineStore::Default();
  context.classStore = &automation::DefaultClassStore();
  context.controlFolders = {QString::fromStdString(context.programFolder)};
  context.findProgram = [](const std::string& name) {
    return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
  };
  context.arguments = std::move(arguments);
  return context;
}

}  // namespace morvane::app
