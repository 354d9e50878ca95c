#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/pixel_buffer.h"

namespace morvane::common {

// Splits a colour into its three bytes, high byte first: for an OLE colour (red in
// the low byte) that is blue, green, red. Values outside 0..0xFFFFFF (system colours
// among them) give "" and leave the bytes as they were.
std::string ColorToRGBText(std::int32_t colour, std::uint8_t& first, std::uint8_t& second,
                           std::uint8_t& third);

// Turns white every pixel of source that the 16-colour conversion maps to the same
// palette entry as colour, and black every other pixel, drawing the result at the top
// left of target (only the part that fits; the rest of a larger target is kept).
// colour is in colour-table order, 0x00RRGGBB; one outside that range counts as black.
// The key goes through the same conversion as the pixels, so any picked background
// works, not only the 16 palette colours.
void RecolorPicture(const core::RgbImage& source, std::int32_t colour, core::RgbImage& target);

// The same decision written straight into a mask the size of source; blackPerRow, when
// given, receives the number of black pixels of each row, and rowWritten, when given,
// is called with each row's index as soon as the row is written (and counted), while
// it is still in the cache. keyIsExact, when given, tells whether every pixel that
// turned white is exactly colour.
void RecolorPicture(const core::RgbImage& source, std::int32_t colour, core::Mask& target,
                    std::vector<std::int32_t>* blackPerRow = nullptr,
                    const std::function<void(std::int32_t)>& rowWritten = {},
                    bool* keyIsExact = nullptr);

}  // namespace morvane::common
