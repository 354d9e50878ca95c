#include "app/work_picture.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/edit_commands.h"
#include "app/settings_io.h"
#include "app/status_panels.h"
#include "document/document_model.h"
#include "engine/contour_points.h"
#include "platform/gui/ole_color.h"
#include "platform/gui/shared_picture.h"

namespace morvane::app {

WorkPicture::WorkPicture(const document::DocumentModel& model, ScopelView& view,
                         const WindowSettings& settings, StatusPanels& status, QObject* parent)
    : QObject(parent), model_(model), view_(view), settings_(settings), status_(status) {}

void WorkPicture::RedrawContours() {
  if (engine::UpperBound(model_.Points()) >= 3) {
    editEnabled_ = true;
    emit EditEnabledChanged();
  }
  // The statistics now, on the image part the document wrote last: a line written after
  // this request (the batch's end) stands alone. An empty document has its own too.
  const MapContents counted = CountMapContents(model_.Points());
  status_.ShowStatistics(counted.points, counted.contours);
  redraw_.Request();
}

void WorkPicture::DrawContoursNow() {
  const engine::ContourPoints& points = model_.Points();
  const std::int32_t upper = engine::UpperBound(points);
  if (upper < 3) {
    if (cleanPending_) ReshowPicture();
    return;
  }
  core::RgbImage& clean = *pbImage_;
  if (clean.empty()) {
    cleanPending_ = false;
    return;
  }
  ScopelView& view = view_;
  // Always onto the clean picture: lines of an earlier state never stay behind.
  TakeLinesOff();
  const auto colour = [](std::int32_t ole) {
    return gui::ResolveColor(static_cast<gui::OleColor>(ole));
  };
  const std::uint32_t line = colour(view.ForeColor());
  const std::optional<std::uint32_t> marks =
      settings_.showPoints ? std::optional<std::uint32_t>(colour(view.FillColor())) : std::nullopt;
  // A record of two 32-bit numbers a pixel: on the picture itself while it takes no
  // more memory than a copy would, which the pictures of dense figures outgrow.
  const std::int64_t most = CountContourPixels(points, marks.has_value());
  const auto area = static_cast<std::int64_t>(core::RgbImage::Area(clean.width, clean.height));
  const bool fits = most <= area / 2 && area <= std::int64_t{UINT32_MAX};
  if (fits && !drawOnPicture_ && !model_.State().BatchRunning) {
    // The run ends in a moment and the lines go onto the picture then; a batch goes on
    // to the next image, and its contours are shown on a copy meanwhile.
    drawPostponed_ = true;
    return;
  }
  if (fits && drawOnPicture_) {
    drawnOver_.Reserve(most);
    DrawContours(clean, points, line, marks, drawnOver_);
    ShowWorkPicture(gui::SharedPicture(pbImage_));
    viewClean_ = false;
    return;
  }
  // The view lets go of the picture drawn before, so that at most one drawn picture
  // stands beside the clean one.
  ReshowPicture();
  QImage drawn = gui::NewLargePicture(clean.width, clean.height);
  if (drawn.isNull()) return;
  for (std::int32_t y = 0; y < clean.height; ++y) {
    const auto row = clean.pixels.begin() + static_cast<std::ptrdiff_t>(y) * clean.width;
    std::copy(row, row + clean.width, reinterpret_cast<std::uint32_t*>(drawn.scanLine(y)));
  }
  DrawContours(drawn, points, line, marks);
  ShowWorkPicture(drawn);
  viewClean_ = false;
}

void WorkPicture::TakeLinesOff() {
  if (drawnOver_.Empty()) return;
  drawnOver_.Undo(*pbImage_);
  // The view may still show the lines it painted: it is given the picture again.
  viewClean_ = false;
}

void WorkPicture::SetDrawOnPicture(bool allowed) {
  drawOnPicture_ = allowed;
  if (!allowed) {
    TakeLinesOff();
  } else if (drawPostponed_) {
    drawPostponed_ = false;
    redraw_.Request();
  }
}

void WorkPicture::ShowImage() {
  TakeLinesOff();
  cleanPending_ = true;
}

void WorkPicture::DrawPointMarks() {
  // Marks on or off: the contours are drawn again, with or without them.
  redraw_.Request();
  redraw_.Flush();
}

void WorkPicture::LocateCursor(double x, double y) { view_.LocateCursor(x, y); }

void WorkPicture::FollowImage(std::function<void(const core::RgbImage*)> follow) {
  followImage_ = std::move(follow);
  if (followImage_) followImage_(pbImage_.get());
}

void WorkPicture::SetImage(core::RgbImage image) {
  drawnOver_.Forget();
  pbImage_ = std::make_shared<core::RgbImage>(std::move(image));
  if (followImage_) followImage_(pbImage_.get());
}

void WorkPicture::ClearPicture() {
  SetImage(core::RgbImage());
  cleanPending_ = false;
  viewClean_ = false;
  editEnabled_ = false;
  view_.SetPicture(QImage());
}

void WorkPicture::ShowPicture(core::RgbImage image) {
  SetImage(std::move(image));
  cleanPending_ = false;
  editEnabled_ = false;
  // The view shows the engine's own pixels: no copy of the picture is made for it.
  view_.SetPicture(gui::SharedPicture(pbImage_));
  view_.SetEnabled(true);
  viewClean_ = true;
}

void WorkPicture::ReshowPicture() {
  TakeLinesOff();
  // Handing a large picture to the zoom view costs as much as a small trace: skip it
  // when the view shows the clean picture already.
  if (viewClean_) {
    cleanPending_ = false;
    return;
  }
  ShowWorkPicture(gui::SharedPicture(pbImage_));
  viewClean_ = true;
}

void WorkPicture::ShowWorkPicture(const QImage& picture) {
  cleanPending_ = false;
  if (picture.isNull()) return;
  ScopelView& view = view_;
  const std::int32_t x = view.ScrollX();
  const std::int32_t y = view.ScrollY();
  view.SetPicture(picture);
  view.SetScroll(x, y);
}

}  // namespace morvane::app
