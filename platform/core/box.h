#pragma once

#include <cstdint>

namespace morvane::core {

// A rectangle as a form's geometry holds it: left, top, width and height, in whatever
// unit its user keeps (pixels in the window layout, twips in the splitter).
struct Box {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const Box&) const = default;
};

}  // namespace morvane::core
