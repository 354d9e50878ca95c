#include "controls/linkbox/linkbox.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>

#include <cmath>

#include "controls/linkbox/linkbox_typelib.h"
#include "common/value_helpers.h"
#include "controls/kit/control_kit.h"
#include "platform/widgets/automation/control_events.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/handle_table.h"
#include "platform/widgets/automation/inprocess_classes.h"
#include "platform/widgets/automation/variant_args.h"
#include "platform/widgets/desktop_services.h"
#include "platform/core/units.h"

namespace morvane::linkbox {

using automation::AutomationError;
using automation::DispId;
using automation::Invoke;
using automation::MemberTable;

namespace {

constexpr int kHotTrackingInterval = 100;  // ms

QVariant Color(std::uint32_t c) { return automation::FromColor(c); }

Qt::Alignment LabelAlignment(std::int32_t alignment) {
  switch (alignment) {
    case RightJustify: return Qt::AlignRight | Qt::AlignTop;
    case Center: return Qt::AlignHCenter | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;
  }
}

}  // namespace

const MemberTable<LinkBox>& LinkBox::Members() {
  using namespace automation;  // the conversions of the table
  static const MemberTable<LinkBox> table{
      {dispid::Alignment, "Alignment", MORVANE_GET(c.Alignment()),
       MORVANE_PUT(c.LetAlignment(ToInt32(Arg(a, 0))))},
      {dispid::AutoSize, "AutoSize", MORVANE_GET(c.AutoSize()),
       MORVANE_PUT(c.LetAutoSize(ToBool(Arg(a, 0))))},
      {dispid::BackColor, "BackColor", MORVANE_GET(Color(c.BackColor())),
       MORVANE_PUT(c.LetBackColor(ToColor(Arg(a, 0))))},
      {dispid::Caption, "Caption", MORVANE_GET(c.Caption()),
       MORVANE_PUT(c.LetCaption(ToText(Arg(a, 0))))},
      {dispid::CaptionIsPath, "CaptionIsPath", MORVANE_GET(c.CaptionIsPath()),
       MORVANE_PUT(c.LetCaptionIsPath(ToBool(Arg(a, 0))))},
      {dispid::Enabled, "Enabled", MORVANE_GET(c.Enabled()),
       MORVANE_PUT(c.LetEnabled(ToBool(Arg(a, 0))))},
      {dispid::Font, "Font", MORVANE_GET(QVariant::fromValue(c.Font())), nullptr,
       MORVANE_PUT(c.SetFont(automation::FontOf(Arg(a, 0))))},
      {dispid::ForeColor, "ForeColor", MORVANE_GET(Color(c.ForeColor())),
       MORVANE_PUT(c.LetForeColor(ToColor(Arg(a, 0))))},
      {dispid::HotTracking, "HotTracking", MORVANE_GET(c.HotTracking()),
       MORVANE_PUT(c.LetHotTracking(ToBool(Arg(a, 0))))},
      {dispid::Path, "Path", MORVANE_GET(c.Path()), MORVANE_PUT(c.LetPath(ToText(Arg(a, 0))))},
      {dispid::hDC, "hDC", MORVANE_GET(c.hDC())},
      {dispid::hWnd, "hWnd", MORVANE_GET(c.hWnd())},
      {dispid::Version, "Version", MORVANE_GET(kit::VersionText())},
      {dispid::AboutBox, "AboutBox", nullptr, nullptr, nullptr, MORVANE_DO(kit::ShowAboutBox(&c))},
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

LinkBox::LinkBox(QWidget* parent)
    : QWidget(parent), tlCaption_(new QLabel(this)), toHotTracking_(new QTimer(this)) {
  setObjectName(QStringLiteral("LinkBox"));
  tlCaption_->setObjectName(QStringLiteral("tlCaption"));
  toHotTracking_->setObjectName(QStringLiteral("toHotTracking"));
  tlCaption_->setTextFormat(Qt::PlainText);
  tlCaption_->setText(QStringLiteral("LinkBox"));
  tlCaption_->setAlignment(LabelAlignment(alignment_));
  tlCaption_->setAutoFillBackground(true);
  tlCaption_->setMouseTracking(true);
  tlCaption_->setCursor(Qt::PointingHandCursor);
  tlCaption_->installEventFilter(this);
  toHotTracking_->setInterval(kHotTrackingInterval);
  connect(toHotTracking_, &QTimer::timeout, this, [this] { OnTimer(); });
  setFocusPolicy(Qt::StrongFocus);
  font_ = std::make_shared<automation::FontObject>(automation::FontObject::FromQFont(QWidget::font()));
  ApplyFont();
  ApplyColors();
  Layout();
}

LinkBox::~LinkBox() { automation::HandleTable::Release(&surfaceTag_); }

// ---- Properties ----

void LinkBox::LetAlignment(std::int32_t alignment) {
  if (alignment < LeftJustify || alignment > Center)
    throw AutomationError(automation::kErrInvalidPropertyValue);
  if (alignment == alignment_) return;
  alignment_ = alignment;
  tlCaption_->setAlignment(LabelAlignment(alignment));
  Layout();
  AnnounceChange("Alignment");
}

void LinkBox::LetAutoSize(bool on) {
  autoSize_ = on;
  Layout();
  AnnounceChange("AutoSize");
}

void LinkBox::LetBackColor(std::uint32_t color) {
  if (color == backColor_) return;
  backColor_ = color;
  ApplyColors();
  AnnounceChange("BackColor");
}

QString LinkBox::Caption() const { return tlCaption_->text(); }

void LinkBox::LetCaption(const QString& caption) {
  if (caption == tlCaption_->text()) return;
  tlCaption_->setText(caption);
  Layout();
  AnnounceChange("Caption");
}

void LinkBox::LetCaptionIsPath(bool on) {
  captionIsPath_ = on;
  AnnounceChange("CaptionIsPath");
}

void LinkBox::LetEnabled(bool on) {
  setEnabled(on);
  AnnounceChange("Enabled");
}

void LinkBox::SetFont(const automation::FontRef& font) {
  if (!font) throw AutomationError(automation::kErrObjectRequired);
  if (font == font_) return;
  font_ = font;
  if (hotTracking_) hot_ = false;
  ApplyFont();
  Layout();
  AnnounceChange("Font");
}

void LinkBox::LetForeColor(std::uint32_t color) {
  foreColor_ = color;
  ApplyColors();
  AnnounceChange("ForeColor");
}

void LinkBox::LetHotTracking(bool on) {
  hotTracking_ = on;
  if (hotTracking_) ShowUnderline(false);
  AnnounceChange("HotTracking");
}

void LinkBox::LetPath(const QString& path) {
  path_ = path;
  AnnounceChange("Path");
}

std::int32_t LinkBox::hDC() const {
  return automation::HandleTable::HandleOf(static_cast<const void*>(&surfaceTag_));
}

std::int32_t LinkBox::hWnd() { return automation::HandleTable::HandleOf(static_cast<QObject*>(this)); }

void LinkBox::SetToolTipText(const std::optional<QString>& text) {
  tlCaption_->setToolTip(text ? *text : (site() != nullptr ? site()->toolTipText() : QString()));
}

std::int32_t LinkBox::TextHeight(const QString& text) const {
  return kit::TextHeightTwips(font_->ToQFont(), text);
}

std::int32_t LinkBox::TextWidth(const QString& text) const {
  return kit::TextWidthTwips(font_->ToQFont(), text);
}

bool LinkBox::Underlined() const { return tlCaption_->font().underline(); }

// ---- Showing ----

void LinkBox::ShowUnderline(bool on) {
  if (hot_ == on) return;
  hot_ = on;
  ApplyFont();
}

void LinkBox::ApplyFont() {
  // The hover underline goes on a copy; the font object keeps its own underline.
  QFont shown = font_->ToQFont();
  if (hot_) shown.setUnderline(true);
  setFont(font_->ToQFont());
  tlCaption_->setFont(shown);
}

void LinkBox::ApplyColors() {
  QPalette palette = tlCaption_->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Window, kit::ColorOf(backColor_));
    palette.setColor(group, QPalette::WindowText, kit::ColorOf(foreColor_));
  }
  palette.setColor(QPalette::Disabled, QPalette::Window, kit::ColorOf(backColor_));
  tlCaption_->setPalette(palette);
}

void LinkBox::Layout() {
  // An auto-sizing label fits its text at the top left and the control fits the
  // label; otherwise the label fills the control.
  tlCaption_->move(0, 0);
  if (autoSize_) {
    tlCaption_->adjustSize();
    if (size() != tlCaption_->size()) resize(tlCaption_->size());
  } else if (tlCaption_->size() != size()) {
    tlCaption_->resize(size());
  }
}

void LinkBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void LinkBox::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (site() != nullptr) {
    tlCaption_->setProperty("WhatsThisHelpID", site()->whatsThisHelpId());
    tlCaption_->setToolTip(site()->toolTipText());
  }
}

// ---- Input ----

void LinkBox::OnClick() {
  Raise(eventid::Click);
  QString target;
  if (!path_.isEmpty() && !captionIsPath_) {
    target = path_;
  } else if (!Caption().isEmpty() && captionIsPath_) {
    target = Caption();
  }
  if (target.isEmpty()) return;
  // A target that cannot be opened gives no message.
  widgets::Shell().Open(target);
}

void LinkBox::OnTimer() {
  // Both edges of the window rectangle count as inside.
  const QPoint topLeft = mapToGlobal(QPoint(0, 0));
  const QPoint pointer = QCursor::pos();
  const bool inside = common::InRange(pointer.x(), topLeft.x(), topLeft.x() + width()) &&
                      common::InRange(pointer.y(), topLeft.y(), topLeft.y() + height());
  if (!inside) {
    ShowUnderline(false);
    toHotTracking_->stop();
  }
}

QVariantList LinkBox::MouseArgs(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                QPointF position) const {
  const QPointF inControl = position + QPointF(tlCaption_->pos());
  return automation::MouseEventArgs(buttons, modifiers,
                                    static_cast<float>(core::PixelsToTwips(inControl.x())),
                                    static_cast<float>(core::PixelsToTwips(inControl.y())));
}

bool LinkBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched != tlCaption_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseMove: {
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      if (hotTracking_) {
        ShowUnderline(true);
        toHotTracking_->start();
      } else {
        toHotTracking_->stop();
      }
      Raise(eventid::MouseMove, MouseArgs(mouse.buttons(), mouse.modifiers(), mouse.position()));
      break;
    }
    case QEvent::MouseButtonPress: {
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      Raise(eventid::MouseDown, MouseArgs(mouse.button(), mouse.modifiers(), mouse.position()));
      break;
    }
    case QEvent::MouseButtonRelease: {
      const auto& mouse = static_cast<const QMouseEvent&>(*event);
      Raise(eventid::MouseUp, MouseArgs(mouse.button(), mouse.modifiers(), mouse.position()));
      if (mouse.button() == Qt::LeftButton && tlCaption_->rect().contains(mouse.position().toPoint())) {
        OnClick();
      }
      break;
    }
    default: break;
  }
  return false;
}

void LinkBox::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (hotTracking_) ShowUnderline(true);
}

void LinkBox::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (hotTracking_) ShowUnderline(false);
}

void LinkBox::keyPressEvent(QKeyEvent* event) {
  Raise(eventid::KeyDown, automation::KeyEventArgs(*event));
  if (const std::int16_t ascii = automation::KeyAsciiOf(*event); ascii != 0) {
    Raise(eventid::KeyPress, automation::KeyPressArgs(ascii));
  }
  QWidget::keyPressEvent(event);
}

void LinkBox::keyReleaseEvent(QKeyEvent* event) {
  Raise(eventid::KeyUp, automation::KeyEventArgs(*event));
  QWidget::keyReleaseEvent(event);
}

// ---- Life cycle and property bag ----

void LinkBox::InitProperties() {
  // The control's font is the label's; a new link opens its caption, in blue, with
  // hot tracking.
  LetCaptionIsPath(true);
  LetForeColor(foreColor_);
  LetHotTracking(true);
}

void LinkBox::ReadProperties(const automation::PropertyBag& bag) {
  using namespace automation;
  const PropertyReading reading(*this);
  ReadKey([&] {
    const QVariant v = bag.read("Alignment");
    LetAlignment(v.isValid() ? ToInt32(v) : 0);
  });
  ReadKey([&] { autoSize_ = ToBool(bag.read("AutoSize", false)); });
  ReadKey([&] { LetBackColor(ToColor(bag.read("BackColor", Color(backColor_)))); });
  ReadKey([&] { tlCaption_->setText(ToText(bag.read("Caption", Caption()))); });
  ReadKey([&] { captionIsPath_ = ToBool(bag.read("CaptionIsPath", true)); });
  ReadKey([&] { LetEnabled(ToBool(bag.read("Enabled", true))); });
  ReadKey([&] { SetFont(FontOf(bag.read("Font", QVariant::fromValue(font_)))); });
  ReadKey([&] { LetForeColor(ToColor(bag.read("ForeColor", Color(foreColor_)))); });
  ReadKey([&] { hotTracking_ = ToBool(bag.read("HotTracking", true)); });
  ReadKey([&] { LetPath(ToText(bag.read("Path", path_))); });
  Layout();
}

void LinkBox::WriteProperties(automation::PropertyBag& bag) {
  bag.write("Alignment", QVariant::fromValue<std::int16_t>(static_cast<std::int16_t>(alignment_)));
  bag.write("AutoSize", autoSize_);
  bag.write("BackColor", Color(backColor_));
  bag.write("Caption", Caption());
  bag.write("CaptionIsPath", captionIsPath_);
  bag.write("Enabled", isEnabled());
  bag.write("Font", QVariant::fromValue(font_));  // the font object, never the hover underline
  bag.write("ForeColor", Color(foreColor_));
  bag.write("HotTracking", hotTracking_);
  bag.write("Path", path_);
}

// ---- Registration ----

void RegisterLinkBoxClass() {
  static automation::ClassFactoryOf<LinkBox> factory;
  automation::RegisterInProcessClass(
      {QString::fromLatin1(kClassId), QString::fromLatin1(kProgId), &factory});
}

}  // namespace morvane::linkbox
