#pragma once

#include "document/file_access.h"

namespace morvane::document {

// The document's files on the local disk: text read as UTF-8 or else Windows-1252,
// writes atomic.
class LocalFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  bool DirExists(const std::string& path) const override;
  std::optional<std::string> ReadText(const std::string& path,
                                      std::string* error = nullptr) const override;
  std::string ReadStart(const std::string& path, std::size_t count) const override;
  bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string& error) override;
};

}  // namespace morvane::document
