#include "platform/widgets/band_bar.h"

#include "platform/core/units.h"
#include "platform/widgets/lengths.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace morvane::widgets {

namespace {
constexpr int kRowGap = 2;

// A band length in pixels. Widths come from the settings file: whatever it holds, a
// band is no wider or higher than a window can be, so sums along a row stay in range.
int PixelLength(double twips) { return std::clamp(core::TwipsToPixels(twips), 0, 32767); }
}  // namespace

int Band::Position() const {
  const auto& order = bar_->order_;
  const auto it = std::find(order.begin(), order.end(), this);
  return static_cast<int>(it - order.begin()) + 1;
}

void Band::SetChild(QWidget* child) {
  if (child == child_) return;
  if (child) {
    for (const auto& other : bar_->bands_) {
      if (other.get() != this && other->child_ == child) other->child_ = nullptr;
    }
    child->setParent(bar_);
  }
  if (child_) child_->hide();
  child_ = child;
  bar_->Relayout();
}

void Band::SetMinHeight(double twips) {
  minHeight_ = twips;
  bar_->Relayout();
}

void Band::SetWidth(double twips) {
  width_ = twips;
  bar_->Relayout();
}

void Band::SetNewRow(bool on) {
  newRow_ = on;
  bar_->Relayout();
}

void Band::SetVisible(bool on) {
  visible_ = on;
  bar_->Relayout();
}

BandBar::BandBar(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  Relayout();
}

BandBar::~BandBar() = default;

Band* BandBar::AddBand(const QString& key, QWidget* child, double minHeightTwips, double widthTwips,
                       bool newRow) {
  bands_.push_back(std::unique_ptr<Band>(new Band(this, Count() + 1)));
  Band* band = bands_.back().get();
  order_.push_back(band);
  band->key_ = key;
  band->minHeight_ = minHeightTwips;
  band->width_ = widthTwips;
  band->newRow_ = newRow;
  band->SetChild(child);
  Relayout();
  return band;
}

Band* BandBar::BandAt(int index) const {
  return index >= 1 && index <= Count() ? bands_[static_cast<std::size_t>(index - 1)].get() : nullptr;
}

Band* BandBar::BandAtPosition(int position) const {
  return position >= 1 && position <= Count() ? order_[static_cast<std::size_t>(position - 1)] : nullptr;
}

Band* BandBar::FindBand(const QString& key) const {
  for (const auto& b : bands_) {
    if (b->Key() == key) return b.get();
  }
  return nullptr;
}

void BandBar::MoveBand(Band* band, int position) {
  const auto it = std::find(order_.begin(), order_.end(), band);
  if (it == order_.end()) return;
  order_.erase(it);
  position = std::clamp(position, 1, Count());
  order_.insert(order_.begin() + (position - 1), band);
  Relayout();
}

int BandBar::RowHeight() const {
  int h = 0;
  for (const auto& b : bands_) {
    if (b->Visible()) h = std::max(h, PixelLength(b->MinHeight()));
  }
  return h;
}

QRect BandBar::BandRect(const Band* band) const {
  for (const Placed& p : placed_) {
    if (p.band == band) return p.rect;
  }
  return {};
}

void BandBar::Relayout() {
  if (inLayout_) return;
  inLayout_ = true;
  const std::vector<Placed> before = placed_;
  const int oldRows = rows_;
  placed_.clear();
  const int rowH = RowHeight();
  const int full = std::max(width(), 1);
  rows_ = 0;
  int x = 0, y = 0;
  std::vector<std::size_t> rowStart;
  for (Band* b : order_) {
    if (!b->Visible()) {
      if (b->child_) b->child_->hide();
      continue;
    }
    if (placed_.empty() || b->NewRow()) {
      if (!placed_.empty()) y += rowH + kRowGap;
      x = 0;
      ++rows_;
      rowStart.push_back(placed_.size());
    }
    const int w = std::max(PixelLength(b->Width()), kGripWidth);
    placed_.push_back({b, QRect(x, y, w, rowH)});
    x += w;
  }
  // The last band of each row runs to the bar's right edge.
  rowStart.push_back(placed_.size());
  for (std::size_t r = 0; r + 1 < rowStart.size(); ++r) {
    if (rowStart[r + 1] == rowStart[r]) continue;
    QRect& last = placed_[rowStart[r + 1] - 1].rect;
    last.setRight(std::max(last.right(), full - 1));
  }
  for (const Placed& p : placed_) {
    if (QWidget* c = p.band->child_) {
      c->setGeometry(p.rect.adjusted(kGripWidth, 1, -1, -1));
      c->show();
    }
  }
  const int height = rows_ == 0 ? 0 : rows_ * rowH + (rows_ - 1) * kRowGap;
  if (maximumHeight() != height || minimumHeight() != height) setFixedHeight(height);
  inLayout_ = false;
  update();
  bool same = before.size() == placed_.size() && oldRows == rows_;
  for (std::size_t i = 0; same && i < placed_.size(); ++i) {
    same = before[i].band == placed_[i].band && before[i].rect == placed_[i].rect;
  }
  if (!same) emit Changed();
}

QSize BandBar::sizeHint() const {
  int w = 0, row = 0;
  bool any = false;
  for (Band* b : order_) {
    if (!b->Visible()) continue;
    if (!any || b->NewRow()) row = 0;
    any = true;
    row += PixelLength(b->Width());
    w = std::max(w, row);
  }
  return {w, minimumHeight()};
}

QSize BandBar::minimumSizeHint() const { return {0, minimumHeight()}; }

void BandBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void BandBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (const Placed& pl : placed_) {
    QStyleOption opt;
    opt.initFrom(this);
    opt.rect = pl.rect;
    style()->drawPrimitive(QStyle::PE_FrameButtonBevel, &opt, &p, this);
    // The grip: two raised ridges along the band's left edge.
    const int top = pl.rect.top() + 4, bottom = pl.rect.bottom() - 4;
    for (const int x : {pl.rect.left() + 3, pl.rect.left() + 6}) {
      p.setPen(palette().color(QPalette::Light));
      p.drawLine(x, top, x, bottom);
      p.setPen(palette().color(QPalette::Dark));
      p.drawLine(x + 1, top, x + 1, bottom);
    }
  }
}

Band* BandBar::GripAt(QPoint pt) const {
  for (const Placed& p : placed_) {
    QRect grip = p.rect;
    grip.setWidth(kGripWidth);
    if (grip.contains(pt)) return p.band;
  }
  return nullptr;
}

Band* BandBar::BandUnder(QPoint pt) const {
  for (const Placed& p : placed_) {
    if (p.rect.contains(pt)) return p.band;
  }
  return nullptr;
}

void BandBar::mousePressEvent(QMouseEvent* event) {
  dragging_ = event->button() == Qt::LeftButton ? GripAt(event->position().toPoint()) : nullptr;
  dragFrom_ = event->position().toPoint();
  if (dragging_) setCursor(Qt::SizeAllCursor);
  QWidget::mousePressEvent(event);
}

void BandBar::mouseReleaseEvent(QMouseEvent* event) {
  Band* band = dragging_;
  dragging_ = nullptr;
  unsetCursor();
  if (!band || event->button() != Qt::LeftButton) return;
  const QPoint to = event->position().toPoint();
  const QRect from = BandRect(band);
  Band* target = BandUnder(to);
  const bool leavesRow = to.y() >= height() || (target && BandRect(target).top() != from.top());
  if (leavesRow) {
    // The row the band leaves keeps its start: the band's successor inherits it.
    Band* successor = BandAtPosition(band->Position() + 1);
    if (from.left() == 0 && successor && BandRect(successor).top() == from.top()) {
      successor->newRow_ = true;
    }
  }
  if (to.y() >= height()) {  // below the last row: a row of its own at the end
    band->newRow_ = true;
    MoveBand(band, Count());
  } else if (leavesRow && target) {
    // Onto a band of another row: before it on its left half, else after it.
    const QRect t = BandRect(target);
    const bool before = to.x() < t.center().x();
    const bool targetStarts = t.left() == 0;
    band->newRow_ = before && targetStarts;
    if (band->newRow_) target->newRow_ = false;
    order_.erase(std::find(order_.begin(), order_.end(), band));
    auto at = std::find(order_.begin(), order_.end(), target);
    order_.insert(before ? at : at + 1, band);
    Relayout();
  } else if (from.left() > 0) {  // along its own row: the band shown to its left gets the change
    Band* left = BandUnder(QPoint(from.left() - 1, from.top()));
    if (left) left->SetWidth(std::max(left->Width() + TwipsOf(to.x() - dragFrom_.x()), 0.0));
  }
}

}  // namespace morvane::widgets
