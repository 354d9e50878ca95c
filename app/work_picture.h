#pragma once

// The work picture on the zoom view: the clean picture the engine traces, the copy with
// the contours drawn over it, the deferred redraw and the point marks.

#include <QImage>
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/contour_painter.h"
#include "app/scopel_view.h"
#include "engine/window_roles.h"
#include "platform/core/pixel_buffer.h"

namespace morvane::document {
class DocumentModel;
}

namespace morvane::app {

class StatusPanels;
struct WindowSettings;

class WorkPicture : public QObject, public engine::PictureView {
  Q_OBJECT

 public:
  // Draws the model's contours in the zoom view's colours, the point marks as the
  // settings say; the statistics go to the status panels.
  WorkPicture(const document::DocumentModel& model, ScopelView& view, const WindowSettings& settings,
              StatusPanels& status, QObject* parent = nullptr);

  // The clean picture, which the engine traces: a new one is a new object, and follow
  // is told of each (at once of the one there is).
  const core::RgbImage* Image() const { return pbImage_.get(); }
  void FollowImage(std::function<void(const core::RgbImage*)> follow);
  // The Edit commands that need a drawing may run.
  bool EditEnabled() const { return editEnabled_; }

  // engine::PictureView
  void ShowImage() override { cleanPending_ = true; }
  // Asks for the contours to be drawn once the current event is done (the clean image
  // first when it was asked for); the Edit menu follows at once.
  void RedrawContours() override;
  // Draws an asked-for redraw now.
  void FlushRedraw() { redraw_.Flush(); }
  // Marks every vertex, or paints the marks over, as Show Vertices says.
  void DrawPointMarks();
  void LocateCursor(double x, double y) override;
  void ClearPicture() override;
  void ShowPicture(core::RgbImage image) override;
  void ReshowPicture() override;
  void SelectZoom(int index) override { emit ZoomSelected(index); }

 signals:
  // View > Zoom, run when the document selects a zoom.
  void ZoomSelected(int index);
  // The Edit commands became usable: the enablement follows.
  void EditEnabledChanged();

 private:
  void DrawContoursNow();
  // The picture on the zoom view, its scroll position kept.
  void ShowWorkPicture(const QImage& picture);
  void SetImage(core::RgbImage image);

  const document::DocumentModel& model_;
  ScopelView& view_;
  const WindowSettings& settings_;
  StatusPanels& status_;

  // Shared with the zoom view while it shows the picture clean; the copy with the
  // contours drawn is the view's alone and lives only while the view shows it.
  std::shared_ptr<const core::RgbImage> pbImage_ = std::make_shared<const core::RgbImage>();
  std::function<void(const core::RgbImage*)> followImage_;
  bool editEnabled_ = false;
  bool cleanPending_ = false;
  bool viewClean_ = false;  // the zoom view shows pbImage_ as it is
  DeferredCall redraw_{[this] { DrawContoursNow(); }};
};

}  // namespace morvane::app
