#include "platform/core/machine_store.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace morvane::core {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;

StoredValue Text(std::int32_t type, std::string_view s) {
  StoredValue v{type, {s.begin(), s.end()}};
  v.bytes.push_back(0);
  return v;
}

TEST(MachineStoreTest, EveryKindOfValueReadsBackAsWritten) {
  TempFolder dir;
  MachineStore store(dir.File("sub/Registry.ini"));  // the folder is made on first write
  const StoredValue values[] = {
      Text(kRegSz, "/opt/morvane"),
      Text(kRegSz, ""),
      Text(kRegSz, "  blanks at both ends  "),
      Text(kRegSz, "caf\xC3\xA9 = \"x\""),
      Text(kRegExpandSz, "$HOME/x"),
      Text(kRegSz, "two\r\nlines"),                    // goes as hex
      StoredValue{kRegSz, {'n', 'o', 'n', 'u', 'l'}},  // goes as hex
      StoredValue{kRegMultiSz, {'a', 0, 'b', 0, 0}},
      StoredValue{kRegDword, {0x10, 0, 0, 0}},
      StoredValue{kRegDword, {0xff, 0xff, 0xff, 0xff}},
      StoredValue{kRegDwordBigEndian, {0x10, 0, 0, 0}},
      StoredValue{kRegBinary, {}},
      StoredValue{kRegBinary, {0, 1, 0xfe, 0x80}},
  };
  int i = 0;
  for (const StoredValue& v : values) {
    const std::string name = "v" + std::to_string(i++);
    ASSERT_TRUE(store.WriteValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Morvane\\Morvane", name, v))
        << name;
    EXPECT_EQ(store.ReadValue(RegistryRoot::kLocalMachine, "software\\MORVANE\\morvane", name), v)
        << name << ": " << ReadAll(store.file());
  }
}

TEST(MachineStoreTest, KeysAreSectionsAndTheDefaultValueIsAt) {
  TempFolder dir;
  MachineStore store(dir.File("Registry.ini"));
  ASSERT_TRUE(store.WriteValue(RegistryRoot::kLocalMachine, "\\SOFTWARE\\\\Morvane\\Morvane\\", "",
                               Text(kRegSz, "/opt/morvane")));
  ASSERT_TRUE(store.WriteValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Morvane\\Morvane",
                               "CurrentVersion", Text(kRegSz, "1.00")));
  ASSERT_TRUE(store.WriteValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Morvane\\Morvane", "@odd",
                               StoredValue{kRegDword, {1, 0, 0, 0}}));
  EXPECT_EQ(ReadAll(store.file()),
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Morvane]\r\n"
            "@=sz:/opt/morvane\r\n"
            "CurrentVersion=sz:1.00\r\n"
            "@@odd=dword:00000001\r\n");
  EXPECT_EQ(store.ReadValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Morvane\\Morvane", "@"),
            std::nullopt);
  EXPECT_EQ(store.ReadValue(RegistryRoot::kCurrentUser, "SOFTWARE\\Morvane\\Morvane", ""), std::nullopt);
  EXPECT_TRUE(store.KeyExists(RegistryRoot::kLocalMachine, "SOFTWARE\\Morvane\\Morvane"));
  EXPECT_FALSE(store.KeyExists(RegistryRoot::kLocalMachine, "SOFTWARE\\Morvane"));
}

TEST(MachineStoreTest, NamesTheFileCannotHoldAreRefused) {
  TempFolder dir;
  MachineStore store(dir.File("Registry.ini"));
  const StoredValue v = Text(kRegSz, "x");
  std::string error;
  EXPECT_FALSE(store.WriteValue(RegistryRoot::kLocalMachine, "a]b", "n", v, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(store.WriteValue(RegistryRoot::kLocalMachine, "a", "n=m", v));
  EXPECT_FALSE(store.WriteValue(RegistryRoot::kLocalMachine, "a", "n ", v));
  EXPECT_FALSE(store.WriteValue(RegistryRoot::kLocalMachine, "a\nb", "n", v));
  EXPECT_FALSE(store.WriteValue(static_cast<RegistryRoot>(7u), "a", "n", v));
  EXPECT_EQ(ReadAll(store.file()), "<missing>");
  ASSERT_TRUE(store.WriteValue(RegistryRoot::kLocalMachine, "a", " lead", v));
  EXPECT_EQ(store.ReadValue(RegistryRoot::kLocalMachine, "a", " lead"), v);
}

TEST(MachineStoreTest, DeleteValueAndKeyWithEverythingBelowIt) {
  TempFolder dir;
  MachineStore store(dir.File("Registry.ini"));
  const StoredValue v = Text(kRegSz, "x");
  for (const char* key : {"CLSID\\{1}", "CLSID\\{1}\\InprocServer32", "CLSID\\{12}", "Other"}) {
    ASSERT_TRUE(store.WriteValue(RegistryRoot::kClassesRoot, key, "", v));
  }
  ASSERT_TRUE(store.WriteValue(RegistryRoot::kClassesRoot, "CLSID\\{12}", "n", v));
  ASSERT_TRUE(store.DeleteValue(RegistryRoot::kClassesRoot, "CLSID\\{12}", "N"));
  EXPECT_EQ(store.ReadValue(RegistryRoot::kClassesRoot, "CLSID\\{12}", "n"), std::nullopt);
  ASSERT_TRUE(store.DeleteKey(RegistryRoot::kClassesRoot, "clsid\\{1}"));
  EXPECT_FALSE(store.KeyExists(RegistryRoot::kClassesRoot, "CLSID\\{1}"));
  EXPECT_FALSE(store.KeyExists(RegistryRoot::kClassesRoot, "CLSID\\{1}\\InprocServer32"));
  EXPECT_TRUE(store.KeyExists(RegistryRoot::kClassesRoot, "CLSID\\{12}"));
  EXPECT_TRUE(store.KeyExists(RegistryRoot::kClassesRoot, "Other"));
  EXPECT_FALSE(store.DeleteKey(RegistryRoot::kClassesRoot, "\\"));
  EXPECT_TRUE(store.KeyExists(RegistryRoot::kClassesRoot, "Other")) << "the root is never emptied";
}

TEST(MachineStoreTest, EntriesThatDoNotDecodeReadAsAbsent) {
  for (const char* text : {"", "sz", "dword:", "dword:xyz", "dword:123456789", "hex(3):abc", "hex(3):zz",
                           "hex():00", "hex(x):00", "other:1"}) {
    EXPECT_EQ(MachineStore::DecodeData(text), std::nullopt) << text;
  }
}

// Two programs registering at the same time: every value of both arrives.
TEST(MachineStoreTest, TwoProcessesWritingAtOnceLoseNoValue) {
  TempFolder dir;
  MachineStore store(dir.File("Registry.ini"));
  constexpr int kValues = 100;
  const auto name = [](int writer, int k) {
    return "v" + std::to_string(writer) + "_" + std::to_string(k);
  };
  const std::vector<int> codes = morvane::testing::RunInChildren(2, [&](int writer) {
    MachineStore own(store.file());
    for (int k = 0; k < kValues; ++k) {
      if (!own.WriteValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Morvane", name(writer, k),
                          Text(kRegSz, std::to_string(k)))) {
        return 1;
      }
    }
    return 0;
  });
  EXPECT_EQ(codes, (std::vector<int>{0, 0}));
  int found = 0;
  for (int writer = 0; writer < 2; ++writer) {
    for (int k = 0; k < kValues; ++k) {
      const auto value =
          store.ReadValue(RegistryRoot::kLocalMachine, "SOFTWARE\\Morvane", name(writer, k));
      found += value == Text(kRegSz, std::to_string(k)) ? 1 : 0;
    }
  }
  EXPECT_EQ(found, 2 * kValues);
}

}  // namespace
}  // namespace morvane::core
