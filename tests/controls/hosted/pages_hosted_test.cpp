// Property pages as a host reaches them: the control names its pages, the registry
// makes each (the Controls page from libTrellan.so, the colour and picture pages from
// the hosting layer), and the host shows them in a property sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "controls/trellan/trellan_typelib.h"
#include "controls/vitrane/vitrane_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/property_sheet.h"
#include "tests/controls/hosted/library_host.h"

namespace morvane::trellan {
namespace {

using testing::LibraryHost;
using testing::LibraryRegistry;
using testing::Settle;

// A splitter with three siblings, one of them guided by a second splitter.
struct PageScene {
  std::unique_ptr<LibraryHost> host;
  QFrame* pnlA = nullptr;
  QFrame* pnlB = nullptr;
  std::unique_ptr<automation::PropertySheet> sheet;

  PageScene() {
    host = std::make_unique<LibraryHost>(kClassId, QStringLiteral("ucTrellan"));
    for (const char* name : {"pnlA", "pnlB", "pnlG"}) {
      auto* panel = new QFrame(&host->form());
      panel->setObjectName(QLatin1String(name));
    }
    pnlA = host->form().findChild<QFrame*>(QStringLiteral("pnlA"));
    pnlB = host->form().findChild<QFrame*>(QStringLiteral("pnlB"));
    automation::Control* other = LibraryRegistry().create(QString::fromLatin1(kClassId), &host->form());
    other->widget()->setObjectName(QStringLiteral("ucOther"));
    other->InitProperties();
    other->put(dispid::FirstControl, QStringLiteral("pnlG"));
    host->control().InitProperties();
    host->Let(dispid::FirstControl, QStringLiteral("pnlA"));
    sheet = std::make_unique<automation::PropertySheet>(LibraryRegistry(),
                                                        QList<automation::Control*>{&host->control()});
    sheet->show();
    Settle();
  }
  QComboBox* List(int slot) const {
    return sheet->findChild<QComboBox*>(QStringLiteral("cbControl%1").arg(slot));
  }
  bool Changed() const { return sheet->applyButton()->isEnabled(); }
};

QStringList Entries(const QComboBox* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
  return entries;
}

TEST(HostedPages, TheSplitterNamesItsPagesAndTheSheetShowsThemInOrder) {
  PageScene scene;
  EXPECT_EQ(scene.host->control().PropertyPages(),
            (QStringList{kControlsPageClassId, automation::kStandardColorPageId,
                         automation::kStandardPicturePageId}));
  ASSERT_EQ(scene.sheet->tabs()->count(), 3);
  QStringList captions;
  for (int i = 0; i < 3; ++i) captions << scene.sheet->tabs()->tabText(i);
  EXPECT_EQ(captions, (QStringList{"Controls", "Color", "Picture"}));
  // The Controls page comes out of the library itself.
  EXPECT_TRUE(LibraryRegistry().LibraryOfClass(QString::fromLatin1(kControlsPageClassId))->endsWith(
      "/libTrellan.so"));
  ASSERT_NE(scene.List(0), nullptr);
  EXPECT_EQ(Entries(scene.List(0)), (QStringList{"(None)", "pnlA", "pnlB", "pnlG [guided by ucOther]"}));
  EXPECT_EQ(scene.List(0)->currentText(), "pnlA");
  EXPECT_EQ(scene.List(1)->currentText(), "(None)");
  EXPECT_FALSE(scene.Changed());
}

TEST(HostedPages, OtherControlsNameNoPagesAndUnknownPagesAreNotMade) {
  LibraryHost image(vitrane::kClassId, QStringLiteral("liImage"));
  image.control().InitProperties();
  EXPECT_TRUE(image.control().PropertyPages().isEmpty());
  automation::PropertySheet sheet(LibraryRegistry(), {&image.control()});
  EXPECT_EQ(sheet.tabs()->count(), 0);
  for (const char* id : {"{11111111-2222-3333-4444-555555555555}", kClassId, "not an id"}) {
    SCOPED_TRACE(id);
    try {
      LibraryRegistry().createPage(QString::fromLatin1(id));
      ADD_FAILURE();
    } catch (const automation::AutomationError& error) {
      EXPECT_EQ(error.number(), automation::kErrCannotCreateObject);
    }
  }
}

// ---- a key and a click follow the same rules ----

// A click on an entry of the open list.
void ClickEntry(QComboBox* list, const QString& text) {
  const int index = list->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  list->showPopup();
  QAbstractItemView* view = list->view();
  const QRect item = view->visualRect(view->model()->index(index, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
  Settle();
}

void Paste(QComboBox* list, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
}

struct ChoiceRow {
  const char* name;
  int slot;
  const char* clicked;  // the entry a click chooses; null: no click does the same
  std::function<void(QComboBox*)> keys;
  const char* want;
  bool changed;
};

TEST(HostedPages, KeysOnTheControlsPageFollowTheRulesOfClicks) {
  const ChoiceRow rows[] = {
      {"a guided control, pasted", 0, "pnlG [guided by ucOther]",
       [](QComboBox* l) { Paste(l, QStringLiteral("pnlG [guided by ucOther]")); }, "(None)", true},
      {"a guided control, by the arrow", 0, "pnlG [guided by ucOther]",
       [](QComboBox* l) {
         QTest::keyClick(l, Qt::Key_Down);
         QTest::keyClick(l, Qt::Key_Down);
       },
       "(None)", true},
      {"Delete", 0, "(None)", [](QComboBox* l) { QTest::keyClick(l, Qt::Key_Delete); }, "(None)", true},
      {"Ctrl+X", 0, "(None)", [](QComboBox* l) { QTest::keyClick(l, Qt::Key_X, Qt::ControlModifier); },
       "(None)", true},
      {"pasted in another case", 0, "pnlB", [](QComboBox* l) { Paste(l, QStringLiteral("PNLB")); }, "pnlB",
       true},
      {"the arrow", 0, "pnlB", [](QComboBox* l) { QTest::keyClick(l, Qt::Key_Down); }, "pnlB", true},
      {"pasted text of no entry", 0, nullptr, [](QComboBox* l) { Paste(l, QStringLiteral("nothing")); },
       "pnlA", false},
      {"the first control again, in the second list", 1, "pnlA",
       [](QComboBox* l) { Paste(l, QStringLiteral("pnlA")); }, "(None)", false},
      {"Delete and back", 0, "pnlA",
       [](QComboBox* l) {
         QTest::keyClick(l, Qt::Key_Delete);
         Paste(l, QStringLiteral("pnlA"));
       },
       "pnlA", false},
  };
  for (const ChoiceRow& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.clicked != nullptr) {
      PageScene byClick;
      ClickEntry(byClick.List(row.slot), QString::fromLatin1(row.clicked));
      EXPECT_EQ(byClick.List(row.slot)->currentText(), row.want) << "click";
      EXPECT_EQ(byClick.Changed(), row.changed) << "click";
    }
    PageScene byKey;
    row.keys(byKey.List(row.slot));
    Settle();
    EXPECT_EQ(byKey.List(row.slot)->currentText(), row.want) << "keys";
    EXPECT_EQ(byKey.Changed(), row.changed) << "keys";
    // Apply writes what the lists show.
    if (byKey.Changed()) {
      QTest::mouseClick(byKey.sheet->applyButton(), Qt::LeftButton);
      EXPECT_EQ(byKey.host->Get(row.slot == 0 ? dispid::FirstControl : dispid::SecondControl)
                    .value<QObject*>(),
                row.want == QLatin1String("pnlB") ? byKey.pnlB : nullptr);
      EXPECT_FALSE(byKey.Changed());
    }
  }
}

TEST(HostedPages, CtrlCopiesAndCtrlXCutsTheEntryShown) {
  PageScene scene;
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(scene.List(0), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "pnlA");
  EXPECT_EQ(scene.List(0)->currentText(), "pnlA");
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(scene.List(0), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "pnlA");
  EXPECT_EQ(scene.List(0)->currentText(), "(None)");
}

// ---- the standard pages ----

QWidget* PageOf(automation::PropertySheet& sheet, const char* caption) {
  for (int i = 0; i < sheet.tabs()->count(); ++i) {
    if (sheet.tabs()->tabText(i) == QLatin1String(caption)) {
      sheet.tabs()->setCurrentIndex(i);
      Settle();
      return sheet.tabs()->widget(i);
    }
  }
  return nullptr;
}

void ClickItem(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
  ASSERT_EQ(items.size(), 1);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
}

// Answers the next modal dialog once it is up.
void WhenModal(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr) answer(modal);
  });
}

TEST(HostedPages, TheColourPageSetsAColourPropertyFromTheDialog) {
  PageScene scene;
  const QVariant backBefore = scene.host->Get(dispid::BackColor);
  QWidget* page = PageOf(*scene.sheet, "Color");
  ASSERT_NE(page, nullptr);
  auto* list = page->findChild<QListWidget*>(QStringLiteral("lstProperties"));
  ASSERT_NE(list, nullptr);
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  EXPECT_EQ(names, (QStringList{"BackColor", "BeginLine1Color", "BeginLine2Color", "FinishLine1Color",
                                "FinishLine2Color"}));
  ClickItem(list, QStringLiteral("BeginLine1Color"));
  WhenModal([](QWidget* modal) {
    auto* dialog = qobject_cast<QColorDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
    dialog->accept();
  });
  QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("bbChoose")), Qt::LeftButton);
  EXPECT_TRUE(scene.Changed());
  // Nothing reaches the control before Apply.
  EXPECT_NE(scene.host->Get(dispid::BeginLine1Color).value<std::uint32_t>(), 0x563412u);
  QTest::mouseClick(scene.sheet->applyButton(), Qt::LeftButton);
  EXPECT_EQ(scene.host->Get(dispid::BeginLine1Color).value<std::uint32_t>(), 0x563412u);
  EXPECT_EQ(scene.host->Get(dispid::BackColor), backBefore);
  EXPECT_FALSE(scene.Changed());
}

TEST(HostedPages, ThePicturePageLoadsAPictureFromAFileAndClearsIt) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("pointer.bmp"));
  QImage picture(5, 4, QImage::Format_RGB32);
  picture.fill(qRgb(10, 20, 30));
  ASSERT_TRUE(picture.save(file));
  const QString damaged = dir.filePath(QStringLiteral("damaged.bmp"));
  {
    QFile bad(damaged);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BM not a picture");
  }

  PageScene scene;
  QWidget* page = PageOf(*scene.sheet, "Picture");
  ASSERT_NE(page, nullptr);
  auto* list = page->findChild<QListWidget*>(QStringLiteral("lstProperties"));
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), "MouseIcon");
  auto browse = [&](const QString& path) {
    WhenModal([path](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      dialog->selectFile(path);
      QMetaObject::invokeMethod(dialog, "accept");  // as the Open button does
    });
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("bbBrowse")), Qt::LeftButton);
  };
  // A file that is no picture is named with its reason, and nothing is kept.
  browse(damaged);
  EXPECT_FALSE(scene.Changed());
  EXPECT_FALSE(page->findChild<QLabel*>(QStringLiteral("lblStatus"))->text().isEmpty());

  browse(file);
  EXPECT_TRUE(scene.Changed());
  QTest::mouseClick(scene.sheet->applyButton(), Qt::LeftButton);
  const QVariant icon = scene.host->Get(dispid::MouseIcon);
  ASSERT_TRUE(icon.canConvert<QImage>());
  EXPECT_EQ(icon.value<QImage>().size(), QSize(5, 4));
  EXPECT_EQ(icon.value<QImage>().pixel(2, 2), qRgb(10, 20, 30));

  QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("bbClear")), Qt::LeftButton);
  EXPECT_TRUE(scene.Changed());
  QTest::mouseClick(scene.sheet->applyButton(), Qt::LeftButton);
  EXPECT_FALSE(scene.host->Get(dispid::MouseIcon).isValid());
}

}  // namespace
}  // namespace morvane::trellan
