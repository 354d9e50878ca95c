#include <gtest/gtest.h>

#include <set>

#include "app/settings_io.h"

namespace morvane::app {
namespace {

using Kind = CommandLinePath::Kind;

TEST(CommandLine, AllArgumentsJoinedAreOnePathMatchedByPattern) {
  const std::set<std::string> files = {"/p/my shapes.gif", "/p/X.GIF",     "/p/map.html", "/p/map.htm",
                                       "/p/page.asp",      "/p/notes.txt", "/p/lib.h",    "/p/a",
                                       "/p/plan.png",      "/p/P.PNG",     "/p/x.jpeg",   "/p/-n.gif",
                                       "/p/caf\xE9.gif",   "/p/../p/b.gif"};
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
      // Every picture the loader reads, in either case.
      {{"/p/plan.png"}, Kind::Image, "/p/plan.png"},
      {{"/p/P.PNG"}, Kind::Image, "/p/P.PNG"},
      {{"/p/x.jpeg"}, Kind::Image, "/p/x.jpeg"},
      // Relative paths are made absolute from the current folder, bytes as they are.
      {{"plan.png"}, Kind::Image, "/p/plan.png"},
      {{"-n.gif"}, Kind::Image, "/p/-n.gif"},
      {{"././/plan.png"}, Kind::Image, "/p/plan.png"},
      {{"my", "shapes.gif"}, Kind::Image, "/p/my shapes.gif"},
      {{"caf\xE9.gif"}, Kind::Image, "/p/caf\xE9.gif"},
      {{"../p/b.gif"}, Kind::Image, "/p/../p/b.gif"},  // ".." as given: a link decides it
      {{"map.html"}, Kind::Map, "/p/map.html"},
  };
  for (const Row& row : rows) {
    const CommandLinePath got = ParseCommandLine(row.args, exists, "/p");
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
