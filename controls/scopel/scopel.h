#pragma once

#include <QFrame>
#include <QImage>
#include <QObjectList>
#include <QPointF>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <optional>

#include "controls/kit/control_kit.h"
#include "controls/scopel/zoom_model.h"
#include "platform/gui/surface.h"
#include "platform/widgets/automation/control_base.h"
#include "platform/widgets/automation/control_events.h"
#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/automation/handle_table.h"
#include "platform/widgets/automation/property_bag.h"

class QScrollBar;
class QTimer;
class QMouseEvent;
class QKeyEvent;
class QDropEvent;
class QDragMoveEvent;

namespace morvane::scopel {

class ScopelViewport;
class ScopelStrip;

// The zoom view control: an image held at its natural size on a hidden drawing surface
// (pbImage), shown magnified by a whole factor in a viewport (pbZoom) with an optional
// pixel grid, two strips with scroll bars (pbZoomX, pbZoomY), drawing on the image, and
// mouse events in image coordinates. Hosts reach it by dispatch id (scopel_typelib.h);
// the typed members below are what the member table calls.
class Scopel : public QFrame, public automation::ControlBase<Scopel> {
 public:
  explicit Scopel(QWidget* parent = nullptr);
  ~Scopel() override;

  // The member table of _Scopel, in interface order.
  static const automation::MemberTable<Scopel>& Members();

  // automation::Control
  void InitProperties() override;
  void ReadProperties(const automation::PropertyBag& bag) override;
  void WriteProperties(automation::PropertyBag& bag) override;

  // Members in interface order. Colours are 32-bit colour values (system colours have
  // the high bit set); lengths and positions are image twips.
  bool AutoRedraw() const;
  void LetAutoRedraw(bool on);
  gui::OleColor BackColor() const;
  void LetBackColor(gui::OleColor color);
  gui::OleColor BackColorBkg() const { return backColorBkg_; }
  void LetBackColorBkg(gui::OleColor color);
  std::int32_t BorderStyle() const { return borderStyle_; }
  void LetBorderStyle(std::int32_t style);
  std::int16_t DrawMode() const;
  void LetDrawMode(std::int16_t mode);
  std::int16_t DrawStyle() const;
  void LetDrawStyle(std::int16_t style);
  std::int16_t DrawWidth() const;
  void LetDrawWidth(std::int16_t width);
  bool Enabled() const { return isEnabled(); }
  void LetEnabled(bool on);
  gui::OleColor FillColor() const;
  void LetFillColor(gui::OleColor color);
  std::int16_t FillStyle() const;
  void LetFillStyle(std::int16_t style);
  automation::FontRef Font() const { return font_; }
  void LetFont(const automation::FontRef& font);  // a copy
  void SetFont(const automation::FontRef& font);  // the same object
  gui::OleColor ForeColor() const;
  void LetForeColor(gui::OleColor color);
  gui::OleColor GridColor() const { return gridColor_; }
  void LetGridColor(gui::OleColor color);
  bool GridLines() const { return gridLines_; }
  void LetGridLines(bool on);
  QImage MouseIcon() const { return pointer_.Icon(); }
  void SetMouseIcon(const QImage& icon);
  std::int16_t MousePointer() const { return pointer_.Pointer(); }
  void LetMousePointer(std::int16_t pointer);
  std::int16_t OLEDropMode() const { return oleDropMode_; }
  void LetOLEDropMode(std::int16_t mode);
  // The picture as a QImage, or an invalid QVariant for none.
  QVariant Picture() const;
  void SetPicture(const QVariant& picture);
  std::int16_t Zooming() const { return static_cast<std::int16_t>(model_.zooming()); }
  void LetZooming(std::int16_t zoom);
  QObjectList Controls() const;
  std::int32_t CurrentX() const;
  void LetCurrentX(float x);
  std::int32_t CurrentY() const;
  void LetCurrentY(float y);
  bool DrawImmadiately() const { return drawImmadiately_; }
  void LetDrawImmadiately(bool on) { drawImmadiately_ = on; }
  automation::Handle hDC() const;
  automation::Handle hWnd();
  QImage Image() const;
  std::int32_t ImageHeight() const;
  std::int32_t ImageWidth() const;
  std::int32_t ScrollX() const { return model_.Scroll(Axis::X); }
  void LetScrollX(std::int32_t twips);
  std::int32_t ScrollY() const { return model_.Scroll(Axis::Y); }
  void LetScrollY(std::int32_t twips);
  QString Version() const;
  void AboutBox();
  void ClearGraphics();
  void DrawCircle(const QVariantList& args);
  void DrawLine(const QVariantList& args);
  std::int32_t GetPoint(float x, float y) const;
  void EnsureVisible(float x, float y);
  void LocateCursor(float x, float y);
  void PrintText(const QString& text);
  void Refresh();
  bool SetPoint(const QVariantList& args);
  std::int32_t TextHeight(const QString& text);
  std::int32_t TextWidth(const QString& text);

  // For tests and the benchmark: the layout state, and the viewport's painted view.
  const ZoomModel& model() const { return model_; }
  const QImage& ViewImage() const { return view_; }
  QWidget* Viewport() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class ScopelViewport;
  friend class ScopelStrip;

  void PaintZoomView();
  // Drawing since the last redraw, in surface pixels; the redraw copies only that
  // area into the picture, so its cost stays bounded by what was drawn.
  void MarkDrawn(double left, double top, double right, double bottom, double margin);
  void MarkAllDrawn() { dirtyAll_ = true; }
  void CommitDrawing();
  void SyncWidgets();
  void UpdateInnerSize();
  void Layout();
  // Moves the bars for the host (ScrollX, ScrollY, a new picture): the view follows,
  // but the focus stays where the host has it.
  void HostScroll(const std::function<void()>& move);
  void RedrawIfImmediate();
  void ApplyFrame();
  QRgb Resolve(gui::OleColor color) const;

  // Events of the constituents; `origin` is the source's top left in the control's
  // coordinates (in pixels).
  void RaiseMouse(automation::DispId id, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                  QPointF viewportPos);
  void RaiseClick(automation::DispId id);
  void RaiseKeyDown(QKeyEvent* event);
  void RaiseKeyUp(QKeyEvent* event);
  void RaiseDragOver(QDragMoveEvent* event, QPointF pos, std::int16_t state);
  void RaiseDragLeave();
  void RaiseDrop(QDropEvent* event, QPointF pos);
  // Raises a drag-over (with its state) or drop event and answers the drag source with
  // the effect the host chose.
  void RaiseDropEvent(automation::DispId id, QDropEvent* event, const automation::DataObject& dragged,
                      QPointF pos, std::optional<std::int16_t> state);

  ZoomModel model_;
  gui::Surface image_;              // pbImage
  ScopelViewport* zoom_ = nullptr;  // pbZoom
  ScopelStrip* zoomX_ = nullptr;    // pbZoomX
  ScopelStrip* zoomY_ = nullptr;    // pbZoomY
  QScrollBar* barX_ = nullptr;      // sbZoomX
  QScrollBar* barY_ = nullptr;      // sbZoomY
  QTimer* scrollTimer_ = nullptr;   // tcScroll
  QImage committed_;                // the Picture: the image with what was drawn up to the last redraw
  QRect dirty_;
  bool dirtyAll_ = false;
  QImage viewPicture_;  // the viewport's picture: the last painted view
  QImage view_;         // that picture with the cells SetPoint painted since
  automation::FontRef font_;
  kit::PointerSetting pointer_;
  std::int16_t oleDropMode_ = 0;
  gui::OleColor backColorBkg_ = core::SystemColorValue(core::SystemColor::kApplicationWorkspace);
  gui::OleColor gridColor_ = core::SystemColorValue(core::SystemColor::kButtonFace);
  std::int32_t borderStyle_ = 0;
  bool gridLines_ = false;
  bool drawImmadiately_ = true;
  bool syncing_ = false;     // the control moves its own bars
  bool hostScroll_ = false;  // the host moves them
  bool suppressClick_ = false;
  automation::DataObject dragData_;
  QPointF dragPos_;
};

}  // namespace morvane::scopel
