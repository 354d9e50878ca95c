// Where the keyboard's focus is and what the window's keys and right clicks do there,
// with keys and clicks sent through a real X server.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

#include <filesystem>

#include "app/contour_tree.h"
#include "app/work_picture.h"
#include "app/field_strips.h"
#include "document/document_state.h"
#include "engine/contour_points.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/panel_status_bar.h"
#include "tests/app/help_fixture.h"
#include "tests/support/x_input.h"

namespace morvane::testing {
namespace {

// The sample picture and the map morvane-trace made of it, opened as a user opens a map:
// the window starts on the image and finds the map beside it. Help goes to a recorder;
// the painter is a program of the test's own.
struct MapWindow {
  FakeServices services;
  AppFolder folder;
  RecordingHelp help;
  std::string image;
  std::unique_ptr<app::MainWindow> w;

  MapWindow() {
    image = WriteSample(folder.folder);
    QProcess tool;
    tool.start(QStringLiteral(MORVANE_BINARY_DIR "/bin/morvane-trace"),
               {QStringLiteral("create"), QString::fromStdString(image), QStringLiteral("--output"),
                QString::fromStdString(document::DefaultMapPath(image))});
    tool.waitForFinished(60000);
    const std::string painter = folder.folder.Write("pinta", "#!/bin/sh\n");
    std::filesystem::permissions(painter, std::filesystem::perms::owner_all);
    folder.programs = {{"pinta", painter}};
    QFile::copy(SourceTopicsFile(), QString::fromStdString(folder.folder.File("Morvane.topics")));
    app::AppContext context = folder.Context({image});
    context.helpDisplay = &help;
    w = std::make_unique<app::MainWindow>(context);
    w->show();
    w->resize(900, 600);
    XInput::Focus(w.get());
  }
  ~MapWindow() {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  app::ContourTree* Tree() { return w->Tree(); }
  std::string Coords() { return w->Host().Doc().FormatOutputText("", ""); }
  QLineEdit* Field(const char* name) { return w->findChild<QLineEdit*>(QString::fromLatin1(name)); }
  // A node of the tree clicked as a user clicks it.
  bool ClickNode(std::int32_t node) {
    app::ContourTree* tree = Tree();
    const QRect r = tree->visualRect(tree->Model().IndexOfNode(node));
    return XInput::ClickAt(tree->viewport(), r.center());
  }
};

TEST(FocusUnderX, TheTreeHasTheFirstFocusAndCtrlCCopiesTheCoords) {
  MapWindow x;
  ASSERT_GT(engine::UpperBound(x.w->Host().Model().Points()), 0) << "the map was opened";
  EXPECT_EQ(QApplication::focusWidget(), x.Tree());
  ASSERT_TRUE(XInput::Hold({QStringLiteral("ctrl")}, QStringLiteral("c")));
  EXPECT_EQ(x.services.clipboard.text.toStdString(), x.Coords());
}

TEST(FocusUnderX, CopyKeysInTheTreeCopyTheCoordsAndFieldsKeepTheirOwn) {
  struct Row {
    const char* what;
    const char* key;
    const char* field;  // the field that has the focus, or none: the tree
    bool labelEdit;     // a tree label is being edited
    bool coords;        // the window's copy runs
  };
  const Row rows[] = {
      {"Ctrl+C in the tree", "c", nullptr, false, true},
      {"Ctrl+Ins in the tree", "Insert", nullptr, false, true},
      {"Ctrl+C in Shift X", "c", "tbShiftX", false, false},
      {"Ctrl+Ins in Shift Y", "Insert", "tbShiftY", false, false},
      {"Ctrl+C in Factor", "c", "tbFactor", false, false},
      {"Ctrl+C in a tree label", "c", nullptr, true, false},
  };
  MapWindow x;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    x.services.clipboard.text.clear();
    // The window's copy goes to the test's clipboard; the system's is the widgets' own.
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    if (row.field != nullptr) {
      ASSERT_TRUE(XInput::ClickAt(x.Field(row.field)));
    } else {
      ASSERT_TRUE(x.ClickNode(4));
    }
    if (row.labelEdit) {
      ASSERT_TRUE(XInput::Key(QStringLiteral("F2")));
    }
    ASSERT_TRUE(XInput::Hold({QStringLiteral("ctrl")}, QString::fromLatin1(row.key)));
    EXPECT_EQ(x.services.clipboard.text.toStdString(), row.coords ? x.Coords() : std::string());
    if (row.field == nullptr && !row.labelEdit) {
      EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"))
          << "the tree copied its node's text itself";
    }
    if (row.labelEdit) {
      ASSERT_TRUE(XInput::Key(QStringLiteral("Escape")));
    }
  }
}

TEST(FocusUnderX, CtrlERunsThePainterEvenFromATextField) {
  MapWindow x;
  for (const char* field : {"tbShiftX", "tbTitles"}) {
    SCOPED_TRACE(field);
    x.services.shell.started.clear();
    QLineEdit* box = x.Field(field);
    ASSERT_TRUE(box->isEnabled());
    ASSERT_TRUE(XInput::ClickAt(box));
    ASSERT_EQ(QApplication::focusWidget(), box);
    ASSERT_TRUE(XInput::Hold({QStringLiteral("ctrl")}, QStringLiteral("e")));
    ASSERT_EQ(x.services.shell.started.size(), 1u);
    EXPECT_EQ(x.services.shell.started[0].arguments, QStringList{QString::fromStdString(x.image)});
  }
}

TEST(FocusUnderX, DelDeletesPointAfterPointFromTheTree) {
  MapWindow x;
  const std::int32_t before = engine::UpperBound(x.w->Host().Model().Points());
  ASSERT_TRUE(x.ClickNode(4));
  for (int i = 1; i <= 2; ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(XInput::Key(QStringLiteral("Delete")));
    EXPECT_EQ(engine::UpperBound(x.w->Host().Model().Points()), before - i);
    EXPECT_EQ(QApplication::focusWidget(), x.Tree());
  }
}

// A right press and release over each kind of control shows that control's own topic.
TEST(HelpUnderX, ARightClickShowsTheControlsOwnTopic) {
  MapWindow x;
  app::MainWindow& w = *x.w;
  const widgets::StatusBarPanel* time = w.StatusBar()->Panel(QStringLiteral("Time"));
  const QPoint timeCentre((time->Left() + time->Width() / 2) / engine::kTwipsPerPixel,
                          w.StatusBar()->height() / 2);
  struct Row {
    const char* what;
    QWidget* widget;
    QPoint local;
    int topic;
  };
  const Row rows[] = {
      {"the Create button",
       w.ToolBars()[0]->Button(QStringLiteral("Create"))->Widget(),
       {-1, -1},
       203},
      {"the Shift X label", w.findChild<QLabel*>(QStringLiteral("tlShiftX")), {-1, -1}, 302},
      {"the Time panel", w.StatusBar(), timeCentre, 315},
      {"the tree", x.Tree()->viewport(), {-1, -1}, 321},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_NE(row.widget, nullptr);
    x.help.topics.clear();
    ASSERT_TRUE(XInput::MoveTo(XInput::On(row.widget, row.local)));
    ASSERT_TRUE(XInput::Press(3));
    ASSERT_TRUE(XInput::Release(3));
    EXPECT_EQ(x.help.Ids(), std::vector<int>{row.topic});
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the popup closed";
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
}

}  // namespace
}  // namespace morvane::testing
