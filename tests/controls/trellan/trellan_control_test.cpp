#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

#include "controls/kit/control_kit.h"
#include "controls/trellan/trellan.h"
#include "controls/trellan/trellan_page.h"
#include "controls/trellan/trellan_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/help_viewer.h"
#include "tests/support/hosted_control.h"

namespace morvane::trellan {
namespace {

using Host = testing::HostedControl<Trellan>;

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// A form shaped like the main window: a tree and a zoom view split by a vertical bar
// that cannot be dragged, from stored design data.
struct MainWindowShape {
  std::unique_ptr<Host> host;
  QTreeWidget* tree = nullptr;
  QFrame* view = nullptr;

  explicit MainWindowShape(bool moveable = false) {
    host = std::make_unique<Host>(QStringLiteral("ucTrellan"), QSize(600, 400));
    host->form().setObjectName(QStringLiteral("fwMain"));
    host->control().setObjectName(QStringLiteral("ucTrellan"));
    tree = new QTreeWidget(&host->form());
    tree->setObjectName(QStringLiteral("tvCoord"));
    view = new QFrame(&host->form());
    view->setObjectName(QStringLiteral("ucScopel"));
    automation::PropertyBag bag;
    bag.write(QStringLiteral("FirstControl"), QStringLiteral("tvCoord"));
    bag.write(QStringLiteral("SecondControl"), QStringLiteral("ucScopel"));
    bag.write(QStringLiteral("Orientation"), 2);
    bag.write(QStringLiteral("AutoPopupMenu"), false);
    bag.write(QStringLiteral("Moveable"), moveable);
    bag.write(QStringLiteral("DrawJunctions"), 3);
    host->control().ReadProperties(bag);
    host->control().setGeometry(50, 0, 6, 400);
    host->form().show();
    Settle();
    // The main window puts the bar at 123 px.
    host->control().move(123, 0);
    Settle();
  }
  Trellan& bar() { return host->control(); }
};

TEST(MainWindowShape, BarAt123GuidesTreeAndView) {
  MainWindowShape w;
  EXPECT_EQ(w.tree->geometry(), QRect(0, 0, 123, 400));
  EXPECT_EQ(w.view->geometry(), QRect(129, 0, 471, 400));
  EXPECT_EQ(w.bar().geometry(), QRect(123, 0, 6, 400));

  w.host->form().resize(800, 300);
  Settle();
  EXPECT_EQ(w.tree->geometry(), QRect(0, 0, 123, 300));
  EXPECT_EQ(w.view->geometry(), QRect(129, 0, 671, 300));
}

TEST(MainWindowShape, AltArrowsStepTheBarThoughNotMoveable) {
  MainWindowShape w;
  ASSERT_FALSE(w.bar().Moveable());
  QTest::keyClick(&w.bar(), Qt::Key_Left, Qt::AltModifier);
  QTest::keyClick(&w.bar(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(w.bar().x(), 121);
  QTest::keyRelease(&w.bar(), Qt::Key_Alt);
  Settle();
  EXPECT_EQ(w.tree->width(), 121);
  EXPECT_EQ(w.view->geometry(), QRect(127, 0, 473, 400));
  QTest::keyClick(&w.bar(), Qt::Key_Right, Qt::AltModifier);
  QTest::keyRelease(&w.bar(), Qt::Key_Alt);
  Settle();
  EXPECT_EQ(w.tree->width(), 122);
  // Up and down belong to a horizontal bar.
  QTest::keyClick(&w.bar(), Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(w.bar().pos(), QPoint(122, 0));
}

TEST(MainWindowShape, NoWorkWhileIdle) {
  MainWindowShape w;
  const int polls = w.bar().PollCount();
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    QTest::qWait(2);
  }
  EXPECT_EQ(w.bar().PollCount(), polls);
}

TEST(MainWindowShape, NotMoveableRightClickShowsNothing) {
  MainWindowShape w;
  QTest::mouseClick(&w.bar(), Qt::RightButton, {}, QPoint(3, 50));
  EXPECT_EQ(w.host->Count(eventid::RightClick), 0);
  EXPECT_FALSE(w.bar().Menu()->isVisible());
}

TEST(Drag, FollowsTheMouseAndArrangesOnRelease) {
  MainWindowShape w(true);
  QTest::mousePress(&w.bar(), Qt::LeftButton, {}, QPoint(3, 50));
  ASSERT_TRUE(w.bar().Dragging());
  QMouseEvent move(QEvent::MouseMove, QPointF(43, 50), w.bar().mapToGlobal(QPointF(43, 50)),
                   Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(&w.bar(), &move);
  EXPECT_EQ(w.bar().x(), 163);
  QTest::mouseRelease(&w.bar(), Qt::LeftButton, {}, QPoint(3, 50));
  Settle();
  EXPECT_FALSE(w.bar().Dragging());
  EXPECT_EQ(w.tree->width(), 163);
}

TEST(Drag, ALostReleaseEndsTheDrag) {
  MainWindowShape w(true);
  QTest::mousePress(&w.bar(), Qt::LeftButton, {}, QPoint(3, 50));
  ASSERT_TRUE(w.bar().Dragging());
  QMouseEvent move(QEvent::MouseMove, QPointF(20, 50), w.bar().mapToGlobal(QPointF(20, 50)),
                   Qt::NoButton, Qt::NoButton, {});
  QApplication::sendEvent(&w.bar(), &move);
  EXPECT_FALSE(w.bar().Dragging());
  EXPECT_EQ(w.bar().x(), 123);
}

TEST(Drag, ToTheEdgeHidesAPanel) {
  MainWindowShape w(true);
  QTest::mousePress(&w.bar(), Qt::LeftButton, {}, QPoint(3, 50));
  QMouseEvent move(QEvent::MouseMove, QPointF(-500, 50), w.bar().mapToGlobal(QPointF(-500, 50)),
                   Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(&w.bar(), &move);
  QTest::mouseRelease(&w.bar(), Qt::LeftButton, {}, QPoint(3, 50));
  Settle();
  EXPECT_TRUE(w.bar().PanelHidden(0));
  EXPECT_EQ(w.bar().x(), 0);
  EXPECT_FALSE(w.tree->isVisible());
}

TEST(RightClick, CancelKeepsTheMenuClosed) {
  MainWindowShape w(true);
  w.host->Let("AutoPopupMenu", true);
  w.host->handler = [](automation::DispId id, QVariantList& args) {
    if (id == eventid::RightClick) args[0] = 1;
  };
  QTest::mouseClick(&w.bar(), Qt::RightButton, {}, QPoint(3, 50));
  EXPECT_EQ(w.host->Count(eventid::RightClick), 1);
  EXPECT_FALSE(w.bar().Menu()->isVisible());

  w.host->handler = nullptr;
  QTest::mouseClick(&w.bar(), Qt::RightButton, {}, QPoint(3, 50));
  EXPECT_TRUE(w.bar().Menu()->isVisible());
  QStringList captions;
  for (QAction* action : w.bar().Menu()->actions()) captions << action->text();
  EXPECT_EQ(captions, (QStringList{"Hide &Left Panel", "Hide &Right Panel", "", "&Swap Panels",
                                   "&Horizontal Splitting"}));
  w.bar().Menu()->hide();
}

TEST(PopupMenu, HidingAndShowingAPanel) {
  MainWindowShape w(true);
  w.bar().TogglePanel(1);
  Settle();
  EXPECT_TRUE(w.bar().PanelHidden(1));
  EXPECT_EQ(w.bar().x(), 594);
  EXPECT_EQ(w.tree->width(), 594);
  w.bar().TogglePanel(0);  // the other way: the return position stays
  EXPECT_TRUE(w.bar().PanelHidden(0));
  EXPECT_FALSE(w.bar().PanelHidden(1));
  w.bar().TogglePanel(0);
  Settle();
  EXPECT_EQ(w.bar().x(), 123);
  EXPECT_EQ(w.tree->width(), 123);
}

TEST(PopupMenu, OrientationItemTurnsAStoredZeroToVertical) {
  Host host(QStringLiteral("ucTrellan"));
  automation::PropertyBag bag;
  host->ReadProperties(bag);
  host.Let("Orientation", 0);
  ASSERT_EQ(host.Get("Orientation").toInt(), 0);
  host->PopupMenu();
  host->Menu()->actions().at(4)->trigger();
  EXPECT_EQ(host.Get("Orientation").toInt(), 2);
  host->Menu()->hide();
}

TEST(Swap, TwiceIsAsBefore) {
  MainWindowShape w;
  w.host->Let("SecondControl", QStringLiteral("(None)"));
  Settle();
  w.host->Call("Swap");
  EXPECT_EQ(w.bar().GuidedWidget(0), nullptr);
  EXPECT_EQ(w.bar().GuidedWidget(1), w.tree);
  EXPECT_EQ(w.bar().GuidedControlName(0), "(None)");
  EXPECT_EQ(w.bar().GuidedControlName(1), "tvCoord");
  EXPECT_EQ(w.tree->x(), 129);
  w.host->Call("Swap");
  EXPECT_EQ(w.bar().GuidedWidget(0), w.tree);
  EXPECT_EQ(w.bar().GuidedControlName(0), "tvCoord");
  EXPECT_EQ(w.bar().GuidedControlName(1), "(None)");
  EXPECT_EQ(w.tree->geometry(), QRect(0, 0, 123, 400));
}

// ---- checks of guided controls ----

struct CheckScene {
  std::unique_ptr<Host> host;
  QWidget* frame = nullptr;
  Trellan* other = nullptr;

  CheckScene() {
    host = std::make_unique<Host>(QStringLiteral("ucTrellan"));
    host->form().setObjectName(QStringLiteral("fwMain"));
    host->control().setObjectName(QStringLiteral("ucTrellan"));
    auto add = [&](QWidget* w, const char* name) {
      w->setObjectName(QLatin1String(name));
      return w;
    };
    add(new QFrame(&host->form()), "plain");
    add(new QComboBox(&host->form()), "cboDrop");
    auto* simple = add(new QComboBox(&host->form()), "cboSimple");
    simple->setProperty("Style", 1);
    add(new QFrame(&host->form()), "docked")->setProperty("Align", 1);
    frame = add(new QFrame(&host->form()), "fraOuter");
    add(new QFrame(frame), "inner");
    other = new Trellan(&host->form());
    other->setObjectName(QStringLiteral("ucOther"));
    other->InitProperties();
    add(new QFrame(&host->form()), "taken");
    other->LetGuidedControl(0, QStringLiteral("taken"));
    host->control().InitProperties();
  }
};

struct CheckRow {
  const char* value;
  int number;  // 0: accepted or refused silently
  const char* description;
  const char* wantName;
};

TEST(Checks, GuidedControlsWithTheirErrors) {
  const std::vector<CheckRow> rows{
      {"plain", 0, "", "plain"},
      {"PLAIN", 0, "", "PLAIN"},
      {"cboSimple", 0, "", "cboSimple"},
      {"inner", 0, "", "(None)"},
      {"nosuch", 0, "", "(None)"},
      {"ucTrellan", 425, "'ucTrellan' is no Trellan's sibling.", nullptr},
      {"ucOther", 387, "'ucOther' is no completely resizable because of it is the Trellan.", nullptr},
      {"cboDrop", 387, "'cboDrop' is no completely resizable because of it is the ComboBox.", nullptr},
      {"docked", 382, "'docked' is no completely resizable because of it has an alignment.", nullptr},
      {"taken", 380, "'taken' is already guided by another Trellan 'ucOther'.", nullptr},
  };
  for (const CheckRow& row : rows) {
    CheckScene scene;
    scene.host->Let("FirstControl", QStringLiteral("plain"));
    const QString before = scene.host->control().GuidedControlName(0);
    try {
      scene.host->Let("FirstControl", QString::fromLatin1(row.value));
      EXPECT_EQ(row.number, 0) << row.value;
      EXPECT_EQ(scene.host->control().GuidedControlName(0), QString::fromLatin1(row.wantName))
          << row.value;
    } catch (const automation::AutomationError& error) {
      EXPECT_EQ(error.number(), row.number) << row.value;
      EXPECT_EQ(error.description(), QString::fromLatin1(row.description)) << row.value;
      EXPECT_EQ(scene.host->control().GuidedControlName(0), before) << row.value;
    }
  }
}

TEST(Checks, TheContainerItselfIsNoSibling) {
  CheckScene scene;
  auto* inside = new Trellan(scene.frame);
  inside->setObjectName(QStringLiteral("ucInside"));
  inside->InitProperties();
  try {
    inside->LetGuidedControl(0, QStringLiteral("fraOuter"));
    FAIL();
  } catch (const automation::AutomationError& error) {
    EXPECT_EQ(error.number(), 425);
    EXPECT_EQ(error.description(), "'fraOuter' is no Trellan's sibling.");
  }
}

TEST(Checks, ObjectAssignments) {
  CheckScene scene;
  auto expectError = [&](const QVariant& value, int number, const char* text) {
    try {
      scene.host->Set("SecondControl", value);
      ADD_FAILURE() << number;
    } catch (const automation::AutomationError& error) {
      EXPECT_EQ(error.number(), number);
      EXPECT_EQ(error.description(), QString::fromLatin1(text));
    }
  };
  expectError(5, 424, "Object required.");
  expectError(QVariantList{1, 2}, 380, "Index in the control array is not specified.");
  QWidget* plain = scene.host->form().findChild<QWidget*>(QStringLiteral("plain"));
  scene.host->Set("FirstControl", QVariant::fromValue<QObject*>(plain));
  EXPECT_EQ(scene.host->control().GuidedControlName(0), "plain");
  // The first control cannot be the second too.
  scene.host->Set("SecondControl", QVariant::fromValue<QObject*>(plain));
  EXPECT_EQ(scene.host->control().GuidedControlName(1), "(None)");
  EXPECT_TRUE(scene.host->changed.filter(QStringLiteral("Control")).isEmpty());
  scene.host->Set("FirstControl", QVariant());
  EXPECT_EQ(scene.host->control().GuidedControlName(0), "(None)");
}

TEST(Checks, ADesignerContainerRefusesEachArrangement) {
  Host host(QStringLiteral("ucTrellan"));
  host.form().setProperty("TypeName", QStringLiteral("UserControl"));
  host->InitProperties();
  host.form().show();
  Settle();
  try {
    host.Call("Refresh");
    FAIL();
  } catch (const automation::AutomationError& error) {
    EXPECT_EQ(error.number(), 438);
    EXPECT_EQ(error.description(),
              "Trellan cannot be contained in a UserControl immediately.\r\n"
              "Remove TrellanControl from the components and then join it again.");
  }
}

TEST(Checks, RelookingUpANameAnnouncesNoChange) {
  MainWindowShape w;
  w.host->Forget();
  w.host->Call("Refresh");
  EXPECT_TRUE(w.host->changed.isEmpty());
}

// ---- properties ----

TEST(Properties, SettersAndTheirRules) {
  Host host(QStringLiteral("ucTrellan"));
  host->InitProperties();
  host.Let("DashSize", -5);
  EXPECT_EQ(host.Get("DashSize").toInt(), 0);
  host.Let("Style", MoverStyle);
  host.Let("ResizeMode", Proportional);
  EXPECT_EQ(host.Get("ResizeMode").toInt(), Ultimate);
  host.Let("Style", SplitterStyle);
  host.Let("ResizeMode", Adjacent);  // on a form: refused
  EXPECT_EQ(host.Get("ResizeMode").toInt(), Ultimate);
  host.Let("ResizeMode", Proportional);
  EXPECT_EQ(host.Get("ResizeMode").toInt(), Proportional);
  host.Forget();
  host.Let("BackColor", host.Get("BackColor"));
  EXPECT_TRUE(host.changed.isEmpty());
  host.Let("BackColor", 0xFF);
  EXPECT_EQ(host.changed, QStringList{"BackColor"});
  EXPECT_EQ(host.Get("Version").toString(), "6.09");  // no leading blank
}

TEST(Properties, ReadingStoredPropertiesAnnouncesNothing) {
  Host host(QStringLiteral("ucTrellan"));
  automation::PropertyBag bag;
  bag.write(QStringLiteral("DashSize"), 45);
  bag.write(QStringLiteral("MousePointer"), 2);
  bag.write(QStringLiteral("BackColor"), 0xFF);
  host->ReadProperties(bag);
  EXPECT_TRUE(host.changed.isEmpty()) << host.changed.join(",").toStdString();
  EXPECT_EQ(host.Get("DashSize").toInt(), 45);
  EXPECT_EQ(host.Get("MousePointer").toInt(), 2);
  // Once read, a setter announces again.
  host.Let("DashSize", 60);
  EXPECT_EQ(host.changed, QStringList{"DashSize"});
}

TEST(Properties, NothingIsArrangedUntilTheBarHasItsProperties) {
  enum class Given { Nothing, New, Stored };
  const struct {
    const char* name;
    Given given;
    int arrangements;
  } rows[] = {
      {"not yet given", Given::Nothing, 0},
      {"a new bar", Given::New, 1},
      {"a stored bar", Given::Stored, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Host host(QStringLiteral("ucTrellan"));
    if (row.given == Given::New) host->InitProperties();
    if (row.given == Given::Stored) host->ReadProperties(automation::PropertyBag());
    host.Call("Refresh");
    EXPECT_EQ(host.Count(eventid::RefreshDone), row.arrangements);
  }
}

TEST(Properties, NewBarTakesItsShape) {
  for (auto [size, want] :
       {std::pair{QSize(6, 100), 2}, std::pair{QSize(100, 6), 1}, std::pair{QSize(20, 20), 2}}) {
    Host host(QStringLiteral("ucTrellan"));
    host->InitProperties();
    host->resize(size);
    QApplication::sendPostedEvents();
    host.form().show();
    Settle();
    EXPECT_EQ(host.Get("Orientation").toInt(), want);
  }
}

TEST(Bag, WritesNineteenKeysAndReadsThemBack) {
  MainWindowShape w;
  w.host->Let("DashSize", 45);
  w.host->Let("BeginLine1Color", 0x123456);
  automation::PropertyBag bag;
  w.bar().WriteProperties(bag);
  EXPECT_EQ(bag.keys(),
            (QStringList{"ClipControls", "AutoPopupMenu", "FirstControl", "SecondControl", "Orientation",
                         "Style", "ResizeMode", "BackColor", "BeginLine1Color", "BeginLine2Color",
                         "FinishLine1Color", "FinishLine2Color", "DashSize", "DrawJunctions", "Enabled",
                         "MouseIcon", "Moveable", "CustomMouseIcon", "MousePointer"}));
  Host copy(QStringLiteral("ucTrellan"));
  copy->ReadProperties(bag);
  automation::PropertyBag again;
  copy->WriteProperties(again);
  EXPECT_EQ(again.toJson(), bag.toJson());

  // Writing leaves the control working: the host's move is still followed.
  w.bar().move(200, 0);
  Settle();
  EXPECT_EQ(w.tree->width(), 200);
}

TEST(Bag, FallbackNamesAndOrientationZero) {
  automation::PropertyBag bag;
  bag.write(QStringLiteral("FirstControl"), QString());
  bag.write(QStringLiteral("FirstControlName"), QStringLiteral("tvCoord"));
  bag.write(QStringLiteral("Orientation"), 0);
  bag.write(QStringLiteral("Moveable"), QStringLiteral("not a Boolean"));
  Host host(QStringLiteral("ucTrellan"));
  host->ReadProperties(bag);
  EXPECT_EQ(host->GuidedControlName(0), "tvCoord");
  EXPECT_EQ(host->GuidedControlName(1), "(None)");
  EXPECT_EQ(host->Orientation(), 2);
  EXPECT_TRUE(host->Moveable());
}

// ---- layout file ----

QString ReadText(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return QString::fromUtf8(file.readAll());
}

void WriteText(const QString& path, const QString& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.toUtf8());
}

TEST(LayoutFile, SavesTheSection) {
  MainWindowShape w;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("layout.ini"));
  w.host->Call("SaveToFile", {path});
  EXPECT_EQ(ReadText(path),
            "[fwMain_ucTrellan]\r\nOrientation=2\r\nPosition=123\r\nHidden1=0\r\nHidden2=0\r\n"
            "Control1=tvCoord\r\nControl2=ucScopel\r\n");
  // A hidden panel stores the position the bar returns to.
  w.bar().TogglePanel(0);
  w.host->Call("SaveToFile", {path, QStringLiteral("Other")});
  EXPECT_TRUE(
      ReadText(path).endsWith("[Other]\r\nOrientation=2\r\nPosition=123\r\nHidden1=1\r\nHidden2="
                              "0\r\nControl1=tvCoord\r\nControl2=ucScopel\r\n"));
  w.host->Call("SaveToFile", {QString()});  // no file: nothing
}

TEST(LayoutFile, RestoreRules) {
  MainWindowShape w;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("layout.ini"));
  // Unchanged: restoring what was saved changes nothing.
  w.host->Call("SaveToFile", {path});
  w.host->Call("RestoreFromFile", {path});
  Settle();
  EXPECT_EQ(w.bar().x(), 123);
  EXPECT_FALSE(w.bar().PanelHidden(0));

  WriteText(path, "[fwMain_ucTrellan]\nPosition=200\n");
  w.host->Call("RestoreFromFile", {path});
  Settle();
  EXPECT_EQ(w.tree->width(), 200);

  // Both hidden: only the first is hidden again, and it returns to the stored place.
  WriteText(path, "[fwMain_ucTrellan]\nPosition=150\nHidden1=1\nHidden2=1\n");
  w.host->Call("RestoreFromFile", {path});
  Settle();
  EXPECT_TRUE(w.bar().PanelHidden(0));
  EXPECT_FALSE(w.bar().PanelHidden(1));
  EXPECT_EQ(w.bar().x(), 0);
  w.bar().TogglePanel(0);
  Settle();
  EXPECT_EQ(w.bar().x(), 150);

  // Written before the panels were swapped: swapped back.
  WriteText(path, "[fwMain_ucTrellan]\nControl1=ucScopel\nControl2=tvCoord\n");
  w.host->Call("RestoreFromFile", {path});
  Settle();
  EXPECT_EQ(w.bar().GuidedWidget(0), w.view);
  EXPECT_EQ(w.bar().GuidedControlName(0), "ucScopel");
}

// ---- help ----

TEST(Help, F1ShowsTheControlsOwnTopic) {
  MainWindowShape w;
  QTest::keyClick(&w.bar(), Qt::Key_F1);
  QWidget* popup = widgets::HelpViewer::CurrentPopup();
  ASSERT_NE(popup, nullptr);
  auto* label = qobject_cast<QLabel*>(popup);
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->text().contains("Trellan splitter bar"));
  popup->close();
  Settle();
  // A bar with its own help context leaves help to the host.
  w.host->site().setHelpContextId(7);
  QTest::keyClick(&w.bar(), Qt::Key_F1);
  EXPECT_EQ(widgets::HelpViewer::CurrentPopup(), nullptr);
}

TEST(Help, TopicsFiles) {
  const auto file = widgets::HelpFile::Parse(
      "## comment\r\n#503 Title one\r\n<p>Text</p>\r\n#7 Second\nmore\n#x not a topic\n");
  ASSERT_EQ(file.topics().size(), 2);
  EXPECT_EQ(file.find(503)->title, "Title one");
  EXPECT_EQ(file.find(503)->text, "<p>Text</p>");
  EXPECT_EQ(file.find(7)->text, "more\n#x not a topic");
  EXPECT_EQ(file.find(8), nullptr);
  EXPECT_EQ(
      widgets::TopicsFileFor(QStringLiteral("C:\\WINDOWS\\help\\Trellan.HLP"), QStringLiteral("/opt/m")),
      "/opt/m/Trellan.topics");
  EXPECT_EQ(widgets::TopicsFileFor(QStringLiteral("Morvane.topics"), QStringLiteral("/opt/m")),
            "/opt/m/Morvane.topics");
  QString error;
  EXPECT_FALSE(widgets::HelpViewer::ShowContextPopup(QStringLiteral("Missing.hlp"), 1, {}, &error));
  EXPECT_FALSE(error.isEmpty());
  ASSERT_TRUE(widgets::HelpViewer::ShowContents(QStringLiteral("Trellan.hlp"), 503));
  QWidget* contents = widgets::HelpViewer::CurrentContents();
  ASSERT_NE(contents, nullptr);
  contents->close();
}

// ---- property page ----

TEST(ControlsPage, ListsSnapBackAndApply) {
  CheckScene scene;
  auto* arrayMember = new QFrame(&scene.host->form());
  arrayMember->setObjectName(QStringLiteral("pic"));
  arrayMember->setProperty("Index", 2);
  scene.host->Let("FirstControl", QStringLiteral("plain"));
  ControlsPage page;
  int changes = 0;
  QObject::connect(&page, &ControlsPage::changed, [&](bool on) { changes += on ? 1 : 0; });
  page.setTarget(&scene.host->control());
  QStringList entries;
  for (int i = 0; i < page.list(0)->count(); ++i) entries << page.list(0)->itemText(i);
  EXPECT_EQ(entries, (QStringList{"(None)", "plain", "cboSimple", "fraOuter",
                                  "taken [guided by ucOther]", "pic(2)"}));
  EXPECT_EQ(page.list(0)->currentText(), "plain");
  EXPECT_EQ(page.list(1)->currentText(), "(None)");
  EXPECT_FALSE(page.isChanged());

  page.choose(1, 4);  // guided by another: back to (None)
  EXPECT_EQ(page.list(1)->currentText(), "(None)");
  page.choose(1, 1);  // the same as the first list
  EXPECT_EQ(page.list(1)->currentText(), "(None)");
  page.choose(1, 5);
  EXPECT_EQ(page.list(1)->currentText(), "pic(2)");
  EXPECT_TRUE(page.isChanged());
  EXPECT_GE(changes, 1);
  page.apply();
  EXPECT_EQ(scene.host->control().GuidedControlName(1), "pic(2)");
  EXPECT_EQ(scene.host->control().GuidedWidget(1), arrayMember);
}

TEST(ControlsPage, EmptyContainerAndDesignerWarnings) {
  Host host(QStringLiteral("ucTrellan"));
  host->InitProperties();
  ControlsPage page;
  page.setTarget(&host.control());
  EXPECT_EQ(page.list(0)->count(), 1);
  EXPECT_EQ(page.list(1)->itemText(0), "(None)");

  auto* frame = new QFrame(&host.form());
  frame->setProperty("TypeName", QStringLiteral("UserControl"));
  host->setParent(frame);
  ControlsPage direct;
  direct.setTarget(&host.control());
  EXPECT_FALSE(direct.list(0)->isEnabled());

  host->setParent(&host.form());
  host.form().setProperty("TypeName", QStringLiteral("UserDocument"));
  auto* inner = new QFrame(&host.form());
  host->setParent(inner);
  ControlsPage warned;
  warned.setTarget(&host.control());
  EXPECT_TRUE(warned.warning()->text().startsWith(
      "When the Trellan object is contained within a PropertyPage, "));
  EXPECT_TRUE(warned.list(0)->isHidden());
}

}  // namespace
}  // namespace morvane::trellan
