#include "controls/scopel/scopel.h"

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "controls/kit/control_kit.h"
#include "controls/kit/library_about.h"
#include "controls/scopel/scopel_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::scopel {

using automation::AutomationError;
using automation::CatchAtEventBoundary;
using automation::FontRef;

namespace {

int Px(std::int64_t twips) {
  return static_cast<int>(
      std::clamp<std::int64_t>(twips / kTwipsPerPixelX, 0, std::numeric_limits<int>::max()));
}

// Image twips to surface pixels.
double ToPixels(double twips) { return twips / static_cast<double>(kTwipsPerPixelX); }

QVariant ColorValue(gui::OleColor c) { return automation::FromColor(c); }

// The library's icon 1: a magnified cell block with its grid.
QIcon LibraryIcon(std::int32_t id) {
  if (id != 1) return {};
  QPixmap pixmap(32, 32);
  pixmap.fill(QColor(0xc0, 0xc0, 0xc0));
  QPainter p(&pixmap);
  const QColor cells[4] = {QColor(0xdc, 0x1e, 0x1e), QColor(0x1e, 0x3c, 0xc8), QColor(0xff, 0xff, 0xff),
                           QColor(0x00, 0xa0, 0x00)};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) p.fillRect(x * 8, y * 8, 7, 7, cells[(x + y) % 4]);
  }
  return QIcon(pixmap);
}

// Keeps the busy pointer up while a redraw runs, without touching the host's pointer.
class BusyPointer {
 public:
  BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace

// pbZoom: shows the magnified view and passes its mouse, key and drop events on.
class ScopelViewport : public QWidget {
 public:
  explicit ScopelViewport(Scopel* owner) : QWidget(owner), owner_(owner) {
    setObjectName(QStringLiteral("pbZoom"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QImage& view = owner_->view_;
    p.drawImage(0, 0, view);
    if (view.width() < width() || view.height() < height()) {
      const QRgb bg = owner_->Resolve(owner_->backColorBkg_);
      p.fillRect(view.width(), 0, width() - view.width(), height(), QColor::fromRgb(bg));
      p.fillRect(0, view.height(), view.width(), height() - view.height(), QColor::fromRgb(bg));
    }
  }
  void mousePressEvent(QMouseEvent* e) override {
    owner_->suppressClick_ = false;
    owner_->RaiseMouse(eventid::MouseDown, e->button(), e->modifiers(), e->position());
  }
  void mouseDoubleClickEvent(QMouseEvent*) override {
    owner_->suppressClick_ = true;
    owner_->RaiseClick(eventid::DblClick);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    owner_->RaiseMouse(eventid::MouseUp, e->button(), e->modifiers(), e->position());
    if (e->button() == Qt::LeftButton && !owner_->suppressClick_ &&
        rect().contains(e->position().toPoint())) {
      owner_->RaiseClick(eventid::Click);
    }
    owner_->suppressClick_ = false;
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    owner_->RaiseMouse(eventid::MouseMove, e->buttons(), e->modifiers(), e->position());
  }
  void keyPressEvent(QKeyEvent* e) override { owner_->RaiseKeyDown(e); }
  void keyReleaseEvent(QKeyEvent* e) override { owner_->RaiseKeyUp(e); }
  void dragEnterEvent(QDragEnterEvent* e) override {
    owner_->RaiseDragOver(e, e->position(), automation::kDragEnter);
  }
  void dragMoveEvent(QDragMoveEvent* e) override {
    owner_->RaiseDragOver(e, e->position(), automation::kDragOver);
  }
  void dragLeaveEvent(QDragLeaveEvent*) override { owner_->RaiseDragLeave(); }
  void dropEvent(QDropEvent* e) override { owner_->RaiseDrop(e, e->position()); }

 private:
  Scopel* owner_;
};

// pbZoomX / pbZoomY: a strip holding a scroll bar; its clicks and drops reach the host,
// drops in the control's coordinates.
class ScopelStrip : public QWidget {
 public:
  ScopelStrip(Scopel* owner, const QString& name) : QWidget(owner), owner_(owner) {
    setObjectName(name);
    setAutoFillBackground(true);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
      owner_->RaiseClick(eventid::Click);
    }
  }
  void mouseDoubleClickEvent(QMouseEvent*) override { owner_->RaiseClick(eventid::DblClick); }
  void dragEnterEvent(QDragEnterEvent* e) override {
    owner_->RaiseDragOver(e, Shifted(e->position()), automation::kDragEnter);
  }
  void dragMoveEvent(QDragMoveEvent* e) override {
    owner_->RaiseDragOver(e, Shifted(e->position()), automation::kDragOver);
  }
  void dragLeaveEvent(QDragLeaveEvent*) override { owner_->RaiseDragLeave(); }
  void dropEvent(QDropEvent* e) override { owner_->RaiseDrop(e, Shifted(e->position())); }

 private:
  // The strip's Left and Top added: a position in the control's frame.
  QPointF Shifted(QPointF p) const { return p + QPointF(pos() - owner_->contentsRect().topLeft()); }
  Scopel* owner_;
};

// ---- construction (UserControl_Initialize) -------------------------------------------

Scopel::Scopel(QWidget* parent)
    : QFrame(parent),
      model_({[this] { PaintZoomView(); },
              [this] {
                // Only a bar the user worked hands the focus back to the viewport.
                if (!hostScroll_) scrollTimer_->start();
              }}),
      pointer_([this](const char* property) { AnnounceChange(property); }) {
  setObjectName(QStringLiteral("Scopel"));
  setMouseTracking(true);
  setFrameStyle(QFrame::NoFrame);

  image_.SetAutoSize(true);
  image_.SetSize(0, 0);
  font_ = std::make_shared<automation::FontObject>(automation::FontObject::FromQFont(image_.Font()));

  zoom_ = new ScopelViewport(this);
  zoomX_ = new ScopelStrip(this, QStringLiteral("pbZoomX"));
  zoomY_ = new ScopelStrip(this, QStringLiteral("pbZoomY"));
  barX_ = new QScrollBar(Qt::Horizontal, zoomX_);
  barY_ = new QScrollBar(Qt::Vertical, zoomY_);
  barX_->setObjectName(QStringLiteral("sbZoomX"));
  barY_->setObjectName(QStringLiteral("sbZoomY"));
  for (QScrollBar* bar : {barX_, barY_}) {
    bar->setRange(0, 32767);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->installEventFilter(this);  // no wheel scrolling
  }
  scrollTimer_ = new QTimer(this);
  scrollTimer_->setObjectName(QStringLiteral("tcScroll"));
  scrollTimer_->setInterval(10);

  connect(barX_, &QScrollBar::valueChanged, this, [this](int v) {
    if (syncing_) return;
    CatchAtEventBoundary([&] {
      model_.SetBarValue(Axis::X, v);
      SyncWidgets();
    });
  });
  connect(barY_, &QScrollBar::valueChanged, this, [this](int v) {
    if (syncing_) return;
    CatchAtEventBoundary([&] {
      model_.SetBarValue(Axis::Y, v);
      SyncWidgets();
    });
  });
  // tcScroll: once the left button is up, the focus goes back to the viewport.
  connect(scrollTimer_, &QTimer::timeout, this, [this] {
    if (QGuiApplication::mouseButtons() & Qt::LeftButton) return;
    scrollTimer_->stop();
    if (zoom_->isVisible() && zoom_->isEnabled()) zoom_->setFocus(Qt::OtherFocusReason);
  });

  // m_DrawImmadiately is true from the start; ResetZoomView; the strips take the
  // system's scroll bar sizes.
  drawImmadiately_ = true;
  model_.ResetZoomView();
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, barX_);
  model_.SetStripSizes(kTwipsPerPixelX * extent, kTwipsPerPixelY * extent);
  zoom_->hide();
  UpdateInnerSize();
  SyncWidgets();
}

Scopel::~Scopel() { automation::HandleTable::Release(&image_); }

QWidget* Scopel::Viewport() const { return zoom_; }

// ---- helpers ---------------------------------------------------------------------------

QRgb Scopel::Resolve(gui::OleColor color) const { return gui::ResolveColor(color); }

void Scopel::RedrawIfImmediate() {
  if (drawImmadiately_) {
    model_.RedrawZoomView();
    SyncWidgets();
  }
}

void Scopel::UpdateInnerSize() {
  const QRect inner = contentsRect();
  model_.SetInnerSize(kTwipsPerPixelX * inner.width(), kTwipsPerPixelY * inner.height());
}

void Scopel::Layout() {
  UpdateInnerSize();
  model_.Resize();
  SyncWidgets();
}

void Scopel::SyncWidgets() {
  const QPoint o = contentsRect().topLeft();
  const int innerW = Px(model_.innerWidth());
  const int innerH = Px(model_.innerHeight());
  const int stripH = Px(model_.stripXHeight());
  const int stripW = Px(model_.stripYWidth());
  const bool showX = model_.stripVisible(Axis::X);
  const bool showY = model_.stripVisible(Axis::Y);
  zoom_->setGeometry(o.x(), o.y(), Px(model_.viewportWidth()), Px(model_.viewportHeight()));
  zoomX_->setGeometry(o.x(), o.y() + innerH - stripH, innerW, stripH);
  zoomY_->setGeometry(o.x() + innerW - stripW, o.y(), stripW, innerH);
  barX_->setGeometry(0, 0, std::max(0, innerW - (showY ? stripW : 0)), stripH);
  barY_->setGeometry(0, 0, stripW, std::max(0, innerH - (showX ? stripH : 0)));
  zoomX_->setVisible(showX);
  zoomY_->setVisible(showY);
  syncing_ = true;
  for (auto [bar, axis] : {std::pair{barX_, Axis::X}, std::pair{barY_, Axis::Y}}) {
    const BarModel& m = model_.bar(axis);
    bar->setRange(m.min, std::max(m.min, m.max));
    bar->setPageStep(std::max(1, m.largeChange));
    bar->setValue(m.value);
  }
  syncing_ = false;
  zoomX_->raise();
  zoomY_->raise();
}

// RedrawZoomView's painting: commit the drawing into the picture, magnify the visible
// part into the viewport's picture and lay the grid over it. The cost is bounded by
// the viewport: only visible rows, columns and grid lines are touched.
void Scopel::MarkDrawn(double left, double top, double right, double bottom, double margin) {
  const auto lo = [margin](double v) {
    return static_cast<int>(std::clamp(std::floor(v - margin), -1.0e9, 1.0e9));
  };
  const auto hi = [margin](double v) {
    return static_cast<int>(std::clamp(std::ceil(v + margin), -1.0e9, 1.0e9));
  };
  const QRect area = QRect(QPoint(lo(std::min(left, right)), lo(std::min(top, bottom))),
                           QPoint(hi(std::max(left, right)), hi(std::max(top, bottom))))
                         .intersected(QRect(0, 0, image_.Width(), image_.Height()));
  dirty_ = dirty_.united(area);
}

void Scopel::CommitDrawing() {
  const QImage& image = image_.Image();
  if (committed_.isNull() || committed_.size() != image.size() || dirtyAll_) {
    committed_ = image.copy();
  } else if (!dirty_.isEmpty()) {
    const std::size_t bytes = static_cast<std::size_t>(dirty_.width()) * sizeof(QRgb);
    for (int y = dirty_.top(); y <= dirty_.bottom(); ++y) {
      std::memcpy(reinterpret_cast<QRgb*>(committed_.scanLine(y)) + dirty_.left(),
                  reinterpret_cast<const QRgb*>(image.constScanLine(y)) + dirty_.left(), bytes);
    }
  }
  dirty_ = QRect();
  dirtyAll_ = false;
}

void Scopel::PaintZoomView() {
  const BusyPointer busy;
  CommitDrawing();
  const QImage& src = committed_;
  const int w = Px(model_.viewportWidth());
  const int h = Px(model_.viewportHeight());
  const std::int64_t z = model_.Zoom();
  QImage view(w, h, QImage::Format_RGB32);
  if (w > 0 && h > 0) {
    const QRgb bg = Resolve(backColorBkg_);
    const bool grid = z >= 3 && gridLines_;
    const QRgb gridRgb = Resolve(gridColor_);
    const std::int64_t left = model_.SourceLeftPixel();
    const std::int64_t top = model_.SourceTopPixel();
    std::vector<int> column(static_cast<std::size_t>(w));
    for (int i = 0; i < w; ++i) {
      const std::int64_t sx = left + i / z;
      column[static_cast<std::size_t>(i)] = sx < src.width() ? static_cast<int>(sx) : -1;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(w) * sizeof(QRgb);
    for (int j = 0; j < h; ++j) {
      auto* out = reinterpret_cast<QRgb*>(view.scanLine(j));
      const std::int64_t inCell = j % z;
      if (grid && inCell == z - 1) {
        std::fill(out, out + w, gridRgb);
        continue;
      }
      if (inCell != 0) {
        std::memcpy(out, view.constScanLine(j - 1), rowBytes);
        continue;
      }
      const std::int64_t sy = top + j / z;
      if (sy >= src.height()) {
        std::fill(out, out + w, bg);
      } else {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(static_cast<int>(sy)));
        for (int i = 0; i < w; ++i) {
          const int sx = column[static_cast<std::size_t>(i)];
          out[i] = sx >= 0 ? in[sx] : bg;
        }
      }
      if (grid) {
        for (std::int64_t x = z - 1; x < w; x += z) out[x] = gridRgb;
      }
    }
  }
  viewPicture_ = view;
  view_ = viewPicture_;
  zoom_->update();
}

void Scopel::ApplyFrame() {
  switch (borderStyle_) {
    case None: setFrameStyle(QFrame::NoFrame); break;
    case Flat:
      setFrameStyle(QFrame::Box | QFrame::Plain);
      setLineWidth(1);
      break;
    case ThreeD:
      setFrameStyle(QFrame::Panel | QFrame::Sunken);
      setLineWidth(2);
      break;
    default: return;
  }
  // The inner size changed with the border: lay out again.
  Layout();
}

// ---- Qt events -----------------------------------------------------------------------

void Scopel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  CatchAtEventBoundary([&] { Layout(); });
}

void Scopel::paintEvent(QPaintEvent* event) {
  {
    QPainter p(this);
    p.fillRect(contentsRect(), QColor::fromRgb(Resolve(backColorBkg_)));
  }
  QFrame::paintEvent(event);
}

void Scopel::mouseMoveEvent(QMouseEvent* event) {
  // The control's own area: its frame coincides with the viewport's.
  RaiseMouse(eventid::MouseMove, event->buttons(), event->modifiers(),
             event->position() - QPointF(contentsRect().topLeft()));
}

void Scopel::dragEnterEvent(QDragEnterEvent* e) {
  RaiseDragOver(e, e->position() - QPointF(contentsRect().topLeft()), automation::kDragEnter);
}
void Scopel::dragMoveEvent(QDragMoveEvent* e) {
  RaiseDragOver(e, e->position() - QPointF(contentsRect().topLeft()), automation::kDragOver);
}
void Scopel::dragLeaveEvent(QDragLeaveEvent*) { RaiseDragLeave(); }
void Scopel::dropEvent(QDropEvent* e) {
  RaiseDrop(e, e->position() - QPointF(contentsRect().topLeft()));
}

bool Scopel::eventFilter(QObject* watched, QEvent* event) {
  // The view scrolls by its bars only, never by the wheel.
  if ((watched == barX_ || watched == barY_) && event->type() == QEvent::Wheel) return true;
  return QFrame::eventFilter(watched, event);
}

void Scopel::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::StyleChange) {
    CatchAtEventBoundary([&] { Layout(); });
  }
}

void Scopel::RaiseMouse(automation::DispId id, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                        QPointF viewportPos) {
  CatchAtEventBoundary([&] {
    const auto p =
        model_.ViewToImage(viewportPos.x() * kTwipsPerPixelX, viewportPos.y() * kTwipsPerPixelY);
    // Converted copies: what the host writes into them stays with the host.
    QVariantList args =
        automation::MouseEventArgs(buttons, modifiers, static_cast<float>(p.x), static_cast<float>(p.y));
    events().raise(id, args);
  });
}

void Scopel::RaiseClick(automation::DispId id) {
  CatchAtEventBoundary([&] {
    QVariantList args;
    events().raise(id, args);
  });
}

void Scopel::RaiseKeyDown(QKeyEvent* event) {
  CatchAtEventBoundary([&] {
    QVariantList args = automation::KeyEventArgs(*event);
    events().raise(eventid::KeyDown, args);
    const std::int16_t ascii = automation::KeyAsciiOf(*event);
    if (ascii != 0) {
      QVariantList press = automation::KeyPressArgs(ascii);
      events().raise(eventid::KeyPress, press);
    }
  });
}

void Scopel::RaiseKeyUp(QKeyEvent* event) {
  CatchAtEventBoundary([&] {
    QVariantList args = automation::KeyEventArgs(*event);
    events().raise(eventid::KeyUp, args);
  });
}

void Scopel::RaiseDropEvent(automation::DispId id, QDropEvent* event,
                            const automation::DataObject& dragged, QPointF pos,
                            std::optional<std::int16_t> state) {
  bool accepted = false;
  CatchAtEventBoundary([&] {
    const std::int32_t allowed = automation::DropEffectsOf(event->possibleActions());
    QVariantList args = automation::DragEventArgs(
        dragged, allowed, automation::ButtonMask(event->buttons()),
        automation::ShiftMask(event->modifiers()), static_cast<float>(pos.x() * kTwipsPerPixelX),
        static_cast<float>(pos.y() * kTwipsPerPixelY), state);
    events().raise(id, args);
    // The host's Effect goes back to the drag source.
    const Qt::DropAction action = automation::DropActionOf(automation::ToInt32(args[1]) & allowed);
    if (action != Qt::IgnoreAction) {
      event->setDropAction(action);
      accepted = true;
    }
  });
  if (accepted) {
    event->accept();
  } else {
    event->ignore();
  }
}

void Scopel::RaiseDragOver(QDragMoveEvent* event, QPointF pos, std::int16_t state) {
  if (oleDropMode_ == 0) {
    event->ignore();
    return;
  }
  if (state == automation::kDragEnter)
    dragData_ = automation::DataObject::FromMimeData(event->mimeData());
  dragPos_ = pos;
  RaiseDropEvent(eventid::OLEDragOver, event, dragData_, pos, state);
}

void Scopel::RaiseDragLeave() {
  if (oleDropMode_ == 0) return;
  CatchAtEventBoundary([&] {
    QVariantList args = automation::DragEventArgs(
        dragData_, automation::kDropEffectNone, 0, 0, static_cast<float>(dragPos_.x() * kTwipsPerPixelX),
        static_cast<float>(dragPos_.y() * kTwipsPerPixelY), automation::kDragLeave);
    events().raise(eventid::OLEDragOver, args);
  });
}

void Scopel::RaiseDrop(QDropEvent* event, QPointF pos) {
  if (oleDropMode_ == 0) {
    event->ignore();
    return;
  }
  RaiseDropEvent(eventid::OLEDragDrop, event, automation::DataObject::FromMimeData(event->mimeData()),
                 pos, {});
}

// ---- forwarding properties -------------------------------------------------------------

bool Scopel::AutoRedraw() const { return image_.AutoRedraw(); }
void Scopel::LetAutoRedraw(bool on) {
  image_.SetAutoRedraw(on);
  AnnounceChange("AutoRedraw");
}

gui::OleColor Scopel::BackColor() const { return image_.BackColor(); }
void Scopel::LetBackColor(gui::OleColor color) {
  // A new background clears what was drawn since the last redraw, as a picture box does.
  if (color != image_.BackColor() && image_.HasPicture()) {
    image_.SetPicture(committed_);
    dirty_ = QRect();
  }
  image_.SetBackColor(color);
  AnnounceChange("BackColor");
}

void Scopel::LetBackColorBkg(gui::OleColor color) {
  backColorBkg_ = color;
  update();
  AnnounceChange("BackColorBkg");
}

void Scopel::LetBorderStyle(std::int32_t style) {
  // The border never changes the workspace colour.
  const gui::OleColor background = backColorBkg_;
  borderStyle_ = style;
  ApplyFrame();
  backColorBkg_ = background;
  AnnounceChange("BorderStyle");
}

std::int16_t Scopel::DrawMode() const { return static_cast<std::int16_t>(image_.DrawMode()); }
void Scopel::LetDrawMode(std::int16_t mode) {
  if (mode < 1 || mode > 16) throw AutomationError(automation::kErrInvalidPropertyValue);
  image_.SetDrawMode(static_cast<gui::DrawMode>(mode));
  AnnounceChange("DrawMode");
}

std::int16_t Scopel::DrawStyle() const { return static_cast<std::int16_t>(image_.DrawStyle()); }
void Scopel::LetDrawStyle(std::int16_t style) {
  if (style < 0 || style > 6) throw AutomationError(automation::kErrInvalidPropertyValue);
  image_.SetDrawStyle(static_cast<gui::DrawStyle>(style));
  AnnounceChange("DrawStyle");
}

std::int16_t Scopel::DrawWidth() const { return static_cast<std::int16_t>(image_.DrawWidth()); }
void Scopel::LetDrawWidth(std::int16_t width) {
  if (width < 1) throw AutomationError(automation::kErrInvalidPropertyValue);
  image_.SetDrawWidth(width);
  AnnounceChange("DrawWidth");
}

void Scopel::LetEnabled(bool on) {
  setEnabled(on);
  AnnounceChange("Enabled");
}

gui::OleColor Scopel::FillColor() const { return image_.FillColor(); }
void Scopel::LetFillColor(gui::OleColor color) {
  image_.SetFillColor(color);
  AnnounceChange("FillColor");
}

std::int16_t Scopel::FillStyle() const { return static_cast<std::int16_t>(image_.FillStyle()); }
void Scopel::LetFillStyle(std::int16_t style) {
  if (style < 0 || style > 7) throw AutomationError(automation::kErrInvalidPropertyValue);
  image_.SetFillStyle(static_cast<gui::FillStyle>(style));
  AnnounceChange("FillStyle");
}

void Scopel::LetFont(const FontRef& font) {
  if (!font) throw AutomationError(automation::kErrObjectRequired);
  font_ = automation::CloneFont(font);
  AnnounceChange("Font");
}

void Scopel::SetFont(const FontRef& font) {
  if (!font) throw AutomationError(automation::kErrObjectRequired);
  font_ = font;
  AnnounceChange("Font");
}

gui::OleColor Scopel::ForeColor() const { return image_.ForeColor(); }
void Scopel::LetForeColor(gui::OleColor color) {
  image_.SetForeColor(color);
  AnnounceChange("ForeColor");
}

void Scopel::LetGridColor(gui::OleColor color) {
  if (color == gridColor_) return;
  gridColor_ = color;
  model_.RedrawZoomView();
  SyncWidgets();
  AnnounceChange("GridColor");
}

void Scopel::LetGridLines(bool on) {
  if (on == gridLines_) return;
  gridLines_ = on;
  model_.RedrawZoomView();
  SyncWidgets();
  AnnounceChange("GridLines");
}

// The pointer shows on the viewport.
void Scopel::SetMouseIcon(const QImage& icon) { pointer_.SetIcon(*zoom_, icon); }
void Scopel::LetMousePointer(std::int16_t pointer) { pointer_.LetPointer(*zoom_, pointer); }

void Scopel::LetOLEDropMode(std::int16_t mode) {
  if (mode < 0 || mode > 2) throw AutomationError(automation::kErrInvalidPropertyValue);
  oleDropMode_ = mode;
  const bool accept = mode != 0;
  setAcceptDrops(accept);
  zoom_->setAcceptDrops(accept);
  zoomX_->setAcceptDrops(accept);
  zoomY_->setAcceptDrops(accept);
  AnnounceChange("OLEDropMode");
}

// ---- picture, zoom, scroll, cursor ------------------------------------------------------

QVariant Scopel::Picture() const {
  if (!image_.HasPicture()) return {};
  return QVariant::fromValue(committed_);
}

void Scopel::SetPicture(const QVariant& picture) {
  HostScroll([this] { model_.ScrollHome(); });
  SyncWidgets();
  if (picture.isValid() && !automation::IsPicture(picture))
    throw AutomationError(automation::kErrTypeMismatch);
  const QImage p = automation::PictureOf(picture);
  const bool has = !p.isNull();
  if (has) {
    image_.SetPicture(p.format() == QImage::Format_RGB32 ? p : p.convertToFormat(QImage::Format_RGB32));
    // Shared with the image until the first commit, which gives it a buffer of its own;
    // later commits copy only what was drawn.
    committed_ = image_.Image();
    dirty_ = QRect();
    dirtyAll_ = false;
  } else {
    committed_ = QImage();
    image_.ClearPicture();
    image_.SetSize(0, 0);
    viewPicture_ = QImage();
    view_ = QImage();
  }
  UpdateInnerSize();
  model_.PictureChanged(has, kTwipsPerPixelX * image_.Width(), kTwipsPerPixelY * image_.Height());
  zoom_->setVisible(has);
  SyncWidgets();
  AnnounceChange("Picture");
}

void Scopel::LetZooming(std::int16_t zoom) {
  UpdateInnerSize();
  if (!model_.SetZooming(zoom)) return;
  SyncWidgets();
  AnnounceChange("Zooming");
}

void Scopel::HostScroll(const std::function<void()>& move) {
  const QScopedValueRollback<bool> raised(hostScroll_, true);
  move();
}

void Scopel::LetScrollX(std::int32_t twips) {
  HostScroll([&] { model_.SetScroll(Axis::X, twips); });
  SyncWidgets();
  AnnounceChange("ScrollX");
}

void Scopel::LetScrollY(std::int32_t twips) {
  HostScroll([&] { model_.SetScroll(Axis::Y, twips); });
  SyncWidgets();
  AnnounceChange("ScrollY");
}

QObjectList Scopel::Controls() const { return {zoom_, zoomX_, barX_, zoomY_, barY_, scrollTimer_}; }

std::int32_t Scopel::CurrentX() const { return core::RoundToInt32(image_.CurrentX() * kTwipsPerPixelX); }
void Scopel::LetCurrentX(float x) { image_.SetCurrentX(ToPixels(x)); }
std::int32_t Scopel::CurrentY() const { return core::RoundToInt32(image_.CurrentY() * kTwipsPerPixelY); }
void Scopel::LetCurrentY(float y) { image_.SetCurrentY(ToPixels(y)); }

automation::Handle Scopel::hDC() const {
  return automation::HandleTable::HandleOf(static_cast<const void*>(&image_));
}
automation::Handle Scopel::hWnd() {
  return automation::HandleTable::HandleOf(static_cast<QObject*>(this));
}

QImage Scopel::Image() const { return image_.Image(); }
std::int32_t Scopel::ImageHeight() const {
  return static_cast<std::int32_t>(kTwipsPerPixelY * image_.Height());
}
std::int32_t Scopel::ImageWidth() const {
  return static_cast<std::int32_t>(kTwipsPerPixelX * image_.Width());
}

QString Scopel::Version() const { return kit::VersionText(); }

void Scopel::AboutBox() { kit::ShowLibraryAbout(&LibraryIcon); }

void Scopel::EnsureVisible(float x, float y) {
  UpdateInnerSize();
  if (model_.EnsureVisible(x, y)) SyncWidgets();
}

void Scopel::LocateCursor(float x, float y) {
  UpdateInnerSize();
  const auto p = model_.LocateCursor(x, y);
  SyncWidgets();
  // From the viewport's origin, held within the screen coordinate range.
  const auto clamp = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, std::numeric_limits<int>::max() / 2));
  };
  QCursor::setPos(zoom_->mapToGlobal(QPoint(clamp(p.x), clamp(p.y))));
}

// ---- drawing -----------------------------------------------------------------------------

void Scopel::DrawLine(const QVariantList& a) {
  using automation::IsMissing;
  if (IsMissing(a, 4) || IsMissing(a, 5)) return;
  const bool step1 = !IsMissing(a, 0) && automation::ToBool(a[0]);
  const bool hasStart = !IsMissing(a, 1);
  const bool step2 = !IsMissing(a, 3) && automation::ToBool(a[3]);
  const bool box = !IsMissing(a, 7) && automation::ToBool(a[7]);
  const bool fill = !IsMissing(a, 8) && automation::ToBool(a[8]);
  const gui::OleColor color = IsMissing(a, 6) ? image_.ForeColor() : automation::ToColor(a[6]);
  const QPointF end(ToPixels(automation::ToDouble(a[4])), ToPixels(automation::ToDouble(a[5])));
  std::optional<QPointF> start;
  if (hasStart)
    start = QPointF(ToPixels(automation::ToDouble(a[1])), ToPixels(automation::ToDouble(a[2])));
  // A relative start without a start point draws nothing.
  if (!(step1 && !hasStart)) {
    const QPointF from(image_.CurrentX(), image_.CurrentY());
    image_.Line(step1, start, step2, end, color, box || fill, box && fill);
    const QPointF first = start ? (step1 ? from + *start : *start) : from;
    const QPointF b(image_.CurrentX(), image_.CurrentY());
    MarkDrawn(first.x(), first.y(), b.x(), b.y(), image_.DrawWidth() + 1.0);
  }
  RedrawIfImmediate();
}

void Scopel::DrawCircle(const QVariantList& a) {
  using automation::IsMissing;
  if (IsMissing(a, 1) || IsMissing(a, 2) || IsMissing(a, 3)) return;
  const bool step = !IsMissing(a, 0) && automation::ToBool(a[0]);
  const double x = ToPixels(automation::ToDouble(a[1]));
  const double y = ToPixels(automation::ToDouble(a[2]));
  const double radius = ToPixels(automation::ToDouble(a[3]));
  // The colour defaults to ForeColor, the angles to a full circle, the aspect to 1.
  std::optional<gui::OleColor> color;
  std::optional<double> start, end, aspect;
  if (!IsMissing(a, 4)) color = automation::ToColor(a[4]);
  if (!IsMissing(a, 5)) start = automation::ToDouble(a[5]);
  if (!IsMissing(a, 6)) end = automation::ToDouble(a[6]);
  if (!IsMissing(a, 7)) aspect = automation::ToDouble(a[7]);
  const QPointF centre = step ? QPointF(image_.CurrentX() + x, image_.CurrentY() + y) : QPointF(x, y);
  if (!image_.Circle(step, x, y, radius, color, start, end, aspect)) {
    throw AutomationError(automation::kErrInvalidProcedureCall);
  }
  const double reach = std::fabs(radius) + image_.DrawWidth() + 1.0;
  MarkDrawn(centre.x() - reach, centre.y() - reach, centre.x() + reach, centre.y() + reach, 0);
  RedrawIfImmediate();
}

void Scopel::PrintText(const QString& text) {
  image_.SetFont(font_->ToQFont());
  const QPointF at(image_.CurrentX(), image_.CurrentY());
  const double w = image_.TextWidth(text), h = image_.TextHeight(text);
  image_.Print(text);
  // Overhangs of italic and wide glyphs stay within one line height around the text.
  MarkDrawn(at.x(), at.y(), at.x() + w, at.y() + h, h + 2.0);
  RedrawIfImmediate();
}

bool Scopel::SetPoint(const QVariantList& a) {
  using automation::IsMissing;
  if (IsMissing(a, 1) || IsMissing(a, 2)) return false;
  const bool step = !IsMissing(a, 0) && automation::ToBool(a[0]);
  const gui::OleColor color = IsMissing(a, 3) ? image_.ForeColor() : automation::ToColor(a[3]);
  image_.PSet(step, ToPixels(automation::ToDouble(a[1])), ToPixels(automation::ToDouble(a[2])), color);
  MarkDrawn(image_.CurrentX(), image_.CurrentY(), image_.CurrentX(), image_.CurrentY(),
            image_.DrawWidth() + 1.0);
  // The pixel's cell shows at once, without a magnified redraw; it leaves out the
  // cell's last column and row, where the grid lies.
  try {
    // The cell of the pixel the surface set (it rounds to whole pixels).
    const double px = std::nearbyint(image_.CurrentX()), py = std::nearbyint(image_.CurrentY());
    const auto cell = model_.SetPointCell(px * kTwipsPerPixelX, py * kTwipsPerPixelY);
    if (!view_.isNull()) {
      QPainter p(&view_);
      p.fillRect(QRect(static_cast<int>(cell.left), static_cast<int>(cell.top),
                       static_cast<int>(cell.width), static_cast<int>(cell.height)),
                 QColor::fromRgb(Resolve(color)));
      zoom_->update();
    }
  } catch (...) {
    return false;
  }
  return true;
}

void Scopel::ClearGraphics() {
  // Back to the picture as the last redraw committed it.
  dirty_ = QRect();
  dirtyAll_ = false;
  image_.SetPicture(committed_);
  image_.SetCurrentX(0);
  image_.SetCurrentY(0);
  view_ = viewPicture_;
  zoom_->update();
}

void Scopel::Refresh() {
  update();
  zoom_->update();
  UpdateInnerSize();
  model_.RedrawZoomView();
  SyncWidgets();
}

std::int32_t Scopel::GetPoint(float x, float y) const { return image_.Point(ToPixels(x), ToPixels(y)); }

std::int32_t Scopel::TextHeight(const QString& text) {
  image_.SetFont(font_->ToQFont());
  return core::RoundToInt32(static_cast<double>(image_.TextHeight(text)) * kTwipsPerPixelY);
}

std::int32_t Scopel::TextWidth(const QString& text) {
  image_.SetFont(font_->ToQFont());
  return core::RoundToInt32(static_cast<double>(image_.TextWidth(text)) * kTwipsPerPixelX);
}

// ---- life cycle and property bag ---------------------------------------------------------

void Scopel::InitProperties() {
  model_.RestoreZooming(1);
  gridLines_ = true;
  model_.SetPropertiesRead(true);
}

void Scopel::ReadProperties(const automation::PropertyBag& bag) {
  using namespace automation;
  const PropertyReading reading(*this);
  ReadKey([&] { LetAutoRedraw(ToBool(bag.read("AutoRedraw", true))); });
  ReadKey([&] { LetBackColor(ToColor(bag.read("BackColor", ColorValue(BackColor())))); });
  ReadKey([&] { LetBackColorBkg(ToColor(bag.read("BackColorBkg", ColorValue(backColorBkg_)))); });
  ReadKey([&] { LetBorderStyle(ToInt32(bag.read("BorderStyle", borderStyle_))); });
  ReadKey([&] { LetDrawMode(ToInt16(bag.read("DrawMode", 13))); });
  ReadKey([&] { LetDrawStyle(ToInt16(bag.read("DrawStyle", 0))); });
  ReadKey([&] { LetDrawWidth(ToInt16(bag.read("DrawWidth", 1))); });
  ReadKey([&] { LetEnabled(ToBool(bag.read("Enabled", true))); });
  ReadKey([&] {
    LetFillColor(ToColor(
        bag.read("FillColor", ColorValue(core::SystemColorValue(core::SystemColor::kButtonText)))));
  });
  ReadKey([&] { LetFillStyle(ToInt16(bag.read("FillStyle", 0))); });
  ReadKey([&] {
    if (bag.contains("Font")) {
      const QVariant font = bag.read("Font");
      if (!IsFont(font)) throw AutomationError(kErrTypeMismatch);
      LetFont(FontOf(font));
    }
  });
  ReadKey([&] { LetForeColor(ToColor(bag.read("ForeColor", ColorValue(ForeColor())))); });
  ReadKey([&] { LetGridColor(ToColor(bag.read("GridColor", ColorValue(gridColor_)))); });
  ReadKey([&] { gridLines_ = ToBool(bag.read("GridLines", true)); });
  ReadKey([&] {
    if (bag.contains("MouseIcon")) {
      const QVariant icon = bag.read("MouseIcon");
      if (icon.isValid() && !IsPicture(icon)) throw AutomationError(kErrTypeMismatch);
      SetMouseIcon(PictureOf(icon));
    }
  });
  ReadKey([&] { LetMousePointer(ToInt16(bag.read("MousePointer", 0))); });
  ReadKey([&] { LetOLEDropMode(ToInt16(bag.read("OLEDropMode", oleDropMode_))); });
  // A stored factor below 1 can only come from a bag the control did not write.
  ReadKey([&] { model_.RestoreZooming(std::max<int>(1, ToInt16(bag.read("Zooming", 1)))); });
  if (model_.zooming() < 1) model_.RestoreZooming(1);
  model_.SetPropertiesRead(true);
  ReadKey([&] {
    if (bag.contains("Picture")) SetPicture(bag.read("Picture"));
  });
  // Context help over the viewport and the strips uses the host's ids.
  if (site() != nullptr) {
    for (QWidget* part :
         {static_cast<QWidget*>(zoom_), static_cast<QWidget*>(zoomX_), static_cast<QWidget*>(zoomY_)}) {
      part->setProperty("HelpContextID", site()->helpContextId());
    }
    for (QWidget* part :
         {static_cast<QWidget*>(zoom_), static_cast<QWidget*>(zoomX_), static_cast<QWidget*>(zoomY_)}) {
      part->setProperty("WhatsThisHelpID", site()->whatsThisHelpId());
    }
  }
  Layout();
}

void Scopel::WriteProperties(automation::PropertyBag& bag) {
  bag.write("AutoRedraw", AutoRedraw());
  bag.write("BackColor", ColorValue(BackColor()));
  bag.write("BackColorBkg", ColorValue(backColorBkg_));
  bag.write("BorderStyle", borderStyle_);
  bag.write("DrawMode", DrawMode());
  bag.write("DrawStyle", DrawStyle());
  bag.write("DrawWidth", DrawWidth());
  bag.write("Enabled", Enabled());
  bag.write("FillColor", ColorValue(FillColor()));
  bag.write("FillStyle", FillStyle());
  bag.write("Font", QVariant::fromValue(font_));
  bag.write("ForeColor", ColorValue(ForeColor()));
  bag.write("GridColor", ColorValue(gridColor_));
  bag.write("GridLines", gridLines_);
  bag.write("MouseIcon", MouseIcon().isNull() ? QVariant() : QVariant::fromValue(MouseIcon()));
  bag.write("MousePointer", MousePointer());
  bag.write("OLEDropMode", oleDropMode_);
  bag.write("Picture", Picture());
  bag.write("Zooming", Zooming());
}

}  // namespace morvane::scopel
