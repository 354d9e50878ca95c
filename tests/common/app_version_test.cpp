#include "common/app_version.h"

#include <gtest/gtest.h>

#include "common/app_message_box.h"
#include "tests/support/fake_message_box.h"

namespace morvane::common {
namespace {

TEST(AppVersionTest, LongAndShortForms) {
  struct Case {
    int major, minor, revision;
    const char* longForm;
    const char* shortForm;
  };
  const Case cases[] = {
      {2, 20, 0, "2.20", "2.20"},
      {2, 5, 7, "2.05.0007", "2.5.7"},
      {3, 0, 0, "3.00", "3.00"},
      {1, 150, 0, "1.50", "1.150"},
      {1, 2, 5, "1.02.0005", "1.2.5"},
      {1, 2, 0, "1.02", "1.2"},
      {10, 99, 9999, "10.99.9999", "10.99.9999"},
      {0, 1, 1, "0.01.0001", "0.1.1"},
  };
  for (const Case& c : cases) {
    core::VersionRecord record;
    record.major = c.major;
    record.minor = c.minor;
    record.revision = c.revision;
    EXPECT_EQ(GetAppVersion(false, record), c.longForm);
    EXPECT_EQ(GetAppVersion(true, record), c.shortForm);
  }
  EXPECT_EQ(GetAppVersion(false), "1.02.0005") << "the record this test program was built with";
  EXPECT_EQ(GetAppVersion(true), "1.2.5");
}

TEST(AppMessageBoxTest, TheModulesIconAddsTheUserIconStyle) {
  morvane::testing::FakeMessageBox box(core::kAnswerYes);
  EXPECT_EQ(MessageBoxWithAppIcon(box, 0, "Scopel 1.00", 0, "About", 1, 0), core::kAnswerYes);
  EXPECT_EQ(MessageBoxWithAppIcon(box, 42, "Save?", core::kMbYesNo | core::kMbIconQuestion, "Morvane"),
            core::kAnswerYes);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].style, core::kMbUserIcon);
  EXPECT_EQ(box.shown[0].iconId, 1);
  EXPECT_EQ(box.shown[0].caption, "About");
  EXPECT_EQ(box.shown[0].text, "Scopel 1.00");
  EXPECT_EQ(box.shown[1].style, core::kMbYesNo | core::kMbIconQuestion);
  EXPECT_EQ(box.shown[1].iconId, std::nullopt);
  EXPECT_EQ(box.shown[1].owner, 42);
}

}  // namespace
}  // namespace morvane::common
