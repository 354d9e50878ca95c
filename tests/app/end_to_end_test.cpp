#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>

#include <filesystem>

#include "document/document_state.h"
#include "engine/contour_points.h"
#include "tests/app/app_fixture.h"

namespace morvane::testing {
namespace {

// The tool's standard output, or a failure.
std::string Tool(const QStringList& arguments) {
  QProcess tool;
  tool.start(QStringLiteral(MORVANE_BINARY_DIR "/bin/morvane-trace"), arguments);
  if (!tool.waitForFinished(60000)) return "(did not finish)";
  return tool.readAllStandardOutput().toStdString();
}

TEST(EndToEnd, CreateByF5AndSaveByCtrlSGiveTheToolsContours) {
  FakeServices services;
  AppFolder folder;
  const std::string image = WriteSample(folder.folder);
  const std::string map = document::DefaultMapPath(image);
  {
    auto w = folder.Start({image});
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    ASSERT_TRUE(w->Zoom().HasPicture());

    QTest::keyClick(w.get(), Qt::Key_F5);
    ASSERT_GT(engine::UpperBound(w->Host().Model().Points()), 0);
    EXPECT_TRUE(w->Host().IsChanged());
    EXPECT_FALSE(w->Run().Running());

    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(std::filesystem::exists(map));
    EXPECT_FALSE(w->Host().IsChanged());
    EXPECT_TRUE(services.messageBoxes.shown.empty());
    ASSERT_TRUE(w->close());
  }

  // The window traces as the tool does with the window's first-start settings
  // (Connected Contour on, method 4, white background).
  const std::string traced =
      Tool({QStringLiteral("create"), QString::fromStdString(image), QStringLiteral("--connected")});
  const std::string saved = Tool({QStringLiteral("read"), QString::fromStdString(map)});
  ASSERT_FALSE(traced.empty());
  ASSERT_GE(saved.size(), traced.size());
  EXPECT_EQ(saved.substr(0, traced.size()), traced);
  EXPECT_EQ(saved.substr(traced.size(), 1), "#");  // then only the titles list

  // Restarted: the image and its map come back.
  auto w = folder.Start();
  EXPECT_EQ(w->Host().State().ImagePath, image);
  EXPECT_TRUE(w->Zoom().HasPicture());
  EXPECT_GT(engine::UpperBound(w->Host().Model().Points()), 0);
  EXPECT_FALSE(w->Host().IsChanged());
}

}  // namespace
}  // namespace morvane::testing

namespace morvane::testing {
namespace {

// Pictures to look at, taken only when MORVANE_SCREENSHOTS names a folder (run under
// Xvfb with QT_QPA_PLATFORM=xcb): after a trace at 1:1 and at 4:1, and at 640 x 480.
TEST(Screenshots, MainWindowAfterATrace) {
  const QString out = ScreenshotFolder();
  if (out.isEmpty()) GTEST_SKIP() << "MORVANE_SCREENSHOTS not set";
  PictureWindow shots;
  app::MainWindow* w = shots.w.get();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  ASSERT_TRUE(w->RunCommand("mFileCreate"));
  QTest::qWait(300);
  EXPECT_TRUE(w->grab().save(out + QStringLiteral("/main-1to1.png")));
  ASSERT_TRUE(w->RunCommand("mViewZoom", 1));
  QTest::qWait(300);
  EXPECT_TRUE(w->grab().save(out + QStringLiteral("/main-4to1.png")));
  w->resize(640, 480);
  QTest::qWait(300);
  EXPECT_TRUE(w->grab().save(out + QStringLiteral("/main-640x480.png")));
}

}  // namespace
}  // namespace morvane::testing
