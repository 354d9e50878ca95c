#include "platform/core/ini_profile.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "platform/core/file_system.h"
#include "tests/support/temp_folder.h"

namespace morvane::core {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;

struct ReadCase {
  const char* name;
  const char* file;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsTheValueAsStored) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(IniDocument::Parse(c.file).Value(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadTest,
    ::testing::Values(
        ReadCase{"NamesIgnoreCase", "[Main]\r\nWidth=5\r\n", "mAIN", "WIDTH", "5"},
        ReadCase{"AbsentKey", "[Main]\r\nWidth=5\r\n", "Main", "Height", std::nullopt},
        ReadCase{"AbsentSection", "[Main]\r\nWidth=5\r\n", "Other", "Width", std::nullopt},
        ReadCase{"KeyOfAnotherSectionIsNotSeen", "[a]\r\nk=1\r\n[b]\r\nj=2\r\n", "a", "j", std::nullopt},
        ReadCase{"BlanksAroundTrimmed", "[a]\r\n  k \t=  v w  \r\n", "a", "k", "v w"},
        ReadCase{"EmptyValue", "[a]\r\nk=\r\n", "a", "k", ""},
        ReadCase{"QuotesKeepBlanks", "[a]\r\nk=\" v \"\r\n", "a", "k", " v "},
        ReadCase{"SingleQuotesToo", "[a]\r\nk=' v'\r\n", "a", "k", " v"},
        ReadCase{"UnmatchedQuoteStays", "[a]\r\nk=\"v\r\n", "a", "k", "\"v"},
        ReadCase{"EqualsInValue", "[a]\r\nk=/x=y/z.gif\r\n", "a", "k", "/x=y/z.gif"},
        ReadCase{"FirstOfTwoKeys", "[a]\r\nk=1\r\nK=2\r\n", "a", "k", "1"},
        ReadCase{"FirstOfTwoSections", "[a]\r\nk=1\r\n[A]\r\nk=2\r\n", "a", "k", "1"},
        ReadCase{"CommentIsNoKey", "[a]\r\n;k=1\r\n", "a", ";k", std::nullopt},
        ReadCase{"LineWithoutEqualsIsAnEmptyKey", "[a]\r\nflag\r\n", "a", "flag", ""},
        ReadCase{"LfLineEnds", "[a]\nk=1\nj=2\n", "a", "j", "2"},
        ReadCase{"NoFinalLineEnd", "[a]\r\nk=1", "a", "k", "1"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[a]\r\nk=1\r\n", "a", "k", "1"},
        ReadCase{"Windows1252Line", "[a]\r\nk=caf\xE9\r\n", "a", "k", "caf\xC3\xA9"},
        ReadCase{"Utf8Line", "[a]\r\nk=caf\xC3\xA9\r\n", "a", "k", "caf\xC3\xA9"},
        ReadCase{"KeysBeforeAnySectionAreIgnored", "k=1\r\n[a]\r\n", "a", "k", std::nullopt}),
    [](const auto& test) { return std::string(test.param.name); });

struct EditCase {
  const char* name;
  const char* before;
  std::function<bool(IniDocument&)> edit;
  bool accepted;
  const char* after;
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class IniEditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(IniEditTest, ChangesOnlyTheLinesItConcerns) {
  const EditCase& c = GetParam();
  IniDocument doc = IniDocument::Parse(c.before);
  EXPECT_EQ(c.edit(doc), c.accepted);
  EXPECT_EQ(doc.Serialize(), c.after);
}

auto Set(const char* s, const char* k, std::string v) {
  return [=](IniDocument& d) { return d.SetValue(s, k, v); };
}

INSTANTIATE_TEST_SUITE_P(Cases, IniEditTest,
                         ::testing::
                             Values(EditCase{"ReplaceValue", "[a]\r\nk=1\r\nj=2\r\n", Set("a", "k", "3"),
                                             true, "[a]\r\nk=3\r\nj=2\r\n"},
                                    EditCase{"KeepKeySpellingAndLineEnd", "[a]\nKey = 1\n",
                                             Set("A", "KEY", "2"), true, "[a]\nKey = 2\n"},
                                    EditCase{"SameValueSameBytes", "[a]\r\nk = 1 \r\n",
                                             Set("a", "k", "1"), true, "[a]\r\nk = 1 \r\n"},
                                    EditCase{"NewKeyAfterLastEntry", "[a]\r\nk=1\r\n\r\n[b]\r\n",
                                             Set("a", "n", "2"), true,
                                             "[a]\r\nk=1\r\nn=2\r\n\r\n[b]\r\n"},
                                    EditCase{"NewKeyInEmptySection", "[a]\r\n[b]\r\n",
                                             Set("a", "n", "2"), true, "[a]\r\nn=2\r\n[b]\r\n"},
                                    EditCase{"NewSectionAtEnd", "[a]\r\nk=1", Set("b", "x", "y"), true,
                                             "[a]\r\nk=1\r\n[b]\r\nx=y\r\n"},
                                    EditCase{"NewFile", "", Set("b", "x", "y"), true, "[b]\r\nx=y\r\n"},
                                    EditCase{"UntouchedLinesKeepTheirBytes",
                                             "; note\n[a]\n  k = 1 \n[b]\t\nz=9\n", Set("b", "z", "8"),
                                             true, "; note\n[a]\n  k = 1 \n[b]\t\nz=8\n"},
                                    EditCase{"Windows1252LineLeftAlone", "[a]\r\nk=caf\xE9\r\n",
                                             Set("a", "j", "1"), true, "[a]\r\nk=caf\xE9\r\nj=1\r\n"},
                                    EditCase{"Windows1252LineRewrittenAsUtf8", "[a]\r\nk\xE9=1\r\n",
                                             Set("a", "k\xC3\xA9", "2"), true, "[a]\r\nk\xC3\xA9=2\r\n"},
                                    EditCase{"BlanksAtEndsQuoted", "[a]\r\n", Set("a", "k", " x"), true,
                                             "[a]\r\nk=\" x\"\r\n"},
                                    EditCase{"QuotedValueQuotedAgain", "[a]\r\n", Set("a", "k", "\"x\""),
                                             true, "[a]\r\nk=\"\"x\"\"\r\n"},
                                    EditCase{"KeyWithoutEqualsIsAlreadyEmpty", "[a]\r\nflag\r\n",
                                             Set("a", "flag", ""), true, "[a]\r\nflag\r\n"},
                                    EditCase{"EmptyValueKeepsKey", "[a]\r\nk=1\r\n", Set("a", "k", ""),
                                             true, "[a]\r\nk=\r\n"},
                                    EditCase{"LineBreakInValueRefused", "[a]\r\n", Set("a", "k", "x\ny"),
                                             false, "[a]\r\n"},
                                    EditCase{"NulInValueRefused", "[a]\r\n",
                                             Set("a", "k", std::string("x\0y", 3)), false, "[a]\r\n"},
                                    EditCase{"EqualsInKeyRefused", "[a]\r\n", Set("a", "k=j", "1"),
                                             false, "[a]\r\n"},
                                    EditCase{"BracketInSectionRefused", "", Set("a]b", "k", "1"), false,
                                             ""},
                                    EditCase{"EmptyKeyRefused", "", Set("a", "", "1"), false, ""},
                                    EditCase{"DeleteKeyEveryCopy",
                                             "[a]\r\nk=1\r\nj=2\r\nK=3\r\n[b]\r\nk=4\r\n",
                                             [](IniDocument& d) { return d.DeleteKey("a", "k"); }, true,
                                             "[a]\r\nj=2\r\n[b]\r\nk=4\r\n"},
                                    EditCase{"DeleteAbsentKey", "[a]\r\nj=2\r\n",
                                             [](IniDocument& d) { return d.DeleteKey("a", "k"); },
                                             false, "[a]\r\nj=2\r\n"},
                                    EditCase{
                                        "DeleteSectionWithItsLines",
                                        "[a]\r\nk=1\r\n;c\r\n[b]\r\nj=2\r\n[A]\r\nx=1\r\n",
                                        [](IniDocument& d) { return d.DeleteSection("a"); }, true,
                                        "[b]\r\nj=2\r\n"},
                                    EditCase{"ReplaceSectionKeepsSeparatingBlankLine",
                                             "[a]\r\n0=x\r\n1=y\r\n\r\n[b]\r\nj=2\r\n",
                                             [](IniDocument& d) {
                                               return d.SetSection("a", {"0=p", "q", "1= r"});
                                             },
                                             true, "[a]\r\n0=p\r\nq\r\n1=\" r\"\r\n\r\n[b]\r\nj=2\r\n"},
                                    EditCase{"ReplaceSectionWithNothing", "[a]\r\n0=x\r\n[b]\r\n",
                                             [](IniDocument& d) { return d.SetSection("a", {}); }, true,
                                             "[a]\r\n[b]\r\n"},
                                    EditCase{"NewSectionFromLines", "[b]\r\nj=2",
                                             [](IniDocument& d) { return d.SetSection("a", {"0=x=y"}); },
                                             true, "[b]\r\nj=2\r\n[a]\r\n0=x=y\r\n"},
                                    EditCase{"SectionLineWithBreakRefused", "[a]\r\n0=x\r\n",
                                             [](IniDocument& d) {
                                               return d.SetSection("a", {"0=ok", "1=x\r\ny"});
                                             },
                                             false, "[a]\r\n0=x\r\n"}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(IniValueTest, EveryStorableValueReadsBackAsWritten) {
  for (const std::string value :
       {"", " ", "  ", "a", " a ", "\"q\"", "'q'", "\"", "'", "\"a'", "x=y", "a;b", "[x]",
        "; not a comment", "caf\xC3\xA9", "C:\\maps\\x.htm", "\t tab"}) {
    IniDocument doc = IniDocument::Parse("[s]\r\nother=1\r\n");
    ASSERT_TRUE(doc.SetValue("s", "k", value)) << value;
    const IniDocument again = IniDocument::Parse(doc.Serialize());
    EXPECT_EQ(again.Value("s", "k"), value) << "[" << value << "]";
    ASSERT_TRUE(doc.SetSection("t", {"0=" + value}));
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Section("t"), std::vector<std::string>{"0=" + value});
  }
}

TEST(IniValueTest, SectionListsEntriesAndSectionNamesAreUnique) {
  const IniDocument doc = IniDocument::Parse("[a]\r\nx=1\r\n;c\r\n\r\nb\r\nc = x=y \r\n[B]\r\n[A]\r\n");
  EXPECT_EQ(doc.Section("A"), (std::vector<std::string>{"x=1", "b", "c=x=y"}));
  EXPECT_EQ(doc.Section("b"), std::vector<std::string>{});
  EXPECT_EQ(doc.Section("none"), std::nullopt);
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"a", "B"}));
}

class IniFileTest : public ::testing::Test {
 protected:
  TempFolder dir;
};

TEST_F(IniFileTest, MissingFileReadsAsAbsentAndADeleteCreatesNothing) {
  const std::string file = dir.File("none.ini");
  EXPECT_EQ(ReadProfileString(file, "a", "k"), std::nullopt);
  EXPECT_EQ(ReadProfileSection(file, "a"), std::nullopt);
  EXPECT_TRUE(DeleteProfileKey(file, "a", "k"));
  EXPECT_TRUE(DeleteProfileSection(file, "a"));
  EXPECT_FALSE(IsFile(file));
  EXPECT_TRUE(WriteProfileString(file, "a", "k", "v"));
  EXPECT_EQ(ReadAll(file), "[a]\r\nk=v\r\n");
}

TEST_F(IniFileTest, UnchangedBytesAreNotWrittenChangedOnesReplaceTheFile) {
  const std::string file = dir.Write("s.ini", "[a]\nk=1\n");
  const auto old = std::chrono::system_clock::now() - std::chrono::hours(48);
  ASSERT_TRUE(SetFileTime(file, FileTimeKind::kLastWrite, old));
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);

  EXPECT_TRUE(WriteProfileString(file, "A", "K", "1"));
  EXPECT_TRUE(DeleteProfileKey(file, "a", "absent"));
  struct stat same {};
  ASSERT_EQ(::stat(file.c_str(), &same), 0);
  EXPECT_EQ(same.st_ino, before.st_ino);
  EXPECT_EQ(same.st_mtim.tv_sec, before.st_mtim.tv_sec);

  EXPECT_TRUE(WriteProfileString(file, "a", "k", "2"));
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino) << "a change replaces the file, never edits it in place";
  EXPECT_EQ(ReadAll(file), "[a]\nk=2\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "no temporary file is left behind";
}

TEST_F(IniFileTest, ReadOnlyFileIsWrittenAndStaysReadOnly) {
  const std::string file = dir.Write("s.ini", "[a]\r\nk=1\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  EXPECT_TRUE(WriteProfileString(file, "a", "k", "2"));
  EXPECT_EQ(ReadAll(file), "[a]\r\nk=2\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
}

TEST_F(IniFileTest, FailedWritesAreReportedAndLoseNothing) {
  std::string error;
  // The folder does not exist.
  EXPECT_FALSE(WriteProfileString(dir.File("no/such/s.ini"), "a", "k", "v", &error));
  EXPECT_FALSE(error.empty());
  // A file cannot be read: it is a folder, which must not be replaced by a file.
  std::filesystem::create_directory(dir.File("folder.ini"));
  error.clear();
  EXPECT_FALSE(WriteProfileString(dir.File("folder.ini"), "a", "k", "v", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(IsFolder(dir.File("folder.ini")));
  // A value that cannot be stored leaves the file as it was.
  const std::string file = dir.Write("s.ini", "[a]\r\nk=1\r\n");
  EXPECT_FALSE(WriteProfileString(file, "a", "k", "two\r\nlines", &error));
  EXPECT_EQ(ReadAll(file), "[a]\r\nk=1\r\n");
}

TEST_F(IniFileTest, SectionsAreReadAndReplacedInTheFile) {
  const std::string file = dir.Write("s.ini", "[a]\r\n0=x\r\n[b]\r\nk=1\r\n");
  EXPECT_TRUE(WriteProfileSection(file, "A", {"0=/p=q/r.gif", "1=s"}));
  EXPECT_EQ(ReadProfileSection(file, "a"), (std::vector<std::string>{"0=/p=q/r.gif", "1=s"}));
  EXPECT_EQ(ReadProfileString(file, "b", "k"), "1");
  EXPECT_EQ(ReadProfileSectionNames(file), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(DeleteProfileSection(file, "a"));
  EXPECT_EQ(ReadAll(file), "[b]\r\nk=1\r\n");
}

}  // namespace
}  // namespace morvane::core
