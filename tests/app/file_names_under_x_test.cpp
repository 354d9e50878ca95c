#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/settings_store.h"
#include "tests/app/program_fixture.h"

namespace morvane::testing {
namespace {

// The program started with a file name as a shell hands it over: a name whose bytes are
// not UTF-8, a relative one that looks like an option. The picture opens (F5 traces it,
// Ctrl+S saves its map beside it under the same bytes) and the recent files keep where
// it is.
TEST(FileNamesUnderX, TheCommandLineKeepsTheBytesAndTheFolder) {
  struct Row {
    const char* name;
    const char* file;   // the picture, in the folder
    bool relative;      // given as its name alone, from the folder
    const char* map;    // saved beside it
    bool recentIsText;  // the settings file (UTF-8 text) can hold the path as it is
  };
  const Row rows[] = {
      {"the byte 0xE9 alone", "caf\xE9.gif", false, "caf\xE9.htm", false},
      {"a relative name like an option", "-n.gif", true, "-n.htm", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ProgramFolder folder;
    std::filesystem::create_directory(folder.folder.File("work"));
    const std::string picture = folder.folder.Write(std::string("work/") + row.file,
                                                    ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
    const std::string bytes = ReadAll(picture);
    const std::string map = folder.folder.File(std::string("work/") + row.map);
    RunningProgram program(folder, {row.relative ? std::string(row.file) : picture},
                           folder.folder.File("work"));
    ASSERT_TRUE(program.HasWindow());
    ASSERT_TRUE(program.Keys({QStringLiteral("F5")}));
    // Ctrl+S while the run still goes is refused: again until the map is there.
    EXPECT_TRUE(XInput::WaitUntil(
        [&] {
          program.Keys({QStringLiteral("ctrl+s")});
          return std::filesystem::is_regular_file(map);
        },
        30000));
    EXPECT_EQ(ReadAll(picture), bytes);
    EXPECT_NE(ReadAll(map).find("<area"), std::string::npos);
    ASSERT_TRUE(program.Exit());
    if (row.recentIsText) {
      EXPECT_EQ(common::ReadIniString(folder.SettingsFile(), "fwMain_FileList", "0"), picture);
    }
  }
}

}  // namespace
}  // namespace morvane::testing
