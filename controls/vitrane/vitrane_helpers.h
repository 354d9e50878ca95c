#pragma once

// The library's own helpers beside the control: system fonts, the window-region cut,
// the version text and the About box.

#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>

#include "controls/vitrane/vitrane_model.h"
#include "platform/core/message_box.h"
#include "platform/widgets/automation/property_bag.h"

namespace morvane::vitrane {

// A new font object from the system's fonts: 1 caption, 2 small caption, 3 menu,
// 4 status, 5 message; null for any other kind. Bold is a weight above 550.
automation::FontRef GetSystemFont(std::int16_t kind);

// Cuts a window's region from a picture: per row, the runs of pixels that differ from
// the mask colour. Without a mask colour, or with a system colour (high bit set), the
// picture's pixel (0, 0) gives it. No picture gives no region and changes nothing;
// otherwise, unless dontApply, the region becomes the window's mask. Picture pixel
// (x, y) is window pixel (x, y).
std::optional<QRegion> CutWindowRegion(QWidget* window, const QImage& picture,
                                       std::optional<std::int64_t> maskColor = std::nullopt,
                                       bool dontApply = false);
// Gives the window a region (its mask); an empty region leaves nothing of it.
void SetWindowRegion(QWidget* window, const QRegion& region);

// The library's message boxes; a test may put its own in (null restores the
// library's).
core::ModuleMessageBox& MessageBoxes();
void SetMessageBoxService(core::ModuleMessageBox* service);

// The library's version text and its About box (no owner, no extra text).
QString LibraryVersion();
void ShowAboutBox();

}  // namespace morvane::vitrane
