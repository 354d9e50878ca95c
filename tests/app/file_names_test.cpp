// File names as the window takes them from the command line and from drops: the file
// system's bytes, a relative path made absolute.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QUrl>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/document_state.h"
#include "engine/contour_points.h"
#include "tests/app/app_fixture.h"
#include "tests/support/drop_events.h"

namespace morvane::testing {
namespace {

// The file dropped on the zoom view, its name percent-encoded as the desktop sends it.
void DropOn(app::MainWindow& w, const std::string& file) {
  QWidget* viewport = w.findChild<QWidget*>(QStringLiteral("pbZoom"));
  QMimeData mime;
  mime.setUrls({QUrl::fromEncoded("file://" + QByteArray::fromStdString(file).toPercentEncoding("/"))});
  SendDrop(viewport, mime, QPoint(4, 6));
}

// The process's current folder for as long as the object lives.
struct InFolder {
  std::filesystem::path before = std::filesystem::current_path();
  explicit InFolder(const std::string& folder) { std::filesystem::current_path(folder); }
  ~InFolder() { std::filesystem::current_path(before); }
};

// A picture whose name holds the byte 0xE9 alone (Latin-1 "é", no UTF-8) opens from the
// command line and from a drop, is traced, and its map is saved beside it under the
// same bytes.
TEST(FileNames, ANameThatIsNotUtf8Opens) {
  for (const bool dropped : {false, true}) {
    SCOPED_TRACE(dropped ? "dropped" : "on the command line");
    FakeServices services;
    AppFolder folder;
    const std::string picture =
        folder.folder.Write("caf\xE9.gif", ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
    auto w = dropped ? folder.Start() : folder.Start({picture});
    if (dropped) DropOn(*w, picture);
    EXPECT_EQ(w->Host().State().ImagePath, picture);
    EXPECT_TRUE(w->Host().Model().ImageShown());
    ASSERT_FALSE(w->Host().Model().RecentFiles().empty());
    EXPECT_EQ(w->Host().Model().RecentFiles().front(), picture);
    ASSERT_TRUE(w->RunCommand("mFileCreate"));
    EXPECT_GT(engine::UpperBound(w->Host().Model().Points()), 0);
    ASSERT_TRUE(w->RunCommand("mFileSave"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.folder.File("caf\xE9.htm")));
    EXPECT_TRUE(services.messageBoxes.shown.empty());
  }
}

// A relative path on the command line names the file in the current folder, and goes on
// as that absolute path: into the recent files and to the painter, where "-n.gif" would
// otherwise be an option.
TEST(FileNames, ARelativeCommandLineBecomesAbsolute) {
  struct Row {
    std::vector<std::string> arguments;
    const char* file;  // in the folder
  };
  const Row rows[] = {
      {{"-n.gif"}, "-n.gif"},
      {{"shapes.gif"}, "shapes.gif"},
      {{"./shapes.gif"}, "shapes.gif"},
      {{"my", "shapes.gif"}, "my shapes.gif"},
      {{"sub/plan.png"}, "sub/plan.png"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    FakeServices services;
    AppFolder folder;
    std::filesystem::create_directory(folder.folder.File("sub"));
    const std::string picture =
        folder.folder.Write(row.file, ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
    std::unique_ptr<app::MainWindow> w;
    {
      InFolder in(folder.folder.path());
      w = folder.Start(row.arguments);
    }
    EXPECT_EQ(w->Host().State().ImagePath, picture);
    EXPECT_TRUE(w->Host().Model().ImageShown());
    ASSERT_FALSE(w->Host().Model().RecentFiles().empty());
    EXPECT_EQ(w->Host().Model().RecentFiles().front(), picture);
    w->Settings().painterPath = "/opt/paint";
    ASSERT_TRUE(w->RunCommand("mFilePainter"));
    ASSERT_EQ(services.shell.started.size(), 1u);
    EXPECT_EQ(services.shell.started[0].arguments, QStringList{QString::fromStdString(picture)});
  }
}

}  // namespace
}  // namespace morvane::testing
