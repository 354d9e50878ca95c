// The main window's speed, measured on demand (Release build):
//   build/<dir>/bin/bench_app_window [image-size]
// Prints the figures: start-up to a shown window on samples/shapes.gif; Create Contour
// from the window on the generated discs-and-rings image (4096 x 4096 unless given)
// against `morvane-trace create` on the same image; the re-layout of one window resize.
#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/main_window.h"
#include "tests/support/generated_images.h"
#include "platform/core/machine_store.h"
#include "platform/gui/image_loader.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/desktop_services.h"
#include "tests/support/fake_services.h"
#include "tests/support/temp_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Folder {
  morvane::testing::TempFolder folder;
  morvane::core::MachineStore registry{folder.File("Registry.ini")};
  morvane::automation::MemoryClassStore classes;

  std::unique_ptr<morvane::app::MainWindow> Start(const std::string& image) {
    morvane::app::AppContext c;
    c.programFolder = folder.path();
    c.settingsFile = folder.File("Morvane.dat");
    c.machineStore = &registry;
    c.classStore = &classes;
    c.controlFolders = {QStringLiteral(MORVANE_BINARY_DIR "/bin")};
    c.findProgram = [](const std::string&) { return std::string(); };
    c.arguments = {image};
    return std::make_unique<morvane::app::MainWindow>(c);
  }
};

// The tool's own figure for tracing and reduction ("..., T ms" on standard error).
double ToolCreateMs(const std::string& image) {
  QProcess tool;
  tool.start(QStringLiteral(MORVANE_BINARY_DIR "/bin/morvane-trace"),
             {QStringLiteral("create"), QString::fromStdString(image), QStringLiteral("--connected")});
  tool.waitForFinished(600000);
  const QString err = QString::fromUtf8(tool.readAllStandardError());
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("(\\d+) ms")).match(err);
  return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const int size = argc > 1 ? std::atoi(argv[1]) : 4096;
  morvane::testing::FakeServices services;  // no message box waits for a click

  {
    Folder folder;
    const auto start = Clock::now();
    auto w = folder.Start(MORVANE_SOURCE_DIR "/samples/shapes.gif");
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) std::printf("window not exposed\n");
    std::printf("start-up to a shown window (shapes.gif): %.1f ms\n", MsSince(start));

    // Resizes between two sizes: the layout of the window and the splitter's poll.
    std::vector<double> times;
    for (int i = 0; i < 40; ++i) {
      const auto t = Clock::now();
      w->resize(i % 2 == 0 ? QSize(900, 640) : QSize(760, 540));
      QApplication::processEvents();
      times.push_back(MsSince(t));
    }
    std::sort(times.begin(), times.end());
    std::printf("window resize re-laid out: median %.2f ms, worst %.2f ms\n", times[times.size() / 2],
                times.back());
    w->close();
  }

  Folder folder;
  const std::string image = folder.folder.File("discs.bmp");
  morvane::gui::FromRgbImage(morvane::testing::DiscsAndRings(size))
      .save(QString::fromStdString(image), "BMP");
  const double tool = ToolCreateMs(image);
  auto w = folder.Start(image);
  w->show();
  if (!QTest::qWaitForWindowExposed(w.get())) std::printf("window not exposed\n");
  const auto t = Clock::now();
  w->RunCommand("mFileCreate");
  const double window = MsSince(t);
  std::printf(
      "Create Contour on %dx%d: window %.0f ms, morvane-trace %.0f ms, ratio %.2f (%d contours)\n", size,
      size, window, tool, tool > 0 ? window / tool : 0.0, w->Host().Model().Count());
  w->Host().SetChanged(false);
  w->close();
  return 0;
}
