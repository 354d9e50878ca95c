#include <gtest/gtest.h>

#include <QStringList>

#include <string>

#include "common/settings_store.h"
#include "tests/app/program_fixture.h"

namespace morvane::testing {
namespace {

// The number a settings key holds, -1 when absent.
int Stored(const std::string& file, const char* section, const std::string& key) {
  return common::ReadIniNumber(file, section, key, -1).ToInt32();
}

// The stored visibility of the band that holds the key, -1 when no band does.
int BandVisible(const std::string& file, const char* bandKey) {
  for (int n = 1; n <= 4; ++n) {
    const std::string at = std::to_string(n);
    if (common::ReadIniString(file, "pbCoolBar", at + "_Key") == bandKey) {
      return Stored(file, "pbCoolBar", at + "_Visible");
    }
  }
  return -1;
}

// Two programs A and B started over one settings file, A ended before B: each keeps
// what the other changed, and a key both changed is the one that ended last's.
TEST(TwoProgramsUnderX, EachKeepsTheOthersSettings) {
  struct Expect {
    const char* section;
    const char* key;
    int value;
  };
  struct Row {
    const char* name;
    QStringList a, b;  // keys typed into each
    bool moveA;        // A's window moved to 300, 200
    std::vector<Expect> file;
    int factorsVisible;  // the Factors band, -1 when nothing is stored for it
  };
  const Row rows[] = {
      {"each a key of its own",
       {QStringLiteral("ctrl+g")},
       {QStringLiteral("F6")},
       false,
       {{"fwMain", "mViewGrid", 0}, {"fwMain", "mViewPoints", 0}, {"fwMain", "ZoomScale", 0}},
       1},
      {"both the same key",
       {QStringLiteral("ctrl+Next")},
       {QStringLiteral("alt+v"), QStringLiteral("6")},
       false,
       {{"fwMain", "ZoomScale", 2}, {"fwMain", "mViewGrid", 1}, {"fwMain", "mViewPoints", 1}},
       1},
      {"a band and a key",
       {QStringLiteral("alt+v"), QStringLiteral("t"), QStringLiteral("f")},
       {QStringLiteral("F6")},
       false,
       {{"fwMain", "mViewPoints", 0}, {"fwMain", "mViewGrid", 1}},
       0},
      {"the placement and a key",
       {},
       {QStringLiteral("F7")},
       true,
       {{"fwMain_State", "Left", 300},
        {"fwMain_State", "Top", 200},
        {"fwMain", "mSettingsConnected", 0}},
       1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ProgramFolder folder;
    const std::string file = folder.SettingsFile();
    ASSERT_TRUE(common::WriteIniString(file, "fwMain", "mViewGrid", "1"));
    ASSERT_TRUE(common::WriteIniString(file, "fwMain", "mViewPoints", "1"));
    // The view commands want a picture.
    const std::string image =
        folder.folder.Write("shapes.gif", ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
    RunningProgram a(folder, {image});
    RunningProgram b(folder, {image});
    ASSERT_TRUE(a.HasWindow());
    ASSERT_TRUE(b.HasWindow());
    if (row.moveA) {
      ASSERT_TRUE(a.MoveWindow(300, 200));
    }
    ASSERT_TRUE(a.Keys(row.a));
    ASSERT_TRUE(a.Exit());
    ASSERT_TRUE(b.Keys(row.b));
    ASSERT_TRUE(b.Exit());
    for (const Expect& e : row.file) EXPECT_EQ(Stored(file, e.section, e.key), e.value) << e.key;
    EXPECT_EQ(BandVisible(file, "Factors"), row.factorsVisible);
  }
}

}  // namespace
}  // namespace morvane::testing
