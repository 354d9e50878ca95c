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
FileContents ReadFileBytes(const std::string& path,
                           std::size_t maxBytes = static_cast<std::size_t>(-1));

// Replaces the file's bytes so that a reader sees either the old file or the new one,
// never a part: the bytes go to a temporary file beside the target, are flushed to
// disk and renamed over it. An existing file keeps its permissions (a read-only file
// is replaced like any other, as long as its folder is writable); a link is followed
// to the file it names. On failure the old file is untouched, the temporary file is
// removed, false is returned and error receives the reason.
bool WriteFileAtomic(const std::string& path, std::string_view bytes,
                     std::string* error = nullptr);

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
