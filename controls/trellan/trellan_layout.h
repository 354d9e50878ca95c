#pragma once

// The splitter's arithmetic over plain geometry, in twips: where the bar and its two
// guided controls go for a container, and one step of a drag. No widgets: the control
// fills the input from its container and applies the result.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/core/box.h"
#include "platform/core/units.h"

namespace morvane::trellan {

using core::Box;
using core::kTwipsPerPixel;

struct Insets {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Insets&) const = default;
};

// What the engine keeps between calls (fields of the control).
struct LayoutState {
  std::int32_t orientation = 2;  // TrellanOrientConst; other than 2 is horizontal
  std::int32_t resizeMode = 0;   // TrellanResizeConst
  std::int32_t style = 0;        // TrellanStyleConst
  // The container's geometry as last stored; `containerStored` once it was.
  std::int32_t containerLeft = 0;
  std::int32_t containerTop = 0;
  std::int32_t containerWidth = 0;
  std::int32_t containerHeight = 0;
  bool containerStored = false;
  std::int32_t barPosition = 0;  // the bar's Left (vertical) or Top, as last placed
  std::int32_t dragStart = 0;    // cursor coordinate along the moving axis, twips
  std::array<bool, 2> panelHidden{};
  bool newInstance = false;  // a newly placed bar: 6 px thick

  bool vertical() const { return orientation == 2; }
  // Remembers the container's whole geometry (after an arrangement for its change).
  void StoreContainer(const Box& container);
};

// A control aligned to one side of the container takes that side's room.
struct AlignedChild {
  std::int32_t align = 0;  // 1 top, 2 bottom, 3 left, 4 right
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The container's inner area. `border` holds the border width on each side; when
// child coordinates start at the container's outer corner, the left and top borders
// count too (otherwise the origin is already inside them).
Insets GetContainerInsets(const Insets& border, bool originAtOuterCorner,
                          const std::vector<AlignedChild>& aligned);

// The input and, changed in place, the result of an arrangement.
struct Arrangement {
  Box container;                // the container in its own parent; MoverStyle may resize it
  Insets insets;                // GetContainerInsets
  std::int32_t borderLeft = 0;  // for containers whose child origin lies inside the border
  std::int32_t borderTop = 0;
  Box bar;
  std::array<std::optional<Box>, 2> guided;  // unset slots are skipped
  std::array<bool, 2> visible{true, true};
  bool containerResized = false;
};

// Lays out bar and guided controls. `containerChanged` when called for a change of the
// container's size (or a refresh): the resize mode then moves the bar.
void ArrangeGuidedControls(LayoutState& state, Arrangement& layout, bool containerChanged);

// One drag step: the bar follows the cursor (twips, along the moving axis) within the
// inner area; pushing it to an end marks that panel hidden. Returns the bar's box.
struct DragInput {
  Box container;
  Insets insets;
  std::int32_t borderTop = 0;  // a form's caption band
  Box bar;
  std::int32_t cursor = 0;
};
Box DragSplitBar(LayoutState& state, const DragInput& input);

}  // namespace morvane::trellan
