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
#include "platform/widgets/panel_status_bar.h"
#include "tests/app/window_under_x.h"

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
    w.Host().Model().LetBatchRunning(false);
    w.Run().RequestStop();
  });
}

struct NoiseWindow : PictureWindowUnderX {
  NoiseWindow() : PictureWindowUnderX([](const TempFolder& into) { return WriteNoise(into, 2048); }) {}
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

namespace morvane::testing {
namespace {

// The sample at 1:1, in a window small enough that at 4:1 the view can scroll a long
// way on both axes.
struct SmallSampleWindow : PictureWindowUnderX {
  SmallSampleWindow() : PictureWindowUnderX(WriteSample, QSize(520, 420)) {}
  // The image pixel the status bar names for a point of the viewport, the pointer moved
  // there through the server.
  QString PixelAt(QPoint local) {
    XInput::MoveTo(XInput::On(Viewport(), local));
    return w->StatusBar()->Panel(QStringLiteral("Info"))->Text().section(QLatin1Char(' '), 0, 0);
  }
};

// F4, then a click on a pixel: at 4:1 that pixel is the 16th cell from the left and from
// the top (15 pixels of the image before it), or as near as the image's edge allows.
TEST(MagnifierUnderX, TheClickedPixelLandsFifteenPixelsFromTheTopLeft) {
  struct Row {
    QPoint pixel;
    QPoint cell;  // where it lands at 4:1, in cells from the viewport's top left
  };
  for (const Row& row : {Row{{100, 60}, {15, 15}}, Row{{5, 5}, {5, 5}}}) {
    SCOPED_TRACE(QStringLiteral("%1,%2").arg(row.pixel.x()).arg(row.pixel.y()).toStdString());
    SmallSampleWindow x;
    ASSERT_EQ(x.w->Settings().zoomIndex, 0);
    ASSERT_TRUE(XInput::Key(QStringLiteral("F4")));
    ASSERT_TRUE(XInput::ClickAt(x.Viewport(), row.pixel));
    ASSERT_EQ(x.w->Settings().zoomIndex, 1);
    const QString wanted = QStringLiteral("%1,%2").arg(row.pixel.x()).arg(row.pixel.y());
    EXPECT_EQ(x.PixelAt(row.cell * 4 + QPoint(2, 2)), wanted);
    if (row.pixel == QPoint(100, 60) && !ScreenshotFolder().isEmpty()) {
      XInput::MoveTo(XInput::On(x.Viewport(), row.cell * 4 + QPoint(2, 2)));
      EXPECT_TRUE(XInput::GrabScreen(ScreenshotFolder() + QStringLiteral("/magnifier.png")));
    }
  }
}

}  // namespace
}  // namespace morvane::testing
