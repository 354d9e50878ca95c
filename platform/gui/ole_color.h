#pragma once

// Colours on the Qt side: the widget palette as the resolver of system colours, and
// colour values turned into opaque QRgb at paint time.

#include "platform/core/colors.h"

#include <QRgb>

namespace morvane::gui {

using core::OleColor;

// The application palette's colour for a system colour role (the widget palette once
// a QApplication exists); nothing for an index the old platform did not know.
std::optional<std::uint32_t> PaletteSystemColor(int index);

// The palette as a resolver, read each time a colour is asked for.
class PaletteSystemColors final : public core::SystemColorResolver {
 public:
  std::optional<std::uint32_t> SystemColorRgb(int index) const override {
    return PaletteSystemColor(index);
  }
};

// c as opaque RGB; system colours through resolver (the palette when null). A colour
// that resolves to nothing paints black, as the old platform did.
QRgb ResolveColor(OleColor c, const core::SystemColorResolver* resolver = nullptr);

// A plain colour value as opaque QRgb, and a pixel back as a colour value.
constexpr QRgb OleToQRgb(OleColor c) { return 0xff000000u | core::OleToRgb(c); }
constexpr OleColor QRgbToOle(QRgb rgb) { return core::RgbToOle(rgb & 0xffffffu); }

}  // namespace morvane::gui
