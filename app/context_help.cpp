#include "app/context_help.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "common/widgets/control_helpers.h"
#include "platform/core/units.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/help_viewer.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"

namespace morvane::app {

namespace {

constexpr int kTpp = core::kTwipsPerPixel;

// Paints the what's-this hilite over one menu-bar title; the bar paints the rest.
class MenuBarHilite final : public QWidget {
 public:
  explicit MenuBarHilite(QWidget* bar) : QWidget(bar) {
    setObjectName(QStringLiteral("menuBarHilite"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QColor fill = palette().color(QPalette::Highlight);
    painter.setPen(fill.darker(130));
    fill.setAlpha(70);
    painter.setBrush(fill);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};

template <typename T>
T* AncestorOfType(QWidget* widget, const QWidget* stop) {
  for (QWidget* w = widget; w != nullptr && w != stop; w = w->parentWidget()) {
    if (auto* found = qobject_cast<T*>(w)) return found;
  }
  return nullptr;
}

bool IsInside(const QWidget* widget, const QWidget* ancestor) {
  return ancestor != nullptr && widget != nullptr &&
         (widget == ancestor || ancestor->isAncestorOf(widget));
}

}  // namespace

void TopicsFileDisplay::ShowTopic(int contextId, QPoint globalPos) {
  widgets::HelpViewer::ShowContextPopup(topicsFile_, contextId, globalPos);
}

void TopicsFileDisplay::ShowContents(QWidget* owner) {
  widgets::HelpViewer::ShowContents(topicsFile_, 0, owner);
}

const std::vector<WhatsThisSpec>& WhatsThisTable() {
  static const std::vector<WhatsThisSpec> table = {
      {"tlShiftX", -1, 302, true},   {"tbShiftX", -1, 302, false},  {"tlShiftY", -1, 302, true},
      {"tbShiftY", -1, 302, false},  {"tlFactor", -1, 303, true},   {"tbFactor", -1, 303, false},
      {"tlDigits", -1, 304, true},   {"sbDigits", -1, 304, false},  {"tlTitles", -1, 305, true},
      {"cbTitles", -1, 305, false},  {"tbTitles", -1, 305, false},  {"tvCoord", -1, 321, true},
      {"tbNew", -1, 321, false},     {"pbProgress", 0, 312, false}, {"pbProgress", 1, 313, false},
      {"pbProgress", 2, 314, false},
  };
  return table;
}

ContextHelp::ContextHelp(ContextHelpParts parts, HelpDisplay& display, bool available, QObject* owner)
    : QObject(owner), parts_(std::move(parts)), display_(display), available_(available) {
  qApp->installEventFilter(this);
}

ContextHelp::~ContextHelp() {
  qApp->removeEventFilter(this);
  if (inWhatsThisMode_) QApplication::restoreOverrideCursor();
  delete hilitePainter_.data();
}

void ContextHelp::AssignWhatsThisIds() {
  if (parts_.form == nullptr) return;
  for (QWidget* widget : parts_.form->findChildren<QWidget*>()) {
    for (const WhatsThisSpec& spec : WhatsThisTable()) {
      if (widget->objectName() != QLatin1String(spec.name)) continue;
      const QVariant index = widget->property("Index");
      if (spec.index >= 0 && (!index.isValid() || index.toInt() != spec.index)) continue;
      widget->setProperty(kWhatsThisProperty, spec.helpId);
      widget->setProperty("WhatsThisPopup", spec.rightClickPopup);
      break;
    }
  }
}

// --- the display step and its callers ---

bool ContextHelp::DisplayPending(QPoint globalPos) {
  const int id = pendingId_;
  pendingId_ = 0;
  if (!available_ || id < 1) return false;
  if (inWhatsThisMode_) shownInMode_ = true;
  display_.ShowTopic(id, globalPos);
  return true;
}

void ContextHelp::mPopupWhatsThis_Click() { DisplayPending(QCursor::pos()); }

void ContextHelp::ShowWhatsThisPopup(QWidget* control, int helpId, QPoint globalPos) {
  Q_UNUSED(control);
  pendingId_ = helpId;
  widgets::MenuEntry* popup =
      parts_.menus != nullptr ? parts_.menus->Item(QStringLiteral("mPopup")) : nullptr;
  if (popup == nullptr || popup->Popup() == nullptr) return;
  // Opened by a right press: the release that ends it chooses the item.
  popupOpenedByPress_ = QGuiApplication::mouseButtons().testFlag(Qt::RightButton);
  popup->Popup()->popup(globalPos);
}

bool ContextHelp::ChoosePopupItem(QMenu* menu, QPoint globalPos) {
  widgets::MenuEntry* popup = parts_.menus->Item(QStringLiteral("mPopup"));
  if (popup == nullptr || popup->Popup() != menu) return false;
  const bool opening = popupOpenedByPress_;
  popupOpenedByPress_ = false;
  widgets::MenuEntry* item = parts_.menus->Item(QStringLiteral("mPopupWhatsThis"));
  if (item == nullptr) return true;
  // The right button chooses in this popup, as the left does: the topic shown is the
  // control's the popup was opened for, not the item's own.
  if (opening || menu->actionAt(menu->mapFromGlobal(globalPos)) == item->Action()) {
    CloseMenus();
    if (item->Enabled()) item->Action()->trigger();
  }
  return true;
}

bool ContextHelp::HelpAt(QPoint globalPos) {
  QWidget* widget = QApplication::widgetAt(globalPos);
  if (widget != nullptr && IsOurs(widget)) {
    const int id = HelpIdOf(widget, globalPos, false);
    if (id > 0) pendingId_ = id;
  }
  return DisplayPending(globalPos);
}

int ContextHelp::HelpIdOf(QWidget* widget, QPoint globalPos, bool clampPanels) const {
  const QWidget* form = parts_.form;
  if (IsInside(widget, parts_.status)) {
    const QPoint p = parts_.status->mapFromGlobal(globalPos);
    const int panel = common::StatusBarPanelAt(parts_.status, p.x() * kTpp, p.y() * kTpp, clampPanels);
    return panel > 0 ? parts_.status->PanelAt(panel)->Tag().toInt() : 0;
  }
  if (auto* scroll = AncestorOfType<QScrollBar>(widget, form);
      scroll != nullptr && IsInside(scroll, parts_.zoomView)) {
    return kZoomScrollBarHelpId;
  }
  if (auto* bar = AncestorOfType<widgets::KeyedToolBar>(widget, form)) {
    const QPoint p = bar->mapFromGlobal(globalPos);
    const int button = common::ToolbarButtonAt(bar, p.x() * kTpp, p.y() * kTpp);
    return button > 0 ? bar->ButtonAt(button)->Tag().toInt() : 0;
  }
  for (QWidget* w = widget; w != nullptr && w != form; w = w->parentWidget()) {
    const int id = w->property(kWhatsThisProperty).toInt();
    if (id != 0) return id;
  }
  return 0;
}

// --- menu-bar hilite ---

QMenuBar* ContextHelp::Bar() const { return parts_.menus != nullptr ? parts_.menus->Bar() : nullptr; }

QList<widgets::MenuEntry*> ContextHelp::BarItems() const {
  QList<widgets::MenuEntry*> items;
  if (parts_.menus == nullptr) return items;
  for (widgets::MenuEntry* item : parts_.menus->TopLevel()) {
    if (item->Visible()) items << item;
  }
  return items;
}

int ContextHelp::MenuBarItemAt(QPoint globalPos) const {
  QMenuBar* bar = Bar();
  if (bar == nullptr || !bar->isVisible()) return -1;
  const QAction* action = bar->actionAt(bar->mapFromGlobal(globalPos));
  if (action == nullptr) return -1;
  const QList<widgets::MenuEntry*> items = BarItems();
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (items[i]->Action() == action) return static_cast<int>(i);
  }
  return -1;
}

void ContextHelp::PaintHilite(int position) {
  QMenuBar* bar = Bar();
  const QList<widgets::MenuEntry*> items = BarItems();
  if (bar == nullptr || position < 0 || position >= items.size()) {
    if (hilitePainter_) hilitePainter_->hide();
    return;
  }
  if (!hilitePainter_) hilitePainter_ = new MenuBarHilite(bar);
  hilitePainter_->setGeometry(bar->actionGeometry(items[position]->Action()));
  hilitePainter_->raise();
  hilitePainter_->show();
  hilitePainter_->update();
}

void ContextHelp::HiliteMenuBarItem(int position) {
  hilited_ = position;
  PaintHilite(position);
}

void ContextHelp::ClearHilite() { HiliteMenuBarItem(-1); }

bool ContextHelp::ShowMenuHelpIfHilited(const std::string& name, int index) {
  if (hilited_ < 0) return false;
  ClearHilite();
  widgets::MenuEntry* item =
      parts_.menus != nullptr ? parts_.menus->Item(QString::fromStdString(name), index) : nullptr;
  if (item != nullptr) pendingId_ = item->HelpContextID();
  DisplayPending(QCursor::pos());
  EndWhatsThisMode();
  return true;
}

void ContextHelp::DropMenuForHelp(int position) {
  const QList<widgets::MenuEntry*> items = BarItems();
  QMenuBar* bar = Bar();
  if (bar == nullptr || position < 0 || position >= items.size() || items[position]->Popup() == nullptr)
    return;
  HiliteMenuBarItem(position);
  shownInMode_ = false;
  ++dropping_;
  const QRect title = bar->actionGeometry(items[position]->Action());
  // A command chosen here meets the hilite in its guard and shows its topic instead.
  items[position]->Popup()->exec(bar->mapToGlobal(title.bottomLeft()));
  --dropping_;
  ClearHilite();
  if (shownInMode_) EndWhatsThisMode();
}

// --- what's-this mode and contents ---

void ContextHelp::mHelpWhatsThis_Click() {
  if (inWhatsThisMode_ || !available_) return;
  inWhatsThisMode_ = true;
  shownInMode_ = false;
  QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

void ContextHelp::EndWhatsThisMode() {
  if (!inWhatsThisMode_) return;
  inWhatsThisMode_ = false;
  ClearHilite();
  QApplication::restoreOverrideCursor();
}

void ContextHelp::mHelpTopics_Click() {
  if (available_) display_.ShowContents(parts_.form);
}

// --- events ---

bool ContextHelp::IsOurs(const QObject* object) const {
  const auto* widget = qobject_cast<const QWidget*>(object);
  if (widget == nullptr || parts_.form == nullptr) return false;
  return widget->window() == parts_.form || OurMenu(const_cast<QObject*>(object)) != nullptr;
}

QMenu* ContextHelp::OurMenu(QObject* object) const {
  auto* menu = qobject_cast<QMenu*>(object);
  if (menu == nullptr || parts_.menus == nullptr) return nullptr;
  for (widgets::MenuEntry* item : parts_.menus->Items()) {
    if (item->Popup() == menu) return menu;
  }
  return nullptr;
}

widgets::MenuEntry* ContextHelp::EntryOfAction(const QAction* action) const {
  if (action == nullptr || parts_.menus == nullptr) return nullptr;
  for (widgets::MenuEntry* item : parts_.menus->Items()) {
    if (item->Action() == action) return item;
  }
  return nullptr;
}

void ContextHelp::CloseMenus() {
  while (QWidget* popup = QApplication::activePopupWidget()) {
    if (OurMenu(popup) == nullptr) break;
    popup->close();
  }
}

bool ContextHelp::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress &&
      type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseMove && type != QEvent::Leave) {
    return false;
  }
  // Moves and leaves matter only in what's-this mode: every other move of the pointer
  // passes by without a look at where it happened.
  if (!inWhatsThisMode_ && (type == QEvent::MouseMove || type == QEvent::Leave)) return false;
  if (!IsOurs(watched)) return false;
  bool handled = false;
  automation::CatchAtEventBoundary([&] {
    if (type == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      handled = OnKeyPress(watched, key->key(), key->modifiers());
      return;
    }
    if (inWhatsThisMode_ && dropping_ == 0) {
      handled = OnModeMouse(watched, event);
      return;
    }
    if (type == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (eatRelease_) {
        eatRelease_ = false;
        handled = true;
      } else if (QMenu* menu = OurMenu(watched); menu != nullptr && mouse->button() == Qt::RightButton) {
        handled = OnMenuRightRelease(menu, mouse->globalPosition().toPoint());
      }
    } else if (type == QEvent::MouseButtonPress) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton && OurMenu(watched) == nullptr) {
        handled = OnRightPress(static_cast<QWidget*>(watched), mouse->globalPosition().toPoint());
      }
    }
  });
  return handled;
}

bool ContextHelp::OnKeyPress(QObject* watched, int key, Qt::KeyboardModifiers modifiers) {
  if (inWhatsThisMode_ && key == Qt::Key_Escape && dropping_ == 0) {
    EndWhatsThisMode();
    return true;
  }
  if (key != Qt::Key_F1 || (modifiers & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  if (QMenu* menu = OurMenu(watched)) {
    // F1 in an open menu: the active item's own topic.
    const widgets::MenuEntry* item = EntryOfAction(menu->activeAction());
    if (item != nullptr && !item->IsSeparator()) pendingId_ = item->HelpContextID();
    const QPoint at = menu->activeAction() != nullptr
                          ? menu->mapToGlobal(menu->actionGeometry(menu->activeAction()).bottomLeft())
                          : QCursor::pos();
    CloseMenus();
    DisplayPending(at);
    return true;
  }
  if (hilited_ >= 0) {
    DropMenuForHelp(hilited_);
    return true;
  }
  if (inWhatsThisMode_) {
    HelpAt(QCursor::pos());
    EndWhatsThisMode();
    return true;
  }
  // Nothing to explain here: the key goes on to the control (the splitter has its own).
  return HelpAt(QCursor::pos());
}

bool ContextHelp::OnMenuRightRelease(QMenu* menu, QPoint globalPos) {
  if (!inWhatsThisMode_ && ChoosePopupItem(menu, globalPos)) return true;
  // The item under the pointer, not the one that was last selected.
  const widgets::MenuEntry* item = EntryOfAction(menu->actionAt(menu->mapFromGlobal(globalPos)));
  if (item == nullptr || item->IsSeparator()) return true;
  pendingId_ = item->HelpContextID();
  CloseMenus();
  DisplayPending(globalPos);
  EndWhatsThisMode();
  return true;
}

bool ContextHelp::OnRightPress(QWidget* widget, QPoint globalPos) {
  const QWidget* form = parts_.form;
  if (IsInside(widget, parts_.status)) {
    ShowWhatsThisPopup(parts_.status, HelpIdOf(widget, globalPos, true), globalPos);
    return true;
  }
  if (auto* bar = AncestorOfType<widgets::KeyedToolBar>(widget, form)) {
    const int id = HelpIdOf(widget, globalPos, false);
    // Outside all buttons there is nothing to explain.
    if (id > 0) ShowWhatsThisPopup(bar, id, globalPos);
    return true;
  }
  for (QWidget* w = widget; w != nullptr && w != form; w = w->parentWidget()) {
    if (!w->property("WhatsThisPopup").toBool()) continue;
    ShowWhatsThisPopup(w, w->property(kWhatsThisProperty).toInt(), globalPos);
    return true;
  }
  return false;
}

bool ContextHelp::OnModeMouse(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  QMenuBar* bar = Bar();
  if (type == QEvent::Leave) {
    if (watched == bar) ClearHilite();
    return false;
  }
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint global = mouse->globalPosition().toPoint();
  if (type == QEvent::MouseMove) {
    // Hot tracking of the menu bar; the bar's own hover look stays off meanwhile.
    HiliteMenuBarItem(MenuBarItemAt(global));
    return watched == bar;
  }
  if (type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) {
    if (!eatRelease_) return false;
    if (type == QEvent::MouseButtonRelease) eatRelease_ = false;
    return true;
  }
  // A press: the click asks for help on what it hits.
  eatRelease_ = true;
  if (QMenu* menu = OurMenu(watched)) return OnMenuRightRelease(menu, global);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget != nullptr && widget == bar) {
    const int position = MenuBarItemAt(global);
    if (position >= 0) DropMenuForHelp(position);
    return true;
  }
  if (widget != nullptr) {
    const int id = HelpIdOf(widget, global, false);
    if (id > 0) pendingId_ = id;
  }
  DisplayPending(global);
  EndWhatsThisMode();
  return true;
}

}  // namespace morvane::app
