#pragma once

#include <QApplication>
#include <QTest>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/main_window.h"
#include "platform/core/machine_store.h"
#include "platform/widgets/automation/class_registry.h"
#include "tests/support/fake_services.h"
#include "tests/support/temp_folder.h"

namespace morvane::testing {

// A program folder of its own for each test: settings, registry stand-in and the
// programs "on the PATH" are all the test's.
struct AppFolder {
  TempFolder folder;
  core::MachineStore registry{folder.File("Registry.ini")};
  automation::MemoryClassStore classes;
  std::map<std::string, std::string> programs;  // name -> full path

  std::string SettingsFile() const { return folder.File("Morvane.dat"); }

  app::AppContext Context(std::vector<std::string> arguments = {}) {
    app::AppContext c;
    c.programFolder = folder.path();
    c.settingsFile = SettingsFile();
    c.machineStore = &registry;
    c.classStore = &classes;
    c.controlFolders = {QStringLiteral(MORVANE_BINARY_DIR "/bin")};
    c.findProgram = [this](const std::string& name) {
      const auto found = programs.find(name);
      return found == programs.end() ? std::string() : found->second;
    };
    c.arguments = std::move(arguments);
    return c;
  }

  std::unique_ptr<app::MainWindow> Start(std::vector<std::string> arguments = {}) {
    auto window = std::make_unique<app::MainWindow>(Context(std::move(arguments)));
    window->show();
    return window;
  }
};

// The window over the sample shapes picture at 900 x 600, shown, for pictures to look
// at; they are wanted only when MORVANE_SCREENSHOTS names the folder to save them in.
struct ScreenshotWindow {
  FakeServices services;
  AppFolder folder;
  std::unique_ptr<app::MainWindow> w;

  static QString Folder() { return qEnvironmentVariable("MORVANE_SCREENSHOTS"); }

  ScreenshotWindow() {
    const std::string image =
        folder.folder.Write("shapes.gif", ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
    w = folder.Start({image});
    w->resize(900, 600);
  }
};

}  // namespace morvane::testing
