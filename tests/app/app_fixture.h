#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSize>
#include <QTest>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_context.h"
#include "app/main_window.h"
#include "platform/core/machine_store.h"
#include "platform/widgets/automation/class_registry.h"
#include "tests/support/fake_services.h"
#include "tests/support/picture_rows.h"
#include "tests/support/temp_folder.h"

namespace morvane::testing {

// Two squares of 4 x 4 pixels on white: the left at (2..5, 2..5), the right at
// (10..13, 2..5). Traced with the first-start method, each gives six points.
inline constexpr std::string_view kTwoSquares = R"(
................
................
..####....####..
..####....####..
..####....####..
..####....####..
................
................
)";

// The picture (PictureRows), '#' black on white, as a BMP file in the folder.
inline std::string WriteArt(const TempFolder& folder, const std::string& name,
                            std::string_view picture) {
  const std::vector<std::string> art = PictureRows(picture);
  QImage image(static_cast<int>(art[0].size()), static_cast<int>(art.size()), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool black = art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#';
      image.setPixel(x, y, black ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
  }
  const std::string path = folder.File(name);
  EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
  return path;
}

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

// The sample shapes picture in the folder; its path.
inline std::string WriteSample(const TempFolder& folder) {
  return folder.Write("shapes.gif", ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
}

// The window started on a picture and shown at a size: the sample at 900 x 600 unless
// the test wants another. `picture` writes whatever the program folder should hold before
// the window starts and gives the picture's path.
struct PictureWindow {
  using Writer = std::function<std::string(const TempFolder&)>;

  FakeServices services;
  AppFolder folder;
  std::unique_ptr<app::MainWindow> w;

  explicit PictureWindow(const Writer& picture = WriteSample, QSize size = QSize(900, 600)) {
    w = folder.Start({picture(folder.folder)});
    w->resize(size);
  }
  QWidget* Viewport() const { return w->findChild<QWidget*>(QStringLiteral("pbZoom")); }
};

// Pictures to look at are wanted only when MORVANE_SCREENSHOTS names the folder to save
// them in.
inline QString ScreenshotFolder() { return qEnvironmentVariable("MORVANE_SCREENSHOTS"); }

}  // namespace morvane::testing
