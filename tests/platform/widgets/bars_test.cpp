#include "platform/widgets/band_bar.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/panel_status_bar.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace morvane::widgets {
namespace {

// The main window's four bands, with their design sizes in twips.
struct FourBands {
  BandBar bar;
  QLabel* standard = new QLabel("standard");
  QLabel* stop = new QLabel("stop");
  QLabel* factors = new QLabel("factors");
  QLabel* titles = new QLabel("titles");
  FourBands() {
    bar.resize(600, 10);
    bar.AddBand("Standard", standard, 390, 7650, false);
    bar.AddBand("Stop", stop, 390, 900, false);
    bar.AddBand("Factors", factors, 390, 4800, true);
    bar.AddBand("Titles", titles, 390, 1425, true);
  }
};

TEST(BandBarTest, RowsWidthsAndHeight) {
  FourBands f;
  EXPECT_EQ(f.bar.Count(), 4);
  EXPECT_EQ(f.bar.height(), 3 * 26 + 2 * 2);  // three rows of 390 twips, 2 px apart
  EXPECT_EQ(f.bar.BandRect(f.bar.BandAt(1)), QRect(0, 0, 510, 26));
  // The last band of a row runs to the right edge.
  EXPECT_EQ(f.bar.BandRect(f.bar.BandAt(2)), QRect(510, 0, 90, 26));
  EXPECT_EQ(f.bar.BandRect(f.bar.BandAt(3)), QRect(0, 28, 600, 26));
  EXPECT_EQ(f.stop->geometry(), QRect(510 + BandBar::kGripWidth, 1, 90 - BandBar::kGripWidth - 1, 24));
  EXPECT_EQ(f.bar.FindBand("Titles"), f.bar.BandAt(4));
  EXPECT_EQ(f.bar.FindBand("none"), nullptr);
  EXPECT_EQ(f.bar.BandAt(0), nullptr);
  EXPECT_EQ(f.bar.BandAt(5), nullptr);
}

TEST(BandBarTest, HidingAndMovingChangeTheLayoutAndSayTheyDid) {
  FourBands f;
  QSignalSpy changed(&f.bar, &BandBar::Changed);
  f.bar.BandAt(3)->SetVisible(false);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_FALSE(f.factors->isVisibleTo(&f.bar));
  EXPECT_EQ(f.bar.height(), 2 * 26 + 2);
  f.bar.BandAt(3)->SetVisible(true);
  // Position order is kept apart from the design index.
  changed.clear();
  f.bar.MoveBand(f.bar.BandAt(1), 2);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(f.bar.BandAt(1)->Position(), 2);
  EXPECT_EQ(f.bar.BandAt(2)->Position(), 1);
  EXPECT_EQ(f.bar.BandAtPosition(1), f.bar.BandAt(2));
  EXPECT_EQ(f.bar.BandRect(f.bar.BandAt(2)).left(), 0);
  // Setting what is already there changes nothing.
  changed.clear();
  f.bar.BandAt(4)->SetWidth(1425);
  EXPECT_EQ(changed.count(), 0);
  for (Band* b : {f.bar.BandAt(1), f.bar.BandAt(2), f.bar.BandAt(3), f.bar.BandAt(4)})
    b->SetVisible(false);
  EXPECT_EQ(f.bar.height(), 0);
}

TEST(BandBarTest, WidthsAndHeightsOfAnySizeLayOutWithoutOverflow) {
  // Sizes come from the settings file; whatever it holds, bands stay in order on the
  // bar and no sum leaves the range of a pixel coordinate.
  for (const double twips : {1e12, 3e10, -1e12, 1e300}) {
    SCOPED_TRACE(twips);
    FourBands f;
    f.bar.BandAt(1)->SetWidth(twips);
    f.bar.BandAt(2)->SetWidth(twips);
    f.bar.BandAt(3)->SetNewRow(false);
    f.bar.BandAt(3)->SetWidth(twips);
    f.bar.BandAt(4)->SetMinHeight(twips);
    int right = -1;
    for (int position = 1; position <= 3; ++position) {
      const QRect r = f.bar.BandRect(f.bar.BandAtPosition(position));
      EXPECT_GT(r.left(), right) << "band " << position << " starts after the one before";
      EXPECT_GE(r.width(), BandBar::kGripWidth);
      right = r.right();
    }
    EXPECT_GE(f.bar.height(), 0);
    EXPECT_LE(f.bar.height(), QWIDGETSIZE_MAX);
  }
}

TEST(BandBarTest, AChildGivenToABandLeavesTheBandItWasIn) {
  FourBands f;
  f.bar.BandAt(4)->SetChild(f.standard);
  EXPECT_EQ(f.bar.BandAt(4)->Child(), f.standard);
  EXPECT_EQ(f.bar.BandAt(1)->Child(), nullptr);
  EXPECT_EQ(f.standard->parentWidget(), &f.bar);
}

TEST(BandBarTest, DraggingAGripMovesOrResizesBands) {
  FourBands f;
  f.bar.show();
  const QPoint grip1 = f.bar.BandRect(f.bar.BandAt(1)).topLeft() + QPoint(4, 10);
  // Onto the left half of the second row's band: band 1 goes before it and starts
  // that row; band 2 now starts the first.
  QTest::mousePress(&f.bar, Qt::LeftButton, {}, grip1);
  QTest::mouseRelease(&f.bar, Qt::LeftButton, {}, QPoint(100, 40));
  EXPECT_EQ(f.bar.BandAt(1)->Position(), 2);
  EXPECT_EQ(f.bar.BandAtPosition(1), f.bar.BandAt(2));
  EXPECT_TRUE(f.bar.BandAt(2)->NewRow() || f.bar.BandRect(f.bar.BandAt(2)).left() == 0);
  EXPECT_EQ(f.bar.BandRect(f.bar.BandAt(1)).top(), 28);
  // Sideways on its own grip: the band to its left grows by the distance.
  Band* factors = f.bar.BandAt(3);
  const QRect before = f.bar.BandRect(factors);
  ASSERT_GT(before.left(), 0);
  const double leftWidth = f.bar.BandAtPosition(factors->Position() - 1)->Width();
  const QPoint grip = before.topLeft() + QPoint(4, 10);
  QTest::mousePress(&f.bar, Qt::LeftButton, {}, grip);
  QTest::mouseRelease(&f.bar, Qt::LeftButton, {}, grip + QPoint(-20, 0));
  EXPECT_EQ(f.bar.BandAtPosition(factors->Position() - 1)->Width(), leftWidth - 300);
  // Below the last row: a row of its own at the end.
  QTest::mousePress(&f.bar, Qt::LeftButton, {},
                    f.bar.BandRect(f.bar.BandAt(2)).topLeft() + QPoint(4, 10));
  QTest::mouseRelease(&f.bar, Qt::LeftButton, {}, QPoint(50, f.bar.height() + 5));
  EXPECT_EQ(f.bar.BandAt(2)->Position(), 4);
  EXPECT_EQ(f.bar.BandRect(f.bar.BandAt(2)).left(), 0);
}

TEST(BandBarTest, DraggingAGripSidewaysResizesTheBandShownToItsLeft) {
  // A hidden band between the two does not take the change: the user drags the edge
  // of the band that is seen there.
  BandBar bar;
  bar.resize(600, 10);
  Band* first = bar.AddBand("First", new QLabel("first"), 390, 3000, false);
  Band* hidden = bar.AddBand("Hidden", new QLabel("hidden"), 390, 1500, false);
  Band* third = bar.AddBand("Third", new QLabel("third"), 390, 1500, false);
  hidden->SetVisible(false);
  bar.show();
  const QPoint grip = bar.BandRect(third).topLeft() + QPoint(4, 10);
  ASSERT_EQ(bar.BandRect(third).left(), 200);
  QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, grip + QPoint(30, 0));
  EXPECT_EQ(first->Width(), 3000 + 30 * 15);
  EXPECT_EQ(hidden->Width(), 1500);
  EXPECT_EQ(bar.BandRect(third).left(), 230);
}

struct ThreeButtons {
  KeyedToolBar bar;
  ToolBarButton* open;
  ToolBarButton* grid;
  ToolBarButton* stop;
  ThreeButtons() {
    bar.SetButtonSize(QSize(23, 22));
    open = bar.AddButton("Open", QIcon(), "Open... (Ctrl+O)", "201");
    bar.AddButton("sep", QIcon(), QString(), QString(), ButtonStyle::Separator);
    grid = bar.AddButton("Grid", QIcon(), "Show/Hide Grid (Ctrl+G)", "233", ButtonStyle::Check);
    stop = bar.AddButton("Stop", QIcon(), "Stop Processing (Ctrl+Break)", "301");
  }
};

TEST(KeyedToolBarTest, ButtonsByKeyAndTheirPlaces) {
  ThreeButtons t;
  EXPECT_EQ(t.bar.Count(), 4);
  EXPECT_EQ(t.bar.Button("Grid"), t.grid);
  EXPECT_EQ(t.bar.Button("grid"), nullptr);
  EXPECT_EQ(t.bar.ButtonAt(3), t.grid);
  EXPECT_EQ(t.grid->Index(), 3);
  const std::vector<std::pair<ToolBarButton*, double>> lefts = {
      {t.open, 0}, {t.grid, (23 + 8) * 15.0}, {t.stop, (23 + 8 + 23) * 15.0}};
  for (const auto& [b, left] : lefts) {
    EXPECT_EQ(b->Left(), left) << b->Key().toStdString();
    EXPECT_EQ(b->Width(), 23 * 15.0);
    EXPECT_EQ(b->Height(), 22 * 15.0);
  }
  // A hidden button takes no room.
  t.open->SetVisible(false);
  EXPECT_EQ(t.grid->Left(), 8 * 15.0);
  EXPECT_EQ(t.open->Width(), 0);
  EXPECT_FALSE(t.open->Widget()->isVisibleTo(&t.bar));
}

TEST(KeyedToolBarTest, ClicksCarryTheButtonAndCheckButtonsHoldTheirOwnState) {
  ThreeButtons t;
  t.bar.show();
  QSignalSpy clicks(&t.bar, &KeyedToolBar::ButtonClick);
  QTest::mouseClick(t.grid->Widget(), Qt::LeftButton);
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(clicks[0][0].value<ToolBarButton*>(), t.grid);
  EXPECT_TRUE(t.grid->Value());
  t.grid->SetValue(false);
  EXPECT_FALSE(t.grid->Widget()->isChecked());
  t.stop->SetEnabled(false);
  QTest::mouseClick(t.stop->Widget(), Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_FALSE(t.stop->Widget()->isEnabled());
  t.open->SetValue(true);  // a push button shown held down
  EXPECT_TRUE(t.open->Widget()->isDown());
  // Presses on a button reach the bar in twips of the bar.
  QSignalSpy downs(&t.bar, &KeyedToolBar::MouseDown);
  QTest::mousePress(t.stop->Widget(), Qt::RightButton, {}, QPoint(3, 4));
  ASSERT_EQ(downs.count(), 1);
  EXPECT_EQ(downs[0][2].toDouble(), (54 + 3) * 15.0);
  EXPECT_EQ(downs[0][3].toDouble(), 4 * 15.0);
  // Tool tips are plain text: markup in them is shown, not obeyed.
  t.stop->SetToolTip("<b>x</b>");
  EXPECT_TRUE(t.stop->Widget()->toolTip().contains("&lt;b&gt;"));
}

TEST(PanelStatusBarTest, PanelsByKeyWithSpringsSharingTheRest) {
  PanelStatusBar bar;
  bar.resize(400, 24);
  bar.show();
  StatusBarPanel* changed = bar.AddPanel("Changed", 20 * 15);
  StatusBarPanel* info = bar.AddPanel("Info", 0, PanelAutoSize::Spring);
  StatusBarPanel* p1 = bar.AddPanel("Progress1", 100 * 15);
  StatusBarPanel* p2 = bar.AddPanel("Progress2", 0, PanelAutoSize::Spring);
  info->SetMinWidth(40 * 15);
  EXPECT_EQ(bar.Panel("Info"), info);
  EXPECT_EQ(bar.PanelAt(3), p1);
  EXPECT_EQ(bar.Panel("Time"), nullptr);
  // 400 - a margin of 2 - 20 - 100 - 40 = 238 spare; the springs take 119 each, and
  // each panel starts where the one before ends.
  EXPECT_EQ(changed->Left(), 2 * 15.0);
  EXPECT_EQ(info->Width(), (40 + 119) * 15.0);
  EXPECT_EQ(p1->Left(), info->Left() + info->Width());
  EXPECT_EQ(p1->Left(), (2 + 20 + 159) * 15.0);
  EXPECT_EQ(p2->Width(), 119 * 15.0);
  QSignalSpy moved(&bar, &PanelStatusBar::PanelsMoved);
  bar.resize(300, 24);
  EXPECT_GE(moved.count(), 1);
  EXPECT_EQ(info->Width(), (40 + 69) * 15.0);
  // A progress bar laid over a panel covers its face (the frame stops 2 pixels short
  // of the next panel), in the parent's coordinates.
  bar.move(10, 100);
  EXPECT_EQ(bar.OverlayRect(p1, 2), p1->Rect().adjusted(2, 2, -4, -2).translated(10, 100));
  // Contents panels follow their text.
  StatusBarPanel* time = bar.AddPanel("Time", 0, PanelAutoSize::Contents, "0:00");
  const double w = time->Width();
  time->SetText("0:00:00:00");
  EXPECT_GT(time->Width(), w);
}

TEST(PanelStatusBarTest, PressesGiveThePanelAndTwips) {
  PanelStatusBar bar;
  bar.resize(300, 24);
  StatusBarPanel* a = bar.AddPanel("A", 100 * 15);
  bar.AddPanel("B", 100 * 15);
  bar.show();
  QSignalSpy clicks(&bar, &PanelStatusBar::PanelClick);
  QSignalSpy downs(&bar, &PanelStatusBar::MouseDown);
  QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(50, 10));
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(clicks[0][0].value<StatusBarPanel*>(), a);
  EXPECT_EQ(downs[0][2].toDouble(), 750.0);
  a->SetPicture(QPixmap(16, 16));
  EXPECT_FALSE(a->Picture().isNull());
  a->SetPicture(QPixmap());
  EXPECT_TRUE(a->Picture().isNull());
}

QPixmap Swatch(QColor c) {
  QPixmap p(16, 16);
  p.fill(c);
  QPainter painter(&p);
  painter.setPen(Qt::black);
  painter.drawRect(2, 2, 11, 11);
  return p;
}

// A window with the three bars, as the main window stacks them. With
// MORVANE_SCREENSHOT set to a file name the window is saved there as PNG.
TEST(BarsScreenshotTest, BandBarToolBarAndStatusBarTogether) {
  QWidget window;
  window.setWindowTitle("Morvane bars");
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bands = new BandBar;
  auto* tools = new KeyedToolBar;
  tools->SetButtonSize(QSize(23, 22));
  const QList<std::pair<QString, QColor>> keys = {{"Open", Qt::darkYellow},  {"Painter", Qt::magenta},
                                                  {"Create", Qt::darkGreen}, {"Save", Qt::blue},
                                                  {"Copy", Qt::darkCyan},    {"Grid", Qt::gray}};
  for (const auto& [key, colour] : keys) {
    tools->AddButton(key, QIcon(Swatch(colour)), key, QString(),
                     key == "Grid" ? ButtonStyle::Check : ButtonStyle::Default);
    if (key == "Painter") tools->AddButton("s1", QIcon(), {}, {}, ButtonStyle::Separator);
  }
  tools->Button("Grid")->SetValue(true);
  tools->Button("Save")->SetEnabled(false);
  auto* stop = new KeyedToolBar;
  stop->AddButton("Stop", QIcon(Swatch(Qt::red)), "Stop", "301");
  auto* factors = new QLabel("Shift X: 0   Shift Y: 0   Factor: 1");
  auto* titles = new QLabel("Digits: 2   Title: #00");
  bands->AddBand("Standard", tools, 390, 3600, false);
  bands->AddBand("Stop", stop, 390, 900, false);
  bands->AddBand("Factors", factors, 390, 4800, true);
  bands->AddBand("Titles", titles, 390, 1425, false);
  auto* work = new QLabel("work area");
  work->setAlignment(Qt::AlignCenter);
  work->setAutoFillBackground(true);
  work->setStyleSheet("background: white");
  auto* status = new PanelStatusBar;
  status->setFixedHeight(22);
  QPixmap mark(12, 12);
  mark.fill(Qt::red);
  status->AddPanel("Changed", 20 * 15)->SetPicture(mark);
  status->AddPanel("Info", 80 * 15, PanelAutoSize::None, "X: 12  Y: 7");
  status->AddPanel("Progress1", 0, PanelAutoSize::Spring, "64 x 64 - 120 points, 3 contours");
  StatusBarPanel* p2 = status->AddPanel("Progress2", 0, PanelAutoSize::Spring, "No figure found.");
  status->AddPanel("Time", 0, PanelAutoSize::Contents, "0:00:01");
  layout->addWidget(bands);
  layout->addWidget(work, 1);
  layout->addWidget(status);
  window.resize(640, 240);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* progress = new QProgressBar(&window);
  progress->setValue(40);
  progress->setTextVisible(false);
  progress->setGeometry(status->OverlayRect(p2));
  progress->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(progress->geometry().top(), status->geometry().top() + p2->Rect().top() + 2);
  const QByteArray out = qgetenv("MORVANE_SCREENSHOT");
  if (!out.isEmpty()) {
    QTest::qWait(200);
    EXPECT_TRUE(window.grab().save(QString::fromLocal8Bit(out), "PNG"));
  }
}

}  // namespace
}  // namespace morvane::widgets
