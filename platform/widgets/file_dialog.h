#pragma once

#include "platform/core/file_dialog_flags.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class QFileDialog;
class QWidget;

namespace morvane::widgets {

// One "description|patterns" pair of a filter text.
struct FilterEntry {
  QString description;
  QStringList patterns;  // as written: "*.gif", "*.*htm*", "*.*"
};

// Splits "Images (*.gif;*.jpg)|*.gif;*.jpg|All Files (*.*)|*.*|" into its pairs.
std::vector<FilterEntry> ParseFilter(const QString& filter);

// The pair as a Qt name filter: the patterns blank-separated in parentheses after the
// description's own words, and "*.*" (every file where it was written) as "*".
QString QtNameFilter(const FilterEntry& entry);

// The open and save dialogs of the document commands, over a non-native QFileDialog
// so that a caller can add its own widgets to it. Set the properties, then call a
// Show method: it returns 1 when the user chose OK and 0 when cancelled, and leaves
// the choice in FileName (the first file), FilterIndex, FileCount and FileAt.
class FileDialog {
 public:
  std::int32_t FileFlags =
      core::kOfnHideReadOnly | core::kOfnShowHelp | core::kOfnFileMustExist | core::kOfnShareAware;
  std::int32_t HelpContextId = 400;
  QString HelpFile;
  QString DialogTitle;
  QString DefaultExt;  // ".htm"
  QString Filter;
  std::int16_t FilterIndex = 1;  // 1-based
  QString InitDir;
  QString FileName;

  std::int32_t FileCount() const { return static_cast<std::int32_t>(files_.size()); }
  QString FileAt(std::int32_t index) const;

  std::int32_t ShowOpenDialog();
  std::int32_t ShowSaveDialog();
  // Shows topic HelpContextId of HelpFile through the host's help viewer.
  void ShowHelp();

  // Raised once the dialog and its standard children exist, before the user works in
  // it; the handler may add widgets and relabel buttons. A dialog opened while another
  // of this control is up (the batch panel's Browse) raises nothing, so the panel
  // stays in the dialog it was made for.
  std::function<void(QFileDialog& dialog)> InitDialog;
  // Where ShowHelp and the dialogs' Help button go.
  std::function<void(const QString& helpFile, std::int32_t contextId)> HelpRequested;

  // The window the dialogs are modal to.
  QWidget* parent = nullptr;

 private:
  std::int32_t Show(bool save);

  QStringList files_;
  int depth_ = 0;
};

}  // namespace morvane::widgets
