#include "common/widgets/control_helpers.h"

#include "platform/widgets/band_bar.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <tuple>

namespace morvane::common {
namespace {

struct Probe {
  const char* name;
  const QObject* object;
  bool name_, hwnd, container, items, member;
};

TEST(ControlProbesTest, AnswerWhetherThePropertyCanBeRead) {
  QWidget form;
  form.setObjectName("fwMain");
  auto* frame = new QWidget(&form);  // a container without a name
  auto* tb = new QLineEdit(&form);
  tb->setObjectName("tbTitles");
  auto* inFrame = new QLineEdit(frame);
  inFrame->setObjectName("tbShiftX");
  auto* member = new QLineEdit(&form);
  member->setObjectName("tbOutput");
  member->setProperty("Index", 0);
  auto* notMember = new QLineEdit(&form);
  notMember->setObjectName("tbOther");
  notMember->setProperty("Index", -1);
  auto* badIndex = new QLineEdit(&form);
  badIndex->setObjectName("tbBad");
  badIndex->setProperty("Index", "first");
  auto* bands = new widgets::BandBar(&form);
  bands->setObjectName("pbCoolBar");
  auto* emptyBands = new widgets::BandBar(&form);
  emptyBands->setObjectName("pbEmpty");
  bands->AddBand("Standard", nullptr, 390, 900, false);
  widgets::MenuModel menus(&form);
  widgets::MenuEntry* zoom = menus.Add(nullptr, "mViewZoom", "Zoom &1:1", 0);
  widgets::MenuEntry* file = menus.Add(nullptr, "mFile", "&File");
  QObject plain;

  const std::vector<Probe> probes = {
      {"null", nullptr, false, false, false, false, false},
      {"form", &form, true, true, false, false, false},
      {"text box on the form", tb, true, true, true, false, false},
      {"text box in an unnamed frame", inFrame, true, true, false, false, false},
      {"an unnamed frame", frame, false, true, true, false, false},
      {"element 0 of an array", member, true, true, true, false, true},
      {"negative index", notMember, true, true, true, false, false},
      {"index that is no number", badIndex, true, true, true, false, false},
      {"band bar with a band", bands, true, true, true, true, false},
      {"band bar without bands", emptyBands, true, true, true, false, false},
      {"menu array member", zoom, true, false, false, false, true},
      {"menu item", file, true, false, false, false, false},
      {"plain object", &plain, false, false, false, false, false},
  };
  for (const Probe& p : probes) {
    EXPECT_EQ(HasName(p.object), p.name_) << p.name;
    EXPECT_EQ(HasHwnd(p.object), p.hwnd) << p.name;
    EXPECT_EQ(HasContainer(p.object), p.container) << p.name;
    EXPECT_EQ(HasItems(p.object), p.items) << p.name;
    EXPECT_EQ(IsArrayMember(p.object), p.member) << p.name;
  }
  EXPECT_TRUE(HasItems(menus.Array("mViewZoom")));
  EXPECT_FALSE(HasItems(menus.Array("mSettingsMethod")));
}

struct FilterCase {
  const char* name;
  QString text;
  int caret;
  QString want;
  int wantCaret;
  bool changed;
};

TEST(FilterTextCharsTest, KeepsAllowedCharactersAndMovesTheCaretOnlyForRemovalsBeforeIt) {
  const QString digits = "0123456789";
  const std::vector<FilterCase> cases = {
      {"letter before the caret", "12a3", 3, "123", 2, true},
      {"letter after the caret", "12 3a", 2, "123", 2, true},
      {"on both sides", "x1y2z", 3, "12", 1, true},
      {"more removed after than kept before", "1abcd", 1, "1", 1, true},
      {"already clean", "123", 1, "123", 1, false},
      {"empty", "", 0, "", 0, false},
  };
  for (const FilterCase& c : cases) {
    QLineEdit e;
    e.setText(c.text);
    e.setCursorPosition(c.caret);
    EXPECT_EQ(FilterTextChars(&e, digits), c.changed) << c.name;
    EXPECT_EQ(e.text(), c.want) << c.name;
    EXPECT_EQ(e.cursorPosition(), c.wantCaret) << c.name;
    EXPECT_FALSE(FilterTextChars(&e, digits)) << c.name << ": a second pass finds nothing";
  }
  // A clean text keeps its selection, whichever way it was made.
  for (const auto& [start, length] : std::vector<std::pair<int, int>>{{1, 2}, {3, -2}, {0, 3}}) {
    QLineEdit e;
    e.setText("123");
    e.setSelection(start, length);
    const QString selected = e.selectedText();
    EXPECT_FALSE(FilterTextChars(&e, digits));
    EXPECT_EQ(e.selectedText(), selected) << start << "," << length;
  }
  QLineEdit hex;
  hex.setText("Ff-0");
  EXPECT_TRUE(FilterTextChars(&hex, "0123456789abcdef"));  // case is ignored
  EXPECT_EQ(hex.text(), "Ff0");
  QComboBox combo;
  combo.setEditable(true);
  combo.setEditText("4x2");
  EXPECT_TRUE(FilterTextChars(&combo, digits));
  EXPECT_EQ(combo.currentText(), "42");
  QLabel label("1a");
  EXPECT_FALSE(FilterTextChars(&label, digits));
  EXPECT_FALSE(FilterTextChars(nullptr, digits));
}

TEST(FilterTextCharsTest, TheChangeItRaisesComesBackAndIsAnsweredFalse) {
  QLineEdit e;
  int changes = 0;
  std::vector<bool> nested;
  QObject::connect(&e, &QLineEdit::textChanged, [&] {
    ++changes;
    nested.push_back(FilterTextChars(&e, "0123456789"));
  });
  e.setText("1a2");  // the user's change: filtered from its own change handler
  EXPECT_EQ(e.text(), "12");
  EXPECT_EQ(changes, 2);
  // The inner call (raised while the text is set) answers first, false; then the outer.
  EXPECT_EQ(nested, (std::vector<bool>{false, true}));
}

TEST(RefocusTextBoxTest, KeepsTheSelectionAndTakesTheFocus) {
  QWidget w;
  auto* e = new QLineEdit(&w);
  auto* other = new QLineEdit(&w);
  e->setText("hello world");
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  other->setFocus();
  e->setSelection(6, 5);
  RefocusTextBox(e);
  EXPECT_TRUE(e->isEnabled());
  EXPECT_EQ(e->selectedText(), "world");
  EXPECT_TRUE(e->hasFocus());
  QLabel label;
  RefocusTextBox(&label);  // not a text box: nothing happens
}

// Counts the events of one type that reach the object it watches.
class EventCounter : public QObject {
 public:
  explicit EventCounter(QEvent::Type type) : type_(type) {}
  int count = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == type_) ++count;
    return false;
  }

 private:
  QEvent::Type type_;
};

TEST(ClearTreeTest, EmptiesAFilledTreeAndLeavesAnEmptyOneAlone) {
  QTreeWidget tree;
  tree.show();
  EventCounter counter(QEvent::Hide);
  tree.installEventFilter(&counter);
  ClearTree(&tree);
  EXPECT_EQ(counter.count, 0);
  auto* root = new QTreeWidgetItem(&tree, QStringList{"#00"});
  new QTreeWidgetItem(root, QStringList{"1, 2"});
  tree.expandAll();
  ClearTree(&tree);
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(tree.topLevelItemCount(), 0);
  EXPECT_TRUE(tree.isVisible());
  // A tree hidden on purpose is not shown by clearing it.
  new QTreeWidgetItem(&tree, QStringList{"#01"});
  tree.hide();
  ClearTree(&tree);
  EXPECT_EQ(tree.topLevelItemCount(), 0);
  EXPECT_TRUE(tree.isHidden());
}

TEST(ToolbarButtonAtTest, FindsTheButtonUnderThePoint) {
  widgets::KeyedToolBar bar;
  bar.SetButtonSize(QSize(23, 22));  // 345 x 330 twips
  bar.AddButton("Open", {}, "Open", "201");
  bar.AddButton("s", {}, {}, {}, widgets::ButtonStyle::Separator);  // 120 twips
  bar.AddButton("Painter", {}, "Painter", "202");
  bar.AddButton("Create", {}, "Create", "203");
  const std::vector<std::tuple<const char*, double, double, int>> cases = {
      {"inside the first", 10, 10, 1},
      {"right edge of the first is the first", 345, 0, 1},
      {"on the separator", 400, 100, 2},
      {"left edge of the third is the separator's right edge", 465, 100, 2},
      {"inside the last", 900, 330, 4},
      {"past the last", 1200, 10, 0},
      {"below the buttons", 10, 331, 0},
      {"above the buttons", 10, -1, 0},
  };
  for (const auto& [name, x, y, want] : cases) EXPECT_EQ(ToolbarButtonAt(&bar, x, y), want) << name;
  // With the first button hidden the others move left and are still found.
  bar.ButtonAt(1)->SetVisible(false);
  EXPECT_EQ(ToolbarButtonAt(&bar, 10, 10), 2);
  EXPECT_EQ(ToolbarButtonAt(&bar, 130, 10), 3);
  QWidget notABar;
  EXPECT_EQ(ToolbarButtonAt(&notABar, 10, 10), 0);
}

TEST(StatusBarPanelAtTest, WalksThePanelsAndClampsOnRequest) {
  widgets::PanelStatusBar bar;
  bar.resize(500, 22);
  bar.show();
  bar.AddPanel("Changed", 300);    // pixels 2 .. 22
  bar.AddPanel("Info", 1500);      // 22 .. 122
  bar.AddPanel("Progress1", 750);  // 122 .. 172
  const std::vector<std::tuple<const char*, double, bool, int>> cases = {
      {"inside the second", 500, false, 2},          {"shared edge is the left panel", 330, false, 1},
      {"right end of the last", 2580, false, 3},     {"left of the first", 10, false, 0},
      {"left of the first, clamped", 10, true, 1},   {"right of the last", 4000, false, 0},
      {"right of the last, clamped", 4000, true, 3},
  };
  for (const auto& [name, x, clamp, want] : cases) {
    EXPECT_EQ(StatusBarPanelAt(&bar, x, 0, clamp), want) << name;
  }
  widgets::KeyedToolBar notAStatusBar;
  EXPECT_EQ(StatusBarPanelAt(&notAStatusBar, 500, 0, true), 0);
  widgets::PanelStatusBar empty;
  EXPECT_EQ(StatusBarPanelAt(&empty, 500, 0, true), 0);
}

TEST(SetObjectSizeTest, WritesOnlyWhatDiffersAndLeavesAMinimisedFormAlone) {
  QWidget form;
  auto* label = new QLabel(&form);
  label->resize(40, 16);
  form.show();
  EventCounter counter(QEvent::Resize);
  label->installEventFilter(&counter);
  SetObjectSize(label, 600, 240);
  EXPECT_EQ(counter.count, 0);
  SetObjectSize(label, 615, 240);
  EXPECT_EQ(label->size(), QSize(41, 16));
  EXPECT_EQ(counter.count, 1);
  SetObjectSize(label, 900, 300);
  EXPECT_EQ(label->size(), QSize(60, 20));
  form.resize(300, 200);
  form.setWindowState(Qt::WindowMinimized);
  SetObjectSize(&form, 6000, 6000);
  EXPECT_EQ(form.size(), QSize(300, 200));
}

TEST(FitComboDropWidthTest, WidensTheListToItsWidestEntry) {
  QWidget form;
  form.setObjectName("fwMain");
  auto* combo = new QComboBox(&form);
  combo->setObjectName("cbTitles");
  combo->resize(50, 22);
  form.resize(400, 100);
  form.show();
  combo->addItems({"#00", "#01  a rather long contour title", "#02"});
  FitComboDropWidth(combo);
  const int widest = form.fontMetrics().horizontalAdvance("#01  a rather long contour title");
  EXPECT_EQ(combo->view()->minimumWidth(), widest + 10);
  for (int i = 0; i < 8; ++i) combo->addItem("#1");
  FitComboDropWidth(combo);  // eleven entries: room for a scroll bar
  EXPECT_EQ(combo->view()->minimumWidth(),
            widest + 10 + combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, combo));
  combo->clear();
  combo->addItem("#0");
  FitComboDropWidth(combo);  // never narrower than the combo itself
  EXPECT_EQ(combo->view()->minimumWidth(), 50);
}

TEST(FindWindowByTextTest, MatchesClassAndCaptionAndCountsMatches) {
  QWidget dialog;
  auto* name = new QLabel("File &name:", &dialog);
  auto* ok = new QPushButton("&Open", &dialog);
  auto* cancel = new QPushButton("Cancel", &dialog);
  auto* edit = new QLineEdit(&dialog);
  const std::vector<std::tuple<const char*, QString, QString, int, QWidget*>> cases = {
      {"nothing asked", "", "", 0, nullptr},
      {"class alone, first", "", "QPushButton", 0, ok},
      {"class alone, second", "", "qpushbutton", 1, cancel},
      {"class alone, third is none", "", "QPushButton", 2, nullptr},
      {"negative index is the first", "", "QPushButton", -3, ok},
      {"caption alone, any class", "cancel", "", 0, cancel},
      {"caption and class", "File &name:", "QLabel", 0, name},
      {"caption of another class", "File &name:", "QPushButton", 0, nullptr},
      {"empty caption of an edit matches any caption", "", "QLineEdit", 0, edit},
  };
  for (const auto& [label, caption, cls, index, want] : cases) {
    EXPECT_EQ(FindWindowByText(&dialog, caption, cls, index), want) << label;
  }
  EXPECT_EQ(GetWindowString(ok, "Class"), "QPushButton");
  EXPECT_EQ(GetWindowString(ok, "Text"), "&Open");
  dialog.setWindowTitle("Batch");
  EXPECT_EQ(GetWindowString(&dialog, "Text"), "Batch");
  EXPECT_EQ(GetWindowString(&dialog, "Size"), "");
  EXPECT_EQ(GetWindowString(edit, "Text"), "");
}

TEST(SetHelpCursorTest, GrabsTheMouseWithAKnownCursorOnly) {
  QWidget w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  SetHelpCursor(&w, 12345);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  SetHelpCursor(&w, 32651);
  EXPECT_EQ(QWidget::mouseGrabber(), &w);
  w.releaseMouse();
}

TEST(CloneFontTest, CopiesTheFaceAndIsIndependent) {
  QFont f("DejaVu Sans", 11);
  f.setBold(true);
  f.setItalic(true);
  f.setUnderline(true);
  f.setStrikeOut(true);
  QFont c = CloneFont(f);
  EXPECT_EQ(c.family(), f.family());
  EXPECT_EQ(c.pointSizeF(), 11);
  EXPECT_TRUE(c.bold() && c.italic() && c.underline() && c.strikeOut());
  c.setBold(false);
  EXPECT_TRUE(f.bold());
}

}  // namespace
}  // namespace morvane::common
