#include "document/run_sequence.h"

#include <string>
#include <utility>

namespace morvane::document {

RunSequence::RunSequence(DocumentModel& model, engine::ContourEngine& engine, WindowRoles roles)
    : model_(model), engine_(engine), roles_(roles) {}

void RunSequence::SetPhase(RunPhase phase) {
  phase_ = phase;
  roles_.commands.StateChanged();
}

void RunSequence::BeginRun(bool startClock) {
  if (startClock) roles_.display.StartRunClock();
  SetPhase(RunPhase::Running);
  roles_.display.SetBusyPointer(true);
}

void RunSequence::EndRun() {
  // The trace cleared the drawn contours off the zoom view.
  roles_.picture.RedrawContours();
  if (engine::UpperBound(model_.Points()) > 0) model_.LetChanged(true);
  roles_.status.SetStatusText(engine::StatusField::Info, "");
  roles_.run.ShowElapsedTime();
  // After the last tick: a Stop taken there found nothing left to stop.
  roles_.display.ClearStopRequest();
  roles_.display.SetBusyPointer(false);
  // During a batch the window stays disabled and silent; the batch ends it.
  if (!model_.state.BatchRunning) {
    SetPhase(RunPhase::Idle);
    roles_.prompts.Beep(core::kBeepInformation);
  }
}

void RunSequence::CreateWholeImageContours() {
  BeginRun(!model_.state.BatchRunning);
  ReshowImage();
  engine::ContourSet result = engine_.CreateWholeImageContours(model_.NumberFormat());
  // Reduction can leave a contour without points: the map holds none of it, and the
  // numbers follow the contours it holds.
  engine::DropEmptyContours(result, model_.NumberFormat());
  model_.TakeContours(std::move(result));
  if (!model_.Titles().empty()) roles_.titles.SelectTitle(0);
  model_.LetClickTraced(false);
  EndRun();
}

engine::AddOutcome RunSequence::AddContourAtPoint(std::int32_t x, std::int32_t y) {
  BeginRun(true);
  engine::ContourSet contours = model_.Contours();
  const engine::AddOutcome outcome = engine_.AddContourAtPoint(contours, x, y, model_.NumberFormat());
  if (outcome != engine::AddOutcome::NotAdded) model_.TakeContours(std::move(contours));
  if (outcome == engine::AddOutcome::Joined) ShowEdit();
  EndRun();
  return outcome;
}

bool RunSequence::CreateContourAtPoint(std::int32_t x, std::int32_t y) {
  BeginRun(true);
  ReshowImage();
  engine_.PrepareMask();
  engine::ContourSet contours;
  bool found = engine_.TraceContourAt(x, y);
  if (found) {
    engine::ContourPoints& traced = engine_.Traced();
    const std::int32_t n = engine_.SimplifyContour(traced, true);
    if (n != engine::UpperBound(traced)) engine::CutPoints(traced, n);
    // A degenerate figure can reduce to nothing.
    found = engine::UpperBound(traced) > 0;
    if (found) {
      engine_.StartAtNearestOrigin(traced);
      engine::CopyPoints(traced, contours.points);
      contours.titles.push_back(engine::UntitledContour(0, model_.NumberFormat()));
      contours.count = 1;
    }
  }
  if (!found) roles_.status.SetStatusText(engine::StatusField::Progress2, "No figure found.");
  model_.TakeContours(std::move(contours));
  if (found) roles_.titles.SelectTitle(0);
  model_.LetClickTraced(found);
  EndRun();
  return found;
}

bool RunSequence::JoinContours(engine::PointPair pair) {
  return Edit([&](engine::ContourSet& contours) { return engine_.JoinContours(contours, pair); });
}

bool RunSequence::CutBetweenPoints(engine::PointPair pair) {
  return Edit([&](engine::ContourSet& contours) { return engine_.CutBetweenPoints(contours, pair); });
}

bool RunSequence::Edit(const std::function<bool(engine::ContourSet&)>& edit) {
  BeginBusy();
  engine::ContourSet contours = model_.Contours();
  const bool done = edit(contours);
  if (done) {
    model_.TakeContours(std::move(contours));
    ShowEdit();
  }
  EndBusy();
  return done;
}

void RunSequence::ShowEdit() {
  if (!model_.Titles().empty()) roles_.titles.SelectTitle(0);
  ReshowImage();
  roles_.picture.RedrawContours();
  model_.LetChanged(true);
}

void RunSequence::BeginBatch() {
  SetPhase(RunPhase::Running);
  roles_.display.StartRunClock();
}

void RunSequence::EndBatch() {
  // A Stop between two images found no run to end: its request ends with the batch, so
  // that it does not cut the next run short.
  roles_.display.ClearStopRequest();
  SetPhase(RunPhase::Idle);
}

void RunSequence::BeginBusy() {
  // Within a run the window is disabled already; a busy stretch there leaves it so.
  if (phase_ == RunPhase::Idle) SetPhase(RunPhase::Busy);
  roles_.display.SetBusyPointer(true);
}

void RunSequence::EndBusy() {
  roles_.display.SetBusyPointer(false);
  if (phase_ == RunPhase::Busy) SetPhase(RunPhase::Idle);
}

void RunSequence::ShowLoadedImage(core::RgbImage image) {
  const std::string size = std::to_string(image.width) + "x" + std::to_string(image.height);
  roles_.picture.ShowPicture(std::move(image));
  roles_.status.SetStatusText(engine::StatusField::Progress1, size);
  ImageShown();
}

void RunSequence::ReshowImage() {
  roles_.picture.ReshowPicture();
  ImageShown();
}

void RunSequence::ImageShown() {
  roles_.caption.SetCaption(roles_.caption.ProgramTitle() + " - " + model_.state.ImagePath);
  model_.LetImageShown(true);
  model_.LetChanged(false);
  roles_.commands.StateChanged();
}

}  // namespace morvane::document
