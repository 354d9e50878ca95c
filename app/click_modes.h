#pragma once

// The zoom view's click modes: which mode a command arms with which pointer, and what
// a press on the image does in each mode. Pure decisions; the window carries them out.

#include <QImage>
#include <QPoint>

#include <cstdint>

#include "platform/core/pointer_shape.h"

namespace morvane::app {

// ToolMode.
enum class ClickMode : std::int16_t {
  None = 0,
  RectifyFirst = 1,
  RectifySecond = 2,
  MergeFirst = 3,
  MergeSecond = 4,
  Magnifier = 5,
  MagnifierOut = 6,
  SetBeginning = 7,
  LabelEdit = 8,
  InsertPoint = 9,
  CreateFromPoint = 10,
  AddContour = 11,
  Dropper = 12,
};

// The cursor pictures (ilCursor), by key.
enum class CursorPicture { None, Point1, Point2, Merge1, Merge2, Zoom, Start, Dropper };
const char* CursorKey(CursorPicture picture);

struct ModeCursor {
  core::PointerShape pointer = core::kPointerDefault;
  CursorPicture picture = CursorPicture::None;  // with core::kPointerCustom
  friend bool operator==(const ModeCursor&, const ModeCursor&) = default;
};

// The pointer a mode is armed with.
ModeCursor ArmedCursor(ClickMode mode);

// What a press does.
enum class ClickAction {
  CancelMode,       // Esc: mode 0, default pointer
  HelpPopup,        // the what's-this popup of the zoom view
  SelectNearest,    // select the tree node of the nearest point
  PickFirst,        // PointPair(0) := nearest
  Rectify,          // PointPair(1) := nearest, cut between the two
  Join,             // PointPair(1) := nearest, join the two contours
  ZoomIn,           // View > Zoom (ZoomIndex), clicked point 15 pixels from the corner
  ZoomOut,          // View > Zoom 1:1 on the clicked point
  SetBeginning,     // nearest point first in its contour
  LabelEdit,        // the clicked pixel ends the label edit
  InsertPoint,      // the clicked pixel is inserted through the new-point box
  CreateFromPoint,  // trace the figure under the click into a fresh document
  AddContour,       // add the figure's contour
  PickColour,       // the pixel's colour to the open colour dialog
};

struct ClickStep {
  ClickAction action = ClickAction::SelectNearest;
  // The mode after the press (modes 10 and 11 end after their run).
  ClickMode next = ClickMode::None;
  // The pointer set after the press; unset: the pointer stays as it is.
  bool setsCursor = false;
  ModeCursor cursor;
  // The focus goes to the tree afterwards.
  bool focusTree = false;
};

// A press with button (an automation::ButtonBit) in mode, zoomedIn as View > Zoom left it.
ClickStep DecideClick(ClickMode mode, int button, bool zoomedIn);

// A cursor picture, 32 x 32, drawn so that its hot spot is the picture's centre (where
// the pointer's platform puts the hot spot of a picture cursor by default).
QImage CursorImage(CursorPicture picture);
inline constexpr QPoint kCursorHotSpot{16, 16};

}  // namespace morvane::app
