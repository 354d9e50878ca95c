#include <gtest/gtest.h>

#include <QScrollBar>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include <vector>

#include "controls/scopel/scopel_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/variant_args.h"
#include "tests/controls/scopel/scopel_test_support.h"
#include "tests/support/picture_rows.h"

namespace morvane::scopel::hosting {
namespace {

using morvane::testing::PictureRows;

const QVariant kNone;  // an omitted optional argument

class ScopelDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterScopel(), automation::kResultOk);
    host_ = std::make_unique<ScopelHost>(QSize(300, 300));
    Blank();
  }
  // A white 8 x 8 picture at zoom 1 without grid, unless a test changes it.
  void Blank() {
    QImage white(8, 8, QImage::Format_RGB32);
    white.fill(0xffffffffu);
    host_->Put(dispid::Picture, QVariant::fromValue(white));
  }

  std::int32_t At(int px, int py) {
    return automation::ToInt32(host_->Call(dispid::GetPoint, {px * 15, py * 15}));
  }
  // The image as rows of '#' (red) and '.' (white), to compare with art.
  std::vector<std::string> Art() {
    std::vector<std::string> rows;
    for (int y = 0; y < 8; ++y) {
      std::string row;
      for (int x = 0; x < 8; ++x) row += At(x, y) == static_cast<std::int32_t>(kRed) ? '#' : '.';
      rows.push_back(row);
    }
    return rows;
  }
  void Line(QVariantList args) { host_->Call(dispid::DrawLine, std::move(args)); }

  std::unique_ptr<ScopelHost> host_;
};

TEST_F(ScopelDrawingTest, DrawLineByItsArgumentCodes) {
  host_->Put(dispid::ForeColor, kRed);
  struct Case {
    const char* what;
    QVariantList args;
    std::string_view art;
  };
  const std::vector<Case> cases = {
      {"line leaves out its end",
       {kNone, 15, 15, kNone, 75, 15},
       R"(
........
.####...
........
........
........
........
........
........
)"},
      {"fill alone is an empty box",
       {kNone, 15, 15, kNone, 60, 45, kNone, false, true},
       R"(
........
.####...
.#..#...
.####...
........
........
........
........
)"},
      {"box and fill is a filled box",
       {kNone, 15, 15, kNone, 60, 45, kNone, true, true},
       R"(
........
.####...
.####...
.####...
........
........
........
........
)"},
      {"relative end",
       {kNone, 30, 30, true, 45, 0},
       R"(
........
........
..###...
........
........
........
........
........
)"},
      {"relative start without a start draws nothing",
       {true, kNone, kNone, kNone, 105, 105},
       R"(
........
........
........
........
........
........
........
........
)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Blank();
    Line(c.args);
    EXPECT_EQ(Art(), PictureRows(c.art));
  }
}

TEST_F(ScopelDrawingTest, TheDrawingPositionBeyond32BitsReadsAsTheNearestThatFits) {
  const struct {
    const char* name;
    double twips;
    std::int32_t read;
  } rows[] = {
      {"in range", 150, 150},
      {"past the largest", 3e9, std::numeric_limits<std::int32_t>::max()},
      {"below the smallest", -3e9, std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    host_->Put(dispid::CurrentX, row.twips);
    host_->Put(dispid::CurrentY, row.twips);
    EXPECT_EQ(host_->Get(dispid::CurrentX).toInt(), row.read);
    EXPECT_EQ(host_->Get(dispid::CurrentY).toInt(), row.read);
  }
}

TEST_F(ScopelDrawingTest, DrawLineWithOnlyAnEndContinuesFromTheDrawingPosition) {
  Line({kNone, 15, 15, kNone, 75, 15, kRed});
  EXPECT_EQ(host_->Get(dispid::CurrentX).toInt(), 75);
  Line({kNone, kNone, kNone, kNone, 75, 75, kRed});
  EXPECT_EQ(host_->Get(dispid::CurrentX).toInt(), 75);
  EXPECT_EQ(host_->Get(dispid::CurrentY).toInt(), 75);
  EXPECT_EQ(At(5, 1), static_cast<std::int32_t>(kRed));
  EXPECT_EQ(At(5, 4), static_cast<std::int32_t>(kRed));
  EXPECT_NE(At(5, 5), static_cast<std::int32_t>(kRed));
  // A start without Y1 is a conversion error; nothing is drawn.
  try {
    Line({kNone, 15, kNone, kNone, 30, 105, kRed});
    ADD_FAILURE() << "no error";
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), automation::kErrTypeMismatch);
  }
  EXPECT_NE(At(1, 6), static_cast<std::int32_t>(kRed));
}

TEST_F(ScopelDrawingTest, NumbersThatAreNoNumbersAreRefusedAndDrawNothing) {
  // The runtime reads no "nan" or "inf"; a host's infinite or undefined double is an
  // overflow. Either way the call fails before anything is drawn.
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<QVariant, int>> values = {
      {QVariant("nan"), automation::kErrTypeMismatch},
      {QVariant("inf"), automation::kErrTypeMismatch},
      {QVariant("-Infinity"), automation::kErrTypeMismatch},
      {QVariant(std::nan("")), automation::kErrOverflow},
      {QVariant(inf), automation::kErrOverflow},
      {QVariant(-inf), automation::kErrOverflow},
  };
  for (const auto& [value, error] : values) {
    SCOPED_TRACE(value.toString().toStdString());
    Blank();
    const std::vector<std::pair<automation::DispId, QVariantList>> calls = {
        {dispid::DrawLine, {kNone, 0, 0, kNone, value, 60, kRed}},
        {dispid::DrawLine, {kNone, 0, 0, kNone, 60, 60, kRed, value}},
        {dispid::DrawCircle, {kNone, 60, 60, value, kRed}},
        {dispid::SetPoint, {kNone, value, 30, kRed}},
        {dispid::GetPoint, {value, 0}},
    };
    for (const auto& [id, args] : calls) {
      SCOPED_TRACE(id);
      try {
        host_->Call(id, args);
        ADD_FAILURE() << "no error";
      } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), error);
      }
    }
    for (const std::string& row : Art()) EXPECT_EQ(row, "........");
  }
}

TEST_F(ScopelDrawingTest, ViewCatchesUpOnlyAtARedraw) {
  host_->Put(dispid::Zooming, 2);
  const QImage clean = ViewOf(*host_);
  host_->Put(dispid::DrawImmadiately, false);
  Line({kNone, 0, 0, kNone, 60, 0, kRed});
  Line({kNone, 0, 15, kNone, 60, 15, kRed});
  EXPECT_EQ(ViewOf(*host_), clean) << "nothing shows before Refresh";
  // X2 omitted: no drawing and no redraw, even with immediate drawing on.
  host_->Put(dispid::DrawImmadiately, true);
  Line({kNone, 0, 0, kNone, kNone, 60, kRed});
  EXPECT_EQ(ViewOf(*host_), clean);
  // A relative start without a start draws nothing but does redraw.
  Line({true, kNone, kNone, kNone, 60, 60, kRed});
  EXPECT_EQ(ViewOf(*host_).pixel(0, 0), kRedRgb);
  host_->Put(dispid::DrawImmadiately, false);
  Line({kNone, 0, 75, kNone, 60, 75, kRed});
  EXPECT_NE(ViewOf(*host_).pixel(0, 10), kRedRgb);
  host_->Call(dispid::Refresh);
  EXPECT_EQ(ViewOf(*host_).pixel(0, 10), kRedRgb);
  // The redraw committed the drawing: the picture carries it.
  EXPECT_EQ(automation::PictureOf(host_->Get(dispid::Picture)).pixel(0, 5), kRedRgb);
}

TEST_F(ScopelDrawingTest, SetPointPaintsItsCellWithoutTheGridLine) {
  struct Case {
    int zoom;
    int scroll;  // arrow steps to the right
    int box;     // pixels of the painted square
  };
  for (const Case& c : std::vector<Case>{{1, 0, 1}, {2, 0, 1}, {5, 0, 4}, {5, 2, 4}}) {
    SCOPED_TRACE(::testing::Message() << "zoom " << c.zoom << " scroll " << c.scroll);
    ScopelHost host(QSize(60, 60));
    host.Put(dispid::Zooming, c.zoom);
    host.Put(dispid::Picture, QVariant::fromValue(Gradient(40, 40)));
    auto* bar = static_cast<QScrollBar*>(host.part("sbZoomX"));
    for (int i = 0; i < c.scroll; ++i) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const QImage before = ViewOf(host);
    ASSERT_TRUE(host.Call(dispid::SetPoint, {kNone, 6 * 15, 3 * 15, kRed}).toBool());
    const QImage after = ViewOf(host);
    const int left = (6 - c.scroll) * c.zoom, top = 3 * c.zoom;
    for (int y = 0; y < after.height(); ++y) {
      for (int x = 0; x < after.width(); ++x) {
        const bool inBox = x >= left && x < left + c.box && y >= top && y < top + c.box;
        ASSERT_EQ(after.pixel(x, y), inBox ? kRedRgb : before.pixel(x, y)) << x << "," << y;
      }
    }
    EXPECT_EQ(automation::ToInt32(host.Call(dispid::GetPoint, {90, 45})),
              static_cast<std::int32_t>(kRed));
  }
  // Without y nothing happens.
  EXPECT_FALSE(host_->Call(dispid::SetPoint, {kNone, 15, kNone, kRed}).toBool());
  EXPECT_NE(At(1, 0), static_cast<std::int32_t>(kRed));
}

TEST_F(ScopelDrawingTest, GetPointOutsideTheImageIsMinusOne) {
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {8, 0}, {0, 8}}) {
    EXPECT_EQ(At(x, y), -1) << x << "," << y;
  }
  EXPECT_EQ(At(7, 7), 0xFFFFFF);
}

TEST_F(ScopelDrawingTest, DrawCircleDefaultsToForeColourFullCircleAspectOne) {
  host_->Put(dispid::ForeColor, kRed);
  host_->Call(dispid::DrawCircle, {kNone, 60, 60, 45});
  // The four ends of the circle of radius 3 around (4, 4).
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{7, 4}, {1, 4}, {4, 1}, {4, 7}}) {
    EXPECT_EQ(At(x, y), static_cast<std::int32_t>(kRed)) << x << "," << y;
  }
  EXPECT_NE(At(4, 4), static_cast<std::int32_t>(kRed));
  // Missing centre or radius: nothing at all.
  Blank();
  host_->Call(dispid::DrawCircle, {kNone, 60, 60});
  EXPECT_NE(At(7, 4), static_cast<std::int32_t>(kRed));
}

TEST_F(ScopelDrawingTest, ClearGraphicsDropsWhatWasDrawnSinceTheLastRedraw) {
  host_->Put(dispid::DrawImmadiately, false);
  Line({kNone, 0, 0, kNone, 30, 0, kRed});
  host_->Call(dispid::Refresh);  // commits the first line
  Line({kNone, 0, 30, kNone, 30, 30, kRed});
  host_->Call(dispid::ClearGraphics);
  EXPECT_EQ(At(0, 0), static_cast<std::int32_t>(kRed));
  EXPECT_NE(At(0, 2), static_cast<std::int32_t>(kRed));
  EXPECT_EQ(host_->Get(dispid::CurrentX).toInt(), 0);
  // A new background colour likewise drops only the uncommitted drawing.
  Line({kNone, 0, 60, kNone, 30, 60, kRed});
  host_->Put(dispid::BackColor, kBlue);
  EXPECT_EQ(At(0, 0), static_cast<std::int32_t>(kRed));
  EXPECT_NE(At(0, 4), static_cast<std::int32_t>(kRed));
}

TEST_F(ScopelDrawingTest, PrintTextDrawsInTheForeColourAndMeasuresInTwips) {
  QImage white(120, 40, QImage::Format_RGB32);
  white.fill(0xffffffffu);
  host_->Put(dispid::Picture, QVariant::fromValue(white));
  host_->Put(dispid::ForeColor, kRed);
  const int height = host_->Call(dispid::TextHeight, {"Ag"}).toInt();
  EXPECT_GT(height, 0);
  EXPECT_EQ(height % 15, 0);
  host_->Call(dispid::PrintText, {"HH"});
  EXPECT_EQ(host_->Get(dispid::CurrentY).toInt(), height);
  const QImage image = automation::PictureOf(host_->Get(dispid::Image));
  int red = 0;
  for (int y = 0; y < height / 15; ++y) {
    for (int x = 0; x < 120; ++x) red += image.pixel(x, y) == kRedRgb ? 1 : 0;
  }
  EXPECT_GT(red, 5);
}

}  // namespace
}  // namespace morvane::scopel::hosting
