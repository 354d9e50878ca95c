#include <gtest/gtest.h>

#include "app/window_layout.h"

namespace morvane::app {
namespace {

void ExpectNoneNegative(const Box& b, const char* what) {
  EXPECT_GE(b.width, 0) << what;
  EXPECT_GE(b.height, 0) << what;
  EXPECT_GE(b.top, 0) << what;
  EXPECT_GE(b.left, 0) << what;
}

TEST(MainLayout, AreasOverWindowSizes) {
  struct Row {
    int w, h;
    bool bands;
    int mainTop, mainHeight;
  };
  // Band bar 56 px, status bar 20 px.
  const Row rows[] = {
      {800, 600, true, 56, 524}, {640, 480, true, 56, 404}, {640, 480, false, 0, 460},
      {300, 76, true, 56, 0},    {300, 50, true, 56, 0},    {0, 0, true, 56, 0},
      {120, 10, false, 0, 0},    {1, 1, true, 56, 0},
  };
  for (const Row& row : rows) {
    MainLayoutInput in;
    in.clientWidth = row.w;
    in.clientHeight = row.h;
    in.anyBandVisible = row.bands;
    in.coolBarHeight = 56;
    in.panels = {PanelSpan{20, 110}, PanelSpan{130, 200}, PanelSpan{330, 1}};
    const MainLayout out = ArrangeMainLayout(in);
    EXPECT_EQ(out.coolBarVisible, row.bands);
    EXPECT_EQ(out.main.top, row.mainTop) << row.w << "x" << row.h;
    EXPECT_EQ(out.main.height, row.mainHeight) << row.w << "x" << row.h;
    EXPECT_EQ(out.main.width, row.w);
    ExpectNoneNegative(out.main, "main");
    ExpectNoneNegative(out.status, "status");
    for (const Box& bar : out.progress) ExpectNoneNegative(bar, "progress");
    // Bars lie over their panels, 2 px in, 5 px lower than the status bar.
    EXPECT_EQ(out.progress[0].left, 22);
    EXPECT_EQ(out.progress[0].width, 108);
    EXPECT_EQ(out.progress[1].left, 132);
    EXPECT_EQ(out.progress[2].width, 0);  // a panel narrower than 2 px
    EXPECT_EQ(out.progress[1].height, 15);
    EXPECT_EQ(out.progress[1].top, std::max(row.h - 15 - 2, 0));
  }
}

TEST(Strips, FieldsInOneRowSixApartBoxesRaisedThree) {
  for (const int stripHeight : {26, 30, 16, 4, 0}) {
    const FactorsLayout f = ArrangeFactors(stripHeight, 23, 22);
    EXPECT_EQ(f.toolbar.width, 46);
    EXPECT_EQ(f.tlShiftX.left, 52);
    EXPECT_EQ(f.tbShiftX.left, f.tlShiftX.left + 40);
    EXPECT_EQ(f.tlShiftY.left, f.tbShiftX.left + 40 + 6);
    EXPECT_EQ(f.tlFactor.left, f.tbShiftY.left + 40 + 6);
    for (const Box* box : {&f.tbShiftX, &f.tbShiftY, &f.tbFactor}) {
      EXPECT_EQ(box->height, 22);
      EXPECT_EQ(box->top, std::max(f.tlShiftX.top - 3, 0));
      ExpectNoneNegative(*box, "factor box");
    }
    const TitlesLayout t = ArrangeTitles(stripHeight, 23, 22, 16);
    EXPECT_EQ(t.sbDigits.left, 40);
    EXPECT_EQ(t.cbTitles.left, t.tlTitles.left + 40);
    EXPECT_EQ(t.cbTitles.width, 200);
    EXPECT_EQ(t.tbTitles.left, t.cbTitles.left + 2);
    EXPECT_EQ(t.tbTitles.width, 200 - 20);
    EXPECT_EQ(t.tbTitles.height, 17);
    EXPECT_EQ(t.toolbar.left, t.cbTitles.left + 202);
    for (const Box* box :
         {&t.tlDigits, &t.sbDigits, &t.tlTitles, &t.cbTitles, &t.tbTitles, &t.toolbar}) {
      ExpectNoneNegative(*box, "titles");
    }
  }
}

}  // namespace
}  // namespace morvane::app
