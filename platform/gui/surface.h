#pragma once

#include "platform/core/pixel_buffer.h"
#include "platform/gui/ole_color.h"
#include "platform/raster/raster.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace morvane::gui {

// Binary raster operations of the pen and the fill (pen P, destination D), numbered as
// the old platform numbers them.
enum class DrawMode : int {
  Blackness = 1,     // 0
  NotMergePen = 2,   // ~(D | P)
  MaskNotPen = 3,    // D & ~P
  NotCopyPen = 4,    // ~P
  MaskPenNot = 5,    // P & ~D
  Invert = 6,        // ~D
  XorPen = 7,        // D ^ P
  NotMaskPen = 8,    // ~(D & P)
  MaskPen = 9,       // D & P
  NotXorPen = 10,    // ~(D ^ P)
  Nop = 11,          // D
  MergeNotPen = 12,  // D | ~P
  CopyPen = 13,      // P
  MergePenNot = 14,  // P | ~D
  MergePen = 15,     // D | P
  Whiteness = 16,    // 1
};

// Line styles of one-pixel pens; wider pens are always solid.
enum class DrawStyle : int {
  Solid = 0,
  Dash = 1,        // 18 on, 6 off
  Dot = 2,         // 3 on, 3 off
  DashDot = 3,     // 9 on, 6 off, 3 on, 6 off
  DashDotDot = 4,  // 9 on, 3 off, 3 on, 3 off, 3 on, 3 off
  Transparent = 5,
  InsideSolid = 6,  // solid, and a wide pen stays inside a box or circle
};

// Fill of boxes, circles, pies and flood fills. Hatches repeat every 8 pixels from the
// surface's top left; their gaps leave the surface as it was.
enum class FillStyle : int {
  Solid = 0,
  Transparent = 1,
  HorizontalLine = 2,
  VerticalLine = 3,
  UpwardDiagonal = 4,
  DownwardDiagonal = 5,
  Cross = 6,
  DiagonalCross = 7,
};

enum class FloodFillType : int {
  Border = 0,   // fill outward until the border colour
  Surface = 1,  // fill the area of one colour
};

// Ternary raster operations of PaintPicture (source S, destination D, fill brush P).
inline constexpr std::uint32_t kSrcCopy = 0x00CC0020;
inline constexpr std::uint32_t kSrcPaint = 0x00EE0086;
inline constexpr std::uint32_t kSrcAnd = 0x008800C6;
inline constexpr std::uint32_t kSrcInvert = 0x00660046;
inline constexpr std::uint32_t kSrcErase = 0x00440328;
inline constexpr std::uint32_t kNotSrcCopy = 0x00330008;
inline constexpr std::uint32_t kNotSrcErase = 0x001100A6;
inline constexpr std::uint32_t kMergePaint = 0x00BB0226;
inline constexpr std::uint32_t kDstInvert = 0x00550009;

// A picture box: a picture, a persistent image (the picture plus everything drawn
// since), drawing attributes and a current drawing position, in pixels (callers
// convert the form's twips with platform/core/units.h). Every pixel
// is Format_RGB32. Colours are resolved when something is painted; system colours go
// through the resolver hook.
//
// Pixel rules: a line covers its start and leaves out its end pixel; a box covers both
// corners; a circle of radius r is 2r + 1 pixels across; a wide pen is a disc stamped
// along the path, ends included; each primitive combines each pixel once with the
// raster operation (so an XOR box does not cancel at its corners).
class Surface {
 public:
  Surface();
  Surface(std::int32_t width, std::int32_t height);

  std::int32_t Width() const { return image_.width(); }
  std::int32_t Height() const { return image_.height(); }
  // Keeps what is drawn at the top left; new area gets the background colour.
  void SetSize(std::int32_t width, std::int32_t height);

  // With AutoSize the surface takes the size of each picture it is given.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on) { autoSize_ = on; }
  // Kept for the hosts that persist it; drawing always goes to the persistent image.
  bool AutoRedraw() const { return autoRedraw_; }
  void SetAutoRedraw(bool on) { autoRedraw_ = on; }

  // The picture (null when there is none). Setting it repaints the persistent image:
  // background colour, then the picture at the top left; earlier drawing is gone.
  const QImage& Picture() const { return picture_; }
  bool HasPicture() const { return !picture_.isNull(); }
  void SetPicture(const QImage& picture);
  void ClearPicture() { SetPicture(QImage()); }
  // The persistent image: the picture with everything drawn on it.
  const QImage& Image() const { return image_; }
  // Picture := Image: the drawing becomes part of the picture.
  void CommitImage();

  OleColor BackColor() const { return backColor_; }
  // A new background colour clears the drawing, as on the old platform.
  void SetBackColor(OleColor c);
  OleColor ForeColor() const { return foreColor_; }
  void SetForeColor(OleColor c) { foreColor_ = c; }
  OleColor FillColor() const { return fillColor_; }
  void SetFillColor(OleColor c) { fillColor_ = c; }
  morvane::gui::FillStyle FillStyle() const { return fillStyle_; }
  void SetFillStyle(morvane::gui::FillStyle s) { fillStyle_ = s; }
  morvane::gui::DrawMode DrawMode() const { return drawMode_; }
  void SetDrawMode(morvane::gui::DrawMode m) { drawMode_ = m; }
  morvane::gui::DrawStyle DrawStyle() const { return drawStyle_; }
  void SetDrawStyle(morvane::gui::DrawStyle s) { drawStyle_ = s; }
  std::int32_t DrawWidth() const { return drawWidth_; }
  void SetDrawWidth(std::int32_t w) { drawWidth_ = w < 1 ? 1 : w; }
  const QFont& Font() const { return font_; }
  void SetFont(const QFont& f);

  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void SetCurrentX(double x) { currentX_ = x; }
  void SetCurrentY(double y) { currentY_ = y; }

  // System colours of this surface resolve through this hook, asked each time
  // something is painted (the widget palette when null). Not owned.
  void SetSystemColorResolver(const core::SystemColorResolver* r) { resolver_ = r; }
  QRgb Resolve(OleColor c) const { return ResolveColor(c, resolver_); }

  // Clears the drawing (the picture stays) and puts the drawing position at 0, 0.
  void Cls();

  // Line [step1] (x1, y1) - [step2] (x2, y2), colour, B, F. Without a start the line
  // begins at the drawing position; step1 makes the start relative to the drawing
  // position, step2 the end relative to the start. box draws a box (filled with the
  // fill colour and style); box with fill fills it solid in the line colour. The
  // drawing position moves to the end point.
  void Line(bool step1, std::optional<QPointF> start, bool step2, QPointF end,
            std::optional<OleColor> color = {}, bool box = false, bool fill = false);
  void Line(double x1, double y1, double x2, double y2, std::optional<OleColor> color = {},
            bool box = false, bool fill = false) {
    Line(false, QPointF(x1, y1), false, QPointF(x2, y2), color, box, fill);
  }

  // Circle [step] (x, y), radius, colour, start, end, aspect. Angles in radians within
  // -2 pi .. 2 pi, counter-clockwise from three o'clock; a negative angle draws a
  // radius to that end (a pie, filled like a circle). An aspect below 1 flattens the
  // circle, above 1 narrows it. The drawing position moves to the centre. Angles out
  // of range draw nothing and give false.
  bool Circle(bool step, double x, double y, double radius, std::optional<OleColor> color = {},
              std::optional<double> start = {}, std::optional<double> end = {},
              std::optional<double> aspect = {});

  // One point in the colour (a disc of DrawWidth); the drawing position moves there.
  void PSet(bool step, double x, double y, std::optional<OleColor> color = {});
  // The colour at x, y, -1 outside the surface.
  std::int32_t Point(double x, double y) const;

  // Prints text at the drawing position in the font and fore colour (background left
  // as it is), then moves the drawing position to the left edge of the next line.
  void Print(const QString& text);
  std::int32_t TextWidth(const QString& text) const;
  std::int32_t TextHeight(const QString& text) const;

  // Draws the part (x2, y2, w2, h2) of a picture into (x1, y1, w1, h1), stretched by
  // nearest pixel; negative sizes mirror. Omitted sizes are the picture's, the source
  // origin defaults to 0, 0. Only pixels inside both the picture and the surface are
  // touched.
  void PaintPicture(const QImage& picture, double x1, double y1, std::optional<double> w1 = {},
                    std::optional<double> h1 = {}, std::optional<double> x2 = {},
                    std::optional<double> y2 = {}, std::optional<double> w2 = {},
                    std::optional<double> h2 = {}, std::uint32_t opcode = kSrcCopy);

  // 4-connected flood fill from x, y with the fill colour and style. Surface: over the
  // area of colour; Border: outward up to colour. False when the start pixel is off the
  // surface or does not qualify.
  bool FloodFill(std::int32_t x, std::int32_t y, OleColor color, FloodFillType type);

  // The persistent image as plain memory, and back (sizes the surface to it); the
  // conversions are those of image_loader.h.
  core::RgbImage ToRgbImage() const;
  void FromRgbImage(const core::RgbImage& rgb);

 private:
  using Path = std::vector<raster::PathPixel>;
  // Runs of pixels of one row, both ends included.
  struct Span {
    std::int32_t y, x0, x1;
  };
  using Spans = std::vector<Span>;

  void Repaint();
  QRgb PenColor(const std::optional<OleColor>& c) const;
  // Where a path's pixels may lie and still touch the surface under the pen.
  raster::Clip PathClip() const;
  // The pixels a pen leaves along a path (style and width applied), clipped to the
  // surface, sorted and merged.
  Spans Stroke(const Path& path) const;
  // Combines each pixel of the spans once with colour under the draw mode; with a
  // fill style only the pixels its pattern hits; where inside is given, only the
  // pixels it accepts. Spans must be sorted and disjoint.
  template <class Inside>
  void Combine(const Spans& spans, QRgb color, morvane::gui::FillStyle pattern, const Inside& inside);
  void Combine(const Spans& spans, QRgb color);
  // Fills area less the stroke with the fill colour and style, then strokes.
  template <class Inside>
  void FillAndStroke(Spans area, const Spans& stroke, QRgb pen, const Inside& inside);

  QImage picture_;
  QImage image_;
  bool autoSize_ = false;
  bool autoRedraw_ = true;
  OleColor backColor_;
  OleColor foreColor_;
  OleColor fillColor_ = 0;
  morvane::gui::FillStyle fillStyle_ = FillStyle::Transparent;
  morvane::gui::DrawMode drawMode_ = DrawMode::CopyPen;
  morvane::gui::DrawStyle drawStyle_ = DrawStyle::Solid;
  std::int32_t drawWidth_ = 1;
  QFont font_;
  double currentX_ = 0;
  double currentY_ = 0;
  const core::SystemColorResolver* resolver_ = nullptr;
};

}  // namespace morvane::gui
