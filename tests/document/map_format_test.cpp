#include "document/map_format.h"

#include <gtest/gtest.h>

namespace morvane::document {
namespace {

using engine::ContourPoint;

TEST(EscapeHtmlTest, LeavesOnlyPlainAscii) {
  const std::pair<std::string, std::string> cases[] = {
      {"Lake", "Lake"},
      {"Tom's \"big\" <b>&</b>", "Tom&#39;s &#34;big&#34; &#60;b&#62;&#38;&#60;/b&#62;"},
      {"K\xC3\xB8"
       "benhavn \xE2\x82\xAC",
       "K&#248;benhavn &#8364;"},         // UTF-8 ø and €
      {"\xF0\x9F\x97\xBA", "&#128506;"},  // beyond the BMP
      {"a\r\nb\tc\x7F", "a&#13;&#10;b&#9;c&#127;"},
      {"bad \xFF byte", "bad &#65533; byte"},
      {"50%3 off", "50%3 off"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(EscapeHtml(in), out) << in;
}

TEST(DecodeHtmlTest, DecodesReferencesAndLeavesTheRest) {
  const std::pair<std::string, std::string> cases[] = {
      {"Tom&#39;s &#x22;big&#X22; &lt;&amp;&gt; &quot;&apos;", "Tom's \"big\" <&> \"'"},
      {"K&#248;benhavn",
       "K\xC3\xB8"
       "benhavn"},
      {"R&D and &amp without end", "R&D and &amp without end"},
      {"&nbsp; &unknown; &#; &#xZZ;", "&nbsp; &unknown; &#; &#xZZ;"},
      {"&#" + std::string(28, '0') + "65; &#" + std::string(29, '0') + "65;",  // the ";" too far off
       "A &#" + std::string(29, '0') + "65;"},
      {"&&&&&amp;", "&&&&&"},
      {"&#0; &#xD800; &#1114112; &#99999999999;", "\xEF\xBF\xBD \xEF\xBF\xBD \xEF\xBF\xBD \xEF\xBF\xBD"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(DecodeHtml(in), out) << in;
  EXPECT_EQ(DecodeHtml(std::string("a\0b", 3)),
            "a\xEF\xBF\xBD"
            "b");
  const std::string odd = "a'b\"c<d>e&f\xC3\xA9\r\n\x01";
  EXPECT_EQ(DecodeHtml(EscapeHtml(odd)), odd);
}

std::vector<HtmlTag> AllTags(std::string_view text) {
  std::vector<HtmlTag> tags;
  HtmlTag tag;
  for (TagReader reader(text); reader.Next(tag);) tags.push_back(tag);
  return tags;
}

TEST(TagReaderTest, ReadsAttributesAsABrowserDoes) {
  const auto tags = AllTags(
      "<HTML><!-- <area shape='x'> --><AREA Shape=\"polygon\" alt='a > b' COORDS=1,2,3,4 "
      "href = '#07' nohref>text</map ><img src=x.gif/><br/><p a=1 = b=2><unended shape='x'");
  ASSERT_EQ(tags.size(), 6u);
  EXPECT_EQ(tags[0].name, "html");
  EXPECT_EQ(tags[1].name, "area");
  EXPECT_EQ(*tags[1].Attribute("shape"), "polygon");
  EXPECT_EQ(*tags[1].Attribute("alt"), "a > b");
  EXPECT_EQ(*tags[1].Attribute("coords"), "1,2,3,4");
  EXPECT_EQ(*tags[1].Attribute("href"), "#07");
  EXPECT_EQ(*tags[1].Attribute("nohref"), "");
  EXPECT_EQ(tags[1].Attribute("title"), std::nullopt);
  EXPECT_EQ(tags[2].name, "/map");
  EXPECT_EQ(*tags[3].Attribute("src"), "x.gif/");  // unquoted values run to the ">"
  EXPECT_EQ(tags[4].name, "br");
  EXPECT_EQ(*tags[5].Attribute("b"), "2");
  EXPECT_EQ(tags[1].begin, 31u);  // the tag's own bytes, "<" to ">"
  EXPECT_EQ(tags[2].begin, tags[1].end + 4);

  // A repeated attribute counts once, as its first.
  const auto twice = AllTags("<area alt=first ALT='second'>");
  ASSERT_EQ(twice.size(), 1u);
  EXPECT_EQ(*twice[0].Attribute("alt"), "first");
}

// Pages built to be slow: a reader that looked far ahead at each "&" would take many
// minutes here, one that kept every tag and attribute a gigabyte.
TEST(ReadMapTextTest, HostilePagesReadInLinearTimeAndSpace) {
  const std::string img = "<img src='c.gif' usemap='#m'><map name='m'>";
  const std::string ampersands(4'000'000, '&');
  const MapContent amp =
      ReadMapText(img + "<area shape=polygon coords=1,1 alt='" + ampersands + "'></map>");
  ASSERT_EQ(amp.polygons.size(), 1u);
  EXPECT_EQ(amp.polygons[0].alt, ampersands);

  std::string tags = img;
  for (int i = 0; i < 1'000'000; ++i) tags += "<b x>";
  tags += "<area shape=polygon coords=2,2";
  for (int i = 0; i < 1'000'000; ++i) tags += " a";
  tags += "></map>";
  const MapContent many = ReadMapText(tags);
  ASSERT_EQ(many.polygons.size(), 1u);
  EXPECT_EQ(many.polygons[0].points, (std::vector<ContourPoint>{{2, 2}}));
}

TEST(ParseCoordsTest, AcceptsOnlyWholePairsInRange) {
  using Points = std::vector<ContourPoint>;
  EXPECT_EQ(ParseCoords("1,2,3,4"), (Points{{1, 2}, {3, 4}}));
  EXPECT_EQ(ParseCoords(" 1 , 2,+3,4 "), (Points{{1, 2}, {3, 4}}));
  EXPECT_EQ(ParseCoords("0,2147483647"), (Points{{0, 2147483647}}));
  // A shift can move points left of the image; a negative y would read as a separator.
  EXPECT_EQ(ParseCoords("-1,2,-2147483648,0"), (Points{{-1, 2}, {-2147483647 - 1, 0}}));
  for (const char* bad : {"", "1", "1,2,3", "1,,2,3", "1,2,", "1,x", "1.5,2", "1,-1", "-2147483649,0",
                          "2147483648,0", "99999999999999999999,1"}) {
    EXPECT_EQ(ParseCoords(bad), std::nullopt) << bad;
  }
}

TEST(IsOwnMapTest, HeaderAndEitherFooter) {
  const std::string header = MapHeaderLine("/pics/coast.gif", "coast.gif");
  EXPECT_EQ(
      header,
      "<html><body><img src='/pics/coast.gif' border=0 usemap='#coast.gif'><map name='coast.gif'>");
  const std::string body =
      header + "\r\n\r\n<area href='#00' alt='' shape='polygon' coords='1,1'>\r\n\r\n";
  std::string upper = body + "</map></body></html>\r\n";
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  struct Case {
    const char* what;
    std::string text;
    bool own;
  };
  const Case cases[] = {
      {"written now", body + "</map></body></html>\r\n", true},
      {"written by an older version", body + "</map></body><html>\r\n", true},
      {"several line ends after the footer", body + "</map></body></html>\r\n\r\n\r\n", true},
      {"other letter case", upper, true},
      {"empty", "", true},
      {"only line ends", "\r\n\r\n", true},
      {"edited at the end", body + "</map></body></html>\r\n<p>mine</p>", false},
      {"another image", MapHeaderLine("/pics/other.gif", "other.gif") + "\r\n\r\n</map></body></html>",
       false},
      {"a foreign page", "<html><body><p>hello</p></body></html>\r\n", false},
      {"LF line ends", header + "\n\n</map></body></html>\n", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsOwnMap(c.text, header), c.own) << c.what;
}

const char* const kMap =
    "<html><body><img src='pics/coast.gif' border=0 usemap='#coast.gif'><map name='coast.gif'>\r\n"
    "\r\n"
    "<area href='#00' alt='Lake' shape='polygon' coords='1,2,3,4,5,6'>\r\n"
    "<area href='#01' alt='' shape='rect' coords='0,0,9,9'>\r\n"
    "<area href='#02' alt='Bay' shape='POLYGON' coords='7,8,9,10'>\r\n"
    "\r\n"
    "</map></body></html>\r\n";

TEST(ReadMapTextTest, TakesPolygonsOfTheNamedMap) {
  const MapContent map = ReadMapText(kMap);
  EXPECT_TRUE(map.hasImage);
  EXPECT_EQ(map.src, "pics/coast.gif");
  EXPECT_EQ(map.usemap, "#coast.gif");
  EXPECT_TRUE(map.hasMapBlock);
  EXPECT_EQ(map.firstHref, "#00");
  ASSERT_EQ(map.polygons.size(), 2u);
  EXPECT_EQ(map.polygons[0].alt, "Lake");
  EXPECT_EQ(map.polygons[0].points, (std::vector<ContourPoint>{{1, 2}, {3, 4}, {5, 6}}));
  EXPECT_EQ(map.polygons[1].href, "#02");
  EXPECT_EQ(map.polygons[1].points, (std::vector<ContourPoint>{{7, 8}, {9, 10}}));
}

TEST(ReadMapTextTest, LayoutsAndFaults) {
  struct Case {
    const char* what;
    std::string text;
    std::optional<std::string> requiredSrc;
    bool image, block;
    std::vector<std::string> alts;  // of the polygons read
  };
  const std::string img = "<img src='c.gif' usemap='#c.gif'>";
  const Case cases[] = {
      {"capital names, double quotes, another order",
       "<IMG USEMAP=\"#c.gif\" SRC=\"c.gif\"><MAP NAME=\"C.GIF\">\n<AREA COORDS=\"1,1\" ALT=\"x\" "
       "SHAPE=\"Polygon\" HREF=\"#00\">\n</MAP>",
       {},
       true,
       true,
       {"x"}},
      {"a title holding the words shape and coords",
       img + "<map name='c.gif'><area href='#00' alt=\"shape='rect' coords=''\" shape='polygon' "
             "coords='1,1'></map>",
       {},
       true,
       true,
       {"shape='rect' coords=''"}},
      {"escaped title",
       img + "<map name='c.gif'><area alt='Tom&#39;s &lt;bay&gt;' shape=polygon coords=1,1></map>",
       {},
       true,
       true,
       {"Tom's <bay>"}},
      {"areas without usable coords are skipped",
       img + "<map name='c.gif'><area alt=a shape=polygon coords='1,2,3'><area alt=b shape=polygon "
             "coords='x,1'>"
             "<area alt=c shape=polygon coords=''><area alt=d shape=polygon><area alt=e shape=polygon "
             "coords='5,5'></map>",
       {},
       true,
       true,
       {"e"}},
      {"several areas on one line, LF line ends",
       img + "\n<map name='c.gif'>\n<area alt=a shape=polygon coords=1,1><area alt=b shape=polygon "
             "coords=2,2>\n</map>\n",
       {},
       true,
       true,
       {"a", "b"}},
      {"areas after the map end are not read",
       img + "<map name='c.gif'><area alt=a shape=polygon coords=1,1></map><area alt=b shape=polygon "
             "coords=2,2>",
       {},
       true,
       true,
       {"a"}},
      {"the map before the img tag",
       "<map name='c.gif'><area alt=a shape=polygon coords=1,1></map>" + img,
       {},
       true,
       true,
       {"a"}},
      {"usemap naming a map the file lacks",
       img + "<map name='other'><area shape=polygon coords=1,1></map>",
       {},
       true,
       false,
       {}},
      {"a map without areas", img + "<map name='c.gif'>\r\n\r\n</map>", {}, true, false, {}},
      {"no img tag", "<map name='c.gif'><area shape=polygon coords=1,1></map>", {}, false, false, {}},
      {"src asked for and found",
       "<img src='x.gif' usemap='#x'>" + img + "<map name='c.gif'><area shape=polygon coords=1,1></map>",
       std::string("c.gif"),
       true,
       true,
       {""}},
      {"src asked for, other case",
       img + "<map name='c.gif'><area shape=polygon coords=1,1></map>",
       std::string("C.GIF"),
       false,
       false,
       {}},
  };
  for (const Case& c : cases) {
    const MapContent map = ReadMapText(c.text, c.requiredSrc);
    EXPECT_EQ(map.hasImage, c.image) << c.what;
    EXPECT_EQ(map.hasMapBlock, c.block) << c.what;
    std::vector<std::string> alts;
    for (const MapArea& a : map.polygons) alts.push_back(a.alt);
    EXPECT_EQ(alts, c.alts) << c.what;
  }
}

TEST(ReadMapTextTest, FirstHrefOfAnyArea) {
  const MapContent map = ReadMapText(
      "<img src=a usemap=#m><map name=m><area shape=rect href='#0001'><area shape=polygon coords=1,1 "
      "href=#5></map>");
  EXPECT_EQ(map.firstHref, "#0001");
  const MapContent none =
      ReadMapText("<img src=a usemap=#m><map name=m><area shape=polygon coords=1,1></map>");
  EXPECT_EQ(none.firstHref, std::nullopt);
}

}  // namespace
}  // namespace morvane::document
