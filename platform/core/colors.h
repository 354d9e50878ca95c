#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace morvane::core {

// A colour as the old platform stored it: 0x00BBGGRR, red in the low byte. A value
// with the high bit set names a system colour by its index in the low byte; it stands
// for whatever the desktop's scheme gives that role, resolved when painting.
using OleColor = std::uint32_t;

inline constexpr OleColor kSystemColorFlag = 0x80000000u;

// The system colour roles by index.
enum class SystemColor : std::uint8_t {
  kScrollBars = 0,
  kDesktop = 1,
  kActiveTitleBar = 2,
  kInactiveTitleBar = 3,
  kMenuBar = 4,
  kWindowBackground = 5,
  kWindowFrame = 6,
  kMenuText = 7,
  kWindowText = 8,
  kTitleBarText = 9,
  kActiveBorder = 10,
  kInactiveBorder = 11,
  kApplicationWorkspace = 12,
  kHighlight = 13,
  kHighlightText = 14,
  kButtonFace = 15,
  kButtonShadow = 16,
  kGrayText = 17,
  kButtonText = 18,
  kInactiveCaptionText = 19,
  kButtonHighlight = 20,
  k3DDarkShadow = 21,
  k3DLight = 22,
  kInfoText = 23,
  kInfoBackground = 24,
  // 25 is not used.
  kHotLight = 26,
  kGradientActiveCaption = 27,
  kGradientInactiveCaption = 28,
  kMenuHighlight = 29,
  kMenuBarBackground = 30,
};

inline constexpr int kSystemColorCount = 31;

constexpr OleColor SystemColorValue(SystemColor role) {
  return kSystemColorFlag | static_cast<OleColor>(role);
}
constexpr bool IsSystemColor(OleColor c) { return (c & kSystemColorFlag) != 0; }
constexpr int SystemColorIndex(OleColor c) { return static_cast<int>(c & 0xFFu); }

// 0x00BBGGRR and 0x00RRGGBB into one another (the top byte is dropped).
constexpr std::uint32_t OleToRgb(OleColor c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr OleColor RgbToOle(std::uint32_t rgb) { return OleToRgb(rgb); }

// Answers the RGB (0x00RRGGBB) of a system colour role, or nothing for an index it
// does not know. The Qt layer fills one from the widget palette.
class SystemColorResolver {
 public:
  virtual ~SystemColorResolver() = default;
  virtual std::optional<std::uint32_t> SystemColorRgb(int index) const = 0;
};

// A resolver over a table that its owner fills role by role.
class SystemColorTable : public SystemColorResolver {
 public:
  void Set(SystemColor role, std::uint32_t rgb) {
    table_[static_cast<std::size_t>(role)] = rgb & 0xFFFFFFu;
  }
  std::optional<std::uint32_t> SystemColorRgb(int index) const override {
    if (index < 0 || index >= kSystemColorCount) return std::nullopt;
    return table_[static_cast<std::size_t>(index)];
  }

 private:
  std::array<std::optional<std::uint32_t>, kSystemColorCount> table_{};
};

// The colour to paint, as 0x00RRGGBB: a plain colour by its bytes, a system colour
// through the resolver (nothing when the resolver does not know the index).
std::optional<std::uint32_t> ResolveColor(OleColor colour, const SystemColorResolver& resolver);

}  // namespace morvane::core
