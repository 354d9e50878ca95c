// A map's links through reading, the Edit commands and saving: an area's link that is
// not its number stays with its contour.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/edit_commands.h"
#include "document/document.h"
#include "engine/contour_points.h"
#include "tests/document/fakes.h"

namespace morvane::app {
namespace {

using document::testing::FakeDialog;
using document::testing::FakeFiles;
using document::testing::FakeImages;
using document::testing::WindowSide;
using engine::ContourSet;

constexpr const char* kMap = "/m/plan.htm";

// The area lines of a saved map, in file order.
std::vector<std::string> AreaLines(const std::string& map) {
  std::vector<std::string> lines;
  for (std::size_t at = map.find("<area"); at != std::string::npos; at = map.find("<area", at + 1)) {
    lines.push_back(map.substr(at, map.find('>', at) + 1 - at));
  }
  return lines;
}

struct Rig {
  WindowSide side;
  FakeFiles files;
  FakeImages images;
  FakeDialog dialog;
  document::Document doc{side.model, side.view.Roles(), side.runs, files, images, dialog};

  // A map of two squares apart: the linked one first, then "Yard".
  void Read(const std::string& href) {
    files.files["/m/plan.gif"] = "picture";
    images.sizes["/m/plan.gif"] = {40, 20};
    files.files[kMap] =
        "<html><body><img src='plan.gif' usemap='#m'><map name='m'>\r\n"
        "<area href=\"" +
        href +
        "\" alt='Kitchen' shape='polygon' coords='1,1,1,9,9,9,9,1'>\r\n"
        "<area href='#01' alt='Yard' shape='polygon' coords='20,1,20,9,28,9,28,1'>\r\n"
        "</map></body></html>\r\n";
    side.model.state.MapPath = kMap;
    doc.LoadDocument();
  }
  void Edit(const std::function<void(ContourSet&)>& edit) {
    ContourSet set = side.model.Contours();
    edit(set);
    side.model.TakeContours(std::move(set));
  }
};

TEST(MapLinks, AnAreasOwnLinkSurvivesReadingEditingAndSaving) {
  struct Link {
    const char* what;
    std::string href;     // as the page gives it (in double quotes)
    std::string written;  // as the map writes it
    std::string entry;    // the titles list entry after reading
  };
  const Link links[] = {
      {"its number", "#00", "#00", "#00  Kitchen"},
      {"a relative link", "kitchen.html", "kitchen.html", "kitchen.html  Kitchen"},
      {"an absolute address", "https://example.org/rooms?id=4&amp;view=plan",
       "https://example.org/rooms?id=4&#38;view=plan", "https://example.org/rooms?id=4&view=plan  Kitchen"},
      {"a link with blanks", "my kitchen.html", "my kitchen.html", "my kitchen.html  Kitchen"},
      {"a link with two blanks", "a  b", "a  b", "a  b  Kitchen"},
      {"a quote", "it's.html", "it&#39;s.html", "it's.html  Kitchen"},
      {"a fragment that is no number", "#top", "#top", "#top  Kitchen"},
  };
  struct Edit {
    const char* what;
    std::function<void(Rig&)> apply;
    std::string coords;  // of the linked contour afterwards
    std::string yard;    // of the other, "" once it is gone
  };
  const std::string yard = "20,1,20,9,28,9,28,1";
  const Edit edits[] = {
      {"none", [](Rig&) {}, "1,1,1,9,9,9,9,1", yard},
      {"insert a point",
       [](Rig& r) { r.Edit([](ContourSet& s) { InsertPointAfter(s, 1, {0, 5}); }); },
       "1,1,0,5,1,9,9,9,9,1", yard},
      {"delete a point", [](Rig& r) { r.Edit([](ContourSet& s) { DeletePoint(s, 2); }); },
       "1,1,9,9,9,1", yard},
      {"move a point", [](Rig& r) { r.Edit([](ContourSet& s) { ChangePoint(s, 3, {10, 10}); }); },
       "1,1,1,9,10,10,9,1", yard},
      {"shift", [](Rig& r) { r.Edit([](ContourSet& s) { ShiftContours(s, 2, 3); }); },
       "3,4,3,12,11,12,11,4", "22,4,22,12,30,12,30,4"},
      {"resize", [](Rig& r) { r.Edit([](ContourSet& s) { ResizeContours(s, 2); }); },
       "2,2,2,18,18,18,18,2", "40,2,40,18,56,18,56,2"},
      {"start point", [](Rig& r) { r.Edit([](ContourSet& s) { SetBeginning(s, 3); }); },
       "9,9,9,1,1,1,1,9", yard},
      {"delete the other contour",
       [](Rig& r) { r.Edit([&](ContourSet& s) { DeleteContour(s, 7, r.side.model.NumberFormat()); }); },
       "1,1,1,9,9,9,9,1", ""},
      // The join keeps the first contour's link; the second's goes with its title.
      {"join with the next",
       [](Rig& r) { r.Edit([&](ContourSet& s) { r.side.engine.JoinContours(s, {4, 6}); }); },
       "9,9,9,1,1,1,1,9,9,9,20,9,28,9,28,1,20,1,20,9", ""},
  };
  for (const Link& link : links) {
    for (const Edit& edit : edits) {
      SCOPED_TRACE(std::string(link.what) + ", " + edit.what);
      Rig rig;
      rig.Read(link.href);
      ASSERT_EQ(rig.side.model.TitleEntries(), (std::vector<std::string>{link.entry, "#01  Yard"}));
      edit.apply(rig);
      ASSERT_TRUE(rig.doc.SaveMap());
      const std::vector<std::string> lines = AreaLines(rig.files.files[kMap]);
      const std::string linked =
          "<area href='" + link.written + "' alt='Kitchen' shape='polygon' coords='" + edit.coords + "'>";
      std::vector<std::string> expected = {linked};
      if (!edit.yard.empty())
        expected.push_back("<area href='#01' alt='Yard' shape='polygon' coords='" + edit.yard + "'>");
      EXPECT_EQ(lines, expected);
      // And it reads back as it was written.
      rig.doc.LoadDocument();
      EXPECT_EQ(rig.side.model.TitleEntries().front(), link.entry);
    }
  }
}

// A contour traced afresh gets its number as its link, beside a linked one.
TEST(MapLinks, ANewContourIsLinkedByItsNumber) {
  Rig rig;
  rig.Read("kitchen.html");
  rig.Edit([](ContourSet& s) {
    s.points.push_back(engine::Separator(s.count));
    for (engine::ContourPoint p : {engine::ContourPoint{31, 1}, {31, 5}, {35, 5}}) s.points.push_back(p);
    s.titles.push_back(engine::UntitledContour(s.count, "00"));
    ++s.count;
  });
  ASSERT_TRUE(rig.doc.SaveMap());
  const std::vector<std::string> lines = AreaLines(rig.files.files[kMap]);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[0].starts_with("<area href='kitchen.html' ")) << lines[0];
  EXPECT_EQ(lines[2], "<area href='#02' alt='' shape='polygon' coords='31,1,31,5,35,5'>");
}

// The centroid's placeholder is put in before the link: a link holding "%3" keeps it.
TEST(MapLinks, ALinkIsWrittenAsItStandsWithTheCentroidOn) {
  Rig rig;
  rig.side.view.centroid = true;
  rig.Read("room%31.html?q=%3");
  ASSERT_TRUE(rig.doc.SaveMap());
  EXPECT_EQ(AreaLines(rig.files.files[kMap]).front(),
            "<area href='room%31.html?q=%3' alt='Kitchen' centroid='05,05' shape='polygon' "
            "coords='1,1,1,9,9,9,9,1'>");
}

}  // namespace
}  // namespace morvane::app
