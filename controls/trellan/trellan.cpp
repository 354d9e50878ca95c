#include "controls/trellan/trellan.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QTimer>

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "controls/kit/control_kit.h"
#include "controls/kit/library_about.h"
#include "controls/trellan/trellan_helpers.h"
#include "controls/trellan/trellan_typelib.h"
#include "platform/core/ini_profile.h"
#include "platform/gui/ole_color.h"
#include "platform/widgets/automation/control_events.h"
#include "platform/widgets/automation/variant_args.h"
#include "platform/widgets/help_viewer.h"

namespace morvane::trellan {

namespace {

using automation::AutomationError;

constexpr int kHelpContext = 503;
const QString kNone = QStringLiteral("(None)");

std::int32_t Px(std::int32_t twips) { return core::TwipsToPixels(twips); }
std::int32_t Tw(std::int32_t pixels) { return pixels * kTwipsPerPixel; }
QRect PixelRect(const Box& b) { return {Px(b.left), Px(b.top), Px(b.width), Px(b.height)}; }

// The library's icon 1 for its About box: a small bar between two panels.
QIcon LibraryIcon(std::int32_t id) {
  if (id != 1) return {};
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  painter.fillRect(2, 2, 12, 28, QColor(0x80, 0x80, 0x80));
  painter.fillRect(18, 2, 12, 28, QColor(0x80, 0x80, 0x80));
  painter.fillRect(14, 0, 4, 32, QColor(0, 0, 0x80));
  return QIcon(pixmap);
}

bool IsDesignerContainer(const QString& kind) {
  return kind == QLatin1String("UserControl") || kind == QLatin1String("PropertyPage") ||
         kind == QLatin1String("UserDocument");
}

std::string Utf8(const QString& text) { return text.toStdString(); }

// The splitters on a form (the class has no meta-object of its own, so no qobject_cast).
QList<Trellan*> TrellansOn(const QWidget* form) {
  QList<Trellan*> bars;
  if (form == nullptr) return bars;
  for (QWidget* w : form->findChildren<QWidget*>()) {
    if (auto* bar = dynamic_cast<Trellan*>(w)) bars << bar;
  }
  return bars;
}

}  // namespace

// The cut in a sunken container border where a bar meets it: drawn over the
// container's frame, transparent to the mouse.
class BorderCut : public QWidget {
 public:
  BorderCut(Trellan* bar, QWidget* container) : QWidget(container), bar_(bar) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
  }
  std::vector<Piece> pieces;

 protected:
  void paintEvent(QPaintEvent*) override {
    automation::CatchAtEventBoundary([&] {
      QPainter painter(this);
      for (const Piece& p : pieces)
        painter.fillRect(p.x, p.y, p.width, p.height, QColor::fromRgb(p.color));
    });
  }

 private:
  QPointer<Trellan> bar_;
};

Trellan::Trellan(QWidget* parent)
    : QWidget(parent),
      colors_{core::SystemColorValue(core::SystemColor::kButtonFace),
              core::SystemColorValue(core::SystemColor::kButtonFace),
              core::SystemColorValue(core::SystemColor::kButtonHighlight),
              core::SystemColorValue(core::SystemColor::kButtonShadow),
              core::SystemColorValue(core::SystemColor::k3DDarkShadow)},
      helpFileName_(QString::fromLatin1(kClassName) + QStringLiteral(".hlp")) {
  // Nothing is arranged until the bar has its properties: given, read, or at the first
  // show without either.
  StartReadingProperties();
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // MouseMove is raised without buttons too
  setAttribute(Qt::WA_OpaquePaintEvent);
  menu_ = new QMenu(this);
  menu_->setObjectName(QStringLiteral("Menu_Trellan"));
  menuFirst_ = menu_->addAction(QString());
  menuFirst_->setObjectName(QStringLiteral("MenuFirst"));
  menuSecond_ = menu_->addAction(QString());
  menuSecond_->setObjectName(QStringLiteral("MenuSecond"));
  menu_->addSeparator()->setObjectName(QStringLiteral("MenuSeparator"));
  menuSwap_ = menu_->addAction(QStringLiteral("&Swap Panels"));
  menuSwap_->setObjectName(QStringLiteral("MenuSwap"));
  menuOrientation_ = menu_->addAction(QString());
  menuOrientation_->setObjectName(QStringLiteral("MenuOrientation"));
  auto guarded = [](auto body) { return [body] { automation::CatchAtEventBoundary(body); }; };
  connect(menuFirst_, &QAction::triggered, this, guarded([this] { TogglePanel(0); }));
  connect(menuSecond_, &QAction::triggered, this, guarded([this] { TogglePanel(1); }));
  connect(menuSwap_, &QAction::triggered, this, guarded([this] { Swap(); }));
  // The item turns the bar as it is seen: a stored 0 is horizontal and becomes vertical.
  connect(menuOrientation_, &QAction::triggered, this,
          guarded([this] { LetOrientation(state_.vertical() ? Horizontal : Vertical); }));
}

Trellan::~Trellan() {
  if (borderCut_) delete borderCut_.data();
}

// ---- life cycle ----

bool Trellan::UserMode() const {
  return site() == nullptr || site()->ambient(QStringLiteral("UserMode"), true).toBool();
}

QWidget* Trellan::ParentForm() const { return window(); }

void Trellan::InitProperties() {
  state_.newInstance = true;
  moveable_ = true;
  EndReadingProperties();
  setFocusPolicy(Qt::ClickFocus);  // TabStop False
}

void Trellan::ReadProperties(const automation::PropertyBag& bag) {
  StartReadingProperties();
  // Each step on its own: a value that cannot be read leaves its field as it was.
  for (int slot = 0; slot < 2; ++slot) {
    ReadKey([&] {
      const char* key = slot == 0 ? "FirstControl" : "SecondControl";
      const char* fallback = slot == 0 ? "FirstControlName" : "SecondControlName";
      QString name = automation::ToText(bag.read(QLatin1String(key), QString()));
      if (name.isEmpty()) name = automation::ToText(bag.read(QLatin1String(fallback), QString()));
      names_[static_cast<std::size_t>(slot)] = name.isEmpty() ? kNone : name;
    });
  }
  ReadKey([&] {
    if (bag.contains(QStringLiteral("ClipControls")))
      clipControls_ = automation::ToBool(bag.read(QStringLiteral("ClipControls")));
  });
  ReadKey([&] { autoPopupMenu_ = automation::ToBool(bag.read(QStringLiteral("AutoPopupMenu"), true)); });
  ReadKey([&] {
    const std::int32_t orientation = automation::ToInt32(bag.read(QStringLiteral("Orientation"), 2));
    state_.orientation = orientation == 0 ? 2 : orientation;
  });
  ReadKey([&] { state_.style = automation::ToInt32(bag.read(QStringLiteral("Style"), 0)); });
  ReadKey([&] { state_.resizeMode = automation::ToInt32(bag.read(QStringLiteral("ResizeMode"), 0)); });
  static const char* const kColorKeys[5] = {"BackColor", "BeginLine1Color", "BeginLine2Color",
                                            "FinishLine1Color", "FinishLine2Color"};
  for (int i = 0; i < 5; ++i) {
    ReadKey([&] {
      if (bag.contains(QLatin1String(kColorKeys[i]))) {
        colors_[static_cast<std::size_t>(i)] =
            automation::ToColor(bag.read(QLatin1String(kColorKeys[i])));
      }
    });
  }
  ReadKey([&] { drawJunctions_ = automation::ToInt32(bag.read(QStringLiteral("DrawJunctions"), 0)); });
  ReadKey([&] { LetDashSize(automation::ToInt32(bag.read(QStringLiteral("DashSize"), 0))); });
  ReadKey([&] { QWidget::setEnabled(automation::ToBool(bag.read(QStringLiteral("Enabled"), true))); });
  ReadKey([&] {
    if (bag.contains(QStringLiteral("MouseIcon")))
      mouseIcon_ = automation::PictureOf(bag.read(QStringLiteral("MouseIcon")));
  });
  ReadKey([&] {
    if (bag.contains(QStringLiteral("CustomMouseIcon"))) {
      customMouseIcon_ = automation::ToBool(bag.read(QStringLiteral("CustomMouseIcon")));
    }
  });
  ReadKey([&] { moveable_ = automation::ToBool(bag.read(QStringLiteral("Moveable"), true)); });
  ReadKey([&] { LetMousePointer(automation::ToInt16(bag.read(QStringLiteral("MousePointer"), 0))); });
  helpFileName_ = QString::fromLatin1(kClassName) + QStringLiteral(".hlp");
  EndReadingProperties();
  if (UserMode()) UpdateBarPointer();
}

void Trellan::WriteProperties(automation::PropertyBag& bag) {
  bag.write(QStringLiteral("ClipControls"), clipControls_);
  bag.write(QStringLiteral("AutoPopupMenu"), autoPopupMenu_);
  bag.write(QStringLiteral("FirstControl"), names_[0]);
  bag.write(QStringLiteral("SecondControl"), names_[1]);
  bag.write(QStringLiteral("Orientation"), state_.orientation);
  bag.write(QStringLiteral("Style"), state_.style);
  bag.write(QStringLiteral("ResizeMode"), state_.resizeMode);
  bag.write(QStringLiteral("BackColor"), automation::FromColor(colors_[0]));
  bag.write(QStringLiteral("BeginLine1Color"), automation::FromColor(colors_[1]));
  bag.write(QStringLiteral("BeginLine2Color"), automation::FromColor(colors_[2]));
  bag.write(QStringLiteral("FinishLine1Color"), automation::FromColor(colors_[3]));
  bag.write(QStringLiteral("FinishLine2Color"), automation::FromColor(colors_[4]));
  bag.write(QStringLiteral("DashSize"), dashSize_);
  bag.write(QStringLiteral("DrawJunctions"), drawJunctions_);
  bag.write(QStringLiteral("Enabled"), isEnabled());
  bag.write(QStringLiteral("MouseIcon"),
            mouseIcon_.isNull() ? QVariant() : QVariant::fromValue(mouseIcon_));
  bag.write(QStringLiteral("Moveable"), moveable_);
  bag.write(QStringLiteral("CustomMouseIcon"), customMouseIcon_);
  bag.write(QStringLiteral("MousePointer"), mousePointer_);
}

QStringList Trellan::PropertyPages() const {
  return {QString::fromLatin1(kControlsPageClassId), QString::fromLatin1(automation::kStandardColorPageId),
          QString::fromLatin1(automation::kStandardPicturePageId)};
}

QStringList Trellan::PropertiesOfKind(automation::PropertyKind kind) const {
  switch (kind) {
    case automation::PropertyKind::Color:
      return {QStringLiteral("BackColor"), QStringLiteral("BeginLine1Color"), QStringLiteral("BeginLine2Color"),
              QStringLiteral("FinishLine1Color"), QStringLiteral("FinishLine2Color")};
    case automation::PropertyKind::Picture: return {QStringLiteral("MouseIcon")};
  }
  return {};
}

void Trellan::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  automation::CatchAtEventBoundary([&] {
    EndReadingProperties();
    shown_ = true;
    if (!UserMode()) ArrangeGuidedControls(false);
    else {
      pollEnabled_ = true;
      WatchContainer();
      SchedulePoll();
    }
    state_.newInstance = false;
  });
}

void Trellan::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  automation::CatchAtEventBoundary([&] {
    if (state_.newInstance) state_.orientation = height() >= width() ? 2 : 1;
    ArrangeGuidedControls(false);
    PaintSplitBar();
    Raise(eventid::Resize);
  });
}

void Trellan::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  SchedulePoll();
}

void Trellan::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ParentChange) WatchContainer();
}

// ---- polling: the container's size, the bar's position, a drag without moves ----

void Trellan::WatchContainer() {
  if (watched_ != Container()) {
    if (watched_) watched_->removeEventFilter(this);
    watched_ = Container();
    if (watched_) watched_->installEventFilter(this);
  }
  if (watchedWindow_ != window()) {
    if (watchedWindow_ && watchedWindow_ != watched_) watchedWindow_->removeEventFilter(this);
    watchedWindow_ = window();
    if (watchedWindow_ && watchedWindow_ != this) watchedWindow_->installEventFilter(this);
  }
}

bool Trellan::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watched_ || watched == watchedWindow_) {
    switch (event->type()) {
      case QEvent::Resize:
      case QEvent::Move:
      case QEvent::WindowStateChange:
      case QEvent::Show: SchedulePoll(); break;
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Trellan::SchedulePoll() {
  if (!pollEnabled_ || pollPending_) return;
  pollPending_ = true;
  QTimer::singleShot(0, this, [this] {
    pollPending_ = false;
    automation::CatchAtEventBoundary([this] { Poll(); });
  });
}

void Trellan::Poll() {
  ++pollCount_;
  QWidget* container = Container();
  if (container == nullptr) return;
  if (dragging_) {
    // A release that never reached us ends the drag at the next look.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) EndDrag();
    else DragStep(QCursor::pos());
    return;
  }
  if (state_.style == MoverStyle) return;
  const Box c = BoxOf(container);
  if (c.width != state_.containerWidth || c.height != state_.containerHeight) {
    ArrangeGuidedControls(true);
    state_.StoreContainer(BoxOf(container));
  } else if (BarPosition() != state_.barPosition) {
    ArrangeGuidedControls(false);
  }
}

// ---- geometry ----

Box Trellan::BoxOf(const QWidget* widget) const {
  const QRect r = widget->isWindow() ? QRect(widget->pos(), widget->size()) : widget->geometry();
  return {Tw(r.x()), Tw(r.y()), Tw(r.width()), Tw(r.height())};
}

std::int32_t Trellan::BarPosition() const { return state_.vertical() ? Tw(x()) : Tw(y()); }

void Trellan::LetBarPosition(std::int32_t twips) {
  if (state_.vertical()) move(Px(twips), y());
  else move(x(), Px(twips));
}

Insets Trellan::ContainerInsets(QWidget* container) const {
  Insets border;
  const bool window = container->isWindow();
  if (!window) {
    const QRect inner = container->contentsRect();
    border = {Tw(inner.left()), Tw(inner.top()), Tw(container->width() - inner.right() - 1),
              Tw(container->height() - inner.bottom() - 1)};
  }
  std::vector<AlignedChild> aligned;
  for (QObject* child : container->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w == nullptr || w->isWindow() || AlignOf(w) == 0) continue;
    aligned.push_back({AlignOf(w), Tw(w->width()), Tw(w->height())});
  }
  // A window's children start inside its frame; a child container's at its corner.
  return GetContainerInsets(border, !window, aligned);
}

void Trellan::ArrangeGuidedControls(bool containerChanged) {
  if (window() == nullptr || arrangeLock_ >= 1 || ReadingProperties()) return;
  if (Container() == nullptr) return;
  if (window()->isMinimized()) return;
  ++arrangeLock_;
  struct Unlock {
    int& lock;
    ~Unlock() { --lock; }
  } unlock{arrangeLock_};
  if (shown_ && !CheckTrellanContainer()) return;
  QWidget* container = Container();

  Arrangement a;
  a.container = BoxOf(container);
  a.insets = ContainerInsets(container);
  a.bar = BoxOf(this);
  for (std::size_t i = 0; i < 2; ++i) {
    if (guided_[i]) a.guided[i] = BoxOf(guided_[i]);
  }
  trellan::ArrangeGuidedControls(state_, a, containerChanged);

  for (std::size_t i = 0; i < 2; ++i) {
    if (!guided_[i] || !a.guided[i]) continue;
    guided_[i]->setGeometry(PixelRect(*a.guided[i]));
    const bool mover = i == 1 && state_.style == MoverStyle;
    if (!mover) guided_[i]->setVisible(a.visible[i]);
  }
  setGeometry(PixelRect(a.bar));
  if (a.containerResized) container->resize(Px(a.container.width), Px(a.container.height));
  PaintSplitBar();
  raise();
  PaintJunctions(true);
  Raise(eventid::RefreshDone);
}

// ---- painting ----

BarColors Trellan::ResolvedColors() const {
  BarColors resolved{};
  for (std::size_t i = 0; i < 5; ++i) resolved[i] = gui::ResolveColor(colors_[i]) & 0xFFFFFFu;
  return resolved;
}

void Trellan::PaintSplitBar() {
  if (dashSize_ > 0) {
    QRegion region;
    const std::int32_t dash = core::TwipsToPixels(dashSize_);
    for (const Piece& p :
         DashedBarPieces(width(), height(), state_.vertical(), ResolvedColors(), dash)) {
      region += QRect(p.x, p.y, p.width, p.height);
    }
    // The gaps are not part of the bar: they show what lies behind and let clicks through.
    setMask(region.isEmpty() ? QRegion(0, 0, 1, 1) : region);
  } else {
    clearMask();
  }
  update();
  if (dashSize_ == 0) PaintJunctions(false);
}

void Trellan::PaintJunctions(bool repaintOthers) {
  // The sunken border of a framed container is opened where the bar meets it.
  auto* frame = qobject_cast<QFrame*>(Container());
  const bool vertical = state_.vertical();
  const bool cut = frame != nullptr && !frame->isWindow() && drawJunctions_ != JunctionNone &&
                   dashSize_ <= 0 && frame->frameShadow() == QFrame::Sunken &&
                   frame->frameWidth() >= 2 && (vertical ? width() : height()) >= 4;
  if (cut) {
    if (!borderCut_ || borderCut_->parentWidget() != frame) {
      if (borderCut_) delete borderCut_.data();
      borderCut_ = new BorderCut(this, frame);
    }
    borderCut_->setGeometry(frame->rect());
    borderCut_->pieces = BorderCutPieces({x(), y(), width(), height()}, vertical, frame->width(),
                                         frame->height(), ResolvedColors());
    borderCut_->show();
    borderCut_->raise();
    borderCut_->update();
  } else if (borderCut_) {
    borderCut_->hide();
  }
  if (!repaintOthers || drawJunctions_ == JunctionNone || dashSize_ > 0) return;
  for (Trellan* other : TrellansOn(window())) {
    if (other != this && other->dashSize_ == 0 && other->drawJunctions_ != JunctionNone) other->update();
  }
}

void Trellan::paintEvent(QPaintEvent*) {
  automation::CatchAtEventBoundary([&] {
    QPainter painter(this);
    const BarColors colors = ResolvedColors();
    const bool vertical = state_.vertical();
    const std::vector<Piece> pieces =
        dashSize_ > 0
            ? DashedBarPieces(width(), height(), vertical, colors, core::TwipsToPixels(dashSize_))
            : SolidBarPieces(width(), height(), vertical, colors);
    if (dashSize_ > 0) painter.fillRect(rect(), QColor::fromRgb(DashKeyColor(colors)));
    for (const Piece& p : pieces)
      painter.fillRect(p.x, p.y, p.width, p.height, QColor::fromRgb(p.color));
    if (dashSize_ > 0 || drawJunctions_ == JunctionNone || window() == nullptr) return;
    const QPoint origin = mapTo(window(), QPoint(0, 0));
    const Box me{origin.x(), origin.y(), width(), height()};
    for (Trellan* other : TrellansOn(window())) {
      if (other == this || !other->isVisible()) continue;
      const QPoint o = other->mapTo(window(), QPoint(0, 0));
      const Box theirs{o.x(), o.y(), other->width(), other->height()};
      const std::int32_t thickness = vertical ? other->height() : other->width();
      for (const JunctionSpot& spot : FindJunctions(drawJunctions_, vertical, me, theirs,
                                                    other->parentWidget() == parentWidget())) {
        for (const Piece& p : JunctionPieces(spot, vertical, thickness, other->ResolvedColors())) {
          painter.fillRect(p.x, p.y, p.width, p.height, QColor::fromRgb(p.color));
        }
      }
    }
  });
}

// ---- properties ----

void Trellan::LetAutoPopupMenu(bool on) {
  autoPopupMenu_ = on;
  AnnounceChange("AutoPopupMenu");
}

void Trellan::LetBarColor(int index, std::uint32_t color) {
  static const char* const kNames[5] = {"BackColor", "BeginLine1Color", "BeginLine2Color",
                                        "FinishLine1Color", "FinishLine2Color"};
  auto& slot = colors_.at(static_cast<std::size_t>(index));
  if (slot == color) return;
  slot = color;
  PaintSplitBar();
  AnnounceChange(kNames[index]);
}

void Trellan::LetClipControls(bool on) {
  clipControls_ = on;
  AnnounceChange("ClipControls");
}

void Trellan::LetDashSize(std::int32_t twips) {
  dashSize_ = std::max(twips, 0);
  setAttribute(Qt::WA_OpaquePaintEvent, dashSize_ == 0);
  PaintSplitBar();
  AnnounceChange("DashSize");
}

void Trellan::LetDrawJunctions(std::int32_t mode) {
  if (mode == drawJunctions_) return;
  drawJunctions_ = mode;
  PaintSplitBar();
  AnnounceChange("DrawJunctions");
}

void Trellan::LetEnabled(bool on) {
  QWidget::setEnabled(on);
  AnnounceChange("Enabled");
}

void Trellan::LetMoveable(bool on) {
  if (on == moveable_) return;
  moveable_ = on;
  UpdateBarPointer();
  AnnounceChange("Moveable");
}

void Trellan::LetMousePointer(std::int16_t pointer) {
  if (!kit::ValidMousePointer(pointer)) throw AutomationError(automation::kErrInvalidPropertyValue);
  mousePointer_ = pointer;
  kit::ApplyMousePointer(*this, pointer, mouseIcon_);
  UpdateBarPointer();
  AnnounceChange("MousePointer");
}

void Trellan::SetMouseIcon(const QImage& icon) {
  mouseIcon_ = icon;
  customMouseIcon_ = true;
  kit::ApplyMousePointer(*this, mousePointer_, mouseIcon_);
  UpdateBarPointer();
  AnnounceChange("MouseIcon");
}

void Trellan::UpdateBarPointer() {
  if (!moveable_) {
    mousePointer_ = 99;
    mouseIcon_ = QImage();
    unsetCursor();
    return;
  }
  if ((mousePointer_ == 0 || mousePointer_ == 99) && !customMouseIcon_) {
    mousePointer_ = 99;
    setCursor(state_.vertical() ? Qt::SplitHCursor : Qt::SplitVCursor);
  }
}

void Trellan::LetOrientation(std::int32_t orientation) {
  if (orientation == state_.orientation) return;
  // Every value but Vertical is laid out as a horizontal bar: only a change between
  // the two turns it. The value itself is kept as given.
  const bool turn = state_.vertical() != (orientation == Vertical);
  state_.orientation = orientation;
  ++arrangeLock_;
  const QRect old = geometry();
  if (turn && orientation == Vertical) setGeometry(old.y(), 0, old.height(), old.width());
  else if (turn) setGeometry(0, old.x(), old.height(), old.width());
  UpdateBarPointer();
  --arrangeLock_;
  ArrangeGuidedControls(false);
  AnnounceChange("Orientation");
}

void Trellan::LetResizeMode(std::int32_t mode) {
  if (mode != state_.resizeMode) {
    const QString kind = Container() != nullptr ? TypeNameOf(Container()) : QString();
    if (state_.style == MoverStyle) state_.resizeMode = Ultimate;
    else if (mode == Adjacent && (kind == QLatin1String("Form") || IsDesignerContainer(kind))) {
      // A form's own edges do not move against its contents: nothing to keep.
    } else {
      state_.resizeMode = mode;
    }
  }
  AnnounceChange("ResizeMode");
}

void Trellan::LetStyle(std::int32_t style) {
  if (style == state_.style) return;
  state_.style = style;
  if (style == MoverStyle) LetResizeMode(Ultimate);
  AnnounceChange("Style");
}

QObjectList Trellan::Controls() const {
  // The constituents: the popup menu and its items, separator included, in menu order.
  QObjectList controls{menu_};
  for (QAction* item : menu_->actions()) controls << item;
  return controls;
}

QString Trellan::Version() const { return kit::PlainVersionText(); }

void Trellan::AboutBox() { kit::ShowLibraryAbout(&LibraryIcon); }

void Trellan::Refresh() { ArrangeGuidedControls(true); }

void Trellan::Repaint() { PaintSplitBar(); }

// ---- guided controls ----

QString Trellan::PlainName() const {
  return site() != nullptr && !site()->name().isEmpty() ? site()->name() : objectName();
}

QString Trellan::ControlName() const {
  const int index = site() != nullptr ? site()->index() : ControlIndex(this);
  return index >= 0 ? QStringLiteral("%1(%2)").arg(PlainName()).arg(index) : PlainName();
}

QVariant Trellan::GuidedControl(int slot) const {
  const auto i = static_cast<std::size_t>(slot);
  if (UserMode()) return guided_[i] ? QVariant::fromValue<QObject*>(guided_[i].data()) : QVariant();
  return names_[i].isEmpty() ? kNone : names_[i];
}

// `value` is a copy: callers pass the stored name that this overwrites.
void Trellan::AssignByName(int slot, QString value) {
  QWidget* candidate = nullptr;
  if (!value.isEmpty() && value != kNone) {
    if (ParentForm() == nullptr) return;
    candidate = FindControlByName(ParentForm(), value);
    if (candidate != nullptr) candidate = ValidateGuidedControl(candidate);
  }
  if (slot == 0) {
    guided_[0] = candidate;
    names_[0] = kNone;
    if (candidate != nullptr) {
      names_[0] = value;
      if (value == names_[1]) {
        ++arrangeLock_;
        guided_[1] = nullptr;
        names_[1] = kNone;
        --arrangeLock_;
      }
    }
    ArrangeGuidedControls(false);
  } else {
    guided_[1] = candidate;
    names_[1] = kNone;
    if (candidate != nullptr && value != names_[0]) {
      names_[1] = value;
      ArrangeGuidedControls(false);
    } else if (value == names_[0]) {
      guided_[1] = nullptr;
    }
  }
}

void Trellan::LetGuidedControl(int slot, const QVariant& name) {
  if (Container() != nullptr && IsDesignerContainer(TypeNameOf(Container()))) return;
  AssignByName(slot, automation::ToText(name));
  AnnounceChange(slot == 0 ? "FirstControl" : "SecondControl");
}

void Trellan::SetGuidedControl(int slot, const QVariant& value) {
  const auto i = static_cast<std::size_t>(slot);
  if (!value.isValid() || (value.canConvert<QObject*>() && value.value<QObject*>() == nullptr)) {
    guided_[i] = nullptr;
    names_[i] = kNone;
    ArrangeGuidedControls(false);
    return;
  }
  if (value.typeId() == QMetaType::QObjectStar || value.canConvert<QObject*>()) {
    // an object: handled below
  } else if (value.canConvert<QObjectList>() || value.typeId() == QMetaType::QVariantList) {
    throw AutomationError(automation::kErrInvalidPropertyValue,
                          QStringLiteral("Index in the control array is not specified."));
  } else {
    throw AutomationError(automation::kErrObjectRequired, QStringLiteral("Object required."));
  }
  auto* control = qobject_cast<QWidget*>(value.value<QObject*>());
  if (control == nullptr) {
    throw AutomationError(automation::kErrObjectRequired, QStringLiteral("Object required."));
  }
  if (ControlNameOf(control).isEmpty()) return;
  if (slot == 0) {
    guided_[0] = ValidateGuidedControl(control);
    names_[0] = guided_[0] ? ControlNameOf(guided_[0]) : kNone;
    if (guided_[0] && names_[0] == names_[1]) {
      guided_[1] = nullptr;
      names_[1] = kNone;
    }
  } else if (control == guided_[0]) {
    guided_[1] = nullptr;
    names_[1] = kNone;
  } else {
    guided_[1] = ValidateGuidedControl(control);
    names_[1] = guided_[1] ? ControlNameOf(guided_[1]) : kNone;
  }
  ArrangeGuidedControls(false);
}

QWidget* Trellan::ValidateGuidedControl(QWidget* control) const {
  if (control == nullptr || control->objectName().isEmpty()) return nullptr;
  const QString kind = TypeNameOf(control);
  const QString name = control->objectName();
  const bool fixedCombo = kind == QLatin1String("ComboBox") && control->property("Style").toInt() != 1;
  const Trellan* other = TrellanOf(control);
  if (control->isWindow() && kind != QLatin1String("Form")) {
    throw AutomationError(425, QStringLiteral("'%1' is no Trellan's sibling.").arg(name));
  }
  if (control == this || control == Container()) {
    throw AutomationError(425, QStringLiteral("'%1' is no Trellan's sibling.").arg(name));
  }
  if (control->parentWidget() != Container() || control->isWindow()) return nullptr;
  if (kind == QLatin1String(kClassName) || fixedCombo) {
    throw AutomationError(
        387, QStringLiteral("'%1' is no completely resizable because of it is the %2.").arg(name, kind));
  }
  if (AlignOf(control) != 0) {
    throw AutomationError(
        382,
        QStringLiteral("'%1' is no completely resizable because of it has an alignment.").arg(name));
  }
  if (other != nullptr && other != this) {
    throw AutomationError(
        380,
        QStringLiteral("'%1' is already guided by another Trellan '%2'.").arg(name, other->PlainName()));
  }
  return control;
}

bool Trellan::CheckTrellanContainer() {
  const QString kind = TypeNameOf(Container());
  if (IsDesignerContainer(kind)) {
    throw AutomationError(
        438, QStringLiteral("Trellan cannot be contained in a %1 immediately.\r\n"
                            "Remove TrellanControl from the components and then join it again.")
                 .arg(kind));
  }
  for (int slot = 0; slot < 2; ++slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (guided_[i]) continue;
    const QString before = names_[i];
    AssignByName(slot, names_[i]);
    // Looking a control up again is no change of the design unless its name changed.
    if (names_[i] != before) AnnounceChange(slot == 0 ? "FirstControl" : "SecondControl");
  }
  for (const auto& control : guided_) {
    if (control && AlignOf(control) != 0) {
      throw AutomationError(
          382, QStringLiteral("'%1' is no completely resizable because of it has an alignment.")
                   .arg(control->objectName()));
    }
  }
  return true;
}

Trellan* Trellan::TrellanOf(const QObject* object) const {
  if (object == nullptr) return nullptr;
  if (object == guided_[0] || object == guided_[1]) return const_cast<Trellan*>(this);
  if (window() == nullptr) return nullptr;
  for (Trellan* other : TrellansOn(window())) {
    if (other->guided_[0] == object || other->guided_[1] == object) return other;
  }
  return nullptr;
}

void Trellan::Swap() {
  std::swap(guided_[0], guided_[1]);
  std::swap(names_[0], names_[1]);
  ArrangeGuidedControls(false);
}

void Trellan::TogglePanel(int index) {
  if (index != 0 && index != 1) throw AutomationError(9, QStringLiteral("Subscript out of range"));
  const auto i = static_cast<std::size_t>(index);
  const auto other = static_cast<std::size_t>(1 - index);
  if (state_.panelHidden[i]) {
    LetBarPosition(savedBarPosition_);
  } else {
    if (!state_.panelHidden[other]) savedBarPosition_ = BarPosition();
    const std::int32_t far = Container() == nullptr ? 0
                             : state_.vertical()    ? Tw(Container()->width())
                                                    : Tw(Container()->height());
    LetBarPosition(index == 1 ? far : 0);
  }
  state_.barPosition = BarPosition();
  state_.panelHidden[i] = !state_.panelHidden[i];
  state_.panelHidden[other] = false;
  ArrangeGuidedControls(false);
}

// ---- input ----

void Trellan::RaiseMouse(automation::DispId id, QMouseEvent* event, Qt::MouseButtons buttons) {
  QVariantList args = automation::MouseEventArgs(buttons, event->modifiers(),
                                                 static_cast<float>(Tw(event->position().x())),
                                                 static_cast<float>(Tw(event->position().y())));
  Raise(id, args);
}

void Trellan::mousePressEvent(QMouseEvent* event) {
  automation::CatchAtEventBoundary([&] {
    RaiseMouse(eventid::MouseDown, event, event->button());
    if (!moveable_) return;
    if (event->button() == Qt::RightButton) rightButtonDown_ = true;
    if (event->button() == Qt::LeftButton) {
      if (!state_.panelHidden[0] && !state_.panelHidden[1]) savedBarPosition_ = BarPosition();
      const QPoint cursor = event->globalPosition().toPoint();
      state_.dragStart = Tw(state_.vertical() ? cursor.x() : cursor.y());
      dragging_ = true;
      pollEnabled_ = true;
      WatchContainer();
    }
  });
}

void Trellan::mouseMoveEvent(QMouseEvent* event) {
  automation::CatchAtEventBoundary([&] {
    RaiseMouse(eventid::MouseMove, event, event->buttons());
    if (!dragging_) return;
    // A release that never reached us must not leave the bar stuck to the pointer.
    if (!(event->buttons() & Qt::LeftButton)) {
      EndDrag();
      return;
    }
    DragStep(event->globalPosition().toPoint());
  });
}

void Trellan::mouseReleaseEvent(QMouseEvent* event) {
  const bool afterDoubleClick = std::exchange(doubleClicked_, false);
  automation::CatchAtEventBoundary([&] {
    RaiseMouse(eventid::MouseUp, event, event->button());
    // The host may have moved a bar that does not drag; its controls follow here too.
    if (event->button() == Qt::LeftButton) EndDrag();
    if (event->button() == Qt::RightButton && rightButtonDown_) {
      rightButtonDown_ = false;
      QVariantList args{QVariant::fromValue<std::int16_t>(0)};
      Raise(eventid::RightClick, args);
      if (automation::ToInt16(args.value(0)) == 0 && autoPopupMenu_) PopupMenu();
    }
  });
  // A click is a left press and release on the bar; the release that ends a double
  // click makes none of its own.
  if (event->button() == Qt::LeftButton && !afterDoubleClick && rect().contains(event->position().toPoint()))
    Raise(eventid::Click);
}

void Trellan::mouseDoubleClickEvent(QMouseEvent* event) {
  QWidget::mouseDoubleClickEvent(event);  // the second press
  if (event->button() != Qt::LeftButton) return;
  doubleClicked_ = true;
  Raise(eventid::DblClick);
}

void Trellan::EndDrag() {
  dragging_ = false;
  ArrangeGuidedControls(false);
}

void Trellan::DragStep(QPoint cursorPixels) {
  QWidget* container = Container();
  if (container == nullptr) return;
  DragInput input;
  input.container = BoxOf(container);
  input.insets = ContainerInsets(container);
  input.bar = BoxOf(this);
  input.cursor = Tw(state_.vertical() ? cursorPixels.x() : cursorPixels.y());
  setGeometry(PixelRect(DragSplitBar(state_, input)));
  raise();
}

void Trellan::KeyStep(int pixels) {
  const QPoint centre = CenterCursorOnWindow(this);
  state_.dragStart = Tw(state_.vertical() ? centre.x() : centre.y());
  if (state_.vertical()) move(x() + pixels, y());
  else move(x(), y() + pixels);
  DragStep(centre);
}

void Trellan::keyPressEvent(QKeyEvent* event) {
  automation::CatchAtEventBoundary([&] {
    QVariantList args = automation::KeyEventArgs(*event);
    Raise(eventid::KeyDown, args);
    const std::int16_t key = automation::ToInt16(args.value(0));
    const bool alt = (automation::ToInt16(args.value(1)) & automation::kAltKey) != 0;
    const bool vertical = state_.vertical();
    if (alt && vertical && key == automation::keycode::kLeft) KeyStep(-1);
    else if (alt && vertical && key == automation::keycode::kRight) KeyStep(1);
    // Every orientation but Vertical is the horizontal bar it is laid out as.
    else if (alt && !vertical && key == automation::keycode::kUp) KeyStep(-1);
    else if (alt && !vertical && key == automation::keycode::kDown) KeyStep(1);
    else if (!alt && key != 18) ArrangeGuidedControls(false);
    const std::int16_t ascii = automation::KeyAsciiOf(*event);
    if (ascii != 0) Raise(eventid::KeyPress, automation::KeyPressArgs(ascii));
  });
}

void Trellan::keyReleaseEvent(QKeyEvent* event) {
  automation::CatchAtEventBoundary([&] {
    QVariantList args = automation::KeyEventArgs(*event);
    Raise(eventid::KeyUp, args);
    const std::int16_t key = automation::ToInt16(args.value(0));
    if (key == 18) {
      ArrangeGuidedControls(false);
    } else if (key == automation::keycode::kF1) {
      const bool hostHelp = !qApp->property("HelpFile").toString().isEmpty();
      const int context = site() != nullptr ? site()->helpContextId() : 0;
      if (!hostHelp && context == 0) {
        QString error;
        if (!widgets::HelpViewer::ShowContextPopup(helpFileName_, kHelpContext, QCursor::pos(),
                                                   &error)) {
          automation::ReportError(AutomationError(53, error));
        }
      }
    }
  });
}

void Trellan::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  automation::CatchAtEventBoundary([&] {
    if (dragging_) dragging_ = false;
    ArrangeGuidedControls(false);
  });
}

void Trellan::PopupMenu(const QVariant& x, const QVariant& y) {
  const bool vertical = state_.vertical();
  menuOrientation_->setText(vertical ? QStringLiteral("&Horizontal Splitting")
                                     : QStringLiteral("&Vertical Splitting"));
  const QString first = vertical ? QStringLiteral("&Left Panel") : QStringLiteral("&Top Panel");
  const QString second = vertical ? QStringLiteral("&Right Panel") : QStringLiteral("&Bottom Panel");
  menuFirst_->setText((state_.panelHidden[0] ? QStringLiteral("Show ") : QStringLiteral("Hide ")) +
                      first);
  menuSecond_->setText((state_.panelHidden[1] ? QStringLiteral("Show ") : QStringLiteral("Hide ")) +
                       second);
  menuFirst_->setEnabled(!guided_[0].isNull());
  menuSecond_->setEnabled(!guided_[1].isNull());
  menuSwap_->setEnabled(!guided_[0].isNull() || !guided_[1].isNull());
  QPoint at = QCursor::pos();
  if (x.isValid() && y.isValid()) {
    at = mapToGlobal(QPoint(core::TwipsToPixels(automation::ToInt32(x)),
                            core::TwipsToPixels(automation::ToInt32(y))));
  }
  menu_->popup(at);
}

// ---- layout file ----

QString Trellan::SectionFor(const QString& section) const {
  if (!section.isEmpty()) return section;
  const QString form = ParentForm() != nullptr ? ParentForm()->objectName() : QString();
  return form + QLatin1Char('_') + ControlName();
}

void Trellan::SaveToFile(const QString& file, const QString& sectionName) {
  if (file.isEmpty()) return;
  const std::string path = Utf8(file);
  const std::string section = Utf8(SectionFor(sectionName));
  const bool hidden = state_.panelHidden[0] || state_.panelHidden[1];
  const std::int32_t twips = hidden ? savedBarPosition_ : BarPosition();
  auto write = [&](const char* key, const QString& value) {
    std::string error;
    // An empty text is stored as one blank, as the profile writer always did.
    if (!core::WriteProfileString(path, section, key,
                                  Utf8(value.isEmpty() ? QStringLiteral(" ") : value), &error)) {
      throw AutomationError(75, QString::fromStdString(error));
    }
  };
  write("Orientation", QString::number(state_.orientation));
  write("Position", QString::number(twips / kTwipsPerPixel));
  write("Hidden1", QString::number(state_.panelHidden[0] ? 1 : 0));
  write("Hidden2", QString::number(state_.panelHidden[1] ? 1 : 0));
  write("Control1", names_[0]);
  write("Control2", names_[1]);
}

void Trellan::RestoreFromFile(const QString& file, const QString& sectionName) {
  if (file.isEmpty()) return;
  const std::string path = Utf8(file);
  const std::string section = Utf8(SectionFor(sectionName));
  auto text = [&](const char* key, const QString& fallback) {
    const auto value = core::ReadProfileString(path, section, key);
    return value ? QString::fromStdString(*value).trimmed() : fallback;
  };
  // Every number is read before anything changes: one too large for its field refuses
  // the whole section with an overflow, and the bar stays as it was.
  auto number = [&](const char* key) -> std::optional<double> {
    const auto value = core::ReadProfileString(path, section, key);
    if (!value) return std::nullopt;
    const std::optional<double> n = LeadingNumber(QString::fromStdString(*value));
    if (!n) throw AutomationError(automation::kErrOverflow);
    return n;
  };
  const QString control1 = text("Control1", names_[0]);
  const QString control2 = text("Control2", names_[1]);
  const std::optional<double> hidden1 = number("Hidden1");
  const std::optional<double> hidden2 = number("Hidden2");
  const std::optional<double> orientation = number("Orientation");
  const std::optional<double> pixels = number("Position");
  if ((orientation && !core::FitsInt32(*orientation)) ||
      (pixels && !core::FitsInt32(*pixels * kTwipsPerPixel)))
    throw AutomationError(automation::kErrOverflow);

  if (hidden1) state_.panelHidden[0] = *hidden1 > 0;
  if (hidden2) state_.panelHidden[1] = *hidden2 > 0;
  if (orientation) LetOrientation(core::RoundToInt32(*orientation));
  const std::int32_t current = BarPosition();
  std::int32_t position = pixels ? core::RoundToInt32(*pixels * kTwipsPerPixel) : current;
  if (position == 0) position = current;
  const bool anyHidden = state_.panelHidden[0] || state_.panelHidden[1];
  if (!anyHidden && position < 0) {
    // A place before the near edge hides the first panel, the regular way: its flag
    // is set and the bar returns to where it stood.
    TogglePanel(0);
  } else if (!anyHidden && current != position) {
    LetBarPosition(position);
  }
  for (int index = 0; index < 2; ++index) {
    const auto i = static_cast<std::size_t>(index);
    if (!state_.panelHidden[i] || !anyHidden) continue;
    state_.panelHidden[i] = false;
    TogglePanel(index);
    // The bar never returns to a place before the near edge.
    if (position >= 0) savedBarPosition_ = position;
    break;
  }
  if (control1 == names_[1] || control2 == names_[0]) Swap();
}

}  // namespace morvane::trellan
