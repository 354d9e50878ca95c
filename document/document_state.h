#pragma once

#include <string>
#include <string_view>

namespace morvane::document {

// The document's paths and the batch's settings: plain data held by the document model.
struct DocumentState {
  // Full path of the current image.
  std::string ImagePath;
  // The document's map; "" means none was chosen and the default map path is used.
  std::string MapPath;
  // The img src the map reader found (may be relative); written back unchanged.
  std::string ImageSrc;
  // The batch report ("TXTFile").
  std::string TextOutputPath;
  // Batch: one map per image ("Output1") rather than one report for all.
  bool SeparateFiles = false;
  // Ask before overwriting a map that this program did not write (the batch panel's
  // "Stop on Error", settings key "Output2").
  bool AskBeforeOverwrite = false;
  // True while the batch dialog is up and while the batch runs; Stop clears it.
  bool BatchRunning = false;
};

// The map that belongs to an image: the extension of the file name replaced by
// ".htm", or ".htm" added when the name has none. Only the file name is looked at,
// so a "." in a folder name stays ("/data/v1.2/coast" gives "/data/v1.2/coast.htm").
// "" gives "".
std::string DefaultMapPath(std::string_view imagePath);

// The text after the last "/" or "\" (the whole path when it has neither).
std::string FileNameOf(std::string_view path);

// The folder part of a path up to and including its last "/" or "\"; "" when none.
std::string FolderOf(std::string_view path);

}  // namespace morvane::document
