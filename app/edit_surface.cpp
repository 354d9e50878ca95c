#include "app/edit_surface.h"

#include "app/dialog_service.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QStringList>
#include <QTimer>

#include <vector>

#include "app/command_table.h"
#include "app/contour_tree.h"
#include "app/edit_commands.h"
#include "app/field_strips.h"
#include "app/settings_io.h"
#include "app/document_host.h"
#include "app/status_panels.h"
#include "app/work_picture.h"
#include "common/widgets/menu_helpers.h"
#include "controls/scopel/scopel_typelib.h"
#include "document/document.h"
#include "platform/core/file_system.h"
#include "platform/core/units.h"
#include "platform/gui/ole_color.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/control_events.h"
#include "platform/widgets/automation/events.h"
#include "platform/widgets/automation/variant_args.h"
#include "platform/widgets/desktop_services.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"

namespace morvane::app {

namespace {

constexpr std::int32_t kTpp = core::kTwipsPerPixel;
using automation::keycode::kEnd;
using automation::keycode::kEscape;
using automation::keycode::kHome;

// The dropped file's kind by its name, as every other way in takes it: an image or a
// map by the document's patterns, anything else not at all.
enum class DropKind { None, Image, Page };
DropKind KindOfDrop(const std::string& file) {
  if (document::MatchesPatterns(file, document::kImagePatterns)) return DropKind::Image;
  if (document::IsMapFile(file)) return DropKind::Page;
  return DropKind::None;
}

}  // namespace

EditSurface::EditSurface(QMainWindow* form, DocumentHost& host, document::Prompts& prompts,
                         WorkPicture& picture, StatusPanels& status, ContourTree& tree,
                         TitlesStrip& titles, FactorsStrip& factors, widgets::MenuModel& menus,
                         ScopelView& scopel, QWidget* pbMain, WindowSettings& settings,
                         CommandTable& commands, DialogService& dialogs)
    : QObject(form),
      form_(form),
      host_(host),
      prompts_(prompts),
      picture_(picture),
      status_(status),
      tree_(tree),
      titles_(titles),
      factors_(factors),
      menus_(menus),
      scopel_(scopel),
      pbMain_(pbMain),
      settings_(settings),
      commands_(commands),
      dialogs_(dialogs) {
  const auto guarded = [](auto f) {
    return [f](auto&&... args) { automation::CatchAtEventBoundary([&] { f(args...); }); };
  };
  connect(&tree_, &ContourTree::NodeClicked, this,
          guarded([this](std::int32_t node) { tvCoord_NodeClick(node); }));
  connect(&tree_, &ContourTree::LabelEditStarted, this, [this] { Arm(ClickMode::LabelEdit); });
  connect(&tree_, &ContourTree::LabelEdited, this,
          guarded([this](const QString& t) { tvCoord_AfterLabelEdit(t); }));
  // The label edit's click mode ends with the edit. An editor that lost the focus may
  // have lost it to a press on the zoom view, which takes the clicked pixel first.
  connect(&tree_, &ContourTree::LabelEditEnded, this, [this](bool byKey) {
    const auto end = [this] {
      if (mode_ == ClickMode::LabelEdit) ucScopel_KeyDown(kEscape, 0);
    };
    if (byKey) {
      end();
    } else {
      QTimer::singleShot(0, this, end);
    }
  });
  connect(&tree_, &ContourTree::NewPointEntered, this,
          guarded([this](const QString& t) { tbNew_Enter(t); }));
  connect(&tree_, &ContourTree::NewPointClosed, this, [this] { ucScopel_KeyDown(kEscape, 0); });
  connect(&tree_, &ContourTree::KeyCommand, this, [this](TreeKey key) {
    if (key == TreeKey::Delete) commands_.Run("mEditDelete");
    if (key == TreeKey::Insert) commands_.Run("mEditInsert");
    if (key == TreeKey::Escape) ucScopel_KeyDown(kEscape, 0);
  });
  connect(&titles_, &TitlesStrip::ShowContour, this,
          guarded([this](const QString& number) { ShowContourOfTitle(number); }));
  connect(&titles_, &TitlesStrip::ApplyTitle, this, [this] { commands_.Run("mEditTitle"); });
  connect(&titles_, &TitlesStrip::Changed, this, [this] { host_.RefreshCommands(); });
  connect(&factors_, &FactorsStrip::Changed, this, [this] { host_.RefreshCommands(); });

  scopelSink_ =
      std::make_unique<automation::FunctionSink>([this](automation::DispId id, QVariantList& a) {
        namespace ev = scopel::eventid;
        const auto num = [&a](int i) { return automation::ToDouble(a.value(i)); };
        const auto whole = [&a](int i) { return automation::ToInt32(a.value(i)); };
        if (id == ev::MouseDown) ucScopel_MouseDown(whole(0), whole(1), num(2), num(3));
        if (id == ev::MouseMove) ucScopel_MouseMove(num(2), num(3));
        if (id == ev::KeyDown) ucScopel_KeyDown(whole(0), whole(1));
        if (id == ev::OLEDragDrop) {
          const auto data = a.value(0).value<automation::DataObject>();
          // The drag source learns whether the drop opened something.
          bool opened = false;
          if (data.GetFormat(automation::kFormatFiles) && !data.Files().isEmpty()) {
            std::vector<std::string> files;
            for (const QByteArray& file : data.NativeFiles()) files.push_back(file.toStdString());
            opened = ucScopel_OLEDragDrop(files);
          }
          a[1] = opened ? automation::kDropEffectCopy : automation::kDropEffectNone;
        }
      });
  scopelCookie_ = scopel_.control()->events().advise(scopelSink_.get());
}

EditSurface::~EditSurface() {
  if (scopel_.control() != nullptr && scopelCookie_ != 0) {
    scopel_.control()->events().unadvise(scopelCookie_);
  }
}

void EditSurface::BindCommands() {
  const auto bind = [this](const char* name, void (EditSurface::*handler)()) {
    commands_.Bind(name, [this, handler](int) { (this->*handler)(); });
  };
  bind("mEditRestore", &EditSurface::mEditRestore_Click);
  bind("mEditCopy", &EditSurface::mEditCopy_Click);
  bind("mEditDelete", &EditSurface::mEditDelete_Click);
  bind("mEditChange", &EditSurface::mEditChange_Click);
  bind("mEditInsert", &EditSurface::mEditInsert_Click);
  bind("mEditStart", &EditSurface::mEditStart_Click);
  bind("mEditMerge", &EditSurface::mEditMerge_Click);
  bind("mEditDeleteContour", &EditSurface::mEditDeleteContour_Click);
  bind("mEditClockwise", &EditSurface::mEditClockwise_Click);
  bind("mEditMove", &EditSurface::mEditMove_Click);
  bind("mEditShift", &EditSurface::mEditShift_Click);
  bind("mEditResize", &EditSurface::mEditResize_Click);
  bind("mEditTitle", &EditSurface::mEditTitle_Click);
  bind("mFileStart", &EditSurface::mFileStart_Click);
  bind("mFileAdd", &EditSurface::mFileAdd_Click);
  bind("mViewMagnifier", &EditSurface::mViewMagnifier_Click);
  commands_.Bind("mViewColor", [this](int index) { mViewColor_Click(index); });
}

// --- helpers ---

bool EditSurface::ItemEnabled(const char* name) const {
  const CommandStates& states = host_.LastCommandStates();
  const auto found = states.find(name);
  return found != states.end() && found->second.enabled;
}

void EditSurface::SetCursor(const ModeCursor& cursor) {
  if (cursor.pointer == core::kPointerCustom) scopel_.SetMouseIcon(CursorImage(cursor.picture));
  scopel_.SetMousePointer(cursor.pointer);
}

void EditSurface::Arm(ClickMode mode) {
  mode_ = mode;
  SetCursor(ArmedCursor(mode));
}

void EditSurface::SetProgress2(const std::string& text) {
  status_.SetStatusText(engine::StatusField::Progress2, text);
}

std::string EditSurface::Format() const { return host_.Model().NumberFormat(); }

std::int32_t EditSurface::SelectedElement() const {
  return PointElementOf(host_.Model().Points(), ElementOfNode(tree_.SelectedNode()));
}

void EditSurface::TakeEdit(engine::ContourSet contours) {
  document::DocumentModel& model = host_.Model();
  model.TakeContours(std::move(contours));
  model.LetChanged(true);
  picture_.ShowImage();
  picture_.RedrawContours();
}

// --- the zoom view ---

void EditSurface::ucScopel_MouseDown(int button, int, double x, double y) {
  SetProgress2("");
  const ClickStep step = DecideClick(mode_, button, settings_.zoomIndex >= 1);
  document::DocumentModel& model = host_.Model();
  engine::ContourEngine& engine = host_.Engine();
  const std::int32_t px = core::PixelUnderTwips(x);
  const std::int32_t py = core::PixelUnderTwips(y);
  const auto nearest = [&] {
    return engine.FindNearestPoint(model.Contours(), static_cast<float>(x), static_cast<float>(y));
  };
  switch (step.action) {
    case ClickAction::CancelMode: ucScopel_KeyDown(kEscape, 0); return;
    case ClickAction::HelpPopup: emit WhatsThisAsked(); return;
    case ClickAction::SelectNearest: {
      SetCursor({});
      const std::int32_t i = nearest();
      if (i >= 1) {
        selectedPoint_ = NodeOfElement(i);
        tree_.SelectNode(selectedPoint_);
        tree_.setFocus();
      }
      mode_ = step.next;
      return;
    }
    case ClickAction::PickFirst: pair_[0] = nearest(); break;
    case ClickAction::Rectify:
      pair_[1] = nearest();
      host_.Runs().CutBetweenPoints(pair_);
      break;
    case ClickAction::Join: {
      pair_[1] = nearest();
      if (host_.Runs().JoinContours(pair_)) {
        // The contours were renumbered: the titles' numbers follow, each title with its
        // contour.
        engine::ContourSet renumbered = model.Contours();
        RenumberTitles(renumbered.titles, Format());
        if (renumbered.titles != model.Titles()) model.TakeContours(std::move(renumbered));
      }
      break;
    }
    case ClickAction::ZoomIn:
    case ClickAction::ZoomOut: {
      picture_.SelectZoom(step.action == ClickAction::ZoomIn ? zoomIndex_ : 0);
      // The clicked pixel 15 pixels right of and below the view's top left, or as near as
      // the image's edges allow. The view's scroll position is a share of its range, not
      // the pixel at its corner: the view places the pixel itself, brought in from its far
      // end so that the pixel 14 before the clicked one becomes its second cell.
      ScopelView& view = scopel_;
      view.SetScroll(view.ImageWidth(), view.ImageHeight());
      view.EnsureVisible(static_cast<double>(px - 14) * kTpp, static_cast<double>(py - 14) * kTpp);
      break;
    }
    case ClickAction::SetBeginning: {
      const std::int32_t i = nearest();
      engine::ContourSet edited = model.Contours();
      if (i > 0 && SetBeginning(edited, i)) TakeEdit(std::move(edited));
      break;
    }
    case ClickAction::LabelEdit:
      tree_.EndLabelEdit();
      tvCoord_AfterLabelEdit(QStringLiteral("%1,%2").arg(px).arg(py));
      break;
    case ClickAction::InsertPoint: {
      const QString text = QStringLiteral("%1,%2").arg(px).arg(py);
      tree_.NewPointBox()->setText(text);
      tbNew_Enter(text);
      tree_.CloseNewPointBox();
      return;
    }
    case ClickAction::CreateFromPoint:
      host_.PrepareEngine();
      mode_ = step.next;
      host_.Runs().CreateContourAtPoint(px, py);
      return;
    case ClickAction::AddContour: {
      host_.PrepareEngine();
      mode_ = step.next;
      engine.PrepareMask();
      const engine::AddOutcome added =
          host_.Runs().AddContourAtPoint(core::RoundToInt32(x), core::RoundToInt32(y));
      const engine::ContourPoints& points = model.Points();
      const std::int32_t upper = engine::UpperBound(points);
      // A refusal keeps its message in view: only an added contour is shown.
      if (added != engine::AddOutcome::NotAdded && upper >= 1) {
        std::int32_t first = 0;
        engine::GetContourRange(points, upper, first);
        tree_.SelectNode(NodeOfElement(first));
        tvCoord_NodeClick(NodeOfElement(first));
      }
      return;
    }
    case ClickAction::PickColour: ApplyDropperColour(x, y); break;
  }
  mode_ = step.next;
  if (step.setsCursor) SetCursor(step.cursor);
  if (step.focusTree) tree_.setFocus();
}

void EditSurface::ApplyDropperColour(double x, double y) {
  if (Dropper() != nullptr) dialogs_.SetColor(scopel_.GetPoint(x, y));
}

void EditSurface::ucScopel_MouseMove(double x, double y) {
  widgets::StatusBarPanel* info = status_.Bar()->Panel(QStringLiteral("Info"));
  if (info == nullptr) return;
  const QString t = QStringLiteral("%1,%2").arg(core::PixelUnderTwips(x)).arg(core::PixelUnderTwips(y));
  ScopelView& view = scopel_;
  if (x < 0 || x > view.ImageWidth() || y < 0 || y > view.ImageHeight()) {
    info->SetText(QString());
    return;
  }
  const ContourTree* tree = &tree_;
  if (tree->NodeCount() <= 2 || selectedPoint_ <= 2) {
    info->SetText(t);
  } else if (selectedPoint_ > tree->NodeCount()) {
    selectedPoint_ = 3;
    info->SetText(tree->NodeText(3));
  } else if (tree->NodeText(selectedPoint_) == t) {
    info->SetText(QStringLiteral("%1 (#%2)").arg(t).arg(ElementOfNode(selectedPoint_)));
  } else {
    info->SetText(t);
  }
}

void EditSurface::ucScopel_KeyDown(int keyCode, int shift) {
  ScopelView& view = scopel_;
  if (keyCode == kEscape) {
    mode_ = ClickMode::None;
    view.SetMousePointer(core::kPointerDefault);
  } else if (keyCode == kHome && shift == automation::kCtrlKey) {
    view.SetScroll(0, 0);
  } else if (keyCode == kEnd && shift == automation::kCtrlKey) {
    view.SetScroll(view.ImageWidth(), view.ImageHeight());
  }
}

bool EditSurface::ucScopel_OLEDragDrop(const std::vector<std::string>& files) {
  std::string chosen;
  DropKind kind = DropKind::None;
  for (const std::string& file : files) {
    kind = KindOfDrop(file);
    if (kind != DropKind::None) {
      chosen = file;
      break;
    }
  }
  if (kind == DropKind::None) return false;
  // Unsaved work is never replaced without the question.
  if (host_.Doc().ConfirmSaveChanges() == document::kAnswerCancel) return false;
  document::DocumentModel& model = host_.Model();
  if (kind == DropKind::Image) {
    model.LetImagePath(chosen);
    model.LetMapPath({});
  } else {
    model.LetMapPath(chosen);
  }
  host_.Doc().RememberAndOpen(chosen);
  return true;
}

// --- the tree ---

void EditSurface::tvCoord_NodeClick(std::int32_t node) {
  SetProgress2("");
  const engine::ContourPoints& points = host_.Model().Points();
  const std::int32_t upper = engine::UpperBound(points);
  if (upper == 0) return;
  std::int32_t element = ElementOfNode(node);
  if (node < 3 || element > upper || engine::IsSeparator(points[static_cast<std::size_t>(element)])) {
    // A heading stands for the contour under it.
    element = FirstPointUnder(points, std::min(element, upper));
    if (element == 0) return;
    tree_.SelectNode(NodeOfElement(element));
  }
  selectedPoint_ = NodeOfElement(element);
  const engine::ContourPoint& p = points[static_cast<std::size_t>(element)];
  scopel_.LocateCursor(static_cast<double>(p.x) * kTpp, static_cast<double>(p.y) * kTpp);
  std::int32_t first = 0;
  engine::GetContourRange(points, element, first);
  const std::int32_t number = points[static_cast<std::size_t>(first) - 1].x;
  nodeClickBusy_ = true;
  if (number >= 0 && number < titles_.List()->count()) titles_.SelectTitle(number);
  nodeClickBusy_ = false;
}

void EditSurface::tvCoord_AfterLabelEdit(const QString& text) {
  SetProgress2("");
  const std::optional<engine::ContourPoint> p = ParseLabelEntry(text.toStdString());
  if (!p) {
    SetProgress2(kInvalidValue);
    return;
  }
  const std::int32_t node = tree_.SelectedNode();
  engine::ContourSet edited = host_.Model().Contours();
  if (!ChangePoint(edited, ElementOfNode(node), *p)) return;
  TakeEdit(std::move(edited));
  tree_.SelectNode(node);
}

void EditSurface::tbNew_Enter(const QString& text) {
  const std::optional<engine::ContourPoint> p = ParseNewPoint(text.toStdString());
  if (!p) return;
  engine::ContourSet edited = host_.Model().Contours();
  const std::int32_t inserted = InsertPointAfter(edited, ElementOfNode(tree_.SelectedNode()), *p);
  if (inserted == 0) return;
  TakeEdit(std::move(edited));
  selectedPoint_ = NodeOfElement(inserted);
  tree_.SelectNode(selectedPoint_);
}

void EditSurface::ShowContourOfTitle(const QString& numberPart) {
  if (nodeClickBusy_) return;
  // The heading with exactly that text; the node after it is the contour's first point.
  const engine::ContourPoints& points = host_.Model().Points();
  const std::string wanted = numberPart.toStdString();
  const std::string format = Format();
  std::int32_t heading = -1;
  if (engine::UpperBound(points) >= 1 && FirstHeadingText(format) == wanted) heading = 0;
  for (std::size_t k = 1; heading < 0 && k < points.size(); ++k) {
    if (engine::IsSeparator(points[k]) && ElementText(points[k], format) == wanted)
      heading = static_cast<std::int32_t>(k);
  }
  if (heading < 0 || heading + 1 > engine::UpperBound(points)) return;
  tree_.SelectNode(NodeOfElement(heading + 1));
  tvCoord_NodeClick(NodeOfElement(heading + 1));
}

// --- Edit menu ---

void EditSurface::mEditRestore_Click() {
  if (!ItemEnabled("mEditRestore")) return;
  document::DocumentModel& model = host_.Model();
  model.LetClickTraced(false);
  host_.Doc().LoadImageMapFile();
  picture_.ShowImage();
  picture_.RedrawContours();
  model.LetChanged(false);
  SetProgress2("");
}

void EditSurface::mEditCopy_Click() {
  widgets::Clipboard().SetText(QString::fromStdString(host_.Doc().FormatOutputText("", "")));
}

void EditSurface::mEditDelete_Click() {
  if (!ItemEnabled("mEditDelete")) return;
  SetProgress2("");
  engine::ContourSet edited = host_.Model().Contours();
  const EditOutcome out = DeletePoint(edited, ElementOfNode(tree_.SelectedNode()));
  if (!out.done) {
    SetProgress2(out.message);
    return;
  }
  document::RunSequence& runs = host_.Runs();
  runs.BeginBusy();
  TakeEdit(std::move(edited));
  selectedPoint_ = NodeOfElement(out.selected);
  tree_.SelectNode(selectedPoint_);
  tvCoord_NodeClick(selectedPoint_);
  runs.EndBusy();
}

void EditSurface::mEditChange_Click() {
  if (!ItemEnabled("mEditChange")) return;
  tree_.StartLabelEdit();
}

void EditSurface::mEditInsert_Click() {
  if (!ItemEnabled("mEditInsert")) return;
  if (!tree_.ShowNewPointBox()) return;
  SetProgress2("");
  Arm(ClickMode::InsertPoint);
}

void EditSurface::mEditStart_Click() {
  if (ItemEnabled("mEditStart")) Arm(ClickMode::RectifyFirst);
}

void EditSurface::mEditMerge_Click() {
  if (ItemEnabled("mEditMerge")) Arm(ClickMode::MergeFirst);
}

void EditSurface::mEditMove_Click() {
  if (ItemEnabled("mEditMove")) Arm(ClickMode::SetBeginning);
}

void EditSurface::mEditDeleteContour_Click() {
  if (!ItemEnabled("mEditDeleteContour")) return;
  SetProgress2("");
  prompts_.Beep(core::kBeepWarning);
  if (prompts_.Ask("Are you sure you wish to delete the contour?", document::Buttons::YesNo) !=
      document::kAnswerYes) {
    return;
  }
  document::RunSequence& runs = host_.Runs();
  runs.BeginBusy();
  engine::ContourSet edited = host_.Model().Contours();
  if (DeleteContour(edited, ElementOfNode(tree_.SelectedNode()), Format())) {
    TakeEdit(std::move(edited));
    titles_.SelectTitle(0);
  }
  runs.EndBusy();
}

void EditSurface::mEditClockwise_Click() {
  if (!ItemEnabled("mEditClockwise")) return;
  widgets::MenuEntry* item = menus_.Item(QStringLiteral("mEditClockwise"));
  item->SetChecked(!item->Checked());
  SetProgress2("");
  engine::ContourSet edited = host_.Model().Contours();
  ReverseContours(edited, Format());
  TakeEdit(std::move(edited));
}

void EditSurface::mEditShift_Click() {
  if (!ItemEnabled("mEditShift")) return;
  SetProgress2("");
  engine::ContourSet edited = host_.Model().Contours();
  ShiftContours(edited, factors_.ShiftX(), factors_.ShiftY());
  TakeEdit(std::move(edited));
}

void EditSurface::mEditResize_Click() {
  if (!ItemEnabled("mEditResize")) return;
  SetProgress2("");
  engine::ContourSet edited = host_.Model().Contours();
  ResizeContours(edited, factors_.Factor());
  TakeEdit(std::move(edited));
}

void EditSurface::mEditTitle_Click() {
  // Nothing to title without a selected entry.
  const int index = titles_.SelectedIndex();
  if (!ItemEnabled("mEditTitle") && !titles_.TitleEnabled()) return;
  if (index < 0) return;
  document::DocumentModel& model = host_.Model();
  engine::ContourSet edited = model.Contours();
  if (!SetContourTitle(edited, index, titles_.EditedTitle())) return;
  model.TakeContours(std::move(edited));
  titles_.SelectTitle(index);
  model.LetChanged(true);
  host_.RefreshCommands();
}

// --- File, View and Settings commands of the zoom view ---

void EditSurface::mFileStart_Click() {
  if (ItemEnabled("mFileStart")) Arm(ClickMode::CreateFromPoint);
}

void EditSurface::mFileAdd_Click() {
  if (ItemEnabled("mFileAdd")) Arm(ClickMode::AddContour);
}

void EditSurface::mViewMagnifier_Click() {
  Arm(ClickMode::Magnifier);
  zoomIndex_ = 1;
}

QColorDialog* EditSurface::Dropper() const {
  return mode_ == ClickMode::Dropper ? dialogs_.OpenColorDialog() : nullptr;
}

void EditSurface::mViewColor_Click(int index) {
  if (index < 0 || index > 3) return;
  ScopelView& view = scopel_;
  const std::int32_t colours[] = {view.BackColor(), view.GridColor(), view.ForeColor(),
                                  view.FillColor()};
  dialogs_.SetColor(colours[index]);
  bool confirmed = false;
  if (index == 0) {
    // The dropper: the zoom view picks colours for the open dialog; everything else
    // waits for the dialog.
    Arm(ClickMode::Dropper);
    std::vector<std::pair<QWidget*, bool>> held;
    QWidget* client = pbMain_->parentWidget();
    for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (w != pbMain_) held.emplace_back(w, w->isEnabled());
    }
    held.emplace_back(&tree_, tree_.isEnabled());
    held.emplace_back(form_->menuBar(), form_->menuBar()->isEnabled());
    for (auto& [w, on] : held) w->setEnabled(false);
    dialogs_.Mode = DialogService::ColorDialogMode::Beside;
    confirmed = dialogs_.ShowColor();
    dialogs_.Mode = DialogService::ColorDialogMode::Modal;
    for (auto& [w, on] : held) w->setEnabled(on);
    mode_ = ClickMode::None;
    view.SetMousePointer(core::kPointerDefault);
    if (dialogs_.Color() == view.BackColor()) confirmed = false;
    if (!confirmed) return;
    view.SetBackColor(dialogs_.Color());
    // The picture comes again from its file; the document's contours and its changed
    // mark stay.
    document::DocumentModel& model = host_.Model();
    const bool changed = model.IsChanged();
    host_.Doc().LoadImageFile(false);
    model.LetChanged(changed);
    picture_.RedrawContours();
  } else {
    confirmed = dialogs_.ShowColor();
    if (confirmed) {
      const std::int32_t chosen = dialogs_.Color();
      if (index == 1) view.SetGridColor(chosen);
      if (index == 2) view.SetForeColor(chosen);
      if (index == 3) view.SetFillColor(chosen);
      // New colours show on the clean picture.
      picture_.ShowImage();
      picture_.RedrawContours();
    }
  }
  if (confirmed) {
    common::SetMenuColorSwatch(form_, menus_.Item(QStringLiteral("mViewColor"), index),
                               gui::OleColor(static_cast<std::uint32_t>(dialogs_.Color())), false);
  }
  host_.RefreshCommands();
}

}  // namespace morvane::app
