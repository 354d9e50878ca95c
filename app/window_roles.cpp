#include "app/window_roles.h"

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

#include "app/contour_tree.h"
#include "app/edit_commands.h"
#include "app/field_strips.h"
#include "common/value_helpers.h"
#include "controls/spinbox/spinbox_typelib.h"
#include "engine/contour_points.h"
#include "platform/core/clock.h"
#include "platform/core/file_system.h"
#include "platform/core/message_box.h"
#include "platform/core/pointer_shape.h"
#include "platform/core/version_record.h"
#include "platform/gui/image_loader.h"
#include "platform/gui/ole_color.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/variant_args.h"
#include "platform/widgets/desktop_services.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"

namespace morvane::app {

namespace {

using document::DocumentModel;
using document::MenuCommand;
using document::RunPhase;

QString ItemName(MenuCommand item) {
  switch (item) {
    case MenuCommand::mFileOpen: return QStringLiteral("mFileOpen");
    case MenuCommand::mFileSaveAs: return QStringLiteral("mFileSaveAs");
    case MenuCommand::mFileBatch: return QStringLiteral("mFileBatch");
  }
  return {};
}

QString PanelKey(engine::StatusField field) {
  switch (field) {
    case engine::StatusField::Info: return QStringLiteral("Info");
    case engine::StatusField::Progress1: return QStringLiteral("Progress1");
    case engine::StatusField::Progress2: return QStringLiteral("Progress2");
  }
  return {};
}

// A box shown while the busy pointer is up (a question of a batch, an error of a busy
// moment) is answered with the ordinary pointer.
class OrdinaryPointer {
 public:
  explicit OrdinaryPointer(bool busy) : busy_(busy) {
    if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~OrdinaryPointer() {
    if (busy_) QApplication::restoreOverrideCursor();
  }
  OrdinaryPointer(const OrdinaryPointer&) = delete;
  OrdinaryPointer& operator=(const OrdinaryPointer&) = delete;

 private:
  bool busy_;
};

// "name(index)" for array members, as command states key them.
std::string StateKey(const widgets::MenuEntry* item) {
  const std::string name = item->Name().toStdString();
  return item->Index() >= 0 ? name + "(" + std::to_string(item->Index()) + ")" : name;
}

}  // namespace

WindowHost::WindowHost(WindowParts& parts, RunController& run, WindowSettings& settings)
    : parts_(parts),
      run_(run),
      settings_(settings),
      dialogControl_(std::make_unique<document::QtDialogControl>(
          dialogs_, model_.state, [this] { return settings_.mSettingsConnected; })),
      engine_(*this, *this, *this, *this),
      runs_(*this, model_, engine_),
      document_(model_, Roles(), runs_, disk_, pictures_, *dialogControl_) {
  dialogs_.parent = parts_.form;
  engine_.SetImage(&pbImage_);
  model_.Observe([this](unsigned changes) { ModelChanged(changes); });
}

WindowHost::~WindowHost() { ShowBusyPointer(false); }

// --- document and commands ---

void WindowHost::LoadAtStart(const CommandLinePath& commandLine) {
  if (!model_.RecentFiles().empty()) document_.SetDocumentPaths(model_.RecentFiles().front());
  if (commandLine.kind == CommandLinePath::Kind::Image) {
    model_.state.ImagePath = commandLine.path;
    model_.state.MapPath.clear();
    model_.PutRecentFileFirst(commandLine.path);
  } else if (commandLine.kind == CommandLinePath::Kind::Map) {
    model_.state.MapPath = commandLine.path;
    model_.PutRecentFileFirst(commandLine.path);
  }
  document_.LoadImageMapFile();
  document_.LoadImageFile(false);
  RedrawContours();
  StateChanged();
}

void WindowHost::SetRecentFiles(const std::vector<std::string>& paths) {
  std::vector<std::string> kept;
  for (const std::string& path : paths) {
    if (core::IsFile(path)) kept.push_back(path);
  }
  model_.LetRecentFiles(std::move(kept));
}

void WindowHost::PrepareEngine() {
  engine_.LetBackColor(parts_.scopel.BackColor());
  engine_.ApproxMethod = static_cast<engine::ReductionMethod>(settings_.mSettingsMethod);
  engine_.Connected = settings_.mSettingsConnected;
}

void WindowHost::CreateContours() { runs_.CreateWholeImageContours(); }

CommandInputs WindowHost::Inputs() const {
  CommandInputs in;
  in.running = runs_.Phase() == RunPhase::Running;
  in.hasPicture = model_.ImageShown();
  in.changed = model_.IsChanged();
  in.upperBound = engine::UpperBound(model_.Points());
  // Restore reads the map of the paths as the loader finds it: MapPath, else beside the image.
  const std::string map = model_.state.MapPath.empty() ? document::DefaultMapPath(model_.state.ImagePath)
                                                       : model_.state.MapPath;
  in.mapExists = !map.empty() && core::IsFile(map);
  in.painterExists = !settings_.Painter.empty() && core::IsFile(settings_.Painter);
  in.contourCount = model_.Count();
  in.editEnabled = editEnabled_;
  // Nothing to add to once the last contour is gone.
  in.addEnabled = model_.ClickTraced() && engine::UpperBound(model_.Points()) >= 1;
  in.saveAsEnabled = saveAsEnabled_;
  in.recentEnabled = !model_.RecentFiles().empty();
  in.helpFileExists = helpFileExists;
  if (parts_.factors != nullptr) {
    in.shiftEnabled = parts_.factors->ShiftEnabled();
    in.resizeEnabled = parts_.factors->ResizeEnabled();
  }
  if (parts_.titles != nullptr) in.titleEnabled = parts_.titles->TitleEnabled();
  in.grid = settings_.mViewGrid;
  in.points = settings_.mViewPoints;
  in.connected = settings_.mSettingsConnected;
  in.centroid = settings_.mSettingsCentroid;
  in.zoomIndex = settings_.ZoomScale;
  in.method = settings_.mSettingsMethod;
  return in;
}

void WindowHost::RefreshCommands() {
  const CommandStates states = ComputeCommandState(Inputs());
  for (widgets::MenuEntry* item : parts_.menus->Items()) {
    const auto found = states.find(StateKey(item));
    if (found == states.end()) continue;
    item->SetEnabled(found->second.enabled);
    if (item->Checked() != found->second.checked) item->SetChecked(found->second.checked);
  }
  for (widgets::KeyedToolBar* bar : parts_.toolbars) {
    for (int i = 1; i <= bar->Count(); ++i) {
      widgets::ToolBarButton* button = bar->ButtonAt(i);
      const auto found = states.find("tb:" + button->Key().toStdString());
      if (found == states.end()) continue;
      button->SetEnabled(found->second.enabled);
      if (button->Style() == widgets::ButtonStyle::Check) button->SetValue(found->second.checked);
    }
  }
}

void WindowHost::StateChanged() {
  FollowPhase(runs_.Phase());
  RefreshCommands();
}

void WindowHost::FollowPhase(RunPhase phase) {
  if (phase == shownPhase_) return;
  const bool runEnds = shownPhase_ == RunPhase::Running;
  // Disabling a widget takes the focus from it: it comes back when the window is on
  // again, so that a second Del after Delete Point works on.
  if (shownPhase_ == RunPhase::Idle) {
    QWidget* focus = QApplication::focusWidget();
    focusBefore_ = focus != nullptr && focus->window() == parts_.form ? focus : nullptr;
  }
  shownPhase_ = phase;
  const bool running = phase == RunPhase::Running;
  run_.SetRunning(running);
  // A run leaves the Stop band usable; a busy moment disables the whole window.
  for (QWidget* widget :
       {parts_.pbMain, static_cast<QWidget*>(parts_.toolbars[0]), parts_.pbFactors, parts_.pbTitles}) {
    widget->setEnabled(!running);
  }
  parts_.form->setEnabled(phase != RunPhase::Busy);
  ShowBusyPointer(phase != RunPhase::Idle);
  if (phase == RunPhase::Idle && focusBefore_ && focusBefore_->isEnabled() &&
      focusBefore_->isVisible()) {
    focusBefore_->setFocus();
  }
  if (!running) ApplyProgress();
  // The time the run took; the panel keeps it until the next run.
  if (runEnds) ShowClock();
  if (phase == RunPhase::Idle && run_.ClosePending()) {
    // The close waits for the run's stack to unwind.
    run_.SetClosePending(false);
    QTimer::singleShot(0, parts_.form, [form = parts_.form] { form->close(); });
  }
}

// --- the model's views ---

void WindowHost::ModelChanged(unsigned changes) {
  if (changes & DocumentModel::kContours) {
    ShowTitles();
    if (parts_.tvCoord != nullptr) parts_.tvCoord->Fill(model_.Points(), model_.NumberFormat(), true);
  }
  if (changes & DocumentModel::kRecentFiles) ShowRecentFiles();
  if (changes & DocumentModel::kChangedMark) ShowChangedMark();
  if (changes & DocumentModel::kDigits) {
    // The spin box shows the digits a map brought.
    if (parts_.sbDigits != nullptr &&
        automation::ToInt32(parts_.sbDigits->get(spinbox::dispid::Value)) != model_.Digits()) {
      parts_.sbDigits->put(spinbox::dispid::Value, model_.Digits());
    }
    settings_.sbDigits = model_.Digits();
  }
  if (changes & (DocumentModel::kContours | DocumentModel::kChangedMark | DocumentModel::kRecentFiles |
                 DocumentModel::kImage)) {
    RefreshCommands();
  }
}

void WindowHost::ShowTitles() {
  parts_.titles->SetEntries(model_.Titles());
  // The contours are filled in: the step bar never stays over the "Progress2" messages.
  HideProgress(engine::kProgressStep);
}

void WindowHost::ShowRecentFiles() {
  const std::vector<std::string>& recent = model_.RecentFiles();
  for (int i = 0; i < document::kRecentCount; ++i) {
    widgets::MenuEntry* item = parts_.menus->Item(QStringLiteral("mFileList"), i);
    if (item == nullptr) continue;
    const bool listed = static_cast<std::size_t>(i) < recent.size();
    item->SetCaption(
        listed ? QString::fromStdString(document::RecentCaption(i, recent[static_cast<std::size_t>(i)]))
               : QString());
    item->SetVisible(listed);
  }
}

void WindowHost::ShowChangedMark() {
  const bool changed = model_.IsChanged();
  // Save As follows Save while the mark is shown and keeps that state afterwards.
  if (changed) saveAsEnabled_ = engine::UpperBound(model_.Points()) >= 1;
  if (widgets::StatusBarPanel* panel = parts_.status->Panel(QStringLiteral("Changed"))) {
    panel->SetPicture(changed ? parts_.changedPicture : QPixmap());
  }
}

// --- run control ---

void WindowHost::ShowElapsedTime() {
  // Called after every step of a run: the clock is shown, and events let through, only
  // when the pump is due. Outside a run the panel keeps the last run's time.
  if (run_.Running()) {
    if (!run_.PumpDue()) return;
    ShowClock();
  }
  run_.Tick();
}

std::int64_t WindowHost::ShowElapsedTimes(std::int64_t n) {
  if (n <= 0) return 0;
  ShowElapsedTime();
  return StopRequested() ? 1 : 0;
}

void WindowHost::ShowClock() {
  const std::int64_t now = core::TickCount();
  const QString text = QString::fromStdString(common::FormatDuration(now, now - run_.ElapsedMs()));
  widgets::StatusBarPanel* panel = parts_.status->Panel(QStringLiteral("Time"));
  if (panel != nullptr && panel->Text() != text) panel->SetText(text);
}

void WindowHost::SetProgress(int index, int percent) {
  if (index < 0 || index >= static_cast<int>(parts_.progress.size())) return;
  const auto i = static_cast<std::size_t>(index);
  if (percent == 0) progressShown_[i] = true;
  progressValue_[i] = std::clamp(percent, 0, 100);
  if (!run_.Running()) ApplyProgress();
}

void WindowHost::HideProgress(int index) {
  if (index < 0 || index >= static_cast<int>(parts_.progress.size())) return;
  progressShown_[static_cast<std::size_t>(index)] = false;
  if (!run_.Running()) ApplyProgress();
}

void WindowHost::ApplyProgress() {
  // A bar paints itself at once when its value moves; during a run the pump brings the
  // bars up to date instead, so that their painting stays at the pump's rate.
  for (std::size_t i = 0; i < parts_.progress.size(); ++i) {
    QProgressBar* bar = parts_.progress[i];
    if (bar->isVisible() != progressShown_[i]) bar->setVisible(progressShown_[i]);
    if (bar->value() != progressValue_[i]) bar->setValue(progressValue_[i]);
  }
}

void WindowHost::SetStatusText(engine::StatusField field, std::string_view text) {
  if (widgets::StatusBarPanel* p = parts_.status->Panel(PanelKey(field))) {
    p->SetText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
}

void WindowHost::SetBusyPointer(bool busy) {
  // The window's own pointer is the application's, while the run's phase lasts (see
  // FollowPhase); the zoom view keeps its pointer property in step.
  parts_.scopel.SetMousePointer(busy ? core::kPointerHourglass : core::kPointerDefault);
}

void WindowHost::ShowBusyPointer(bool busy) {
  // Over the application: a pointer set on the widgets a run disables would not show.
  if (busy == busyPointerShown_) return;
  busyPointerShown_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

// --- picture ---

void WindowHost::RedrawContours() {
  if (engine::UpperBound(model_.Points()) >= 3) {
    editEnabled_ = true;
    RefreshCommands();
  }
  // The statistics now, on the image part the document wrote last: a line written after
  // this request (the batch's end) stands alone. An empty document has its own too.
  const MapContents counted = CountMapContents(model_.Points());
  widgets::StatusBarPanel* panel = parts_.status->Panel(QStringLiteral("Progress1"));
  panel->SetText(QString::fromStdString(
      StatisticsText(panel->Text().toStdString(), counted.points, counted.contours)));
  redraw_.Request();
}

void WindowHost::DrawContoursNow() {
  const engine::ContourPoints& points = model_.Points();
  const std::int32_t upper = engine::UpperBound(points);
  if (upper < 3) {
    if (cleanPending_) ReshowPicture();
    return;
  }
  ScopelView& view = parts_.scopel;
  // Always onto the clean picture: lines of an earlier state never stay behind. The
  // buffer is kept between passes, so that a large picture's memory is reused.
  core::RgbImage& drawn = drawn_;
  drawn.width = pbImage_.width;
  drawn.height = pbImage_.height;
  drawn.pixels.assign(pbImage_.pixels.begin(), pbImage_.pixels.end());
  const auto colour = [](std::int32_t ole) {
    return gui::ResolveColor(static_cast<gui::OleColor>(ole));
  };
  DrawContours(
      drawn, points, colour(view.ForeColor()),
      settings_.mViewPoints ? std::optional<std::uint32_t>(colour(view.FillColor())) : std::nullopt);
  ShowWorkPicture(drawn);
  viewClean_ = false;
}

void WindowHost::DrawPointMarks() {
  // Marks on or off: the contours are drawn again, with or without them.
  redraw_.Request();
  redraw_.Flush();
}

void WindowHost::LocateCursor(double x, double y) { parts_.scopel.LocateCursor(x, y); }

void WindowHost::ClearPicture() {
  pbImage_ = core::RgbImage();
  cleanPending_ = false;
  viewClean_ = false;
  editEnabled_ = false;
  parts_.scopel.SetPicture(QImage());
}

void WindowHost::ShowPicture(const core::RgbImage& image) {
  pbImage_ = image;
  cleanPending_ = false;
  editEnabled_ = false;
  parts_.scopel.SetPicture(gui::FromRgbImage(pbImage_));
  parts_.scopel.SetEnabled(true);
  viewClean_ = true;
}

void WindowHost::ReshowPicture() {
  // Handing a large picture to the zoom view costs as much as a small trace: skip it
  // when the view shows the clean picture already.
  if (viewClean_) {
    cleanPending_ = false;
    return;
  }
  ShowWorkPicture(pbImage_);
  viewClean_ = true;
}

void WindowHost::ShowWorkPicture(const core::RgbImage& picture) {
  cleanPending_ = false;
  if (picture.pixels.empty()) return;
  ScopelView& view = parts_.scopel;
  const std::int32_t x = view.ScrollX();
  const std::int32_t y = view.ScrollY();
  view.SetPicture(gui::FromRgbImage(picture));
  view.SetScroll(x, y);
}

void WindowHost::SelectZoom(int index) {
  if (selectZoom) selectZoom(index);
}

void WindowHost::SelectTitle(std::int32_t index) { parts_.titles->SelectTitle(index); }

// --- prompts, caption, menus ---

void WindowHost::Beep(int type) { widgets::Beeper().MessageBeep(type); }

int WindowHost::Ask(const std::string& text, document::Buttons buttons) {
  const int style = (buttons == document::Buttons::YesNoCancel ? core::kMbYesNoCancel : core::kMbYesNo) |
                    core::kMbIconQuestion;
  const OrdinaryPointer pointer(busyPointerShown_);
  return widgets::MessageBoxes().Show(parts_.form, QString::fromStdString(text), style);
}

void WindowHost::ShowError(const std::string& text) {
  const OrdinaryPointer pointer(busyPointerShown_);
  widgets::MessageBoxes().Show(parts_.form, QString::fromStdString(text),
                               core::kMbOk | core::kMbIconExclamation);
}

std::string WindowHost::ProgramTitle() const { return core::ThisVersionRecord().title; }

void WindowHost::SetCaption(const std::string& caption) {
  parts_.form->setWindowTitle(QString::fromStdString(caption));
}

std::string WindowHost::MenuCaption(MenuCommand item) const {
  const widgets::MenuEntry* menu = parts_.menus->Item(ItemName(item));
  return menu != nullptr ? menu->Caption().toStdString() : std::string();
}

std::int32_t WindowHost::MenuHelpContextId(MenuCommand item) const {
  const widgets::MenuEntry* menu = parts_.menus->Item(ItemName(item));
  return menu != nullptr ? menu->HelpContextID() : 0;
}

// --- digits ---

int WindowHost::LetDigitsValue(int digits) {
  parts_.sbDigits->put(spinbox::dispid::Value, digits);
  DigitsChanged();
  return model_.Digits();
}

void WindowHost::DigitsChanged() {
  const int before = model_.Digits();
  model_.LetDigits(automation::ToInt32(parts_.sbDigits->get(spinbox::dispid::Value)));
  settings_.sbDigits = model_.Digits();
  // The digits are part of the saved document (a map bringing its own digits changes
  // the model first, so that is no change here).
  if (model_.Digits() != before && engine::UpperBound(model_.Points()) > 0) model_.LetChanged(true);
}

}  // namespace morvane::app
