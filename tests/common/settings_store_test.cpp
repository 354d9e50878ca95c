#include "common/settings_store.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace morvane::common {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;

// A list box: items with item data.
class FakeList : public ItemList {
 public:
  explicit FakeList(bool withData = true) : withData_(withData) {}
  void Clear() override { items.clear(); }
  int AddItem(const std::string& text) override {
    items.push_back({text, 0});
    return static_cast<int>(items.size()) - 1;
  }
  int ListCount() const override { return static_cast<int>(items.size()); }
  std::string List(int i) const override { return items[static_cast<std::size_t>(i)].first; }
  bool HasItemData() const override { return withData_; }
  void SetItemData(int i, std::int32_t d) override { items[static_cast<std::size_t>(i)].second = d; }
  std::int32_t ItemData(int i) const override { return items[static_cast<std::size_t>(i)].second; }

  std::vector<std::pair<std::string, std::int32_t>> items;

 private:
  bool withData_;
};

class FakeButtonMenu : public ButtonMenuItems {
 public:
  void Clear() override { items.clear(); }
  void Add(const std::string& text, const std::string& tag) override { items.push_back({text, tag}); }
  int Count() const override { return static_cast<int>(items.size()); }
  std::string Text(int i) const override { return items[static_cast<std::size_t>(i)].first; }
  std::string Tag(int i) const override { return items[static_cast<std::size_t>(i)].second; }
  std::vector<std::pair<std::string, std::string>> items;
};

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::string Settings(const std::string& bytes) { return dir.Write("Morvane.dat", bytes); }
  static struct stat Stat(const std::string& file) {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st;
  }
  // Sets the file two days back, so that a rewrite shows in its time.
  static void Age(const std::string& file) {
    ASSERT_TRUE(core::SetFileTime(file, core::FileTimeKind::kLastWrite,
                                  std::chrono::system_clock::now() - std::chrono::hours(48)));
  }
  TempFolder dir;
};

TEST_F(SettingsStoreTest, StringsReadWithDefaults) {
  const std::string file = Settings("[fwMain]\r\nEmpty=\r\nLead=   v w \r\nPath=/a=b/c.gif\r\n");
  struct Case {
    std::string file;
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* expected;
  };
  const Case cases[] = {
      {file, "fwMain", "Missing", "dflt", "dflt"},
      {file, "fwMain", "Empty", "dflt", ""},
      {file, "fwMain", "Lead", "", "v w"},
      {file, "FWMAIN", "path", "", "/a=b/c.gif"},
      {file, "Other", "Path", "d", "d"},
      {dir.File("none.dat"), "fwMain", "Path", "d", "d"},
      {"", "fwMain", "Path", "d", "d"},
      {file, "", "Path", "d", "d"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadIniString(c.file, c.section, c.key, c.defaultValue), c.expected)
        << c.section << "/" << c.key;
  }
}

TEST_F(SettingsStoreTest, NumbersReadTheLeadingNumberAndFallBackToTheDefault) {
  const std::string file = Settings(
      "[s]\r\nEmpty=\r\nMixed=12abc\r\nHex=&H10\r\nHalf=.5\r\nHalf0=0.5\r\nNeg=-05\r\n"
      "Word=abc\r\nHuge=99999999999999999999\r\nFour=82.26666\r\n");
  struct Case {
    const char* key;
    Currency defaultValue;
    Currency expected;
  };
  const Case cases[] = {
      {"Missing", 5, 5},
      {"Empty", 5, 5},
      {"Mixed", 5, 12},
      {"Hex", 0, 16},
      {"Half", 0, Currency::FromScaled(5000)},
      {"Half0", 0, Currency::FromScaled(5000)},
      {"Neg", 0, -5},
      {"Word", 7, 7},
      {"Huge", 3, 3},
      {"Four", 0, Currency::FromScaled(822667)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadIniNumber(file, "s", c.key, c.defaultValue), c.expected) << c.key;

  std::int32_t count = -1;
  EXPECT_EQ(ReadIniNumber(file, "", "Mixed", 5, &count), 5);
  EXPECT_EQ(count, -1) << "an empty section name reads nothing";
  EXPECT_EQ(ReadIniNumber(file, "s", "Mixed", 5, &count), 12);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(ReadIniNumber(file, "s", "Missing", 15, &count), 15);
  EXPECT_EQ(count, 3);  // " 15"
}

TEST_F(SettingsStoreTest, CorruptFileReadsAsDefaults) {
  const std::string file = Settings(std::string("\x00\xff[s\r\n=\x01\r\n[s]\r\nn=\xff\xfe\r\n", 18));
  EXPECT_EQ(ReadIniNumber(file, "s", "n", 9), 9);
  EXPECT_EQ(ReadIniString(file, "s", "x", "d"), "d");
}

TEST_F(SettingsStoreTest, APipeInTheFilesPlaceReadsAsDefaultsAndIsNotReplaced) {
  const std::string file = dir.File("Morvane.dat");
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  EXPECT_EQ(ReadIniString(file, "s", "k", "d"), "d");
  EXPECT_EQ(ReadIniNumber(file, "s", "n", 9), 9);
  EXPECT_FALSE(WriteIniString(file, "s", "k", "v"));
  EXPECT_TRUE(S_ISFIFO(Stat(file).st_mode));
}

TEST_F(SettingsStoreTest, WritesOnlyWhatChanged) {
  const std::string file = Settings("[s]\r\nText=abc\r\nNumber=15\r\nZero=0\r\n");
  Age(file);
  const struct stat before = Stat(file);
  EXPECT_TRUE(WriteIniString(file, "s", "text", "abc"));
  EXPECT_TRUE(WriteIniNumber(file, "s", "Number", 15));
  EXPECT_TRUE(WriteIniNumber(file, "s", "Zero", 0));  // written, but to the same bytes
  const struct stat after = Stat(file);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);

  EXPECT_TRUE(WriteIniNumber(file, "s", "Created", 0));
  EXPECT_TRUE(WriteIniString(file, "s", "Empty", ""));
  EXPECT_TRUE(WriteIniNumber(file, "s", "Four", *Currency::FromDouble(82.26666)));
  EXPECT_TRUE(WriteIniNumber(file, "s", "Half", *Currency::FromDouble(-0.5)));
  EXPECT_TRUE(WriteIniString(file, "s", "Recent", " /a=b/c d.gif"));
  EXPECT_EQ(ReadAll(file),
            "[s]\r\nText=abc\r\nNumber=15\r\nZero=0\r\nCreated=0\r\nEmpty=\r\nFour=82.2667\r\n"
            "Half=-0.5\r\nRecent=\" /a=b/c d.gif\"\r\n");
  EXPECT_EQ(ReadIniString(file, "s", "Recent"), " /a=b/c d.gif");
  EXPECT_EQ(ReadIniString(file, "s", "Empty", "d"), "");
  EXPECT_EQ(ReadIniNumber(file, "s", "Four"), Currency::FromScaled(822667));
}

TEST_F(SettingsStoreTest, FailedWritesAreReportedAndKeepTheFile) {
  const std::string file = Settings("[s]\r\nk=1\r\n");
  EXPECT_FALSE(WriteIniString("", "s", "k", "v"));
  EXPECT_FALSE(WriteIniString(file, "s", "k", "two\nlines"));
  EXPECT_FALSE(WriteIniNumber(dir.File("no/folder.dat"), "s", "k", 3));
  EXPECT_EQ(ReadAll(file), "[s]\r\nk=1\r\n");
}

TEST_F(SettingsStoreTest, KeepTimeKeepsTheLastWriteTime) {
  const std::string file = Settings("[s]\r\nk=1\r\n");
  Age(file);
  const auto before = GetFileTimeAsDate(file, kLastWriteTime);
  ASSERT_TRUE(before);
  EXPECT_TRUE(WriteIniString(file, "s", "k", "2", true));
  EXPECT_TRUE(WriteIniNumber(file, "s", "n", 3, true));
  EXPECT_TRUE(WriteIniSection(file, "t", "a\r\nb", std::nullopt, true));
  EXPECT_EQ(ReadAll(file), "[s]\r\nk=2\r\nn=3\r\n[t]\r\n0=a\r\n1=b\r\n");
  EXPECT_EQ(GetFileTimeAsDate(file, kLastWriteTime), before);
  EXPECT_TRUE(WriteIniString(file, "s", "k", "4"));
  EXPECT_GT(GetFileTimeAsDate(file, kLastWriteTime), before);
}

TEST_F(SettingsStoreTest, SectionIntoValuesAndLists) {
  const std::string file = Settings(
      "[a]\r\na=1\r\nb\r\nc=x=y\r\n[l]\r\n0=Text|42\r\n1=|7\r\n2=Bare\r\n3=Big|99999999999\r\n[e]\r\n");
  std::vector<std::string> values{"old"};
  EXPECT_EQ(ReadIniSection(file, "a", values), "1\r\nb\r\nx=y");
  EXPECT_EQ(values, (std::vector<std::string>{"1", "b", "x=y"}));
  EXPECT_EQ(ReadIniSection(file, "a", values, ";"), "1;b;x=y");
  EXPECT_EQ(ReadIniSection(file, "e", values), "");
  EXPECT_EQ(values, std::vector<std::string>{""}) << "an empty section leaves one empty element";
  EXPECT_EQ(ReadIniSection(file, "a"), "1\r\nb\r\nx=y");

  FakeList list;
  list.items = {{"stale", 1}};
  EXPECT_EQ(ReadIniSection(file, "l", list, "|"), "Text\r\n\r\nBare\r\nBig");
  EXPECT_EQ(list.items,
            (std::vector<std::pair<std::string, std::int32_t>>{{"Text", 42}, {"Bare", 0}, {"Big", 0}}));
  EXPECT_EQ(ReadIniSection(file, "l", list), "Text|42\r\n|7\r\nBare\r\nBig|99999999999");
  EXPECT_EQ(list.ListCount(), 4);

  FakeButtonMenu menu;
  EXPECT_EQ(ReadIniSection(file, "l", menu, "|"), "Text\r\n\r\nBare\r\nBig");
  EXPECT_EQ(menu.items, (std::vector<std::pair<std::string, std::string>>{
                            {"Text", "42"}, {"Bare", ""}, {"Big", "99999999999"}}));

  FakeList untouched;
  untouched.items = {{"keep", 1}};
  values = {"keep"};
  EXPECT_EQ(ReadIniSection(dir.File("none.dat"), "l", untouched, "|"), "");
  EXPECT_EQ(ReadIniSection(dir.File("none.dat"), "l", values), "");
  EXPECT_EQ(untouched.items.size(), 1u);
  EXPECT_EQ(values, std::vector<std::string>{"keep"});
}

TEST_F(SettingsStoreTest, SectionFromTextNumbersEveryLine) {
  const std::string file =
      Settings("[fwMain_FileList]\r\n0=/old.gif\r\n5=/older.gif\r\n\r\n[x]\r\nk=1\r\n");
  // The recent files, newest first; one of them has "=" and blanks in its path.
  const std::string recent = "/maps/a=b.htm\r\n/img/ space.gif\r\nk=v";
  ASSERT_TRUE(WriteIniSection(file, "fwMain_FileList", recent));
  EXPECT_EQ(ReadAll(file),
            "[fwMain_FileList]\r\n0=/maps/a=b.htm\r\n1=/img/ space.gif\r\n2=k=v\r\n\r\n[x]\r\nk=1\r\n");
  FakeList list;
  EXPECT_EQ(ReadIniSection(file, "fwMain_FileList", list, "\r\n"), recent);
  EXPECT_EQ(list.ListCount(), 3);

  ASSERT_TRUE(WriteIniSection(file, "x", "one|two||three", "|"));
  EXPECT_EQ(ReadIniSection(file, "x"), "one\r\ntwo") << "lines end at the first empty one";
  ASSERT_TRUE(WriteIniSection(file, "x", ""));
  EXPECT_EQ(ReadIniSection(file, "x"), "");
}

TEST_F(SettingsStoreTest, SectionFromListsMenusAndValues) {
  const std::string file = Settings("");
  FakeList list;
  list.items = {{"Alpha", 3}, {"Beta", -1}};
  ASSERT_TRUE(WriteIniSection(file, "l", list, "|"));
  FakeList files(false);
  files.items = {{"/a.gif", 0}};
  ASSERT_TRUE(WriteIniSection(file, "f", files, "|"));
  FakeButtonMenu menu;
  menu.items = {{"Open", "o"}, {"-", ""}, {"Save", ""}};
  ASSERT_TRUE(WriteIniSection(file, "m", menu, "|"));
  ASSERT_TRUE(WriteIniSection(file, "v", std::vector<std::string>{"x", " y"}));
  EXPECT_FALSE(WriteIniSection(file, "none", std::vector<std::string>{}));
  EXPECT_EQ(ReadAll(file),
            "[l]\r\n0=Alpha|3\r\n1=Beta|-1\r\n[f]\r\n0=/a.gif\r\n[m]\r\n1=Open|o\r\n3=Save\r\n"
            "[v]\r\n0=x\r\n1=\" y\"\r\n");
  FakeList back;
  ReadIniSection(file, "l", back, "|");
  EXPECT_EQ(back.items, list.items);
}

TEST_F(SettingsStoreTest, SessionReadsOnceAndWritesOnlyItsOwnKeysOnce) {
  const std::string file = Settings("[win]\r\nLeft=10\r\nTop=20.0\r\n");
  SettingsSession session(file);
  EXPECT_EQ(session.ReadIniNumber("win", "Left"), 10);
  ASSERT_TRUE(session.WriteIniNumber("win", "Left", 30));
  ASSERT_TRUE(session.WriteIniNumber("win", "Top", 20));  // stored already, as 20.0
  ASSERT_TRUE(session.WriteIniString("recent", "0", "/a.gif"));
  EXPECT_EQ(session.ReadIniNumber("win", "Left"), 30) << "reads see the session's own keys";
  EXPECT_EQ(session.ReadIniSection("recent"), "/a.gif");
  EXPECT_EQ(ReadAll(file), "[win]\r\nLeft=10\r\nTop=20.0\r\n") << "nothing written before Commit";

  // Another program writes meanwhile: its keys stay, and so do the bytes of keys this
  // session did not change.
  ASSERT_TRUE(WriteIniString(file, "win", "Width", "500"));
  ASSERT_TRUE(WriteIniString(file, "win", "Left", "11"));
  ASSERT_TRUE(session.Commit());
  EXPECT_EQ(ReadAll(file), "[win]\r\nLeft=30\r\nTop=20.0\r\nWidth=500\r\n[recent]\r\n0=/a.gif\r\n");

  // Setting what is stored changes no byte: the file is not even replaced.
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  ASSERT_TRUE(session.WriteIniNumber("win", "Left", 30));
  ASSERT_TRUE(session.WriteIniString("recent", "0", "/a.gif"));
  ASSERT_TRUE(session.Commit());
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(SettingsStoreTest, SessionReportsItsOneFailureAndKeepsTheFile) {
  struct Case {
    const char* what;
    std::string file;
  };
  std::filesystem::create_directory(dir.File("folder.dat"));
  const Case cases[] = {
      {"a missing folder", dir.File("none/Morvane.dat")},
      {"a folder in the file's place", dir.File("folder.dat")},
  };
  for (const Case& c : cases) {
    SettingsSession session(c.file);
    EXPECT_TRUE(session.WriteIniString("a", "k", "v")) << c.what;
    EXPECT_TRUE(session.WriteIniNumber("a", "n", 5)) << c.what;
    EXPECT_FALSE(session.Commit()) << c.what;
    EXPECT_FALSE(session.error().empty()) << c.what;
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.dat")));
  SettingsSession session(Settings("[a]\r\nk=1\r\n"));
  EXPECT_FALSE(session.WriteIniString("a", "k", "two\r\nlines")) << "refused when set";
  EXPECT_TRUE(session.Commit());
  EXPECT_EQ(ReadAll(session.file()), "[a]\r\nk=1\r\n");
}

// Two programs writing their settings at the same time: every key of both arrives.
TEST_F(SettingsStoreTest, TwoProcessesWritingAtOnceLoseNoKey) {
  const std::string file = Settings("[shared]\r\nkeep=1\r\n");
  constexpr int kKeys = 100;
  struct Case {
    const char* what;
    bool session;  // one session per key, else one helper call per key
  };
  for (const Case c : {Case{"helpers", false}, Case{"sessions", true}}) {
    const std::vector<int> codes = morvane::testing::RunInChildren(2, [&](int writer) {
      for (int k = 0; k < kKeys; ++k) {
        const std::string key = std::string(c.what) + std::to_string(writer) + "_" + std::to_string(k);
        bool ok = false;
        if (c.session) {
          SettingsSession session(file);
          ok = session.WriteIniNumber("shared", key, k + 1) && session.Commit();
        } else {
          ok = WriteIniNumber(file, "shared", key, k + 1);
        }
        if (!ok) return 1;
      }
      return 0;
    });
    EXPECT_EQ(codes, (std::vector<int>{0, 0})) << c.what;
    int found = 0;
    for (int writer = 0; writer < 2; ++writer) {
      for (int k = 0; k < kKeys; ++k) {
        const std::string key = std::string(c.what) + std::to_string(writer) + "_" + std::to_string(k);
        found += ReadIniNumber(file, "shared", key, -1) == k + 1 ? 1 : 0;
      }
    }
    EXPECT_EQ(found, 2 * kKeys) << c.what;
  }
  EXPECT_EQ(ReadIniString(file, "shared", "keep"), "1");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Two programs over one file, each writing every key at its end after a baseline taken
// at its start: each program's changes arrive, whichever ends first; a key both changed
// is the last writer's, and so is a list (a section) both changed.
TEST_F(SettingsStoreTest, ABaselineKeepsAnotherProgramsChanges) {
  // What each program writes at its start and its end: the keys g, p, z (z absent from
  // the file at the start) and the list.
  struct Values {
    int g = 1, p = 1, z = 0;
    std::string list = "/a.gif";
  };
  const auto write = [](SettingsSession& s, const Values& v) {
    s.WriteIniNumber("fw", "g", v.g);
    s.WriteIniNumber("fw", "p", v.p);
    s.WriteIniNumber("fw", "z", v.z);
    s.WriteIniSection("fw_List", v.list);
  };
  struct Row {
    const char* what;
    Values first, last;  // at the end of the program that ends first, and of the other
    Values file;         // what the file holds after both
  };
  const Values start;
  const auto with = [&](auto change) {
    Values v = start;
    change(v);
    return v;
  };
  const Row rows[] = {
      {"each a key of its own", with([](Values& v) { v.g = 0; }), with([](Values& v) { v.p = 0; }),
       with([](Values& v) { v.g = 0, v.p = 0; })},
      {"both the same key", with([](Values& v) { v.g = 5; }), with([](Values& v) { v.g = 7; }),
       with([](Values& v) { v.g = 7; })},
      {"the first the list", with([](Values& v) { v.list = "/b.gif\r\n/a.gif"; }), start,
       with([](Values& v) { v.list = "/b.gif\r\n/a.gif"; })},
      {"both the list", with([](Values& v) { v.list = "/b.gif\r\n/a.gif"; }),
       with([](Values& v) { v.list = "/c.gif\r\n/a.gif"; }),
       with([](Values& v) { v.list = "/c.gif\r\n/a.gif"; })},
      {"a key new to the file, set by the first", with([](Values& v) { v.z = 3; }), start,
       with([](Values& v) { v.z = 3; })},
      {"a key new to the file, set by neither", start, start, start},
      {"nothing changed", start, start, start},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string file = Settings("[fw]\r\ng=1\r\np=1.0\r\n[fw_List]\r\n0=/a.gif\r\n");
    SettingsSession first(file), last(file);
    for (SettingsSession* s : {&first, &last}) {
      write(*s, start);
      s->TakeBaseline();
      EXPECT_EQ(s->ReadIniString("fw", "p"), "1.0") << "reads see the file again";
    }
    write(first, row.first);
    ASSERT_TRUE(first.Commit());
    write(last, row.last);
    ASSERT_TRUE(last.Commit());
    EXPECT_EQ(ReadIniNumber(file, "fw", "g"), row.file.g);
    EXPECT_EQ(ReadIniNumber(file, "fw", "p"), row.file.p);
    EXPECT_EQ(ReadIniString(file, "fw", "z"), std::to_string(row.file.z)) << "filled in when absent";
    EXPECT_EQ(ReadIniSection(file, "fw_List"), row.file.list);
    if (row.file.p == 1) {
      EXPECT_EQ(ReadIniString(file, "fw", "p"), "1.0") << "unchanged bytes stay";
    }
  }
}

TEST_F(SettingsStoreTest, FileTimesBySelector) {
  using namespace std::chrono;
  const std::string file = Settings("x");
  const auto when = floor<seconds>(system_clock::now() - hours(30));
  EXPECT_TRUE(SetFileTimeFromDate(file, when + milliseconds(700), kLastWriteTime));
  EXPECT_EQ(GetFileTimeAsDate(file, kLastWriteTime), when) << "to the second";
  EXPECT_TRUE(SetFileTimeFromDate(file, when, kLastAccessTime));
  EXPECT_EQ(GetFileTimeAsDate(file, kLastAccessTime), when);
  EXPECT_FALSE(SetFileTimeFromDate(file, when, kCreationTime));
  EXPECT_TRUE(GetFileTimeAsDate(file, kCreationTime));
  EXPECT_FALSE(GetFileTimeAsDate(file, 3));
  EXPECT_FALSE(GetFileTimeAsDate(dir.File("none"), kLastWriteTime));
  EXPECT_TRUE(GetFileTimeAsDate(dir.path(), kLastWriteTime)) << "folders have times too";
}

}  // namespace
}  // namespace morvane::common
