#include <gtest/gtest.h>

#include "controls/trellan/trellan_layout.h"

namespace morvane::trellan {
namespace {

constexpr Box kContainer{1500, 900, 6000, 3000};

struct ArrangeRow {
  const char* name;
  std::int32_t orientation;
  std::int32_t resizeMode;
  std::int32_t style;
  bool changed;
  bool stored;                // the container's geometry was stored before
  std::int32_t storedOffset;  // stored Left/Top
  std::int32_t storedSize;    // stored Width/Height
  std::int32_t barPosition;   // as last placed
  Insets insets;
  Box container;
  Box bar;
  Box wantBar;
  Box wantFirst;
  Box wantSecond;
  std::array<bool, 2> wantVisible;
  Box wantContainer;
};

void PrintTo(const ArrangeRow& row, std::ostream* os) { *os << row.name; }

class ArrangeTable : public ::testing::TestWithParam<ArrangeRow> {};

TEST_P(ArrangeTable, PlacesBarAndGuidedControls) {
  const ArrangeRow& row = GetParam();
  LayoutState state;
  state.orientation = row.orientation;
  state.resizeMode = row.resizeMode;
  state.style = row.style;
  state.barPosition = row.barPosition;
  state.containerStored = row.stored;
  if (row.orientation == 2) {
    state.containerLeft = row.storedOffset;
    state.containerWidth = row.storedSize;
  } else {
    state.containerTop = row.storedOffset;
    state.containerHeight = row.storedSize;
  }
  Arrangement a;
  a.container = row.container;
  a.insets = row.insets;
  a.bar = row.bar;
  a.guided[0] = Box{0, 0, 10, 10};
  a.guided[1] = row.style == 1 ? Box{0, 0, 300, 450} : Box{0, 0, 10, 10};
  ArrangeGuidedControls(state, a, row.changed);
  EXPECT_EQ(a.bar, row.wantBar);
  EXPECT_EQ(*a.guided[0], row.wantFirst);
  EXPECT_EQ(*a.guided[1], row.wantSecond);
  EXPECT_EQ(a.visible, row.wantVisible);
  EXPECT_EQ(a.container, row.wantContainer);
  EXPECT_EQ(state.barPosition, row.orientation == 2 ? a.bar.left : a.bar.top);
}

constexpr Insets kNoInsets{};
constexpr Insets kFramed{15, 30, 15, 45};
constexpr Box kHBar{0, 1200, 100, 90};
constexpr Box kVBar{1200, 0, 90, 100};

INSTANTIATE_TEST_SUITE_P(
    Layout, ArrangeTable,
    ::testing::Values(ArrangeRow{"UltimateKeepsTheBar",
                                 1,
                                 0,
                                 0,
                                 true,
                                 true,
                                 900,
                                 2000,
                                 1200,
                                 kNoInsets,
                                 kContainer,
                                 kHBar,
                                 {0, 1200, 6000, 90},
                                 {0, 0, 6000, 1200},
                                 {0, 1290, 6000, 1710},
                                 {true, true},
                                 kContainer},
                      ArrangeRow{"AdjacentTopEdgeMovedUp",
                                 1,
                                 1,
                                 0,
                                 true,
                                 true,
                                 1500,
                                 3000,
                                 1200,
                                 kNoInsets,
                                 kContainer,
                                 kHBar,
                                 {0, 1800, 6000, 90},
                                 {0, 0, 6000, 1800},
                                 {0, 1890, 6000, 1110},
                                 {true, true},
                                 kContainer},
                      ArrangeRow{"AdjacentBottomEdgeMoved",
                                 1,
                                 1,
                                 0,
                                 true,
                                 true,
                                 900,
                                 2000,
                                 1200,
                                 kNoInsets,
                                 kContainer,
                                 kHBar,
                                 {0, 1200, 6000, 90},
                                 {0, 0, 6000, 1200},
                                 {0, 1290, 6000, 1710},
                                 {true, true},
                                 kContainer},
                      ArrangeRow{"AdjacentBeforeFirstStoreDoesNotJump",
                                 1,
                                 1,
                                 0,
                                 true,
                                 false,
                                 0,
                                 0,
                                 1200,
                                 kNoInsets,
                                 kContainer,
                                 kHBar,
                                 {0, 1200, 6000, 90},
                                 {0, 0, 6000, 1200},
                                 {0, 1290, 6000, 1710},
                                 {true, true},
                                 kContainer},
                      ArrangeRow{"AdjacentOnlyWhenContainerChanged",
                                 1,
                                 1,
                                 0,
                                 false,
                                 true,
                                 1500,
                                 3000,
                                 1200,
                                 kNoInsets,
                                 kContainer,
                                 kHBar,
                                 {0, 1200, 6000, 90},
                                 {0, 0, 6000, 1200},
                                 {0, 1290, 6000, 1710},
                                 {true, true},
                                 kContainer},
                      ArrangeRow{"ProportionalKeepsTheFraction",
                                 1,
                                 2,
                                 0,
                                 true,
                                 true,
                                 900,
                                 3000,
                                 1500,
                                 kNoInsets,
                                 {1500, 900, 6000, 4000},
                                 {0, 1500, 100, 90},
                                 {0, 2000, 6000, 90},
                                 {0, 0, 6000, 2000},
                                 {0, 2090, 6000, 1910},
                                 {true, true},
                                 {1500, 900, 6000, 4000}},
                      ArrangeRow{"ProportionalBeforeFirstStoreLeavesTheBar",
                                 1,
                                 2,
                                 0,
                                 true,
                                 false,
                                 0,
                                 0,
                                 1500,
                                 kNoInsets,
                                 kContainer,
                                 {0, 1500, 100, 90},
                                 {0, 1500, 6000, 90},
                                 {0, 0, 6000, 1500},
                                 {0, 1590, 6000, 1410},
                                 {true, true},
                                 kContainer},
                      ArrangeRow{"NearClampHidesTheFirst",
                                 1,
                                 0,
                                 0,
                                 false,
                                 true,
                                 900,
                                 3000,
                                 0,
                                 kFramed,
                                 kContainer,
                                 {0, -50, 100, 90},
                                 {15, 30, 5970, 90},
                                 {15, 30, 5970, 0},
                                 {15, 120, 5970, 2835},
                                 {false, true},
                                 kContainer},
                      ArrangeRow{"FarClamp",
                                 1,
                                 0,
                                 0,
                                 false,
                                 true,
                                 900,
                                 3000,
                                 0,
                                 kFramed,
                                 kContainer,
                                 {0, 5000, 100, 90},
                                 {15, 2865, 5970, 90},
                                 {15, 30, 5970, 2835},
                                 {15, 2955, 5970, 0},
                                 {true, false},
                                 kContainer},
                      ArrangeRow{"TooSmallForTheBarTakesTheFarLimit",
                                 1,
                                 0,
                                 0,
                                 false,
                                 true,
                                 900,
                                 3000,
                                 0,
                                 kFramed,
                                 {1500, 900, 6000, 100},
                                 kHBar,
                                 {15, -35, 5970, 90},
                                 {15, 30, 5970, 0},
                                 {15, 55, 5970, 0},
                                 {false, false},
                                 {1500, 900, 6000, 100}},
                      ArrangeRow{"NarrowerThanInsetsKeepsWidths",
                                 1,
                                 0,
                                 0,
                                 false,
                                 true,
                                 900,
                                 3000,
                                 0,
                                 kFramed,
                                 {1500, 900, 20, 3000},
                                 kHBar,
                                 {15, 1200, 100, 90},
                                 {15, 30, 10, 1170},
                                 {15, 1290, 10, 1665},
                                 {true, true},
                                 {1500, 900, 20, 3000}},
                      ArrangeRow{"VerticalUltimate",
                                 2,
                                 0,
                                 0,
                                 false,
                                 true,
                                 1500,
                                 6000,
                                 1200,
                                 kNoInsets,
                                 kContainer,
                                 kVBar,
                                 {1200, 0, 90, 3000},
                                 {0, 0, 1200, 3000},
                                 {1290, 0, 4710, 3000},
                                 {true, true},
                                 kContainer},
                      ArrangeRow{"VerticalProportional",
                                 2,
                                 2,
                                 0,
                                 true,
                                 true,
                                 1500,
                                 6000,
                                 3000,
                                 kNoInsets,
                                 {1500, 900, 4500, 3000},
                                 {3000, 0, 90, 100},
                                 {2250, 0, 90, 3000},
                                 {0, 0, 2250, 3000},
                                 {2340, 0, 2160, 3000},
                                 {true, true},
                                 {1500, 900, 4500, 3000}},
                      ArrangeRow{"VerticalAdjacentLeftEdgeMoved",
                                 2,
                                 1,
                                 0,
                                 true,
                                 true,
                                 2100,
                                 6000,
                                 1200,
                                 kNoInsets,
                                 kContainer,
                                 kVBar,
                                 {1800, 0, 90, 3000},
                                 {0, 0, 1800, 3000},
                                 {1890, 0, 4110, 3000},
                                 {true, true},
                                 kContainer},
                      ArrangeRow{"VerticalFramedFarClamp",
                                 2,
                                 0,
                                 0,
                                 false,
                                 true,
                                 1500,
                                 6000,
                                 0,
                                 kFramed,
                                 kContainer,
                                 {9000, 0, 90, 100},
                                 {5895, 30, 90, 2925},
                                 {15, 30, 5880, 2925},
                                 {5985, 30, 0, 2925},
                                 {true, false},
                                 kContainer},
                      ArrangeRow{"MoverResizesTheContainer",
                                 1,
                                 0,
                                 1,
                                 false,
                                 true,
                                 900,
                                 3000,
                                 0,
                                 kNoInsets,
                                 kContainer,
                                 kHBar,
                                 {0, 1200, 6000, 90},
                                 {0, 0, 6000, 1200},
                                 {0, 1290, 6000, 450},
                                 {true, true},
                                 {1500, 900, 6000, 1740}},
                      ArrangeRow{"VerticalMoverResizesTheContainer",
                                 2,
                                 0,
                                 1,
                                 false,
                                 true,
                                 1500,
                                 6000,
                                 0,
                                 kNoInsets,
                                 kContainer,
                                 kVBar,
                                 {1200, 0, 90, 3000},
                                 {0, 0, 1200, 3000},
                                 {1290, 0, 300, 3000},
                                 {true, true},
                                 {1500, 900, 1590, 3000}}),
    [](const ::testing::TestParamInfo<ArrangeRow>& row) { return std::string(row.param.name); });

TEST(Arrange, ProportionalRoundsHalvesToEven) {
  for (auto [height, want] : {std::pair{3, 2}, std::pair{5, 2}, std::pair{7, 4}}) {
    LayoutState state;
    state.orientation = 1;
    state.resizeMode = 2;
    state.barPosition = 1;
    state.containerHeight = 2;
    Arrangement a;
    a.container = {0, 0, 100, height};
    ArrangeGuidedControls(state, a, true);
    EXPECT_EQ(a.bar.top, want) << height;
    EXPECT_EQ(state.containerHeight, height);
  }
}

TEST(Arrange, NewInstanceGetsSixPixels) {
  LayoutState state;
  state.orientation = 2;
  state.newInstance = true;
  Arrangement a;
  a.container = kContainer;
  a.bar = {300, 0, 500, 500};
  ArrangeGuidedControls(state, a, false);
  EXPECT_EQ(a.bar.width, 6 * kTwipsPerPixel);
  EXPECT_EQ(a.bar.height, 3000);
}

TEST(Arrange, WithoutGuidedControlsStillPlacesTheBar) {
  LayoutState state;
  state.orientation = 1;
  Arrangement a;
  a.container = kContainer;
  a.bar = {500, 9000, 100, 60};
  ArrangeGuidedControls(state, a, false);
  EXPECT_EQ(a.bar, (Box{0, 2940, 6000, 60}));
}

struct DragRow {
  const char* name;
  std::int32_t orientation;
  Box container;
  std::int32_t borderTop;
  Box bar;
  std::int32_t dragStart;
  std::int32_t cursor;
  std::int32_t wantPosition;
  std::array<bool, 2> wantHidden;
};
void PrintTo(const DragRow& row, std::ostream* os) { *os << row.name; }

class DragTable : public ::testing::TestWithParam<DragRow> {};

TEST_P(DragTable, FollowsTheCursorWithinLimits) {
  const DragRow& row = GetParam();
  LayoutState state;
  state.orientation = row.orientation;
  state.dragStart = row.dragStart;
  state.panelHidden = {true, true};  // cleared by each step
  DragInput input;
  input.container = row.container;
  input.insets = {15, 30, 45, 60};
  input.borderTop = row.borderTop;
  input.bar = row.bar;
  input.cursor = row.cursor;
  const Box moved = DragSplitBar(state, input);
  const std::int32_t position = row.orientation == 2 ? moved.left : moved.top;
  EXPECT_EQ(position, row.wantPosition);
  EXPECT_EQ(state.barPosition, row.wantPosition);
  EXPECT_EQ(state.panelHidden, row.wantHidden);
  EXPECT_EQ(state.dragStart, row.cursor);
  if (row.orientation == 2) {
    EXPECT_EQ(moved.top, row.bar.top);
  }
  else EXPECT_EQ(moved.left, row.bar.left);
}

constexpr Box kDragH{0, 1200, 6000, 90};
constexpr Box kDragV{1200, 0, 90, 3000};

INSTANTIATE_TEST_SUITE_P(
    Layout, DragTable,
    ::testing::Values(
        DragRow{"Down", 1, kContainer, 0, kDragH, 15000, 15150, 1350, {false, false}},
        DragRow{"Up", 1, kContainer, 0, kDragH, 15000, 14850, 1050, {false, false}},
        DragRow{"ToTheTopInset", 1, kContainer, 0, kDragH, 15000, 13830, 30, {true, false}},
        DragRow{"PastTheTop", 1, kContainer, 0, kDragH, 15000, 1000, 30, {true, false}},
        DragRow{"JustBelowTheTop", 1, kContainer, 0, kDragH, 15000, 13831, 31, {false, false}},
        DragRow{"ToTheFarLimit", 1, kContainer, 0, kDragH, 15000, 16650, 2850, {false, true}},
        DragRow{"PastTheFarLimit", 1, kContainer, 0, kDragH, 15000, 90000, 2850, {false, true}},
        DragRow{"FormCaptionBand", 1, kContainer, 300, kDragH, 15000, 90000, 2550, {false, true}},
        DragRow{"Right", 2, kContainer, 300, kDragV, 15000, 15300, 1500, {false, false}},
        DragRow{
            "VerticalIgnoresCaptionBand", 2, kContainer, 300, kDragV, 15000, 90000, 5865, {false, true}},
        DragRow{"VerticalToTheLeft", 2, kContainer, 0, kDragV, 15000, 0, 15, {true, false}},
        // 2184 px is the last cursor position that fits 16 bits of twips.
        DragRow{"BeyondTheOld16BitRange",
                2,
                {0, 0, 90000, 3000},
                0,
                kDragV,
                2184 * 15,
                2300 * 15,
                1200 + 116 * 15,
                {false, false}}),
    [](const ::testing::TestParamInfo<DragRow>& row) { return std::string(row.param.name); });

TEST(Insets, BorderAndAlignedControls) {
  const Insets border{15, 30, 45, 60};
  EXPECT_EQ(GetContainerInsets(border, true, {}), border);
  EXPECT_EQ(GetContainerInsets(border, false, {}), (Insets{0, 0, 45, 60}));
  const std::vector<AlignedChild> aligned{
      {1, 999, 300}, {2, 999, 200}, {3, 150, 999}, {4, 120, 999}, {0, 5, 5}};
  EXPECT_EQ(GetContainerInsets(border, false, aligned), (Insets{150, 300, 165, 260}));
}

}  // namespace
}  // namespace morvane::trellan
