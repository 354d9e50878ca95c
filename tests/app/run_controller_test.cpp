#include <gtest/gtest.h>

#include "app/run_controller.h"

namespace morvane::app {
namespace {

TEST(RunController, PumpsAtMostAboutThirtyTimesASecond) {
  std::int64_t now = 1000;
  int pumps = 0;
  RunController run([&] { return now; }, [&] { ++pumps; });
  run.SetRunning(true);
  // A tick every millisecond for one second.
  for (int i = 0; i < 1000; ++i) {
    ++now;
    run.Tick();
  }
  EXPECT_GE(pumps, 28);
  EXPECT_LE(pumps, 31);
}

TEST(RunController, ATickFromInsideThePumpDoesNotPumpAgain) {
  std::int64_t now = 0;
  int pumps = 0;
  RunController* self = nullptr;
  RunController run([&] { return now; },
                    [&] {
                      ++pumps;
                      now += 100;
                      self->Tick();
                    });
  self = &run;
  now = 100;
  EXPECT_TRUE(run.Tick());
  EXPECT_EQ(pumps, 1);
}

TEST(RunController, StopFlagAndElapsedTime) {
  std::int64_t now = 500;
  RunController run([&] { return now; }, [] {});
  run.StartClock();
  now = 1750;
  EXPECT_EQ(run.ElapsedMs(), 1250);
  EXPECT_FALSE(run.StopRequested());
  run.RequestStop();
  EXPECT_TRUE(run.StopRequested());
  run.ClearStop();
  EXPECT_FALSE(run.StopRequested());
}

}  // namespace
}  // namespace morvane::app
