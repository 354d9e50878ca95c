#pragma once

#include "platform/core/units.h"

namespace morvane::widgets {

// A length in pixels (whole or not) as twips, for the bars' twips-based interfaces.
constexpr double TwipsOf(double pixels) { return pixels * core::kTwipsPerPixel; }

}  // namespace morvane::widgets
