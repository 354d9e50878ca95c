// The splitter from libTrellan.so, as a host that has only the library and its
// public header meets it.
#include <gtest/gtest.h>

#include <QFile>
#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

#include "controls/trellan/trellan_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "tests/controls/hosted/library_host.h"

namespace morvane::trellan {
namespace {

using testing::LibraryHost;
using testing::Settle;

// A bar between two panels of a 600 x 400 form, from stored design data.
struct Split {
  std::unique_ptr<LibraryHost> host;
  QFrame* first = nullptr;
  QFrame* second = nullptr;

  struct Design {
    std::int32_t orientation = Vertical;
    bool moveable = true;
    std::int32_t style = SplitterStyle;
    bool withSecond = true;
  };

  explicit Split(Design design) {
    host = std::make_unique<LibraryHost>(kClassId, QStringLiteral("ucTrellan"));
    first = new QFrame(&host->form());
    first->setObjectName(QStringLiteral("pnlFirst"));
    second = new QFrame(&host->form());
    second->setObjectName(QStringLiteral("pnlSecond"));
    automation::PropertyBag bag;
    bag.write(QStringLiteral("FirstControl"), QStringLiteral("pnlFirst"));
    bag.write(QStringLiteral("SecondControl"),
              design.withSecond ? QStringLiteral("pnlSecond") : QStringLiteral("(None)"));
    bag.write(QStringLiteral("Orientation"), design.orientation);
    bag.write(QStringLiteral("Moveable"), design.moveable);
    bag.write(QStringLiteral("Style"), design.style);
    bag.write(QStringLiteral("AutoPopupMenu"), false);
    host->control().ReadProperties(bag);
    if (design.orientation == Vertical) bar()->setGeometry(200, 0, 6, 400);
    else bar()->setGeometry(0, 200, 600, 6);
    host->form().show();
    Settle();
    // A mover bar lays out at no poll; the host asks once, as after loading a form.
    host->Call(dispid::Refresh);
    Settle();
  }
  QWidget* bar() { return host->widget(); }
  QVariant Get(automation::DispId id) { return host->Get(id); }
  void Let(automation::DispId id, const QVariant& value) {
    host->Let(id, value);
    Settle();
  }
};

// Laid out as a horizontal bar across the form, or as a vertical one down it, with
// both panels beside it.
void ExpectHorizontal(Split& s) {
  EXPECT_EQ(s.bar()->size(), QSize(600, 6));
  EXPECT_TRUE(s.first->isVisible());
  EXPECT_TRUE(s.second->isVisible());
  EXPECT_EQ(s.first->geometry(), QRect(0, 0, 600, s.bar()->y()));
  EXPECT_EQ(s.second->y(), s.bar()->y() + 6);
}

void ExpectVertical(Split& s) {
  EXPECT_EQ(s.bar()->size(), QSize(6, 400));
  EXPECT_TRUE(s.first->isVisible());
  EXPECT_TRUE(s.second->isVisible());
  EXPECT_EQ(s.first->geometry(), QRect(0, 0, s.bar()->x(), 400));
  EXPECT_EQ(s.second->x(), s.bar()->x() + 6);
}

// ---- orientation: only a change between vertical and horizontal turns the bar ----

struct TurnRow {
  std::int32_t from;
  std::int32_t to;
  bool turns;
};

TEST(HostedTrellan, OrientationTurnsOnlyBetweenVerticalAndHorizontal) {
  const TurnRow rows[] = {
      {1, 0, false}, {1, 3, false}, {0, 1, false}, {3, 0, false}, {2, 2, false},
      {1, 2, true},  {0, 2, true},  {3, 2, true},  {2, 1, true},  {2, 0, true}, {2, 3, true},
  };
  for (const TurnRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.from << " -> " << row.to);
    // A stored 0 reads as vertical, so a bar that is 0 starts as 1 and is set to 0.
    Split s({.orientation = row.from == 0 ? Horizontal : row.from});
    if (row.from == 0) s.Let(dispid::Orientation, 0);
    ASSERT_EQ(s.Get(dispid::Orientation).toInt(), row.from);
    const bool wasVertical = row.from == Vertical;
    if (wasVertical) ExpectVertical(s);
    else ExpectHorizontal(s);

    s.Let(dispid::Orientation, row.to);
    EXPECT_EQ(s.Get(dispid::Orientation).toInt(), row.to);  // kept as given
    const bool isVertical = row.to == Vertical;
    EXPECT_EQ(isVertical != wasVertical, row.turns);
    if (isVertical) ExpectVertical(s);
    else ExpectHorizontal(s);
    // The bar keeps its place along the axis it moves on.
    EXPECT_EQ(isVertical ? s.bar()->x() : s.bar()->y(), 200);
  }
}

// ---- the layout file ----

QString WriteSection(const QTemporaryDir& dir, const QString& body) {
  const QString path = dir.filePath(QStringLiteral("layout.ini"));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(("[fwTest_ucTrellan]\r\n" + body + "\r\n").toUtf8());
  return path;
}

// Restores a section; the error number, 0 when none.
int Restore(Split& s, const QString& path) {
  try {
    s.host->Call(dispid::RestoreFromFile, {path});
  } catch (const automation::AutomationError& error) {
    return error.number();
  }
  Settle();
  return 0;
}

// What the bar saves of itself now, key by key.
struct Saved {
  int orientation;
  int position;
  int hidden1;
  int hidden2;
};
Saved SaveNow(Split& s, const QTemporaryDir& dir) {
  const QString path = dir.filePath(QStringLiteral("saved.ini"));
  QFile::remove(path);
  s.host->Call(dispid::SaveToFile, {path, QStringLiteral("Now")});
  QSettings ini(path, QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("Now"));
  return {ini.value("Orientation").toInt(), ini.value("Position").toInt(), ini.value("Hidden1").toInt(),
          ini.value("Hidden2").toInt()};
}

struct FileRow {
  const char* body;
  int error;     // 6 overflow, or 0
  int barLeft;   // where the bar stands after
  int position;  // what it saves as its position (its place, or where it returns to)
  int hidden1;
};

TEST(HostedTrellan, LayoutFileNumbersOutOfRangeAreRefusedWithOverflow) {
  const FileRow rows[] = {
      {"Position=99999999999", 6, 200, 200, 0},
      {"Position=1e12", 6, 200, 200, 0},
      {"Position=-1e12", 6, 200, 200, 0},
      {"Position=1e308", 6, 200, 200, 0},
      {"Orientation=1e10", 6, 200, 200, 0},
      {"Orientation=1e10\r\nPosition=300", 6, 200, 200, 0},
      {"Position=300\r\nHidden1=1e308", 6, 200, 200, 0},
      {"Position=&HFFFFFFFFF", 6, 200, 200, 0},
      // The last pixel whose twips fit in 32 bits, and the first that does not.
      {"Position=143165576", 0, 594, 594, 0},
      {"Position=143165577", 6, 200, 200, 0},
      {"Position=300abc", 0, 300, 300, 0},
      {"Position=abc", 0, 200, 200, 0},  // no number: the current place
      {"Position=150\r\nOrientation=2.4", 0, 150, 150, 0},
      // Before the near edge: the first panel is hidden, the regular way.
      {"Position=-10", 0, 0, 200, 1},
      {"Position=-10\r\nHidden1=1", 0, 0, 200, 1},
  };
  for (const FileRow& row : rows) {
    SCOPED_TRACE(row.body);
    QTemporaryDir dir;
    Split s({.orientation = Vertical});
    ASSERT_EQ(Restore(s, WriteSection(dir, QStringLiteral("Position=200"))), 0);
    ASSERT_EQ(s.bar()->x(), 200);

    EXPECT_EQ(Restore(s, WriteSection(dir, QString::fromLatin1(row.body))), row.error);
    Settle();
    EXPECT_EQ(s.bar()->x(), row.barLeft);
    EXPECT_EQ(s.Get(dispid::Orientation).toInt(), Vertical);
    const Saved saved = SaveNow(s, dir);
    EXPECT_EQ(saved.position, row.position);
    EXPECT_EQ(saved.hidden1, row.hidden1);
    EXPECT_EQ(saved.hidden2, 0);
    EXPECT_EQ(s.first->isVisible(), row.hidden1 == 0);
  }
}

TEST(HostedTrellan, LayoutFileOrientationZeroKeepsAHorizontalBar) {
  QTemporaryDir dir;
  Split s({.orientation = Horizontal});
  ASSERT_EQ(s.bar()->geometry(), QRect(0, 200, 600, 6));
  EXPECT_EQ(Restore(s, WriteSection(dir, QStringLiteral("Orientation=0"))), 0);
  EXPECT_EQ(s.Get(dispid::Orientation).toInt(), 0);
  EXPECT_EQ(s.bar()->geometry(), QRect(0, 200, 600, 6));
  ExpectHorizontal(s);
  EXPECT_EQ(SaveNow(s, dir).orientation, 0);
}

TEST(HostedTrellan, ShowingAPanelHiddenByANegativePositionReturnsTheBar) {
  QTemporaryDir dir;
  Split s({.orientation = Vertical});
  ASSERT_EQ(Restore(s, WriteSection(dir, QStringLiteral("Position=-10"))), 0);
  ASSERT_FALSE(s.first->isVisible());
  // The host's popup menu item for the first panel now shows it again.
  s.host->Call(dispid::PopupMenu, {0, 0});
  QMenu* menu = s.bar()->findChild<QMenu*>(QStringLiteral("Menu_Trellan"));
  ASSERT_NE(menu, nullptr);
  QAction* first = menu->actions().at(0);
  EXPECT_EQ(first->text(), "Show &Left Panel");
  menu->hide();
  first->trigger();
  Settle();
  EXPECT_EQ(s.bar()->x(), 200);
  ExpectVertical(s);
}

// ---- keyboard: Alt and the arrows ----

struct AltRow {
  std::int32_t orientation;
  Qt::Key key;
  QPoint barAfter;
};

TEST(HostedTrellan, AltArrowsMoveTheBarAlongTheAxisItIsLaidOutOn) {
  const AltRow rows[] = {
      {1, Qt::Key_Down, {0, 201}}, {1, Qt::Key_Up, {0, 199}},   {0, Qt::Key_Down, {0, 201}},
      {0, Qt::Key_Up, {0, 199}},   {3, Qt::Key_Down, {0, 201}}, {3, Qt::Key_Up, {0, 199}},
      {0, Qt::Key_Left, {0, 200}}, {3, Qt::Key_Right, {0, 200}}, {2, Qt::Key_Down, {200, 0}},
      {2, Qt::Key_Up, {200, 0}},   {2, Qt::Key_Right, {201, 0}}, {2, Qt::Key_Left, {199, 0}},
  };
  for (const AltRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.orientation << " key " << row.key);
    Split s({.orientation = row.orientation == Vertical ? Vertical : Horizontal, .moveable = false});
    if (row.orientation != Horizontal && row.orientation != Vertical) s.Let(dispid::Orientation, row.orientation);
    QTest::keyClick(s.bar(), row.key, Qt::AltModifier);
    EXPECT_EQ(s.bar()->pos(), row.barAfter);
    QTest::keyRelease(s.bar(), Qt::Key_Alt);
    Settle();
    if (row.orientation == Vertical) ExpectVertical(s);
    else ExpectHorizontal(s);
  }
}

// ---- mouse: the release, and what makes a click ----

struct ReleaseRow {
  const char* name;
  bool moveable;
  Qt::MouseButton button;
  bool follows;
};

TEST(HostedTrellan, ALeftReleaseLaysOutWhatTheHostMoved) {
  // A mover bar is laid out at a release, not at its polls: so what a release does
  // shows.
  const ReleaseRow rows[] = {
      {"not moveable, left", false, Qt::LeftButton, true},
      {"moveable, left", true, Qt::LeftButton, true},
      {"not moveable, right", false, Qt::RightButton, false},
      {"not moveable, middle", false, Qt::MiddleButton, false},
  };
  for (const ReleaseRow& row : rows) {
    SCOPED_TRACE(row.name);
    Split s({.orientation = Vertical, .moveable = row.moveable, .style = MoverStyle, .withSecond = false});
    ASSERT_EQ(s.first->width(), 200);
    s.bar()->move(250, 0);  // the host moves the bar by code
    Settle();
    ASSERT_EQ(s.first->width(), 200);
    QTest::mouseClick(s.bar(), row.button, {}, QPoint(3, 50));
    Settle();
    EXPECT_EQ(s.first->width(), row.follows ? 250 : 200);
  }
}

struct ClickRow {
  const char* name;
  std::function<void(QWidget*)> input;
  int clicks;
  int doubleClicks;
};

std::vector<ClickRow> ClickRows() {
  return {
      {"left click", [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 50)); }, 1, 0},
      {"right click", [](QWidget* w) { QTest::mouseClick(w, Qt::RightButton, {}, QPoint(3, 50)); }, 0, 0},
      {"middle click", [](QWidget* w) { QTest::mouseClick(w, Qt::MiddleButton, {}, QPoint(3, 50)); }, 0, 0},
      {"left press, release outside",
       [](QWidget* w) {
         QTest::mousePress(w, Qt::LeftButton, {}, QPoint(3, 50));
         QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(w->width() + 40, 50));
       },
       0, 0},
      {"double click",
       [](QWidget* w) {
         // A double click as Qt delivers it: press, release, double click, release.
         QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 50));
         QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(3, 50));
         QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(3, 50));
       },
       1, 1},
  };
}

TEST(HostedTrellan, ClickIsALeftPressAndReleaseOnTheBar) {
  for (const ClickRow& row : ClickRows()) {
    SCOPED_TRACE(row.name);
    Split s({.orientation = Vertical, .moveable = false});
    s.host->events.clear();
    row.input(s.bar());
    EXPECT_EQ(s.host->Count(eventid::Click), row.clicks);
    EXPECT_EQ(s.host->Count(eventid::DblClick), row.doubleClicks);
  }
}

// ---- names of guided controls ----

struct NameRow {
  const char* text;
  int index;  // the lblArr member found, -1 for the plain panel, -2 for none
};

TEST(HostedTrellan, NamesReadTheIndexByTheLeadingNumberRule) {
  const NameRow rows[] = {
      {"lblArr(2)", 2},      {"lblArr(2abc)", 2},   {"LBLARR( 2 )", 2},
      {"lblArr(1.5)", 2},    {"lblArr(2.5)", 2},    {"lblArr(&H1)", 1},
      {"lblArr(1e0)", 1},    {"lblArr(abc)", 0},    {"lblArr", 0},
      {"lblArr()", 0},       {"lblArr(7)", -2},     {"lblArr(99999999999999999999)", -2},
      {"lblArr(-1)", -2},    {"pnlFirst", -1},      {"(2)", -2},
  };
  for (const NameRow& row : rows) {
    SCOPED_TRACE(row.text);
    LibraryHost host(kClassId, QStringLiteral("ucTrellan"));
    std::vector<QFrame*> members;
    for (int i = 0; i < 3; ++i) {
      auto* member = new QFrame(&host.form());
      member->setObjectName(QStringLiteral("lblArr"));
      member->setProperty("Index", i);
      members.push_back(member);
    }
    auto* plain = new QFrame(&host.form());
    plain->setObjectName(QStringLiteral("pnlFirst"));
    host.control().InitProperties();
    host.Let(dispid::FirstControl, QString::fromLatin1(row.text));
    QObject* found = host.Get(dispid::FirstControl).value<QObject*>();
    QObject* want = row.index >= 0 ? members.at(static_cast<std::size_t>(row.index))
                    : row.index == -1 ? plain
                                      : nullptr;
    EXPECT_EQ(found, want);
  }
}

// ---- read-only members ----

TEST(HostedTrellan, VersionAndControls) {
  Split s({});
  EXPECT_EQ(s.Get(dispid::Version).toString(), "1.00");
  QStringList names;
  for (QObject* part : s.Get(dispid::Controls).value<QObjectList>()) names << part->objectName();
  EXPECT_EQ(names, (QStringList{"Menu_Trellan", "MenuFirst", "MenuSecond", "MenuSeparator", "MenuSwap",
                                "MenuOrientation"}));
}

}  // namespace
}  // namespace morvane::trellan
