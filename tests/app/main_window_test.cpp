#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include "app/contour_tree.h"
#include "app/work_picture.h"
#include "app/field_strips.h"

#include <filesystem>
#include <memory>

#include "common/registry.h"
#include "common/settings_store.h"
#include "platform/core/version_record.h"
#include "platform/widgets/band_bar.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"
#include "app/window_layout.h"
#include "tests/app/app_fixture.h"
#include "tests/app/file_dialog_answer.h"

namespace morvane::testing {
namespace {

using app::MainWindow;

widgets::MenuEntry* Item(MainWindow& w, const char* name, int index = -1) {
  return w.Menus()->Item(QString::fromLatin1(name), index);
}

widgets::ToolBarButton* Button(MainWindow& w, int bar, const char* key) {
  return w.ToolBars()[static_cast<std::size_t>(bar)]->Button(QString::fromLatin1(key));
}

TEST(MainWindowStart, FirstStartGivesEveryDefault) {
  FakeServices services;
  AppFolder folder;
  folder.programs = {{"pinta", "/opt/pinta"}, {"gimp", "/usr/bin/gimp"}};
  auto w = folder.Start();
  const app::WindowSettings& s = w->Settings();
  EXPECT_TRUE(s.separateFiles);
  EXPECT_FALSE(s.askBeforeOverwrite);
  EXPECT_EQ(s.digits, 2);
  EXPECT_EQ(w->Host().Model().NumberFormat(), "00");
  EXPECT_EQ(s.painterPath, "/opt/pinta");
  EXPECT_EQ(s.zoomIndex, 0);
  EXPECT_EQ(s.method, engine::ReductionMethod::DirectionChangeThenLineOfSight);
  EXPECT_EQ(s.backColor, 0xFFFFFF);
  for (const char* name : {"mViewPoints", "mViewGrid", "mSettingsConnected", "mSettingsCentroid"}) {
    EXPECT_TRUE(Item(*w, name)->Checked()) << name;
  }
  EXPECT_TRUE(Item(*w, "mViewZoom", 0)->Checked());
  EXPECT_TRUE(Item(*w, "mSettingsMethod", 3)->Checked());
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Item(*w, "mViewToolbar", i)->Checked());
  // Nothing to trace or save yet; Open is there.
  EXPECT_TRUE(Item(*w, "mFileOpen")->Enabled());
  EXPECT_FALSE(Item(*w, "mFileCreate")->Enabled());
  EXPECT_FALSE(Item(*w, "mFileSave")->Enabled());
  EXPECT_FALSE(Item(*w, "mFileRecent")->Enabled());
  EXPECT_FALSE(Button(*w, 1, "Stop")->Enabled());
  // The machine store knows the program's folder and version.
  const std::string key = common::AppRegistryKeyPath(core::ThisVersionRecord());
  EXPECT_EQ(common::ReadRegValue(folder.registry, core::RegistryRoot::kLocalMachine, key, ""),
            folder.folder.path());
  EXPECT_FALSE(
      common::ReadRegValue(folder.registry, core::RegistryRoot::kLocalMachine, key, "CurrentVersion")
          .empty());
  EXPECT_EQ(w->UpdateValues()[1], folder.SettingsFile());
  // Exact object names are data: settings keys, band keys, the splitter's lookups.
  for (const char* name :
       {"pbCoolBar", "pbMain", "pbStatus", "tvCoord", "ucScopel", "ucTrellan", "sbDigits", "pbFactors",
        "pbTitles", "cbTitles", "tbTitles", "tbShiftX", "tbShiftY", "tbFactor"}) {
    EXPECT_NE(w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
  EXPECT_EQ(w->objectName(), QStringLiteral("fwMain"));
}

TEST(MainWindowStart, NoPainterOnThePathLeavesItEmpty) {
  FakeServices services;
  AppFolder folder;
  auto w = folder.Start();
  EXPECT_EQ(w->Settings().painterPath, "");
}

TEST(MainWindowStart, CloseAndRestartKeepsEverySettingAndRewritesNothingUnchanged) {
  FakeServices services;
  AppFolder folder;
  const std::string image =
      folder.folder.Write("a.gif", ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
  {
    auto w = folder.Start({image});
    ASSERT_TRUE(w->RunCommand("mViewGrid"));
    ASSERT_TRUE(w->RunCommand("mViewPoints"));
    ASSERT_TRUE(w->RunCommand("mSettingsConnected"));
    ASSERT_TRUE(w->RunCommand("mSettingsMethod", 1));
    ASSERT_TRUE(w->RunCommand("mViewZoom", 2));
    ASSERT_TRUE(w->RunCommand("mViewToolbar", 2));
    w->Host().LetDigitsValue(4);
    w->Host().Model().LetAskBeforeOverwrite(true);
    w->Host().Model().LetSeparateFiles(false);
    w->Host().Model().LetTextOutputPath("/tmp/report.txt");
    w->resize(700, 500);
    ASSERT_TRUE(w->close());
    EXPECT_TRUE(w->Unloaded());
  }
  const std::string first = ReadAll(folder.SettingsFile());
  ASSERT_FALSE(first.empty());
  const auto firstTime = std::filesystem::last_write_time(folder.SettingsFile());
  {
    auto w = folder.Start();
    const app::WindowSettings& s = w->Settings();
    EXPECT_FALSE(s.showGrid);
    EXPECT_FALSE(s.showPoints);
    EXPECT_FALSE(s.connected);
    EXPECT_TRUE(s.centroid);
    EXPECT_EQ(s.method, engine::ReductionMethod::DirectionChange);
    EXPECT_EQ(s.zoomIndex, 2);
    EXPECT_EQ(s.digits, 4);
    EXPECT_EQ(w->Host().Model().NumberFormat(), "0000");
    EXPECT_TRUE(w->Host().State().AskBeforeOverwrite);
    EXPECT_FALSE(w->Host().State().SeparateFiles);
    EXPECT_EQ(w->Host().State().TextOutputPath, "/tmp/report.txt");
    EXPECT_TRUE(Item(*w, "mViewZoom", 2)->Checked());
    EXPECT_FALSE(Item(*w, "mViewToolbar", 2)->Checked());
    EXPECT_FALSE(w->CoolBar()->FindBand(QStringLiteral("Factors"))->Visible());
    EXPECT_EQ(w->width(), 700);
    EXPECT_EQ(w->height(), 500);
    // The image comes back from the recent files.
    EXPECT_EQ(w->Host().State().ImagePath, image);
    EXPECT_EQ(Item(*w, "mFileList", 0)->Caption().toStdString(), "&0 " + image);
    ASSERT_TRUE(w->close());
  }
  EXPECT_EQ(ReadAll(folder.SettingsFile()), first);
  EXPECT_EQ(std::filesystem::last_write_time(folder.SettingsFile()), firstTime);
}

TEST(MainWindowStart, RecentFilesSkipMissingEntries) {
  FakeServices services;
  AppFolder folder;
  const std::string a = folder.folder.Write("a.gif", "x");
  const std::string c = folder.folder.Write("c.htm", "x");
  common::WriteIniSection(folder.SettingsFile(), "fwMain_FileList",
                          a + "\r\n" + folder.folder.File("b.gif") + "\r\n" + c);
  auto w = folder.Start();
  EXPECT_EQ(Item(*w, "mFileList", 0)->Caption().toStdString(), "&0 " + a);
  EXPECT_EQ(Item(*w, "mFileList", 1)->Caption().toStdString(), "&1 " + c);
  EXPECT_TRUE(Item(*w, "mFileList", 1)->Visible());
  EXPECT_FALSE(Item(*w, "mFileList", 2)->Visible());
  EXPECT_TRUE(Item(*w, "mFileRecent")->Enabled());
}

TEST(MainWindowClose, CancelInTheSavePromptKeepsTheWindowAndWritesNothing) {
  FakeServices services;
  services.messageBoxes.answers = {core::kAnswerCancel};
  AppFolder folder;
  auto w = folder.Start();
  w->Host().SetChanged(true);
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(w->Unloaded());
  ASSERT_EQ(services.messageBoxes.shown.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(folder.SettingsFile()));
  // No: closes without saving.
  services.messageBoxes.answers = {core::kAnswerNo};
  EXPECT_TRUE(w->close());
  EXPECT_TRUE(std::filesystem::exists(folder.SettingsFile()));
}

TEST(MainWindowRun, StopByButtonAndByCtrlPauseOnlyDuringARun) {
  FakeServices services;
  AppFolder folder;
  const std::string image =
      folder.folder.Write("a.gif", ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
  auto w = folder.Start({image});
  app::DocumentHost& host = w->Host();
  widgets::ToolBarButton* stop = Button(*w, 1, "Stop");

  // Idle: Ctrl+Pause leaves no flag behind for the next run.
  QTest::keyClick(w.get(), Qt::Key_Pause, Qt::ControlModifier);
  EXPECT_FALSE(w->Run().StopRequested());

  // A batch is a run the test holds open.
  host.Model().LetBatchRunning(true);
  host.Runs().BeginBatch();
  EXPECT_TRUE(stop->Enabled());
  EXPECT_FALSE(Item(*w, "mFile")->Enabled());
  EXPECT_FALSE(Item(*w, "mFileOpen")->Enabled());
  stop->Widget()->click();
  EXPECT_TRUE(w->Run().StopRequested());
  EXPECT_FALSE(host.State().BatchRunning);

  w->Run().ClearStop();
  QTest::keyClick(w.get(), Qt::Key_Pause, Qt::ControlModifier);
  EXPECT_TRUE(w->Run().StopRequested());

  // Every other command is refused meanwhile, shortcuts included.
  int opened = 0;
  w->Commands().Bind("mFileOpen", [&](int) { ++opened; });
  EXPECT_FALSE(w->RunCommand("mFileOpen"));
  QTest::keyClick(w.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(opened, 0);

  // The end of the run takes the stop request with it, so the next run is not cut short.
  host.Runs().EndBatch();
  EXPECT_FALSE(w->Run().Running());
  EXPECT_FALSE(stop->Enabled());
  EXPECT_FALSE(w->Run().StopRequested());
  EXPECT_TRUE(w->RunCommand("mFileOpen"));
  EXPECT_EQ(opened, 1);

  services.beeper.beeps.clear();
  ASSERT_TRUE(w->RunCommand("mFileCreate"));
  EXPECT_GT(host.Model().Count(), 0);
  EXPECT_FALSE(w->Run().Running());
  EXPECT_FALSE(stop->Enabled());
  EXPECT_EQ(services.beeper.beeps, std::vector<int>{widgets::kBeepInformation});
}

TEST(MainWindowRun, ClosingDuringARunStopsItThenCloses) {
  FakeServices services;
  AppFolder folder;
  auto w = folder.Start();
  w->Host().Runs().BeginBatch();
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->Run().StopRequested());
  EXPECT_FALSE(w->Unloaded());
  w->Host().Runs().EndBatch();
  EXPECT_FALSE(w->Unloaded());  // not under the run's stack
  QTRY_VERIFY(w->Unloaded());
  EXPECT_FALSE(w->isVisible());
}

TEST(MainWindowKeys, CopyKeysLeaveTextBoxesTheirOwnCopy) {
  FakeServices services;
  AppFolder folder;
  auto w = folder.Start();
  int copies = 0;
  w->Commands().Bind("mEditCopy", [&](int) { ++copies; });
  QApplication::setActiveWindow(w.get());
  w->Tree()->setFocus();
  QTest::keyClick(w->Tree(), Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(w->Tree(), Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(copies, 2);
  QTest::keyClick(w->Tree(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(copies, 2);
  for (const char* name : {"tbShiftX", "tbFactor", "tbTitles"}) {
    auto* box = w->findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(box, nullptr);
    box->setEnabled(true);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ControlModifier);
  }
  EXPECT_EQ(copies, 2);
}

TEST(MainWindowLayout, BarsAndAreasFollowTheWindowAndTheBands) {
  FakeServices services;
  AppFolder folder;
  auto w = folder.Start();
  for (const QSize size : {QSize(800, 600), QSize(640, 480), QSize(260, 120)}) {
    w->resize(size);
    QApplication::processEvents();
    const QWidget* main = w->MainPanel();
    const QWidget* status = w->StatusBar();
    EXPECT_GE(main->height(), 0);
    EXPECT_EQ(status->y() + status->height(), w->centralWidget()->height());
    // A window shorter than bands and status bar leaves the work area empty.
    if (main->height() > 0) {
      EXPECT_LE(main->y() + main->height(), status->y());
    }
  }
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(w->RunCommand("mViewToolbar", i));
  EXPECT_FALSE(w->CoolBar()->isVisible());
  EXPECT_EQ(w->MainPanel()->y(), 0);
  ASSERT_TRUE(w->RunCommand("mViewToolbar", 1));
  EXPECT_TRUE(w->CoolBar()->isVisible());
  EXPECT_EQ(w->MainPanel()->y(), w->CoolBar()->height());
}

TEST(MainWindowLayout, TheSplitterGuidesTreeAndZoomViewFromItsStartingPlace) {
  FakeServices services;
  AppFolder folder;
  auto w = folder.Start();
  const QWidget* main = w->MainPanel();
  const QWidget* bar = w->findChild<QWidget*>(QStringLiteral("ucTrellan"));
  const QWidget* tree = w->Tree();
  const QWidget* view = w->findChild<QWidget*>(QStringLiteral("ucScopel"));
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(bar->parentWidget(), main);
  for (const QSize size : {QSize(800, 600), QSize(640, 480), QSize(1200, 900)}) {
    w->resize(size);
    QTRY_COMPARE(tree->height(), main->height());
    QTRY_COMPARE(view->geometry().right(), main->width() - 1);
    EXPECT_EQ(tree->geometry(), QRect(0, 0, app::kSplitterStart, main->height())) << size.width();
    EXPECT_EQ(bar->geometry(), QRect(app::kSplitterStart, 0, app::kSplitterWidth, main->height()));
    EXPECT_EQ(view->geometry(),
              QRect(app::kSplitterStart + bar->width(), 0,
                    main->width() - app::kSplitterStart - bar->width(), main->height()));
  }
}

// A damaged band section that names the work area's controls: the
// tree, the zoom view and the status bar stay where the window puts them, and the exit
// writes the bands' own controls back.
TEST(MainWindowLayout, ABandSectionCannotMoveTheWorkAreaIntoBands) {
  FakeServices services;
  AppFolder folder;
  for (const char* key : {"1_", "2_", "3_"}) {
    common::WriteIniString(folder.SettingsFile(), "pbCoolBar", std::string(key) + "Index", "-1");
  }
  common::WriteIniString(folder.SettingsFile(), "pbCoolBar", "1_Name", "pbMain");
  common::WriteIniString(folder.SettingsFile(), "pbCoolBar", "2_Name", "ucScopel");
  common::WriteIniString(folder.SettingsFile(), "pbCoolBar", "3_Name", "pbStatus");
  auto w = folder.Start();
  const QWidget* client = w->centralWidget();
  EXPECT_EQ(w->MainPanel()->parentWidget(), client);
  EXPECT_EQ(w->StatusBar()->parentWidget(), client);
  EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("ucScopel"))->parentWidget(), w->MainPanel());
  EXPECT_EQ(w->CoolBar()->FindBand(QStringLiteral("Standard"))->Child(), w->ToolBars()[0]);
  EXPECT_EQ(w->CoolBar()->FindBand(QStringLiteral("Factors"))->Child(), w->Factors()->Panel());
  ASSERT_TRUE(w->close());
  const std::string file = folder.SettingsFile();
  EXPECT_EQ(common::ReadIniString(file, "pbCoolBar", "1_Name"), "pbToolbar");
  EXPECT_EQ(common::ReadIniString(file, "pbCoolBar", "1_Index"), "0");
  EXPECT_EQ(common::ReadIniString(file, "pbCoolBar", "2_Name"), "pbToolbar");
  EXPECT_EQ(common::ReadIniString(file, "pbCoolBar", "3_Name"), "pbFactors");
}

}  // namespace
}  // namespace morvane::testing

namespace morvane::testing {
namespace {

TEST(PainterChoice, ListsFoldersAndProgramsOnly) {
  TempFolder folder;
  const std::string program = folder.Write("paint", "#!/bin/sh\n");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  const std::string text = folder.Write("notes.exe", "x");
  std::filesystem::create_directory(folder.File("sub"));
  struct Row {
    std::string path;
    bool listed;
  };
  for (const Row& row : {Row{program, true}, Row{text, false}, Row{folder.File("sub"), true}}) {
    EXPECT_EQ(app::ListedAsProgram(QFileInfo(QString::fromStdString(row.path))), row.listed) << row.path;
  }
}

// Runs the painter choice with the dialog answered.
bool ChoosePainter(app::MainWindow& w, const std::string& file, bool confirm) {
  auto done = std::make_shared<bool>(false);
  AnswerFileDialog(file, confirm, done);
  const bool ran = w.RunCommand("mViewPainter");
  *done = true;
  return ran;
}

TEST(PainterChoice, AChosenProgramBecomesThePainterAndACancelKeepsIt) {
  FakeServices services;
  AppFolder folder;
  const std::string program = folder.folder.Write("paint", "#!/bin/sh\n");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  folder.programs = {{"gimp", "/usr/bin/gimp"}};
  auto w = folder.Start();
  ASSERT_TRUE(ChoosePainter(*w, program, false));
  EXPECT_EQ(w->Settings().painterPath, "/usr/bin/gimp");
  ASSERT_TRUE(ChoosePainter(*w, program, true));
  EXPECT_EQ(w->Settings().painterPath, program);
  const widgets::ToolBarButton* painter = Button(*w, 0, "Painter");
  ASSERT_NE(painter, nullptr);
  EXPECT_FALSE(painter->Widget()->icon().isNull());
  EXPECT_FALSE(app::ProgramIcon(QStringLiteral("/no/such/program")).isNull()) << "the generic icon";
}

// Alt and a letter: a top menu of that letter opens first ("&File" and "&Factor:" share
// F); a letter no menu has moves the focus to the field its label names.
TEST(MainWindowKeys, AltLettersOpenMenusBeforeFields) {
  FakeServices services;
  AppFolder folder;
  auto w = folder.Start();
  QApplication::setActiveWindow(w.get());
  w->Tree()->setFocus();
  QTest::keyClick(w->Tree(), Qt::Key_F, Qt::AltModifier);
  ASSERT_NE(w->menuBar()->activeAction(), nullptr);
  EXPECT_EQ(w->menuBar()->activeAction()->text(), "&File");
  EXPECT_NE(QApplication::focusWidget(), w->findChild<QLineEdit*>(QStringLiteral("tbFactor")));
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  w->menuBar()->setActiveAction(nullptr);

  auto* shiftX = w->findChild<QLineEdit*>(QStringLiteral("tbShiftX"));
  ASSERT_NE(shiftX, nullptr);
  shiftX->setEnabled(true);  // as with a document open
  w->Tree()->setFocus();
  QTest::keyClick(w->Tree(), Qt::Key_X, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), shiftX);
  EXPECT_EQ(w->menuBar()->activeAction(), nullptr);
}

}  // namespace
}  // namespace morvane::testing
