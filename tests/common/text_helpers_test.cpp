#include "common/text_helpers.h"

#include <vector>

#include <gtest/gtest.h>

namespace morvane::common {
namespace {

TEST(TextHelpersTest, CuttersAtADelimiter) {
  struct Case {
    const char* text;
    const char* delimiter;
    bool emptyIfAbsent;
    int compare;
    const char* before;
    const char* after;
    const char* afterLast;
  };
  const Case cases[] = {
      {"a=b=c", "=", false, kBinaryCompare, "a", "b=c", "c"},
      {"a=b=c", ";", false, kBinaryCompare, "a=b=c", "a=b=c", "a=b=c"},
      {"a=b=c", ";", true, kBinaryCompare, "", "", ""},
      {"xABy", "ab", true, kBinaryCompare, "", "", ""},
      {"xABy", "ab", true, kTextCompare, "x", "y", "y"},
      {"aXbxc", "x", false, kTextCompare, "a", "bxc", "c"},
      {"aXbxc", "x", false, kBinaryCompare, "aXb", "c", "c"},
      {"a=b", "", false, kBinaryCompare, "a=b", "a=b", ""},
      {"", "=", false, kBinaryCompare, "", "", ""},
      {"=x=", "=", false, kBinaryCompare, "", "x=", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + c.delimiter + " mode " + std::to_string(c.compare));
    EXPECT_EQ(StrBefore(c.text, c.delimiter, c.emptyIfAbsent, c.compare), c.before);
    EXPECT_EQ(StrAfter(c.text, c.delimiter, 0, c.emptyIfAbsent, c.compare), c.after);
    EXPECT_EQ(StrAfterLast(c.text, c.delimiter, c.emptyIfAbsent, c.compare), c.afterLast);
  }
  EXPECT_EQ(StrAfter("key=value", "=", 3), "val");
  EXPECT_EQ(StrAfter("key=va", "=", 5), "va");
}

TEST(TextHelpersTest, StretchBetweenTwoDelimiters) {
  struct Case {
    const char* text;
    const char* start;
    const char* end;
    int compare;
    const char* included;
    const char* excluded;
  };
  const Case cases[] = {
      {"x<map name=a>y</map>z", "<map", "</map>", kBinaryCompare, "<map name=a>y</map>", " name=a>y"},
      {"x<MAP name=a>y</Map>z", "<map", "</map>", kTextCompare, "<MAP name=a>y</Map>", " name=a>y"},
      {"x<MAP name=a>y</Map>z", "<map", "</map>", kBinaryCompare, "", ""},
      {"x<map>y", "<map", "</map>", kBinaryCompare, "<map>y", ">y"},  // no end: to the end
      {"[]", "[", "]", kBinaryCompare, "[]", ""},
      {"a]b[c", "[", "]", kBinaryCompare, "[c", "c"},  // the end counts only after the start
      {"ab[", "[", "]", kBinaryCompare, "[", ""},
      {"", "[", "]", kBinaryCompare, "", ""},
      {"a[b]", "", "]", kBinaryCompare, "", ""},
      {"a[b]", "[", "", kBinaryCompare, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrBetween(c.text, c.start, c.end, c.compare, false), c.included);
    EXPECT_EQ(StrBetween(c.text, c.start, c.end, c.compare, true), c.excluded);
  }
}

TEST(TextHelpersTest, FirstOrLastOfSeveralCharacters) {
  struct Case {
    std::int32_t start;
    const char* text;
    const char* set;
    int compare;
    bool reverse;
    std::size_t expected;
  };
  const Case cases[] = {
      {1, "ab;c,d", ",;", kBinaryCompare, false, 3},
      {-1, "ab;c,d", ",;", kBinaryCompare, true, 5},
      {4, "ab;c,d", ",;", kBinaryCompare, false, 5},
      {4, "ab;c,d", ",;", kBinaryCompare, true, 3},
      {0, "ab;c,d", ",;", kBinaryCompare, false, 3},
      {1, "ab;c,d", "xy", kBinaryCompare, false, 0},
      {1, "abC", "c", kBinaryCompare, false, 0},
      {1, "abC", "c", kTextCompare, false, 3},
      {1, "abC", "c", 2, false, 3},
      {1, "abC", "c", 7, false, 0},  // unknown modes compare exactly
      {1, "", ",", kBinaryCompare, false, 0},
      {1, "a,b", "", kBinaryCompare, false, 0},
      {1, "caf\xC3\xA9!", "\xC3\xA9", kBinaryCompare, false, 4},  // é is one character of the set
      {1, "x\xC3\xA8y", "\xC3\xA9", kBinaryCompare, false, 0},    // è shares é's lead byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InStrAny(c.start, c.text, c.set, c.compare, c.reverse), c.expected)
        << c.text << " set " << c.set << " from " << c.start;
  }
}

TEST(TextHelpersTest, TrailingLineEnds) {
  EXPECT_EQ(TrimTrailingCrLf("x\r\n\r\n"), "x");
  EXPECT_EQ(TrimTrailingCrLf("x\n"), "x\n");
  EXPECT_EQ(TrimTrailingCrLf("x\r"), "x\r");
  EXPECT_EQ(TrimTrailingCrLf("\r\n"), "");
}

std::vector<std::string> Walk(const std::string& text, const char* delimiter = "\r\n") {
  TokenReader reader;
  std::vector<std::string> tokens;
  for (std::string t = reader.First(text, delimiter); !t.empty(); t = reader.Next(text)) {
    tokens.push_back(t);
  }
  return tokens;
}

TEST(TokenTest, WalkStopsAtTheFirstEmptyToken) {
  using Tokens = std::vector<std::string>;
  EXPECT_EQ(Walk("a\r\nb\r\n"), (Tokens{"a", "b"}));
  EXPECT_EQ(Walk("a\r\n\r\nb"), Tokens{"a"});
  EXPECT_EQ(Walk("one|two||three", "|"), (Tokens{"one", "two"}));
  EXPECT_EQ(Walk(""), Tokens{});
  EXPECT_EQ(Walk("abc", ""), Tokens{});
}

TEST(TokenTest, PositionAfterTheEndRestartsTheWalk) {
  TokenReader reader;
  const std::string text = "a,b";
  EXPECT_EQ(reader.First(text, ","), "a");
  EXPECT_EQ(reader.Next(text), "b");
  EXPECT_EQ(reader.Next(text), "");  // past the end; the position goes back to 0
  EXPECT_EQ(reader.Next(text), "a");
}

TEST(TokenTest, PositionArgumentSetsAndReceivesThePlace) {
  TokenReader reader;
  const std::string text = "k1=v1;k2=v2";
  std::int32_t pos = 4;
  EXPECT_EQ(reader.Next(text, ";", &pos), "v1");
  EXPECT_EQ(pos, 7);
  EXPECT_EQ(reader.Next(text, "=", &pos), "k2");
  EXPECT_EQ(pos, 10);
  std::int32_t rest = -1;
  EXPECT_EQ(reader.Next(text, std::nullopt, &rest), "v2") << "a negative position asks for the rest";
  EXPECT_EQ(rest, 12);
  std::int32_t past = 12;
  EXPECT_EQ(reader.Next(text, std::nullopt, &past), "");
  EXPECT_EQ(past, 12) << "not written past the end";
  // Any one character of the delimiter ends a token.
  std::int32_t start = 0;
  EXPECT_EQ(reader.Next("a,b;c", ",;", &start, true), "a");
  EXPECT_EQ(reader.Next("a,b;c", std::nullopt, nullptr, true), "b");
  EXPECT_EQ(reader.Next("a,b;c", std::nullopt, nullptr, true), "c");
}

TEST(TokenTest, SharedWalkIsOneForTheProgram) {
  EXPECT_EQ(GetFirstToken("a\r\nb"), "a");
  EXPECT_EQ(GetFirstToken("x;y", ";"), "x");  // a new walk restarts the old one
  EXPECT_EQ(GetNextToken("x;y"), "y");
  EXPECT_EQ(GetNextToken("x;y"), "");
}

struct StyleCase {
  const char* name;
  const char* tag;
  const char* attribute;
  bool styleFirst;
  const char* expected;
};

void PrintTo(const StyleCase& c, std::ostream* os) { *os << c.name; }

class StyleValueTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(StyleValueTest, ReadsTheAttribute) {
  const StyleCase& c = GetParam();
  EXPECT_EQ(GetStyleValue(c.tag, c.attribute, c.styleFirst), c.expected) << c.tag;
}

constexpr const char* kArea = R"(<area shape="poly" coords="1,2,3,4" href='x.htm'>)";
constexpr const char* kAreaOpen = R"(<area shape="poly" coords="1,2,3,4" href='x.htm')";

INSTANTIATE_TEST_SUITE_P(
    Cases, StyleValueTest,
    ::testing::Values(
        StyleCase{"DoubleQuoted", kArea, "shape", false, "poly"},
        StyleCase{"Coords", kArea, "COORDS", false, "1,2,3,4"},
        StyleCase{"SingleQuoted", kArea, "href", false, "x.htm"},
        StyleCase{"QuotedNeedsClosingBracket", kAreaOpen, "shape", false, ""},
        StyleCase{"QuotedNeedsClosingBracketToo", kAreaOpen, "href", false, ""},
        StyleCase{"Unquoted", "<area coords=1,2 href=x>", "coords", false, "1,2"},
        StyleCase{"UnquotedAtBracket", "<area coords=1,2>", "coords", false, "1,2"},
        StyleCase{"UnquotedWithoutBracketTakesTheRest", "<area coords=1,2 href=x", "coords", false,
                  "1,2 href=x"},
        StyleCase{"BlanksAroundEquals", "<area coords = \"5,6\">", "coords", false, "5,6"},
        StyleCase{"EmptyValue", "<area alt=\"\" coords=\"1\">", "alt", false, ""},
        StyleCase{"Absent", kArea, "alt", false, ""}, StyleCase{"EmptyTag", "", "alt", false, ""},
        StyleCase{"BracketInsideQuotes", "<area alt=\"a>b\" coords=\"1\">", "alt", false, ""},
        // The name counts only as an attribute of its own.
        StyleCase{"TitleHoldingTheName", "<area alt=\"Shapes\" shape=\"poly\">", "shape", false, "poly"},
        StyleCase{"TitleHoldingNameAndEquals", "<area alt=\"coords=9\" coords=\"1,2\">", "coords", false,
                  "1,2"},
        StyleCase{"TitleHoldingNameAndBlank", "<area title=\"coords 2\" coords=\"7,8\">", "coords",
                  false, "7,8"},
        StyleCase{"UnquotedTitleHoldingTheName", "<area alt=myshape shape=rect>", "shape", false,
                  "rect"},
        StyleCase{"LongerNameIsAnotherAttribute", "<area data-shape=\"x\" shape=\"circle\">", "shape",
                  false, "circle"},
        StyleCase{"NameWithoutEqualsIsSkipped", "<area href title=\"x\" nohref=\"1\" href=\"y\">",
                  "href", false, "y"},
        StyleCase{"AttributesOnNewLines", "<area\n\tshape=\"poly\"\r\n coords=\"3,4\">", "coords", false,
                  "3,4"},
        StyleCase{"AttributeAtTheStart", "src=\"a.gif\">", "src", false, "a.gif"},
        // Style properties, when asked for, come first.
        StyleCase{"StyleProperty", "<p style=\"color: red; width: 5\">", "width", true, "5"},
        StyleCase{"StylePropertyFirst", "<p style=\"color: red; width: 5\">", "color", true, "red"},
        StyleCase{"StyleWinsOverAttribute", "<img width=\"9\" style=\"width: 5\">", "width", true, "5"},
        StyleCase{"StyleIgnoredWhenNotAsked", "<img width=\"9\" style=\"width: 5\">", "width", false,
                  "9"},
        StyleCase{"StyleWithoutPropertyFallsBack", "<img width=\"9\" style=\"color: red\">", "width",
                  true, "9"},
        StyleCase{"StylePropertyNotInsideAnother", "<p style=\"max-width: 10; width: 5\">", "width",
                  true, "5"},
        StyleCase{"StyleQuotedPropertyValue", "<p style='font: \"A B\"; x: 1'>", "font", true, "A B"},
        StyleCase{"UnquotedStyleFallsBack", "<img style=width:5 width=\"9\">", "width", true, "9"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace morvane::common
