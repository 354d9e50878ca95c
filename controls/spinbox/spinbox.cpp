#include "controls/spinbox/spinbox.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/value_helpers.h"
#include "controls/kit/control_kit.h"
#include "platform/widgets/automation/control_events.h"
#include "controls/spinbox/spinbox_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/handle_table.h"
#include "platform/widgets/automation/inprocess_classes.h"
#include "platform/widgets/automation/variant_args.h"
#include "platform/core/units.h"

namespace morvane::spinbox {

using automation::AutomationError;
namespace keycode = automation::keycode;
using automation::DispId;
using automation::Invoke;
using automation::Member;
using automation::MemberTable;
using kit::ApplyMousePointer;
using kit::ColorOf;
using kit::ShowAboutBox;
using kit::TextHeightTwips;
using kit::TextWidthTwips;
using kit::ValidMousePointer;
using kit::VersionText;

namespace {

// The leading number of a text: blanks skipped, an optional sign, digits and an
// optional decimal part; the reading stops at the first character that does not fit,
// and a text without a leading number is 0. Digits of any count are read (as the
// nearest double, or infinity), so nothing here can overflow.
double LeadingNumber(const QString& text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') ||
                   text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n'))) {
    ++i;
  }
  QByteArray number;
  if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    if (text[i] == QLatin1Char('-')) number += '-';
    ++i;
  }
  bool digits = false;
  while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
    number += static_cast<char>(text[i].unicode());
    digits = true;
    ++i;
  }
  if (i < n && text[i] == QLatin1Char('.')) {
    number += '.';
    ++i;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
      number += static_cast<char>(text[i].unicode());
      digits = true;
      ++i;
    }
  }
  if (!digits) return 0.0;
  return std::strtod(number.constData(), nullptr);
}

// Rounded half to even into the 32-bit range, saturating instead of overflowing.
std::int32_t SaturatedInt32(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::nearbyint(v);
  if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(r);
}

// A number as the runtime writes it: a whole number without a decimal part.
QString NumberText(double v) {
  if (std::nearbyint(v) == v && std::fabs(v) < 1e15) {
    return QString::number(static_cast<qlonglong>(v));
  }
  return QString::number(v, 'g', 15);
}

std::int16_t Narrow16(std::int32_t v) {
  if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) {
    throw AutomationError(automation::kErrOverflow);
  }
  return static_cast<std::int16_t>(v);
}

QVariant Color(std::uint32_t c) { return automation::FromColor(c); }

// A picture argument: missing means none; anything but a picture is refused.
QImage PictureArg(const QVariantList& args) {
  if (!automation::IsMissing(args, 0) && !automation::IsPicture(args[0])) {
    throw AutomationError(automation::kErrTypeMismatch);
  }
  return automation::PictureOf(args.value(0));
}

}  // namespace

const MemberTable<SpinBox>& SpinBox::Members() {
  using namespace automation;  // the conversions of the table
  static const MemberTable<SpinBox> table{
      {dispid::BackColor, "BackColor", MORVANE_GET(Color(c.BackColor())),
       MORVANE_PUT(c.LetBackColor(ToColor(Arg(a, 0))))},
      {dispid::CustomMenu, "CustomMenu", MORVANE_GET(c.CustomMenu()),
       MORVANE_PUT(c.LetCustomMenu(ToBool(Arg(a, 0))))},
      {dispid::Enabled, "Enabled", MORVANE_GET(c.Enabled()),
       MORVANE_PUT(c.LetEnabled(ToBool(Arg(a, 0))))},
      {dispid::Font, "Font", MORVANE_GET(QVariant::fromValue(c.Font())), nullptr,
       MORVANE_PUT(c.SetFont(automation::FontOf(Arg(a, 0))))},
      {dispid::ForeColor, "ForeColor", MORVANE_GET(Color(c.ForeColor())),
       MORVANE_PUT(c.LetForeColor(ToColor(Arg(a, 0))))},
      {dispid::Max, "Max", MORVANE_GET(c.Max()), MORVANE_PUT(c.LetMax(ToInt16(Arg(a, 0))))},
      {dispid::Min, "Min", MORVANE_GET(c.Min()), MORVANE_PUT(c.LetMin(ToInt16(Arg(a, 0))))},
      {dispid::MouseIcon, "MouseIcon", MORVANE_GET(QVariant::fromValue(c.MouseIcon())), nullptr,
       MORVANE_PUT(c.SetMouseIcon(PictureArg(a)))},
      {dispid::MousePointer, "MousePointer", MORVANE_GET(c.MousePointer()),
       MORVANE_PUT(c.LetMousePointer(ToInt32(Arg(a, 0))))},
      {dispid::OLEDragMode, "OLEDragMode", MORVANE_GET(c.OLEDragMode()),
       MORVANE_PUT(c.LetOLEDragMode(ToInt32(Arg(a, 0))))},
      {dispid::OLEDropMode, "OLEDropMode", MORVANE_GET(c.OLEDropMode()),
       MORVANE_PUT(c.LetOLEDropMode(ToInt32(Arg(a, 0))))},
      {dispid::SmallChange, "SmallChange", MORVANE_GET(c.SmallChange()),
       MORVANE_PUT(c.LetSmallChange(ToInt16(Arg(a, 0))))},
      {dispid::Value, "Value", MORVANE_GET(c.Value()), MORVANE_PUT(c.LetValue(ToDouble(Arg(a, 0))))},
      {dispid::hDC, "hDC", MORVANE_GET(c.hDC())},
      {dispid::hWnd, "hWnd", MORVANE_GET(c.hWnd())},
      {dispid::SelLength, "SelLength", MORVANE_GET(c.SelLength()),
       MORVANE_PUT(c.LetSelLength(ToInt32(Arg(a, 0))))},
      {dispid::SelStart, "SelStart", MORVANE_GET(c.SelStart()),
       MORVANE_PUT(c.LetSelStart(ToInt32(Arg(a, 0))))},
      {dispid::SelText, "SelText", MORVANE_GET(c.SelText()),
       MORVANE_PUT(c.LetSelText(ToText(Arg(a, 0))))},
      {dispid::Version, "Version", MORVANE_GET(VersionText())},
      {dispid::AboutBox, "AboutBox", nullptr, nullptr, nullptr, MORVANE_DO(ShowAboutBox(&c))},
      {dispid::SetToolTipText, "SetToolTipText", nullptr, nullptr, nullptr,
       MORVANE_DO(
           c.SetToolTipText(IsMissing(a, 0) ? std::nullopt : std::optional<QString>(ToText(a[0]))))},
      {dispid::TextHeight, "TextHeight", nullptr, nullptr, nullptr,
       MORVANE_CALL(c.TextHeight(ToText(Arg(a, 0))))},
      {dispid::TextWidth, "TextWidth", nullptr, nullptr, nullptr,
       MORVANE_CALL(c.TextWidth(ToText(Arg(a, 0))))},
  };
  return table;
}

SpinBox::SpinBox(QWidget* parent)
    : QWidget(parent), tbSpin_(new QLineEdit(this)), vsSpin_(new QScrollBar(Qt::Vertical, this)) {
  setObjectName(QStringLiteral("SpinBox"));
  tbSpin_->setObjectName(QStringLiteral("tbSpin"));
  vsSpin_->setObjectName(QStringLiteral("vsSpin"));
  tbSpin_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  tbSpin_->setDragEnabled(false);
  tbSpin_->setAcceptDrops(false);
  tbSpin_->installEventFilter(this);
  vsSpin_->setFocusPolicy(Qt::NoFocus);
  vsSpin_->setRange(min_, max_);
  vsSpin_->setSingleStep(1);
  vsSpin_->setPageStep(1);
  vsSpin_->setValue(max_ + min_);  // the value 0
  tbSpin_->setText(QStringLiteral("0"));
  setFocusProxy(tbSpin_);
  font_ = std::make_shared<automation::FontObject>(automation::FontObject::FromQFont(QWidget::font()));

  // Typing and the bar's arrows arrive inside Qt's event dispatch, where no error of
  // the host's (a Change handler, the Value announcement) may pass.
  connect(tbSpin_, &QLineEdit::textChanged, this,
          [this] { automation::CatchAtEventBoundary([this] { OnTextChanged(); }); });
  connect(vsSpin_, &QScrollBar::valueChanged, this, [this](int position) {
    automation::CatchAtEventBoundary([this, position] { OnScrollChanged(position); });
  });
  ApplyColors();
  Layout();
}

SpinBox::~SpinBox() {
  // The text box must not report changes into a control that is going away.
  tbSpin_->disconnect(this);
  vsSpin_->disconnect(this);
  automation::HandleTable::Release(&surfaceTag_);
}

std::int32_t SpinBox::hDC() const {
  return automation::HandleTable::HandleOf(static_cast<const void*>(&surfaceTag_));
}

std::int32_t SpinBox::hWnd() { return automation::HandleTable::HandleOf(static_cast<QObject*>(this)); }

// ---- Properties ----

void SpinBox::LetBackColor(std::uint32_t color) {
  backColor_ = color;
  ApplyColors();
  AnnounceChange("BackColor");
}

void SpinBox::LetCustomMenu(bool on) {
  customMenu_ = on;
  AnnounceChange("CustomMenu");
}

void SpinBox::LetEnabled(bool on) {
  setEnabled(on);
  AnnounceChange("Enabled");
}

void SpinBox::SetFont(const automation::FontRef& font) {
  if (!font) throw AutomationError(automation::kErrObjectRequired);
  font_ = font;
  const QFont shown = font_->ToQFont();
  setFont(shown);
  tbSpin_->setFont(shown);
  Layout();
  AnnounceChange("Font");
}

void SpinBox::LetForeColor(std::uint32_t color) {
  foreColor_ = color;
  ApplyColors();
  AnnounceChange("ForeColor");
}

void SpinBox::LetMax(std::int16_t max) {
  max_ = max;
  ApplyRange(Value() > max, max);
  Layout();
  AnnounceChange("Max");
}

void SpinBox::LetMin(std::int16_t min) {
  min_ = min;
  ApplyRange(Value() < min, min);
  AnnounceChange("Min");
}

void SpinBox::SetMouseIcon(const QImage& icon) {
  mouseIcon_ = icon;
  ApplyPointer();
  AnnounceChange("MouseIcon");
}

void SpinBox::LetMousePointer(std::int32_t pointer) {
  const std::int16_t narrow = Narrow16(pointer);
  if (!ValidMousePointer(narrow)) throw AutomationError(automation::kErrInvalidPropertyValue);
  mousePointer_ = narrow;
  ApplyPointer();
  AnnounceChange("MousePointer");
}

void SpinBox::LetOLEDragMode(std::int32_t mode) {
  if (mode != 0 && mode != 1) throw AutomationError(automation::kErrInvalidPropertyValue);
  oleDragMode_ = mode;
  tbSpin_->setDragEnabled(mode == 1);
  AnnounceChange("OLEDragMode");
}

void SpinBox::LetOLEDropMode(std::int32_t mode) {
  if (mode < 0 || mode > 2) throw AutomationError(automation::kErrInvalidPropertyValue);
  oleDropMode_ = mode;
  tbSpin_->setAcceptDrops(mode != 0);
  AnnounceChange("OLEDropMode");
}

std::int16_t SpinBox::SmallChange() const { return static_cast<std::int16_t>(vsSpin_->singleStep()); }

void SpinBox::LetSmallChange(std::int16_t step) {
  if (step < 0) throw AutomationError(automation::kErrInvalidPropertyValue);
  vsSpin_->setSingleStep(step);
  AnnounceChange("SmallChange");
}

std::int32_t SpinBox::Value() const { return SaturatedInt32(LeadingNumber(tbSpin_->text())); }

void SpinBox::LetValue(double value) {
  // Any size of number is clamped (first into 32 bits, which holds every 16-bit
  // range); with Min above Max the value is Max.
  const std::int32_t c = common::MinOf(common::MaxOf(SaturatedInt32(value), min_), max_);
  const QString text = QString::number(c);
  // The runtime raises no change for an identical text; writing it anyway would
  // also move the caret.
  if (tbSpin_->text() != text) tbSpin_->setText(text);
  vsSpin_->setValue(max_ + min_ - c);
  AnnounceChange("Value");
}

std::int32_t SpinBox::SelLength() const {
  return static_cast<std::int32_t>(tbSpin_->selectedText().size());
}

void SpinBox::LetSelLength(std::int32_t length) {
  if (length < 0) throw AutomationError(automation::kErrInvalidPropertyValue);
  const int start = SelStart();
  tbSpin_->setSelection(start, std::min<int>(length, static_cast<int>(tbSpin_->text().size()) - start));
}

std::int32_t SpinBox::SelStart() const {
  return tbSpin_->hasSelectedText() ? tbSpin_->selectionStart() : tbSpin_->cursorPosition();
}

void SpinBox::LetSelStart(std::int32_t start) {
  if (start < 0) throw AutomationError(automation::kErrInvalidPropertyValue);
  tbSpin_->deselect();
  tbSpin_->setCursorPosition(std::min<int>(start, static_cast<int>(tbSpin_->text().size())));
}

QString SpinBox::SelText() const { return tbSpin_->selectedText(); }

void SpinBox::LetSelText(const QString& text) { tbSpin_->insert(text); }

void SpinBox::SetToolTipText(const std::optional<QString>& text) {
  tbSpin_->setToolTip(text ? *text : (site() != nullptr ? site()->toolTipText() : QString()));
}

std::int32_t SpinBox::TextHeight(const QString& text) const {
  return TextHeightTwips(font_->ToQFont(), text);
}

std::int32_t SpinBox::TextWidth(const QString& text) const {
  return TextWidthTwips(font_->ToQFont(), text);
}

// ---- Handlers ----

void SpinBox::OnTextChanged() {
  // Clamp and rewrite in canonical form; the nested run that the rewrite causes finds
  // the text canonical, so a corrected edit reaches the host as two changes.
  LetValue(Value());
  Raise(eventid::Change);
}

void SpinBox::OnScrollChanged(int position) {
  const QString text = QString::number(static_cast<std::int32_t>(max_) + min_ - position);
  if (tbSpin_->text() != text) tbSpin_->setText(text);
}

void SpinBox::ApplyRange(bool moveValue, std::int16_t bound) {
  // The bar takes the sorted range first, quietly, so that the value written next (or
  // the position that follows the value) is the only change the text sees: a range
  // that moves the value raises one Change.
  {
    const QSignalBlocker quiet(vsSpin_);
    vsSpin_->setRange(std::min(min_, max_), std::max(min_, max_));
  }
  if (moveValue) {
    LetValue(bound);
  } else {
    vsSpin_->setValue(max_ + min_ - Value());
  }
}

void SpinBox::ApplyColors() {
  // BackColor is the text box's; around the field and the arrows the form shows, in
  // whatever colour its palette gives it.
  // A disabled text box keeps the style's grey text.
  QPalette text = tbSpin_->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    text.setColor(group, QPalette::Base, ColorOf(backColor_));
    text.setColor(group, QPalette::Text, ColorOf(foreColor_));
  }
  tbSpin_->setPalette(text);
}

void SpinBox::ApplyPointer() {
  ApplyMousePointer(*this, mousePointer_, mouseIcon_);
  ApplyMousePointer(*tbSpin_, mousePointer_, mouseIcon_);
  ApplyMousePointer(*vsSpin_, mousePointer_, mouseIcon_);
}

namespace {

// The layout's measures in twips: the bar's width, the text box's least width (room
// for as many "9"s as Max needs: one up to 31, two from 32, three from 317) and the
// control's one height, which follows its font alone.
struct LayoutMeasures {
  std::int32_t barWidth;
  std::int32_t leastTextWidth;
  std::int32_t height;
};

LayoutMeasures MeasuresOf(const QWidget& control, const QWidget& bar, const QFont& font,
                          std::int16_t max) {
  const int pixel = core::kTwipsPerPixel;
  const int digits = static_cast<int>(std::trunc(common::LogBase(max) - 0.5)) + 1;
  return {pixel * control.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &bar),
          digits * TextWidthTwips(font, QStringLiteral("9")),
          8 * pixel + TextHeightTwips(font, QStringLiteral("{}Wdflbkqypgj[]"))};
}

}  // namespace

QSize SpinBox::sizeHint() const {
  const LayoutMeasures m = MeasuresOf(*this, *vsSpin_, font_->ToQFont(), max_);
  return {core::TwipsToPixels(m.barWidth + m.leastTextWidth + 6 * core::kTwipsPerPixel),
          core::TwipsToPixels(m.height)};
}

void SpinBox::Layout() {
  // Twips throughout, as the host measures the control; pixels only at Qt's calls.
  const int pixel = core::kTwipsPerPixel;
  const LayoutMeasures m = MeasuresOf(*this, *vsSpin_, font_->ToQFont(), max_);
  const std::int32_t controlWidth = width() * pixel;
  const std::int32_t textWidth = std::max(controlWidth - m.barWidth - 6 * pixel, m.leastTextWidth);
  const std::int32_t newWidth = std::max(controlWidth, m.barWidth + textWidth + 6 * pixel);
  const QSize size(core::TwipsToPixels(newWidth), core::TwipsToPixels(m.height));
  if (size != this->size() && !inLayout_) {
    // The nested resize computes the same size and stops there.
    inLayout_ = true;
    resize(size);
    inLayout_ = false;
  }
  const int boxHeight = height() - 4;
  tbSpin_->setGeometry(0, 2, core::TwipsToPixels(textWidth), boxHeight);
  vsSpin_->setGeometry(tbSpin_->x() + tbSpin_->width() + 2, 0, core::TwipsToPixels(m.barWidth),
                       boxHeight);
  updateGeometry();
}

void SpinBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void SpinBox::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  tbSpin_->deselect();
  tbSpin_->setCursorPosition(static_cast<int>(tbSpin_->text().size()));
  if (site() != nullptr) {
    tbSpin_->setProperty("WhatsThisHelpID", site()->whatsThisHelpId());
    vsSpin_->setProperty("WhatsThisHelpID", site()->whatsThisHelpId());
    tbSpin_->setToolTip(site()->toolTipText());
  }
}

QVariantList SpinBox::MouseArgs(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                QPointF position) const {
  // The host gets twips of the control; the text box lies 2 pixels below its top.
  const QPointF inControl = position + QPointF(tbSpin_->pos());
  return automation::MouseEventArgs(buttons, modifiers,
                                    static_cast<float>(core::PixelsToTwips(inControl.x())),
                                    static_cast<float>(core::PixelsToTwips(inControl.y())));
}

QVariantList SpinBox::DragArgs(const QDropEvent& drop, std::optional<std::int16_t> state) const {
  const QPointF inControl = drop.position() + QPointF(tbSpin_->pos());
  const std::int32_t effect =
      drop.dropAction() == Qt::MoveAction ? automation::kDropEffectMove : automation::kDropEffectCopy;
  return automation::DragEventArgs(automation::DataObject::FromMimeData(drop.mimeData()), effect,
                                   automation::ButtonMask(drop.buttons()),
                                   automation::ShiftMask(drop.modifiers()),
                                   static_cast<float>(core::PixelsToTwips(inControl.x())),
                                   static_cast<float>(core::PixelsToTwips(inControl.y())), state);
}

bool SpinBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tbSpin_) return FilterTextBoxEvent(event);
  return QWidget::eventFilter(watched, event);
}

bool SpinBox::FilterTextBoxEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto& key = static_cast<const QKeyEvent&>(*event);
      const std::int16_t code = automation::KeyCodeOf(key);
      const std::int16_t shift = automation::ShiftMask(key.modifiers());
      if (code == keycode::kA && (shift & automation::kCtrlKey) != 0) {
        tbSpin_->setSelection(0, static_cast<int>(tbSpin_->text().size()));
      } else if ((shift & automation::kAltKey) != 0 &&
                 (code == keycode::kUp || code == keycode::kDown)) {
        // Alt+Up lowers and Alt+Down raises, unlike the bar's arrows.
        const double step = SmallChange();
        const double now = LeadingNumber(tbSpin_->text());
        const QString text = NumberText(code == keycode::kUp ? now - step : now + step);
        if (tbSpin_->text() != text) tbSpin_->setText(text);
      }
      Raise(eventid::KeyDown, automation::KeyEventArgs(code, shift));
      if (const std::int16_t ascii = automation::KeyAsciiOf(key); ascii != 0) {
        Raise(eventid::KeyPress, automation::KeyPressArgs(ascii));
      }
      return false;  // the text box handles the key as usual
    }
    case QEvent::KeyRelease: {
      const auto& key = static_cast<const QKeyEvent&>(*event);
      Raise(eventid::KeyUp, automation::KeyEventArgs(key));
      return false;
    }
    case QEvent::MouseButtonPress: {
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      suppressMenu_ = false;
      if (mouse.button() == Qt::RightButton && automation::ShiftMask(mouse.modifiers()) == 0 &&
          customMenu_) {
        // The host shows its own menu: the built-in one stays closed, and the
        // selection and the focus stay on the text.
        const int start = tbSpin_->selectionStart();
        const int length = static_cast<int>(tbSpin_->selectedText().size());
        const int caret = tbSpin_->cursorPosition();
        suppressMenu_ = true;
        if (start >= 0) {
          tbSpin_->setSelection(caret == start ? start + length : start,
                                caret == start ? -length : length);
        } else {
          tbSpin_->setCursorPosition(caret);
        }
        tbSpin_->setFocus(Qt::MouseFocusReason);
      }
      Raise(eventid::MouseDown, MouseArgs(mouse.button(), mouse.modifiers(), mouse.position()));
      return false;
    }
    case QEvent::MouseMove: {
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      Raise(eventid::MouseMove, MouseArgs(mouse.buttons(), mouse.modifiers(), mouse.position()));
      return false;
    }
    case QEvent::MouseButtonRelease: {
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      Raise(eventid::MouseUp, MouseArgs(mouse.button(), mouse.modifiers(), mouse.position()));
      if (mouse.button() == Qt::LeftButton && tbSpin_->rect().contains(mouse.position().toPoint())) {
        Raise(eventid::Click);
      }
      return false;
    }
    case QEvent::MouseButtonDblClick: Raise(eventid::DblClick); return false;
    case QEvent::ContextMenu: {
      const auto& menu = static_cast<const QContextMenuEvent&>(*event);
      if (menu.reason() == QContextMenuEvent::Mouse && suppressMenu_) {
        suppressMenu_ = false;
        return true;
      }
      return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      if (oleDropMode_ != 1) return false;
      auto& drag = static_cast<QDragMoveEvent&>(*event);
      Raise(eventid::OLEDragOver,
            DragArgs(drag, event->type() == QEvent::DragEnter ? automation::kDragEnter
                                                              : automation::kDragOver));
      drag.acceptProposedAction();
      return true;  // manual mode: the text box itself takes nothing
    }
    case QEvent::DragLeave: {
      if (oleDropMode_ != 1) return false;
      Raise(eventid::OLEDragOver, automation::DragEventArgs({}, automation::kDropEffectNone, 0, 0, 0.0f,
                                                            0.0f, automation::kDragLeave));
      return true;
    }
    case QEvent::Drop: {
      if (oleDropMode_ != 1) return false;
      auto& drop = static_cast<QDropEvent&>(*event);
      Raise(eventid::OLEDragDrop, DragArgs(drop, std::nullopt));
      drop.acceptProposedAction();
      return true;
    }
    default: return false;
  }
}

// ---- Life cycle and property bag ----

void SpinBox::InitProperties() {
  // A new spin box starts with a copy of its container's font.
  QWidget* container =
      site() != nullptr && site()->container() != nullptr ? site()->container() : parentWidget();
  const QFont base = container != nullptr ? container->font() : QWidget::font();
  SetFont(std::make_shared<automation::FontObject>(automation::FontObject::FromQFont(base)));
}

void SpinBox::ReadProperties(const automation::PropertyBag& bag) {
  using namespace automation;
  // A key that fails to read or to apply is skipped.
  ReadKey([&] { LetBackColor(ToColor(bag.read("BackColor", Color(0x80000005u)))); });
  ReadKey([&] {
    const QVariant v = bag.read("CustomMenu");
    customMenu_ = v.isValid() && ToBool(v);
  });
  ReadKey([&] { setEnabled(ToBool(bag.read("Enabled", true))); });
  ReadKey([&] {
    const FontRef font = FontOf(bag.read("Font", QVariant::fromValue(font_)));
    if (!font) throw AutomationError(kErrObjectRequired);
    SetFont(font);
  });
  ReadKey([&] { LetForeColor(ToColor(bag.read("ForeColor", Color(0x80000008u)))); });
  ReadKey([&] { LetMax(ToInt16(bag.read("Max", max_))); });
  ReadKey([&] { LetMin(ToInt16(bag.read("Min", min_))); });
  ReadKey([&] {
    const QVariant icon = bag.read("MouseIcon", QVariant::fromValue(QImage()));
    if (icon.isValid() && !IsPicture(icon)) throw AutomationError(kErrTypeMismatch);
    SetMouseIcon(PictureOf(icon));
  });
  ReadKey([&] { LetMousePointer(ToInt32(bag.read("MousePointer", 0))); });
  ReadKey([&] { LetOLEDragMode(ToInt32(bag.read("OLEDragMode", 0))); });
  ReadKey([&] { LetOLEDropMode(ToInt32(bag.read("OLEDropMode", 0))); });
  ReadKey([&] { LetSmallChange(ToInt16(bag.read("SmallChange", SmallChange()))); });
  ReadKey([&] {
    const QVariant v = bag.read("Value");
    // Written as it stands: the change handler clamps it and raises Change.
    tbSpin_->setText(v.isValid() ? ToText(v) : QString());
  });
  if (site() != nullptr) {
    tbSpin_->setProperty("HelpContextID", site()->helpContextId());
    vsSpin_->setProperty("HelpContextID", site()->helpContextId());
    tbSpin_->setProperty("WhatsThisHelpID", site()->whatsThisHelpId());
    vsSpin_->setProperty("WhatsThisHelpID", site()->whatsThisHelpId());
    tbSpin_->setToolTip(site()->toolTipText());
  }
}

void SpinBox::WriteProperties(automation::PropertyBag& bag) {
  bag.write("BackColor", Color(backColor_));
  bag.write("CustomMenu", customMenu_);
  bag.write("Enabled", isEnabled());
  bag.write("Font", QVariant::fromValue(font_));
  bag.write("ForeColor", Color(foreColor_));
  bag.write("Max", max_);
  bag.write("Min", min_);
  bag.write("MouseIcon", QVariant::fromValue(mouseIcon_));
  bag.write("MousePointer", QVariant::fromValue<std::int16_t>(static_cast<std::int16_t>(mousePointer_)));
  bag.write("OLEDragMode", QVariant::fromValue<std::int16_t>(static_cast<std::int16_t>(oleDragMode_)));
  bag.write("OLEDropMode", QVariant::fromValue<std::int16_t>(static_cast<std::int16_t>(oleDropMode_)));
  bag.write("SmallChange", SmallChange());
  bag.write("Value", tbSpin_->text());
}

// ---- Registration ----

void RegisterSpinBoxClass() {
  static automation::ClassFactoryOf<SpinBox> factory;
  automation::RegisterInProcessClass(
      {QString::fromLatin1(kClassId), QString::fromLatin1(kProgId), &factory});
}

}  // namespace morvane::spinbox
