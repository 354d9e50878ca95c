#pragma once

// The work picture on the zoom view: the clean picture the engine traces, the contours
// drawn over it between runs (or over a copy of it), the deferred redraw and the point
// marks.

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

  // Between runs the contours are drawn on the traced picture itself, with a record of
  // the pixels they cover, which costs no second picture. A run reads the picture: as
  // one begins, the lines come off, and a redraw asked for meanwhile waits for its end
  // (during a batch it is drawn on a copy).
  void SetDrawOnPicture(bool allowed);

  // engine::PictureView. Takes the lines off the traced picture at once (the engine
  // reads it next); the view shows it clean with the next redraw.
  void ShowImage() override;
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
  // Gives the traced picture back clean where contours were drawn on it.
  void TakeLinesOff();
  // The picture on the zoom view, its scroll position kept.
  void ShowWorkPicture(const QImage& picture);
  void SetImage(core::RgbImage image);

  const document::DocumentModel& model_;
  ScopelView& view_;
  const WindowSettings& settings_;
  StatusPanels& status_;

  // Shared with the zoom view, clean or drawn on; a copy with the contours drawn is the
  // view's alone and lives only while the view shows it.
  std::shared_ptr<core::RgbImage> pbImage_ = std::make_shared<core::RgbImage>();
  DrawnOver drawnOver_;  // what the lines on pbImage_ cover
  bool drawOnPicture_ = true;
  bool drawPostponed_ = false;
  std::function<void(const core::RgbImage*)> followImage_;
  bool editEnabled_ = false;
  bool cleanPending_ = false;
  bool viewClean_ = false;  // the zoom view shows pbImage_, clean
  DeferredCall redraw_{[this] { DrawContoursNow(); }};
};

}  // namespace morvane::app
