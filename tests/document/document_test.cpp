#include "document/document.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

#include "document/area_text.h"
#include "document/map_format.h"
#include "tests/document/fakes.h"

namespace morvane::document {
namespace {

using engine::ContourPoint;
using engine::ContourPoints;
using testing::FakeDialog;
using testing::FakeFiles;
using testing::FakeImages;
using testing::FakeView;
using testing::ScriptedRuns;

ContourPoints Points(std::vector<ContourPoint> elements) {
  ContourPoints points = engine::EmptyContourPoints();
  points.insert(points.end(), elements.begin(), elements.end());
  return points;
}

// Two contours: a triangle with centroid (3, 2) and a square with centroid (15, 15).
const std::vector<ContourPoint> kTwo = {{1, 1},   {5, 1},   {5, 4},   {1, -1},
                                        {10, 10}, {20, 10}, {20, 20}, {10, 20}};

// A titles-list entry as the tables write it: "#", the number and, for a titled
// contour, two blanks and the title.
engine::ContourTitle TitleFromEntry(const std::string& entry) {
  const std::size_t blanks = entry.find("  ");
  if (blanks == std::string::npos) return {entry.substr(1), "", false};
  return {entry.substr(1, blanks - 1), entry.substr(blanks + 2), true};
}

class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest()
      : engine(view, view, view, view),
        runs(model, engine, view.Roles()),
        doc(model, view.Roles(), runs, files, images, dialog) {}

  // An image that exists and loads.
  void AddImage(const std::string& path, int w = 40, int h = 30) {
    files.files[path] = "picture bytes";
    images.sizes[path] = {w, h};
  }

  void SetContours(std::vector<ContourPoint> elements, const std::vector<std::string>& entries) {
    engine::ContourSet set;
    set.points = Points(std::move(elements));
    for (const std::string& entry : entries) set.titles.push_back(TitleFromEntry(entry));
    set.count = static_cast<std::int32_t>(entries.size());
    model.TakeContours(std::move(set));
  }

  std::vector<std::string> Titles() const {
    std::vector<std::string> out;
    for (const engine::ContourTitle& t : model.Titles()) out.push_back(t.title);
    return out;
  }

  // The recent-files menu's captions.
  std::vector<std::string> RecentCaptions() const {
    std::vector<std::string> out;
    for (const std::string& path : model.RecentFiles())
      out.push_back(RecentCaption(static_cast<int>(out.size()), path));
    return out;
  }

  FakeView view;
  DocumentModel model;
  DocumentState& state = model.state;
  engine::ContourEngine engine;
  ScriptedRuns runs;
  FakeFiles files;
  FakeImages images;
  FakeDialog dialog;
  Document doc;
};

// ---- Writing ---------------------------------------------------------------------

TEST_F(DocumentTest, WritesTheMapByteForByte) {
  const std::string areas =
      "<area href='#00' alt='Tom&#39;s &#34;Lake&#34;' %cshape='polygon' coords='1,1,5,1,5,4'>\r\n"
      "<area href='#01' alt='&#60;Bay&#62; &#38; &#216;re' %cshape='polygon' "
      "coords='10,10,20,10,20,20,10,20'>\r\n";
  struct Case {
    bool centroid;
    std::string first, second;
  };
  const Case cases[] = {
      {false, "", ""},
      {true, "centroid='03,02' ", "centroid='15,15' "},
  };
  for (const Case& c : cases) {
    AddImage("/pics/coast.gif");
    state.ImagePath = "/pics/coast.gif";
    SetContours(kTwo, {"#00  Tom's \"Lake\"", "#01  <Bay> & \xC3\x98re"});
    view.centroid = c.centroid;
    model.LetChanged(true);
    ASSERT_TRUE(doc.SaveMap());
    std::string expected =
        "<html><body><img src='/pics/coast.gif' border=0 usemap='#coast.gif'><map name='coast.gif'>\r\n"
        "\r\n" +
        areas + "\r\n</map></body></html>\r\n";
    expected.replace(expected.find("%c"), 2, c.first);
    expected.replace(expected.find("%c"), 2, c.second);
    EXPECT_EQ(files.files["/pics/coast.htm"], expected) << "centroid " << c.centroid;
    EXPECT_FALSE(model.IsChanged());
    EXPECT_EQ(state.ImageSrc, "/pics/coast.gif");
    EXPECT_EQ(state.MapPath, "");  // the default map path is not remembered
    state.ImageSrc.clear();
  }
}

TEST_F(DocumentTest, EscapesTheImagePathAndNameAndWritesEmptyMaps) {
  state.ImagePath = "/pics/Tom & Bo's <\xC3\xA9t\xC3\xA9>.gif";
  SetContours({}, {});
  ASSERT_TRUE(doc.SaveMap());
  EXPECT_EQ(files.files["/pics/Tom & Bo's <\xC3\xA9t\xC3\xA9>.htm"],
            "<html><body><img src='/pics/Tom &#38; Bo&#39;s &#60;&#233;t&#233;&#62;.gif' border=0 "
            "usemap='#Tom &#38; Bo&#39;s &#60;&#233;t&#233;&#62;.gif'><map name='Tom &#38; Bo&#39;s "
            "&#60;&#233;t&#233;&#62;.gif'>\r\n\r\n\r\n</map></body></html>\r\n");
}

TEST_F(DocumentTest, SavesWithDigitsAndUntitledContoursAndShowsProgress) {
  state.ImagePath = "/p/x.gif";
  model.LetDigits(3);
  SetContours({{1, 1}, {1, -1}, {2, 2}, {2, -1}, {3, 3}, {3, -1}, {4, 4}},
              {"#000", "#001", "#002", "#003"});
  ASSERT_TRUE(doc.SaveMap());
  const std::string& text = files.files["/p/x.htm"];
  EXPECT_NE(text.find("<area href='#003' alt='' shape='polygon' coords='4,4'>"), std::string::npos);
  EXPECT_EQ(view.progress,
            (std::vector<std::pair<int, int>>{{2, 0}, {2, 0}, {2, 25}, {2, 50}, {2, 75}}));
  EXPECT_FALSE(view.visibleBars.count(2));
}

TEST_F(DocumentTest, OverwriteCheck) {
  const std::string target = "/maps/coast.htm";
  auto ownMap = [&](std::string_view footer) {
    return MapHeaderLine("/pics/coast.gif", "coast.gif") +
           "\r\n\r\n<area href='#00' alt='' shape='polygon' "
           "coords='9,9'>\r\n\r\n" +
           std::string(footer) + "\r\n";
  };
  struct Case {
    const char* what;
    std::optional<std::string> existing;
    bool stopOnError;
    std::string mapPath;
    std::deque<core::DialogAnswer> answers;
    bool asks, written;
  };
  const Case cases[] = {
      {"a foreign file, No",
       "<html><p>someone's page</p></html>",
       true,
       target,
       {kAnswerNo},
       true,
       false},
      {"a foreign file, Yes",
       "<html><p>someone's page</p></html>",
       true,
       target,
       {kAnswerYes},
       true,
       true},
      {"our map changed by hand",
       ownMap(kMapFooter) + "<p>note</p>",
       true,
       target,
       {kAnswerNo},
       true,
       false},
      {"our map with the old footer", ownMap(kOldMapFooter), true, target, {}, false, true},
      {"our map, other letter case in the header",
       "<HTML><BODY><IMG SRC='/PICS/COAST.GIF' border=0 usemap='#coast.gif'><map "
       "name='coast.gif'>\r\n\r\n"
       "</map></body></html>",
       true,
       target,
       {},
       false,
       true},
      {"map of another image",
       "<html><body><img src='/pics/other.gif' border=0 usemap='#other.gif'>"
       "<map name='other.gif'>\r\n\r\n</map></body></html>",
       true,
       target,
       {kAnswerNo},
       true,
       false},
      {"an empty file", "", true, target, {}, false, true},
      {"no file yet", std::nullopt, true, target, {}, false, true},
      {"Stop on Error off", "<p>foreign</p>", false, target, {}, false, true},
      {"the default map path is never checked", "<p>foreign</p>", true, "", {}, false, true},
  };
  for (const Case& c : cases) {
    files.files.clear();
    if (c.existing) files.files[c.mapPath.empty() ? "/pics/coast.htm" : c.mapPath] = *c.existing;
    state = DocumentState();
    state.ImagePath = "/pics/coast.gif";
    state.MapPath = c.mapPath;
    state.AskBeforeOverwrite = c.stopOnError;
    SetContours({{1, 2}}, {"#00"});
    model.LetChanged(true);
    view.questions.clear();
    view.beeps.clear();
    view.answers = c.answers;
    const std::string where = c.mapPath.empty() ? "/pics/coast.htm" : c.mapPath;
    EXPECT_EQ(doc.SaveMap(), c.written) << c.what;
    EXPECT_EQ(!view.questions.empty(), c.asks) << c.what;
    if (c.asks) {
      EXPECT_EQ(view.questions[0],
                "The file was changed from another way.\r\nAre you sure you want to overwrite?");
      EXPECT_EQ(view.beeps, std::vector<int>{core::kBeepWarning}) << c.what;
    }
    EXPECT_EQ(model.IsChanged(), !c.written) << c.what;
    if (c.written) {
      EXPECT_NE(files.files[where].find("coords='1,2'"), std::string::npos) << c.what;
    } else {
      EXPECT_EQ(files.files[where], *c.existing) << c.what;
    }
  }
}

// Earlier versions wrote the image path and name as they stood; such a map is still
// this program's own, with either footer.
TEST_F(DocumentTest, TheOverwriteCheckKnowsMapsOfEarlierVersions) {
  const std::string image = "/pics/Tom & Jerry's \xC3\xA9t\xC3\xA9.gif";
  const std::string name = "Tom & Jerry's \xC3\xA9t\xC3\xA9.gif";
  const std::string old = "<html><body><img src='" + image + "' border=0 usemap='#" + name +
                          "'><map name='" + name +
                          "'>\r\n\r\n<area href='#00' alt='a & b' shape='polygon' coords='9,9'>\r\n\r\n";
  for (std::string_view footer : {kOldMapFooter, kMapFooter}) {
    files.files["/maps/tj.htm"] = old + std::string(footer) + "\r\n";
    state.ImagePath = image;
    state.ImageSrc.clear();
    state.MapPath = "/maps/tj.htm";
    state.AskBeforeOverwrite = true;
    SetContours({{1, 2}}, {"#00"});
    view.questions.clear();
    EXPECT_TRUE(doc.SaveMap()) << footer;
    EXPECT_TRUE(view.questions.empty()) << footer;
  }
}

TEST_F(DocumentTest, SavingTwiceAsksNothingTheSecondTime) {
  state.ImagePath = "/pics/coast.gif";
  state.MapPath = "/maps/coast.htm";
  state.AskBeforeOverwrite = true;
  SetContours(kTwo, {"#00  a", "#01  b"});
  ASSERT_TRUE(doc.SaveMap());
  ASSERT_TRUE(doc.SaveMap());
  EXPECT_TRUE(view.questions.empty());
  EXPECT_EQ(files.writes, 2);
}

TEST_F(DocumentTest, AFailedSaveSaysSoAndKeepsTheChangedMark) {
  state.ImagePath = "/pics/coast.gif";
  files.files["/pics/coast.htm"] = "old map";
  files.unwritable.insert("/pics/coast.htm");
  SetContours(kTwo, {"#00", "#01"});
  model.LetChanged(true);
  EXPECT_FALSE(doc.SaveMap());
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0], "The map could not be saved to \"/pics/coast.htm\": Permission denied");
  EXPECT_TRUE(model.IsChanged());
  EXPECT_EQ(files.files["/pics/coast.htm"], "old map");
  EXPECT_FALSE(view.visibleBars.count(2));

  state.ImagePath.clear();  // nothing to save to
  EXPECT_FALSE(doc.SaveMap());
  EXPECT_EQ(view.errors.size(), 2u);
}

TEST(LooksLikePictureTest, KnowsPicturesByTheirFirstBytes) {
  const auto bytes = [](std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
  };
  // A BMP's file header, then an info header of 40 bytes with one plane.
  std::string bmp = "BM" + std::string(12, '\0') + bytes({40, 0, 0, 0}) + std::string(8, '\0') +
                    bytes({1, 0, 8, 0});
  std::string emf = bytes({1, 0, 0, 0}) + std::string(36, '\0') + " EMF";
  struct Case {
    const char* what;
    std::string head;
    bool picture;
  };
  const Case cases[] = {
      {"GIF87a", "GIF87a\x10\x00\x10\x00", true},
      {"GIF89a", "GIF89a\x10\x00\x10\x00", true},
      {"PNG", bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}) + "IHDR", true},
      {"JPEG", bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16}) + "JFIF", true},
      {"BMP", bmp, true},
      {"a DIB without its file header", bmp.substr(14), true},
      {"EMF", emf, true},
      {"placeable WMF", bytes({0xD7, 0xCD, 0xC6, 0x9A, 0, 0}), true},
      {"WMF", bytes({1, 0, 9, 0, 0, 3, 0x20, 0, 0, 0}), true},
      {"a map", "<html><body><img src='a.gif' usemap='#a'>", false},
      {"an empty file", "", false},
      {"text beginning with BM", "BMW and Audi, a list of cars", false},
      {"text beginning with GIF", "GIF files and their maps", false},
      {"a cut PNG signature", bytes({0x89, 'P', 'N', 'G'}), false},
      {"EMF's first word without its signature", bytes({1, 0, 0, 0}) + std::string(40, 'x'), false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikePicture(c.head), c.picture) << c.what;
}

TEST_F(DocumentTest, AMapIsNeverSavedOverAPicture) {
  const std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + "rest of a picture";
  struct Case {
    const char* what;
    std::string mapPath;  // "" for the default map path
    bool askBeforeOverwrite;
  };
  const Case cases[] = {
      {"the map path names the picture", "/p/plan.png", false},
      {"with the overwrite question on", "/p/plan.png", true},
      {"the default map path holds a picture", "", false},
  };
  for (const Case& c : cases) {
    files.files.clear();
    view.errors.clear();
    view.questions.clear();
    AddImage("/p/plan.gif");
    const std::string target = c.mapPath.empty() ? "/p/plan.htm" : c.mapPath;
    files.files[target] = png;
    state = DocumentState();
    state.ImagePath = "/p/plan.gif";
    state.MapPath = c.mapPath;
    state.AskBeforeOverwrite = c.askBeforeOverwrite;
    SetContours(kTwo, {"#00", "#01"});
    model.LetChanged(true);
    EXPECT_FALSE(doc.SaveMap()) << c.what;
    EXPECT_EQ(files.files[target], png) << c.what;
    EXPECT_EQ(files.writes, 0) << c.what;
    EXPECT_TRUE(model.IsChanged()) << c.what;
    EXPECT_TRUE(view.questions.empty()) << c.what;
    ASSERT_EQ(view.errors.size(), 1u) << c.what;
    EXPECT_EQ(view.errors[0],
              "The map was not saved: \"" + target + "\" holds a picture, which a map never replaces.")
        << c.what;
  }
}

TEST_F(DocumentTest, SaveAs) {
  state.ImagePath = "/pics/coast.gif";
  state.MapPath = "/gone/old.htm";  // no such file: becomes the default map path
  files.folders.insert("/pics/");
  SetContours(kTwo, {"#00", "#01"});
  dialog.answers.push_back({0, {}, 1});
  doc.SaveMapAs();
  ASSERT_EQ(dialog.shown.size(), 1u);
  const FakeDialog::Shown& s = dialog.shown[0];
  EXPECT_TRUE(s.save);
  EXPECT_EQ(s.FileFlags, 6);
  EXPECT_EQ(s.DialogTitle, "Save As...");
  EXPECT_EQ(s.DefaultExt, ".htm");
  EXPECT_EQ(s.Filter, "HTML Files (*.*htm*;*.asp*;*.php)|*.*htm*;*.asp*;*.php|All Files (*.*)|*.*|");
  EXPECT_EQ(s.FilterIndex, 1);
  EXPECT_EQ(s.FileName, "/pics/coast.htm");
  EXPECT_EQ(s.InitDir, "/pics/");
  EXPECT_EQ(state.MapPath, "/pics/coast.htm");  // kept although cancelled
  EXPECT_EQ(files.writes, 0);

  dialog.answers.push_back({1, {"/out/chosen.htm"}, 1});
  doc.SaveMapAs();
  EXPECT_EQ(state.MapPath, "/out/chosen.htm");
  EXPECT_EQ(dialog.FileName, "");
  EXPECT_TRUE(files.files.count("/out/chosen.htm"));
}

// ---- Reading ---------------------------------------------------------------------

TEST_F(DocumentTest, RoundTripKeepsPointsTitlesAndDigits) {
  struct Case {
    const char* what;
    std::vector<ContourPoint> points;
    std::vector<std::string> entries;
    std::string format;
    bool centroid;
  };
  std::vector<ContourPoint> big;  // one contour of 12 000 points
  for (int i = 0; i < 12000; ++i) big.push_back({i, (i * 7919) % 5003});
  std::vector<ContourPoint> many;  // 1 200 contours
  std::vector<std::string> manyTitles;
  for (int k = 0; k < 1200; ++k) {
    if (k > 0) many.push_back({k, -1});
    for (int j = 0; j < 3; ++j) many.push_back({k + j, 2 * k + j});
    manyTitles.push_back(engine::UntitledEntry(k, "000") + (k % 3 ? "  t" + std::to_string(k) : ""));
  }
  const Case cases[] = {
      {"two titled contours",
       kTwo,
       {"#00  Tom's \"Lake\"", "#01  <Bay> & \xC3\x98re \xE2\x82\xAC"},
       "00",
       false},
      {"with centroid", kTwo, {"#00  x", "#01  y"}, "0000", true},
      {"title with two blanks and CR LF", kTwo, {"#00  a  b\r\nc", "#01"}, "0", false},
      {"one contour", {{3, 4}, {5, 6}}, {"#00  only"}, "00", false},
      {"points shifted left of the image",
       {{-7, 4}, {-2147483647 - 1, 6}, {5, 0}},
       {"#00  off"},
       "00",
       true},
      {"a contour of 12 000 points", big, {"#000000  big"}, "000000", false},
      {"1 200 contours", many, manyTitles, "000", true},
  };
  for (const Case& c : cases) {
    files.files.clear();
    AddImage("/pics/coast.gif");
    state = DocumentState();
    state.ImagePath = "/pics/coast.gif";
    model.LetDigits(static_cast<int>(c.format.size()));
    view.centroid = c.centroid;
    SetContours(c.points, c.entries);
    std::vector<std::string> before = Titles();
    ASSERT_TRUE(doc.SaveMap()) << c.what;

    model.ResetContours();
    model.LetDigits(1);
    state.MapPath = "/pics/coast.htm";
    doc.LoadDocument();
    EXPECT_EQ(model.Points(), Points(c.points)) << c.what;
    EXPECT_EQ(model.Count(), static_cast<std::int32_t>(c.entries.size())) << c.what;
    EXPECT_EQ(Titles(), before) << c.what;
    EXPECT_EQ(model.NumberFormat(), c.format) << c.what;
    EXPECT_EQ(state.ImagePath, "/pics/coast.gif") << c.what;
    EXPECT_EQ(view.selectedTitle, 0) << c.what;
    EXPECT_FALSE(model.IsChanged()) << c.what;
  }
}

// The contours of a document, each a list of vertices, with their titles.
struct Figure {
  std::vector<ContourPoint> vertices;
  engine::ContourTitle title;
};

engine::ContourSet SetOf(const std::vector<Figure>& figures) {
  engine::ContourSet set;
  for (const Figure& f : figures) {
    if (set.count > 0) set.points.push_back(engine::Separator(set.count));
    set.points.insert(set.points.end(), f.vertices.begin(), f.vertices.end());
    set.titles.push_back(f.title);
    ++set.count;
  }
  return set;
}

std::vector<ContourPoint> Square(int left, int top, int size) {
  return {{left, top}, {left + size, top}, {left + size, top + size}, {left, top + size}};
}

// The hrefs of a map's area lines, in file order.
std::vector<std::string> Hrefs(const std::string& map) {
  std::vector<std::string> hrefs;
  for (std::size_t at = map.find("<area href='"); at != std::string::npos;
       at = map.find("<area href='", at + 1)) {
    const std::size_t begin = at + 12;
    hrefs.push_back(map.substr(begin, map.find('\'', begin) - begin));
  }
  return hrefs;
}

TEST_F(DocumentTest, InnerContoursAreWrittenFirstAndReadBackInTheirOrder) {
  struct Case {
    const char* what;
    std::vector<Figure> figures;
    int digits;
    std::vector<std::string> written;  // the hrefs in file order
  };
  std::vector<Figure> many;  // eleven squares apart, the twelfth inside the first
  for (int k = 0; k < 11; ++k) many.push_back({Square(k * 20, 0, 10), {std::to_string(k), "", true}});
  many.push_back({Square(2, 2, 4), {"11", "inner", true}});
  std::vector<std::string> manyWritten = {"#11"};
  for (int k = 0; k < 11; ++k) manyWritten.push_back("#" + std::to_string(k));
  const Case cases[] = {
      {"an island in a lake in a land, a rock, a ring and its hole",
       {{Square(0, 0, 100), {"00", "Land", true}},
        {Square(20, 20, 40), {"01", "Lake", true, "lake.html"}},
        {Square(30, 30, 10), {"02", "Isle", true}},
        {Square(200, 0, 10), {"03", "Rock", true}},
        {Square(300, 0, 40), {"04", "Ring", true}},
        {Square(310, 10, 20), {"05", "", true}}},
       2,
       {"#02", "lake.html", "#05", "#00", "#03", "#04"}},
      {"contours that touch the outline around them",
       {{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {"00", "Out", true}},
        {{{0, 0}, {10, 0}, {5, 5}}, {"01", "In", true}}},
       2,
       {"#01", "#00"}},
      {"a twelfth contour inside the first, one digit", many, 1, manyWritten},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files = FakeFiles();
    AddImage("/pics/land.gif");
    state = DocumentState();
    state.ImagePath = "/pics/land.gif";
    model.LetDigits(c.digits);
    const engine::ContourSet before = SetOf(c.figures);
    model.TakeContours(before);
    ASSERT_TRUE(doc.SaveMap());
    EXPECT_EQ(model.Contours(), before);  // saving leaves the document as it is
    EXPECT_EQ(Hrefs(files.files["/pics/land.htm"]), c.written);

    model.ResetContours();
    state.MapPath = "/pics/land.htm";
    doc.LoadDocument();
    EXPECT_EQ(model.Contours(), before);
    EXPECT_EQ(model.Digits(), c.digits);
  }
}

TEST_F(DocumentTest, AnImageNameThatIsEscapedReadsBack) {
  const std::string image = "/pics/Tom & Bo's <\xC3\xA9t\xC3\xA9> \"1\".gif";
  AddImage(image);
  state.ImagePath = image;
  SetContours(kTwo, {"#00  a", "#01  b"});
  ASSERT_TRUE(doc.SaveMap());
  const std::string map = "/pics/Tom & Bo's <\xC3\xA9t\xC3\xA9> \"1\".htm";
  ASSERT_TRUE(files.files.count(map));

  state = DocumentState();
  state.MapPath = map;
  doc.LoadDocument();
  EXPECT_EQ(state.ImageSrc, image);
  EXPECT_EQ(state.ImagePath, image);
  EXPECT_EQ(model.Points(), Points(kTwo));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(DocumentTest, ReadsTitlesDigitsAndSeparatorsFromAMap) {
  AddImage("/maps/img/coast.gif");
  files.files["/maps/coast.htm"] =
      "<html><body><img src='img\\coast.gif' usemap='#coast.gif'><map name='coast.gif'>\n"
      "<area href='#0003' alt='Lake' shape='polygon' coords='1,1,2,2'>\n"
      "<area href='#0009' alt='' shape='polygon' coords='3,3'>\n"
      "<area href='#x7' alt='Odd' shape='polygon' coords='4,4'>\n"
      "<area href='#0010' alt='Bad' shape='polygon' coords='5,5,6'>\n"  // skipped, and last
      "</map></body></html>\n";
  state.MapPath = "/maps/coast.htm";
  doc.LoadDocument();
  EXPECT_EQ(state.ImageSrc, "img\\coast.gif");
  EXPECT_EQ(state.ImagePath, "/maps/img/coast.gif");
  EXPECT_EQ(model.NumberFormat(), "0000");
  EXPECT_EQ(model.Digits(), 4);
  // The contours follow their numbers; "#x7" is no number, so that area takes the
  // lowest number no area holds (0) and comes first.
  EXPECT_EQ(model.TitleEntries(), (std::vector<std::string>{"#x7  Odd", "#0003  Lake", "#0009  "}));
  EXPECT_EQ(model.Points(), Points({{4, 4}, {1, -1}, {1, 1}, {2, 2}, {2, -1}, {3, 3}}));
  EXPECT_EQ(model.Count(), 3);
  EXPECT_TRUE(model.ImageShown());
  EXPECT_TRUE(view.pictureShown);
  EXPECT_EQ(view.caption, "Morvane - /maps/img/coast.gif");
  EXPECT_EQ(view.status[engine::StatusField::Progress1], "40x30");
}

TEST_F(DocumentTest, DigitsFollowTheFirstHrefWithinTheSpinBoxLimits) {
  const std::pair<std::string, std::string> cases[] = {
      {" href='#0000'", "0000"}, {" href='#00000000'", "000000"}, {"", "0"}, {" href='#'", "0"}};
  AddImage("/m/a.gif");
  for (const auto& [href, format] : cases) {
    files.files["/m/a.htm"] = "<img src='a.gif' usemap='#a'><map name='a'><area" + href +
                              " shape='polygon' coords='1,1'></map>";
    state.MapPath = "/m/a.htm";
    doc.LoadDocument();
    EXPECT_EQ(model.NumberFormat(), format) << href;
    EXPECT_EQ(model.Count(), 1) << href;
    EXPECT_EQ(model.Points(), Points({{1, 1}})) << href;
  }
}

TEST_F(DocumentTest, DigitsComeFromTheLowestNumberNotFromALinkOfAnAreasOwn) {
  struct Case {
    const char* what;
    std::string areas;
    std::string format;
  };
  const Case cases[] = {
      {"a link first", "<area href='kitchen.html' shape=polygon coords=1,1><area href='#001' shape=polygon coords=2,2>",
       "000"},
      {"inner contours first", "<area href='#12' shape=polygon coords=1,1><area href='#01' shape=polygon coords=2,2>",
       "00"},
      {"a number on another shape only",
       "<area href='x.html' shape=polygon coords=1,1><area href='#0000' shape=rect coords=0,0,2,2>", "0000"},
      {"links of their own only", "<area href='kitchen.html' shape=polygon coords=1,1>", "0"},
  };
  AddImage("/m/a.gif");
  for (const Case& c : cases) {
    files.files["/m/a.htm"] = "<img src='a.gif' usemap='#a'><map name='a'>" + c.areas + "</map>";
    state.MapPath = "/m/a.htm";
    doc.LoadDocument();
    EXPECT_EQ(model.NumberFormat(), c.format) << c.what;
  }
}

TEST_F(DocumentTest, WhichMapIsRead) {
  const std::string own =
      "<img src='/p/a.gif' usemap='#a'><map name='a'><area shape=polygon coords=1,1></map>";
  const std::string other =
      "<img src='/q/b.gif' usemap='#b'><map name='b'><area shape=polygon coords=2,2></map>";
  AddImage("/p/a.gif");
  AddImage("/q/b.gif");
  struct Case {
    const char* what;
    std::string mapPath, besideImage;
    std::string expectImage;
    ContourPoints expectPoints;
  };
  const Case cases[] = {
      {"no MapPath: the map beside the image names it", "", own, "/p/a.gif", Points({{1, 1}})},
      {"no MapPath: the map beside names another image", "", other, "/p/a.gif", Points({})},
      {"no MapPath: the map beside names it in other case", "",
       "<img src='/P/A.GIF' usemap='#a'><map name='a'><area shape=polygon coords=1,1></map>", "/p/a.gif",
       Points({})},
      {"MapPath set: its img decides the image", "/p/a.htm", other, "/q/b.gif", Points({{2, 2}})},
  };
  for (const Case& c : cases) {
    files.files["/p/a.htm"] = c.besideImage;
    state = DocumentState();
    state.ImagePath = "/p/a.gif";
    state.MapPath = c.mapPath;
    doc.LoadDocument();
    EXPECT_EQ(state.ImagePath, c.expectImage) << c.what;
    EXPECT_EQ(model.Points(), c.expectPoints) << c.what;
    EXPECT_EQ(state.MapPath, c.mapPath) << c.what;  // the reader never changes it
  }
}

TEST_F(DocumentTest, AMapWhoseImageIsMissingReadsNothing) {
  files.files["/m/a.htm"] =
      "<img src='gone.gif' usemap='#a'><map name='a'><area shape=polygon coords=1,1></map>";
  state.MapPath = "/m/a.htm";
  doc.LoadDocument();
  EXPECT_EQ(state.ImageSrc, "gone.gif");
  EXPECT_EQ(state.ImagePath, "/m/gone.gif");
  EXPECT_EQ(model.Points(), Points({}));
  EXPECT_FALSE(view.pictureShown);
  EXPECT_TRUE(view.errors.empty());  // the reader reports nothing
}

TEST_F(DocumentTest, APictureThatCannotBeReadLeavesAnEmptyDocument) {
  files.files["/p/broken.gif"] = "not a picture";
  files.files["/p/broken.htm"] =
      "<img src='/p/broken.gif' usemap='#b'><map name='b'><area shape=polygon coords=1,1></map>";
  state.ImagePath = "/p/broken.gif";
  SetContours({{1, 1}}, {"#00"});
  doc.LoadDocument();
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find("/p/broken.gif"), std::string::npos);
  EXPECT_EQ(model.Points(), Points({}));
  EXPECT_EQ(model.Count(), 0);
  EXPECT_TRUE(model.Titles().empty());
  EXPECT_FALSE(view.pictureShown);
  EXPECT_EQ(state.ImagePath, "/p/broken.gif");
}

TEST_F(DocumentTest, NewDocumentResetsTheCountAndBlocksTheWindow) {
  AddImage("/p/a.gif");
  state.ImagePath = "/p/a.gif";
  engine::ContourSet twelve;
  twelve.count = 12;
  twelve.titles = {{"00", "", false}};
  model.TakeContours(twelve);
  model.LetClickTraced(true);
  model.LetChanged(true);
  RunPhase whileLoading = RunPhase::Idle;
  bool busyWhileLoading = false;
  images.whileLoading = [&] {
    whileLoading = runs.Phase();
    busyWhileLoading = view.busy;
  };
  doc.LoadDocument();
  EXPECT_EQ(model.Count(), 0);
  EXPECT_TRUE(model.Titles().empty());
  EXPECT_EQ(whileLoading, RunPhase::Busy);
  EXPECT_TRUE(busyWhileLoading);
  EXPECT_EQ(runs.Phase(), RunPhase::Idle);
  EXPECT_FALSE(view.busy);
  EXPECT_FALSE(model.ClickTraced());  // File > Add Contour has nothing to add to
  EXPECT_TRUE(model.ImageShown());
  EXPECT_FALSE(model.IsChanged());
  EXPECT_GT(view.stateChanges, 0);
}

// ---- Opening and the recent files ---------------------------------------------------

TEST_F(DocumentTest, TheSavePrompt) {
  EXPECT_EQ(doc.ConfirmSaveChanges(), 0);
  EXPECT_TRUE(view.questions.empty());
  struct Case {
    core::DialogAnswer answer;
    bool saved;
  };
  for (const Case& c : {Case{kAnswerYes, true}, Case{kAnswerNo, false}, Case{kAnswerCancel, false}}) {
    files.files.clear();
    state.ImagePath = "/p/a.gif";
    model.LetChanged(true);
    view.questions.clear();
    view.answers = {c.answer};
    EXPECT_EQ(doc.ConfirmSaveChanges(), c.answer);
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0], "The current data have been modified.\r\nSave changes?\r\n");
    EXPECT_EQ(files.files.count("/p/a.htm") > 0, c.saved);
  }
}

TEST_F(DocumentTest, AFailedSaveInThePromptStopsTheCommandThatAsked) {
  struct Caller {
    const char* what;
    std::function<void()> run;
  };
  const Caller callers[] = {
      {"the prompt itself, as exit and drop ask it",
       [&] { EXPECT_EQ(doc.ConfirmSaveChanges(), kAnswerCancel); }},
      {"open", [&] { doc.OpenFile(); }},
      {"batch", [&] { doc.RunBatch(); }},
      {"recent file", [&] { doc.OpenRecentFile(1); }},
  };
  struct Failure {
    const char* what;
    std::function<void()> arrange;
    std::deque<core::DialogAnswer> answers;  // the prompt's, then the overwrite question's
  };
  const Failure failures[] = {
      {"the map cannot be written", [&] { files.unwritable.insert("/p/a.htm"); }, {kAnswerYes}},
      {"the overwrite is declined",
       [&] {
         state.AskBeforeOverwrite = true;
         files.files["/p/a.htm"] = "a page edited by hand";
       },
       {kAnswerYes, kAnswerNo}},
      {"the map path holds a picture", [&] { files.files["/p/a.htm"] = "GIF89a..."; }, {kAnswerYes}},
  };
  for (const Caller& caller : callers) {
    for (const Failure& failure : failures) {
      SCOPED_TRACE(std::string(caller.what) + ", " + failure.what);
      files = FakeFiles();
      images.loaded.clear();
      AddImage("/p/a.gif");
      AddImage("/p/b.gif");
      state = DocumentState();
      state.ImagePath = "/p/a.gif";
      state.MapPath = "/p/a.htm";
      model.LetRecentFiles({"/p/a.gif", "/p/b.gif"});
      SetContours(kTwo, {"#00  Lake", "#01"});
      model.LetChanged(true);
      failure.arrange();
      const std::map<std::string, std::string> filesBefore = files.files;
      view.answers = failure.answers;
      view.questions.clear();
      dialog.answers = {{1, {"/p/b.gif"}, 1}};
      dialog.shown.clear();

      caller.run();
      EXPECT_EQ(view.questions.size(), failure.answers.size());
      EXPECT_TRUE(dialog.shown.empty());
      EXPECT_TRUE(images.loaded.empty());
      EXPECT_TRUE(model.IsChanged());
      EXPECT_EQ(model.Points(), Points(kTwo));
      EXPECT_EQ(Titles(), (std::vector<std::string>{"Lake", ""}));
      EXPECT_EQ(state.ImagePath, "/p/a.gif");
      EXPECT_EQ(state.MapPath, "/p/a.htm");
      EXPECT_EQ(model.RecentFiles(), (std::vector<std::string>{"/p/a.gif", "/p/b.gif"}));
      EXPECT_EQ(files.files, filesBefore);
    }
  }
}

TEST_F(DocumentTest, ARecentFileAsksAboutUnsavedWorkFirst) {
  struct Case {
    core::DialogAnswer answer;
    bool opens;
    bool saved;
  };
  for (const Case& c : {Case{kAnswerCancel, false, false}, Case{kAnswerNo, true, false},
                        Case{kAnswerYes, true, true}}) {
    SCOPED_TRACE(c.answer);
    files = FakeFiles();
    AddImage("/p/a.gif");
    AddImage("/p/b.gif");
    state = DocumentState();
    state.ImagePath = "/p/a.gif";
    model.LetRecentFiles({"/p/a.gif", "/p/b.gif"});
    SetContours(kTwo, {"#00", "#01"});
    model.LetChanged(true);
    view.answers = {c.answer};
    view.questions.clear();
    doc.OpenRecentFile(1);
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0], "The current data have been modified.\r\nSave changes?\r\n");
    EXPECT_EQ(state.ImagePath, c.opens ? "/p/b.gif" : "/p/a.gif");
    EXPECT_EQ(files.files.count("/p/a.htm") > 0, c.saved);
    EXPECT_EQ(model.IsChanged(), !c.opens);
  }
  // A recent file that is gone asks nothing: nothing would be opened.
  model.LetChanged(true);
  files.files.erase("/p/a.gif");
  view.questions.clear();
  doc.OpenRecentFile(1);
  EXPECT_TRUE(view.questions.empty());
}

TEST_F(DocumentTest, AMapThatIsThereButCannotBeReadSaysWhy) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::string message;  // "" for none
  };
  const Case cases[] = {
      {"a pipe", [&] { files.unreadable["/m/a.htm"] = "it is not a regular file"; },
       "Cannot read the map \"/m/a.htm\": it is not a regular file."},
      {"a file that may not be read", [&] { files.unreadable["/m/a.htm"] = "Permission denied"; },
       "Cannot read the map \"/m/a.htm\": Permission denied."},
      {"a folder", [&] { files.folders.insert("/m/a.htm"); },
       "Cannot read the map \"/m/a.htm\": it is a folder, not a file."},
      {"a missing map says nothing", [] {}, ""},
      {"a page without a map says nothing", [&] { files.files["/m/a.htm"] = "<p>no map</p>"; }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files = FakeFiles();
    AddImage("/m/a.gif");
    view.errors.clear();
    state = DocumentState();
    state.ImagePath = "/m/a.gif";
    state.MapPath = "/m/a.htm";
    c.arrange();
    doc.LoadDocument();
    EXPECT_EQ(view.errors, c.message.empty() ? std::vector<std::string>{}
                                             : std::vector<std::string>{c.message});
    EXPECT_TRUE(model.Titles().empty());
    EXPECT_TRUE(view.pictureShown);  // the image opens all the same
  }
}

TEST_F(DocumentTest, OpenSetsPathsByTheFilterAndTheName) {
  struct Case {
    const char* what;
    std::string chosen;
    std::int16_t filter;
    bool asImage;
  };
  const Case cases[] = {
      {"image filter", "/p/a.gif", 1, true},
      {"HTML filter", "/p/a.htm", 2, false},
      {"HTML filter takes any name as a map", "/p/a.gif", 2, false},
      {"All Files: a map by its name", "/p/a.html", 3, false},
      {"All Files: .php is a map", "/p/a.PHP", 3, false},
      {"All Files: .jpeg is an image", "/p/a.jpeg", 3, true},
      {"All Files: .h is no map", "/p/a.h", 3, true},
  };
  for (const Case& c : cases) {
    state = DocumentState();
    state.ImagePath = "/old/img.gif";
    files.folders = {"/old/"};
    dialog.answers = {{1, {c.chosen}, c.filter}};
    dialog.shown.clear();
    model.LetRecentFiles({});
    doc.OpenFile();
    if (c.asImage) {
      EXPECT_EQ(state.ImagePath, c.chosen) << c.what;
      EXPECT_EQ(state.MapPath, "") << c.what;
    } else {
      EXPECT_EQ(state.MapPath, c.chosen) << c.what;
      EXPECT_EQ(state.ImagePath, "/old/img.gif") << c.what;
    }
    EXPECT_EQ(RecentCaptions().at(0), "&0 " + c.chosen) << c.what;
    EXPECT_EQ(dialog.FileName, "") << c.what;
  }
  const FakeDialog::Shown& s = dialog.shown.back();
  EXPECT_EQ(s.FileFlags, 20500);
  EXPECT_EQ(s.DialogTitle, "Open...");
  EXPECT_EQ(s.HelpContextId, 100 + static_cast<int>(MenuCommand::mFileOpen));
  EXPECT_EQ(s.Filter,
            "Image Files "
            "(*.gif;*.jpg;*.jpeg;*.png;*.bmp;*.dib;*.emf;*.wmf;*.ico;*.cur;*.pbm;*.pgm;*.ppm;*.xbm;*.xpm;*.svg;*.svgz)|"
            "*.gif;*.jpg;*.jpeg;*.png;*.bmp;*.dib;*.emf;*.wmf;*.ico;*.cur;*.pbm;*.pgm;*.ppm;*.xbm;*.xpm;*.svg;*.svgz|"
            "HTML Files (*.htm*;*.asp*;*.php)|*.htm*;*.asp*;*.php|All Files (*.*)|*.*|");
  EXPECT_EQ(s.FilterIndex, 1);
  EXPECT_EQ(s.FileName, "/old/img.gif");
  EXPECT_EQ(s.InitDir, "/old/");
}

TEST_F(DocumentTest, CancelInTheSavePromptLeavesEverything) {
  model.LetChanged(true);
  view.answers = {kAnswerCancel};
  state.ImagePath = "/p/a.gif";
  doc.OpenFile();
  EXPECT_TRUE(dialog.shown.empty());
  EXPECT_TRUE(model.IsChanged());
  EXPECT_TRUE(model.RecentFiles().empty());
  doc.RunBatch();
  EXPECT_TRUE(dialog.shown.empty());
}

TEST_F(DocumentTest, RecentFiles) {
  for (const char* p : {"/r/0.gif", "/r/1.gif", "/r/2.htm", "/r/3.gif"}) AddImage(p);
  for (const char* p : {"/r/3.gif", "/r/2.htm", "/r/1.gif", "/r/0.gif"}) doc.RememberAndOpen(p);
  auto paths = [&] { return RecentCaptions(); };
  EXPECT_EQ(paths(),
            (std::vector<std::string>{"&0 /r/0.gif", "&1 /r/1.gif", "&2 /r/2.htm", "&3 /r/3.gif"}));
  EXPECT_FALSE(model.RecentFiles().empty());

  // Opening one that is listed moves it up; those above shift down, those below stay.
  doc.RememberAndOpen("/r/2.htm");
  EXPECT_EQ(paths(),
            (std::vector<std::string>{"&0 /r/2.htm", "&1 /r/0.gif", "&2 /r/1.gif", "&3 /r/3.gif"}));
  EXPECT_EQ(state.MapPath, "/r/2.htm");  // the list's extension test decided

  // Paths compare exactly: another letter case is another file.
  AddImage("/r/0.GIF");
  doc.RememberAndOpen("/r/0.GIF");
  EXPECT_EQ(paths().size(), 5u);

  // An eleventh path drops the oldest.
  for (int i = 0; i < 6; ++i) doc.RememberAndOpen("/n/" + std::to_string(i) + ".gif");
  EXPECT_EQ(paths().size(), 10u);
  EXPECT_EQ(paths().back(), "&9 /r/1.gif");
  doc.RememberAndOpen("/n/new.gif");
  EXPECT_EQ(paths().size(), 10u);
  EXPECT_EQ(paths().front(), "&0 /n/new.gif");
  EXPECT_EQ(paths().back(), "&9 /r/0.gif");

  // A listed file that is gone: clicking it does nothing.
  files.files.erase("/r/0.gif");
  const auto before = model.RecentFiles();
  doc.OpenRecentFile(9);
  EXPECT_EQ(model.RecentFiles(), before);
  // One that exists moves to the top and opens; those below it keep their places.
  images.loaded.clear();
  doc.OpenRecentFile(8);
  EXPECT_EQ(paths().front(), "&0 /r/2.htm");
  EXPECT_EQ(paths()[1], "&1 /n/new.gif");
  EXPECT_EQ(paths()[8], "&8 /r/0.GIF");
  EXPECT_EQ(paths()[9], "&9 /r/0.gif");
  EXPECT_EQ(state.MapPath, "/r/2.htm");
}

TEST_F(DocumentTest, SetDocumentPathsByExtension) {
  const std::pair<const char*, bool> cases[] = {
      {"&0 /p/a.JPG", true},
      {"&0 /p/a.jpeg", true},
      {"&0 /p/a.wmf", true},
      {"&0 /p/a.png", true},
      {"&0 /p/a.PNG", true},
      {"&0 /p/a.JPEG", true},
      {"&0 /p/a.htm", false},
      {"&0 /p/a.html", false},
      {"&0 /p/a.php", false},
      {"&0 /p/a.aspx", false},
      // An extension in neither list, or none, is taken as a map.
      {"&0 /p/a.txt", false},
      {"&0 /p/a.h", false},
      {"&0 /p/v1.2/a", false},
  };
  for (const auto& [caption, image] : cases) {
    state = DocumentState();
    state.ImagePath = "/keep.gif";
    const std::string path = std::string(caption).substr(3);
    doc.SetDocumentPaths(path);
    if (image) {
      EXPECT_EQ(state.ImagePath, path) << caption;
      EXPECT_EQ(state.MapPath, DefaultMapPath(path)) << caption;
    } else {
      EXPECT_EQ(state.MapPath, path) << caption;
      EXPECT_EQ(state.ImagePath, "/keep.gif") << caption;
    }
  }
  EXPECT_TRUE(MatchesPatterns("/x/y.GiF", kImagePatterns));
  EXPECT_FALSE(MatchesPatterns("/x.gif/y", kImagePatterns));
  EXPECT_TRUE(MatchesPatterns("C:\\x\\y.htm", kMapPatterns));
}

// ---- Batch ------------------------------------------------------------------------

class BatchTest : public DocumentTest {
 protected:
  BatchTest() {
    // The whole-image run: contours by picture, none for /b/plain.gif.
    runs.onCreate = [this] {
      ++created;
      if (stopAt == created) state.BatchRunning = false;
      const std::string& p = state.ImagePath;
      if (p == "/b/plain.gif") return;
      engine::ContourSet traced;
      if (p == "/b/harbour.bmp") {
        traced.points = Points({{1, 1}, {2, 2}, {1, -1}, {3, 3}, {4, 4}});
      } else {
        traced.points = Points({{static_cast<int>(p.size()), 0}, {5, 5}});
      }
      model.TakeContours(traced);
    };
  }
  void Choose(std::vector<std::string> chosen) { dialog.answers = {{1, std::move(chosen), 1}}; }
  int created = 0;
  int stopAt = 0;
};

TEST_F(BatchTest, ReportPadsNamesAndListsEachContour) {
  for (const char* p : {"/b/fen.gif", "/b/harbour.bmp", "/b/plain.gif", "/b/\xC3\xB8.gif"}) AddImage(p);
  state.TextOutputPath = "/out/report.txt";
  files.files["/out/report.txt"] = "an old report that must go";
  Choose({"/b/fen.gif", "/b/harbour.bmp", "/b/missing.gif", "/b/plain.gif", "/b/\xC3\xB8.gif"});
  const Document::BatchResult result = doc.RunBatch();
  EXPECT_TRUE(result.ran);
  EXPECT_EQ(result.processed, 4);
  EXPECT_FALSE(result.reportFailed);
  EXPECT_EQ(files.files["/out/report.txt"],
            "fen.gif     10,0,5,5\r\n"
            "harbour.bmp 1,1,2,2\r\n3,3,4,4\r\n"
            "plain.gif   \r\n"
            "\xC3\xB8.gif       9,0,5,5\r\n");
  EXPECT_EQ(view.status[engine::StatusField::Progress1], "4 images processed.");
  EXPECT_EQ(view.beeps, std::vector<int>{core::kBeepInformation});
  EXPECT_FALSE(state.BatchRunning);
  EXPECT_EQ(runs.Phase(), RunPhase::Idle);
  EXPECT_EQ(view.clockStarts, 1);
  EXPECT_FALSE(view.visibleBars.count(0));
  EXPECT_EQ(view.progress.back(), std::make_pair(0, 100));
  EXPECT_EQ(state.ImagePath, "/b/\xC3\xB8.gif");
  EXPECT_EQ(state.MapPath, "/b/\xC3\xB8.htm");

  // Run again: the report is replaced, not appended to.
  Choose({"/b/fen.gif"});
  doc.RunBatch();
  EXPECT_EQ(files.files["/out/report.txt"], "fen.gif 10,0,5,5\r\n");
}

TEST_F(BatchTest, ThreeNamesPadToTheLongestPlusOne) {
  for (const char* p : {"/b/a.gif", "/b/abcde.gif", "/b/abc.gif"}) AddImage(p);
  state.TextOutputPath = "/out/r.txt";
  Choose({"/b/a.gif", "/b/abcde.gif", "/b/abc.gif"});
  doc.RunBatch();
  EXPECT_EQ(files.files["/out/r.txt"],
            "a.gif     8,0,5,5\r\nabcde.gif 12,0,5,5\r\nabc.gif   10,0,5,5\r\n");
}

TEST_F(BatchTest, SeparateFilesWritesAMapBesideEachImage) {
  for (const char* p : {"/b/fen.gif", "/b/harbour.bmp"}) AddImage(p);
  state.SeparateFiles = true;
  Choose({"/b/fen.gif", "/b/harbour.bmp"});
  doc.RunBatch();
  EXPECT_NE(files.files["/b/fen.htm"].find("coords='10,0,5,5'"), std::string::npos);
  EXPECT_NE(
      files.files["/b/harbour.htm"].find("<area href='#01' alt='' shape='polygon' coords='3,3,4,4'>"),
      std::string::npos);
  EXPECT_EQ(view.status[engine::StatusField::Progress1], "2 images processed.");
  EXPECT_EQ(files.files.count("/out/report.txt"), 0u);
}

TEST_F(BatchTest, MapsThatCannotBeSavedAreListedOnceAtTheEnd) {
  for (const char* p : {"/b/fen.gif", "/b/harbour.bmp", "/b/dune.gif"}) AddImage(p);
  files.unwritable = {"/b/fen.htm", "/b/dune.htm"};
  state.SeparateFiles = true;
  Choose({"/b/fen.gif", "/b/harbour.bmp", "/b/dune.gif"});
  doc.RunBatch();
  EXPECT_TRUE(files.files.count("/b/harbour.htm"));
  ASSERT_EQ(view.errors.size(), 1u);  // one message, not one box per image
  EXPECT_EQ(view.errors[0],
            "The map could not be saved to \"/b/fen.htm\": Permission denied\r\n"
            "The map could not be saved to \"/b/dune.htm\": Permission denied");
  EXPECT_EQ(view.status[engine::StatusField::Progress1], "3 images processed.");
}

TEST_F(BatchTest, AMapBesideAnImageIsNotSavedOverAPicture) {
  for (const char* p : {"/b/fen.gif", "/b/dune.gif"}) AddImage(p);
  files.files["/b/fen.htm"] = "GIF89a and the rest of a picture";
  state.SeparateFiles = true;
  Choose({"/b/fen.gif", "/b/dune.gif"});
  const Document::BatchResult result = doc.RunBatch();
  EXPECT_EQ(result.mapsWritten, 1);
  EXPECT_EQ(result.mapsFailed, 1);
  EXPECT_EQ(files.files["/b/fen.htm"], "GIF89a and the rest of a picture");
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find("\"/b/fen.htm\" holds a picture"), std::string::npos) << view.errors[0];
}

TEST_F(BatchTest, StopDuringTheSecondOfFive) {
  for (int i = 0; i < 5; ++i) AddImage("/b/" + std::to_string(i) + ".gif");
  state.TextOutputPath = "/out/report.txt";
  files.files["/out/report.txt"] = "kept";
  stopAt = 2;
  Choose({"/b/0.gif", "/b/1.gif", "/b/2.gif", "/b/3.gif", "/b/4.gif"});
  doc.RunBatch();
  EXPECT_EQ(created, 2);
  EXPECT_EQ(view.status[engine::StatusField::Progress1], "1 images processed.");
  EXPECT_EQ(files.files["/out/report.txt"], "kept");
  EXPECT_FALSE(view.visibleBars.count(0));
}

TEST_F(BatchTest, NothingToDo) {
  // All files missing.
  state.TextOutputPath = "/out/r.txt";
  Choose({"/b/x.gif", "/b/y.gif"});
  doc.RunBatch();
  EXPECT_EQ(view.status[engine::StatusField::Progress1], "0 images processed.");

  // Report mode without a path: nothing runs.
  view.status.clear();
  state.TextOutputPath.clear();
  AddImage("/b/a.gif");
  Choose({"/b/a.gif"});
  doc.RunBatch();
  EXPECT_EQ(created, 0);
  EXPECT_TRUE(view.status.empty());

  // Cancelled dialog.
  state.TextOutputPath = "/out/r.txt";
  dialog.answers = {{0, {}, 1}};
  EXPECT_FALSE(doc.RunBatch().ran);
  EXPECT_EQ(created, 0);
}

TEST_F(BatchTest, MoreFilesThanA16BitCountHolds) {
  std::vector<std::string> chosen;
  for (int i = 0; i < 40000; ++i) chosen.push_back("/b/gone" + std::to_string(i) + ".gif");
  chosen.back() = "/b/fen.gif";
  AddImage("/b/fen.gif");
  state.TextOutputPath = "/out/r.txt";
  Choose(chosen);
  EXPECT_EQ(doc.RunBatch().processed, 1);
  EXPECT_EQ(files.files["/out/r.txt"], "fen.gif 10,0,5,5\r\n");
  EXPECT_EQ(view.progress.back(), std::make_pair(0, 100));
}

TEST_F(BatchTest, TheDialogSeesBatchRunningAndItsSettings) {
  bool runningWhileOpen = false;
  dialog.whileOpen = [&] {
    runningWhileOpen = state.BatchRunning;
    state.TextOutputPath = "/typed/in/panel.txt";  // as the panel does
  };
  dialog.answers = {{0, {}, 1}};
  state.ImagePath = "/b/last.gif";
  files.folders.insert("/b/");
  doc.RunBatch();
  EXPECT_TRUE(runningWhileOpen);
  EXPECT_FALSE(state.BatchRunning);
  EXPECT_EQ(state.TextOutputPath, "/typed/in/panel.txt");
  const FakeDialog::Shown& s = dialog.shown.back();
  EXPECT_EQ(s.FileFlags, 20996);
  EXPECT_EQ(s.DialogTitle, "Batch...");
  EXPECT_EQ(s.Filter,
            "Image Files "
            "(*.gif;*.jpg;*.jpeg;*.png;*.bmp;*.dib;*.emf;*.wmf;*.ico;*.cur;*.pbm;*.pgm;*.ppm;*.xbm;*.xpm;*.svg;*.svgz)|"
            "*.gif;*.jpg;*.jpeg;*.png;*.bmp;*.dib;*.emf;*.wmf;*.ico;*.cur;*.pbm;*.pgm;*.ppm;*.xbm;*.xpm;*.svg;*.svgz|"
            "All Files (*.*)|*.*|");
  EXPECT_EQ(s.InitDir, "/b/");
  EXPECT_EQ(s.FileName, "");
}

TEST_F(BatchTest, PicturesThatCannotBeReadAreSkippedAndListedOnce) {
  AddImage("/b/fen.gif");
  files.files["/b/broken.gif"] = "junk";
  state.TextOutputPath = "/out/r.txt";
  Choose({"/b/broken.gif", "/b/fen.gif"});
  EXPECT_EQ(doc.RunBatch().unreadable, 1);
  EXPECT_EQ(files.files["/out/r.txt"], "fen.gif 10,0,5,5\r\n");
  EXPECT_EQ(view.status[engine::StatusField::Progress1], "1 images processed.");
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find("/b/broken.gif"), std::string::npos);

  // A report that cannot be written is said so.
  files.unwritable.insert("/out/r.txt");
  view.errors.clear();
  Choose({"/b/fen.gif"});
  EXPECT_TRUE(doc.RunBatch().reportFailed);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find("/out/r.txt"), std::string::npos);
}

}  // namespace
}  // namespace morvane::document
