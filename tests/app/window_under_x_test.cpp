#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "engine/contour_points.h"
#include "tests/app/window_under_x.h"

namespace morvane::testing {
namespace {

TEST(WindowUnderX, F5FromTheKeyboardTracesTheImage) {
  PictureWindowUnderX x;
  ASSERT_TRUE(x.w->isActiveWindow());
  ASSERT_TRUE(XInput::Key(QStringLiteral("F5")));
  EXPECT_TRUE(XInput::WaitUntil([&] {
    return !x.w->Run().Running() && engine::UpperBound(x.w->Host().Model().Points()) > 0;
  }));
}

}  // namespace
}  // namespace morvane::testing
