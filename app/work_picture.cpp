#include "app/work_picture.h"

#include <optional>
#include <utility>

#include "app/edit_commands.h"
#include "app/settings_io.h"
#include "app/status_panels.h"
#include "document/document_model.h"
#include "engine/contour_points.h"
#include "platform/gui/image_loader.h"
#include "platform/gui/ole_color.h"

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
  ScopelView& view = view_;
  // Always onto the clean picture: lines of an earlier state never stay behind. The
  // buffer is kept between passes, so that a large picture's memory is reused.
  core::RgbImage& drawn = drawn_;
  drawn.width = pbImage_.width;
  drawn.height = pbImage_.height;
  drawn.pixels.assign(pbImage_.pixels.begin(), pbImage_.pixels.end());
  const auto colour = [](std::int32_t ole) {
    return gui::ResolveColor(static_cast<gui::OleColor>(ole));
  };
  DrawContours(
      drawn, points, colour(view.ForeColor()),
      settings_.mViewPoints ? std::optional<std::uint32_t>(colour(view.FillColor())) : std::nullopt);
  ShowWorkPicture(drawn);
  viewClean_ = false;
}

void WorkPicture::DrawPointMarks() {
  // Marks on or off: the contours are drawn again, with or without them.
  redraw_.Request();
  redraw_.Flush();
}

void WorkPicture::LocateCursor(double x, double y) { view_.LocateCursor(x, y); }

void WorkPicture::ClearPicture() {
  pbImage_ = core::RgbImage();
  cleanPending_ = false;
  viewClean_ = false;
  editEnabled_ = false;
  view_.SetPicture(QImage());
}

void WorkPicture::ShowPicture(core::RgbImage image) {
  pbImage_ = std::move(image);
  cleanPending_ = false;
  editEnabled_ = false;
  view_.SetPicture(gui::FromRgbImage(pbImage_));
  view_.SetEnabled(true);
  viewClean_ = true;
}

void WorkPicture::ReshowPicture() {
  // Handing a large picture to the zoom view costs as much as a small trace: skip it
  // when the view shows the clean picture already.
  if (viewClean_) {
    cleanPending_ = false;
    return;
  }
  ShowWorkPicture(pbImage_);
  viewClean_ = true;
}

void WorkPicture::ShowWorkPicture(const core::RgbImage& picture) {
  cleanPending_ = false;
  if (picture.pixels.empty()) return;
  ScopelView& view = view_;
  const std::int32_t x = view.ScrollX();
  const std::int32_t y = view.ScrollY();
  view.SetPicture(gui::FromRgbImage(picture));
  view.SetScroll(x, y);
}

}  // namespace morvane::app
