#pragma once

#include <cstdint>

#include "platform/core/pixel_buffer.h"

namespace morvane::engine {

// The bytes of the mask the tracer walks on, and what a look beyond its edge gives.
// Their order is what the passes go by, so it must not change: a trace takes every
// byte up to the one it is given for figure (kMaskPainted in the figures' pass, so
// that painted figures still count; kMaskOuter in the holes' pass, so that the outer
// background and the holes already traced count too), every byte above kMaskPainted
// was white when the mask was made, and white alone has its high bit set, which is
// how the survey gathers it eight bytes at a time.
enum MaskValue : std::uint8_t {
  kMaskBlack = core::kMaskBlack,  // figure, as the mask was made
  kMaskPainted = 1,               // a figure the whole-image run has traced
  kMaskFilledHole = 2,            // a hole the holes pass has traced
  kMaskOuter = 3,                 // outer background: white 4-connected to the border
  kMaskOutside = 4,               // beyond the mask; never stored
  kMaskWhite = core::kMaskWhite,  // background
};

}  // namespace morvane::engine
