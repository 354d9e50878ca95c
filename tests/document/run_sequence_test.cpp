#include "document/run_sequence.h"

#include <gtest/gtest.h>

#include "tests/document/fakes.h"
#include "tests/engine/engine_fixture.h"

namespace morvane::document {
namespace {

using engine::ContourPoint;
using engine::ContourPoints;
using engine::ReductionMethod;
using Entries = std::vector<std::string>;

constexpr std::string_view kTwoSquares = R"(
..........
.###..###.
.###..###.
.###..###.
..........
)";

// A real engine over an ASCII-art picture, the model and the fake window's roles.
struct RunRig {
  explicit RunRig(std::string_view picture)
      : image(engine::testing::ImageFromArt(picture)),
        engine(view, view, view, view),
        runs(model, engine, view.Roles()) {
    engine.SetImage(&image);
    engine.LetBackColor(0xFFFFFF);
    engine.ApproxMethod = ReductionMethod::DirectionChange;
    engine.PrepareMask();
    model.state.ImagePath = "/p/a.gif";
    model.Observe([this](unsigned changes) {
      if (changes & DocumentModel::kContours) ++contourNotices;
    });
  }
  // Two contours, as a map read earlier gives them.
  void TwoContours() {
    engine::ContourSet set;
    set.points = {{0, 0}, {1, 1}, {1, 3}, {3, 3}, {3, 1}, {1, -1}, {6, 1}, {6, 3}, {8, 3}, {8, 1}};
    set.count = 2;
    set.titles = {{"00", "Lake", true}, {"01", "Hill", true}};
    model.TakeContours(set);
    contourNotices = 0;
  }

  core::RgbImage image;
  testing::FakeView view;
  DocumentModel model;
  engine::ContourEngine engine;
  RunSequence runs;
  int contourNotices = 0;
};

TEST(RunSequenceTest, CreateHandsItsResultToTheModelWhenTheRunEnds) {
  RunRig rig(kTwoSquares);
  rig.TwoContours();
  const engine::ContourSet before = rig.model.Contours();
  bool untouched = true, running = true, busy = true;
  rig.view.onTick = [&] {
    // Until the result is handed over, the document holds its old contours whole.
    untouched = untouched && (rig.contourNotices > 0 || rig.model.Contours() == before);
    running = running && rig.runs.Phase() == RunPhase::Running;
    busy = busy && rig.view.busy;
  };
  rig.runs.CreateWholeImageContours();
  EXPECT_TRUE(untouched) << "a repaint during the run sees no half-built array";
  EXPECT_TRUE(running);
  EXPECT_TRUE(busy);
  EXPECT_EQ(rig.contourNotices, 1);
  EXPECT_EQ(rig.model.Count(), 2);
  EXPECT_EQ(rig.model.TitleEntries(), (Entries{"#00", "#01"}));
  EXPECT_EQ(rig.view.selectedTitle, 0);
  EXPECT_TRUE(rig.model.IsChanged());
  EXPECT_FALSE(rig.model.ClickTraced());
  EXPECT_EQ(rig.runs.Phase(), RunPhase::Idle);
  EXPECT_FALSE(rig.view.busy);
  EXPECT_EQ(rig.view.beeps, std::vector<int>{core::kBeepInformation});
  EXPECT_EQ(rig.view.clockStarts, 1);
  EXPECT_EQ(rig.view.stopsCleared, 1);
  EXPECT_EQ(rig.view.status[engine::StatusField::Info], "");
  EXPECT_EQ(rig.view.status[engine::StatusField::Progress2], "");
  EXPECT_EQ(rig.view.caption, "Morvane - /p/a.gif");
  EXPECT_GT(rig.view.redraws, 0);
}

TEST(RunSequenceTest, ContoursTheReductionLeavesWithoutPointsAreDropped) {
  // The first pair reduces to nothing, the second keeps its two points.
  RunRig rig(R"(
......##
##......
)");
  rig.runs.CreateWholeImageContours();
  EXPECT_EQ(rig.model.Points(), (ContourPoints{{0, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(rig.model.Count(), 1);
  EXPECT_EQ(rig.model.TitleEntries(), (Entries{"#00"}));
}

TEST(RunSequenceTest, ARunThatFindsNothingLeavesTheDocumentUnchanged) {
  RunRig rig(R"(
....
....
)");
  rig.TwoContours();
  rig.model.LetChanged(true);
  rig.runs.CreateWholeImageContours();
  EXPECT_EQ(rig.model.Points(), engine::EmptyContourPoints());
  EXPECT_TRUE(rig.model.Titles().empty());
  EXPECT_FALSE(rig.model.IsChanged()) << "showing the image again cleared the mark";
  EXPECT_EQ(rig.view.selectedTitle, -1);
  EXPECT_EQ(rig.runs.Phase(), RunPhase::Idle);
}

TEST(RunSequenceTest, InABatchTheWindowStaysDisabledAndSilentUntilTheBatchEnds) {
  RunRig rig(kTwoSquares);
  rig.model.state.BatchRunning = true;
  rig.runs.BeginBatch();
  rig.runs.CreateWholeImageContours();
  rig.runs.CreateWholeImageContours();
  EXPECT_EQ(rig.view.clockStarts, 1) << "the run clock is the batch's";
  EXPECT_EQ(rig.runs.Phase(), RunPhase::Running);
  EXPECT_TRUE(rig.view.beeps.empty());
  EXPECT_FALSE(rig.view.busy);
  EXPECT_EQ(rig.model.Count(), 2);
  rig.runs.EndBatch();
  EXPECT_EQ(rig.runs.Phase(), RunPhase::Idle);
}

TEST(RunSequenceTest, AStoppedRunKeepsWhatItCollectedAndClearsTheRequest) {
  RunRig rig(kTwoSquares);
  bool first = true;
  rig.view.onTick = [&] {
    if (first) rig.view.stopRequested = true;
    first = false;
  };
  rig.runs.CreateWholeImageContours();
  EXPECT_FALSE(rig.view.stopRequested);
  EXPECT_EQ(rig.model.Points(), engine::EmptyContourPoints()) << "stopped in the pixel count";
  EXPECT_EQ(rig.runs.Phase(), RunPhase::Idle);
}

TEST(RunSequenceTest, AStopTakenInTheLastTickEndsWithTheRun) {
  // The run's last clock update lets events through after the engine's last look at the
  // flag: a Stop pressed then finds nothing left to stop and must not outlive the run.
  for (const bool whole : {true, false}) {
    SCOPED_TRACE(whole ? "whole image" : "at a point");
    RunRig rig(kTwoSquares);
    rig.view.onTick = [&] {
      if (rig.runs.Phase() == RunPhase::Running) rig.view.stopRequested = true;
    };
    if (whole) {
      rig.runs.CreateWholeImageContours();
    } else {
      rig.runs.CreateContourAtPoint(2, 2);
    }
    EXPECT_FALSE(rig.view.stopRequested) << "the next run would stop at once";
    EXPECT_EQ(rig.runs.Phase(), RunPhase::Idle);
  }
}

TEST(RunSequenceTest, AStopBetweenTwoImagesOfABatchEndsWithTheBatch) {
  RunRig rig(kTwoSquares);
  rig.model.state.BatchRunning = true;
  rig.runs.BeginBatch();
  rig.runs.CreateWholeImageContours();
  // Pressed after the image's run ended, before the next one began.
  rig.view.stopRequested = true;
  rig.model.state.BatchRunning = false;
  rig.runs.EndBatch();
  EXPECT_FALSE(rig.view.stopRequested) << "the next run would stop at once";
  rig.runs.CreateWholeImageContours();
  EXPECT_EQ(rig.model.Count(), 2);
}

TEST(RunSequenceTest, JoinAndCutAreShownAndMarkTheDocumentChanged) {
  struct Case {
    const char* what;
    bool join;
    engine::PointPair pair;
    bool done;
    std::int32_t count;
    std::size_t titles;
    const char* notice;
  };
  const Case cases[] = {
      {"join two contours", true, {2, 7}, true, 1, 1, ""},
      {"join within one contour", true, {1, 3}, false, 2, 2, "The same contour."},
      {"cut within one contour", false, {1, 3}, true, 2, 2, ""},
      {"cut across contours", false, {3, 7}, false, 2, 2, "Different contours."},
  };
  for (const Case& c : cases) {
    RunRig rig(kTwoSquares);
    rig.TwoContours();
    rig.view.status[engine::StatusField::Progress2] = "";
    RunPhase during = RunPhase::Idle;
    rig.view.onTick = [&] { during = rig.runs.Phase(); };
    const bool done = c.join ? rig.runs.JoinContours(c.pair) : rig.runs.CutBetweenPoints(c.pair);
    EXPECT_EQ(done, c.done) << c.what;
    EXPECT_EQ(rig.model.Count(), c.count) << c.what;
    EXPECT_EQ(rig.model.Titles().size(), c.titles) << c.what;
    EXPECT_EQ(rig.model.IsChanged(), c.done) << c.what;
    EXPECT_EQ(rig.view.selectedTitle, c.done ? 0 : -1) << c.what;
    EXPECT_EQ(rig.contourNotices, c.done ? 1 : 0) << c.what;
    EXPECT_EQ(rig.view.status[engine::StatusField::Progress2], c.notice) << c.what;
    EXPECT_EQ(rig.runs.Phase(), RunPhase::Idle) << c.what;
    EXPECT_FALSE(rig.view.busy) << c.what;
    if (c.join && c.done) {
      EXPECT_EQ(during, RunPhase::Busy) << c.what << ": the pair search runs disabled";
    }
  }
}

TEST(RunSequenceTest, AddingAtClicks) {
  RunRig rig(kTwoSquares);
  rig.model.LetDigits(2);
  const auto click = [&](std::int32_t x, std::int32_t y) {
    return rig.runs.AddContourAtPoint(x * engine::kTwipsPerPixel + 7, y * engine::kTwipsPerPixel + 7);
  };
  EXPECT_EQ(click(1, 1), engine::AddOutcome::Added);
  EXPECT_EQ(rig.model.TitleEntries(), (Entries{"#00"}));
  EXPECT_TRUE(rig.model.IsChanged());
  EXPECT_EQ(rig.runs.Phase(), RunPhase::Idle);
  EXPECT_EQ(rig.view.clockStarts, 1);

  const ContourPoints before = rig.model.Points();
  rig.model.LetChanged(false);
  EXPECT_EQ(click(1, 3), engine::AddOutcome::NotAdded);  // the same figure from another row
  EXPECT_EQ(rig.model.Points(), before);
  EXPECT_EQ(rig.view.status[engine::StatusField::Progress2], "Already added.");
  EXPECT_TRUE(rig.model.IsChanged()) << "the end of a run marks a document with contours";

  rig.engine.Connected = true;
  EXPECT_EQ(click(6, 2), engine::AddOutcome::Joined);
  EXPECT_EQ(rig.model.Count(), 1);
  EXPECT_EQ(rig.model.TitleEntries(), (Entries{"#00"}));
  EXPECT_EQ(rig.view.selectedTitle, 0);
  EXPECT_EQ(rig.runs.Phase(), RunPhase::Idle);
  EXPECT_FALSE(rig.view.busy);
}

}  // namespace
}  // namespace morvane::document
