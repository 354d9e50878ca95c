#include "platform/widgets/menu_model.h"

#include <gtest/gtest.h>

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace morvane::widgets {
namespace {

struct ViewMenu {
  MenuModel model;
  MenuEntry* view;
  MenuEntry* grid;
  QList<MenuEntry*> zoom;
  ViewMenu() {
    view = model.Add(nullptr, "mView", "&View");
    grid = model.Add(view, "mViewGrid", "&Show Grid");
    model.Add(view, "mViewSep", "-");
    for (int i = 0; i < 3; ++i)
      zoom.append(model.Add(view, "mViewZoom", QString("Zoom &%1:1").arg(i + 1), i));
  }
};

TEST(MenuModelTest, AToggleByTheHandlerHappensOnceThoughQtTogglesTheActionFirst) {
  ViewMenu m;
  m.grid->SetChecked(true);
  int clicks = 0;
  // The handler flips the check itself, as the program's handlers do.
  QObject::connect(m.grid, &MenuEntry::Clicked, [&](int) {
    ++clicks;
    m.grid->SetChecked(!m.grid->Checked());
  });
  m.grid->Action()->trigger();  // what a click in the menu does
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(m.grid->Checked());
  EXPECT_FALSE(m.grid->Action()->isChecked());
  m.grid->Action()->trigger();
  EXPECT_TRUE(m.grid->Checked());
  EXPECT_TRUE(m.grid->Action()->isChecked());
}

TEST(MenuModelTest, AnEntryWithoutAHandlerKeepsItsCheck) {
  ViewMenu m;
  m.grid->SetChecked(true);
  m.grid->Action()->trigger();
  EXPECT_TRUE(m.grid->Checked());
  EXPECT_TRUE(m.grid->Action()->isChecked());
  m.grid->SetChecked(false);
  m.grid->Action()->trigger();
  EXPECT_FALSE(m.grid->Action()->isChecked());
}

TEST(MenuModelTest, RadioGroupFollowsTheModelNotQtsExclusivity) {
  ViewMenu m;
  m.model.MakeRadioGroup(m.zoom);
  m.zoom[0]->SetChecked(true);
  ASSERT_NE(m.zoom[0]->Action()->actionGroup(), nullptr);
  EXPECT_TRUE(m.zoom[2]->RadioMark());
  // A click on another member, with a handler that checks it and clears the rest.
  int clicked = -1;
  for (MenuEntry* z : m.zoom) {
    QObject::connect(z, &MenuEntry::Clicked, [&, z](int index) {
      clicked = index;
      for (MenuEntry* other : m.zoom) other->SetChecked(other == z);
    });
  }
  m.zoom[2]->Action()->trigger();
  EXPECT_EQ(clicked, 2);
  const std::vector<bool> want = {false, false, true};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(m.zoom[i]->Checked(), want[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(m.zoom[i]->Action()->isChecked(), want[static_cast<std::size_t>(i)]) << i;
  }
  // A member whose handler declines (the method group ignores a click on the checked
  // item) leaves every mark as it was.
  for (MenuEntry* z : m.zoom) QObject::disconnect(z, &MenuEntry::Clicked, nullptr, nullptr);
  m.zoom[2]->Action()->trigger();
  m.zoom[0]->Action()->trigger();
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(m.zoom[i]->Action()->isChecked(), want[static_cast<std::size_t>(i)]) << i;
}

TEST(MenuModelTest, ArraysNamesAndDesignOrder) {
  MenuModel model;
  MenuEntry* file = model.Add(nullptr, "mFile", "&File");
  MenuEntry* edit = model.Add(nullptr, "mEdit", "&Edit");
  model.Add(file, "mFileOpen", "&Open...");
  model.Add(file, "mFileList", "&1 b.gif", 1);
  model.Add(file, "mFileList", "&0 a.gif", 0);
  MenuEntry* recent = model.Add(file, "mFileRecent", "Recent");
  model.Add(recent, "mFileRecentClear", "Clear");
  model.Add(edit, "mEditCopy", "&Copy");
  model.Add(file, "mFileExit", "E&xit");
  QStringList order;
  for (MenuEntry* i : model.Items()) order << i->Name();
  EXPECT_EQ(order, (QStringList{"mFile", "mFileOpen", "mFileList", "mFileList", "mFileRecent",
                                "mFileRecentClear", "mFileExit", "mEdit", "mEditCopy"}));
  const QList<MenuEntry*> list = model.Array("mFileList");
  ASSERT_EQ(list.size(), 2);
  EXPECT_EQ(list[0]->Caption(), "&0 a.gif");
  EXPECT_EQ(list[1]->Index(), 1);
  EXPECT_EQ(model.Item("mFileList", 1), list[1]);
  EXPECT_EQ(model.Item("mFileOpen")->Index(), -1);
  EXPECT_EQ(model.Item("nothing"), nullptr);
  EXPECT_EQ(model.TopLevel(), (QList<MenuEntry*>{file, edit}));
  EXPECT_EQ(recent->ParentItem(), file);
  ASSERT_NE(recent->Popup(), nullptr);
  EXPECT_EQ(recent->Popup()->actions().size(), 1);
}

TEST(MenuModelTest, TheMenuBarShowsWhatTheModelHolds) {
  QMenuBar bar;
  MenuModel model;
  MenuEntry* file = model.Add(nullptr, "mFile", "&File");
  model.Attach(&bar);
  MenuEntry* open = model.Add(file, "mFileOpen", "&Open...");
  MenuEntry* sep = model.Add(file, "mFileSep", "-");
  MenuEntry* help = model.Add(nullptr, "mHelp", "&Help");
  ASSERT_EQ(bar.actions().size(), 2);
  EXPECT_EQ(bar.actions()[0], file->Action());
  EXPECT_EQ(bar.actions()[1], help->Action());
  EXPECT_EQ(bar.actions()[0]->menu(), file->Popup());
  EXPECT_TRUE(sep->Action()->isSeparator());
  open->SetCaption("&Open...\tCtrl+O");
  open->SetEnabled(false);
  open->SetVisible(false);
  EXPECT_EQ(open->Action()->text(), "&Open...\tCtrl+O");
  EXPECT_FALSE(open->Action()->isEnabled());
  EXPECT_FALSE(open->Action()->isVisible());
  // Opening a popup is the top menu's click.
  int drops = 0;
  QObject::connect(file, &MenuEntry::Clicked, [&](int) { ++drops; });
  emit file->Popup()->aboutToShow();
  EXPECT_EQ(drops, 1);
  // The model's ItemClicked carries the entry.
  MenuEntry* seen = nullptr;
  QObject::connect(&model, &MenuModel::ItemClicked, [&](MenuEntry* i) { seen = i; });
  open->SetEnabled(true);
  open->Action()->trigger();
  EXPECT_EQ(seen, open);
}

}  // namespace
}  // namespace morvane::widgets
