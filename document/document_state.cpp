#include "document/document_state.h"

namespace morvane::document {
namespace {

std::size_t NameStart(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

std::string DefaultMapPath(std::string_view imagePath) {
  if (imagePath.empty()) return {};
  const std::size_t start = NameStart(imagePath);
  const std::size_t dot = imagePath.find_last_of('.');
  const std::size_t stem = dot != std::string_view::npos && dot >= start ? dot : imagePath.size();
  return std::string(imagePath.substr(0, stem)) + ".htm";
}

std::string FileNameOf(std::string_view path) { return std::string(path.substr(NameStart(path))); }

std::string FolderOf(std::string_view path) { return std::string(path.substr(0, NameStart(path))); }

}  // namespace morvane::document
