#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <set>

#include "app/contour_tree.h"
#include "app/work_picture.h"
#include "app/field_strips.h"
#include "common/widgets/control_helpers.h"
#include "platform/core/units.h"
#include "platform/widgets/help_viewer.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"
#include "tests/app/help_fixture.h"

namespace morvane::testing {
namespace {

using app::MainWindow;
constexpr int kTpp = core::kTwipsPerPixel;

widgets::MenuEntry* Item(MainWindow& w, const char* name, int index = -1) {
  return w.Menus()->Item(QString::fromLatin1(name), index);
}

// The widget of a tool button and its centre on the screen.
QWidget* ButtonWidget(MainWindow& w, int bar, const char* key) {
  widgets::KeyedToolBar* toolbar = w.ToolBars()[static_cast<std::size_t>(bar)];
  const widgets::ToolBarButton* button = toolbar->Button(QString::fromLatin1(key));
  const QPoint centre(static_cast<int>((button->Left() + button->Width() / 2) / kTpp),
                      static_cast<int>((button->Top() + button->Height() / 2) / kTpp));
  return toolbar->childAt(centre);
}

QPoint Centre(const QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }

QMenu* OpenPopup() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

void CloseMenus() {
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

// Moves the pointer there and sends the move the window would see.
void MoveMouse(QWidget* widget, QPoint local) {
  QCursor::setPos(widget->mapToGlobal(local));
  QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(widget->mapToGlobal(local)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

void PressF1(QWidget* target) { QTest::keyClick(target, Qt::Key_F1); }

TEST(ContextHelp, RightClickOnAToolButtonOffersItsTopicAndOutsideTheButtonsNothing) {
  HelpWindow w;
  widgets::KeyedToolBar* bar = w->ToolBars()[0];
  // A point of the bar that no button covers.
  QPoint empty(-1, -1);
  for (int x = bar->width() - 1; x >= 0 && empty.x() < 0; --x) {
    for (int y = 0; y < bar->height(); ++y) {
      if (common::ToolbarButtonAt(bar, x * kTpp, y * kTpp) == 0) {
        empty = QPoint(x, y);
        break;
      }
    }
  }
  ASSERT_GE(empty.x(), 0) << "the bar has no room beside its buttons";
  QTest::mousePress(bar->childAt(empty) != nullptr ? bar->childAt(empty) : bar, Qt::RightButton, {},
                    empty);
  EXPECT_EQ(OpenPopup(), nullptr);
  QTest::mouseRelease(bar, Qt::RightButton, {}, empty);

  QWidget* save = ButtonWidget(*w, 0, "Save");
  ASSERT_NE(save, nullptr);
  QCursor::setPos(Centre(save));
  QTest::mousePress(save, Qt::RightButton, {}, save->rect().center());
  QMenu* popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup, Item(*w, "mPopup")->Popup());
  ASSERT_EQ(popup->actions().size(), 1);
  EXPECT_EQ(popup->actions()[0]->text(), QStringLiteral("&What's This?"));
  Item(*w, "mPopupWhatsThis")->Action()->trigger();
  CloseMenus();
  EXPECT_EQ(w.help.topics, (std::vector<RecordingHelp::Shown>{{206, Centre(save)}}));
  EXPECT_EQ(w->Help().PendingId(), 0);
}

TEST(ContextHelp, RightClickOnStatusPanelsLabelsAndTheTreeShowsTheirTopics) {
  HelpWindow w;
  widgets::PanelStatusBar* status = w->StatusBar();
  const auto panelX = [&](const char* key) {
    const widgets::StatusBarPanel* panel = status->Panel(QString::fromLatin1(key));
    return static_cast<int>((panel->Left() + panel->Width() / 2) / kTpp);
  };
  struct Case {
    const char* what;
    QWidget* widget;
    QPoint at;
    int id;
  };
  const int y = status->height() / 2;
  const Case cases[] = {
      {"left edge of the status bar", status, QPoint(0, y), 311},
      {"panel Info", status, QPoint(panelX("Info"), y), 312},
      {"panel Time", status, QPoint(panelX("Time"), y), 315},
      {"label Shift X", w->findChild<QWidget*>(QStringLiteral("tlShiftX")), QPoint(2, 2), 302},
      {"label Factor", w->findChild<QWidget*>(QStringLiteral("tlFactor")), QPoint(2, 2), 303},
      {"label Digits", w->findChild<QWidget*>(QStringLiteral("tlDigits")), QPoint(2, 2), 304},
      {"label Title", w->findChild<QWidget*>(QStringLiteral("tlTitles")), QPoint(2, 2), 305},
      {"tree", w->Tree()->viewport(), QPoint(5, 5), 321},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.widget, nullptr) << c.what;
    w.help.topics.clear();
    QTest::mousePress(c.widget, Qt::RightButton, {}, c.at);
    ASSERT_NE(OpenPopup(), nullptr) << c.what;
    Item(*w, "mPopupWhatsThis")->Action()->trigger();
    CloseMenus();
    EXPECT_EQ(w.help.Ids(), std::vector<int>{c.id}) << c.what;
  }
}

TEST(ContextHelp, F1ShowsWhatIsUnderThePointerOnceAndClearsTheCarrier) {
  HelpWindow w;
  QWidget* stop = ButtonWidget(*w, 1, "Stop");
  QCursor::setPos(Centre(stop));
  PressF1(w.window.get());
  EXPECT_EQ(w.help.topics, (std::vector<RecordingHelp::Shown>{{301, Centre(stop)}}));
  EXPECT_EQ(w->Help().PendingId(), 0);

  // Over something without a topic nothing more is shown.
  QWidget* bare = w->findChild<QWidget*>(QStringLiteral("pbCoolBar"));
  ASSERT_NE(bare, nullptr);
  w->Help().HelpAt(bare->mapToGlobal(QPoint(bare->width() - 2, bare->height() - 2)));
  EXPECT_EQ(w.help.topics.size(), 1u);
  // There, F1 goes on to the control that has the focus (the splitter has its own F1).
  struct KeySeen final : QObject {
    int f1 = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) ++f1;
      return false;
    }
  } seen;
  QWidget* field = w->findChild<QWidget*>(QStringLiteral("tbShiftX"));
  field->installEventFilter(&seen);
  QCursor::setPos(bare->mapToGlobal(QPoint(bare->width() - 2, bare->height() - 2)));
  PressF1(field);
  EXPECT_EQ(seen.f1, 1);
  EXPECT_EQ(w.help.topics.size(), 1u);
  QCursor::setPos(Centre(stop));
  PressF1(field);
  EXPECT_EQ(seen.f1, 1) << "a shown topic takes the key";
  EXPECT_EQ(w.help.topics.size(), 2u);
  field->removeEventFilter(&seen);
  w.help.topics.clear();

  struct Case {
    const char* what;
    QWidget* widget;
    int id;
  };
  QTreeView* tree = w->Tree();
  // The splitter places the tree at its next poll.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return QApplication::widgetAt(Centre(tree->viewport())) == tree->viewport(); }));
  const Case cases[] = {
      {"tree", tree->viewport(), 321},
      {"shift field", w->findChild<QWidget*>(QStringLiteral("tbShiftY")), 302},
      {"title box", w->Titles()->List(), 305},
      {"Copy button", ButtonWidget(*w, 0, "Copy"), 212},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.widget, nullptr) << c.what;
    w.help.topics.clear();
    const QPoint at = Centre(c.widget);
    QCursor::setPos(at);
    PressF1(w.window.get());
    EXPECT_EQ(w.help.topics, (std::vector<RecordingHelp::Shown>{{c.id, at}})) << c.what;
    // The pointer stays where it was (on the tree too).
    EXPECT_EQ(QCursor::pos(), at) << c.what;
  }
}

TEST(ContextHelp, TheZoomViewsScrollBarsHaveTheirTopic) {
  HelpWindow w;
  QWidget* view = w->findChild<QWidget*>(QStringLiteral("ucScopel"));
  ASSERT_NE(view, nullptr);
  const QList<QScrollBar*> bars = view->findChildren<QScrollBar*>();
  if (bars.isEmpty()) GTEST_SKIP() << "the zoom view has no scroll bar widgets";
  // Without a picture the strips are hidden; the bar's topic does not depend on that.
  for (QWidget* shown = bars[0]; shown != view; shown = shown->parentWidget()) shown->show();
  ASSERT_EQ(QApplication::widgetAt(Centre(bars[0])), bars[0]);
  w->Help().HelpAt(Centre(bars[0]));
  EXPECT_EQ(w.help.Ids(), std::vector<int>{app::kZoomScrollBarHelpId});
}

TEST(ContextHelp, F1AndARightReleaseInAnOpenMenuShowTheItemsOwnTopic) {
  HelpWindow w;
  QMenu* file = Item(*w, "mFile")->Popup();
  ASSERT_NE(file, nullptr);

  file->popup(Centre(w.window.get()));
  file->setActiveAction(Item(*w, "mFileBatch")->Action());
  PressF1(file);
  EXPECT_EQ(w.help.Ids(), std::vector<int>{208});
  EXPECT_FALSE(file->isVisible());

  // The right-clicked item counts, not the one selected before.
  w.help.topics.clear();
  QMenu* settings = Item(*w, "mSettings")->Popup();
  settings->popup(Centre(w.window.get()));
  settings->setActiveAction(Item(*w, "mSettingsCentroid")->Action());
  const bool connected = w->Settings().connected;
  const QRect connectedItem = settings->actionGeometry(Item(*w, "mSettingsConnected")->Action());
  QTest::mouseRelease(settings, Qt::RightButton, {}, connectedItem.center());
  EXPECT_EQ(w.help.Ids(), std::vector<int>{241});
  EXPECT_EQ(w->Settings().connected, connected) << "the command did not run";
  EXPECT_FALSE(settings->isVisible());
}

TEST(ContextHelp, WhatsThisModeShowsTheClickedThingAndEnds) {
  HelpWindow w;
  ASSERT_TRUE(w->RunCommand("mHelpWhatsThis"));
  EXPECT_TRUE(w->Help().InWhatsThisMode());
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);

  QWidget* stop = ButtonWidget(*w, 1, "Stop");
  QCursor::setPos(Centre(stop));
  QTest::mouseClick(stop, Qt::LeftButton, {}, stop->rect().center());
  EXPECT_EQ(w.help.topics, (std::vector<RecordingHelp::Shown>{{301, Centre(stop)}}));
  EXPECT_FALSE(w->Help().InWhatsThisMode());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A click in the mode asks for help; it does not run the command.
  w.help.topics.clear();
  const bool connected = w->Settings().connected;
  ASSERT_TRUE(w->RunCommand("mHelpWhatsThis"));
  QWidget* connect = ButtonWidget(*w, 0, "Connect");
  QTest::mouseClick(connect, Qt::LeftButton, {}, connect->rect().center());
  EXPECT_EQ(w.help.Ids(), std::vector<int>{241});
  EXPECT_EQ(w->Settings().connected, connected);

  // In an open menu the clicked item's topic, and the command does not run.
  w.help.topics.clear();
  ASSERT_TRUE(w->RunCommand("mHelpWhatsThis"));
  QMenu* settings = Item(*w, "mSettings")->Popup();
  settings->popup(Centre(w.window.get()));
  const QRect connectedItem = settings->actionGeometry(Item(*w, "mSettingsConnected")->Action());
  QTest::mouseClick(settings, Qt::LeftButton, {}, connectedItem.center());
  EXPECT_EQ(w.help.Ids(), std::vector<int>{241});
  EXPECT_EQ(w->Settings().connected, connected);
  EXPECT_FALSE(settings->isVisible());
  EXPECT_FALSE(w->Help().InWhatsThisMode());

  // Esc ends the mode without a topic.
  w.help.topics.clear();
  ASSERT_TRUE(w->RunCommand("mHelpWhatsThis"));
  QTest::keyClick(w.window.get(), Qt::Key_Escape);
  EXPECT_FALSE(w->Help().InWhatsThisMode());
  EXPECT_TRUE(w.help.topics.empty());
}

QRect TitleRect(MainWindow& w, const char* menu) {
  return w.menuBar()->actionGeometry(Item(w, menu)->Action());
}

const QWidget* PaintedHilite(MainWindow& w) {
  const QWidget* painted = w.menuBar()->findChild<QWidget*>(QStringLiteral("menuBarHilite"));
  return painted != nullptr && painted->isVisible() ? painted : nullptr;
}

TEST(ContextHelp, HoveringTheMenuBarInTheModeHilitesATitleWePaint) {
  HelpWindow w;
  ASSERT_TRUE(w->RunCommand("mHelpWhatsThis"));
  QMenuBar* bar = w->menuBar();
  MoveMouse(bar, TitleRect(*w, "mEdit").center());
  EXPECT_EQ(w->Help().HilitedMenuItem(), 1);
  ASSERT_NE(PaintedHilite(*w), nullptr);
  EXPECT_EQ(PaintedHilite(*w)->geometry(), TitleRect(*w, "mEdit"));
  MoveMouse(bar, TitleRect(*w, "mHelp").center());
  EXPECT_EQ(w->Help().HilitedMenuItem(), 4);
  EXPECT_EQ(PaintedHilite(*w)->geometry(), TitleRect(*w, "mHelp"));
  // Off the titles: no hilite.
  MoveMouse(bar, QPoint(bar->width() - 2, bar->height() / 2));
  EXPECT_EQ(w->Help().HilitedMenuItem(), -1);
  EXPECT_EQ(PaintedHilite(*w), nullptr);
}

TEST(ContextHelp, ACommandReachedByItsShortcutDuringAHiliteShowsItsTopicInstead) {
  HelpWindow w;
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
  ASSERT_TRUE(w->RunCommand("mHelpWhatsThis"));
  MoveMouse(w->menuBar(), TitleRect(*w, "mView").center());
  ASSERT_EQ(w->Help().HilitedMenuItem(), 2);
  const bool connected = w->Settings().connected;
  QTest::keyClick(w.window.get(), Qt::Key_F7);
  EXPECT_EQ(w.help.Ids(), std::vector<int>{241});
  EXPECT_EQ(w->Settings().connected, connected) << "the command did not run";
  EXPECT_EQ(w->Help().HilitedMenuItem(), -1);
  EXPECT_EQ(PaintedHilite(*w), nullptr);
  EXPECT_FALSE(w->Help().InWhatsThisMode());

  // Without a hilite the shortcut runs its command.
  QTest::keyClick(w.window.get(), Qt::Key_F7);
  EXPECT_EQ(w->Settings().connected, !connected);
  EXPECT_EQ(w.help.topics.size(), 1u);
}

TEST(ContextHelp, AToolBarClickDuringAHiliteClearsItAndRuns) {
  HelpWindow w;
  w->Help().HiliteMenuBarItem(3);
  ASSERT_NE(PaintedHilite(*w), nullptr);
  const bool connected = w->Settings().connected;
  QWidget* connect = ButtonWidget(*w, 0, "Connect");
  QTest::mouseClick(connect, Qt::LeftButton, {}, connect->rect().center());
  EXPECT_EQ(w->Help().HilitedMenuItem(), -1);
  EXPECT_EQ(PaintedHilite(*w), nullptr);
  EXPECT_EQ(w->Settings().connected, !connected);
  EXPECT_TRUE(w.help.topics.empty());
}

TEST(ContextHelp, F1OrAClickOnAHilitedTitleOpensItsMenuForHelp) {
  for (const bool byClick : {false, true}) {
    HelpWindow w;
    ASSERT_TRUE(w->RunCommand("mHelpWhatsThis"));
    QMenuBar* bar = w->menuBar();
    const QPoint title = TitleRect(*w, "mFile").center();
    MoveMouse(bar, title);
    ASSERT_EQ(w->Help().HilitedMenuItem(), 0);
    bool opened = false;
    QTimer::singleShot(0, w.window.get(), [&] {
      QMenu* menu = OpenPopup();
      opened = menu == Item(*w, "mFile")->Popup();
      // Choosing an item of the dropped menu asks for its help.
      Item(*w, "mFileBatch")->Action()->trigger();
      if (menu != nullptr) menu->close();
    });
    if (byClick) {
      QTest::mousePress(bar, Qt::LeftButton, {}, title);
      QTest::mouseRelease(bar, Qt::LeftButton, {}, title);
    } else {
      PressF1(w.window.get());
    }
    EXPECT_TRUE(opened) << byClick;
    EXPECT_EQ(w.help.Ids(), std::vector<int>{208}) << byClick;
    EXPECT_EQ(w->Help().HilitedMenuItem(), -1) << byClick;
    EXPECT_FALSE(w->Help().InWhatsThisMode()) << byClick;
    EXPECT_EQ(PaintedHilite(*w), nullptr) << byClick;
    EXPECT_TRUE(w.services.messageBoxes.shown.empty()) << "the batch did not run";
  }
}

TEST(ContextHelp, HelpTopicsShowTheContents) {
  HelpWindow w;
  ASSERT_TRUE(w->RunCommand("mHelpTopics"));
  EXPECT_EQ(w.help.contents, 1);
}

TEST(ContextHelp, WithoutTheTopicsFileTheHelpItemsAreOff) {
  for (const bool present : {true, false}) {
    HelpWindow w(present);
    EXPECT_EQ(w->Help().Available(), present);
    for (const char* name : {"mHelpTopics", "mHelpWhatsThis", "mPopupWhatsThis"}) {
      EXPECT_EQ(Item(*w, name)->Enabled(), present) << name;
    }
    EXPECT_EQ(w->ToolBars()[0]->Button(QStringLiteral("Help"))->Enabled(), present);
    // And nothing is shown from a file that is not there.
    w->Help().SetPendingId(301);
    w->Help().DisplayPending({});
    EXPECT_EQ(w.help.topics.size(), present ? 1u : 0u);
  }
}

// The topics explain what the window offers: none for a command no menu shows.
TEST(ContextHelp, NoTopicForACommandNoMenuShows) {
  HelpWindow w;
  QString error;
  const std::optional<widgets::HelpFile> file = widgets::HelpFile::Load(SourceTopicsFile(), &error);
  ASSERT_TRUE(file) << error.toStdString();
  const widgets::MenuEntry* clockwise = w->Menus()->Item(QStringLiteral("mEditClockwise"));
  ASSERT_NE(clockwise, nullptr);
  ASSERT_FALSE(clockwise->Visible());
  EXPECT_EQ(file->find(clockwise->HelpContextID()), nullptr);
}

TEST(ContextHelp, EveryHelpIdTheWindowUsesHasATopic) {
  HelpWindow w;
  QString error;
  const std::optional<widgets::HelpFile> file = widgets::HelpFile::Load(SourceTopicsFile(), &error);
  ASSERT_TRUE(file) << error.toStdString();
  struct Use {
    QString where;
    int id;
  };
  std::vector<Use> uses;
  for (const widgets::MenuEntry* item : w->Menus()->Items()) {
    // An item no menu shows asks for no topic; the recent-file entries show once filled.
    const bool shown = item->Visible() || item->Name() == QStringLiteral("mFileList");
    if (item->HelpContextID() != 0 && shown) uses.push_back({item->Name(), item->HelpContextID()});
  }
  for (const widgets::KeyedToolBar* bar : w->ToolBars()) {
    for (int i = 1; i <= bar->Count(); ++i) {
      const widgets::ToolBarButton* button = bar->ButtonAt(i);
      if (!button->Tag().isEmpty())
        uses.push_back({QStringLiteral("button ") + button->Key(), button->Tag().toInt()});
    }
  }
  for (int i = 1; i <= w->StatusBar()->Count(); ++i) {
    const widgets::StatusBarPanel* panel = w->StatusBar()->PanelAt(i);
    uses.push_back({QStringLiteral("panel ") + panel->Key(), panel->Tag().toInt()});
  }
  std::set<QString> named;
  for (const QWidget* widget : w->findChildren<QWidget*>()) {
    const int id = widget->property(app::kWhatsThisProperty).toInt();
    if (id != 0) {
      uses.push_back({widget->objectName(), id});
      named.insert(widget->objectName());
    }
  }
  uses.push_back({QStringLiteral("zoom view scroll bars"), app::kZoomScrollBarHelpId});
  for (const app::WhatsThisSpec& spec : app::WhatsThisTable()) {
    uses.push_back({QString::fromLatin1(spec.name), spec.helpId});
  }
  // The window's own fields, tree and progress bars carry their ids.
  for (const char* name : {"tlShiftX", "tbShiftX", "tbFactor", "sbDigits", "cbTitles", "tbTitles",
                           "tvCoord", "pbProgress"}) {
    EXPECT_TRUE(named.count(QString::fromLatin1(name))) << name;
  }
  ASSERT_GT(uses.size(), 60u);
  for (const Use& use : uses) {
    EXPECT_GT(use.id, 0) << use.where.toStdString();
    EXPECT_NE(file->find(use.id), nullptr) << use.where.toStdString() << " uses " << use.id;
  }
}

}  // namespace
}  // namespace morvane::testing
