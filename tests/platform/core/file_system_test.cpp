#include "platform/core/file_system.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace morvane::core {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::RunInChild;
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
      {file, true, false},
      {dir.path(), false, true},
      {dir.File("link"), true, false},
      {dir.File("dangling"), false, false},
      {dir.File("none"), false, false},
      {"", false, false},
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

std::size_t EntriesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(FileSystemTest, SaveReplacesNothingButARegularFile) {
  TempFolder dir;
  namespace fs = std::filesystem;
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  fs::create_directory(dir.File("folder"));
  fs::create_symlink("/dev/null", dir.File("device"));
  fs::create_symlink(dir.File("gone"), dir.File("dangling"));
  fs::create_symlink(dir.File("loop"), dir.File("loop"));
  fs::create_symlink(dir.File("pipe"), dir.File("to-pipe"));
  struct Case {
    const char* what;
    std::string path;
  };
  const Case cases[] = {
      {"a device behind a link", dir.File("device")}, {"a pipe", dir.File("pipe")},
      {"a link to a pipe", dir.File("to-pipe")},      {"a folder", dir.File("folder")},
      {"a dangling link", dir.File("dangling")},      {"a link loop", dir.File("loop")},
  };
  for (const Case& c : cases) {
    const auto before = fs::symlink_status(c.path).type();
    std::string error;
    EXPECT_FALSE(WriteFileAtomic(c.path, "new", &error)) << c.what;
    EXPECT_NE(error.find("is not a regular file"), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(fs::symlink_status(c.path).type(), before) << c.what << " stays what it was";
  }
  EXPECT_FALSE(fs::exists(dir.File("gone"))) << "nothing is written where a dangling link points";
  EXPECT_EQ(EntriesIn(dir.path()), 6u) << "no temporary file is left behind";
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(FileSystemTest, ReadOnlyFileIsRefusedUnlessItIsTheProgramsOwn) {
  TempFolder dir;
  const std::string file = dir.Write("map.htm", "old");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  std::string error;
  // Also as root, who may write anything: the file says it is not to be changed.
  EXPECT_FALSE(WriteFileAtomic(file, "new", &error));
  EXPECT_NE(error.find(std::strerror(EACCES)), std::string::npos) << error;
  EXPECT_EQ(ReadAll(file), "old");
  EXPECT_TRUE(WriteFileAtomic(file, "new", &error, ReadOnlyFiles::kReplace));
  EXPECT_EQ(ReadAll(file), "new");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(FileSystemTest, FileSizeLimitIsAReportedError) {
  TempFolder dir;
  const std::string file = dir.Write("big", "old");
  const int code = RunInChild([&] {
    const struct rlimit limit { 1000, 1000 };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool written = WriteFileAtomic(file, std::string(5000, 'x'), &error);
    return written ? 1 : error.find(std::strerror(EFBIG)) != std::string::npos ? 0 : 2;
  });
  EXPECT_EQ(code, 0) << "the write fails with its reason instead of killing the writer";
  EXPECT_EQ(ReadAll(file), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(FileSystemTest, AKilledSaveLeavesNoTemporaryFile) {
  TempFolder dir;
  const std::string file = dir.Write("map.htm", "old");
  const std::string big(4 << 20, 'x');
  for (int delayUs : {0, 200, 1000, 3000, 8000, 20000}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      for (;;) WriteFileAtomic(file, big);
    }
    ::usleep(static_cast<useconds_t>(delayUs));
    ::kill(pid, SIGKILL);
    morvane::testing::WaitForChild(pid);
  }
  // Whatever moment the kill came at, the file is whole, and the next save clears what
  // the brief moment between naming and renaming may have left.
  const std::string content = ReadAll(file);
  EXPECT_TRUE(content == "old" || content == big);
  ASSERT_TRUE(WriteFileAtomic(file, "new"));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
  EXPECT_EQ(ReadAll(file), "new");
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
