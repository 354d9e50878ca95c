#pragma once

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

#include "app/app_context.h"
#include "app/command_table.h"
#include "app/context_help.h"
#include "app/help_commands.h"
#include "app/dialog_service.h"
#include "app/run_controller.h"
#include "app/document_host.h"
#include "app/scopel_view.h"
#include "app/settings_io.h"
#include "app/view_commands.h"
#include "common/settings_store.h"
#include "common/widgets/window_layout.h"
#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/update_check.h"

class QComboBox;
class QFileDialog;
class QFileInfo;
class QIcon;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace morvane::automation {
class Control;
class ClassRegistry;
class FunctionSink;
}  // namespace morvane::automation
namespace morvane::widgets {
class BandBar;
class KeyedToolBar;
class MenuModel;
class PanelStatusBar;
}  // namespace morvane::widgets

namespace morvane::app {

class ContourTree;
class EditSurface;
class FactorsStrip;
class StatusPanels;
class TitlesStrip;
class WindowPrompts;
class WorkPicture;

// fwMain: builds its parts, places them and wires them; the commands live in the
// command table's handlers and reach the engine and the document through the host.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(AppContext context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs a command as a menu click would (false when refused or unknown).
  bool RunCommand(const std::string& name, int index = -1) { return commands_.Run(name, index); }

  CommandTable& Commands() { return commands_; }
  DocumentHost& Host() { return *host_; }
  EditSurface& Surface() { return *surface_; }
  ContextHelp& Help() { return *help_; }
  HelpCommands& HelpMenu() { return *helpCommands_; }
  widgets::UpdateCheck& Update() { return update_; }
  DialogService& Dialogs() { return *dialogs_; }
  RunController& Run() { return run_; }
  WindowSettings& Settings() { return settings_; }
  widgets::MenuModel* Menus() const { return menus_; }
  const std::array<widgets::KeyedToolBar*, 4>& ToolBars() const { return toolbars_; }
  StatusPanels& Status() { return *status_; }
  widgets::PanelStatusBar* StatusBar() const;
  WorkPicture& Picture() { return *picture_; }
  ContourTree* Tree() const { return tree_; }
  TitlesStrip* Titles() const { return titles_; }
  FactorsStrip* Factors() const { return factors_; }
  QWidget* MainPanel() const { return pbMain_; }
  ScopelView& Zoom() { return scopel_; }
  ViewCommands& View() { return *view_; }
  widgets::BandBar* CoolBar() const { return coolBar_; }
  const common::FormPlacement& Placement() const { return placement_; }
  // The values handed to the update check: manifest address, settings file, version.
  const std::array<std::string, 3>& UpdateValues() const { return updateValues_; }
  // Whether the settings were written (once, at the close).
  bool Unloaded() const { return unloaded_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildParts();
  void LoadDesign();
  void BindCommands();
  void BuildHelp();
  void Load();
  // Every setting the exit writes, set in the session.
  void StoreSettings();
  void Unload();
  void TrackPlacement();
  void ArrangeMainLayout();
  void ArrangeFactors();
  void ArrangeTitles();
  // The form's keys, seen before its controls (on release).
  bool FormKeyUp(const QKeyEvent& event);
  void Stop();

  AppContext context_;
  // Read once at the start, committed once at the close.
  common::SettingsSession session_;
  WindowSettings settings_;
  RunController run_;
  CommandTable commands_;
  // The one document of the window; the host runs it, the views show it.
  document::DocumentModel model_;
  widgets::MenuModel* menus_ = nullptr;
  std::array<widgets::KeyedToolBar*, 4> toolbars_{};
  StatusPanels* status_ = nullptr;
  FactorsStrip* factors_ = nullptr;
  TitlesStrip* titles_ = nullptr;
  QWidget* pbMain_ = nullptr;
  ContourTree* tree_ = nullptr;
  ScopelView scopel_;
  automation::Control* sbDigits_ = nullptr;
  std::unique_ptr<WorkPicture> picture_;
  std::unique_ptr<WindowPrompts> prompts_;
  std::unique_ptr<DocumentHost> host_;
  std::unique_ptr<ViewCommands> view_;
  std::unique_ptr<EditSurface> surface_;
  std::unique_ptr<HelpDisplay> topicsDisplay_;
  std::unique_ptr<ContextHelp> help_;
  std::unique_ptr<HelpCommands> helpCommands_;
  widgets::UpdateCheck update_;
  // The dialog and popup service (ucCarrow).
  std::unique_ptr<DialogService> dialogs_;
  std::unique_ptr<automation::ClassRegistry> registry_;
  std::unique_ptr<automation::FunctionSink> digitsSink_;
  automation::ControlSite scopelSite_;
  automation::ControlSite trellanSite_;
  automation::ControlSite digitsSite_;
  int digitsCookie_ = 0;

  QWidget* client_ = nullptr;
  widgets::BandBar* coolBar_ = nullptr;
  QWidget* ucScopel_ = nullptr;
  QWidget* ucTrellan_ = nullptr;
  QWidget* sbDigitsWidget_ = nullptr;

  common::FormPlacement placement_;
  int resizeGuard_ = 0;
  bool unloaded_ = false;
  std::array<std::string, 3> updateValues_;
};

}  // namespace morvane::app
