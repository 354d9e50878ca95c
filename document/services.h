#pragma once
// What the document reaches outside itself: files, pictures, the dialog control and
// the main window. Each is a small interface, so the commands run against fakes in
// the tests and against Qt in the program.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/host.h"
#include "platform/core/file_dialog_flags.h"
#include "platform/core/message_box.h"
#include "platform/core/pixel_buffer.h"

namespace morvane::document {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  virtual bool DirExists(const std::string& path) const = 0;
  // The file as UTF-8 text (files that are not UTF-8 are read as Windows-1252);
  // nullopt when it cannot be read.
  virtual std::optional<std::string> ReadText(const std::string& path) const = 0;
  // Replaces the file whole or not at all; on failure error says why.
  virtual bool WriteFileAtomic(const std::string& path, std::string_view bytes,
                               std::string& error) = 0;
};

class ImageSource {
 public:
  virtual ~ImageSource() = default;
  // Loads the picture; on failure message names the file and the reason.
  virtual bool LoadPicture(const std::string& path, core::RgbImage& image,
                           std::string& message) = 0;
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

// Menu items whose state, caption or help id the document uses.
enum class MenuItem {
  mFileOpen,
  mFileSave,
  mFileSaveAs,
  mFileBatch,
  mFileAdd,
  mFileCreate,
  mFileStart,
  mFilePainter,
  mFileRecent,
  mEditRestore,
  mViewGrid,
  mViewPoints,
  mViewMagnifier,
  mViewZoom,  // every item of the zoom submenu
};

enum class StatusPanel { Info, Progress1, Progress2 };

// Message box answers.
using core::kAnswerCancel;
using core::kAnswerNo;
using core::kAnswerYes;

enum class Buttons { YesNo, YesNoCancel };

// Beep types.
inline constexpr int kWarningBeep = 48;
inline constexpr int kInformationBeep = 64;

// The number of items of the recent-files list.
inline constexpr int kRecentCount = 10;

// The main window as the document commands see it. The progress bars, the elapsed
// time and the stop flag come from the engine's run control.
class DocumentView : public engine::RunControl {
 public:
  // Status panel "Changed": a picture while the document has unsaved changes.
  virtual bool IsChanged() const = 0;
  // Puts or removes the changed mark, then runs UpdateChangedState.
  virtual void SetChanged(bool changed) = 0;

  // Message boxes are captioned with the program's title; each question has the
  // question icon.
  virtual void Beep(int type) = 0;
  virtual int Ask(const std::string& text, Buttons buttons) = 0;
  virtual void ShowError(const std::string& text) = 0;
  virtual std::string ProgramTitle() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetStatusText(StatusPanel panel, const std::string& text) = 0;

  // The run around long commands.
  virtual void StartRunClock() = 0;  // TraceStartTicks := now
  virtual void EnableUiDuringRun(bool enabled) = 0;
  virtual void SetBusyPointer(int pointer) = 0;  // a core::PointerShape
  virtual void SetWindowEnabled(bool enabled) = 0;

  // The work picture pbImage and the zoom view.
  virtual void ClearPicture() = 0;
  virtual void ShowPicture(const core::RgbImage& image) = 0;  // also enables the view
  virtual void ReshowPicture() = 0;  // the work picture again, scroll position kept
  virtual void SelectZoom(int index) = 0;  // mViewZoom_Click
  virtual void RedrawContours() = 0;
  virtual void FillContourTree(std::int32_t selected) = 0;
  virtual void SyncToolbarButtons() = 0;
  virtual void UpdateEditMenuState(bool enabled) = 0;

  // Menus and settings.
  virtual void EnableMenu(MenuItem item, bool enabled) = 0;
  virtual std::string MenuCaption(MenuItem item) const = 0;
  virtual std::int32_t MenuHelpContextId(MenuItem item) const = 0;
  virtual bool CentroidChecked() const = 0;  // mSettingsCentroid
  virtual std::string PainterPath() const = 0;
  // sbDigits.Value := digits; answers the value the spin box holds afterwards (it
  // clamps to its limits). A change runs its Change handler.
  virtual int SetDigitsValue(int digits) = 0;

  // The recent-files items 0 (newest) to kRecentCount - 1.
  virtual std::string RecentCaption(int index) const = 0;
  virtual bool RecentVisible(int index) const = 0;
  virtual void SetRecentItem(int index, const std::string& caption, bool visible) = 0;

  // File > Create on the current picture: the whole-image tracing.
  virtual void CreateContours() = 0;
};

}  // namespace morvane::document
