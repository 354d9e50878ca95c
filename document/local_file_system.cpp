#include "document/local_file_system.h"

#include <sys/stat.h>

#include "platform/core/file_system.h"
#include "platform/core/text_codec.h"

namespace morvane::document {
namespace {

// Why a file that is there could not be read, worded as the picture loader words it.
std::string WhyUnreadable(const std::string& path, const std::string& readError) {
  if (core::IsFolder(path)) return "it is a folder, not a file";
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return "it is not a regular file";
  // The reason without the path in front: the caller names the file its own way.
  const std::string prefix = path + ": ";
  return readError.starts_with(prefix) ? readError.substr(prefix.size()) : readError;
}

}  // namespace

bool LocalFileSystem::FileExists(const std::string& path) const { return core::IsFile(path); }

bool LocalFileSystem::DirExists(const std::string& path) const { return core::IsFolder(path); }

std::optional<std::string> LocalFileSystem::ReadText(const std::string& path,
                                                     std::string* error) const {
  const core::FileContents contents = core::ReadFileBytes(path);
  if (contents.status == core::FileContents::kOk) return core::DecodeText(core::StripUtf8Bom(contents.bytes));
  if (error != nullptr) {
    *error = contents.status == core::FileContents::kMissing ? std::string()
                                                             : WhyUnreadable(path, contents.error);
  }
  return std::nullopt;
}

std::string LocalFileSystem::ReadStart(const std::string& path, std::size_t count) const {
  return core::ReadFileStart(path, count);
}

bool LocalFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes,
                                      std::string& error) {
  return core::WriteFileAtomic(path, bytes, &error);
}

}  // namespace morvane::document
