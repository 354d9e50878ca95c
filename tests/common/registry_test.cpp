#include "common/registry.h"

#include <chrono>

#include <gtest/gtest.h>

#include "common/app_version.h"
#include "platform/core/file_system.h"
#include "tests/support/temp_folder.h"

namespace morvane::common {
namespace {

using core::MachineStore;
using core::RegistryRoot;
using core::StoredValue;
using morvane::testing::ReadAll;
using morvane::testing::TempFolder;

constexpr auto kMachine = RegistryRoot::kLocalMachine;

class RegistryTest : public ::testing::Test {
 protected:
  TempFolder dir;
  MachineStore store{dir.File("Registry.ini")};
};

TEST_F(RegistryTest, TheProgramRecordsItsFolderAndVersionOnce) {
  const std::string key = AppRegistryKeyPath(core::ThisVersionRecord());
  EXPECT_EQ(key, "SOFTWARE\\Morvane Test Makers\\MorvaneCommonTest");
  EXPECT_EQ(WriteRegValue(store, kMachine, key, "", "/opt/morvane"), kRegistrySuccess);
  EXPECT_EQ(WriteRegValue(store, kMachine, key, "CurrentVersion", GetAppVersion(false)),
            kRegistrySuccess);
  const std::string first = ReadAll(store.file());
  EXPECT_EQ(first,
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane Test Makers\\MorvaneCommonTest]\r\n"
            "@=sz:/opt/morvane\r\nCurrentVersion=sz:1.02.0005\r\n");
  // The second start finds both equal and writes nothing.
  ASSERT_TRUE(core::SetFileTime(store.file(), core::FileTimeKind::kLastWrite,
                                std::chrono::system_clock::now() - std::chrono::hours(5)));
  const auto before = core::GetFileTime(store.file(), core::FileTimeKind::kLastWrite);
  EXPECT_EQ(WriteRegValue(store, kMachine, key, "", "/opt/morvane"), kRegistrySuccess);
  EXPECT_EQ(WriteRegValue(store, kMachine, key, "CurrentVersion", "1.02.0005"), kRegistrySuccess);
  EXPECT_EQ(core::GetFileTime(store.file(), core::FileTimeKind::kLastWrite), before);
  EXPECT_EQ(ReadRegValue(store, kMachine, key, ""), "/opt/morvane");
  EXPECT_EQ(ReadRegValue(store, kMachine, key, "currentversion"), "1.02.0005");
}

TEST_F(RegistryTest, TextValuesKeepTheirTerminatingNul) {
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "t", "abc"), kRegistrySuccess);
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "empty", ""), kRegistrySuccess)
      << "an absent value is created even when empty";
  EXPECT_EQ(store.ReadValue(kMachine, "K", "t"), (StoredValue{1, {'a', 'b', 'c', 0}}));
  EXPECT_EQ(store.ReadValue(kMachine, "K", "empty"), (StoredValue{1, {0}}));
  std::vector<std::uint8_t> raw;
  EXPECT_EQ(ReadRegValue(store, kMachine, "K", "t", &raw), "abc");
  EXPECT_EQ(raw, (std::vector<std::uint8_t>{'a', 'b', 'c', 0, 0}));
  EXPECT_EQ(ReadRegValue(store, kMachine, "K", "empty", nullptr, std::nullopt, "d"), "");
  EXPECT_EQ(ReadRegValue(store, kMachine, "K", "absent", nullptr, std::nullopt, "d"), "d");
  EXPECT_EQ(ReadRegValue(store, kMachine, "Absent", "t", nullptr, std::nullopt, "d"), "d");
}

TEST_F(RegistryTest, ValuesDecodeByType) {
  ASSERT_TRUE(store.WriteValue(kMachine, "K", "n", StoredValue{4, {0x10, 0, 0, 0}}));
  ASSERT_TRUE(store.WriteValue(kMachine, "K", "big", StoredValue{4, {0xff, 0xff, 0xff, 0xff}}));
  ASSERT_TRUE(store.WriteValue(kMachine, "K", "multi", StoredValue{7, {'a', 0, 'b', 0, 0}}));
  ASSERT_TRUE(store.WriteValue(kMachine, "K", "bin", StoredValue{3, {'x', 0, 'y'}}));
  ASSERT_TRUE(store.WriteValue(kMachine, "K", "noNul", StoredValue{1, {'a', 'b'}}));
  struct Case {
    const char* name;
    std::optional<std::int32_t> type;
    std::string expected;
  };
  const Case cases[] = {
      {"n", std::nullopt, "16"},
      {"n", 4, "16"},
      {"n", 5, "268435456"},
      {"big", std::nullopt, "4294967295"},
      {"multi", std::nullopt, std::string("a\0b\0", 4)},
      {"bin", std::nullopt, std::string("x\0y", 3)},
      {"bin", 1, std::string("x\0y", 3)},
      {"noNul", std::nullopt, "ab"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadRegValue(store, kMachine, "K", c.name, nullptr, c.type), c.expected) << c.name;
  }
}

TEST_F(RegistryTest, WritesByType) {
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "n", "16", 4), kRegistrySuccess);
  EXPECT_EQ(store.ReadValue(kMachine, "K", "n"), (StoredValue{4, {16, 0, 0, 0}}));
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "neg", "-2.5", 4), kRegistrySuccess);
  EXPECT_EQ(store.ReadValue(kMachine, "K", "neg"), (StoredValue{4, {0xfe, 0xff, 0xff, 0xff}}));
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "b", "ab", 3), kRegistrySuccess);
  EXPECT_EQ(store.ReadValue(kMachine, "K", "b"), (StoredValue{3, {'a', 'b'}}));
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "b0", "", 3), kRegistrySuccess);
  EXPECT_EQ(store.ReadValue(kMachine, "K", "b0"), (StoredValue{3, {0}}));
  const std::string before = ReadAll(store.file());
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "n", "16", 4), kRegistrySuccess);
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "x", "v", 7), kRegistryInvalidParameter);
  EXPECT_EQ(WriteRegValue(store, kMachine, "K", "bad=name", "v"), kRegistryInvalidParameter);
  EXPECT_EQ(ReadAll(store.file()), before);
  MachineStore unwritable(dir.Write("plain", "x") + "/Registry.ini");
  EXPECT_EQ(WriteRegValue(unwritable, kMachine, "K", "n", "v"), kRegistryAccessDenied);
  EXPECT_FALSE(IsWow64());
}

}  // namespace
}  // namespace morvane::common
