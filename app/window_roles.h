#pragma once

// The one place where the window meets the engine and the document: it plays every
// window role they ask of a host over the window's parts, and owns the document
// model, the engine, the run sequence and the document commands. The titles list,
// the recent-files menu and the changed mark are views of the model and follow its
// change notice; every change of state ends in one recomputation of the enablement.

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/command_state.h"
#include "app/contour_painter.h"
#include "app/run_controller.h"
#include "app/scopel_view.h"
#include "app/settings_io.h"
#include "document/document.h"
#include "document/document_model.h"
#include "document/local_file_system.h"
#include "document/run_sequence.h"
#include "document/widgets/qt_services.h"
#include "document/window_roles.h"
#include "engine/contour_engine.h"
#include "engine/window_roles.h"
#include "platform/core/pixel_buffer.h"
#include "platform/widgets/file_dialog.h"

class QComboBox;
class QLineEdit;
class QProgressBar;

namespace morvane::automation {
class Control;
}
namespace morvane::widgets {
class KeyedToolBar;
class MenuModel;
class PanelStatusBar;
}  // namespace morvane::widgets

namespace morvane::app {

class ContourTree;
class FactorsStrip;
class TitlesStrip;

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
  ContourTree* tvCoord = nullptr;
  TitlesStrip* titles = nullptr;    // over cbTitles and tbTitles
  FactorsStrip* factors = nullptr;  // over tbShiftX, tbShiftY and tbFactor
  QComboBox* cbTitles = nullptr;
  QLineEdit* tbTitles = nullptr;
  automation::Control* sbDigits = nullptr;
  ScopelView scopel;
  QPixmap changedPicture;
};

class WindowHost : public engine::RunControl,
                   public engine::StatusLine,
                   public engine::PictureView,
                   public engine::TitlesView,
                   public document::Prompts,
                   public document::WindowCaption,
                   public document::MenuTexts,
                   public document::CommandState,
                   public document::RunDisplay {
 public:
  WindowHost(WindowParts& parts, RunController& run, WindowSettings& settings);
  ~WindowHost() override;

  // The roles as the document and the run sequence take them.
  document::WindowRoles Roles() {
    return {*this, *this, *this, *this, *this, *this, *this, *this, *this};
  }

  // Whether the help file is there (Help Topics and What's This follow it).
  bool helpFileExists = false;
  document::DocumentModel& Model() { return model_; }
  const document::DocumentModel& Model() const { return model_; }
  document::DocumentState& State() { return model_.state; }
  document::Document& Doc() { return document_; }
  document::RunSequence& Runs() { return runs_; }
  engine::ContourEngine& Engine() { return engine_; }
  // The engine set up for a trace: the background colour, method and Connected of now.
  // Every whole-image run, a batch's included, takes them first.
  void PrepareEngine();
  widgets::FileDialog& Dialogs() { return dialogs_; }
  // View > Zoom, run when the document selects a zoom.
  std::function<void(int index)> selectZoom;

  // File > Create Contour with the settings and the background colour of now.
  void CreateContours();
  // The start-up's document: the recent list's first entry, then the command line,
  // then the map and image they name.
  void LoadAtStart(const CommandLinePath& commandLine);
  // The stored recent files; files that are gone are dropped and the rest close up.
  void SetRecentFiles(const std::vector<std::string>& paths);

  // Enabled and checked states of every item and button, from the state now.
  CommandInputs Inputs() const;
  void RefreshCommands();

  bool IsChanged() const { return model_.IsChanged(); }
  void SetChanged(bool changed) { model_.LetChanged(changed); }

  // The digits spin box: set (held within its limits), and its change followed.
  int LetDigitsValue(int digits);
  void DigitsChanged();

  // engine::RunControl
  void ShowElapsedTime() override;
  // A stretch of steps is one step for the pump, which runs at its own rate anyway.
  std::int64_t ShowElapsedTimes(std::int64_t n) override;
  void SetProgress(int index, int percent) override;
  void HideProgress(int index) override;
  // The progress bars as the run left them; the run's pump calls it before painting.
  void ApplyProgress();
  bool StopRequested() const override { return run_.StopRequested(); }

  // engine::StatusLine
  void SetStatusText(engine::StatusField field, std::string_view text) override;

  // engine::PictureView
  void ShowImage() override { cleanPending_ = true; }
  // Asks for the contours to be drawn once the current event is done (the clean image
  // first when it was asked for); the Edit menu follows at once.
  void RedrawContours() override;
  // Draws an asked-for redraw now.
  void FlushRedraw() { redraw_.Flush(); }
  // Marks every vertex, or paints the marks over, as Show Vertices says.
  void DrawPointMarks();
  void LocateCursor(double x, double y) override;
  void ClearPicture() override;
  void ShowPicture(const core::RgbImage& image) override;
  void ReshowPicture() override;
  void SelectZoom(int index) override;

  // engine::TitlesView
  void SelectTitle(std::int32_t index) override;

  // document::Prompts
  void Beep(int type) override;
  int Ask(const std::string& text, document::Buttons buttons) override;
  void ShowError(const std::string& text) override;

  // document::WindowCaption
  std::string ProgramTitle() const override;
  void SetCaption(const std::string& caption) override;

  // document::MenuTexts
  std::string MenuCaption(document::MenuCommand item) const override;
  std::int32_t MenuHelpContextId(document::MenuCommand item) const override;
  bool CentroidChecked() const override { return settings_.mSettingsCentroid; }

  // document::CommandState
  void StateChanged() override;

  // document::RunDisplay
  void StartRunClock() override { run_.StartClock(); }
  void SetBusyPointer(bool busy) override;
  void ClearStopRequest() override { run_.ClearStop(); }

 private:
  // The model's views.
  void ModelChanged(unsigned changes);
  void DrawContoursNow();
  // The picture on the zoom view, its scroll position kept.
  void ShowWorkPicture(const core::RgbImage& picture);
  void ShowTitles();
  void ShowRecentFiles();
  void ShowChangedMark();
  // The run phase shown: the parts a run switches off, and a close that waited for it.
  void FollowPhase(document::RunPhase phase);
  // The elapsed time in panel "Time".
  void ShowClock();
  // The busy pointer over the whole application, on or off.
  void ShowBusyPointer(bool busy);

  WindowParts& parts_;
  RunController& run_;
  WindowSettings& settings_;

  document::DocumentModel model_;
  document::LocalFileSystem disk_;
  document::QtImageSource pictures_;
  widgets::FileDialog dialogs_;
  std::unique_ptr<document::QtDialogControl> dialogControl_;
  engine::ContourEngine engine_;
  // The run sequence whose whole-image runs trace with the window's settings of now.
  class SettingsRuns final : public document::RunSequence {
   public:
    SettingsRuns(WindowHost& host, document::DocumentModel& model, engine::ContourEngine& engine)
        : RunSequence(model, engine, host.Roles()), host_(host) {}
    void CreateWholeImageContours() override {
      host_.PrepareEngine();
      RunSequence::CreateWholeImageContours();
    }

   private:
    WindowHost& host_;
  };
  SettingsRuns runs_;
  document::Document document_;

  core::RgbImage pbImage_;
  core::RgbImage drawn_;  // the work picture with the contours drawn
  document::RunPhase shownPhase_ = document::RunPhase::Idle;
  bool editEnabled_ = false;
  bool saveAsEnabled_ = false;
  bool cleanPending_ = false;
  bool viewClean_ = false;  // the zoom view shows pbImage_ as it is
  bool busyPointerShown_ = false;
  // The widget that had the focus when the window last left its idle phase.
  QPointer<QWidget> focusBefore_;
  DeferredCall redraw_{[this] { DrawContoursNow(); }};
  std::array<int, 3> progressValue_{};
  std::array<bool, 3> progressShown_{};
};

}  // namespace morvane::app
