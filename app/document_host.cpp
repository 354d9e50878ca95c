#include "app/document_host.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>

#include "app/contour_tree.h"
#include "app/edit_commands.h"
#include "app/field_strips.h"
#include "app/status_panels.h"
#include "app/window_prompts.h"
#include "app/work_picture.h"
#include "controls/spinbox/spinbox_typelib.h"
#include "engine/contour_points.h"
#include "platform/core/file_system.h"
#include "platform/core/pointer_shape.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/variant_args.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"

namespace morvane::app {

namespace {

using document::DocumentModel;
using document::RunPhase;

// "name(index)" for array members, as command states key them.
std::string StateKey(const widgets::MenuEntry* item) {
  const std::string name = item->Name().toStdString();
  return item->Index() >= 0 ? name + "(" + std::to_string(item->Index()) + ")" : name;
}

}  // namespace

DocumentHost::DocumentHost(QWidget* form, document::DocumentModel& model, RunController& run,
                           WindowSettings& settings, StatusPanels& status, WorkPicture& picture,
                           TitlesStrip& titles, FactorsStrip& factors, WindowPrompts& prompts,
                           ContourTree& tree, widgets::MenuModel& menus,
                           const std::array<widgets::KeyedToolBar*, 4>& toolbars, QWidget* pbMain,
                           ScopelView& scopel, automation::Control* sbDigits, bool helpFileExists)
    : form_(form),
      model_(model),
      run_(run),
      settings_(settings),
      status_(status),
      picture_(picture),
      titles_(titles),
      factors_(factors),
      prompts_(prompts),
      tree_(tree),
      menus_(menus),
      toolbars_(toolbars),
      pbMain_(pbMain),
      scopel_(scopel),
      sbDigits_(sbDigits),
      helpFileExists_(helpFileExists),
      dialogControl_(std::make_unique<document::QtDialogControl>(
          dialogs_, model_, [this] { return settings_.connected; })),
      engine_(status_, status_, picture_, titles_),
      runs_(*this, model_, engine_),
      document_(model_, Roles(), runs_, disk_, pictures_, *dialogControl_) {
  dialogs_.parent = form_;
  picture_.FollowImage([this](const core::RgbImage* image) { engine_.SetImage(image); });
  model_.Observe([this](unsigned changes) { ModelChanged(changes); });
}

DocumentHost::~DocumentHost() {
  picture_.FollowImage(nullptr);
  ShowBusyPointer(false);
}

document::WindowRoles DocumentHost::Roles() {
  return {status_, status_, picture_, titles_, prompts_, prompts_, prompts_, *this, *this};
}

// --- document and commands ---

void DocumentHost::LoadAtStart(const CommandLinePath& commandLine) {
  if (!model_.RecentFiles().empty()) document_.SetDocumentPaths(model_.RecentFiles().front());
  if (commandLine.kind == CommandLinePath::Kind::Image) {
    model_.LetImagePath(commandLine.path);
    model_.LetMapPath({});
    model_.PutRecentFileFirst(commandLine.path);
  } else if (commandLine.kind == CommandLinePath::Kind::Map) {
    model_.LetMapPath(commandLine.path);
    model_.PutRecentFileFirst(commandLine.path);
  }
  document_.LoadImageMapFile();
  document_.LoadImageFile(false);
  picture_.RedrawContours();
  StateChanged();
}

void DocumentHost::SetRecentFiles(const std::vector<std::string>& paths) {
  std::vector<std::string> kept;
  for (const std::string& path : paths) {
    if (core::IsFile(path)) kept.push_back(path);
  }
  model_.LetRecentFiles(std::move(kept));
}

void DocumentHost::PrepareEngine() {
  engine_.LetBackColor(scopel_.BackColor());
  engine_.ApproxMethod = settings_.method;
  engine_.Connected = settings_.connected;
}

void DocumentHost::CreateContours() { runs_.CreateWholeImageContours(); }

CommandInputs DocumentHost::Inputs() const {
  CommandInputs in;
  in.running = runs_.Phase() == RunPhase::Running;
  in.hasPicture = model_.ImageShown();
  in.changed = model_.IsChanged();
  in.upperBound = engine::UpperBound(model_.Points());
  // Restore reads the map of the paths as the loader finds it: MapPath, else beside the image.
  const std::string map = model_.state.MapPath.empty() ? document::DefaultMapPath(model_.state.ImagePath)
                                                       : model_.state.MapPath;
  in.mapExists = !map.empty() && core::IsFile(map);
  in.painterExists = !settings_.painterPath.empty() && core::IsFile(settings_.painterPath);
  in.contourCount = model_.Count();
  in.editEnabled = picture_.EditEnabled();
  // Nothing to add to once the last contour is gone.
  in.addEnabled = model_.ClickTraced() && engine::UpperBound(model_.Points()) >= 1;
  in.saveAsEnabled = saveAsEnabled_;
  in.recentEnabled = !model_.RecentFiles().empty();
  in.helpFileExists = helpFileExists_;
  in.shiftEnabled = factors_.ShiftEnabled();
  in.resizeEnabled = factors_.ResizeEnabled();
  in.titleEnabled = titles_.TitleEnabled();
  in.grid = settings_.showGrid;
  in.points = settings_.showPoints;
  in.connected = settings_.connected;
  in.centroid = settings_.centroid;
  in.zoomIndex = settings_.zoomIndex;
  in.method = static_cast<int>(settings_.method);
  return in;
}

void DocumentHost::RefreshCommands() {
  commandStates_ = ComputeCommandState(Inputs());
  const CommandStates& states = commandStates_;
  for (widgets::MenuEntry* item : menus_.Items()) {
    const auto found = states.find(StateKey(item));
    if (found == states.end()) continue;
    item->SetEnabled(found->second.enabled);
    if (item->Checked() != found->second.checked) item->SetChecked(found->second.checked);
  }
  for (widgets::KeyedToolBar* bar : toolbars_) {
    for (int i = 1; i <= bar->Count(); ++i) {
      widgets::ToolBarButton* button = bar->ButtonAt(i);
      const auto found = states.find("tb:" + button->Key().toStdString());
      if (found == states.end()) continue;
      button->SetEnabled(found->second.enabled);
      if (button->Style() == widgets::ButtonStyle::Check) button->SetValue(found->second.checked);
    }
  }
}

void DocumentHost::StateChanged() {
  FollowPhase(runs_.Phase());
  RefreshCommands();
}

void DocumentHost::FollowPhase(RunPhase phase) {
  if (phase == shownPhase_) return;
  const bool runEnds = shownPhase_ == RunPhase::Running;
  // Disabling a widget takes the focus from it: it comes back when the window is on
  // again, so that a second Del after Delete Point works on.
  if (shownPhase_ == RunPhase::Idle) {
    QWidget* focus = QApplication::focusWidget();
    focusBefore_ = focus != nullptr && focus->window() == form_ ? focus : nullptr;
  }
  shownPhase_ = phase;
  const bool running = phase == RunPhase::Running;
  run_.SetRunning(running);
  picture_.SetDrawOnPicture(phase == RunPhase::Idle);
  // A run leaves the Stop band usable; a busy moment disables the whole window.
  for (QWidget* widget :
       {pbMain_, static_cast<QWidget*>(toolbars_[0]), factors_.Panel(), titles_.Panel()}) {
    widget->setEnabled(!running);
  }
  form_->setEnabled(phase != RunPhase::Busy);
  ShowBusyPointer(phase != RunPhase::Idle);
  if (phase == RunPhase::Idle && focusBefore_ && focusBefore_->isEnabled() &&
      focusBefore_->isVisible()) {
    focusBefore_->setFocus();
  }
  if (!running) status_.ApplyProgress();
  // The time the run took; the panel keeps it until the next run.
  if (runEnds) status_.ShowClock();
  if (phase == RunPhase::Idle && run_.ClosePending()) {
    // The close waits for the run's stack to unwind.
    run_.SetClosePending(false);
    QTimer::singleShot(0, form_, [form = form_] { form->close(); });
  }
}

// --- the model's views ---

void DocumentHost::ModelChanged(unsigned changes) {
  if (changes & DocumentModel::kContours) {
    ShowTitles();
    tree_.Fill(model_.Points(), model_.NumberFormat(), true, &model_.PreviousPoints());
  }
  if (changes & DocumentModel::kRecentFiles) ShowRecentFiles();
  if (changes & DocumentModel::kChangedMark) ShowChangedMark();
  if (changes & DocumentModel::kDigits) {
    // The spin box shows the digits a map brought.
    if (sbDigits_ != nullptr &&
        automation::ToInt32(sbDigits_->get(spinbox::dispid::Value)) != model_.Digits()) {
      sbDigits_->put(spinbox::dispid::Value, model_.Digits());
    }
    settings_.digits = model_.Digits();
  }
  if (changes & (DocumentModel::kContours | DocumentModel::kChangedMark | DocumentModel::kRecentFiles |
                 DocumentModel::kImage)) {
    RefreshCommands();
  }
}

void DocumentHost::ShowTitles() {
  titles_.SetEntries(model_.Titles());
  // The contours are filled in: the step bar never stays over the "Progress2" messages.
  status_.HideProgress(engine::kProgressStep);
}

void DocumentHost::ShowRecentFiles() {
  const std::vector<std::string>& recent = model_.RecentFiles();
  for (int i = 0; i < document::kRecentCount; ++i) {
    widgets::MenuEntry* item = menus_.Item(QStringLiteral("mFileList"), i);
    if (item == nullptr) continue;
    const bool listed = static_cast<std::size_t>(i) < recent.size();
    item->SetCaption(
        listed ? QString::fromStdString(document::RecentCaption(i, recent[static_cast<std::size_t>(i)]))
               : QString());
    item->SetVisible(listed);
  }
}

void DocumentHost::ShowChangedMark() {
  const bool changed = model_.IsChanged();
  // Save As follows Save while the mark is shown and keeps that state afterwards.
  if (changed) saveAsEnabled_ = engine::UpperBound(model_.Points()) >= 1;
  status_.ShowChangedMark(changed);
}

void DocumentHost::SetBusyPointer(bool busy) {
  // The window's own pointer is the application's, while the run's phase lasts (see
  // FollowPhase); the zoom view keeps its pointer property in step.
  scopel_.SetMousePointer(busy ? core::kPointerHourglass : core::kPointerDefault);
}

void DocumentHost::ShowBusyPointer(bool busy) {
  // Over the application: a pointer set on the widgets a run disables would not show.
  if (busy == busyPointerShown_) return;
  busyPointerShown_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

// --- digits ---

int DocumentHost::LetDigitsValue(int digits) {
  sbDigits_->put(spinbox::dispid::Value, digits);
  DigitsChanged();
  return model_.Digits();
}

void DocumentHost::DigitsChanged() {
  const int before = model_.Digits();
  model_.LetDigits(automation::ToInt32(sbDigits_->get(spinbox::dispid::Value)));
  settings_.digits = model_.Digits();
  // The digits are part of the saved document (a map bringing its own digits changes
  // the model first, so that is no change here).
  if (model_.Digits() != before && engine::UpperBound(model_.Points()) > 0) model_.LetChanged(true);
}

}  // namespace morvane::app
