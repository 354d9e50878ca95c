#include "app/window_layout.h"

#include <algorithm>

namespace morvane::app {

namespace {

int NonNegative(int value) { return std::max(value, 0); }

constexpr int kLabelWidth = 40;
constexpr int kLabelHeight = 16;
constexpr int kBoxWidth = 40;
constexpr int kGap = 6;
constexpr int kRaise = 3;

// Label and box of one field pair, the label at left.
void PlacePair(int left, int labelTop, int comboHeight, Box& label, Box& box) {
  label = {left, labelTop, kLabelWidth, kLabelHeight};
  box = {label.left + label.width, NonNegative(labelTop - kRaise), kBoxWidth, NonNegative(comboHeight)};
}

}  // namespace

MainLayout ArrangeMainLayout(const MainLayoutInput& in) {
  MainLayout out;
  const int width = NonNegative(in.clientWidth);
  const int height = NonNegative(in.clientHeight);
  const int status = NonNegative(in.statusHeight);
  out.coolBarVisible = in.anyBandVisible;
  const int top = in.anyBandVisible ? NonNegative(in.coolBarHeight) : 0;
  out.coolBar = {0, 0, width, top};
  out.main = {0, top, width, NonNegative(height - top - status)};
  out.status = {0, NonNegative(height - status), width, std::min(status, height)};

  const int barHeight = NonNegative(status - 5);
  const int barTop = NonNegative(height - barHeight - 2);
  for (std::size_t i = 0; i < out.progress.size(); ++i) {
    const PanelSpan& panel = in.panels[i];
    out.progress[i] = {panel.left + 2, barTop, NonNegative(panel.width - 2), barHeight};
  }
  return out;
}

FactorsLayout ArrangeFactors(int stripHeight, int toolButtonWidth, int comboHeight) {
  FactorsLayout out;
  const int height = NonNegative(stripHeight);
  out.toolbar = {0, 0, NonNegative(2 * toolButtonWidth), height};
  const int labelTop = NonNegative((height - kLabelHeight) / 2);
  PlacePair(out.toolbar.width + kGap, labelTop, comboHeight, out.tlShiftX, out.tbShiftX);
  PlacePair(out.tbShiftX.left + out.tbShiftX.width + kGap, labelTop, comboHeight, out.tlShiftY,
            out.tbShiftY);
  PlacePair(out.tbShiftY.left + out.tbShiftY.width + kGap, labelTop, comboHeight, out.tlFactor,
            out.tbFactor);
  return out;
}

TitlesLayout ArrangeTitles(int stripHeight, int toolButtonWidth, int comboHeight, int scrollBarWidth) {
  TitlesLayout out;
  const int height = NonNegative(stripHeight);
  const int combo = NonNegative(comboHeight);
  const int labelTop = NonNegative((height - kLabelHeight) / 2);
  PlacePair(0, labelTop, combo, out.tlDigits, out.sbDigits);
  out.tlTitles = {out.sbDigits.left + out.sbDigits.width + kGap, labelTop, kLabelWidth, kLabelHeight};
  out.cbTitles = {out.tlTitles.left + out.tlTitles.width, out.sbDigits.top, 200, combo};
  out.tbTitles = {out.cbTitles.left + 2, out.cbTitles.top + 3,
                  NonNegative(out.cbTitles.width - (NonNegative(scrollBarWidth) + 4)),
                  NonNegative(combo - 5)};
  out.toolbar = {out.cbTitles.left + out.cbTitles.width + 2, 0, NonNegative(toolButtonWidth), height};
  return out;
}

}  // namespace morvane::app
