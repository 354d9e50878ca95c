// The main window's speed, measured on demand (Release build):
//   build/<dir>/bin/bench_app_window [image-size]
// Prints the figures: start-up to a shown window on samples/shapes.gif; the re-layout
// of one window resize; Create Contour from the window, Connected on, until the
// contours are drawn, against `morvane-trace create --connected` on the same image,
// with the peak memory of each. The pictures: the generated discs and rings at
// 4096 x 4096 and 8192 x 8192 and a grid of 262 144 squares at 8192 x 8192; with a
// size given, the discs and the grid at that size. Each Create runs in a process of its
// own, so that each peak is its own run's.
#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/main_window.h"
#include "app/work_picture.h"
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

struct ChildRun {
  std::string output;  // standard output and error
  long peakKb = -1;    // the child's peak resident memory
};

// Runs a program to its end; its peak memory comes from the kernel's account of it.
ChildRun RunChild(const std::string& program, const std::vector<std::string>& args) {
  ChildRun run;
  int pipe[2];
  if (::pipe(pipe) != 0) return run;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipe[1], STDOUT_FILENO);
    ::dup2(pipe[1], STDERR_FILENO);
    ::close(pipe[0]);
    ::close(pipe[1]);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipe[1]);
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) run.output.append(buffer, static_cast<std::size_t>(n));
  ::close(pipe[0]);
  int status = 0;
  rusage usage{};
  if (pid > 0 && ::wait4(pid, &status, 0, &usage) == pid) run.peakKb = usage.ru_maxrss;
  return run;
}

double Figure(const std::string& text, const char* pattern) {
  const QRegularExpressionMatch m =
      QRegularExpression(QString::fromLatin1(pattern)).match(QString::fromStdString(text));
  return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

// The child's part: the window opens the image, Create Contour runs, and the events it
// left (the drawing of the contours, the painting) are handled.
int CreateInWindow(const std::string& image) {
  morvane::testing::FakeServices services;  // no message box waits for a click
  Folder folder;
  auto w = folder.Start(image);
  if (!w->Settings().connected) w->RunCommand("mSettingsConnected");
  w->show();
  if (!QTest::qWaitForWindowExposed(w.get())) std::printf("window not exposed\n");
  QApplication::processEvents();
  const auto t = Clock::now();
  w->RunCommand("mFileCreate");
  QApplication::processEvents();
  w->Picture().FlushRedraw();
  QApplication::processEvents();
  std::printf("window %.0f ms, %d contours\n", MsSince(t), w->Host().Model().Count());
  std::fflush(stdout);
  w->Host().SetChanged(false);
  w->close();
  return 0;
}

void CompareCreate(const std::string& name, const morvane::core::RgbImage& picture) {
  morvane::testing::TempFolder folder;
  const std::string image = folder.File("picture.bmp");
  morvane::gui::FromRgbImage(picture).save(QString::fromStdString(image), "BMP");
  // The tool's own figure for tracing and reduction ("..., T ms" on standard error).
  const ChildRun tool = RunChild(MORVANE_BINARY_DIR "/bin/morvane-trace", {"create", image, "--connected"});
  const ChildRun window = RunChild("/proc/self/exe", {"--window", image});
  const double toolMs = Figure(tool.output, "(\\d+) ms");
  const double windowMs = Figure(window.output, "window (\\d+) ms");
  std::printf("%-26s %9.0f %8.0f %6.2f %9.0f %9.0f %9.0f\n", name.c_str(), windowMs, toolMs,
              toolMs > 0 ? windowMs / toolMs : 0.0, window.peakKb / 1024.0, tool.peakKb / 1024.0,
              Figure(window.output, "ms, (\\d+) contours"));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc > 2 && std::strcmp(argv[1], "--window") == 0) return CreateInWindow(argv[2]);
  const int size = argc > 1 ? std::atoi(argv[1]) : 0;
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

  std::printf("\nCreate Contour, Connected on: the window until the contours are drawn, against morvane-trace\n");
  std::printf("%-26s %9s %8s %6s %9s %9s %9s\n", "picture", "window ms", "tool ms", "ratio", "window MB",
              "tool MB", "contours");
  const std::vector<int> sizes = size > 0 ? std::vector<int>{size} : std::vector<int>{4096, 8192};
  for (int s : sizes) {
    CompareCreate("discs and rings " + std::to_string(s), morvane::testing::DiscsAndRings(s));
  }
  const int grid = size > 0 ? size : 8192;
  CompareCreate("square grid " + std::to_string(grid), morvane::testing::SquareGrid(grid));
  return 0;
}
