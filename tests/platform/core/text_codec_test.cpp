#include "platform/core/text_codec.h"

#include <gtest/gtest.h>

namespace morvane::core {
namespace {

TEST(TextCodecTest, RecognisesWellFormedUtf8Only) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain ASCII", true},
      {"caf\xC3\xA9", true},        // é
      {"\xE2\x82\xAC", true},       // €
      {"\xF0\x9F\x98\x80", true},   // U+1F600
      {"caf\xE9", false},           // Windows-1252 é
      {"\xC3", false},              // cut short
      {"\xC0\xAF", false},          // overlong "/"
      {"\xE0\x80\xAF", false},      // overlong "/"
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\x80", false},              // lone continuation byte
      {std::string("a\0b", 3), true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(TextCodecTest, DecodeKeepsUtf8AndReadsEverythingElseAsWindows1252) {
  EXPECT_EQ(DecodeText("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(DecodeText("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(DecodeText("\x80 \x9F \xA0"), "\xE2\x82\xAC \xC5\xB8 \xC2\xA0");  // € Ÿ nbsp
  EXPECT_EQ(DecodeText("\x81\x8D"), "\xC2\x81\xC2\x8D");  // undefined bytes kept as C1
  EXPECT_EQ(DecodeText("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
  EXPECT_EQ(StripUtf8Bom("\xEF\xBB\xBFx"), "x");
  EXPECT_EQ(StripUtf8Bom("x"), "x");
}

TEST(TextCodecTest, LinesEndWithLfOrCrLfAndAreWrittenWithCrLf) {
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitLines("a\rb\n"), Lines{"a\rb"});
  EXPECT_EQ(ToCrLf("a\nb\r\nc\rd\n"), "a\r\nb\r\nc\rd\r\n");
}

}  // namespace
}  // namespace morvane::core
