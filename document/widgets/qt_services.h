#pragma once

#include <functional>

#include "document/document_model.h"
#include "document/file_access.h"

namespace morvane::widgets {
class FileDialog;
}

namespace morvane::document {

// The document's dialog control over the program's file dialogs. While the document
// runs a batch (BatchRunning set around its open dialog), the dialog gets the output
// settings panel, bound to the document's settings.
class QtDialogControl : public DialogControl {
 public:
  // connected answers whether Settings > Connected is checked when a dialog opens.
  QtDialogControl(widgets::FileDialog& dialogs, DocumentModel& model, std::function<bool()> connected);
  ~QtDialogControl() override;

  std::int32_t FileCount() const override;
  std::string FileAt(std::int32_t index) const override;
  std::int32_t ShowOpenDialog() override;
  std::int32_t ShowSaveDialog() override;

 private:
  std::int32_t Show(bool save);

  widgets::FileDialog& dialogs_;
  DocumentModel& model_;
  std::function<bool()> connected_;
};

// Pictures through the program's image loader.
class QtImageSource : public ImageSource {
 public:
  bool LoadPicture(const std::string& path, core::RgbImage& image, std::string& message) override;
};

}  // namespace morvane::document
