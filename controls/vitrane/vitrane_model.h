#pragma once

// The arithmetic of the window-shaping image control, without widgets: the shape of a
// picture as a region, the border colour, the order of the Style checks with their
// error texts, the title-area test of a drag, and the two drawn picture effects.

#include <QImage>
#include <QRegion>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <optional>

#include "platform/core/box.h"

namespace morvane::vitrane {

// True when the picture is an icon (see kPictureTypeKey).
bool IsIcon(const QImage& picture);
QImage MarkedAsIcon(QImage picture);

// The visible part of a picture: in each row, the runs of pixels whose RGB differs
// exactly from maskRgb (alpha and premultiplication play no part), as one region in
// picture pixels. An icon's shape is its opaque pixels instead. A null picture has no
// region at all; a picture whose every pixel is masked gives an empty region.
std::optional<QRegion> RegionOfPicture(const QImage& picture, QRgb maskRgb);
// The colour of the picture's pixel (0, 0) as a colour value; 0 for a null picture.
std::uint32_t CornerColor(const QImage& picture);

// The colour of border lines over a back colour: white over a dark plain colour (each
// of red, green and blue 128 or less), black otherwise and for system colours.
std::uint32_t ContrastColor(std::int64_t color);

// What the Style setter finds out about the control and its parent, in the order it
// asks.
struct StyleFacts {
  bool hasExtender = true;
  bool aligned = false;
  bool parentHasControls = true;
  std::int32_t current = 0;
  bool parentIsForm = true;
  bool userMode = true;
  bool parentHasBorder = false;      // run time, VitraneParentUntitled
  bool parentHasControlBox = false;  // run time, VitraneParentUntitled
  bool formHasMenu = false;          // design time, VitraneParentTitled
  QString name;                      // the control's extender name
  QString otherShaped;               // another control of the class shaping the form, if any
};

enum class StyleOutcome {
  Ignore,        // nothing changes, the value is not stored
  StoreNormal,   // Normal is stored (after the current style is undone at run time)
  Store,         // the value is stored; no shaping of its own
  Apply,         // the value is stored and applied (caption or region)
  MenuConflict,  // design time: a message box, then Normal is stored
  Refuse,        // error 380 with `error`; nothing changes
};

struct StyleDecision {
  StyleOutcome outcome = StyleOutcome::Ignore;
  QString error;
};

// Every check runs before anything is undone, so a refused value leaves the form as
// it was.
StyleDecision DecideStyle(const StyleFacts& facts, std::int32_t value);

// The name of a style value, as error texts spell it.
QString StyleName(std::int32_t style);
// The source of the control's errors: library title "." class name.
QString ErrorSource();
// The text of the design-time menu conflict.
QString MenuConflictText();

// The title (dragging) area, in twips.
using TitleRect = core::Box;
// Whether a press at (x, y) twips starts a title drag: inside the area (edges
// included) or the area has no size, and either the area's corner is at most 0 or
// it has both a width and a height.
bool StartsTitleDrag(const TitleRect& area, std::int64_t x, std::int64_t y);

// The two drawn looks of a picture. Disabled: dark pixels embossed in the shadow
// colour with a highlight one pixel down and right, light pixels in the back colour.
// Union: every other pixel, chequered, in the effect colour (the control's FillColor).
// An icon keeps its transparent pixels transparent.
QImage DisabledLook(const QImage& picture, QRgb back, QRgb shadow, QRgb highlight);
QImage UnionLook(const QImage& picture, QRgb effect);

}  // namespace morvane::vitrane
