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
#include "app/settings_io.h"
#include "app/window_roles.h"
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

class EditSurface;
// What the painter choice lists besides folders: files that can run.
bool ListedAsProgram(const QFileInfo& info);
void ListProgramsOnly(QFileDialog& dialog);
// A program's icon from the desktop's icon theme, else a generic program icon.
QIcon ProgramIcon(const QString& program);

// fwMain: builds its parts and wires them; the commands live in the command table's
// handlers and reach the engine and the document through the window host.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(AppContext context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs a command as a menu click would (false when refused or unknown).
  bool RunCommand(const std::string& name, int index = -1) { return commands_.Run(name, index); }

  CommandTable& Commands() { return commands_; }
  WindowHost& Host() { return *host_; }
  EditSurface& Surface() { return *surface_; }
  ContextHelp& Help() { return *help_; }
  HelpCommands& HelpMenu() { return *helpCommands_; }
  widgets::UpdateCheck& Update() { return update_; }
  DialogService& Dialogs() { return *dialogs_; }
  RunController& Run() { return run_; }
  WindowSettings& Settings() { return settings_; }
  WindowParts& Parts() { return parts_; }
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
  void UpdatePainterButton();

  void mViewZoom_Click(int index);
  void mViewGrid_Click();
  void mViewPoints_Click();
  void mViewToolbar_Click(int index);
  void mViewPainter_Click();
  void Stop();

  AppContext context_;
  // Read once at the start, committed once at the close.
  common::SettingsSession session_;
  WindowSettings settings_;
  RunController run_;
  CommandTable commands_;
  WindowParts parts_;
  std::unique_ptr<WindowHost> host_;
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
  QLabel* tlShiftX_ = nullptr;
  QLineEdit* tbShiftX_ = nullptr;
  QLabel* tlShiftY_ = nullptr;
  QLineEdit* tbShiftY_ = nullptr;
  QLabel* tlFactor_ = nullptr;
  QLineEdit* tbFactor_ = nullptr;
  QLabel* tlDigits_ = nullptr;
  QLabel* tlTitles_ = nullptr;

  common::FormPlacement placement_;
  int resizeGuard_ = 0;
  bool unloaded_ = false;
  std::array<std::string, 3> updateValues_;
};

}  // namespace morvane::app
