#include "common/file_helpers.h"

#include <stdlib.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace morvane::common {
namespace {

using morvane::testing::TempFolder;

TEST(FileHelpersTest, ResolvesPathsRelativeToAFileOrFolder) {
  struct Case {
    const char* path;
    const char* base;
    const char* expected;
  };
  const Case cases[] = {
      {"a.gif", "/srv/maps/x.htm", "/srv/maps/a.gif"},
      {"./a.gif", "/srv/maps/x.htm", "/srv/maps/a.gif"},
      {"img/a.gif", "/srv/maps/", "/srv/maps/img/a.gif"},
      {"../img/a.gif", "/srv/maps/sub/x.htm", "/srv/maps/img/a.gif"},
      {"../../a.gif", "/srv/maps/sub/x.htm", "/srv/a.gif"},
      {"../../../../../a.gif", "/srv/maps/x.htm", "/a.gif"},  // stops at the root
      {"img/./../b/a.gif", "/srv/", "/srv/b/a.gif"},
      {"img//a.gif", "/srv/", "/srv/img/a.gif"},
      {"/abs/a.gif", "/srv/maps/x.htm", "/abs/a.gif"},
      {"", "/srv/maps/x.htm", "/srv/maps/"},
      {"..", "/srv/maps/x.htm", "/srv/"},
      {"sub/", "/srv/", "/srv/sub/"},
      {"a.gif", "maps/x.htm", "maps/a.gif"},
      {"../../a.gif", "maps/x.htm", "a.gif"},
      {"a.gif", "maps", "maps/a.gif"},
      {"a.gif", "", "a.gif"},
      // Written on Windows.
      {"..\\img\\a.gif", "/srv/maps/sub/x.htm", "/srv/maps/img/a.gif"},
      {".\\a.gif", "/srv/maps/x.htm", "/srv/maps/a.gif"},
      {"\\a.gif", "/srv/maps/", "/srv/maps/a.gif"},
      {"D:\\a.gif", "/srv/maps/x.htm", "D:\\a.gif"},
      {"a.gif", "C:\\maps\\x.htm", "C:\\maps\\a.gif"},
      {"..\\img\\a.gif", "C:\\maps\\sub\\x.htm", "C:\\maps\\img\\a.gif"},
      {"..\\..\\..\\a.gif", "C:\\maps\\x.htm", "C:\\a.gif"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveRelativePath(c.path, c.base), c.expected) << c.path << " against " << c.base;
  }
}

TEST(FileHelpersTest, SplitsPathsAndChecksNamingRules) {
  struct Case {
    const char* path;
    int level;
    const char* drive;
    const char* folder;
    const char* name;
    const char* extension;
  };
  const Case cases[] = {
      {"/home/u/file.txt", 1, "/", "home/u/", "file.txt", ".txt"},
      {"/home/u/file.txt", 0, "/", "home/u/", "file", ".txt"},
      {"/home/u/file.txt", 2, "/", "home/u/", "file", ".txt"},
      {"C:\\dir\\file.txt", 1, "C:\\", "dir\\", "file.txt", ".txt"},
      {"C:\\dir\\file.txt", 0, "C:\\", "dir\\", "file", ".txt"},
      {"rel/a.b.gif  ", 2, "", "rel/", "a.b", ".gif"},  // trailing blanks leave the extension
      {"noext", 0, "", "", "noext", ""},
      {"//server/share", 2, "/", "", "/server/share", ""},  // no folder after a leading separator
      {"\\\\server\\share", 2, "", "", "\\\\server\\share", ""},
      {"LONGNAME.TXT", 0, "", "", "LONGNAME", ".TXT"},
      {"a.b", 0, "", "", "a", ".b"},
      {"/a:b/c", 2, "/", "a:b/", "c", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " level " + std::to_string(c.level));
    std::string drive = "?", folder = "?", name = "?", extension = "?";
    EXPECT_EQ(SplitFileName(c.path, &drive, &folder, &name, &extension, c.level), c.path);
    EXPECT_EQ(drive, c.drive);
    EXPECT_EQ(folder, c.folder);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(extension, c.extension);
  }
}

TEST(FileHelpersTest, RefusedPathsTouchNoOutput) {
  struct Case {
    const char* path;
    int level;
  };
  const Case cases[] = {
      {"NINELETTR.TXT", 0},
      {".profile", 0},
      {"name.", 0},
      {"ninechars", 0},
      {"a b.txt", 0},
      {"a;b", 0},
      {"d/TOOLONGDIR/x", 0},
      {"a.toolong1234", 0},
      {"a*b", 1},
      {"a?b", 1},
      {"a|b", 1},
      {"a:b/c", 1},
      {"a\"b", 1},
      {"", 2},
  };
  for (const Case& c : cases) {
    std::string name = "untouched";
    EXPECT_EQ(SplitFileName(c.path, nullptr, nullptr, &name, nullptr, c.level), "")
        << c.path << " level " << c.level;
    EXPECT_EQ(name, "untouched") << c.path;
  }
  EXPECT_EQ(SplitFileName(std::string_view("a\0b", 3), nullptr, nullptr, nullptr, nullptr, 2), "");
}

TEST(FileHelpersTest, ResultIsThePartAskedFor) {
  const char* path = "/srv/maps/x.htm";
  std::string part;
  EXPECT_EQ(SplitFileName(path, nullptr, &part, nullptr, nullptr, 1), "srv/maps/");
  EXPECT_EQ(SplitFileName(path, nullptr, nullptr, &part, nullptr, 2), "x");
  EXPECT_EQ(SplitFileName(path, nullptr, nullptr, nullptr, &part, 2), ".htm");
  EXPECT_EQ(SplitFileName(path, &part, &part, nullptr, nullptr, 2), path);
  EXPECT_EQ(SplitFileName(path, nullptr, nullptr, nullptr, nullptr, 2), "/");
  EXPECT_EQ(SplitFileName("maps/x.htm", nullptr, nullptr, nullptr, nullptr, 2), "");
}

TEST(FileHelpersTest, DialogFolderIsAnExistingOne) {
  TempFolder dir;
  const std::string sub = dir.File("my maps:2");  // blanks and colons are fine here
  std::filesystem::create_directory(sub);
  const std::string file = dir.Write("my maps:2/x.htm", "x");
  const char* home = std::getenv("HOME");
  const std::string homeFolder =
      std::string(home ? home : "/") + (home && std::string(home).back() == '/' ? "" : "/");
  struct Case {
    std::string folderOrPath;
    std::string fallback;
    std::string expected;
  };
  const Case cases[] = {
      {sub + "/", "/", sub + "/"},
      {file, "/", sub + "/"},
      {sub + "/not-there.htm", "/", sub + "/"},
      {dir.File("gone/x.htm"), dir.path(), dir.path() + "/"},
      {"", dir.path() + "/", dir.path() + "/"},
      {"x.htm", dir.path(), dir.path() + "/"},
      {dir.File("gone/"), dir.File("gone too"), homeFolder},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidFolderOrDefault(c.folderOrPath, c.fallback), c.expected) << c.folderOrPath;
  }
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(sub));
  EXPECT_TRUE(DirExists(sub));
  EXPECT_FALSE(DirExists(file));
  EXPECT_FALSE(FileExists(""));
}

}  // namespace
}  // namespace morvane::common
