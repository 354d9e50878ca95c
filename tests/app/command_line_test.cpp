#include <gtest/gtest.h>

#include <set>

#include "app/settings_io.h"

namespace morvane::app {
namespace {

using Kind = CommandLinePath::Kind;

TEST(CommandLine, AllArgumentsJoinedAreOnePathMatchedByPattern) {
  const std::set<std::string> files = {"/p/my shapes.gif", "/p/X.GIF",     "/p/map.html", "/p/map.htm",
                                       "/p/page.asp",      "/p/notes.txt", "/p/lib.h",    "/p/a"};
  const auto exists = [&](const std::string& p) { return files.count(p) != 0; };
  struct Row {
    std::vector<std::string> args;
    Kind kind;
    std::string path;
  };
  const Row rows[] = {
      {{"/p/my", "shapes.gif"}, Kind::Image, "/p/my shapes.gif"},
      {{"/p/my shapes.gif"}, Kind::Image, "/p/my shapes.gif"},
      {{"/p/X.GIF"}, Kind::Image, "/p/X.GIF"},
      {{"/p/map.html"}, Kind::Map, "/p/map.html"},
      {{"/p/map.htm"}, Kind::Map, "/p/map.htm"},
      {{"/p/page.asp"}, Kind::Map, "/p/page.asp"},
      {{"/p/notes.txt"}, Kind::None, ""},
      {{"/p/lib.h"}, Kind::None, ""},
      {{"/p/a"}, Kind::None, ""},
      {{"/p/missing.gif"}, Kind::None, ""},
      {{}, Kind::None, ""},
  };
  for (const Row& row : rows) {
    const CommandLinePath got = ParseCommandLine(row.args, exists);
    EXPECT_EQ(got.kind, row.kind) << (row.args.empty() ? "" : row.args[0]);
    EXPECT_EQ(got.path, row.path);
  }
}

TEST(PainterDefault, FirstOfThreeOnThePath) {
  struct Row {
    std::set<std::string> onPath;
    std::string painter;
  };
  const Row rows[] = {
      {{}, ""},
      {{"gimp"}, "/usr/bin/gimp"},
      {{"pinta", "gimp"}, "/usr/bin/pinta"},
      {{"gimp", "kolourpaint", "pinta"}, "/usr/bin/kolourpaint"},
      {{"mspaint"}, ""},
  };
  for (const Row& row : rows) {
    const auto find = [&](const std::string& name) {
      return row.onPath.count(name) != 0 ? "/usr/bin/" + name : std::string();
    };
    EXPECT_EQ(DefaultPainter(find), row.painter);
  }
}

}  // namespace
}  // namespace morvane::app
