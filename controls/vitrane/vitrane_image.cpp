#include "controls/vitrane/vitrane_image.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <utility>

#include "controls/kit/control_kit.h"
#include "controls/vitrane/vitrane_helpers.h"
#include "controls/vitrane/vitrane_typelib.h"
#include "platform/core/colors.h"
#include "platform/core/units.h"
#include "platform/gui/ole_color.h"
#include "platform/widgets/automation/control_events.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::vitrane {

namespace {

constexpr std::uint32_t kWhite = 0xffffff;
constexpr std::int32_t kTwips = core::kTwipsPerPixel;
// A stop icon with a Help button (the help file's context 203).
constexpr std::int32_t kMenuConflictStyle = 0x4000 | core::kMbIconStop;

QRgb PixelOf(std::uint32_t color) { return gui::ResolveColor(color); }

bool IsShaping(std::int32_t style) {
  return style == VitraneParentTitled || style == VitraneParentUntitled;
}

float Twips(double pixels) { return static_cast<float>(pixels * kTwips); }

}  // namespace

VitraneImage::VitraneImage(QWidget* parent)
    : QWidget(parent), pointer_([this](const char* property) { AnnounceChange(property); }) {
  // MouseMove reaches the host without a button held, too.
  setMouseTracking(true);
}

VitraneImage::~VitraneImage() {
  if (followed_ != nullptr) followed_->removeEventFilter(this);
  automation::HandleTable::Release(&shown_);
}

bool VitraneImage::UserMode() const {
  return site() == nullptr || site()->ambient(QStringLiteral("UserMode"), true).toBool();
}

bool VitraneImage::Aligned() const { return property("Align").toInt() != 0; }

QWidget* VitraneImage::Form() const {
  // The parent form is the window that holds the control, through any frames and
  // panels between; a hosted control on the way (a user control) is the parent instead.
  for (QWidget* up = parentWidget(); up != nullptr; up = up->parentWidget()) {
    if (dynamic_cast<automation::Control*>(up) != nullptr || up->isWindow()) return up;
  }
  return nullptr;
}

void VitraneImage::ApplyFormRegion(QWidget* form) {
  // The region is cut with the mask colour the control shows, and lies where the
  // control lies in the window, so the form keeps exactly the pixels shown.
  std::optional<QRegion> region = CutWindowRegion(form, shown_, maskColorShown_, true);
  if (!region) return;
  region->translate(mapTo(form, QPoint(0, 0)));
  SetWindowRegion(form, *region);
}

// --- life cycle -------------------------------------------------------------------

void VitraneImage::InitProperties() {
  maskColor_ = kWhite;
  setFocusPolicy(Qt::ClickFocus);  // the extender's TabStop := False
  update();
}

void VitraneImage::ReadProperties(const automation::PropertyBag& bag) {
  using namespace automation;
  const PropertyReading reading(*this);
  ReadKey([&] { LetEnabled(ToBool(bag.read("Enabled", true))); });
  ReadKey([&] {
    if (bag.contains("FillColor")) LetFillColor(ToColor(bag.read("FillColor")));
  });
  ReadKey([&] {
    if (bag.contains("MouseIcon")) {
      const QVariant icon = bag.read("MouseIcon");
      if (icon.isValid() && !IsPicture(icon)) throw AutomationError(kErrTypeMismatch);
      SetMouseIcon(PictureOf(icon));
    }
  });
  ReadKey([&] {
    if (bag.contains("MousePointer")) LetMousePointer(ToInt16(bag.read("MousePointer")));
  });
  ReadKey([&] { maskColor_ = ToColor(bag.read("MaskColor", FromColor(kWhite))); });
  std::int32_t autoSize = autoSize_;
  ReadKey([&] {
    if (bag.contains("AutoSize")) autoSize_ = autoSize = ToInt32(bag.read("AutoSize"));
  });
  keepMaskColor_ = true;
  ReadKey([&] {
    if (bag.contains("Picture")) {
      const QVariant picture = bag.read("Picture");
      if (picture.isValid() && !IsPicture(picture)) throw AutomationError(kErrTypeMismatch);
      SetPicture(picture);
    }
  });
  keepMaskColor_ = false;
  autoSize_ = autoSize;
  ReadKey([&] {
    if (bag.contains("MaskPicture")) {
      const QVariant picture = bag.read("MaskPicture");
      if (picture.isValid() && !IsPicture(picture)) throw AutomationError(kErrTypeMismatch);
      SetMaskPicture(picture);
    }
  });
  ReadKey([&] {
    if (bag.contains("DrawEffect")) LetDrawEffect(ToInt32(bag.read("DrawEffect")));
  });
  ReadKey([&] {
    if (bag.contains("ParentTitleOffset")) parentTitleOffset_ = ToInt16(bag.read("ParentTitleOffset"));
  });
  ReadKey([&] {
    if (bag.contains("ParentTitleY")) parentTitleY_ = ToInt16(bag.read("ParentTitleY"));
  });
  ReadKey([&] {
    if (bag.contains("Style")) LetStyle(ToInt32(bag.read("Style")));
  });
  ReadKey([&] {
    if (bag.contains("TitleLeft")) title_.left = ToInt32(bag.read("TitleLeft"));
  });
  ReadKey([&] {
    if (bag.contains("TitleTop")) title_.top = ToInt32(bag.read("TitleTop"));
  });
  ReadKey([&] {
    if (bag.contains("TitleWidth")) title_.width = ToInt32(bag.read("TitleWidth"));
  });
  ReadKey([&] {
    if (bag.contains("TitleHeight")) LetTitleHeight(ToInt32(bag.read("TitleHeight")));
  });
  // Last, so that the stored AutoSize (a PictureToControl stretch) wins over the
  // picture and draw effect read before it.
  ReadKey([&] { ResizeProcedure(); });
  if (UserMode() && style_ != VitraneParentUntitled) FollowWindow();
  update();
}

void VitraneImage::WriteProperties(automation::PropertyBag& bag) {
  using automation::FromColor;
  bag.write("AutoSize", AutoSize());
  bag.write("DrawEffect", DrawEffect());
  bag.write("Enabled", Enabled());
  bag.write("FillColor", FromColor(FillColor()));
  bag.write("ParentTitleOffset", parentTitleOffset_);
  bag.write("ParentTitleY", parentTitleY_);
  bag.write("Style", style_);
  bag.write("MaskColor", FromColor(MaskColor()));
  bag.write("MaskPicture", MaskPicture());
  bag.write("MouseIcon", MouseIcon().isNull() ? QVariant() : QVariant::fromValue(MouseIcon()));
  bag.write("MousePointer", static_cast<std::int32_t>(MousePointer()));
  bag.write("Picture", Picture());
  bag.write("TitleLeft", title_.left);
  bag.write("TitleTop", title_.top);
  bag.write("TitleWidth", title_.width);
  bag.write("TitleHeight", title_.height);
}

// --- picture display --------------------------------------------------------------

void VitraneImage::ShowStored() {
  shown_ = picture_;
  if (autoSize_ == PictureToControl && !picture_.isNull() && width() > 0 && height() > 0 &&
      picture_.size() != size()) {
    const bool icon = IsIcon(picture_);
    shown_ = picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (icon) shown_ = MarkedAsIcon(shown_);
  }
  update();
}

void VitraneImage::RebuildMask() {
  std::optional<QRegion> region;
  if (!hasMaskPicture_ && IsIcon(shown_)) {
    autoSize_ = ControlToPicture;
    maskColor_ = kWhite;
  }
  // A system colour is resolved here once; the form's region uses the same colour.
  const QRgb maskRgb = PixelOf(maskColor_);
  maskColorShown_ = gui::QRgbToOle(maskRgb);
  if (!hasMaskPicture_) {
    region = IsIcon(shown_) ? RegionOfPicture(shown_, 0) : RegionOfPicture(shown_, maskRgb);
  } else {
    region = RegionOfPicture(maskPicture_, maskRgb);
  }
  shape_ = region.value_or(QRegion());
  if (!region) {
    clearMask();
  } else if (shape_.isEmpty()) {
    setMask(QRegion(-1, -1, 1, 1));  // Qt reads an empty mask as "no mask"
  } else {
    setMask(shape_);
  }
  update();
}

void VitraneImage::ResizeProcedure() {
  if (resizeDepth_ > 0) return;
  update();  // the border lines follow the edges
  if (Aligned()) {
    style_ = Normal;
    if (autoSize_ == ControlToPicture) autoSize_ = None;
  }
  if (autoSize_ == None || picture_.isNull()) return;
  ++resizeDepth_;
  if (autoSize_ == ControlToPicture) {
    resize(picture_.size());
  } else if (autoSize_ == PictureToControl) {
    ShowStored();
    RebuildMask();
  }
  Raise(eventid::Resize);
  --resizeDepth_;
}

void VitraneImage::SetPicture(const QVariant& value) {
  picture_ = automation::PictureOf(value);
  if (autoSize_ == PictureToControl) {
    ResizeProcedure();
  } else {
    ShowStored();
    if (!keepMaskColor_) maskColor_ = picture_.isNull() ? kWhite : CornerColor(shown_);
    autoSize_ = ControlToPicture;
    ResizeProcedure();
    RebuildMask();
  }
  keepMaskColor_ = false;
  LetDrawEffect(drawEffect_);
  autoSize_ = IsIcon(picture_) ? ControlToPicture : None;
  update();
  AnnounceChange("Picture");
}

QVariant VitraneImage::Picture() const {
  return picture_.isNull() ? QVariant() : QVariant::fromValue(picture_);
}

void VitraneImage::LetAutoSize(std::int32_t value) {
  if (value == autoSize_) return;
  if (Aligned() && value == ControlToPicture) value = None;
  if (!picture_.isNull()) {
    if (IsIcon(picture_)) {
      autoSize_ = ControlToPicture;
      AnnounceChange("AutoSize");
      return;
    }
    if (value != PictureToControl && autoSize_ == PictureToControl) {
      keepMaskColor_ = true;
      autoSize_ = value;  // so that the picture is shown unstretched again
      SetPicture(Picture());
    }
  }
  LetDrawEffect(deNormal);
  autoSize_ = value;
  ResizeProcedure();
  AnnounceChange("AutoSize");
}

void VitraneImage::ApplyEffect(std::int32_t effect) {
  const QRgb highlight = PixelOf(core::SystemColorValue(core::SystemColor::kButtonHighlight));
  if (effect == deDisabled) {
    const QRgb back = palette().color(backgroundRole()).rgb();
    const QRgb shadow = PixelOf(core::SystemColorValue(core::SystemColor::kButtonShadow));
    shown_ = DisabledLook(shown_, back, shadow, highlight);
  } else {
    // The effects' colour: the union's chequer is drawn in FillColor.
    shown_ = UnionLook(shown_, PixelOf(fillColor_));
  }
  update();
}

void VitraneImage::LetDrawEffect(std::int32_t value) {
  if (picture_.isNull()) return;
  if (value == deNormal) {
    ShowStored();
  } else if (value == deDisabled || value == deUnion) {
    autoSize_ = ControlToPicture;
    if (drawEffect_ != deNormal) ShowStored();
    ApplyEffect(value);
  }
  drawEffect_ = value;
  AnnounceChange("DrawEffect");
}

void VitraneImage::LetMaskColor(std::uint32_t color) {
  if (picture_.isNull() || IsIcon(picture_)) color = kWhite;
  if (color == maskColor_) return;
  maskColor_ = color;
  RebuildMask();
  AnnounceChange("MaskColor");
}

QVariant VitraneImage::MaskPicture() const {
  return hasMaskPicture_ ? QVariant::fromValue(maskPicture_) : QVariant();
}

void VitraneImage::SetMaskPicture(const QVariant& picture) {
  const bool has = picture.isValid();
  const QImage image = automation::PictureOf(picture);
  if (has == hasMaskPicture_ && image == maskPicture_) return;
  hasMaskPicture_ = has;
  maskPicture_ = image;
  RebuildMask();
  AnnounceChange("MaskPicture");
}

void VitraneImage::LetEnabled(bool on) {
  setEnabled(on);
  AnnounceChange("Enabled");
}

void VitraneImage::LetFillColor(std::uint32_t color) {
  if (color == fillColor_) return;
  fillColor_ = color;
  LetDrawEffect(drawEffect_);
  AnnounceChange("FillColor");
}

void VitraneImage::LetParentTitleOffset(std::int32_t offset) {
  parentTitleOffset_ = static_cast<std::int16_t>(std::clamp<std::int32_t>(offset, 0, 32767));
  AnnounceChange("ParentTitleOffset");
}

void VitraneImage::LetParentTitleY(std::int16_t y) {
  parentTitleY_ = y;
  AnnounceChange("ParentTitleY");
}

void VitraneImage::LetTitleLeft(std::int32_t twips) {
  if (twips < 0) return;
  title_.left = twips;
  AnnounceChange("TitleLeft");
}

void VitraneImage::LetTitleTop(std::int32_t twips) {
  title_.top = twips;
  AnnounceChange("TitleTop");
}

void VitraneImage::LetTitleWidth(std::int32_t twips) {
  title_.width = twips;
  LetTitleHeight(title_.height);
  AnnounceChange("TitleWidth");
}

void VitraneImage::LetTitleHeight(std::int32_t twips) {
  title_.height = twips;
  if (!UserMode() && twips == 0 && title_.width > 0) {
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    title_.height = (caption - 1) * kTwips;
  }
  AnnounceChange("TitleHeight");
}

automation::Handle VitraneImage::hDC() const { return automation::HandleTable::HandleOf(&shown_); }

automation::Handle VitraneImage::hWnd() {
  return automation::HandleTable::HandleOf(static_cast<QObject*>(this));
}

QString VitraneImage::Version() const { return LibraryVersion(); }

void VitraneImage::AboutBox() { ShowAboutBox(); }

// --- parent window ----------------------------------------------------------------

StyleFacts VitraneImage::StyleFactsFor(QWidget* form) const {
  StyleFacts facts;
  facts.hasExtender = HasExtender();
  facts.aligned = Aligned();
  facts.parentHasControls = form != nullptr;
  facts.current = style_;
  facts.parentIsForm = form != nullptr && form->isWindow();
  facts.userMode = UserMode();
  facts.name = site() != nullptr ? site()->name() : objectName();
  if (form == nullptr) return facts;
  const Qt::WindowFlags flags = form->windowFlags();
  facts.parentHasBorder = !flags.testFlag(Qt::FramelessWindowHint);
  facts.parentHasControlBox =
      flags.testFlag(Qt::WindowSystemMenuHint) || flags.testFlag(Qt::WindowCloseButtonHint);
  facts.formHasMenu = form->findChild<QMenuBar*>() != nullptr;
  // The class has no meta-object of its own, so its instances are told apart by type.
  for (QWidget* child : form->findChildren<QWidget*>()) {
    const auto* other = dynamic_cast<const VitraneImage*>(child);
    if (other != nullptr && other != this && IsShaping(other->style_)) {
      facts.otherShaped = other->site() != nullptr ? other->site()->name() : other->objectName();
      break;
    }
  }
  return facts;
}

void VitraneImage::LetStyle(std::int32_t value) {
  QWidget* form = Form();
  const StyleDecision decision = DecideStyle(StyleFactsFor(form), value);
  switch (decision.outcome) {
    case StyleOutcome::Ignore: return;
    case StyleOutcome::Refuse:
      throw automation::AutomationError(automation::kErrInvalidPropertyValue, decision.error,
                                        ErrorSource());
    case StyleOutcome::StoreNormal: value = Normal; break;
    case StyleOutcome::MenuConflict:
      ShowMenuConflict();
      value = Normal;
      break;
    case StyleOutcome::Store:
      if (UserMode()) UndoStyle(form);
      break;
    case StyleOutcome::Apply:
      if (UserMode()) UndoStyle(form);
      if (value == ParentCustomTitled) {
        style_ = value;
        SyncCaption();
      } else {
        ShapeForm(form, value);
      }
      break;
  }
  style_ = value;
  AnnounceChange("Style");
}

void VitraneImage::ShowMenuConflict() {
  core::MessageBoxRequest request;
  request.text = MenuConflictText().toStdString();
  request.caption = kClassName;
  request.style = kMenuConflictStyle;
  MessageBoxes().Show(request);
}

void VitraneImage::UndoStyle(QWidget* form) {
  if (style_ == ParentCustomTitled) {
    SetFormCaption(form, parentCaption_);
  } else if (IsShaping(style_)) {
    form->clearMask();
  }
}

void VitraneImage::ShapeForm(QWidget* form, std::int32_t value) {
  if (!picture_.isNull()) LetAutoSize(ControlToPicture);
  LetDrawEffect(deNormal);
  if (!UserMode()) {
    // The form's design: a shaped form without a title has no frame and no buttons;
    // one that keeps its title cannot be maximised.
    Qt::WindowFlags flags = form->windowFlags();
    if (value == VitraneParentUntitled) {
      flags |= Qt::FramelessWindowHint;
      flags &= ~(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    } else {
      flags &= ~Qt::WindowMaximizeButtonHint;
    }
    form->setWindowFlags(flags);
  }
  // The client area's top left is the window's on a form without frame; a framed
  // form keeps its frame outside the client area, which the picture fills.
  if (pos() != QPoint(0, 0)) move(0, 0);
  if (value == VitraneParentTitled) form->resize(size());
  if (UserMode()) {
    const bool enabled = form->isEnabled();
    form->setEnabled(false);
    ApplyFormRegion(form);
    form->setEnabled(enabled);
  }
}

void VitraneImage::SetFormCaption(QWidget* form, const QString& text) {
  if (form == nullptr) return;
  captionSetting_ = true;
  form->setWindowTitle(text);
  captionSetting_ = false;
}

void VitraneImage::SyncCaption() {
  if (style_ != ParentCustomTitled) return;
  QWidget* form = Form();
  if (form == nullptr || !HasExtender()) return;
  // The window manager draws the title bar, so the whole caption goes there.
  if (parentCaption_.isEmpty()) parentCaption_ = form->windowTitle();
  if (form->windowTitle() != parentCaption_) SetFormCaption(form, parentCaption_);
}

void VitraneImage::FollowWindow() {
  QWidget* target = window();
  if (target == this || target == followed_) return;
  if (followed_ != nullptr) followed_->removeEventFilter(this);
  followed_ = target;
  followed_->installEventFilter(this);
}

bool VitraneImage::eventFilter(QObject* watched, QEvent* event) {
  if (watched != followed_) return false;
  automation::CatchAtEventBoundary([&] {
    switch (event->type()) {
      case QEvent::Resize:
      case QEvent::WindowStateChange: WindowProcSimulation(message::kSize, 0, 0); break;
      case QEvent::ActivationChange:
        WindowProcSimulation(message::kActivate, followed_->isActiveWindow() ? 1 : 0, 0);
        break;
      case QEvent::WindowTitleChange: WindowProcSimulation(message::kStyleChanged, 0, 0); break;
      default: break;
    }
  });
  return false;
}

void VitraneImage::WindowProcSimulation(std::int32_t message, std::int32_t wParam,
                                        std::int32_t /*lParam*/) {
  if (captionSetting_) return;
  switch (message) {
    case message::kSize:
    case message::kStyleChanged: SyncCaption(); break;
    case message::kActivate: parentInactive_ = (wParam & 0xffff) == 0; break;
    default: break;
  }
}

void VitraneImage::TitleArea(std::int32_t left, std::int32_t top, std::int32_t width,
                             const QVariant& height) {
  title_.left = left;
  title_.top = top;
  title_.width = width;
  if (height.isValid()) title_.height = automation::ToInt32(height);
}

void VitraneImage::Refresh(const QVariant& timer) {
  if (timer.isValid() && !automation::ToBool(timer)) return;
  keepMaskColor_ = true;
  SetPicture(QVariant::fromValue(shown_));
  if (IsShaping(style_) && Form() != nullptr) ApplyFormRegion(Form());
  update();
}

// --- painting and input -----------------------------------------------------------

void VitraneImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!shown_.isNull()) {
    painter.drawImage(0, 0, shown_);
    return;
  }
  if (UserMode()) return;
  // At design time an empty control shows its edges in a colour that stands out.
  const QRgb back = palette().color(backgroundRole()).rgb();
  const std::uint32_t line = ContrastColor(gui::QRgbToOle(back));
  painter.setPen(QColor::fromRgb(gui::OleToQRgb(line)));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void VitraneImage::resizeEvent(QResizeEvent*) {
  automation::CatchAtEventBoundary([&] { ResizeProcedure(); });
}

void VitraneImage::mousePressEvent(QMouseEvent* event) {
  const QPointF pos = event->position();
  if (style_ == VitraneParentUntitled || style_ == ParentClingingArea) {
    const auto x = static_cast<std::int64_t>(std::nearbyint(pos.x() * kTwips));
    const auto y = static_cast<std::int64_t>(std::nearbyint(pos.y() * kTwips));
    if (event->button() == Qt::LeftButton && StartsTitleDrag(title_, x, y)) {
      QWidget* form = window();
      if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
          form->windowHandle() != nullptr) {
        // The compositor moves the window; the release may then never reach us.
        form->windowHandle()->startSystemMove();
      } else {
        dragging_ = true;
        dragStartGlobal_ = event->globalPosition().toPoint();
        formStart_ = form->pos();
      }
    }
  }
  Raise(eventid::MouseDown,
        automation::MouseEventArgs(event->button(), event->modifiers(), Twips(pos.x()), Twips(pos.y())));
}

void VitraneImage::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) window()->move(formStart_ + (event->globalPosition().toPoint() - dragStartGlobal_));
  const QPointF pos = event->position();
  Raise(eventid::MouseMove, automation::MouseEventArgs(event->buttons(), event->modifiers(),
                                                       Twips(pos.x()), Twips(pos.y())));
}

void VitraneImage::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  const bool afterDoubleClick = std::exchange(doubleClicked_, false);
  const QPointF pos = event->position();
  Raise(eventid::MouseUp,
        automation::MouseEventArgs(event->button(), event->modifiers(), Twips(pos.x()), Twips(pos.y())));
  // A click is a left press and release on the control; the release that ends a
  // double click makes none of its own.
  if (event->button() == Qt::LeftButton && !afterDoubleClick && rect().contains(pos.toPoint()))
    Raise(eventid::Click);
}

void VitraneImage::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  doubleClicked_ = true;
  Raise(eventid::DblClick);
}

void VitraneImage::keyPressEvent(QKeyEvent* event) {
  Raise(eventid::KeyDown, automation::KeyEventArgs(*event));
  const std::int16_t ascii = automation::KeyAsciiOf(*event);
  if (ascii != 0) Raise(eventid::KeyPress, automation::KeyPressArgs(ascii));
}

void VitraneImage::keyReleaseEvent(QKeyEvent* event) {
  Raise(eventid::KeyUp, automation::KeyEventArgs(*event));
}

}  // namespace morvane::vitrane
