#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <optional>

#include "platform/widgets/automation/control_base.h"
#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/automation/events.h"
#include "platform/widgets/automation/property_bag.h"

class QLabel;
class QTimer;

namespace morvane::linkbox {

// A hyperlink label: a click on its text opens Path (or, with CaptionIsPath, the text
// itself) through the shell service, shown normally. With HotTracking the text is underlined while the
// pointer is over it or the control has the focus; a 100 ms timer notices when the pointer has left. The
// hover underline is drawn on a copy of the font: the Font object the host gave, and what is stored,
// keep their own underline.
class LinkBox : public QWidget, public automation::ControlBase<LinkBox> {
 public:
  explicit LinkBox(QWidget* parent = nullptr);
  ~LinkBox() override;

  // The member table, in interface order.
  static const automation::MemberTable<LinkBox>& Members();

  // automation::Control
  void InitProperties() override;
  void ReadProperties(const automation::PropertyBag& bag) override;
  void WriteProperties(automation::PropertyBag& bag) override;

  // Members, in interface order.
  std::int32_t Alignment() const { return alignment_; }
  void LetAlignment(std::int32_t alignment);
  bool AutoSize() const { return autoSize_; }
  void LetAutoSize(bool on);
  std::uint32_t BackColor() const { return backColor_; }
  void LetBackColor(std::uint32_t color);
  QString Caption() const;
  void LetCaption(const QString& caption);
  bool CaptionIsPath() const { return captionIsPath_; }
  void LetCaptionIsPath(bool on);
  bool Enabled() const { return isEnabled(); }
  void LetEnabled(bool on);
  automation::FontRef Font() const { return font_; }
  void SetFont(const automation::FontRef& font);
  std::uint32_t ForeColor() const { return foreColor_; }
  void LetForeColor(std::uint32_t color);
  bool HotTracking() const { return hotTracking_; }
  void LetHotTracking(bool on);
  const QString& Path() const { return path_; }
  void LetPath(const QString& path);
  std::int32_t hDC() const;
  std::int32_t hWnd();
  void SetToolTipText(const std::optional<QString>& text);
  std::int32_t TextHeight(const QString& text) const;
  std::int32_t TextWidth(const QString& text) const;

  QLabel* label() const { return tlCaption_; }
  QTimer* hotTrackingTimer() const { return toHotTracking_; }
  // Whether the text is shown underlined just now.
  bool Underlined() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowUnderline(bool on);
  void ApplyFont();
  void ApplyColors();
  void Layout();
  void OnClick();
  void OnTimer();
  QVariantList MouseArgs(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                         QPointF position) const;

  QLabel* tlCaption_;
  QTimer* toHotTracking_;
  automation::FontRef font_;  // the control's and the label's font object
  bool hot_ = false;          // the hover or focus underline is shown
  std::int32_t alignment_ = 0;
  bool autoSize_ = true;
  std::uint32_t backColor_ = 0x8000000Fu;
  std::uint32_t foreColor_ = 0x00FF0000u;  // blue, red in the low byte
  bool captionIsPath_ = false;
  bool hotTracking_ = false;
  QString path_;
  bool shown_ = false;
  char surfaceTag_ = 0;  // stands for the control's device context in the handle table
};

// Registers LinkBox with the class registry under its class id and ProgID, so that
// forms create it like every hosted control. Safe to call more than once.
void RegisterLinkBoxClass();

}  // namespace morvane::linkbox
