#pragma once

#include <QImage>
#include <QObjectList>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QVariant>
#include <QWidget>

#include <cstdint>

#include "controls/kit/control_kit.h"
#include "controls/vitrane/vitrane_model.h"
#include "platform/widgets/automation/control_base.h"
#include "platform/widgets/automation/handle_table.h"
#include "platform/widgets/automation/property_bag.h"

namespace morvane::vitrane {

// The window-shaping image control: shows a picture whose mask-colour pixels are cut
// away (the control takes the picture's shape, for painting and for the mouse), and
// through Style can cut its parent window to the picture and let it be dragged by a
// title area. Hosts reach it by dispatch id (vitrane_typelib.h); the typed members
// below are what the member table calls.
//
// The host's extender: the site's name, and the widget property "Align" (non-zero for
// an aligned control). The host's design mode is the ambient "UserMode" (run time when
// the host offers none).
class VitraneImage : public QWidget, public automation::ControlBase<VitraneImage> {
 public:
  explicit VitraneImage(QWidget* parent = nullptr);
  ~VitraneImage() override;

  // The member table of _VitraneImage, in interface order.
  static const automation::MemberTable<VitraneImage>& Members();

  // automation::Control
  void InitProperties() override;
  void ReadProperties(const automation::PropertyBag& bag) override;
  void WriteProperties(automation::PropertyBag& bag) override;

  // Members in interface order. Colours are 32-bit colour values; positions and
  // sizes are twips.
  std::int32_t AutoSize() const { return autoSize_; }
  void LetAutoSize(std::int32_t value);
  std::int32_t DrawEffect() const { return drawEffect_; }
  void LetDrawEffect(std::int32_t value);
  bool Enabled() const { return isEnabled(); }
  void LetEnabled(bool on);
  std::uint32_t FillColor() const { return fillColor_; }
  void LetFillColor(std::uint32_t color);
  std::uint32_t MaskColor() const { return maskColor_; }
  void LetMaskColor(std::uint32_t color);
  // Pictures: a QImage, or an invalid QVariant for Nothing.
  QVariant MaskPicture() const;
  void SetMaskPicture(const QVariant& picture);
  QImage MouseIcon() const { return pointer_.Icon(); }
  void SetMouseIcon(const QImage& icon) { pointer_.SetIcon(*this, icon); }
  std::int16_t MousePointer() const { return pointer_.Pointer(); }
  void LetMousePointer(std::int16_t pointer) { pointer_.LetPointer(*this, pointer); }
  std::int16_t ParentTitleOffset() const { return parentTitleOffset_; }
  void LetParentTitleOffset(std::int32_t offset);
  std::int16_t ParentTitleY() const { return parentTitleY_; }
  void LetParentTitleY(std::int16_t y);
  QVariant Picture() const;
  void SetPicture(const QVariant& picture);
  std::int32_t Style() const { return style_; }
  void LetStyle(std::int32_t value);
  std::int32_t TitleLeft() const { return title_.left; }
  void LetTitleLeft(std::int32_t twips);
  std::int32_t TitleTop() const { return title_.top; }
  void LetTitleTop(std::int32_t twips);
  std::int32_t TitleWidth() const { return title_.width; }
  void LetTitleWidth(std::int32_t twips);
  std::int32_t TitleHeight() const { return title_.height; }
  void LetTitleHeight(std::int32_t twips);
  QObjectList Controls() const { return children(); }
  automation::Handle hDC() const;
  automation::Handle hWnd();
  QImage Image() const { return shown_; }
  QString Version() const;
  const QString& ParentCaption() const { return parentCaption_; }
  void LetParentCaption(const QString& text) { parentCaption_ = text; }
  void AboutBox();
  void TitleArea(std::int32_t left, std::int32_t top, std::int32_t width, const QVariant& height);
  void Refresh(const QVariant& timer);
  void WindowProcSimulation(std::int32_t message, std::int32_t wParam, std::int32_t lParam);

  // For tests: the shape shown (control pixels), and the window whose messages the
  // control follows.
  const QRegion& Shape() const { return shape_; }
  QWidget* FollowedWindow() const { return followed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool UserMode() const;
  bool HasExtender() const { return site() != nullptr; }
  bool Aligned() const;
  // The stored picture on the surface, stretched to the control while AutoSize is
  // PictureToControl, so that re-showing it never undoes the stretch.
  void ShowStored();
  void RebuildMask();
  void ResizeProcedure();
  void ApplyEffect(std::int32_t effect);
  // Style: the facts the checks need, undoing the current style, applying the new one.
  StyleFacts StyleFactsFor(QWidget* form) const;
  void UndoStyle(QWidget* form);
  void ShapeForm(QWidget* form, std::int32_t value);
  void SyncCaption();
  void ShowMenuConflict();
  void SetFormCaption(QWidget* form, const QString& text);
  void FollowWindow();
  // The window that holds the control (through frames), or the hosted control it lies
  // on; null without either.
  QWidget* Form() const;
  // Cuts the form's window region from the shown picture, at the control's place.
  void ApplyFormRegion(QWidget* form);

  std::int32_t autoSize_ = 0;
  std::int32_t drawEffect_ = 0;
  std::uint32_t maskColor_ = 0xffffff;
  std::uint32_t maskColorShown_ = 0xffffff;  // MaskColor resolved, as the shape was cut
  QImage maskPicture_;
  bool hasMaskPicture_ = false;
  QImage picture_;  // the stored picture
  QImage shown_;    // the surface's picture: the stored one, stretched or drawn with an effect
  QRegion shape_;
  std::int32_t style_ = 0;
  std::int16_t parentTitleOffset_ = 0;
  std::int16_t parentTitleY_ = 0;
  TitleRect title_;
  QString parentCaption_;
  std::uint32_t fillColor_ = 0;
  kit::PointerSetting pointer_;
  bool dragging_ = false;
  bool doubleClicked_ = false;  // until the release of a double click
  QPoint dragStartGlobal_;
  QPoint formStart_;
  bool keepMaskColor_ = false;
  bool parentInactive_ = false;
  bool captionSetting_ = false;
  int resizeDepth_ = 0;
  QPointer<QWidget> followed_;
};

}  // namespace morvane::vitrane
