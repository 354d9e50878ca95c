#include "app/window_roles.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

#include "common/value_helpers.h"
#include "controls/spinbox/spinbox_typelib.h"
#include "engine/contour_points.h"
#include "platform/core/clock.h"
#include "platform/core/file_system.h"
#include "platform/core/version_record.h"
#include "platform/gui/image_loader.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/variant_args.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"
#include "platform/widgets/services.h"

namespace morvane::app {

namespace {

using document::MenuItem;

QString ItemName(MenuItem item) {
  switch (item) {
    case MenuItem::mFileOpen: return QStringLiteral("mFileOpen");
    case MenuItem::mFileSave: return QStringLiteral("mFileSave");
    case MenuItem::mFileSaveAs: return QStringLiteral("mFileSaveAs");
    case MenuItem::mFileBatch: return QStringLiteral("mFileBatch");
    case MenuItem::mFileAdd: return QStringLiteral("mFileAdd");
    case MenuItem::mFileCreate: return QStringLiteral("mFileCreate");
    case MenuItem::mFileStart: return QStringLiteral("mFileStart");
    case MenuItem::mFilePainter: return QStringLiteral("mFilePainter");
    case MenuItem::mFileRecent: return QStringLiteral("mFileRecent");
    case MenuItem::mEditRestore: return QStringLiteral("mEditRestore");
    case MenuItem::mViewGrid: return QStringLiteral("mViewGrid");
    case MenuItem::mViewPoints: return QStringLiteral("mViewPoints");
    case MenuItem::mViewMagnifier: return QStringLiteral("mViewMagnifier");
    case MenuItem::mViewZoom: return QStringLiteral("mViewZoom");
  }
  return {};
}

QString PanelKey(document::StatusPanel panel) {
  switch (panel) {
    case document::StatusPanel::Info: return QStringLiteral("Info");
    case document::StatusPanel::Progress1: return QStringLiteral("Progress1");
    case document::StatusPanel::Progress2: return QStringLiteral("Progress2");
  }
  return {};
}

// "name(index)" for array members, as command states key them.
std::string StateKey(const widgets::MenuItem* item) {
  const std::string name = item->Name().toStdString();
  return item->Index() >= 0 ? name + "(" + std::to_string(item->Index()) + ")" : name;
}

constexpr double kTwips = engine::kTwipsPerPixel;

}  // namespace

WindowRoles::WindowRoles(WindowParts& parts, RunController& run, WindowSettings& settings)
    : parts_(parts),
      run_(run),
      settings_(settings),
      dialogControl_(std::make_unique<document::QtDialogControl>(dialogs_, state_,
                                                                 [this] { return settings_.mSettingsConnected; })),
      engine_(contours_, *this, *this, *this),
      document_(state_, contours_, *this, *this, disk_, pictures_, *dialogControl_) {
  dialogs_.parent = parts_.form;
}

WindowRoles::~WindowRoles() = default;

// --- document and commands ---

void WindowRoles::LoadAtStart(const CommandLinePath& commandLine) {
  document_.SetDocumentPaths(RecentCaption(0));
  if (commandLine.kind == CommandLinePath::Kind::Image) {
    state_.ImagePath = commandLine.path;
    state_.MapPath.clear();
    document_.UpdateRecentFilesMenu(commandLine.path);
  } else if (commandLine.kind == CommandLinePath::Kind::Map) {
    state_.MapPath = commandLine.path;
    document_.UpdateRecentFilesMenu(commandLine.path);
  }
  document_.LoadImageMapFile();
  document_.LoadImageFile(false);
  RedrawContours();
  FillContourTree(-1);
  RefreshCommands();
}

std::vector<std::string> WindowRoles::RecentFiles() const {
  std::vector<std::string> paths;
  for (int i = 0; i < document::kRecentCount; ++i) {
    const std::string caption = RecentCaption(i);
    if (RecentVisible(i) && caption.size() > 3) paths.push_back(caption.substr(3));
  }
  return paths;
}

void WindowRoles::SetRecentFiles(const std::vector<std::string>& paths) {
  int n = 0;
  for (const std::string& path : paths) {
    if (n >= document::kRecentCount) break;
    // Files that are gone are dropped, and the rest close up.
    if (!core::IsFile(path)) continue;
    SetRecentItem(n, "&" + std::to_string(n) + " " + path, true);
    ++n;
  }
  for (int i = n; i < document::kRecentCount; ++i) SetRecentItem(i, "", false);
  recentEnabled_ = n > 0;
}

void WindowRoles::CreateContours() {
  engine_.SetImage(&pbImage_);
  engine_.SetBackColor(parts_.scopel.BackColor());
  engine_.ApproxMethod = static_cast<float>(settings_.mSettingsMethod);
  engine_.Connected = settings_.mSettingsConnected;
  engine_.mFileCreate_Click();
}

std::int32_t WindowRoles::UpperBound() const { return engine::UpperBound(contours_.ContourPoints); }

CommandInputs WindowRoles::Inputs() {
  CommandInputs in;
  in.running = run_.Running();
  in.hasPicture = !pbImage_.pixels.empty();
  in.changed = changed_;
  in.upperBound = UpperBound();
  in.mapExists = !state_.MapPath.empty() && core::IsFile(state_.MapPath);
  in.painterExists = !settings_.Painter.empty() && core::IsFile(settings_.Painter);
  in.contourCount = contours_.ContourCount;
  in.editEnabled = editEnabled_;
  in.addEnabled = addEnabled_;
  in.saveAsEnabled = saveAsEnabled_;
  in.recentEnabled = recentEnabled_;
  in.helpFileExists = false;
  in.grid = settings_.mViewGrid;
  in.points = settings_.mViewPoints;
  in.connected = settings_.mSettingsConnected;
  in.centroid = settings_.mSettingsCentroid;
  in.zoomIndex = settings_.ZoomScale;
  in.method = settings_.mSettingsMethod;
  return in;
}

void WindowRoles::RefreshCommands() {
  const CommandStates states = ComputeCommandState(Inputs());
  for (widgets::MenuItem* item : parts_.menus->Items()) {
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

void WindowRoles::SetChanged(bool changed) {
  changed_ = changed;
  // Save As follows Save while the mark is shown and keeps that state afterwards.
  if (changed) saveAsEnabled_ = UpperBound() >= 1;
  if (widgets::StatusPanel* panel = parts_.status->Panel(QStringLiteral("Changed"))) {
    panel->SetPicture(changed ? parts_.changedPicture : QPixmap());
  }
  RefreshCommands();
}

// --- run control ---

void WindowRoles::ShowElapsedTime() {
  run_.Tick();
  const QString text = QString::fromStdString(common::FormatDuration(core::TickCount(), core::TickCount() - run_.ElapsedMs()));
  widgets::StatusPanel* panel = parts_.status->Panel(QStringLiteral("Time"));
  if (panel != nullptr && panel->Text() != text) {
    panel->SetText(text);
    if (run_.Running()) parts_.status->repaint();
  }
}

void WindowRoles::SetProgress(int index, int percent) {
  if (index < 0 || index >= static_cast<int>(parts_.progress.size())) return;
  QProgressBar* bar = parts_.progress[static_cast<std::size_t>(index)];
  if (percent == 0) bar->setVisible(true);
  const int value = std::clamp(percent, bar->minimum(), bar->maximum());
  if (bar->value() == value) return;
  bar->setValue(value);
  if (run_.Running()) bar->repaint();
}

void WindowRoles::HideProgress(int index) {
  if (index < 0 || index >= static_cast<int>(parts_.progress.size())) return;
  parts_.progress[static_cast<std::size_t>(index)]->setVisible(false);
}

// --- titles list ---

void WindowRoles::Clear() { parts_.cbTitles->clear(); }
void WindowRoles::AddItem(const std::string& text) { parts_.cbTitles->addItem(QString::fromStdString(text)); }
void WindowRoles::RemoveItem(std::int32_t index) { parts_.cbTitles->removeItem(index); }
std::int32_t WindowRoles::ListCount() const { return parts_.cbTitles->count(); }
std::string WindowRoles::List(std::int32_t index) const { return parts_.cbTitles->itemText(index).toStdString(); }
void WindowRoles::SetListIndex(std::int32_t index) { parts_.cbTitles->setCurrentIndex(index); }
void WindowRoles::SetTitlesText(const std::string& text) { parts_.tbTitles->setText(QString::fromStdString(text)); }
void WindowRoles::EnableTitlesText(bool enabled) { parts_.tbTitles->setEnabled(enabled); }

// --- engine host ---

void WindowRoles::SetProgress2Text(std::string_view text) {
  SetStatusText(document::StatusPanel::Progress2, std::string(text));
}

void WindowRoles::EnableUiDuringRun(bool enabled) {
  uiEnabled_ = enabled;
  run_.SetRunning(!enabled);
  parts_.pbMain->setEnabled(enabled);
  parts_.toolbars[0]->setEnabled(enabled);
  parts_.pbFactors->setEnabled(enabled);
  parts_.pbTitles->setEnabled(enabled);
  RefreshCommands();
  if (enabled && run_.ClosePending()) {
    // The close waits for the run's stack to unwind.
    run_.SetClosePending(false);
    QTimer::singleShot(0, parts_.form, [form = parts_.form] { form->close(); });
  }
}

void WindowRoles::SetBusyPointer(int pointer) {
  // Per widget, so that the Stop button keeps its own pointer and stays usable.
  const bool busy = pointer == 11;
  for (QWidget* widget : {static_cast<QWidget*>(parts_.toolbars[0]), parts_.pbFactors, parts_.pbTitles,
                          static_cast<QWidget*>(parts_.tvCoord)}) {
    if (busy) {
      widget->setCursor(Qt::WaitCursor);
    } else {
      widget->unsetCursor();
    }
  }
  parts_.scopel.SetMousePointer(pointer);
}

void WindowRoles::SetWindowEnabled(bool enabled) { parts_.form->setEnabled(enabled); }

void WindowRoles::EnableAddCommand(bool enabled) {
  addEnabled_ = enabled;
  RefreshCommands();
}

void WindowRoles::RedrawContours() {
  if (cleanPending_) {
    cleanPending_ = false;
    ReshowPicture();
  }
  const engine::ContourPoints& points = contours_.ContourPoints;
  const std::int32_t upper = UpperBound();
  if (upper < 3) return;
  ScopelView& view = parts_.scopel;
  view.SetDrawImmediately(false);
  std::int32_t a = 1;
  while (a <= upper) {
    const auto at = [&](std::int32_t k) { return points[static_cast<std::size_t>(k)]; };
    if (engine::IsSeparator(at(a))) {
      ++a;
      continue;
    }
    std::int32_t k = a + 1;
    if (k <= upper && !engine::IsSeparator(at(k))) {
      view.DrawLine(at(a).x * kTwips, at(a).y * kTwips, at(k).x * kTwips, at(k).y * kTwips);
      for (++k; k <= upper && !engine::IsSeparator(at(k)); ++k) view.DrawLineTo(at(k).x * kTwips, at(k).y * kTwips);
      view.DrawLineTo(at(a).x * kTwips, at(a).y * kTwips);
    }
    while (k <= upper && !engine::IsSeparator(at(k))) ++k;
    a = k + 1;
  }
  view.Refresh();
  view.SetDrawImmediately(true);
  if (settings_.mViewPoints) {
    const std::int32_t colour = view.FillColor();
    view.SetDrawImmediately(false);
    for (std::int32_t i = 1; i <= upper; ++i) {
      if (!view.SetPoint(points[static_cast<std::size_t>(i)].x * kTwips, points[static_cast<std::size_t>(i)].y * kTwips, colour)) break;
    }
    view.Refresh();
    view.SetDrawImmediately(true);
  }
  widgets::StatusPanel* panel = parts_.status->Panel(QStringLiteral("Progress1"));
  QString text = panel->Text();
  const qsizetype dash = text.indexOf(QStringLiteral(" - "));
  if (dash >= 0) text.truncate(dash);
  text += QStringLiteral(" - %1 points").arg(upper);
  if (contours_.ContourCount == 1) {
    text += QStringLiteral(" (1 contour)");
  } else if (contours_.ContourCount > 1) {
    text += QStringLiteral(" (%1 contours)").arg(contours_.ContourCount);
  }
  panel->SetText(text + QLatin1Char('.'));
  UpdateEditMenuState(true);
}

void WindowRoles::FillContourTree(std::int32_t) {
  // The tree comes with its own view; bar 2 never stays over the "Progress2" messages.
  HideProgress(2);
}

void WindowRoles::ResetAfterRun() {
  RedrawContours();
  FillContourTree(0);
  if (UpperBound() > 0) SetChanged(true);
  SetStatusText(document::StatusPanel::Info, "");
  run_.ClearStop();
  ShowElapsedTime();
  SetBusyPointer(0);
  if (!state_.BatchRunning) {
    EnableUiDuringRun(true);
    Beep(widgets::kBeepInformation);
  }
}

void WindowRoles::LocateCursor(double x, double y) { parts_.scopel.LocateCursor(x, y); }

// --- document view ---

void WindowRoles::Beep(int type) { widgets::Beeper().MessageBeep(type); }

int WindowRoles::Ask(const std::string& text, document::Buttons buttons) {
  const int style =
      (buttons == document::Buttons::YesNoCancel ? widgets::kYesNoCancel : widgets::kYesNo) | widgets::kQuestion;
  return widgets::MessageBoxes().Show(parts_.form, QString::fromStdString(text), style);
}

void WindowRoles::ShowError(const std::string& text) {
  widgets::MessageBoxes().Show(parts_.form, QString::fromStdString(text), widgets::kOkOnly | widgets::kExclamation);
}

std::string WindowRoles::ProgramTitle() const { return core::ThisVersionRecord().title; }

void WindowRoles::SetCaption(const std::string& caption) {
  parts_.form->setWindowTitle(QString::fromStdString(caption));
}

void WindowRoles::SetStatusText(document::StatusPanel panel, const std::string& text) {
  if (widgets::StatusPanel* p = parts_.status->Panel(PanelKey(panel))) p->SetText(QString::fromStdString(text));
}

void WindowRoles::ClearPicture() {
  pbImage_ = core::RgbImage();
  cleanPending_ = false;
  parts_.scopel.SetPicture(QImage());
  RefreshCommands();
}

void WindowRoles::ShowPicture(const core::RgbImage& image) {
  pbImage_ = image;
  cleanPending_ = false;
  parts_.scopel.SetPicture(gui::FromRgbImage(pbImage_));
  parts_.scopel.SetEnabled(true);
  RefreshCommands();
}

void WindowRoles::ReshowPicture() {
  if (pbImage_.pixels.empty()) return;
  ScopelView& view = parts_.scopel;
  const std::int32_t x = view.ScrollX();
  const std::int32_t y = view.ScrollY();
  view.SetPicture(gui::FromRgbImage(pbImage_));
  view.SetScroll(x, y);
  cleanPending_ = false;
}

void WindowRoles::SelectZoom(int index) {
  if (selectZoom) selectZoom(index);
}

void WindowRoles::UpdateEditMenuState(bool enabled) {
  editEnabled_ = enabled;
  RefreshCommands();
}

void WindowRoles::EnableMenu(MenuItem item, bool enabled) {
  // The rest follow from the picture, the changed mark and the points.
  switch (item) {
    case MenuItem::mFileAdd: addEnabled_ = enabled; break;
    case MenuItem::mFileSaveAs: saveAsEnabled_ = enabled; break;
    case MenuItem::mFileRecent: recentEnabled_ = enabled; break;
    default: break;
  }
  RefreshCommands();
}

std::string WindowRoles::MenuCaption(MenuItem item) const {
  const widgets::MenuItem* menu = parts_.menus->Item(ItemName(item), item == MenuItem::mViewZoom ? 0 : -1);
  return menu != nullptr ? menu->Caption().toStdString() : std::string();
}

std::int32_t WindowRoles::MenuHelpContextId(MenuItem item) const {
  const widgets::MenuItem* menu = parts_.menus->Item(ItemName(item), item == MenuItem::mViewZoom ? 0 : -1);
  return menu != nullptr ? menu->HelpContextID() : 0;
}

int WindowRoles::SetDigitsValue(int digits) {
  parts_.sbDigits->put(spinbox::dispid::Value, digits);
  return automation::ToInt32(parts_.sbDigits->get(spinbox::dispid::Value));
}

void WindowRoles::DigitsChanged() {
  const std::int32_t digits = automation::ToInt32(parts_.sbDigits->get(spinbox::dispid::Value));
  settings_.sbDigits = digits;
  state_.OutputNumberFormat.assign(static_cast<std::size_t>(std::max(digits, 0)), '0');
}

std::string WindowRoles::RecentCaption(int index) const {
  const widgets::MenuItem* item = parts_.menus->Item(QStringLiteral("mFileList"), index);
  return item != nullptr ? item->Caption().toStdString() : std::string();
}

bool WindowRoles::RecentVisible(int index) const {
  const widgets::MenuItem* item = parts_.menus->Item(QStringLiteral("mFileList"), index);
  return item != nullptr && item->Visible();
}

void WindowRoles::SetRecentItem(int index, const std::string& caption, bool visible) {
  widgets::MenuItem* item = parts_.menus->Item(QStringLiteral("mFileList"), index);
  if (item == nullptr) return;
  item->SetCaption(QString::fromStdString(caption));
  item->SetVisible(visible);
}

}  // namespace morvane::app
