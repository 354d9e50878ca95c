#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::core {

// Paths are UTF-8 texts with "/" between folders.

// True for an existing file that is not a folder (links are followed). Never throws.
bool IsFile(const std::string& path);

// True for an existing folder (links are followed). Never throws.
bool IsFolder(const std::string& path);

// The whole file. kMissing when there is no such file (nor its folder); kFailed when it
// exists but cannot be read, so a writer knows not to replace what it could not see.
// Only regular files are read (a pipe or a device in a file's place would block or
// never end), and none larger than maxBytes.
struct FileContents {
  enum Status { kOk, kMissing, kFailed } status = kMissing;
  std::string bytes;
  std::string error;
};
FileContents ReadFileBytes(const std::string& path, std::size_t maxBytes = static_cast<std::size_t>(-1));

// The first bytes of a regular file, at most count of them, whatever its size; "" when
// it is missing, no regular file or cannot be read.
std::string ReadFileStart(const std::string& path, std::size_t count);

// What a save does with a file that is there but read-only for everyone: a document
// is refused with the permission error, as an editor would; a settings file is the
// program's own and replaced like any other.
enum class ReadOnlyFiles { kRefuse, kReplace };

// Replaces the file's bytes so that a reader sees either the old file or the new one,
// never a part: the bytes go to an unnamed temporary file in the target's folder, are
// flushed to disk, given a name and renamed over the target at once, so a kill leaves
// nothing behind (and the next save removes what a killed writer left in the moment
// between). An existing file keeps its permissions; a link is followed to the regular
// file it names. Only a regular file (or none) is replaced: a device, a pipe, a
// folder, a dangling link or a link loop is refused with "is not a regular file". A
// file-size limit gives an error, not the death of the process. On failure the old
// file is untouched, no temporary file stays, false is returned and error receives
// the reason.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                     ReadOnlyFiles readOnly = ReadOnlyFiles::kRefuse);

// Holds an advisory lock (flock) on a file's folder while it lives, so that writers
// in other processes read, merge and replace the file one after the other. Without a
// folder that can be opened it holds nothing and the write goes on unguarded.
class FolderLock {
 public:
  explicit FolderLock(const std::string& file);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateFolders(const std::string& path);

// True when a file can be created in the folder (tried, not guessed from the mode
// bits: root passes every mode test, but not a read-only mount).
bool FolderIsWritable(const std::string& folder);

enum class FileTimeKind { kCreation = 0, kLastAccess = 1, kLastWrite = 2 };

using FileTime = std::chrono::system_clock::time_point;

// One of the file's (or folder's) times. The creation time is the birth time where the
// file system keeps one, else the last-write time.
std::optional<FileTime> GetFileTime(const std::string& path, FileTimeKind kind);

// Sets the last-access or last-write time and leaves the other as it was. Linux has no
// way to set a birth time: kCreation changes nothing and answers false.
bool SetFileTime(const std::string& path, FileTimeKind kind, FileTime time);

}  // namespace morvane::core
