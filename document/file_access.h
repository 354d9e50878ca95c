#pragma once
// How the document reaches files: the file system, pictures from files and the file
// dialogs. Each is a small interface, so the commands run against fakes in the tests
// and against the platform in the program. The window's roles are in window_roles.h.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/file_dialog_flags.h"
#include "platform/core/pixel_buffer.h"

namespace morvane::document {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  virtual bool DirExists(const std::string& path) const = 0;
  // The file as UTF-8 text (files that are not UTF-8 are read as Windows-1252);
  // nullopt when it cannot be read. Then error, when given, says why for a file that is
  // there ("it is not a regular file", the permission error) and is left empty for one
  // that is missing.
  virtual std::optional<std::string> ReadText(const std::string& path,
                                              std::string* error = nullptr) const = 0;
  // The file's first bytes as they stand, at most count of them; "" when it is no
  // regular file that can be read.
  virtual std::string ReadStart(const std::string& path, std::size_t count) const = 0;
  // Replaces the file whole or not at all; on failure error says why.
  virtual bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string& error) = 0;
};

class ImageSource {
 public:
  virtual ~ImageSource() = default;
  // Loads the picture; on failure message names the file and the reason.
  virtual bool LoadPicture(const std::string& path, core::RgbImage& image, std::string& message) = 0;
};

// The open and save dialogs of the dialog control. The caller sets the fields, then
// calls a Show method (1 = OK, anything else cancelled) and reads FileName,
// FilterIndex, or FileCount and FileAt.
class DialogControl {
 public:
  virtual ~DialogControl() = default;

  std::int32_t FileFlags =
      core::kOfnHideReadOnly | core::kOfnShowHelp | core::kOfnFileMustExist | core::kOfnShareAware;
  std::int32_t HelpContextId = 400;
  std::string DialogTitle;
  std::string DefaultExt;
  std::string Filter;
  std::int16_t FilterIndex = 1;
  std::string InitDir;
  std::string FileName;

  virtual std::int32_t FileCount() const = 0;
  virtual std::string FileAt(std::int32_t index) const = 0;
  virtual std::int32_t ShowOpenDialog() = 0;
  virtual std::int32_t ShowSaveDialog() = 0;
};

}  // namespace morvane::document
