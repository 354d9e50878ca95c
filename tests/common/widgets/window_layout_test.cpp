#include "common/widgets/window_layout.h"

#include "common/settings_store.h"
#include "platform/widgets/band_bar.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <utility>
#include <vector>

namespace morvane::common {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;

std::string Stored(const std::string& file, const std::string& section, const std::string& key) {
  return ReadIniString(file, section, key, "<absent>");
}

// Each key of the section holds the value given.
void ExpectStored(const std::string& file, const std::string& section,
                  const std::vector<std::pair<std::string, std::string>>& keys) {
  for (const auto& [key, value] : keys) EXPECT_EQ(Stored(file, section, key), value) << key;
}

TEST(FormPlacementTest, NormalWindowRoundTripsThroughTheSettingsFile) {
  TempFolder dir;
  const std::string file = dir.File("Morvane.dat");
  QWidget form;
  form.setObjectName("fwMain");
  form.move(100, 50);
  form.resize(640, 480);
  FormPlacement saved;
  SaveFormPlacement(form, saved, file);
  ExpectStored(file, "fwMain_State",
               {{"State", "0"}, {"Left", "100"}, {"Top", "50"}, {"Width", "640"}, {"Height", "480"}});

  QWidget next;
  next.setObjectName("fwMain");
  next.resize(300, 200);
  FormPlacement restored;
  RestoreFormPlacement(next, restored, file);
  EXPECT_EQ(restored.Left, 1500);
  EXPECT_EQ(restored.Top, 750);
  EXPECT_EQ(restored.Width, 9600);
  EXPECT_EQ(restored.Height, 7200);
  EXPECT_EQ(restored.State, 0);
  EXPECT_FALSE(restored.PlaceByWindowManager);
  MoveToPlacement(next, restored);
  EXPECT_EQ(next.pos(), QPoint(100, 50));
  EXPECT_EQ(next.size(), QSize(640, 480));
}

TEST(FormPlacementTest, AMaximisedWindowKeepsItsNormalRectangle) {
  TempFolder dir;
  const std::string file = dir.File("Morvane.dat");
  QWidget form;
  form.setObjectName("fwMain");
  form.setWindowState(Qt::WindowMaximized);
  FormPlacement kept{2, 1507, -1507, 9000, 6000};  // as the resize handler kept it
  SaveFormPlacement(form, kept, file);
  EXPECT_EQ(kept.Left, 1507);  // not taken from the maximised window
  // Twips to pixels truncated toward zero: 1507 gives 100, -1507 gives -100.
  ExpectStored(file, "fwMain_State",
               {{"State", "2"}, {"Left", "100"}, {"Top", "-100"}, {"Width", "600"}});

  QWidget next;
  next.setObjectName("fwMain");
  FormPlacement restored;
  RestoreFormPlacement(next, restored, file);
  EXPECT_EQ(restored.State, 2);
  EXPECT_TRUE(next.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(restored.Left, 1500);
  EXPECT_EQ(restored.Top, -1500);
  EXPECT_EQ(restored.Width, 9000);
}

TEST(FormPlacementTest, ReadingTheStoredStateLeavesTheFormsAlone) {
  TempFolder dir;
  const std::string file = dir.Write(
      "m.dat", "[fwMain_State]\r\nState=2\r\nLeft=10\r\nTop=20\r\nWidth=400\r\nHeight=300\r\n");
  QWidget form;
  form.setObjectName("fwMain");
  FormPlacement read;
  ReadFormPlacement(form, read, SettingsSession(file));
  EXPECT_EQ(read.State, 2);
  EXPECT_EQ(read.Width, 400 * 15);
  EXPECT_EQ(form.windowState(), Qt::WindowNoState);
}

TEST(FormPlacementTest, MissingOrDamagedValuesFallBackSafely) {
  TempFolder dir;
  QWidget form;
  form.setObjectName("fwMain");
  form.resize(321, 123);
  FormPlacement p;
  RestoreFormPlacement(form, p, dir.File("none.dat"));
  EXPECT_EQ(p.Left, 0);
  EXPECT_EQ(p.Top, 0);
  EXPECT_EQ(p.Width, 321 * 15);
  EXPECT_EQ(p.Height, 123 * 15);
  EXPECT_EQ(p.State, 0);

  // A state outside 0 to 2 is ignored; a rectangle off every screen keeps its size and
  // leaves the place to the window manager.
  const std::string file = dir.Write("odd.dat",
                                     "[fwMain_State]\r\nState=7\r\nLeft=-30000\r\nTop=-30000\r\n"
                                     "Width=400\r\nHeight=300\r\n");
  form.move(20, 30);
  RestoreFormPlacement(form, p, file);
  EXPECT_EQ(p.State, 0);
  EXPECT_FALSE(form.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
  EXPECT_TRUE(p.PlaceByWindowManager);
  MoveToPlacement(form, p);
  EXPECT_EQ(form.size(), QSize(400, 300));
  EXPECT_EQ(form.pos(), QPoint(20, 30));
  // An explicit section name is used as given.
  FormPlacement other;
  SaveFormPlacement(form, other, file, "Other");
  EXPECT_EQ(Stored(file, "Other", "Width"), "400");
}

TEST(FormPlacementTest, AStoredSizeNoScreenCanShowIsCutToTheDesktop) {
  // A damaged settings file must not make a window of millions of pixels (its
  // backing store alone would take gigabytes); a size of 0 or less keeps the form's.
  QRect desktop;
  for (const QScreen* s : QGuiApplication::screens()) desktop |= s->availableGeometry();
  ASSERT_FALSE(desktop.isEmpty());
  struct Case {
    const char* width;
    const char* height;
    QSize expected;
  };
  const std::vector<Case> cases = {
      {"99999999", "99999999", desktop.size()},
      {"40000", "300", QSize(desktop.width(), 300)},
      {"0", "-40", QSize(321, 123)},
      {"400", "300", QSize(400, 300)},
  };
  TempFolder dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const std::string file =
        dir.Write("big.dat", std::string("[fwMain_State]\r\nLeft=0\r\nTop=0\r\nWidth=") + c.width +
                                 "\r\nHeight=" + c.height + "\r\n");
    QWidget form;
    form.setObjectName("fwMain");
    form.resize(321, 123);
    FormPlacement p;
    RestoreFormPlacement(form, p, file);
    MoveToPlacement(form, p);
    EXPECT_EQ(form.size(), c.expected);
  }
}

// The main window's four bands on a form: two tool bars of one control array and two
// strips, in design order.
struct CoolForm {
  QWidget form;
  widgets::BandBar* bar = new widgets::BandBar(&form);
  widgets::KeyedToolBar* tools0 = new widgets::KeyedToolBar(&form);
  widgets::KeyedToolBar* tools1 = new widgets::KeyedToolBar(&form);
  QLabel* factors = new QLabel(&form);
  QLabel* titles = new QLabel(&form);
  CoolForm() {
    form.setObjectName("fwMain");
    bar->setObjectName("pbCoolBar");
    bar->resize(600, 10);
    tools0->setObjectName("pbToolbar");
    tools0->setProperty("Index", 0);
    tools1->setObjectName("pbToolbar");
    tools1->setProperty("Index", 1);
    factors->setObjectName("pbFactors");
    titles->setObjectName("pbTitles");
    for (const char* key : {"Open", "Save", "Copy"}) tools0->AddButton(key, {}, key, "");
    tools1->AddButton("Stop", {}, "Stop", "301");
    bar->AddBand("Standard", tools0, 390, 7650, false);
    bar->AddBand("Stop", tools1, 390, 900, false);
    bar->AddBand("Factors", factors, 390, 4800, true);
    bar->AddBand("Titles", titles, 390, 1425, true);
  }
};

TEST(CoolBarLayoutTest, AReorderedBarComesBackWithItsKeysAndControls) {
  TempFolder dir;
  const std::string file = dir.File("Morvane.dat");
  {
    CoolForm before;
    before.bar->MoveBand(before.bar->BandAt(1), 2);  // the user dragged Standard after Stop
    before.bar->BandAt(3)->SetWidth(1234);
    before.bar->BandAt(4)->SetVisible(false);
    before.tools0->Button("Save")->SetVisible(false);
    SaveCoolBarLayout(file, before.bar);
  }
  // Written under the bands' positions: Stop's band is first now.
  ExpectStored(file, "pbCoolBar",
               {{"1_Name", "pbToolbar"},
                {"1_Index", "1"},
                {"1_Key", "Stop"},
                {"2_Index", "0"},
                {"2_Key", "Standard"},
                {"2_Buttons", "101"},
                {"3_Width", "82.2667"},
                {"3_Name", "pbFactors"},
                {"3_Index", "-1"},
                {"3_NewRow", "1"},
                {"4_Visible", "0"}});

  CoolForm after;
  RestoreCoolBarLayout(file, after.bar, {}, true);
  widgets::BandBar& bar = *after.bar;
  EXPECT_EQ(bar.BandAt(1)->Child(), after.tools1);
  EXPECT_EQ(bar.BandAt(2)->Child(), after.tools0);
  // View > Toolbars finds a tool bar's band by key: it must be the band holding it.
  EXPECT_EQ(bar.FindBand("Standard")->Child(), after.tools0);
  EXPECT_EQ(bar.FindBand("Stop")->Child(), after.tools1);
  EXPECT_NEAR(bar.BandAt(3)->Width(), 1234, 0.001);
  EXPECT_FALSE(bar.BandAt(4)->Visible());
  EXPECT_TRUE(bar.BandAt(3)->NewRow());
  EXPECT_TRUE(after.tools0->Button("Save")->Visible());  // skipButtons: left alone
}

TEST(CoolBarLayoutTest, ButtonsTextsAndUnknownControls) {
  TempFolder dir;
  const std::string file = dir.Write("Morvane.dat",
                                     "[pbCoolBar]\r\n1_Name=pbToolbar\r\n1_Index=0\r\n1_Buttons=0\r\n"
                                     "2_Name=nothing here\r\n2_Index=0\r\n2_Visible=0\r\n"
                                     "3_Name= \r\n3_Index=-1\r\n");
  CoolForm f;
  f.tools0->ButtonAt(3)->SetTag("-");
  RestoreCoolBarLayout(file, f.bar, {}, false);
  EXPECT_FALSE(f.tools0->ButtonAt(1)->Visible());  // "0"
  EXPECT_TRUE(f.tools0->ButtonAt(2)->Visible());   // beyond the text: shown
  EXPECT_FALSE(f.tools0->ButtonAt(3)->Visible());  // tagged "-": hidden whatever the text
  EXPECT_EQ(f.bar->BandAt(2)->Child(), f.tools1);  // no such control: left as it was
  EXPECT_FALSE(f.bar->BandAt(2)->Visible());
  EXPECT_EQ(f.bar->BandAt(3)->Child(), f.factors);  // a blank name changes nothing
  EXPECT_EQ(f.bar->BandAt(1)->Key(), "Standard");   // no key stored: the band's own
}

// A band holds one of the bar's own controls: a band section that names another control
// of the window (the tree, the zoom view, the status bar) leaves the band its control,
// and what is saved after names only the bar's controls.
TEST(CoolBarLayoutTest, ABandTakesOnlyTheBarsOwnControls) {
  struct Row {
    const char* what;
    const char* section;
    std::vector<const char*> children;  // of bands 1 to 4, by name and index ("pbToolbar1")
  };
  const std::vector<const char*> design = {"pbToolbar0", "pbToolbar1", "pbFactors", "pbTitles"};
  const Row rows[] = {
      {"the work area in bands",
       "1_Name=pbMain\r\n1_Index=-1\r\n2_Name=ucScopel\r\n2_Index=-1\r\n3_Name=pbStatus\r\n"
       "3_Index=-1\r\n",
       design},
      {"the tree", "4_Name=tvCoord\r\n4_Index=-1\r\n", design},
      {"the form itself", "1_Name=fwMain\r\n1_Index=-1\r\n", design},
      {"a tool bar without its index", "3_Name=pbToolbar\r\n3_Index=-1\r\n", design},
      {"a strip with an index", "4_Name=pbTitles\r\n4_Index=0\r\n", design},
      {"the tool bars swapped",
       "1_Name=pbToolbar\r\n1_Index=1\r\n2_Name=pbToolbar\r\n2_Index=0\r\n",
       {"pbToolbar1", "pbToolbar0", "pbFactors", "pbTitles"}},
      {"the strips swapped, the zoom view named too",
       "1_Name=ucScopel\r\n1_Index=-1\r\n3_Name=pbTitles\r\n3_Index=-1\r\n4_Name=pbFactors\r\n"
       "4_Index=-1\r\n",
       {"pbToolbar0", "pbToolbar1", "pbTitles", "pbFactors"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder dir;
    const std::string file = dir.Write("Morvane.dat", std::string("[pbCoolBar]\r\n") + row.section);
    CoolForm f;
    std::vector<QWidget*> others;
    for (const char* name : {"pbMain", "ucScopel", "pbStatus", "tvCoord"}) {
      others.push_back(new QWidget(&f.form));
      others.back()->setObjectName(name);
    }
    RestoreCoolBarLayout(file, f.bar);
    const auto named = [](const QWidget* w) {
      if (w == nullptr) return std::string("none");
      const QVariant index = w->property("Index");
      return w->objectName().toStdString() + (index.isValid() ? std::to_string(index.toInt()) : "");
    };
    for (int i = 1; i <= 4; ++i) {
      EXPECT_EQ(named(f.bar->BandAt(i)->Child()), row.children[static_cast<std::size_t>(i) - 1]) << i;
    }
    for (const QWidget* other : others) EXPECT_EQ(other->parentWidget(), &f.form) << named(other);

    const std::string saved = dir.File("saved.dat");
    SaveCoolBarLayout(saved, f.bar);
    for (int n = 1; n <= 4; ++n) {
      const std::string name = Stored(saved, "pbCoolBar", std::to_string(n) + "_Name");
      EXPECT_TRUE(name == "pbToolbar" || name == "pbFactors" || name == "pbTitles") << name;
    }
  }
}

TEST(CoolBarLayoutTest, AnEmptyBandAndOtherObjects) {
  TempFolder dir;
  const std::string file = dir.File("Morvane.dat");
  CoolForm f;
  f.bar->BandAt(3)->SetChild(nullptr);
  SaveCoolBarLayout(file, f.bar, "Layout");
  ExpectStored(file, "Layout", {{"3_Name", ""}, {"3_Index", "-1"}});
  RestoreCoolBarLayout(file, f.bar, "Layout");
  EXPECT_EQ(f.bar->BandAt(3)->Child(), nullptr);

  const std::string untouched = dir.File("untouched.dat");
  QLabel notABar;
  SaveCoolBarLayout(untouched, &notABar);
  RestoreCoolBarLayout(untouched, &notABar);
  SaveCoolBarLayout(untouched, nullptr);
  EXPECT_EQ(ReadAll(untouched), "<missing>");
}

}  // namespace
}  // namespace morvane::common
