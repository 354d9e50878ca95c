#include "platform/core/file_system.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace morvane::core {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;

TEST(FileSystemTest, ProbesTellFilesFromFolders) {
  TempFolder dir;
  const std::string file = dir.Write("f.txt", "x");
  std::filesystem::create_symlink(file, dir.File("link"));
  std::filesystem::create_symlink(dir.File("gone"), dir.File("dangling"));
  struct Case {
    std::string path;
    bool file;
    bool folder;
  };
  const Case cases[] = {
      {file, true, false},          {dir.path(), false, true},
      {dir.File("link"), true, false}, {dir.File("dangling"), false, false},
      {dir.File("none"), false, false}, {"", false, false},
      {file + "/below", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsFile(c.path), c.file) << c.path;
    EXPECT_EQ(IsFolder(c.path), c.folder) << c.path;
  }
}

TEST(FileSystemTest, ReadTellsMissingFromUnreadable) {
  TempFolder dir;
  EXPECT_EQ(ReadFileBytes(dir.Write("f", std::string("a\0b", 3))).bytes, std::string("a\0b", 3));
  EXPECT_EQ(ReadFileBytes(dir.File("none")).status, FileContents::kMissing);
  EXPECT_EQ(ReadFileBytes(dir.File("none/below")).status, FileContents::kMissing);
  const FileContents folder = ReadFileBytes(dir.path());
  EXPECT_EQ(folder.status, FileContents::kFailed);
  EXPECT_FALSE(folder.error.empty());
}

TEST(FileSystemTest, ReadsOnlyRegularFilesWithinTheLimit) {
  TempFolder dir;
  // A pipe or a device where a file belongs would block the read or never end it.
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string small = dir.Write("small", "12345");
  struct Case {
    const char* what;
    std::string path;
    std::size_t limit;
    FileContents::Status status;
  };
  const Case cases[] = {
      {"a pipe without a writer", pipe, static_cast<std::size_t>(-1), FileContents::kFailed},
      {"an endless device", "/dev/zero", static_cast<std::size_t>(-1), FileContents::kFailed},
      {"a file over the limit", small, 4, FileContents::kFailed},
      {"a file at the limit", small, 5, FileContents::kOk},
  };
  for (const Case& c : cases) {
    const FileContents contents = ReadFileBytes(c.path, c.limit);
    EXPECT_EQ(contents.status, c.status) << c.what;
    if (c.status == FileContents::kFailed) {
      EXPECT_TRUE(contents.bytes.empty()) << c.what;
      EXPECT_NE(contents.error.find(c.path), std::string::npos) << c.what << ": " << contents.error;
    }
  }
}

TEST(FileSystemTest, AtomicWriteCreatesReplacesAndFollowsLinks) {
  TempFolder dir;
  const std::string file = dir.File("f.txt");
  ASSERT_TRUE(WriteFileAtomic(file, "one"));
  EXPECT_EQ(ReadAll(file), "one");
  ASSERT_TRUE(WriteFileAtomic(file, "two"));
  EXPECT_EQ(ReadAll(file), "two");
  std::filesystem::create_symlink(file, dir.File("link"));
  ASSERT_TRUE(WriteFileAtomic(dir.File("link"), "three"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link")));
  EXPECT_EQ(ReadAll(file), "three");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(FileSystemTest, FailedAtomicWriteIsReportedAndLeavesTheOldFileWhole) {
  TempFolder dir;
  const std::string plain = dir.Write("plain", "keep");
  struct Case {
    std::string path;
  };
  // Paths that cannot be written even by root: below a regular file, in a missing
  // folder, inside the kernel's own file system, and a folder in place of the file.
  const Case cases[] = {{plain + "/f"}, {dir.File("none/f")}, {"/proc/version"}, {dir.path()}};
  const std::string version = ReadAll("/proc/version");
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomic(c.path, "new", &error)) << c.path;
    EXPECT_FALSE(error.empty()) << c.path;
  }
  EXPECT_EQ(ReadAll(plain), "keep");
  EXPECT_EQ(ReadAll("/proc/version"), version);
  EXPECT_TRUE(IsFolder(dir.path()));
}

TEST(FileSystemTest, WritableFolderIsTriedNotGuessed) {
  TempFolder dir;
  EXPECT_TRUE(FolderIsWritable(dir.path()));
  EXPECT_FALSE(FolderIsWritable("/proc"));
  EXPECT_FALSE(FolderIsWritable(dir.File("none")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
  EXPECT_TRUE(CreateFolders(dir.File("a/b/c")));
  EXPECT_TRUE(IsFolder(dir.File("a/b/c")));
}

TEST(FileSystemTest, FileTimesAreReadAndSet) {
  using namespace std::chrono;
  TempFolder dir;
  const std::string file = dir.Write("f", "x");
  const auto when = floor<seconds>(system_clock::now() - hours(24 * 400));
  ASSERT_TRUE(SetFileTime(file, FileTimeKind::kLastWrite, when));
  EXPECT_EQ(GetFileTime(file, FileTimeKind::kLastWrite), when);
  ASSERT_TRUE(SetFileTime(file, FileTimeKind::kLastAccess, when + hours(1)));
  EXPECT_EQ(GetFileTime(file, FileTimeKind::kLastAccess), when + hours(1));
  EXPECT_EQ(GetFileTime(file, FileTimeKind::kLastWrite), when) << "the other time stays";
  EXPECT_TRUE(GetFileTime(file, FileTimeKind::kCreation).has_value());
  EXPECT_FALSE(SetFileTime(file, FileTimeKind::kCreation, when));
  EXPECT_EQ(GetFileTime(dir.File("none"), FileTimeKind::kLastWrite), std::nullopt);
  EXPECT_FALSE(SetFileTime(dir.File("none"), FileTimeKind::kLastWrite, when));
}

}  // namespace
}  // namespace morvane::core
