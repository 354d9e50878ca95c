#pragma once

// The one place where the window meets the engine and the document: it owns the
// engine, the run sequence and the document commands over the window's document model,
// and hands them the window's parts as their roles. The titles list, the recent-files
// menu and the changed mark are views of the model and follow its change notice; every
// change of state ends in one recomputation of the enablement.

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/command_state.h"
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
#include "platform/widgets/file_dialog.h"

namespace morvane::automation {
class Control;
}
namespace morvane::widgets {
class KeyedToolBar;
class MenuModel;
}  // namespace morvane::widgets

namespace morvane::app {

class ContourTree;
class FactorsStrip;
class StatusPanels;
class TitlesStrip;
class WindowPrompts;
class WorkPicture;

class DocumentHost : public document::CommandState, public document::RunDisplay {
 public:
  // The document runs on the window's model and shows itself through the parts named
  // here: the status panels, the work picture, the titles strip and the prompts play
  // its roles; the tree, the titles, the recent-files menu, the changed mark and the
  // digits box follow the model; the menus and the tool bars show the enablement; a run
  // switches off the main panel, the Standard band and the strips. helpFileExists: Help
  // Topics and What's This follow it.
  DocumentHost(QWidget* form, document::DocumentModel& model, RunController& run,
               WindowSettings& settings, StatusPanels& status, WorkPicture& picture, TitlesStrip& titles,
               FactorsStrip& factors, WindowPrompts& prompts, ContourTree& tree,
               widgets::MenuModel& menus, const std::array<widgets::KeyedToolBar*, 4>& toolbars,
               QWidget* pbMain, ScopelView& scopel, automation::Control* sbDigits, bool helpFileExists);
  ~DocumentHost() override;

  // The roles as the document and the run sequence take them.
  document::WindowRoles Roles();

  // Whether the busy pointer is up over the application.
  bool BusyPointerShown() const { return busyPointerShown_; }
  document::DocumentModel& Model() { return model_; }
  const document::DocumentModel& Model() const { return model_; }
  const document::DocumentState& State() const { return model_.State(); }
  document::Document& Doc() { return document_; }
  document::RunSequence& Runs() { return runs_; }
  engine::ContourEngine& Engine() { return engine_; }
  // The engine set up for a trace: the background colour, method and Connected of now.
  // Every whole-image run, a batch's included, takes them first.
  void PrepareEngine();
  widgets::FileDialog& Dialogs() { return dialogs_; }

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
  // What the last RefreshCommands computed and applied to the items and buttons.
  const CommandStates& LastCommandStates() const { return commandStates_; }

  bool IsChanged() const { return model_.IsChanged(); }
  void SetChanged(bool changed) { model_.LetChanged(changed); }

  // The digits spin box: set (held within its limits), and its change followed.
  int LetDigitsValue(int digits);
  void DigitsChanged();

  // document::CommandState
  void StateChanged() override;

  // document::RunDisplay
  void StartRunClock() override { run_.StartClock(); }
  void SetBusyPointer(bool busy) override;
  void ClearStopRequest() override { run_.ClearStop(); }

 private:
  // The model's views.
  void ModelChanged(unsigned changes);
  void ShowTitles();
  void ShowRecentFiles();
  void ShowChangedMark();
  // The run phase shown: the parts a run switches off, and a close that waited for it.
  void FollowPhase(document::RunPhase phase);
  // The busy pointer over the whole application, on or off.
  void ShowBusyPointer(bool busy);

  QWidget* form_;
  document::DocumentModel& model_;
  RunController& run_;
  WindowSettings& settings_;
  StatusPanels& status_;
  WorkPicture& picture_;
  TitlesStrip& titles_;
  FactorsStrip& factors_;
  WindowPrompts& prompts_;
  ContourTree& tree_;
  widgets::MenuModel& menus_;
  std::array<widgets::KeyedToolBar*, 4> toolbars_;
  QWidget* pbMain_;
  ScopelView& scopel_;
  automation::Control* sbDigits_;
  bool helpFileExists_;

  document::LocalFileSystem disk_;
  document::QtImageSource pictures_;
  widgets::FileDialog dialogs_;
  std::unique_ptr<document::QtDialogControl> dialogControl_;
  engine::ContourEngine engine_;
  // The run sequence whose whole-image runs trace with the window's settings of now.
  class SettingsRuns final : public document::RunSequence {
   public:
    SettingsRuns(DocumentHost& host, document::DocumentModel& model, engine::ContourEngine& engine)
        : RunSequence(model, engine, host.Roles()), host_(host) {}
    void CreateWholeImageContours() override {
      host_.PrepareEngine();
      RunSequence::CreateWholeImageContours();
    }

   private:
    DocumentHost& host_;
  };
  SettingsRuns runs_;
  document::Document document_;

  CommandStates commandStates_;
  document::RunPhase shownPhase_ = document::RunPhase::Idle;
  bool saveAsEnabled_ = false;
  bool busyPointerShown_ = false;
  // The widget that had the focus when the window last left its idle phase.
  QPointer<QWidget> focusBefore_;
};

}  // namespace morvane::app
