#pragma once

#include <QImage>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <optional>

#include "platform/widgets/automation/control_base.h"
#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/automation/events.h"
#include "platform/widgets/automation/property_bag.h"

class QDropEvent;
class QLineEdit;
class QScrollBar;

namespace morvane::spinbox {

// A one-line numeric text box with a small up-down bar at its right, holding one
// whole number clamped to Min..Max. The text of the text box is the value: every
// change of it is read back, clamped and rewritten in its canonical form before the
// Change event is raised. The bar runs inverted (position = Max + Min - value), so
// its upper arrow raises the value. Hosts use it late-bound through spinbox_typelib.h;
// the typed members below are the same members for code and tests.
class SpinBox : public QWidget, public automation::ControlBase<SpinBox> {
 public:
  explicit SpinBox(QWidget* parent = nullptr);
  ~SpinBox() override;

  // The member table, in interface order.
  static const automation::MemberTable<SpinBox>& Members();

  // automation::Control
  void InitProperties() override;
  void ReadProperties(const automation::PropertyBag& bag) override;
  void WriteProperties(automation::PropertyBag& bag) override;

  // Members, in interface order.
  std::uint32_t BackColor() const { return backColor_; }
  void LetBackColor(std::uint32_t color);
  bool CustomMenu() const { return customMenu_; }
  void LetCustomMenu(bool on);
  bool Enabled() const { return isEnabled(); }
  void LetEnabled(bool on);
  automation::FontRef Font() const { return font_; }
  void SetFont(const automation::FontRef& font);
  std::uint32_t ForeColor() const { return foreColor_; }
  void LetForeColor(std::uint32_t color);
  std::int16_t Max() const { return max_; }
  void LetMax(std::int16_t max);
  std::int16_t Min() const { return min_; }
  void LetMin(std::int16_t min);
  const QImage& MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(const QImage& icon);
  std::int32_t MousePointer() const { return mousePointer_; }
  void LetMousePointer(std::int32_t pointer);
  std::int32_t OLEDragMode() const { return oleDragMode_; }
  void LetOLEDragMode(std::int32_t mode);
  std::int32_t OLEDropMode() const { return oleDropMode_; }
  void LetOLEDropMode(std::int32_t mode);
  std::int16_t SmallChange() const;
  void LetSmallChange(std::int16_t step);
  // The text read by the leading-number rule and rounded half to even; a number too
  // large for 32 bits reads as the nearest 32-bit value.
  std::int32_t Value() const;
  // Clamps to Min..Max (Max when Min > Max); a value of any size is accepted.
  void LetValue(double value);
  // Opaque ids of the handle table.
  std::int32_t hDC() const;
  std::int32_t hWnd();
  std::int32_t SelLength() const;
  void LetSelLength(std::int32_t length);
  std::int32_t SelStart() const;
  void LetSelStart(std::int32_t start);
  QString SelText() const;
  void LetSelText(const QString& text);
  void SetToolTipText(const std::optional<QString>& text);
  std::int32_t TextHeight(const QString& text) const;
  std::int32_t TextWidth(const QString& text) const;

  QLineEdit* textBox() const { return tbSpin_; }
  QScrollBar* scrollBar() const { return vsSpin_; }

  // The size the layout step gives the control at a width of 0: the narrowest it
  // can be and the one height its font allows.
  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void OnTextChanged();
  void OnScrollChanged(int position);
  // After Min or Max changed: the bar's range, then the value moved to the bound (when
  // moveValue) or the bar's position following the value.
  void ApplyRange(bool moveValue, std::int16_t bound);
  void Layout();
  void ApplyColors();
  void ApplyPointer();
  bool FilterTextBoxEvent(QEvent* event);
  QVariantList MouseArgs(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                         QPointF position) const;
  // OLEDragOver (with its state) or OLEDragDrop arguments of a drag over the text box.
  QVariantList DragArgs(const QDropEvent& drop, std::optional<std::int16_t> state) const;

  QLineEdit* tbSpin_;
  QScrollBar* vsSpin_;
  automation::FontRef font_;
  std::uint32_t backColor_ = 0x80000005u;
  std::uint32_t foreColor_ = 0x80000008u;
  // The range lives here rather than in the bar, which cannot hold Min > Max.
  std::int16_t min_ = 0;
  std::int16_t max_ = 100;
  bool customMenu_ = false;
  bool suppressMenu_ = false;
  bool shown_ = false;
  bool inLayout_ = false;
  std::int32_t mousePointer_ = 0;
  QImage mouseIcon_;
  std::int32_t oleDragMode_ = 0;
  std::int32_t oleDropMode_ = 0;
  char surfaceTag_ = 0;  // stands for the control's device context in the handle table
};

// Registers SpinBox with the class registry under its class id and ProgID, so that
// forms create it like every hosted control. Safe to call more than once.
void RegisterSpinBoxClass();

}  // namespace morvane::spinbox
