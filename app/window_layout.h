#pragma once

// The main window's geometry as plain numbers (pixels), so it can be checked over any
// window size without widgets. Every width and height that comes out is 0 or more.

#include <array>

#include "platform/core/box.h"

namespace morvane::app {

using core::Box;

// A status panel's span across the status bar, which starts at the client's left edge.
struct PanelSpan {
  int left = 0;
  int width = 0;
};

inline constexpr int kStatusHeight = 20;

struct MainLayoutInput {
  int clientWidth = 0;
  int clientHeight = 0;
  bool anyBandVisible = true;
  int coolBarHeight = 0;
  int statusHeight = kStatusHeight;
  // The panels the three progress bars cover: "Info", "Progress1", "Progress2".
  std::array<PanelSpan, 3> panels{};
};

struct MainLayout {
  bool coolBarVisible = true;
  Box coolBar;
  Box main;                     // pbMain
  Box status;                   // pbStatus
  std::array<Box, 3> progress;  // pbProgress(0..2)
};

// pbMain under the band bar (at the top when every band is hidden) and above the
// status bar; each progress bar over its panel, 2 px in, 5 px lower than the bar.
MainLayout ArrangeMainLayout(const MainLayoutInput& in);

// The Factors strip: pbToolbar(2), then Shift X, Shift Y and Factor, each a 40 x 16
// label and a 40 px box as high as the titles combo, 6 px apart, the box 3 px above
// its label.
struct FactorsLayout {
  Box toolbar, tlShiftX, tbShiftX, tlShiftY, tbShiftY, tlFactor, tbFactor;
};
FactorsLayout ArrangeFactors(int stripHeight, int toolButtonWidth, int comboHeight);

// The Titles strip: Digits label and spin box, Title label, the combo 200 px wide
// with its text box over the edit field, and pbToolbar(3).
struct TitlesLayout {
  Box tlDigits, sbDigits, tlTitles, cbTitles, tbTitles, toolbar;
};
TitlesLayout ArrangeTitles(int stripHeight, int toolButtonWidth, int comboHeight, int scrollBarWidth);

// Where the splitter's bar starts in pbMain, between the tree and the zoom view.
inline constexpr int kSplitterStart = 123;
// The splitter bar's design width.
inline constexpr int kSplitterWidth = 6;

}  // namespace morvane::app
