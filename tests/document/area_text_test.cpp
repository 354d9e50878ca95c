#include "document/area_text.h"

#include <gtest/gtest.h>

#include "document/document_state.h"
#include "tests/document/fakes.h"

namespace morvane::document {
namespace {

using engine::ContourPoint;
using engine::ContourPoints;

// The array with its unused element 0 in front; {n, -1} is a separator numbered n.
ContourPoints Points(std::vector<ContourPoint> elements) {
  ContourPoints points = engine::EmptyContourPoints();
  points.insert(points.end(), elements.begin(), elements.end());
  return points;
}

std::string Titled(std::int32_t number) { return "T" + std::to_string(number); }

TEST(FormatOutputTextTest, LinesNumbersTitlesAndCentroids) {
  const std::vector<ContourPoint> two = {{1, 1}, {2, 1}, {2, 2}, {1, -1}, {10, 0}, {14, 0}, {12, 3}};
  struct Case {
    const char* what;
    ContourPoints points;
    std::string templ, tail, format;
    std::string expected;
  };
  const Case cases[] = {
      {"two contours, numbered from the separators", Points(two), "[%1]", ";", "00",
       "[00]1,1,2,1,2,2;\r\n[01]10,0,14,0,12,3;"},
      {"a trailing separator adds nothing",
       Points({{1, 1}, {2, 1}, {2, 2}, {1, -1}, {10, 0}, {14, 0}, {12, 3}, {2, -1}}), "[%1]", ";", "00",
       "[00]1,1,2,1,2,2;\r\n[01]10,0,14,0,12,3;"},
      {"empty template and tail: bare coordinates", Points(two), "", "", "00",
       "1,1,2,1,2,2\r\n10,0,14,0,12,3"},
      {"centroid truncates: 5/3 and 4/3 give 1", Points({{1, 1}, {2, 1}, {2, 2}}), "%3|", "", "00",
       "01,01|1,1,2,1,2,2"},
      {"titles by number, %3 in the template of each line", Points(two), "%2 %3 ", "", "0",
       "T0 1,1 1,1,2,1,2,2\r\nT1 12,1 10,0,14,0,12,3"},
      {"digits 3", Points(two), "#%1 ", "", "000", "#000 1,1,2,1,2,2\r\n#001 10,0,14,0,12,3"},
      {"no points at all", Points({}), "<%1>", "'>", "00", ""},
      {"only separators", Points({{0, -1}, {1, -1}}), "<%1>", "'>", "00", ""},
      {"a leading separator only sets the number (a contour added to an empty document)",
       Points({{0, -1}, {3, 4}, {5, 6}}), "<%1>", ";", "00", "<00>3,4,5,6;"},
      {"two separators in a row close nothing between them", Points({{1, 1}, {1, -1}, {2, -1}, {7, 7}}),
       "<%1>", ";", "00", "<00>1,1;\r\n<02>7,7;"},
      {"large coordinates: sums do not overflow",
       Points({{2000000000, 2000000000}, {2000000000, 2000000000}}), "%3 ", "", "0",
       "2000000000,2000000000 2000000000,2000000000,2000000000,2000000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatOutputText(c.points, c.format, Titled, c.templ, c.tail), c.expected) << c.what;
  }
}

TEST(FormatOutputTextTest, PlaceholdersInsideTitles) {
  const ContourPoints points = Points({{0, 0}, {4, 0}, {4, 2}});
  auto title = [](std::int32_t) { return std::string("a%1b%3c"); };
  // "%1" is replaced before the title goes in, "%3" after: only the latter is taken.
  EXPECT_EQ(FormatOutputText(points, "00", title, "%2|", ""), "a%1b02,00c|0,0,4,0,4,2");
  // No "%3" in the template: the title's is still replaced.
  EXPECT_EQ(FormatOutputText(points, "0", title, "%2 ", "."), "a%1b2,0c 0,0,4,0,4,2.");
}

TEST(FormatOutputTextTest, TitlesComeFromTheDocumentsTitles) {
  const std::vector<engine::ContourTitle> titles = {
      {"00", "Lake", true}, {"01", "", false}, {"02", "", true}, {"03", "a  b", true}};
  const TitleOf of = TitlesFrom(titles);
  EXPECT_EQ(of(0), "Lake");
  EXPECT_EQ(of(1), "");  // untitled
  EXPECT_EQ(of(2), "");  // titled empty
  EXPECT_EQ(of(3), "a  b");
  EXPECT_EQ(of(4), "");  // beyond the list
  EXPECT_EQ(of(-1), "");
  const TitleOf shouting =
      TitlesFrom(titles, [](std::string_view t) { return "<" + std::string(t) + ">"; });
  EXPECT_EQ(shouting(0), "<Lake>");
}

TEST(SplitCrLfTest, SplitsOnlyAtPairs) {
  EXPECT_EQ(SplitCrLf(""), std::vector<std::string>{});
  EXPECT_EQ(SplitCrLf("a"), std::vector<std::string>{"a"});
  EXPECT_EQ(SplitCrLf("a\r\nb\nc\r\n"), (std::vector<std::string>{"a", "b\nc", ""}));
}

TEST(DocumentPathsTest, DefaultMapPathLooksAtTheFileNameOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"/maps/coast.gif", "/maps/coast.htm"},
      {"/data/v1.2/coast", "/data/v1.2/coast.htm"},
      {"/data/v1.2/coast.tar.gif", "/data/v1.2/coast.tar.htm"},
      {"C:\\maps\\coast.gif", "C:\\maps\\coast.htm"},
      {"C:\\v1.2\\coast", "C:\\v1.2\\coast.htm"},
      {"coast", "coast.htm"},
      {"", ""},
  };
  for (const auto& [image, map] : cases) EXPECT_EQ(DefaultMapPath(image), map) << image;
  EXPECT_EQ(FileNameOf("/a/b/c.gif"), "c.gif");
  EXPECT_EQ(FileNameOf("C:\\pics\\coast.gif"), "coast.gif");
  EXPECT_EQ(FileNameOf("plain.gif"), "plain.gif");
  EXPECT_EQ(FolderOf("/a/b/c.gif"), "/a/b/");
  EXPECT_EQ(FolderOf("plain.gif"), "");
}

}  // namespace
}  // namespace morvane::document
