// The work picture: the zoom view shows the engine's own pixels, and the contours are
// drawn on a picture of the view's alone, so the picture the engine traces stays clean.
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

TEST(WorkPicture, ContoursAreDrawnOnTheViewsPictureOnly) {
  PictureRig rig;
  ASSERT_TRUE(rig.w->RunCommand("mFileCreate"));
  rig.Flush();
  ASSERT_EQ(rig.w->Host().Model().Count(), rig.w->Settings().connected ? 1 : 2);
  const std::uint32_t line = gui::ResolveColor(static_cast<gui::OleColor>(rig.w->Zoom().ForeColor()));
  const std::uint32_t mark = gui::ResolveColor(static_cast<gui::OleColor>(rig.w->Zoom().FillColor()));
  struct Row {
    const char* what;
    const char* command;  // run before the look, "" for none
  };
  const Row rows[] = {
      {"after Create", ""},
      {"vertex marks switched", "mViewPoints"},
      {"vertex marks switched back", "mViewPoints"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (*row.command != '\0') {
      ASSERT_TRUE(rig.w->RunCommand(row.command));
      rig.Flush();
    }
    const QImage shown = rig.Shown();
    ASSERT_EQ(shown.size(), rig.file.size());
    EXPECT_NE(reinterpret_cast<const std::uint32_t*>(shown.constBits()), rig.Traced().pixels.data());
    const std::uint32_t corner = rig.w->Settings().showPoints ? mark : line;
    EXPECT_EQ(shown.pixel(2, 2) & 0xFFFFFFu, corner & 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(0, 0), 0xFFFFFFFFu);
    rig.ExpectTracedClean();
  }

  // The clean picture back: the traced pixels again, no copy.
  rig.w->Picture().ReshowPicture();
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(rig.Shown().constBits()), rig.Traced().pixels.data());
  // A second trace works on the clean picture and gives the same contours.
  const engine::ContourPoints before = rig.w->Host().Model().Points();
  ASSERT_TRUE(rig.w->RunCommand("mFileCreate"));
  rig.Flush();
  EXPECT_EQ(rig.w->Host().Model().Points(), before);
  rig.ExpectTracedClean();
}

}  // namespace
}  // namespace morvane::testing
