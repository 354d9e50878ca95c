#pragma once

// The one place where the window meets the engine and the document: it plays the
// roles they ask of a host (the engine's host, run control and titles list, the
// document's view) over the window's parts, and owns the engine, the document and
// their state. The commands of the window reach the engine and the document only
// through here.

#include <QPixmap>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/command_state.h"
#include "app/run_controller.h"
#include "app/scopel_view.h"
#include "app/settings_io.h"
#include "document/document.h"
#include "document/document_state.h"
#include "document/local_file_system.h"
#include "document/widgets/qt_services.h"
#include "engine/contour_engine.h"
#include "engine/contour_state.h"
#include "platform/core/pixel_buffer.h"
#include "platform/widgets/file_dialog.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QTreeWidget;
class QWidget;

namespace morvane::automation {
class Control;
}
namespace morvane::widgets {
class KeyedToolBar;
class MenuModel;
class PanelStatusBar;
}  // namespace morvane::widgets

namespace morvane::app {

// The widgets of the window that the roles work on; the window owns them.
struct WindowParts {
  QWidget* form = nullptr;
  widgets::MenuModel* menus = nullptr;
  std::array<widgets::KeyedToolBar*, 4> toolbars{};
  widgets::PanelStatusBar* status = nullptr;
  std::array<QProgressBar*, 3> progress{};
  QWidget* pbMain = nullptr;
  QWidget* pbFactors = nullptr;
  QWidget* pbTitles = nullptr;
  QTreeWidget* tvCoord = nullptr;
  QComboBox* cbTitles = nullptr;
  QLineEdit* tbTitles = nullptr;
  automation::Control* sbDigits = nullptr;
  ScopelView scopel;
  QPixmap changedPicture;
};

class WindowRoles : public engine::EngineHost, public engine::TitlesList, public document::DocumentView {
 public:
  WindowRoles(WindowParts& parts, RunController& run, WindowSettings& settings);
  ~WindowRoles() override;

  document::DocumentState& State() { return state_; }
  engine::ContourState& Contours() { return contours_; }
  document::Document& Doc() { return document_; }
  widgets::FileDialog& Dialogs() { return dialogs_; }
  // View > Zoom, run when the document selects a zoom.
  std::function<void(int index)> selectZoom;

  // The commands of the File menu that reach the document or the engine.
  void Open() { document_.mFileOpen_Click(); }
  bool Save() { return document_.mFileSave_Click(); }
  void SaveAs() { document_.mFileSaveAs_Click(); }
  void Batch() { document_.mFileBatch_Click(); }
  void OpenRecent(int index) { document_.mFileList_Click(index); }
  int ConfirmSaveChanges() { return document_.ConfirmSaveChanges(); }
  // The start-up's document: the recent list's first entry, then the command line,
  // then the map and image they name.
  void LoadAtStart(const CommandLinePath& commandLine);
  // The recent files for the exit, newest first.
  std::vector<std::string> RecentFiles() const;
  void SetRecentFiles(const std::vector<std::string>& paths);

  // Enabled and checked states of every item and button, from the state now.
  CommandInputs Inputs();
  void RefreshCommands();

  bool IsChanged() const override { return changed_; }
  void SetChanged(bool changed) override;
  std::int32_t UpperBound() const;

  // engine::RunControl
  void ShowElapsedTime() override;
  void SetProgress(int index, int percent) override;
  void HideProgress(int index) override;
  bool StopRequested() const override { return run_.StopRequested(); }

  // engine::TitlesList
  void Clear() override;
  void AddItem(const std::string& text) override;
  void RemoveItem(std::int32_t index) override;
  std::int32_t ListCount() const override;
  std::string List(std::int32_t index) const override;
  void SetListIndex(std::int32_t index) override;
  void SetTitlesText(const std::string& text) override;
  void EnableTitlesText(bool enabled) override;

  // engine::EngineHost
  void SetProgress2Text(std::string_view text) override;
  std::string OutputNumberFormat() const override { return state_.OutputNumberFormat; }
  bool BatchRunning() const override { return state_.BatchRunning; }
  void StartRunClock() override { run_.StartClock(); }
  void EnableUiDuringRun(bool enabled) override;
  void SetBusyPointer(int pointer) override;
  void SetWindowEnabled(bool enabled) override;
  void EnableAddCommand(bool enabled) override;
  void LoadImageFile(bool keepScroll) override { document_.LoadImageFile(keepScroll); }
  void ShowImage() override { cleanPending_ = true; }
  void RedrawContours() override;
  void FillContourTree(std::int32_t selected) override;
  void MarkChanged() override { SetChanged(true); }
  void ResetAfterRun() override;
  void LocateCursor(double x, double y) override;
  void SetTitlesSelectionFlag(bool set) override { titlesSelecting_ = set; }

  // document::DocumentView
  void Beep(int type) override;
  int Ask(const std::string& text, document::Buttons buttons) override;
  void ShowError(const std::string& text) override;
  std::string ProgramTitle() const override;
  void SetCaption(const std::string& caption) override;
  void SetStatusText(document::StatusPanel panel, const std::string& text) override;
  void ClearPicture() override;
  void ShowPicture(const core::RgbImage& image) override;
  void ReshowPicture() override;
  void SelectZoom(int index) override;
  void SyncToolbarButtons() override { RefreshCommands(); }
  void UpdateEditMenuState(bool enabled) override;
  void EnableMenu(document::MenuItem item, bool enabled) override;
  std::string MenuCaption(document::MenuItem item) const override;
  std::int32_t MenuHelpContextId(document::MenuItem item) const override;
  bool CentroidChecked() const override { return settings_.mSettingsCentroid; }
  std::string PainterPath() const override { return settings_.Painter; }
  int SetDigitsValue(int digits) override;
  std::string RecentCaption(int index) const override;
  bool RecentVisible(int index) const override;
  void SetRecentItem(int index, const std::string& caption, bool visible) override;
  void CreateContours() override;

  // The digits spin box changed: the pattern of contour numbers follows it.
  void DigitsChanged();

 private:
  WindowParts& parts_;
  RunController& run_;
  WindowSettings& settings_;

  engine::ContourState contours_;
  document::DocumentState state_;
  document::LocalFileSystem disk_;
  document::QtImageSource pictures_;
  widgets::FileDialog dialogs_;
  std::unique_ptr<document::QtDialogControl> dialogControl_;
  engine::ContourEngine engine_;
  document::Document document_;

  core::RgbImage pbImage_;
  bool changed_ = false;
  bool editEnabled_ = false;
  bool addEnabled_ = false;
  bool saveAsEnabled_ = false;
  bool recentEnabled_ = false;
  bool cleanPending_ = false;
  bool titlesSelecting_ = false;
  bool uiEnabled_ = true;
};

}  // namespace morvane::app
