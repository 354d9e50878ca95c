#include "platform/widgets/keyed_tool_bar.h"

#include "platform/core/units.h"
#include "platform/widgets/lengths.h"

#include <QMouseEvent>
#include <QTextDocument>
#include <QToolButton>

namespace morvane::widgets {

namespace {
constexpr int kSeparatorWidth = 8;
}

void ToolBarButton::SetToolTip(const QString& text) {
  toolTip_ = text;
  Sync();
}

void ToolBarButton::SetImage(const QIcon& image) {
  image_ = image;
  Sync();
}

void ToolBarButton::SetEnabled(bool on) {
  enabled_ = on;
  Sync();
}

void ToolBarButton::SetValue(bool pressed) {
  value_ = pressed;
  Sync();
}

void ToolBarButton::SetVisible(bool on) {
  if (visible_ == on) return;
  visible_ = on;
  bar_->Relayout();
}

void ToolBarButton::SetWidth(double twips) {
  placeholderWidth_ = twips;
  bar_->Relayout();
}

double ToolBarButton::Left() const { return TwipsOf(rect_.x()); }
double ToolBarButton::Top() const { return TwipsOf(rect_.y()); }
double ToolBarButton::Width() const { return TwipsOf(rect_.width()); }
double ToolBarButton::Height() const { return TwipsOf(rect_.height()); }

void ToolBarButton::Sync() {
  if (!widget_) return;
  widget_->setIcon(image_);
  // The tool tip is the user's text: shown as it stands, never as markup.
  widget_->setToolTip(toolTip_.isEmpty() ? QString()
                                         : Qt::convertFromPlainText(toolTip_, Qt::WhiteSpaceNormal));
  widget_->setEnabled(enabled_);
  widget_->setCheckable(style_ == ButtonStyle::Check);
  widget_->setChecked(style_ == ButtonStyle::Check && value_);
  widget_->setDown(style_ != ButtonStyle::Check && value_);
}

KeyedToolBar::KeyedToolBar(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

KeyedToolBar::~KeyedToolBar() = default;

ToolBarButton* KeyedToolBar::AddButton(const QString& key, const QIcon& image, const QString& toolTip,
                                       const QString& tag, ButtonStyle style) {
  buttons_.push_back(std::unique_ptr<ToolBarButton>(new ToolBarButton(this, Count() + 1)));
  ToolBarButton* b = buttons_.back().get();
  b->key_ = key;
  b->style_ = style;
  b->tag_ = tag;
  b->toolTip_ = toolTip;
  b->image_ = image;
  if (style == ButtonStyle::Default || style == ButtonStyle::Check) {
    auto* w = new QToolButton(this);
    w->setAutoRaise(true);
    w->setFocusPolicy(Qt::NoFocus);
    w->installEventFilter(this);
    b->widget_ = w;
    connect(w, &QToolButton::clicked, this, [this, b](bool checked) {
      if (b->style_ == ButtonStyle::Check) b->value_ = checked;
      emit ButtonClick(b);
    });
  }
  b->Sync();
  Relayout();
  return b;
}

ToolBarButton* KeyedToolBar::ButtonAt(int index) const {
  return index >= 1 && index <= Count() ? buttons_[static_cast<std::size_t>(index - 1)].get() : nullptr;
}

ToolBarButton* KeyedToolBar::Button(const QString& key) const {
  for (const auto& b : buttons_) {
    if (b->Key() == key) return b.get();
  }
  return nullptr;
}

void KeyedToolBar::SetButtonSize(QSize pixels) {
  buttonSize_ = pixels;
  Relayout();
}

void KeyedToolBar::Relayout() {
  int x = 0;
  for (const auto& b : buttons_) {
    if (!b->visible_) {
      b->rect_ = QRect(x, 0, 0, 0);
      if (b->widget_) b->widget_->hide();
      continue;
    }
    int w = buttonSize_.width();
    if (b->style_ == ButtonStyle::Separator) w = kSeparatorWidth;
    if (b->style_ == ButtonStyle::Placeholder) w = core::TwipsToPixels(b->placeholderWidth_);
    b->rect_ = QRect(x, 0, w, buttonSize_.height());
    if (b->widget_) {
      b->widget_->setGeometry(b->rect_);
      b->widget_->setIconSize(buttonSize_ - QSize(7, 6));
      b->widget_->show();
    }
    x += w;
  }
  setMinimumHeight(buttonSize_.height());
  updateGeometry();
}

QSize KeyedToolBar::sizeHint() const {
  int w = 0;
  for (const auto& b : buttons_) w = std::max(w, b->rect_.right() + 1);
  return {w, buttonSize_.height()};
}

bool KeyedToolBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    auto* w = qobject_cast<QWidget*>(watched);
    auto* me = static_cast<QMouseEvent*>(event);
    if (w && w->parentWidget() == this) {
      const QPointF p = w->mapToParent(me->position());
      emit MouseDown(me->button(), me->modifiers(), TwipsOf(p.x()), TwipsOf(p.y()));
    }
  }
  return QWidget::eventFilter(watched, event);
}

void KeyedToolBar::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event->button(), event->modifiers(), TwipsOf(event->position().x()),
                 TwipsOf(event->position().y()));
  QWidget::mousePressEvent(event);
}

void KeyedToolBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

}  // namespace morvane::widgets
