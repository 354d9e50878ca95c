#include "platform/core/app_info.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include "platform/core/file_system.h"
#include "tests/support/temp_folder.h"

namespace morvane::core {
namespace {

using morvane::testing::TempFolder;

TEST(AppInfoTest, UserFolderFollowsTheBaseDirectoryRule) {
  EXPECT_EQ(UserConfigFolderFor("/cfg", "/home/u"), "/cfg/Morvane");
  EXPECT_EQ(UserConfigFolderFor("/cfg/", "/home/u"), "/cfg/Morvane");
  EXPECT_EQ(UserConfigFolderFor("", "/home/u"), "/home/u/.config/Morvane");
  EXPECT_EQ(UserConfigFolderFor("relative/cfg", "/home/u"), "/home/u/.config/Morvane");
  EXPECT_EQ(UserConfigFolderFor("", ""), "/.config/Morvane");
}

TEST(AppInfoTest, ProgramFolderHoldsTheRunningProgram) {
  const std::string exe = ProgramPath();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(IsFile(exe));
  EXPECT_EQ(ProgramFolder() + "/" + exe.substr(exe.rfind('/') + 1), exe);
}

TEST(AppInfoTest, SettingsLiveBesideTheProgramOnlyWhenThatFolderIsWritable) {
  TempFolder program;
  TempFolder config;
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);

  EXPECT_EQ(SettingsFilePath(program.path(), "Morvane.dat"), program.File("Morvane.dat"));
  EXPECT_EQ(SettingsFilePath("/proc", "Morvane.dat"), config.File("Morvane/Morvane.dat"));
  EXPECT_TRUE(IsFolder(config.File("Morvane"))) << "made, so that the first write succeeds";

  if (old) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace morvane::core
