#include "document/local_file_system.h"

#include "platform/core/file_system.h"
#include "platform/core/text_codec.h"

namespace morvane::document {

bool LocalFileSystem::FileExists(const std::string& path) const { return core::IsFile(path); }

bool LocalFileSystem::DirExists(const std::string& path) const { return core::IsFolder(path); }

std::optional<std::string> LocalFileSystem::ReadText(const std::string& path) const {
  const core::FileContents contents = core::ReadFileBytes(path);
  if (contents.status != core::FileContents::kOk) return std::nullopt;
  return core::DecodeText(core::StripUtf8Bom(contents.bytes));
}

bool LocalFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes,
                                      std::string& error) {
  return core::WriteFileAtomic(path, bytes, &error);
}

}  // namespace morvane::document
