#include "platform/core/colors.h"

namespace morvane::core {

std::optional<std::uint32_t> ResolveColor(OleColor colour, const SystemColorResolver& resolver) {
  if (IsSystemColor(colour)) {
    // Only the low byte names the role; other bits set with the flag make no colour.
    if ((colour & 0x7FFFFF00u) != 0) return std::nullopt;
    return resolver.SystemColorRgb(SystemColorIndex(colour));
  }
  return OleToRgb(colour);
}

}  // namespace morvane::core
