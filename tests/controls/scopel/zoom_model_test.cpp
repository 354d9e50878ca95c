#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "controls/scopel/zoom_model.h"

namespace morvane::scopel {
namespace {

constexpr std::int64_t kStrip = 16 * kTwipsPerPixelX;

struct Fixture {
  int paints = 0;
  int timers = 0;
  ZoomModel model{{[this] { ++paints; }, [this] { ++timers; }}};

  // A control of inner size w x h twips showing an image of px x py pixels at zoom z.
  Fixture(std::int64_t w, std::int64_t h, std::int64_t px, std::int64_t py, int z) {
    model.SetStripSizes(kStrip, kStrip);
    model.SetInnerSize(w, h);
    model.RestoreZooming(z);
    model.SetPropertiesRead(true);
    model.PictureChanged(true, px * kTwipsPerPixelX, py * kTwipsPerPixelY);
  }
};

TEST(ZoomModel, LargeImageShowsBothStripsWithTheMagnifiedSizeAsRange) {
  Fixture f(3000, 3000, 100, 100, 4);
  EXPECT_EQ(f.model.zoomSize(Axis::X), 6000);
  EXPECT_TRUE(f.model.stripVisible(Axis::X));
  EXPECT_TRUE(f.model.stripVisible(Axis::Y));
  EXPECT_EQ(f.model.bar(Axis::X).max, 400);
  EXPECT_EQ(f.model.bar(Axis::Y).max, 400);
  // The viewport is whole cells: 3000 twips hold 50 cells of 60.
  EXPECT_EQ(f.model.viewportWidth(), 3000);
  EXPECT_GE(f.paints, 1);
  // One page is the visible length in pixels, without the other strip.
  EXPECT_EQ(f.model.bar(Axis::X).largeChange, (3000 - kStrip) / 15);
}

TEST(ZoomModel, SmallImageFitsWithoutStrips) {
  Fixture f(3000, 3000, 10, 10, 4);
  EXPECT_FALSE(f.model.stripVisible(Axis::X));
  EXPECT_FALSE(f.model.stripVisible(Axis::Y));
  EXPECT_EQ(f.model.viewportWidth(), 600);
  EXPECT_EQ(f.model.viewportHeight(), 600);
}

TEST(ZoomModel, EnlargingUntilTheImageFitsHidesTheStripAndReturnsTheBarToMin) {
  Fixture f(3000, 600, 100, 10, 4);
  f.model.SetBarValue(Axis::X, 200);
  ASSERT_LT(f.model.offset(Axis::X), 0);
  f.model.SetInnerSize(7000, 600);
  f.model.Resize();
  EXPECT_FALSE(f.model.stripVisible(Axis::X));
  EXPECT_EQ(f.model.bar(Axis::X).value, 0);
  EXPECT_EQ(f.model.offset(Axis::X), 0);
  EXPECT_EQ(f.model.viewportWidth(), 6000);
}

TEST(ZoomModel, ShrinkingRangeKeepsTheFarEndInWholeCells) {
  // Scrolled to the far right, then the control grows so that only 2.3 cells are left
  // to scroll: the view shows the image from pixel column 3.
  Fixture f(3000, 1000, 100, 10, 4);
  f.model.SetBarValue(Axis::X, f.model.bar(Axis::X).max);
  EXPECT_EQ(f.model.offset(Axis::X), -3000);
  f.model.SetInnerSize(6000 - 138, 1000);
  f.model.Resize();
  EXPECT_EQ(f.model.offset(Axis::X), -180);
  EXPECT_EQ(f.model.SourceLeftPixel(), 3);
}

TEST(ZoomModel, ArrowStepMovesOneCellWhateverTheRange) {
  for (std::int64_t pixels : {100, 1000, 5000}) {
    SCOPED_TRACE(pixels);
    Fixture f(3000, 600, pixels, 10, 4);
    const int before = f.paints;
    f.model.SetBarValue(Axis::X, 1);
    EXPECT_EQ(f.model.offset(Axis::X), -60);
    EXPECT_EQ(f.timers, 1);
    EXPECT_GT(f.paints, before);
    // The bar follows the offset proportionally.
    const std::int32_t v = f.model.bar(Axis::X).value;
    EXPECT_EQ(f.model.scrollValue(Axis::X), v);
    f.model.SetBarValue(Axis::X, v + 1);
    EXPECT_EQ(f.model.offset(Axis::X), -120);
  }
}

TEST(ZoomModel, ArrowsFollowTheBarEnds) {
  Fixture f(3000, 600, 100, 10, 4);
  f.model.SetBarValue(Axis::X, 50);
  EXPECT_EQ(f.model.bar(Axis::X).arrows, 0);
  f.model.SetBarValue(Axis::X, f.model.bar(Axis::X).max);
  EXPECT_EQ(f.model.bar(Axis::X).arrows, 1);
  f.model.SetBarValue(Axis::X, 0);
  EXPECT_EQ(f.model.bar(Axis::X).arrows, 2);
}

TEST(ZoomModel, BarDoesNothingBeforeTheViewHasBeenPainted) {
  ZoomModel model;
  model.SetStripSizes(kStrip, kStrip);
  model.SetInnerSize(3000, 3000);
  model.RestoreZooming(4);
  model.PictureChanged(true, 1500, 1500);  // properties not read yet: no redraw
  ASSERT_FALSE(model.viewHasPicture());
  model.SetBarValue(Axis::X, 100);
  EXPECT_EQ(model.offset(Axis::X), 0);
  EXPECT_EQ(model.viewportWidth(), 0);
}

TEST(ZoomModel, ScrollPositionSurvivesReadAndWriteBack) {
  for (int zoom : {1, 2, 3, 4, 7, 8, 14}) {
    for (std::int32_t value : {1, 37, 123, 250}) {
      SCOPED_TRACE(testing::Message() << "zoom " << zoom << " value " << value);
      Fixture f(3000, 3000, 300, 300, zoom);
      f.model.SetBarValue(Axis::X, value);
      f.model.SetBarValue(Axis::Y, value + 1);
      const auto offsetX = f.model.offset(Axis::X);
      const auto offsetY = f.model.offset(Axis::Y);
      const auto barX = f.model.bar(Axis::X).value;
      const std::int32_t x = f.model.Scroll(Axis::X);
      const std::int32_t y = f.model.Scroll(Axis::Y);
      const int paints = f.paints;
      f.model.SetScroll(Axis::X, x);
      f.model.SetScroll(Axis::Y, y);
      EXPECT_EQ(f.model.bar(Axis::X).value, barX);
      EXPECT_EQ(f.model.offset(Axis::X), offsetX);
      EXPECT_EQ(f.model.offset(Axis::Y), offsetY);
      EXPECT_EQ(f.paints, paints) << "nothing moved, nothing repainted";
    }
  }
}

TEST(ZoomModel, ScrollAtZoomOneIsTheBarValueInTwips) {
  Fixture f(3000, 3000, 300, 300, 1);
  f.model.SetScroll(Axis::X, 150);
  EXPECT_EQ(f.model.bar(Axis::X).value, 10);
  EXPECT_EQ(f.model.Scroll(Axis::X), 150);
}

TEST(ZoomModel, ScrollLetWhileTheStripIsHiddenGoesToMin) {
  Fixture f(3000, 3000, 10, 10, 4);
  f.model.SetScroll(Axis::X, 90);
  EXPECT_EQ(f.model.bar(Axis::X).value, 0);
}

TEST(ZoomModel, HugeImagesAtZoomEightNeitherOverflowNorStop) {
  // 16384 pixels at zoom 8: the old 32-bit product of range, zoom and position overflowed.
  Fixture f(15000, 12000, 16384, 16384, 8);
  EXPECT_EQ(f.model.bar(Axis::X).max, 16384 * 8);
  f.model.SetScroll(Axis::X, 16384 * 15);
  EXPECT_EQ(f.model.bar(Axis::X).value, f.model.bar(Axis::X).max);
  EXPECT_LT(f.model.offset(Axis::X), 0);
  f.model.SetScroll(Axis::Y, 8000 * 15);
  EXPECT_EQ(f.model.Scroll(Axis::Y), 8000 * 15);
  // At zoom 32767 the range still fits 32 bits.
  EXPECT_TRUE(f.model.SetZooming(32767));
  EXPECT_EQ(f.model.bar(Axis::X).max, static_cast<std::int32_t>(16384LL * 32767));
}

TEST(ZoomModel, ARangeBeyondThirtyTwoBitsIsHeldAndStillScrollsTheWholeImage) {
  // 20 million pixels at zoom 200: the magnified width in pixels does not fit a bar's
  // 32-bit range. The bar holds the largest range it can, and its ends still reach
  // the image's ends.
  constexpr std::int64_t kPixels = 20'000'000;
  Fixture f(15000, 12000, kPixels, 10, 200);
  const BarModel& bar = f.model.bar(Axis::X);
  EXPECT_EQ(bar.max, std::numeric_limits<std::int32_t>::max());
  const std::int64_t cell = 200 * 15;
  f.model.SetBarValue(Axis::X, bar.max);
  EXPECT_EQ(f.model.offset(Axis::X) % cell, 0);
  EXPECT_EQ(f.model.SourceLeftPixel() + f.model.viewportWidth() / cell, kPixels)
      << "the last column shows";
  f.model.SetBarValue(Axis::X, bar.max / 2);
  EXPECT_NEAR(static_cast<double>(f.model.SourceLeftPixel()), kPixels / 2.0, 2.0);
  const std::int64_t column = f.model.SourceLeftPixel();
  f.model.SetBarValue(Axis::X, bar.value + 1);  // one arrow step: one image pixel
  EXPECT_EQ(f.model.SourceLeftPixel(), column + 1);
  f.model.SetScroll(Axis::X, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(bar.value, bar.max);
  f.model.SetScroll(Axis::X, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(bar.value, 0);
  EXPECT_EQ(f.model.offset(Axis::X), 0);
}

TEST(ZoomModel, ZoomingKeepsTheLeftAndTopColumns) {
  Fixture f(3000, 3000, 200, 200, 4);
  f.model.SetBarValue(Axis::X, 120);
  f.model.SetBarValue(Axis::Y, 40);
  const auto columnX = f.model.SourceLeftPixel();
  const auto columnY = f.model.SourceTopPixel();
  ASSERT_GT(columnX, 0);
  for (int zoom : {8, 3, 6, 4}) {
    SCOPED_TRACE(zoom);
    EXPECT_TRUE(f.model.SetZooming(zoom));
    EXPECT_EQ(f.model.SourceLeftPixel(), columnX);
    EXPECT_EQ(f.model.SourceTopPixel(), columnY);
    // Reading and writing back the position keeps it too.
    f.model.SetScroll(Axis::X, f.model.Scroll(Axis::X));
    EXPECT_EQ(f.model.SourceLeftPixel(), columnX);
  }
}

TEST(ZoomModel, AfterAZoomChangeTheBarsStandWhereTheViewIs) {
  // The bar's position is the offset's share of the scrollable length under the new
  // range, so the thumb shows the kept columns and the next arrow step moves on from
  // there by one cell, not from a position measured against the old range.
  for (int zoom : {8, 2, 16, 3}) {
    SCOPED_TRACE(zoom);
    Fixture f(3000, 3000, 200, 200, 4);
    f.model.SetBarValue(Axis::X, 400);
    f.model.SetBarValue(Axis::Y, 200);
    ASSERT_TRUE(f.model.SetZooming(zoom));
    for (Axis axis : {Axis::X, Axis::Y}) {
      const BarModel& bar = f.model.bar(axis);
      EXPECT_EQ(bar.max, 200 * zoom);
      const std::int64_t reach = kStrip + f.model.zoomSize(axis) - 3000;
      const std::int64_t expected = std::llabs(
          RoundHalfEven(static_cast<double>(bar.max) * static_cast<double>(f.model.offset(axis)) /
                        static_cast<double>(reach)));
      EXPECT_EQ(bar.value, expected);
      EXPECT_EQ(f.model.scrollValue(axis), bar.value);
    }
    const std::int64_t column = f.model.SourceLeftPixel();
    const std::int32_t before = f.model.bar(Axis::X).value;
    f.model.SetBarValue(Axis::X, before + 1);
    EXPECT_EQ(f.model.SourceLeftPixel(), column + 1);
    // One cell's share of the bar, and no more: no jump of the thumb.
    const double share = static_cast<double>(f.model.bar(Axis::X).max) * zoom * 15 /
                         static_cast<double>(f.model.zoomSize(Axis::X) + kStrip - 3000);
    EXPECT_LE(std::abs(f.model.bar(Axis::X).value - before), share + 1);
  }
}

TEST(ZoomModel, ZoomingBelowOneIsOneButStillLaysOut) {
  Fixture f(3000, 3000, 10, 10, 1);
  EXPECT_FALSE(f.model.SetZooming(1));
  const int paints = f.paints;
  EXPECT_TRUE(f.model.SetZooming(0));
  EXPECT_EQ(f.model.Zoom(), 1);
  EXPECT_GT(f.paints, paints);
}

TEST(ZoomModel, EnsureVisibleOfAFarPointStopsAtTheImagesEdge) {
  // Points a host may pass as 32-bit floats, however far outside the image: the view
  // goes to the image's far end (or stays at its start) and nothing overflows.
  struct Case {
    float x, y;
    bool farEnd;
  };
  for (const Case& c : std::vector<Case>{{1e30f, 1e30f, true},
                                         {3.4e38f, 3.4e38f, true},
                                         {1e12f, 1e12f, true},
                                         {-1e30f, -1e30f, false},
                                         {-3.4e38f, -3.4e38f, false}}) {
    SCOPED_TRACE(c.x);
    Fixture f(3000, 3000, 200, 200, 4);
    f.model.SetBarValue(Axis::X, 100);
    f.model.SetBarValue(Axis::Y, 100);
    f.model.EnsureVisible(c.x, c.y);
    for (Axis axis : {Axis::X, Axis::Y}) {
      const BarModel& bar = f.model.bar(axis);
      EXPECT_EQ(bar.value, c.farEnd ? bar.max : bar.min);
      EXPECT_LE(f.model.offset(axis), 0);
      EXPECT_GE(f.model.offset(axis), -f.model.zoomSize(axis));
    }
    const auto p = f.model.LocateCursor(c.x, c.y);
    EXPECT_GE(p.x, 0);
  }
}

TEST(ZoomModel, EnsureVisibleKeepsOneCellOfMarginAndOtherwiseLeavesTheView) {
  Fixture f(3000, 3000, 200, 200, 4);
  f.model.SetOffsets(-600, 0);  // image column 10 at the viewport's left
  const int paints = f.paints;
  // Column 15 is well inside: nothing changes and nothing repaints.
  EXPECT_FALSE(f.model.EnsureVisible(15 * 15, 5 * 15));
  EXPECT_EQ(f.paints, paints);
  // Column 10 shows in the first cell: it moves to the second.
  EXPECT_TRUE(f.model.EnsureVisible(10 * 15, 5 * 15));
  EXPECT_EQ(f.model.offset(Axis::X), -540);
  EXPECT_GT(f.paints, paints);
  // Beyond the last whole cell: it becomes the last whole cell.
  const std::int64_t viewW = 3000 - kStrip;
  EXPECT_TRUE(f.model.EnsureVisible(100 * 15, 5 * 15));
  EXPECT_EQ(f.model.offset(Axis::X), viewW - 100 * 60 - 60 - (viewW - 100 * 60 - 60) % 60);
  // The image's first column cannot get a margin: the offset stays at 0.
  f.model.SetOffsets(0, 0);
  EXPECT_FALSE(f.model.EnsureVisible(0, 0));
  EXPECT_EQ(f.model.offset(Axis::X), 0);
}

TEST(ZoomModel, LocateCursorAimsAtTheCellCentreFromTheViewportOrigin) {
  struct Case {
    int zoom;
    std::int64_t pixel;
    std::int64_t expected;
  };
  for (const Case& c :
       std::vector<Case>{{1, 7, 7}, {2, 7, 15}, {3, 7, 23}, {5, 7, 37}, {7, 7, 53}, {8, 2, 20}}) {
    SCOPED_TRACE(c.zoom);
    Fixture f(30000, 30000, 100, 100, c.zoom);
    const auto p =
        f.model.LocateCursor(static_cast<double>(c.pixel * 15), static_cast<double>(c.pixel * 15));
    EXPECT_EQ(p.x, c.expected);
    EXPECT_EQ(p.y, c.expected);
  }
}

TEST(ZoomModel, MouseConversionTable) {
  struct Case {
    int zoom;
    std::int64_t offsetX;
    double viewX;
    std::int64_t imageX;
  };
  const std::vector<Case> cases = {
      {1, 0, 0, 0},     {1, 0, 17.5, 18}, {1, 0, 16.5, 16}, {1, 0, 151, 151},      {3, -90, 0, 30},
      {4, 0, 600, 150}, {4, 0, 659, 164}, {4, -300, 0, 75}, {3, 0, -5, -1},        {3, 0, -4, -1},
      {3, 0, -3, -1},   {3, 0, -2, 0},    {3, 0, -1, 0},    {8, -1200, 1199, 299},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " offset " << c.offsetX << " X " << c.viewX);
    Fixture f(3000, 3000, 400, 400, c.zoom);
    f.model.SetOffsets(c.offsetX, c.offsetX);
    const auto p = f.model.ViewToImage(c.viewX, c.viewX);
    EXPECT_EQ(p.x, c.imageX);
    EXPECT_EQ(p.y, c.imageX);
  }
}

TEST(ZoomModel, SetPointCellLeavesTheGridColumnAndRow) {
  struct Case {
    int zoom;
    std::int64_t offset;
    std::int64_t left, size;
  };
  for (const Case& c :
       std::vector<Case>{{1, 0, 2, 1}, {2, 0, 4, 1}, {3, 0, 6, 2}, {5, 0, 10, 4}, {5, -75, 5, 4}}) {
    SCOPED_TRACE(c.zoom);
    Fixture f(3000, 3000, 400, 400, c.zoom);
    f.model.SetOffsets(c.offset, c.offset);
    const auto cell = f.model.SetPointCell(2 * 15, 2 * 15);
    EXPECT_EQ(cell.left, c.left);
    EXPECT_EQ(cell.top, c.left);
    EXPECT_EQ(cell.width, c.size);
    EXPECT_EQ(cell.height, c.size);
  }
}

TEST(ZoomModel, ViewportTakesOffTheVerticalStripOnlyAtTheHorizontalEnd) {
  Fixture f(3000, 3000, 200, 200, 4);
  EXPECT_EQ(f.model.viewportWidth(), 3000);  // runs on under the strip
  f.model.SetBarValue(Axis::X, f.model.bar(Axis::X).max);
  EXPECT_EQ(f.model.viewportWidth(), (3000 - kStrip) / 60 * 60);
}

TEST(ZoomModel, NoPictureResetsTheView) {
  Fixture f(3000, 3000, 200, 200, 4);
  f.model.SetBarValue(Axis::X, 100);
  f.model.PictureChanged(false, 0, 0);
  EXPECT_EQ(f.model.offset(Axis::X), 0);
  EXPECT_EQ(f.model.viewportWidth(), 0);
  EXPECT_EQ(f.model.zoomSize(Axis::X), 0);
  const int paints = f.paints;
  f.model.RedrawZoomView();
  EXPECT_EQ(f.paints, paints);
}

}  // namespace
}  // namespace morvane::scopel
