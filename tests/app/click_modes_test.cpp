#include "app/click_modes.h"

#include <gtest/gtest.h>

#include "platform/widgets/automation/control_events.h"

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
      {M::None, automation::kLeftButton, false, A::SelectNearest, M::None, true, kDefault, true},
      {M::None, automation::kMiddleButton, false, A::SelectNearest, M::None, true, kDefault, true},
      {M::None, automation::kRightButton, false, A::HelpPopup, M::None, false, kDefault, false},
      {M::RectifyFirst,
       automation::kLeftButton,
       false,
       A::PickFirst,
       M::RectifySecond,
       true,
       {core::kPointerCustom, C::Point2},
       false},
      {M::RectifyFirst, automation::kRightButton, false, A::CancelMode, M::None, true, kDefault, false},
      {M::RectifySecond, automation::kLeftButton, false, A::Rectify, M::None, true, kDefault, true},
      {M::MergeFirst,
       automation::kLeftButton,
       false,
       A::PickFirst,
       M::MergeSecond,
       true,
       {core::kPointerCustom, C::Merge2},
       false},
      {M::MergeSecond, automation::kLeftButton, false, A::Join, M::None, true, kDefault, false},
      {M::MergeSecond, automation::kMiddleButton, false, A::CancelMode, M::None, true, kDefault, false},
      {M::Magnifier, automation::kLeftButton, false, A::ZoomIn, M::None, true, kDefault, true},
      {M::Magnifier, automation::kRightButton, false, A::CancelMode, M::None, true, kDefault, false},
      {M::Magnifier, automation::kLeftButton, true, A::ZoomOut, M::None, true, kDefault, true},
      {M::Magnifier, automation::kRightButton, true, A::ZoomOut, M::None, true, kDefault, true},
      {M::SetBeginning, automation::kLeftButton, false, A::SetBeginning, M::None, true, kDefault, true},
      {M::LabelEdit, automation::kLeftButton, false, A::LabelEdit, M::None, true, kDefault, false},
      {M::LabelEdit, automation::kRightButton, false, A::CancelMode, M::None, true, kDefault, false},
      {M::InsertPoint, automation::kLeftButton, false, A::InsertPoint, M::InsertPoint, false, kDefault, false},
      {M::CreateFromPoint, automation::kLeftButton, false, A::CreateFromPoint, M::None, false, kDefault, false},
      {M::AddContour, automation::kLeftButton, true, A::AddContour, M::None, false, kDefault, false},
      {M::Dropper, automation::kLeftButton, false, A::PickColour, M::Dropper, false, kDefault, false},
      {M::Dropper, automation::kRightButton, false, A::CancelMode, M::None, true, kDefault, false},
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
      {M::RectifyFirst, {core::kPointerCustom, C::Point1}, "Point1"},
      {M::MergeFirst, {core::kPointerCustom, C::Merge1}, "Merge1"},
      {M::Magnifier, {core::kPointerCustom, C::Zoom}, "Zoom"},
      {M::SetBeginning, {core::kPointerCross, C::None}, ""},
      {M::LabelEdit, {core::kPointerUpArrow, C::None}, ""},
      {M::InsertPoint, {core::kPointerUpArrow, C::None}, ""},
      {M::CreateFromPoint, {core::kPointerCustom, C::Start}, "Start"},
      {M::AddContour, {core::kPointerCustom, C::Start}, "Start"},
      {M::Dropper, {core::kPointerCustom, C::Dropper}, "Dropper"},
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

}  // namespace
}  // namespace morvane::app
