#include "platform/widgets/file_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace morvane::widgets {
namespace {

const QString kOpenFilter = QStringLiteral(
    "Image Files (*.gif;*.jpg;*.bmp;*.dib;*.emf;*.wmf)|*.gif;*.jpg;*.bmp;*.dib;*.emf;*.wmf|"
    "HTML Files (*.htm*;*.asp*;*.php)|*.htm*;*.asp*;*.php|All Files (*.*)|*.*|");

TEST(FilterTest, SplitsPairsAndSpellsThemForQt) {
  const std::vector<FilterEntry> entries = ParseFilter(kOpenFilter);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].description, QStringLiteral("HTML Files (*.htm*;*.asp*;*.php)"));
  EXPECT_EQ(entries[1].patterns, (QStringList{"*.htm*", "*.asp*", "*.php"}));
  struct Case {
    FilterEntry entry;
    const char* expected;
  };
  const Case cases[] = {
      {entries[0], "Image Files (*.gif *.jpg *.bmp *.dib *.emf *.wmf)"},
      {entries[1], "HTML Files (*.htm* *.asp* *.php)"},
      {entries[2], "All Files (*)"},
      {{"Text File", {"*.txt"}}, "Text File (*.txt)"},
  };
  for (const Case& c : cases) EXPECT_EQ(QtNameFilter(c.entry), QString::fromLatin1(c.expected));
  EXPECT_TRUE(ParseFilter(QString()).empty());
  EXPECT_EQ(ParseFilter(QStringLiteral("Odd|*.x")).size(), 1u);  // no closing bar
}

// Works the dialog that is up once the event loop runs, then leaves it.
void WhenShown(std::function<void(QFileDialog&)> work) {
  QTimer::singleShot(0, [work] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    work(*dialog);
  });
}

void Choose(QFileDialog& dialog, const QString& text) {
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(edit, nullptr);
  edit->setText(text);
  QMetaObject::invokeMethod(&dialog, "accept");
}

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.gif", "b.gif", "map.htm"}) {
      QFile file(dir_.filePath(name));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
  }
  QTemporaryDir dir_;
};

TEST_F(FileDialogTest, OpenReportsFileAndChosenFilter) {
  FileDialog d;
  d.FileFlags = 20500;
  d.DialogTitle = QStringLiteral("Open");
  d.Filter = kOpenFilter;
  d.FilterIndex = 1;
  d.InitDir = dir_.path();
  QString title;
  QStringList filters;
  bool nonNative = false;
  WhenShown([&](QFileDialog& dialog) {
    title = dialog.windowTitle();
    filters = dialog.nameFilters();
    nonNative = dialog.testOption(QFileDialog::DontUseNativeDialog);
    dialog.selectNameFilter(filters.value(1));
    Choose(dialog, QStringLiteral("map.htm"));
  });
  ASSERT_EQ(d.ShowOpenDialog(), 1);
  EXPECT_EQ(title, QStringLiteral("Open"));
  EXPECT_TRUE(nonNative);
  EXPECT_EQ(filters.size(), 3);
  EXPECT_EQ(d.FileName, dir_.filePath("map.htm"));
  EXPECT_EQ(d.FilterIndex, 2);
  EXPECT_EQ(d.FileCount(), 1);
}

TEST_F(FileDialogTest, CancelKeepsTheProperties) {
  FileDialog d;
  d.FileName = dir_.filePath("a.gif");
  d.FilterIndex = 1;
  d.Filter = kOpenFilter;
  WhenShown([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(d.ShowOpenDialog(), 0);
  EXPECT_EQ(d.FileName, dir_.filePath("a.gif"));
  EXPECT_EQ(d.FilterIndex, 1);
}

TEST_F(FileDialogTest, MultipleSelectionListsEveryFile) {
  FileDialog d;
  d.FileFlags = 20996;
  d.Filter = kOpenFilter;
  d.InitDir = dir_.path();
  WhenShown([](QFileDialog& dialog) {
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
    Choose(dialog, QStringLiteral("\"a.gif\" \"b.gif\""));
  });
  ASSERT_EQ(d.ShowOpenDialog(), 1);
  ASSERT_EQ(d.FileCount(), 2);
  QStringList chosen{d.FileAt(0), d.FileAt(1)};
  chosen.sort();
  EXPECT_EQ(chosen, (QStringList{dir_.filePath("a.gif"), dir_.filePath("b.gif")}));
  EXPECT_EQ(d.FileAt(2), QString());
  EXPECT_EQ(d.FileAt(-1), QString());
}

TEST_F(FileDialogTest, SaveAddsTheDefaultExtension) {
  FileDialog d;
  d.FileFlags = 6;
  d.DefaultExt = QStringLiteral(".htm");
  d.Filter =
      QStringLiteral("HTML Files (*.*htm*;*.asp*;*.php)|*.*htm*;*.asp*;*.php|All Files (*.*)|*.*|");
  d.FileName = dir_.filePath("coast");
  bool confirms = false;
  WhenShown([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    confirms = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
              QStringLiteral("coast"));
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  ASSERT_EQ(d.ShowSaveDialog(), 1);
  EXPECT_TRUE(confirms);
  EXPECT_EQ(d.FileName, dir_.filePath("coast.htm"));
}

TEST_F(FileDialogTest, InitDialogOnlyForTheOuterDialogAndHelpButton) {
  FileDialog d;
  d.FileFlags = 20500;
  d.HelpContextId = 31;
  d.HelpFile = QStringLiteral("Morvane.hlp");
  d.InitDir = dir_.path();
  int inits = 0;
  int nestedResult = -1;
  std::vector<std::pair<QString, int>> helps;
  d.HelpRequested = [&](const QString& file, std::int32_t id) { helps.emplace_back(file, id); };
  d.InitDialog = [&](QFileDialog& dialog) {
    ++inits;
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Start"));
  };
  QString acceptText;
  WhenShown([&](QFileDialog& outer) {
    auto* box = outer.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    acceptText =
        box->button(QDialogButtonBox::Open) ? box->button(QDialogButtonBox::Open)->text() : QString();
    QPushButton* help = box->button(QDialogButtonBox::Help);
    ASSERT_NE(help, nullptr);
    help->click();
    // A dialog of the same control opened from inside this one, as the panel's Browse does.
    WhenShown([](QFileDialog& inner) { inner.reject(); });
    d.FileFlags = 6;
    nestedResult = d.ShowSaveDialog();
    Choose(outer, QStringLiteral("a.gif"));
  });
  ASSERT_EQ(d.ShowOpenDialog(), 1);
  EXPECT_EQ(inits, 1);
  EXPECT_EQ(nestedResult, 0);
  EXPECT_EQ(acceptText, QStringLiteral("&Start"));
  ASSERT_EQ(helps.size(), 1u);
  EXPECT_EQ(helps[0], std::make_pair(QStringLiteral("Morvane.hlp"), 31));
  EXPECT_EQ(d.FileName, dir_.filePath("a.gif"));
}

}  // namespace
}  // namespace morvane::widgets
