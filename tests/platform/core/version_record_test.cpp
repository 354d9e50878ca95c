#include "platform/core/version_record.h"

#include <gtest/gtest.h>

namespace morvane::core {
namespace {

TEST(VersionRecordTest, EachModuleCarriesTheRecordItWasBuiltWith) {
  const VersionRecord& record = ThisVersionRecord();
  EXPECT_EQ(record.title, "MorvaneTest");
  EXPECT_EQ(record.major, 2);
  EXPECT_EQ(record.minor, 5);
  EXPECT_EQ(record.revision, 7);
  EXPECT_EQ(record.companyName, "Morvane");
}

}  // namespace
}  // namespace morvane::core
