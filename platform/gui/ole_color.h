#pragma once

#include <QRgb>

#include <cstdint>
#include <functional>

namespace morvane::gui {

// Colours travel as 32-bit values with red in the low byte (0x00BBGGRR). A value with
// the high bit set names a system colour by its index in the low byte; it has no RGB
// of its own until it is painted, when the widget palette decides.
using OleColor = std::uint32_t;

inline constexpr OleColor kSystemColorFlag = 0x80000000u;

// The system colour indices the program's forms use (the old platform's numbering).
enum SystemColorIndex : int {
  kColorScrollBar = 0,
  kColorDesktop = 1,
  kColorActiveCaption = 2,
  kColorInactiveCaption = 3,
  kColorMenu = 4,
  kColorWindow = 5,
  kColorWindowFrame = 6,
  kColorMenuText = 7,
  kColorWindowText = 8,
  kColorCaptionText = 9,
  kColorActiveBorder = 10,
  kColorInactiveBorder = 11,
  kColorAppWorkspace = 12,
  kColorHighlight = 13,
  kColorHighlightText = 14,
  kColorButtonFace = 15,
  kColorButtonShadow = 16,
  kColorGrayText = 17,
  kColorButtonText = 18,
  kColorInactiveCaptionText = 19,
  kColorButtonHighlight = 20,
  kColor3DDarkShadow = 21,
  kColor3DLight = 22,
  kColorInfoText = 23,
  kColorInfoBackground = 24,
  kColorHotLight = 26,
  kColorGradientActiveCaption = 27,
  kColorGradientInactiveCaption = 28,
  kColorMenuHighlight = 29,
  kColorMenuBar = 30,
};

constexpr bool IsSystemColor(OleColor c) { return (c & kSystemColorFlag) != 0; }
constexpr OleColor SystemColor(int index) {
  return kSystemColorFlag | (static_cast<OleColor>(index) & 0xffu);
}

// Plain colour value <-> Qt's 0xAARRGGBB (alpha forced opaque).
constexpr QRgb OleToRgb(OleColor c) {
  return 0xff000000u | ((c & 0xffu) << 16) | (c & 0xff00u) | ((c >> 16) & 0xffu);
}
constexpr OleColor RgbToOle(QRgb rgb) {
  return ((rgb >> 16) & 0xffu) | (rgb & 0xff00u) | ((rgb & 0xffu) << 16);
}

// Turns a system colour index into RGB. Surfaces call it each time they paint, so a
// palette change shows at the next drawing.
using SystemColorResolver = std::function<QRgb(int index)>;

// The standard resolver: the application palette's roles (the widget palette once a
// QApplication exists). Unknown indices give black, as the old platform did.
QRgb PaletteSystemColor(int index);

// c as opaque RGB; system colours through resolver (the palette when it is empty).
QRgb ResolveColor(OleColor c, const SystemColorResolver& resolver = {});

}  // namespace morvane::gui
