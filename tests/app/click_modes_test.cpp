#include "app/click_modes.h"

#include <gtest/gtest.h>

namespace morvane::app {
namespace {

using A = ClickAction;
using M = ClickMode;
using C = CursorPicture;

TEST(ClickModesTest, StateTable) {
  const ModeCursor kDefault{};
  const struct {
    M mode;
    int button;
    bool zoomed;
    A action;
    M next;
    bool setsCursor;
    ModeCursor cursor;
    bool focusTree;
  } cases[] = {
      {M::None, kLeftButton, false, A::SelectNearest, M::None, true, kDefault, true},
      {M::None, kMiddleButton, false, A::SelectNearest, M::None, true, kDefault, true},
      {M::None, kRightButton, false, A::HelpPopup, M::None, false, kDefault, false},
      {M::RectifyFirst,
       kLeftButton,
       false,
       A::PickFirst,
       M::RectifySecond,
       true,
       {Pointer::Custom, C::Point2},
       false},
      {M::RectifyFirst, kRightButton, false, A::CancelMode, M::None, true, kDefault, false},
      {M::RectifySecond, kLeftButton, false, A::Rectify, M::None, true, kDefault, true},
      {M::MergeFirst,
       kLeftButton,
       false,
       A::PickFirst,
       M::MergeSecond,
       true,
       {Pointer::Custom, C::Merge2},
       false},
      {M::MergeSecond, kLeftButton, false, A::Join, M::None, true, kDefault, false},
      {M::MergeSecond, kMiddleButton, false, A::CancelMode, M::None, true, kDefault, false},
      {M::Magnifier, kLeftButton, false, A::ZoomIn, M::None, true, kDefault, true},
      {M::Magnifier, kRightButton, false, A::CancelMode, M::None, true, kDefault, false},
      {M::Magnifier, kLeftButton, true, A::ZoomOut, M::None, true, kDefault, true},
      {M::Magnifier, kRightButton, true, A::ZoomOut, M::None, true, kDefault, true},
      {M::SetBeginning, kLeftButton, false, A::SetBeginning, M::None, true, kDefault, true},
      {M::LabelEdit, kLeftButton, false, A::LabelEdit, M::None, true, kDefault, false},
      {M::LabelEdit, kRightButton, false, A::CancelMode, M::None, true, kDefault, false},
      {M::InsertPoint, kLeftButton, false, A::InsertPoint, M::InsertPoint, false, kDefault, false},
      {M::CreateFromPoint, kLeftButton, false, A::CreateFromPoint, M::None, false, kDefault, false},
      {M::AddContour, kLeftButton, true, A::AddContour, M::None, false, kDefault, false},
      {M::Dropper, kLeftButton, false, A::PickColour, M::Dropper, false, kDefault, false},
      {M::Dropper, kRightButton, false, A::CancelMode, M::None, true, kDefault, false},
  };
  for (const auto& c : cases) {
    const ClickStep step = DecideClick(c.mode, c.button, c.zoomed);
    const int row = static_cast<int>(&c - cases);
    EXPECT_EQ(step.action, c.action) << row;
    EXPECT_EQ(step.next, c.next) << row;
    EXPECT_EQ(step.setsCursor, c.setsCursor) << row;
    if (c.setsCursor) {
      EXPECT_EQ(step.cursor, c.cursor) << row;
    }
    EXPECT_EQ(step.focusTree, c.focusTree) << row;
  }
}

TEST(ClickModesTest, ArmedCursors) {
  const struct {
    M mode;
    ModeCursor cursor;
    const char* key;
  } cases[] = {
      {M::None, {}, ""},
      {M::RectifyFirst, {Pointer::Custom, C::Point1}, "Point1"},
      {M::MergeFirst, {Pointer::Custom, C::Merge1}, "Merge1"},
      {M::Magnifier, {Pointer::Custom, C::Zoom}, "Zoom"},
      {M::SetBeginning, {Pointer::Crosshair, C::None}, ""},
      {M::LabelEdit, {Pointer::UpArrow, C::None}, ""},
      {M::InsertPoint, {Pointer::UpArrow, C::None}, ""},
      {M::CreateFromPoint, {Pointer::Custom, C::Start}, "Start"},
      {M::AddContour, {Pointer::Custom, C::Start}, "Start"},
      {M::Dropper, {Pointer::Custom, C::Dropper}, "Dropper"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArmedCursor(c.mode), c.cursor) << static_cast<int>(c.mode);
    EXPECT_STREQ(CursorKey(ArmedCursor(c.mode).picture), c.key);
  }
}

TEST(ClickModesTest, CursorPicturesMarkTheirHotSpot) {
  // Every picture puts ink on its hot spot or right beside it, so the user sees where
  // the click lands.
  for (C picture : {C::Point1, C::Point2, C::Merge1, C::Merge2, C::Zoom, C::Start, C::Dropper}) {
    const QImage image = CursorImage(picture);
    ASSERT_EQ(image.size(), QSize(32, 32));
    bool ink = false;
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) {
        ink = ink || qAlpha(image.pixel(kCursorHotSpot.x() + dx, kCursorHotSpot.y() + dy)) > 0;
      }
    }
    EXPECT_TRUE(ink) << CursorKey(picture);
  }
}

TEST(ClickModesTest, TwipsToPixel) {
  EXPECT_EQ(TwipsToPixel(29.4, 15), 1);
  EXPECT_EQ(TwipsToPixel(29.6, 15), 2);
  EXPECT_EQ(TwipsToPixel(14.5, 15), 0);  // 14
  EXPECT_EQ(TwipsToPixel(1e12, 15), 2147483647 / 15);
}

}  // namespace
}  // namespace morvane::app
