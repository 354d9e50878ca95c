#include "platform/widgets/panel_status_bar.h"

#include "platform/core/units.h"
#include "platform/widgets/lengths.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>

namespace morvane::widgets {

namespace {
constexpr int kGap = 2;      // between panels and at the bar's left edge
constexpr int kPadding = 4;  // text inside a panel
}  // namespace

void StatusBarPanel::SetText(const QString& text) {
  if (text_ == text) return;
  text_ = text;
  if (autoSize_ == PanelAutoSize::Contents) bar_->Relayout();
  bar_->update(rect_);
}

void StatusBarPanel::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  if (autoSize_ == PanelAutoSize::Contents) bar_->Relayout();
  bar_->update(rect_);
}

void StatusBarPanel::SetAutoSize(PanelAutoSize a) {
  autoSize_ = a;
  bar_->Relayout();
}

void StatusBarPanel::SetMinWidth(double twips) {
  minWidth_ = twips;
  bar_->Relayout();
}

void StatusBarPanel::SetWidth(double twips) {
  width_ = twips;
  bar_->Relayout();
}

double StatusBarPanel::Left() const { return TwipsOf(rect_.x()); }
double StatusBarPanel::Width() const { return TwipsOf(rect_.width()); }

PanelStatusBar::PanelStatusBar(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

PanelStatusBar::~PanelStatusBar() = default;

StatusBarPanel* PanelStatusBar::AddPanel(const QString& key, double widthTwips, PanelAutoSize autoSize,
                                         const QString& text) {
  panels_.push_back(std::unique_ptr<StatusBarPanel>(new StatusBarPanel(this, Count() + 1)));
  StatusBarPanel* p = panels_.back().get();
  p->key_ = key;
  p->width_ = widthTwips;
  p->autoSize_ = autoSize;
  p->text_ = text;
  Relayout();
  return p;
}

StatusBarPanel* PanelStatusBar::PanelAt(int index) const {
  return index >= 1 && index <= Count() ? panels_[static_cast<std::size_t>(index - 1)].get() : nullptr;
}

StatusBarPanel* PanelStatusBar::Panel(const QString& key) const {
  for (const auto& p : panels_) {
    if (p->Key() == key) return p.get();
  }
  return nullptr;
}

int PanelStatusBar::ContentWidth(const StatusBarPanel& p) const {
  // One pixel more than the advance: eliding measures the text's exact, fractional width.
  int w = 2 * kPadding + kGap + fontMetrics().horizontalAdvance(p.text_) + 1;
  if (!p.picture_.isNull()) w += p.picture_.width() + kPadding;
  return w;
}

void PanelStatusBar::Relayout() {
  // Panels lie edge to edge from a small margin (each draws its frame short of its
  // right edge), so a panel's Left is the one before's Left plus its Width.
  std::vector<int> widths;
  int used = kGap, springs = 0;
  for (const auto& p : panels_) {
    const int minW = core::TwipsToPixels(p->minWidth_);
    int w = std::max(core::TwipsToPixels(p->width_), minW);
    if (p->autoSize_ == PanelAutoSize::Contents) w = std::max(ContentWidth(*p), minW);
    if (p->autoSize_ == PanelAutoSize::Spring) {
      w = minW;
      ++springs;
    }
    widths.push_back(w);
    used += w;
  }
  // What is left goes to the springs, the first ones taking the odd pixels.
  const int spare = std::max(width() - used, 0);
  int given = 0, k = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    if (panels_[i]->autoSize_ != PanelAutoSize::Spring) continue;
    ++k;
    const int share = spare * k / springs - given;
    widths[i] += share;
    given += share;
  }
  int x = kGap;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i]->rect_ = QRect(x, kGap, widths[i], std::max(height() - 2 * kGap, 0));
    x += widths[i];
  }
  update();
  emit PanelsMoved();
}

QRect PanelStatusBar::OverlayRect(const StatusBarPanel* panel, int inset) const {
  if (!panel) return {};
  const QRect r = panel->rect_.adjusted(inset, inset, -inset - kGap, -inset);
  const QRect sized(r.topLeft(), QSize(std::max(r.width(), 0), std::max(r.height(), 0)));
  return sized.translated(pos());
}

QSize PanelStatusBar::sizeHint() const { return {200, fontMetrics().height() + 2 * kGap + 6}; }

void PanelStatusBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (const auto& p : panels_) {
    const QRect face = p->rect_.adjusted(0, 0, -kGap, 0);
    if (face.width() <= 0) continue;
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = face;
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    QRect inner = face.adjusted(kPadding, 1, -kPadding, -1);
    painter.save();
    painter.setClipRect(face.adjusted(1, 1, -1, -1));
    if (!p->picture_.isNull()) {
      const QPoint at(inner.left(), inner.top() + (inner.height() - p->picture_.height()) / 2);
      painter.drawPixmap(at, p->picture_);
      inner.setLeft(inner.left() + p->picture_.width() + kPadding);
    }
    // drawText with a plain string never interprets markup.
    const QString shown = fontMetrics().elidedText(p->text_, Qt::ElideRight, inner.width());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(inner, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
    painter.restore();
  }
}

StatusBarPanel* PanelStatusBar::PanelUnder(QPoint pt) const {
  for (const auto& p : panels_) {
    if (p->rect_.contains(pt)) return p.get();
  }
  return nullptr;
}

bool PanelStatusBar::event(QEvent* e) {
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) Relayout();
  if (e->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(e);
    const StatusBarPanel* p = PanelUnder(help->pos());
    if (p && !p->toolTip_.isEmpty()) {
      QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(p->toolTip_), this, p->rect_);
    } else {
      QToolTip::hideText();
      e->ignore();
    }
    return true;
  }
  return QWidget::event(e);
}

void PanelStatusBar::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event->button(), event->modifiers(), TwipsOf(event->position().x()),
                 TwipsOf(event->position().y()));
  if (StatusBarPanel* p = PanelUnder(event->position().toPoint())) emit PanelClick(p);
  QWidget::mousePressEvent(event);
}

void PanelStatusBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

}  // namespace morvane::widgets
