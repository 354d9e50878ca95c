// Long runs driven as a user drives them, through a real X server: the keys that stop
// a run, and what the pointer shows meanwhile.
#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>

#include "engine/contour_points.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "tests/app/app_fixture.h"
#include "tests/support/x_input.h"

namespace morvane::testing {
namespace {

// Black and white noise: every few pixels a figure of its own, so that a whole-image
// run takes long enough to be stopped by hand.
std::string WriteNoise(const TempFolder& folder, int side) {
  QImage noise(side, side, QImage::Format_RGB32);
  QRandomGenerator random(22);
  for (int y = 0; y < side; ++y) {
    auto* line = reinterpret_cast<QRgb*>(noise.scanLine(y));
    for (int x = 0; x < side; ++x) line[x] = random.bounded(2) != 0 ? 0xff000000 : 0xffffffff;
  }
  const std::string path = folder.File("noise.bmp");
  noise.save(QString::fromStdString(path), "BMP");
  return path;
}

// What the window showed while a run went on, looked at each time the run let events
// through.
struct DuringTheRun {
  int stops = 0;  // the Stop command, run while the run went on
  bool busyPointer = true;
  bool looked = false;
};

void WatchTheRun(app::MainWindow& w, DuringTheRun& seen, QTimer& timer) {
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&w, &seen] {
    if (!w.Run().Running()) return;
    seen.looked = true;
    const QCursor* shown = QApplication::overrideCursor();
    seen.busyPointer = seen.busyPointer && shown != nullptr && shown->shape() == Qt::WaitCursor;
  });
  timer.start();
  // The Stop command as the window has it, counted.
  w.Commands().Bind("Stop", [&w, &seen](int) {
    if (w.Run().Running()) ++seen.stops;
    w.Host().State().BatchRunning = false;
    w.Run().RequestStop();
  });
}

struct NoiseWindow {
  FakeServices services;
  AppFolder folder;
  std::unique_ptr<app::MainWindow> w;

  NoiseWindow() {
    w = folder.Start({WriteNoise(folder.folder, 1024)});
    w->resize(900, 600);
    XInput::Focus(w.get());
  }
};

// Ctrl held, Pause tapped: with the standard layout the server reports the Break keysym,
// which is how the key reaches a window on X.
TEST(RunUnderX, CtrlPauseStopsARunAndTheBusyPointerEndsWithIt) {
  NoiseWindow x;
  app::MainWindow& w = *x.w;
  ASSERT_TRUE(w.isActiveWindow());
  DuringTheRun seen;
  QTimer watch;
  WatchTheRun(w, seen, watch);

  // The keys come while the run holds this thread: xdotool waits a moment first.
  QProcess keys;
  keys.start(
      QStringLiteral("xdotool"),
      {QStringLiteral("sleep"), QStringLiteral("0.5"), QStringLiteral("keydown"), QStringLiteral("ctrl"),
       QStringLiteral("key"), QStringLiteral("Pause"), QStringLiteral("keyup"), QStringLiteral("ctrl")});
  ASSERT_TRUE(keys.waitForStarted(5000));
  ASSERT_TRUE(w.RunCommand("mFileCreate"));
  keys.waitForFinished(20000);
  watch.stop();

  EXPECT_TRUE(seen.looked);
  EXPECT_EQ(seen.stops, 1) << "Ctrl+Pause did not reach the run";
  EXPECT_TRUE(seen.busyPointer);
  EXPECT_FALSE(w.Run().Running());
  EXPECT_FALSE(w.Run().StopRequested());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(RunUnderX, CtrlPauseWhileIdleLeavesNoStopBehind) {
  NoiseWindow x;
  ASSERT_TRUE(XInput::Hold({QStringLiteral("ctrl")}, QStringLiteral("Pause")));
  EXPECT_FALSE(x.w->Run().StopRequested());
}

}  // namespace
}  // namespace morvane::testing
