#include "common/widgets/menu_helpers.h"

#include "platform/widgets/menu_model.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>

#include <array>
#include <limits>

namespace morvane::common {
namespace {

using widgets::MenuEntry;
using widgets::MenuModel;

TEST(SetMenuShortcutTextTest, ReplacesOrRemovesTheShortcut) {
  const std::vector<std::tuple<QString, QString, QString>> cases = {
      {"&Copy", "Ctrl+C", "&Copy\tCtrl+C"},
      {"&Copy\tCtrl+X", "Ctrl+C", "&Copy\tCtrl+C"},
      {"&Copy\tCtrl+X", "", "&Copy"},
      {"&Copy", "", "&Copy"},
  };
  MenuModel model;
  MenuEntry* item = model.Add(nullptr, "mEditCopy", "");
  for (const auto& [caption, shortcut, want] : cases) {
    item->SetCaption(caption);
    SetMenuShortcutText(item, shortcut);
    EXPECT_EQ(item->Caption(), want) << caption.toStdString() << " + " << shortcut.toStdString();
    SetMenuShortcutText(item, shortcut);
    EXPECT_EQ(item->Caption(), want) << "twice";
  }
  SetMenuShortcutText(nullptr, "F1");
}

// File (0), Edit (1), View (2), Settings (3) as the main window's menus start.
struct Menus {
  MenuModel model;
  MenuEntry *file, *open, *hidden, *recent, *list0, *exit, *settings, *connected, *sep, *method0;
  Menus() {
    file = model.Add(nullptr, "mFile", "&File");
    open = model.Add(file, "mFileOpen", "&Open...");
    hidden = model.Add(file, "mFileHidden", "hidden");
    recent = model.Add(file, "mFileRecent", "Recent");
    list0 = model.Add(recent, "mFileList", "&0 a.gif", 0);
    model.Add(recent, "mFileList", "&1 b.gif", 1)->SetVisible(false);
    exit = model.Add(file, "mFileExit", "E&xit");
    model.Add(nullptr, "mEdit", "&Edit");
    model.Add(nullptr, "mView", "&View");
    settings = model.Add(nullptr, "mSettings", "&Settings");
    connected = model.Add(settings, "mSettingsConnected", "Co&nnected Contour");
    sep = model.Add(settings, "mSettingsSep", "-");
    method0 = model.Add(settings, "mSettingsMethod", "Method &1", 0);
    model.Add(settings, "mSettingsMethod", "Method &2", 1);
    hidden->SetVisible(false);
  }
};

TEST(MenuItemPositionTest, CountsVisibleEntriesBetweenParentAndItem) {
  Menus m;
  const std::vector<std::tuple<const char*, MenuEntry*, MenuEntry*, int>> cases = {
      {"first visible entry of its popup", m.open, m.file, 0},
      {"a hidden entry before does not count", m.recent, m.file, 1},
      {"entries of a nested popup count", m.exit, m.file, 3},
      {"separators count", m.method0, m.settings, 2},
      {"without a parent: among all entries", m.open, nullptr, 1},
      {"no item", nullptr, m.file, -1},
  };
  for (const auto& [name, item, parent, want] : cases)
    EXPECT_EQ(MenuItemPosition(item, parent), want) << name;
  MenuModel other;
  MenuEntry* foreign = other.Add(nullptr, "mFile", "&File");
  EXPECT_EQ(MenuItemPosition(m.open, foreign), -1);
}

TEST(CheckMenuRadioTest, ChecksOneMemberAndIgnoresIndicesOutsideTheGroup) {
  Menus m;
  const QList<MenuEntry*> group = m.model.Array("mSettingsMethod");
  CheckMenuRadio(1, group);
  EXPECT_FALSE(group[0]->Checked());
  EXPECT_TRUE(group[1]->Checked());
  EXPECT_TRUE(group[0]->RadioMark());
  EXPECT_TRUE(group[1]->Action()->isChecked());
  CheckMenuRadio(2, group);  // the group's count: nothing
  CheckMenuRadio(-1, group);
  EXPECT_TRUE(group[1]->Checked());
  CheckMenuRadio(0, group);
  EXPECT_TRUE(group[0]->Checked());
  EXPECT_FALSE(group[1]->Action()->isChecked());
  CheckMenuRadio(0, {});
}

TEST(SetMenuColorSwatchTest, AFramedSwatchOfTheColour) {
  Menus m;
  const QPixmap swatch = SetMenuColorSwatch(nullptr, m.connected, 0x0000FF, false);
  const int side = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize) - 3;
  ASSERT_EQ(swatch.size(), QSize(side, side));
  const QImage img = swatch.toImage();
  const QRgb frame = gui::ResolveColor(core::SystemColorValue(core::SystemColor::kMenuText));
  EXPECT_EQ(img.pixel(0, 0) | 0xff000000u, frame);
  EXPECT_EQ(img.pixel(side - 1, side - 1) | 0xff000000u, frame);
  EXPECT_EQ(img.pixel(side / 2, side / 2) | 0xff000000u, 0xffff0000u);
  EXPECT_FALSE(m.connected->Picture().isNull());
  EXPECT_EQ(m.connected->Action()->text(), m.connected->Caption());

  const QPixmap captioned = SetMenuColorSwatch(nullptr, m.open, 0x00FF00, true);
  EXPECT_GT(captioned.width(), side + 3);
  EXPECT_EQ(captioned.toImage().pixel(side / 2, side / 2 + 1) | 0xff000000u, 0xff00ff00u);
  EXPECT_EQ(m.open->Picture().size(), QSize(side, side));  // the menu shows the swatch
  EXPECT_EQ(m.open->Action()->text(), "&Open...");
  EXPECT_TRUE(SetMenuColorSwatch(nullptr, nullptr, 0, false).isNull());
}

TEST(ModifyMenuItemTypeTest, AddsAndRemovesBitsAtAPath) {
  Menus m;
  const std::array<int, 2> firstOfFile = {0, 0};
  EXPECT_TRUE(ModifyMenuItemType(m.model, 64, firstOfFile));
  EXPECT_TRUE(ModifyMenuItemType(m.model, 64, firstOfFile));
  EXPECT_EQ(m.open->TypeBits(), 64);
  EXPECT_TRUE(ModifyMenuItemType(m.model, -64, firstOfFile));
  EXPECT_EQ(m.open->TypeBits(), 0);
  EXPECT_TRUE(ModifyMenuItemType(m.model, -64, firstOfFile));  // nothing set: unchanged
  EXPECT_EQ(m.open->TypeBits(), 0);
  // Positions count visible entries: (0, 1) is Recent, past the hidden entry.
  const std::array<int, 2> second = {0, 1};
  EXPECT_TRUE(ModifyMenuItemType(m.model, 8, second));
  EXPECT_EQ(m.recent->TypeBits(), 8);
  const std::array<int, 3> nested = {0, 1, 0};
  EXPECT_TRUE(ModifyMenuItemType(m.model, 64, nested));
  EXPECT_EQ(m.list0->TypeBits(), 64);
  const std::array<int, 2> beyond = {0, 9};
  const std::array<int, 2> noMenu = {7, 0};
  EXPECT_FALSE(ModifyMenuItemType(m.model, 64, beyond));
  EXPECT_FALSE(ModifyMenuItemType(m.model, 64, noMenu));
  EXPECT_FALSE(ModifyMenuItemType(m.model, 64, {}));
  EXPECT_TRUE(ModifyMenuItemType(m.model, std::numeric_limits<int>::min(), firstOfFile));
}

}  // namespace
}  // namespace morvane::common
