#include "document/local_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/document.h"
#include "tests/document/fakes.h"
#include "tests/support/temp_folder.h"

namespace morvane::document {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;

TEST(LocalFileSystemTest, ReadsTextInEitherEncoding) {
  TempFolder dir;
  LocalFileSystem files;
  const std::string utf8 = dir.Write("u.htm",
                                     "\xEF\xBB\xBF<p>K\xC3\xB8"
                                     "ge</p>");
  const std::string ansi = dir.Write("a.htm", "<p>K\xF8ge \x80</p>");
  EXPECT_EQ(files.ReadText(utf8),
            "<p>K\xC3\xB8"
            "ge</p>");
  EXPECT_EQ(files.ReadText(ansi), "<p>K\xC3\xB8ge \xE2\x82\xAC</p>");
  EXPECT_EQ(files.ReadText(dir.File("none.htm")), std::nullopt);
  EXPECT_TRUE(files.FileExists(utf8));
  EXPECT_FALSE(files.FileExists(dir.path()));
  EXPECT_TRUE(files.DirExists(dir.path()));
}

TEST(LocalFileSystemTest, SavingAMapOnDisk) {
  TempFolder dir;
  LocalFileSystem files;
  testing::WindowSide side;
  DocumentState& state = side.model.state;
  testing::FakeView& view = side.view;
  testing::FakeImages images;
  testing::FakeDialog dialog;
  Document doc(side.model, view.Roles(), side.runs, files, images, dialog);
  engine::ContourSet contours;
  contours.points = {{0, 0}, {1, 2}, {3, 4}};
  contours.count = 1;
  contours.titles = {{"00", "x", true}};
  side.model.TakeContours(contours);

  // Into a folder that cannot hold files (its "parent" is a file): said, nothing lost.
  const std::string blocker = dir.Write("plain-file", "keep");
  state.ImagePath = blocker + "/coast.gif";
  side.model.LetChanged(true);
  EXPECT_FALSE(doc.SaveMap());
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find(blocker + "/coast.htm"), std::string::npos) << view.errors[0];
  EXPECT_TRUE(side.model.IsChanged());
  EXPECT_EQ(ReadAll(blocker), "keep");

  // Into a real folder, over an older map: replaced whole, no temporary file left.
  state.ImagePath = dir.File("coast.gif");
  state.ImageSrc.clear();
  dir.Write("coast.htm", "an older map");
  EXPECT_TRUE(doc.SaveMap());
  EXPECT_FALSE(side.model.IsChanged());
  EXPECT_NE(ReadAll(dir.File("coast.htm")).find("coords='1,2,3,4'"), std::string::npos);
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2);  // the blocker and the map
}

}  // namespace
}  // namespace morvane::document
