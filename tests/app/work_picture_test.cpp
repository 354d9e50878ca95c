// The work picture: the zoom view shows the engine's own pixels, the contours drawn over
// them between runs, and the picture the engine traces is clean whenever it reads it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/work_picture.h"
#include "controls/scopel/scopel_typelib.h"
#include "platform/gui/ole_color.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/property_bag.h"
#include "tests/app/app_fixture.h"
#include "tests/support/fake_services.h"

namespace morvane::testing {
namespace {

// Two black squares on white.
QImage Squares() {
  QImage image(24, 12, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int y = 2; y < 8; ++y) {
    for (int x = 2; x < 8; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
    for (int x = 14; x < 20; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
  }
  return image;
}

struct PictureRig {
  FakeServices services;
  AppFolder folder;
  QImage file = Squares();
  std::unique_ptr<app::MainWindow> w;

  PictureRig() {
    const std::string path = folder.folder.File("squares.bmp");
    EXPECT_TRUE(file.save(QString::fromStdString(path), "BMP"));
    w = folder.Start({path});
  }
  QImage Shown() { return automation::PictureOf(w->Zoom().control()->get(scopel::dispid::Picture)); }
  const core::RgbImage& Traced() { return *w->Picture().Image(); }
  void Flush() {
    w->Picture().FlushRedraw();
    QCoreApplication::processEvents();
  }
  // The engine's picture holds the file's pixels.
  void ExpectTracedClean() {
    ASSERT_EQ(Traced().width, file.width());
    ASSERT_EQ(Traced().height, file.height());
    for (int y = 0; y < file.height(); ++y) {
      for (int x = 0; x < file.width(); ++x) {
        if (Traced().at(x, y) != file.pixel(x, y)) {
          ADD_FAILURE() << "traced picture changed at " << x << "," << y;
          return;
        }
      }
    }
  }
};

TEST(WorkPicture, TheViewShowsTheTracedPixelsThemselves) {
  PictureRig rig;
  const QImage shown = rig.Shown();
  ASSERT_EQ(shown.size(), rig.file.size());
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(shown.constBits()), rig.Traced().pixels.data());
  rig.ExpectTracedClean();
}

// Between runs the contours are drawn over the traced picture itself, which costs no
// second picture; whatever reads it next for a trace finds it clean. Connected is on:
// the line joining the squares crosses the background, and a trace that saw it would
// find one figure.
TEST(WorkPicture, BetweenRunsTheContoursAreDrawnOverTheTracedPictureAndComeOffForATrace) {
  PictureRig rig;
  if (!rig.w->Settings().connected) {
    ASSERT_TRUE(rig.w->RunCommand("mSettingsConnected"));
  }
  ASSERT_TRUE(rig.w->RunCommand("mFileCreate"));
  rig.Flush();
  ASSERT_EQ(rig.w->Host().Model().Count(), 1);
  const engine::ContourPoints traced = rig.w->Host().Model().Points();
  const std::uint32_t line = gui::ResolveColor(static_cast<gui::OleColor>(rig.w->Zoom().ForeColor()));
  const std::uint32_t mark = gui::ResolveColor(static_cast<gui::OleColor>(rig.w->Zoom().FillColor()));
  const struct {
    const char* what;
    const char* command;  // run before the look, "" for none
  } rows[] = {
      {"after Create", ""},
      {"vertex marks switched", "mViewPoints"},
      {"vertex marks switched back", "mViewPoints"},
      {"after a second Create", "mFileCreate"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (*row.command != '\0') {
      ASSERT_TRUE(rig.w->RunCommand(row.command));
      rig.Flush();
    }
    EXPECT_EQ(rig.w->Host().Model().Points(), traced);
    const QImage shown = rig.Shown();
    ASSERT_EQ(shown.size(), rig.file.size());
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(shown.constBits()), rig.Traced().pixels.data());
    const std::uint32_t corner = rig.w->Settings().showPoints ? mark : line;
    EXPECT_EQ(shown.pixel(2, 2) & 0xFFFFFFu, corner & 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(0, 0), 0xFFFFFFFFu);
  }

  // What the engine calls before it reads the picture.
  rig.w->Picture().ShowImage();
  rig.ExpectTracedClean();
  // The clean picture back on the view: the traced pixels, no copy.
  rig.w->Picture().ReshowPicture();
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(rig.Shown().constBits()), rig.Traced().pixels.data());
  EXPECT_EQ(rig.Shown().pixel(2, 2), 0xFF000000u);
  rig.ExpectTracedClean();
}

// A run reads the picture: the lines come off as it begins, and a redraw asked for
// meanwhile waits for its end; during a batch, which goes on to the next image, it is
// drawn on a copy of the view's alone.
TEST(WorkPicture, DuringARunTheTracedPictureStaysClean) {
  PictureRig rig;
  ASSERT_TRUE(rig.w->RunCommand("mFileCreate"));
  rig.Flush();
  ASSERT_NE(rig.Shown().pixel(2, 2), 0xFF000000u);
  app::WorkPicture& picture = rig.w->Picture();
  picture.SetDrawOnPicture(false);
  rig.ExpectTracedClean();
  picture.RedrawContours();
  rig.Flush();
  rig.ExpectTracedClean();
  picture.SetDrawOnPicture(true);
  rig.Flush();
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(rig.Shown().constBits()), rig.Traced().pixels.data());
  EXPECT_NE(rig.Shown().pixel(2, 2), 0xFF000000u);

  rig.w->Host().Model().LetBatchRunning(true);
  picture.SetDrawOnPicture(false);
  picture.RedrawContours();
  rig.Flush();
  const QImage shown = rig.Shown();
  EXPECT_NE(reinterpret_cast<const std::uint32_t*>(shown.constBits()), rig.Traced().pixels.data());
  EXPECT_NE(shown.pixel(2, 2), 0xFF000000u);
  rig.ExpectTracedClean();
  rig.w->Host().Model().LetBatchRunning(false);
  picture.SetDrawOnPicture(true);
}

// Where the record of what the lines cover would take more memory than a copy, as over
// bars two pixels wide a pixel apart, the contours are drawn on a copy.
TEST(WorkPicture, DenseContoursAreDrawnOnACopy) {
  FakeServices services;
  AppFolder folder;
  QImage file(15, 16, QImage::Format_RGB32);
  file.fill(Qt::white);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 15; ++x) {
      if (x % 3 != 2) file.setPixel(x, y, qRgb(0, 0, 0));
    }
  }
  const std::string path = folder.folder.File("bars.bmp");
  ASSERT_TRUE(file.save(QString::fromStdString(path), "BMP"));
  auto w = folder.Start({path});
  if (w->Settings().connected) {
    ASSERT_TRUE(w->RunCommand("mSettingsConnected"));
  }
  ASSERT_TRUE(w->RunCommand("mFileCreate"));
  w->Picture().FlushRedraw();
  QCoreApplication::processEvents();
  ASSERT_EQ(w->Host().Model().Count(), 5);
  const QImage shown = automation::PictureOf(w->Zoom().control()->get(scopel::dispid::Picture));
  const core::RgbImage& traced = *w->Picture().Image();
  EXPECT_NE(reinterpret_cast<const std::uint32_t*>(shown.constBits()), traced.pixels.data());
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 15; ++x) ASSERT_EQ(traced.at(x, y), file.pixel(x, y)) << x << "," << y;
  }
}

}  // namespace
}  // namespace morvane::testing
