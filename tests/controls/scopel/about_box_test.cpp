#include <gtest/gtest.h>

#include <vector>

#include "controls/kit/control_kit.h"
#include "controls/kit/library_about.h"

namespace morvane::kit {
namespace {

core::VersionRecord Record(int major, int minor, int revision, std::string description,
                           std::string comments) {
  core::VersionRecord r;
  r.title = std::move(description);
  r.major = major;
  r.minor = minor;
  r.revision = revision;
  r.comments = std::move(comments);
  r.trademarks = "Scopel";
  r.copyright = "(C) Morvane";
  return r;
}

TEST(AboutBox, VersionTextBeginsWithABlank) {
  const struct {
    int major, minor, revision;
    const char* text;
  } cases[] = {{6, 9, 0, " 6.09"},
               {6, 9, 1, " 6.09.0001"},
               {6, 9, 12, " 6.09.0012"},
               {1, 0, 0, " 1.00"},
               {2, 45, 9999, " 2.45.9999"}};
  for (const auto& c : cases) {
    EXPECT_EQ(VersionText(Record(c.major, c.minor, c.revision, "", "")), c.text);
  }
}

TEST(AboutBox, TextShowsTwoCommentPartsAndOneLinePerSentence) {
  struct Case {
    std::string description, comments;
    QString text;
    QString extra = {};
  };
  const QString blanks(60, QLatin1Char(' '));
  const std::vector<Case> cases = {
      {"Zoom view. Pixel grid", "one, two, three",
       "Zoom view.\r\nPixel grid\r\nVersion 6.09\r\n" + blanks + "\r\n(C) Morvane\r\none\r\ntwo\r\n"},
      {"Zoom view", "https://morvane.example.org",
       "Zoom view\r\nVersion 6.09\r\n" + blanks + "\r\n(C) Morvane\r\nhttps://morvane.example.org\r\n"},
      // Empty comments give no empty line.
      {"Zoom view", "", "Zoom view\r\nVersion 6.09\r\n" + blanks + "\r\n(C) Morvane\r\n"},
      // A host's extra text stands below the version.
      {"Splitter", "", "Splitter\r\nVersion 6.09\r\nFor tests\r\n" + blanks + "\r\n(C) Morvane\r\n",
       "For tests"},
  };
  for (const Case& c : cases) {
    const AboutContent about = BuildAboutContent(Record(6, 9, 0, c.description, c.comments), c.extra);
    EXPECT_EQ(about.caption, "About Scopel");
    EXPECT_EQ(about.text, c.text) << c.comments;
  }
}

}  // namespace
}  // namespace morvane::kit
