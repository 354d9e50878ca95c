#pragma once

#include <cstdint>
#include <functional>

#include "document/document_model.h"
#include "document/window_roles.h"
#include "engine/contour_engine.h"

namespace morvane::document {

// What the window is doing, for its enablement: idle; in a run (everything disabled
// but Stop); or busy for a moment (the window disabled).
enum class RunPhase { Idle, Running, Busy };

// The sequences around the engine's operations that the main window and morvane-trace
// share: the clock, the busy pointer, the run phase the window derives its enablement
// from, showing the image again, handing the engine's result to the model, and the
// reset after a run (ResetAfterRun).
class RunSequence {
 public:
  RunSequence(DocumentModel& model, engine::ContourEngine& engine, WindowRoles roles);
  virtual ~RunSequence() = default;

  RunPhase Phase() const { return phase_; }

  // File > Create on the shown image: the whole-image run, its result handed to the
  // model when it ends (mFileCreate_Click).
  virtual void CreateWholeImageContours();
  // Adds the contour under a click (twips of the image) as its own run; a contour
  // joined to the nearest one is shown as an edit.
  engine::AddOutcome AddContourAtPoint(std::int32_t x, std::int32_t y);
  // A fresh document of the one contour under a click (pixels of the image): the
  // mask is built anew and the trace reduced and started at its point nearest to the
  // origin; "No figure found." leaves an empty document. True when traced.
  bool CreateContourAtPoint(std::int32_t x, std::int32_t y);
  // Joins the two contours of the pair, or cuts the points between the pair: busy
  // while it works, then shown and marked changed. False when refused.
  bool JoinContours(engine::PointPair pair);
  bool CutBetweenPoints(engine::PointPair pair);

  // The batch: one run around all its images; their runs leave the window disabled.
  void BeginBatch();
  void EndBatch();
  // A short stretch with the window disabled and the busy pointer (a new document).
  void BeginBusy();
  void EndBusy();

  // A newly loaded image shown (its size in panel "Progress1"), or the shown one again
  // with the scroll position kept; then the caption and the changed mark cleared
  // (LoadImageFile).
  void ShowLoadedImage(core::RgbImage image);
  void ReshowImage();

 private:
  void BeginRun(bool startClock);
  // ResetAfterRun.
  void EndRun();
  // Runs an edit of a copy of the contours with the window busy; when it changes them,
  // the model takes them and they are shown.
  bool Edit(const std::function<bool(engine::ContourSet&)>& edit);
  // After a join or a cut: the first title selected, the image shown again with the
  // contours, the changed mark set.
  void ShowEdit();
  void ImageShown();
  void SetPhase(RunPhase phase);

  DocumentModel& model_;
  engine::ContourEngine& engine_;
  WindowRoles roles_;
  RunPhase phase_ = RunPhase::Idle;
};

}  // namespace morvane::document
