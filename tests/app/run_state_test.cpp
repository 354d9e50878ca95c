// What the status bar tells of runs and of the document, and what the runs take from the
// window, on the real window over small pictures drawn here.
#include <gtest/gtest.h>

#include <QCursor>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <filesystem>

#include "app/contour_tree.h"
#include "platform/widgets/automation/control_events.h"
#include "app/work_picture.h"
#include "app/field_strips.h"
#include "app/edit_commands.h"
#include "app/edit_surface.h"
#include "document/document_state.h"
#include "engine/contour_points.h"
#include "platform/widgets/panel_status_bar.h"
#include "tests/app/app_fixture.h"
#include "tests/support/drop_events.h"

namespace morvane::testing {
namespace {

constexpr int kTpp = engine::kTwipsPerPixel;

struct Window {
  FakeServices services;
  AppFolder folder;
  std::unique_ptr<app::MainWindow> w;

  explicit Window(std::string_view picture = kTwoSquares) {
    w = folder.Start({WriteArt(folder.folder, "art.bmp", picture)});
    QApplication::setActiveWindow(w.get());
  }
  QString Panel(const char* key) {
    w->Picture().FlushRedraw();
    return w->StatusBar()->Panel(QString::fromLatin1(key))->Text();
  }
  void Press(int x, int y) {
    w->Surface().ucScopel_MouseDown(automation::kLeftButton, 0, x * kTpp + 7, y * kTpp + 7);
  }
  void CreateFromPoint(int x, int y) {
    ASSERT_TRUE(w->RunCommand("mFileStart"));
    Press(x, y);
  }
  void Unconnected() {
    if (w->Settings().connected) {
      ASSERT_TRUE(w->RunCommand("mSettingsConnected"));
    }
  }
};

TEST(RunState, TheTimePanelShowsTheLastRunsTimeAndNothingElse) {
  Window x;
  EXPECT_EQ(x.Panel("Time"), QString()) << "no run yet";
  ASSERT_TRUE(x.w->RunCommand("mFileCreate"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy pointer ends with the run";
  const QString run = x.Panel("Time");
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(run).hasMatch())
      << run.toStdString();
  // Long enough after the run that its clock, still going, would show another second.
  QTest::qWait(1100);
  x.w->Tree()->SelectNode(3);
  ASSERT_TRUE(x.w->RunCommand("mEditDelete"));
  ASSERT_TRUE(x.w->RunCommand("mViewZoom", 1));
  EXPECT_EQ(x.Panel("Time"), run);
}

TEST(RunState, StatisticsCountWhatTheMapWillHold) {
  Window x;
  x.Unconnected();
  ASSERT_TRUE(x.w->RunCommand("mFileCreate"));
  // Nine points in two contours; the separator between them is no point.
  EXPECT_EQ(engine::UpperBound(x.w->Host().Model().Points()), 10);
  EXPECT_EQ(x.Panel("Progress1"), QStringLiteral("16x8 - 9 points (2 contours)."));
  x.CreateFromPoint(3, 3);
  EXPECT_EQ(x.Panel("Progress1"), QStringLiteral("16x8 - 6 points (1 contour)."));
  // Nothing under the click: the empty document shows its own counts.
  x.CreateFromPoint(15, 7);
  EXPECT_EQ(x.Panel("Progress2"), QStringLiteral("No figure found."));
  EXPECT_EQ(x.Panel("Progress1"), QStringLiteral("16x8 - 0 points."));
}

TEST(RunState, ARunLeavesNoContourWithoutPoints) {
  // With the direction-change method the first pair reduces to nothing.
  Window x(R"(
......##
##......
)");
  x.Unconnected();
  ASSERT_TRUE(x.w->RunCommand("mSettingsMethod", 1));
  ASSERT_TRUE(x.w->RunCommand("mFileCreate"));
  EXPECT_EQ(x.Panel("Progress1"), QStringLiteral("8x2 - 2 points (1 contour)."));
  const app::ContourTree& tree = *x.w->Tree();
  ASSERT_EQ(tree.NodeCount(), 4);
  EXPECT_EQ(tree.NodeText(2), QStringLiteral("#00"));
  EXPECT_EQ(tree.NodeText(3), QStringLiteral("0,1"));
  EXPECT_EQ(x.w->Host().Model().TitleEntries(), std::vector<std::string>{"#00"});
}

// The files the batch dialog is answered with, typed into its name box as a user would.
void AnswerBatchDialog(const std::string& file) {
  QTimer::singleShot(50, [file] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      AnswerBatchDialog(file);
      return;
    }
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(file));
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

std::string Coords(const std::string& map) {
  const QString text = QString::fromStdString(ReadAll(map));
  QString coords;
  for (const QRegularExpressionMatch& m :
       QRegularExpression(QStringLiteral("coords='[^']*'")).globalMatch(text)) {
    coords += m.captured(0) + QLatin1Char('\n');
  }
  return coords.toStdString();
}

TEST(RunState, ABatchTracesWithTheWindowsSettingsAsTheToolDoes) {
  struct Row {
    const char* what;
    bool connected;
    int method;
  };
  for (const Row& row : {Row{"first start: connected, method 4", true, 3},
                         Row{"each figure apart, method 2", false, 1}}) {
    SCOPED_TRACE(row.what);
    FakeServices services;
    AppFolder folder;
    const std::string sample = ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif");
    std::filesystem::create_directory(folder.folder.File("window"));
    std::filesystem::create_directory(folder.folder.File("tool"));
    const std::string image = folder.folder.Write("window/shapes.gif", sample);
    const std::string toolImage = folder.folder.Write("tool/shapes.gif", sample);
    {
      auto w = folder.Start();
      if (w->Settings().connected != row.connected) {
        ASSERT_TRUE(w->RunCommand("mSettingsConnected"));
      }
      ASSERT_TRUE(w->RunCommand("mSettingsMethod", row.method));
      ASSERT_TRUE(w->Host().State().SeparateFiles);
      AnswerBatchDialog(image);
      ASSERT_TRUE(w->RunCommand("mFileBatch"));
      w->Picture().FlushRedraw();
      EXPECT_EQ(w->StatusBar()->Panel(QStringLiteral("Progress1"))->Text(),
                QStringLiteral("1 images processed."));
    }
    QStringList arguments = {QStringLiteral("batch"), QStringLiteral("--separate"),
                             QStringLiteral("--centroid"), QStringLiteral("--method"),
                             QString::number(row.method)};
    if (row.connected) arguments << QStringLiteral("--connected");
    arguments << QString::fromStdString(toolImage);
    QProcess tool;
    tool.start(QStringLiteral(MORVANE_BINARY_DIR "/bin/morvane-trace"), arguments);
    ASSERT_TRUE(tool.waitForFinished(60000));
    const std::string expected = Coords(document::DefaultMapPath(toolImage));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Coords(document::DefaultMapPath(image)), expected);
  }
}

TEST(RunState, ADropThatOpensNothingIsRefusedToTheDragSource) {
  struct Row {
    const char* file;
    bool accepted;
  };
  for (const Row& row : {Row{"notes.h", false}, Row{"x.txt", false}, Row{"b.bmp", true}}) {
    SCOPED_TRACE(row.file);
    Window x;
    const std::string file = row.accepted ? WriteArt(x.folder.folder, row.file, kTwoSquares)
                                          : x.folder.folder.Write(row.file, "<html></html>");
    QWidget* viewport = x.w->findChild<QWidget*>(QStringLiteral("pbZoom"));
    ASSERT_NE(viewport, nullptr);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    const DropSeen seen = SendDrop(viewport, data, QPoint(5, 5), Qt::CopyAction | Qt::MoveAction);
    ASSERT_TRUE(seen.entryAccepted);
    EXPECT_EQ(seen.dropAccepted, row.accepted);
    if (row.accepted) {
      EXPECT_EQ(seen.action, Qt::CopyAction);
      EXPECT_EQ(x.w->Host().State().ImagePath, file);
    }
  }
}

// Records the pointer each box was shown with.
struct PointerAtBoxes final : widgets::MessageBoxService {
  std::vector<int> shapes;  // -1: no override
  core::DialogAnswer Show(QWidget*, const QString&, int, const QString&) override {
    const QCursor* shown = QApplication::overrideCursor();
    shapes.push_back(shown != nullptr ? shown->shape() : -1);
    return core::kAnswerOk;
  }
};

TEST(RunState, ABoxOfABusyMomentIsAnsweredWithTheOrdinaryPointer) {
  Window x;
  PointerAtBoxes boxes;
  widgets::ServiceOverride installed(&boxes, nullptr, nullptr, nullptr);
  // A picture that cannot be read, opened by a drop: its error comes while the window
  // is busy opening it.
  const std::string bad = x.folder.folder.Write("bad.gif", "not a picture");
  ASSERT_TRUE(x.w->Surface().ucScopel_OLEDragDrop({bad}));
  EXPECT_EQ(boxes.shapes, std::vector<int>{Qt::ArrowCursor});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy moment is over";
}

}  // namespace
}  // namespace morvane::testing
