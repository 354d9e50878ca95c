#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "document/document_state.h"
#include "document/map_format.h"
#include "engine/contour_points.h"
#include "tests/app/app_fixture.h"
#include "tests/app/file_dialog_answer.h"
#include "tests/support/drop_events.h"
#include "platform/widgets/menu_model.h"
#include "tests/support/x_input.h"

namespace morvane::testing {
namespace {

// How a picture comes into the window.
enum class Way { Dialog, DialogTwice, RecentItem, CommandLine, Drop };

std::string NameOf(Way way) {
  switch (way) {
    case Way::Dialog: return "Dialog";
    case Way::DialogTwice: return "DialogTwice";
    case Way::RecentItem: return "RecentItem";
    case Way::CommandLine: return "CommandLine";
    case Way::Drop: return "Drop";
  }
  return {};
}

// File > Open from the keyboard, the dialog answered with the file once it shows.
void OpenByDialog(app::MainWindow& w, const std::string& file) {
  auto done = std::make_shared<bool>(false);
  auto answered = std::make_shared<int>(0);
  AnswerFileDialog(file, true, done, answered);
  XInput::Hold({QStringLiteral("ctrl")}, QStringLiteral("o"));
  XInput::WaitUntil([&] { return *answered > 0 && w.Host().State().ImagePath == file; }, 30000);
  *done = true;
  // Without a window manager nothing hands the focus back once the dialog has gone; a
  // user would click the window before typing on.
  XInput::Focus(&w);
}

// A drop of the file on the zoom view, as the desktop hands it over.
void Drop(app::MainWindow& w, const std::string& file) {
  QWidget* viewport = w.findChild<QWidget*>(QStringLiteral("pbZoom"));
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
  SendDrop(viewport, mime, QPoint(4, 6));
}

// Whether the menu of the item is open.
bool Shown(app::MainWindow& w, const char* item) {
  const QMenu* menu = w.Menus()->Item(QString::fromLatin1(item))->Popup();
  return menu != nullptr && menu->isVisible();
}

// A window of the folder with the picture opened the row's way: started on it, or
// started plain and given it.
std::unique_ptr<app::MainWindow> Open(AppFolder& folder, Way way, const std::string& picture,
                                      const std::string& other) {
  auto w = folder.Start(way == Way::CommandLine ? std::vector<std::string>{picture}
                                                : std::vector<std::string>{});
  w->resize(900, 600);
  XInput::Focus(w.get());
  switch (way) {
    case Way::Dialog: OpenByDialog(*w, picture); break;
    case Way::DialogTwice:
      OpenByDialog(*w, picture);
      OpenByDialog(*w, picture);
      break;
    case Way::RecentItem:
      // The picture second in the recent files, then File > Recent Files > 1.
      OpenByDialog(*w, picture);
      OpenByDialog(*w, other);
      XInput::Hold({QStringLiteral("alt")}, QStringLiteral("f"));
      XInput::WaitUntil([&] { return Shown(*w, "mFile"); });
      XInput::Key(QStringLiteral("f"));
      XInput::WaitUntil([&] { return Shown(*w, "mFileRecent"); });
      XInput::Key(QStringLiteral("1"));
      XInput::WaitUntil([] { return QApplication::activePopupWidget() == nullptr; });
      break;
    case Way::CommandLine: break;
    case Way::Drop: Drop(*w, picture); break;
  }
  XInput::Settle(200);
  return w;
}

class PictureUnderX : public ::testing::TestWithParam<Way> {};

// Whichever way a picture of any format the loader reads comes in, F5 and Ctrl+S write
// its map beside it and leave the picture as it was, and the next open brings the map
// back.
TEST_P(PictureUnderX, IsNeverOverwrittenByItsMapAndItsMapComesBack) {
  const Way way = GetParam();
  const QImage shapes(QStringLiteral(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
  ASSERT_FALSE(shapes.isNull());
  struct Format {
    const char* name;    // the picture's file name
    const char* writer;  // Qt's writer, or null for the sample GIF itself
  };
  const Format formats[] = {
      {"plan.png", "PNG"}, {"plan.PNG", "PNG"}, {"plan.jpeg", "JPEG"}, {"plan.gif", nullptr}};
  for (const Format& format : formats) {
    SCOPED_TRACE(NameOf(way) + " " + format.name);
    FakeServices services;
    AppFolder folder;
    const std::string picture = folder.folder.File(format.name);
    if (format.writer != nullptr) {
      ASSERT_TRUE(shapes.save(QString::fromStdString(picture), format.writer, 100));
    } else {
      std::filesystem::copy_file(MORVANE_SOURCE_DIR "/samples/shapes.gif", picture);
    }
    const std::string other =
        folder.folder.Write("other.gif", ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
    const std::string bytes = ReadAll(picture);
    const std::string map = document::DefaultMapPath(picture);

    engine::ContourPoints traced;
    {
      auto w = Open(folder, way, picture, other);
      ASSERT_EQ(w->Host().State().ImagePath, picture);
      ASSERT_TRUE(w->Host().Model().ImageShown());
      ASSERT_TRUE(XInput::Key(QStringLiteral("F5")));
      ASSERT_TRUE(XInput::WaitUntil(
          [&] { return !w->Run().Running() && engine::UpperBound(w->Host().Model().Points()) > 0; }));
      ASSERT_TRUE(XInput::Hold({QStringLiteral("ctrl")}, QStringLiteral("s")));
      ASSERT_TRUE(XInput::WaitUntil([&] { return !w->Host().IsChanged(); }));
      traced = w->Host().Model().Points();
      EXPECT_EQ(ReadAll(picture), bytes) << "the picture after the save";
      EXPECT_NE(ReadAll(map).find("<area"), std::string::npos) << map;
      ASSERT_TRUE(w->close());
    }
    // The next open, the same way, in a window started anew.
    auto again = Open(folder, way, picture, other);
    EXPECT_EQ(again->Host().State().ImagePath, picture);
    EXPECT_EQ(again->Host().Model().Points(), traced) << "the map came back";
    EXPECT_FALSE(again->Host().IsChanged());
    EXPECT_EQ(ReadAll(picture), bytes);
    EXPECT_TRUE(services.messageBoxes.shown.empty())
        << services.messageBoxes.shown.front().text.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(EveryWayIn, PictureUnderX,
                         ::testing::Values(Way::Dialog, Way::DialogTwice, Way::RecentItem,
                                           Way::CommandLine, Way::Drop),
                         [](const ::testing::TestParamInfo<Way>& row) { return NameOf(row.param); });

}  // namespace
}  // namespace morvane::testing
