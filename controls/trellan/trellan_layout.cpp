#include "controls/trellan/trellan_layout.h"

#include <algorithm>

namespace morvane::trellan {

void LayoutState::StoreContainer(const Box& container) {
  containerLeft = container.left;
  containerTop = container.top;
  containerWidth = container.width;
  containerHeight = container.height;
  containerStored = true;
}

Insets GetContainerInsets(const Insets& border, bool originAtOuterCorner,
                          const std::vector<AlignedChild>& aligned) {
  Insets insets;
  insets.bottom = border.bottom;
  insets.right = border.right;
  if (originAtOuterCorner) {
    insets.left = border.left;
    insets.top = border.top;
  }
  for (const AlignedChild& child : aligned) {
    switch (child.align) {
      case 1: insets.top += child.height; break;
      case 2: insets.bottom += child.height; break;
      case 3: insets.left += child.width; break;
      case 4: insets.right += child.width; break;
      default: break;
    }
  }
  return insets;
}

namespace {

// The engine is written once, for a horizontal bar; a vertical one is the same with
// the axes exchanged.
Box Transposed(const Box& b) { return {b.top, b.left, b.height, b.width}; }
Insets Transposed(const Insets& i) { return {i.top, i.left, i.bottom, i.right}; }

// `along` is the container's position on the moving axis, `stored*` the state's
// fields of that axis.
void ArrangeHorizontal(LayoutState& state, Arrangement& a, bool containerChanged,
                       std::int32_t& storedTop, std::int32_t& storedHeight) {
  const Box& c = a.container;
  const Insets& in = a.insets;
  if (state.newInstance) a.bar.height = 6 * kTwipsPerPixel;
  a.bar.left = in.left;
  std::int64_t pos = a.bar.top;
  if (containerChanged) {
    if (state.resizeMode == 1) {
      // Until the container's place is known there is nothing to keep the bar against.
      if (state.containerStored) pos += static_cast<std::int64_t>(storedTop) - c.top;
      storedTop = c.top;
    } else if (state.resizeMode == 2) {
      if (storedHeight > 0) {
        pos = core::RoundToInt32(static_cast<double>(c.height) *
                                 (static_cast<double>(state.barPosition) / storedHeight));
      }
      storedHeight = c.height;
    }
  }
  pos = std::max<std::int64_t>(pos, in.top);
  if (c.height > 0) {
    pos = std::min<std::int64_t>(
        pos, static_cast<std::int64_t>(c.height) - in.bottom - a.borderTop - a.bar.height);
  }
  a.bar.top = static_cast<std::int32_t>(pos);
  state.barPosition = a.bar.top;

  if (a.guided[0]) {
    Box& first = *a.guided[0];
    first.left = in.left;
    first.top = in.top;
    first.height = std::max(a.bar.top - first.top, 0);
    a.visible[0] = first.height > 0;
  }
  std::int32_t moverSize = 0;
  if (a.guided[1]) {
    Box& second = *a.guided[1];
    second.left = in.left;
    second.top = a.bar.top + a.bar.height;
    if (state.style == 1) {
      moverSize = second.height;
    } else {
      second.height = std::max(c.height - second.top - in.bottom - a.borderTop, 0);
      a.visible[1] = second.height > 0;
    }
  }
  if (c.width > in.left + in.right + a.borderLeft) {
    a.bar.width = c.width - in.left - in.right - a.borderLeft;
    for (auto& guided : a.guided) {
      if (guided) guided->width = a.bar.width;
    }
  }
  if (state.style == 1 && moverSize >= 1) {
    a.container.height = a.bar.top + a.bar.height + moverSize + in.bottom + a.borderTop;
    a.containerResized = true;
  }
}

}  // namespace

void ArrangeGuidedControls(LayoutState& state, Arrangement& layout, bool containerChanged) {
  if (!state.vertical()) {
    ArrangeHorizontal(state, layout, containerChanged, state.containerTop, state.containerHeight);
    return;
  }
  Arrangement t = layout;
  t.container = Transposed(layout.container);
  t.insets = Transposed(layout.insets);
  std::swap(t.borderLeft, t.borderTop);
  t.bar = Transposed(layout.bar);
  for (auto& guided : t.guided) {
    if (guided) guided = Transposed(*guided);
  }
  ArrangeHorizontal(state, t, containerChanged, state.containerLeft, state.containerWidth);
  layout.container = Transposed(t.container);
  layout.bar = Transposed(t.bar);
  for (std::size_t i = 0; i < 2; ++i) {
    if (t.guided[i]) layout.guided[i] = Transposed(*t.guided[i]);
  }
  layout.visible = t.visible;
  layout.containerResized = t.containerResized;
}

Box DragSplitBar(LayoutState& state, const DragInput& input) {
  state.panelHidden = {false, false};
  const bool vertical = state.vertical();
  const Box c = vertical ? Transposed(input.container) : input.container;
  const Insets in = vertical ? Transposed(input.insets) : input.insets;
  // A vertical bar's far limit leaves out no border (the drag's own asymmetry).
  const std::int32_t borderTop = vertical ? 0 : input.borderTop;
  Box bar = vertical ? Transposed(input.bar) : input.bar;

  const std::int64_t next = static_cast<std::int64_t>(bar.top) - state.dragStart + input.cursor;
  if (next > in.top) {
    const std::int64_t limit = static_cast<std::int64_t>(c.height) - bar.height - in.bottom - borderTop;
    if (next >= limit) {
      bar.top = static_cast<std::int32_t>(limit);
      state.panelHidden[1] = true;
    } else {
      bar.top = static_cast<std::int32_t>(next);
    }
  } else {
    bar.top = in.top;
    state.panelHidden[0] = true;
  }
  state.barPosition = bar.top;
  state.dragStart = input.cursor;
  return vertical ? Transposed(bar) : bar;
}

}  // namespace morvane::trellan
