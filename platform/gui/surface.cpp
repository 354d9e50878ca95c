#include "platform/gui/surface.h"

#include "platform/core/units.h"
#include "platform/gui/image_loader.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace morvane::gui {

namespace {

using raster::Px;

std::int32_t ToPx(double v) { return core::RoundToInt32(v); }

std::uint32_t Rop2(DrawMode m, std::uint32_t d, std::uint32_t p) {
  switch (m) {
    case DrawMode::Blackness: return 0;
    case DrawMode::NotMergePen: return ~(d | p);
    case DrawMode::MaskNotPen: return d & ~p;
    case DrawMode::NotCopyPen: return ~p;
    case DrawMode::MaskPenNot: return p & ~d;
    case DrawMode::Invert: return ~d;
    case DrawMode::XorPen: return d ^ p;
    case DrawMode::NotMaskPen: return ~(d & p);
    case DrawMode::MaskPen: return d & p;
    case DrawMode::NotXorPen: return ~(d ^ p);
    case DrawMode::Nop: return d;
    case DrawMode::MergeNotPen: return d | ~p;
    case DrawMode::CopyPen: return p;
    case DrawMode::MergePenNot: return p | ~d;
    case DrawMode::MergePen: return d | p;
    case DrawMode::Whiteness: return 0xffffffffu;
  }
  return p;
}

// Ternary operation: bit i of code is the result for P = i & 4, S = i & 2, D = i & 1.
std::uint32_t Rop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if ((code >> i) & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r;
}

bool PatternHit(FillStyle s, std::int32_t x, std::int32_t y) {
  const bool h = (y & 7) == 0, v = (x & 7) == 0;
  const bool up = ((x + y) & 7) == 0, down = ((x - y) & 7) == 0;
  switch (s) {
    case FillStyle::Solid: return true;
    case FillStyle::Transparent: return false;
    case FillStyle::HorizontalLine: return h;
    case FillStyle::VerticalLine: return v;
    case FillStyle::UpwardDiagonal: return up;
    case FillStyle::DownwardDiagonal: return down;
    case FillStyle::Cross: return h || v;
    case FillStyle::DiagonalCross: return up || down;
  }
  return false;
}

// On/off runs of the one-pixel dash styles, starting with "on".
std::vector<int> DashRuns(DrawStyle s) {
  switch (s) {
    case DrawStyle::Dash: return {18, 6};
    case DrawStyle::Dot: return {3, 3};
    case DrawStyle::DashDot: return {9, 6, 3, 6};
    case DrawStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

double NormalAngle(double a) {
  a = std::fabs(a);
  return a > 2 * std::numbers::pi ? 2 * std::numbers::pi : a;
}

bool AngleWithin(double a, double start, double end) {
  if (start <= end) return a >= start && a <= end;
  return a >= start || a <= end;
}

// Where the ray from c at angle a leaves the ellipse with radii rx, ry.
Px EllipsePointAt(Px c, double rx, double ry, double a) {
  const double ca = std::cos(a), sa = std::sin(a);
  const double den = std::sqrt((rx > 0 ? ca * ca / (rx * rx) : (ca != 0 ? 1e300 : 0)) +
                               (ry > 0 ? sa * sa / (ry * ry) : (sa != 0 ? 1e300 : 0)));
  const double t = den > 0 ? 1.0 / den : 0.0;
  return {c.x + ToPx(t * ca), c.y - ToPx(t * sa)};
}

}  // namespace

Surface::Surface() : Surface(0, 0) {}

Surface::Surface(std::int32_t width, std::int32_t height)
    : backColor_(core::SystemColorValue(core::SystemColor::kButtonFace)),
      foreColor_(core::SystemColorValue(core::SystemColor::kButtonText)),
      font_(QGuiApplication::font()) {
  image_ = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  Repaint();
}

void Surface::Repaint() {
  image_.fill(Resolve(backColor_));
  if (!picture_.isNull() && !image_.isNull()) {
    QPainter p(&image_);
    p.drawImage(0, 0, picture_);
  }
}

void Surface::SetSize(std::int32_t width, std::int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width() && height == Height()) return;
  QImage next(width, height, QImage::Format_RGB32);
  next.fill(Resolve(backColor_));
  if (!image_.isNull() && !next.isNull()) {
    QPainter p(&next);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(next);
}

void Surface::SetPicture(const QImage& picture) {
  picture_ = picture;
  if (autoSize_ && !picture_.isNull()) {
    // An opaque picture that sizes the surface is the image as it stands: shared until
    // the first drawing, instead of a fill and a copy of a picture that may be large.
    if (picture_.format() == QImage::Format_RGB32) {
      image_ = picture_;
      return;
    }
    image_ = QImage(picture_.width(), picture_.height(), QImage::Format_RGB32);
  }
  Repaint();
}

void Surface::CommitImage() { picture_ = image_; }

void Surface::SetBackColor(OleColor c) {
  if (c == backColor_) return;
  backColor_ = c;
  Repaint();
}

void Surface::SetFont(const QFont& f) { font_ = f; }

void Surface::Cls() {
  Repaint();
  currentX_ = 0;
  currentY_ = 0;
}

QRgb Surface::PenColor(const std::optional<OleColor>& c) const {
  return Resolve(c.value_or(foreColor_));
}

raster::Clip Surface::PathClip() const {
  const std::int32_t m = drawWidth_ > 1 ? drawWidth_ : 0;  // a wide pen reaches this far
  return {-m, -m, Width() - 1 + m, Height() - 1 + m};
}

namespace {

// Sorts spans by row and start and joins those that overlap or touch.
template <class SpanT>
void Merge(std::vector<SpanT>& spans) {
  std::sort(spans.begin(), spans.end(),
            [](const SpanT& a, const SpanT& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
  std::size_t out = 0;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (out > 0 && spans[out - 1].y == spans[i].y && spans[i].x0 <= spans[out - 1].x1 + 1) {
      spans[out - 1].x1 = std::max(spans[out - 1].x1, spans[i].x1);
    } else {
      spans[out++] = spans[i];
    }
  }
  spans.resize(out);
}

bool DashOn(const std::vector<int>& runs, std::int64_t n) {
  if (runs.empty()) return true;
  std::int64_t period = 0;
  for (const int r : runs) period += r;
  std::int64_t at = n % period;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (at < runs[i]) return i % 2 == 0;
    at -= runs[i];
  }
  return false;
}

struct Everywhere {
  bool operator()(std::int32_t, std::int32_t) const { return true; }
};

}  // namespace

Surface::Spans Surface::Stroke(const Path& path) const {
  Spans out;
  if (drawStyle_ == DrawStyle::Transparent || path.empty()) return out;
  const std::int32_t w = Width(), h = Height();
  if (drawWidth_ <= 1) {
    const std::vector<int> runs = DashRuns(drawStyle_);
    for (const raster::PathPixel& pp : path) {
      const Px p = pp.p;
      if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h || !DashOn(runs, pp.n)) continue;
      out.push_back({p.y, p.x, p.x});
    }
  } else {
    // The disc has a run on every row from its first to its last, so the rows that
    // land on the surface are found by arithmetic, not by trying each.
    const std::vector<raster::PenRow> pen = raster::PenRows(drawWidth_);
    const std::int64_t first = pen.front().dy, last = pen.back().dy;
    for (const raster::PathPixel& pp : path) {
      const std::int64_t dyFrom = std::max<std::int64_t>(first, -std::int64_t{pp.p.y});
      const std::int64_t dyTo = std::min<std::int64_t>(last, h - 1 - std::int64_t{pp.p.y});
      for (std::int64_t dy = dyFrom; dy <= dyTo; ++dy) {
        const raster::PenRow& r = pen[static_cast<std::size_t>(dy - first)];
        const std::int64_t y = std::int64_t{pp.p.y} + r.dy;
        const std::int64_t x0 = std::max<std::int64_t>(std::int64_t{pp.p.x} + r.lo, 0);
        const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{pp.p.x} + r.hi, w - 1);
        if (x0 <= x1) {
          out.push_back({static_cast<std::int32_t>(y), static_cast<std::int32_t>(x0),
                         static_cast<std::int32_t>(x1)});
        }
      }
    }
  }
  Merge(out);
  return out;
}

template <class Inside>
void Surface::Combine(const Spans& spans, QRgb color, morvane::gui::FillStyle pattern,
                      const Inside& inside) {
  const std::uint32_t pen = color & 0xffffffu;
  for (const Span& sp : spans) {
    if (sp.y < 0 || sp.y >= Height()) continue;
    auto* row = reinterpret_cast<QRgb*>(image_.scanLine(sp.y));
    for (std::int32_t x = std::max(sp.x0, 0); x <= std::min(sp.x1, Width() - 1); ++x) {
      if (!PatternHit(pattern, x, sp.y) || !inside(x, sp.y)) continue;
      row[x] = 0xff000000u | (Rop2(drawMode_, row[x] & 0xffffffu, pen) & 0xffffffu);
    }
  }
}

void Surface::Combine(const Spans& spans, QRgb color) {
  Combine(spans, color, FillStyle::Solid, Everywhere{});
}

template <class Inside>
void Surface::FillAndStroke(Spans area, const Spans& stroke, QRgb pen, const Inside& inside) {
  if (fillStyle_ != FillStyle::Transparent && !area.empty()) {
    Merge(area);
    // The area less the stroke: walk both, row by row, in order.
    Spans rest;
    std::size_t k = 0;
    for (const Span& a : area) {
      while (k < stroke.size() && (stroke[k].y < a.y || (stroke[k].y == a.y && stroke[k].x1 < a.x0)))
        ++k;
      std::int32_t from = a.x0;
      for (std::size_t j = k; j < stroke.size() && stroke[j].y == a.y && stroke[j].x0 <= a.x1; ++j) {
        if (stroke[j].x0 > from) rest.push_back({a.y, from, stroke[j].x0 - 1});
        from = std::max(from, stroke[j].x1 + 1);
      }
      if (from <= a.x1) rest.push_back({a.y, from, a.x1});
    }
    Combine(rest, Resolve(fillColor_), fillStyle_, inside);
  }
  Combine(stroke, pen);
}

void Surface::Line(bool step1, std::optional<QPointF> start, bool step2, QPointF end,
                   std::optional<OleColor> color, bool box, bool fill) {
  QPointF a(currentX_, currentY_);
  if (start) a = step1 ? a + *start : *start;
  const QPointF b = step2 ? a + end : end;
  currentX_ = b.x();
  currentY_ = b.y();
  const QRgb pen = PenColor(color);
  const Px pa{ToPx(a.x()), ToPx(a.y())}, pb{ToPx(b.x()), ToPx(b.y())};

  if (!box) {
    Path path;
    raster::LinePath(pa, pb, drawWidth_ > 1, PathClip(), path);
    Combine(Stroke(path), pen);
    return;
  }
  const std::int32_t l = std::min(pa.x, pb.x), r = std::max(pa.x, pb.x);
  const std::int32_t t = std::min(pa.y, pb.y), bo = std::max(pa.y, pb.y);
  Spans area;  // the box's rows on the surface, when something fills it
  if (fill || fillStyle_ != FillStyle::Transparent) {
    const std::int32_t x0 = std::max(l, 0), x1 = std::min(r, Width() - 1);
    for (std::int32_t y = std::max(t, 0); x0 <= x1 && y <= std::min(bo, Height() - 1); ++y) {
      area.push_back({y, x0, x1});
    }
  }
  if (fill) {  // solid in the line colour, border included
    Combine(area, pen);
    return;
  }
  // A wide inside pen keeps its whole footprint within the corners.
  std::int32_t inLo = 0, inHi = 0;
  if (drawStyle_ == DrawStyle::InsideSolid && drawWidth_ > 1) {
    inLo = (drawWidth_ - 1) / 2;
    inHi = drawWidth_ / 2;
  }
  Path path;
  if (std::int64_t{l} + inLo <= std::int64_t{r} - inHi &&
      std::int64_t{t} + inLo <= std::int64_t{bo} - inHi) {
    raster::BoxPath({l + inLo, t + inLo}, {r - inHi, bo - inHi}, PathClip(), path);
  }
  FillAndStroke(std::move(area), Stroke(path), pen, Everywhere{});
}

bool Surface::Circle(bool step, double x, double y, double radius, std::optional<OleColor> color,
                     std::optional<double> start, std::optional<double> end,
                     std::optional<double> aspect) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  const double s0 = start.value_or(0.0), e0 = end.value_or(kTwoPi);
  if (std::fabs(s0) > kTwoPi + 1e-9 || std::fabs(e0) > kTwoPi + 1e-9) return false;
  const double cxD = step ? currentX_ + x : x, cyD = step ? currentY_ + y : y;
  currentX_ = cxD;
  currentY_ = cyD;
  const Px c{std::clamp(ToPx(cxD), -raster::kMaxCoordinate, raster::kMaxCoordinate),
             std::clamp(ToPx(cyD), -raster::kMaxCoordinate, raster::kMaxCoordinate)};
  const double asp = std::fabs(aspect.value_or(1.0));
  radius = std::fabs(radius);
  double rxD = radius, ryD = radius;
  if (asp < 1.0) ryD = radius * asp;
  else if (asp > 1.0) rxD = radius / asp;
  std::int32_t rx = std::clamp(ToPx(rxD), 0, raster::kMaxRadius);
  std::int32_t ry = std::clamp(ToPx(ryD), 0, raster::kMaxRadius);
  if (drawStyle_ == DrawStyle::InsideSolid && drawWidth_ > 1) {
    rx = std::max(rx - drawWidth_ / 2, 0);
    ry = std::max(ry - drawWidth_ / 2, 0);
  }
  const QRgb pen = PenColor(color);

  const bool pieStart = start && *start < 0, pieEnd = end && *end < 0;
  const double sa = NormalAngle(s0), ea = NormalAngle(e0);
  const bool whole =
      (!start && !end) || sa == ea || (std::fabs(ea - sa) >= kTwoPi - 1e-12 && !pieStart && !pieEnd);

  Path outline;
  raster::EllipsePath(c, rx, ry, PathClip(), outline);
  Path path;
  if (whole) {
    path = std::move(outline);
  } else {
    std::int64_t n = 0;
    for (const raster::PathPixel& pp : outline) {
      if (AngleWithin(raster::AngleOf(c, pp.p), sa, ea)) path.push_back({pp.p, n++});
    }
    // Radii to the ends of a pie, clipped like any line.
    if (pieStart) raster::LinePath(c, EllipsePointAt(c, rx, ry, sa), true, PathClip(), path);
    if (pieEnd) raster::LinePath(c, EllipsePointAt(c, rx, ry, ea), true, PathClip(), path);
  }
  const Spans stroke = Stroke(path);
  const bool closed = whole || (pieStart && pieEnd);
  if (!closed || fillStyle_ == FillStyle::Transparent) {
    Combine(stroke, pen);
    return true;
  }
  Spans area;
  const std::vector<raster::EllipseRow> rows = raster::EllipseRows(rx, ry);
  for (std::int32_t dy = -ry; dy <= ry; ++dy) {
    const std::int64_t py = std::int64_t{c.y} + dy;
    if (py < 0 || py >= Height()) continue;
    const std::int32_t outer = rows[static_cast<std::size_t>(dy + ry)].outer;
    const std::int64_t x0 = std::max<std::int64_t>(std::int64_t{c.x} - outer, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{c.x} + outer, Width() - 1);
    if (x0 <= x1)
      area.push_back(
          {static_cast<std::int32_t>(py), static_cast<std::int32_t>(x0), static_cast<std::int32_t>(x1)});
  }
  if (whole) {
    FillAndStroke(std::move(area), stroke, pen, Everywhere{});
    return true;
  }
  // A pie: the pixels within its angles, and those of its outline.
  std::vector<Px> on;
  for (const raster::PathPixel& pp : path) on.push_back(pp.p);
  const auto rowMajor = [](const Px& l, const Px& r) { return l.y != r.y ? l.y < r.y : l.x < r.x; };
  std::sort(on.begin(), on.end(), rowMajor);
  const auto inside = [&](std::int32_t px, std::int32_t py) {
    return AngleWithin(raster::AngleOf(c, {px, py}), sa, ea) ||
           std::binary_search(on.begin(), on.end(), Px{px, py}, rowMajor);
  };
  FillAndStroke(std::move(area), stroke, pen, inside);
  return true;
}

void Surface::PSet(bool step, double x, double y, std::optional<OleColor> color) {
  const double px = step ? currentX_ + x : x, py = step ? currentY_ + y : y;
  currentX_ = px;
  currentY_ = py;
  const Path dot{{Px{ToPx(px), ToPx(py)}, 0}};
  const morvane::gui::DrawStyle style = drawStyle_;
  drawStyle_ = DrawStyle::Solid;  // a point is drawn whatever the line style
  const Spans spans = Stroke(dot);
  drawStyle_ = style;
  Combine(spans, PenColor(color));
}

std::int32_t Surface::Point(double x, double y) const {
  const std::int32_t px = ToPx(x), py = ToPx(y);
  if (px < 0 || py < 0 || px >= Width() || py >= Height()) return -1;
  return static_cast<std::int32_t>(QRgbToOle(image_.pixel(px, py)));
}

namespace {
QStringList TextLines(const QString& text) {
  QString t = text;
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t.split(QLatin1Char('\n'));
}
}  // namespace

void Surface::Print(const QString& text) {
  const QStringList lines = TextLines(text);
  QFont f = font_;
  f.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics fm(f);
  if (!image_.isNull()) {
    QPainter p(&image_);
    p.setFont(f);
    p.setPen(QColor::fromRgb(Resolve(foreColor_)));
    double y = currentY_;
    for (const QString& line : lines) {
      p.drawText(QPointF(currentX_, y + fm.ascent()), line);
      y += fm.height();
    }
  }
  currentX_ = 0;
  currentY_ += static_cast<double>(fm.height()) * static_cast<double>(lines.size());
}

std::int32_t Surface::TextWidth(const QString& text) const {
  const QFontMetrics fm(font_);
  int widest = 0;
  for (const QString& line : TextLines(text)) widest = std::max(widest, fm.horizontalAdvance(line));
  return widest;
}

std::int32_t Surface::TextHeight(const QString& text) const {
  const QFontMetrics fm(font_);
  return fm.height() * static_cast<std::int32_t>(TextLines(text).size());
}

void Surface::PaintPicture(const QImage& picture, double x1, double y1, std::optional<double> w1,
                           std::optional<double> h1, std::optional<double> x2, std::optional<double> y2,
                           std::optional<double> w2, std::optional<double> h2, std::uint32_t opcode) {
  if (picture.isNull() || image_.isNull()) return;
  const QImage src =
      picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
          ? picture
          : picture.convertToFormat(QImage::Format_RGB32);
  // Held within the old platform's coordinate range, which keeps the products below
  // within 64 bits.
  const auto held = [](double v) {
    return std::int64_t{std::clamp(ToPx(v), -raster::kMaxCoordinate, raster::kMaxCoordinate)};
  };
  const std::int64_t dw = held(w1.value_or(src.width())), dh = held(h1.value_or(src.height()));
  const std::int64_t sw = held(w2.value_or(src.width())), sh = held(h2.value_or(src.height()));
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
  const std::int64_t dx0 = held(x1) + std::min<std::int64_t>(dw, 0),
                     dy0 = held(y1) + std::min<std::int64_t>(dh, 0);
  const std::int64_t sx0 = held(x2.value_or(0)) + std::min<std::int64_t>(sw, 0);
  const std::int64_t sy0 = held(y2.value_or(0)) + std::min<std::int64_t>(sh, 0);
  const std::int64_t adw = std::llabs(dw), adh = std::llabs(dh), asw = std::llabs(sw),
                     ash = std::llabs(sh);
  const bool flipX = (dw < 0) != (sw < 0), flipY = (dh < 0) != (sh < 0);
  const std::uint8_t code = static_cast<std::uint8_t>((opcode >> 16) & 0xffu);
  const std::uint32_t brush = Resolve(fillColor_) & 0xffffffu;

  const std::int64_t yFrom = std::max<std::int64_t>(0, dy0),
                     yTo = std::min<std::int64_t>(Height(), dy0 + adh);
  const std::int64_t xFrom = std::max<std::int64_t>(0, dx0),
                     xTo = std::min<std::int64_t>(Width(), dx0 + adw);
  for (std::int64_t y = yFrom; y < yTo; ++y) {
    std::int64_t j = y - dy0;
    if (flipY) j = adh - 1 - j;
    const std::int64_t sy = sy0 + (2 * j + 1) * ash / (2 * adh);
    if (sy < 0 || sy >= src.height()) continue;
    const auto* srow = reinterpret_cast<const QRgb*>(src.constScanLine(static_cast<int>(sy)));
    auto* drow = reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(y)));
    for (std::int64_t x = xFrom; x < xTo; ++x) {
      std::int64_t i = x - dx0;
      if (flipX) i = adw - 1 - i;
      const std::int64_t sx = sx0 + (2 * i + 1) * asw / (2 * adw);
      if (sx < 0 || sx >= src.width()) continue;
      const std::uint32_t s = srow[sx] & 0xffffffu;
      const std::uint32_t d = drow[x] & 0xffffffu;
      const std::uint32_t r = code == 0xCC ? s : Rop3(code, brush, s, d);
      drow[x] = 0xff000000u | (r & 0xffffffu);
    }
  }
}

bool Surface::FloodFill(std::int32_t x, std::int32_t y, OleColor color, FloodFillType type) {
  const std::int32_t w = Width(), h = Height();
  if (x < 0 || y < 0 || x >= w || y >= h) return false;
  const std::uint32_t key = Resolve(color) & 0xffffffu;
  auto pixelAt = [this](std::int32_t px, std::int32_t py) {
    return reinterpret_cast<const QRgb*>(image_.constScanLine(py))[px] & 0xffffffu;
  };
  auto qualifies = [&](std::int32_t px, std::int32_t py) {
    const bool same = pixelAt(px, py) == key;
    return type == FloodFillType::Surface ? same : !same;
  };
  if (!qualifies(x, y)) return false;

  const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  std::vector<std::uint64_t> seen((count + 63) / 64, 0);
  auto index = [w](std::int32_t px, std::int32_t py) {
    return static_cast<std::size_t>(py) * static_cast<std::size_t>(w) + static_cast<std::size_t>(px);
  };
  auto isSeen = [&](std::int32_t px, std::int32_t py) {
    const std::size_t i = index(px, py);
    return (seen[i / 64] >> (i % 64)) & 1u;
  };
  auto open = [&](std::int32_t px, std::int32_t py) { return !isSeen(px, py) && qualifies(px, py); };

  Spans spans;
  std::vector<Px> seeds{{x, y}};
  while (!seeds.empty()) {
    const Px s = seeds.back();
    seeds.pop_back();
    if (!open(s.x, s.y)) continue;
    std::int32_t l = s.x, r = s.x;
    while (l > 0 && open(l - 1, s.y)) --l;
    while (r + 1 < w && open(r + 1, s.y)) ++r;
    for (std::int32_t i = l; i <= r; ++i) {
      const std::size_t k = index(i, s.y);
      seen[k / 64] |= std::uint64_t{1} << (k % 64);
    }
    spans.push_back({s.y, l, r});  // y, x0, x1
    for (const std::int32_t ny : {s.y - 1, s.y + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool inRun = false;
      for (std::int32_t i = l; i <= r; ++i) {
        const bool o = open(i, ny);
        if (o && !inRun) seeds.push_back({i, ny});
        inRun = o;
      }
    }
  }
  const std::uint32_t fill = Resolve(fillColor_) & 0xffffffu;
  for (const Span& sp : spans) {
    auto* row = reinterpret_cast<QRgb*>(image_.scanLine(sp.y));
    for (std::int32_t i = sp.x0; i <= sp.x1; ++i) {
      if (PatternHit(fillStyle_, i, sp.y)) row[i] = 0xff000000u | fill;
    }
  }
  return true;
}

core::RgbImage Surface::ToRgbImage() const { return gui::ToRgbImage(image_); }

void Surface::FromRgbImage(const core::RgbImage& rgb) { image_ = gui::FromRgbImage(rgb); }

}  // namespace morvane::gui
