#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "engine/contour_points.h"
#include "tests/app/app_fixture.h"
#include "tests/support/x_input.h"

namespace morvane::testing {
namespace {

// The window on the sample picture, shown on the real server and given the focus there.
struct WindowUnderX {
  FakeServices services;
  AppFolder folder;
  std::unique_ptr<app::MainWindow> w;

  WindowUnderX() {
    const std::string image =
        folder.folder.Write("shapes.gif", ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
    w = folder.Start({image});
    w->resize(900, 600);
    XInput::Focus(w.get());
  }
};

TEST(WindowUnderX, F5FromTheKeyboardTracesTheImage) {
  WindowUnderX x;
  ASSERT_TRUE(x.w->isActiveWindow());
  ASSERT_TRUE(XInput::Key(QStringLiteral("F5")));
  EXPECT_TRUE(XInput::WaitUntil([&] {
    return !x.w->Run().Running() && engine::UpperBound(x.w->Host().Model().Points()) > 0;
  }));
}

}  // namespace
}  // namespace morvane::testing
