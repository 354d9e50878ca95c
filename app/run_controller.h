#pragma once

// The state of a long run: the stop flag, the clock, and the event pump that lets the
// Stop button and Ctrl+Pause through while the run keeps the UI thread. The pump runs
// at most about 30 times a second, so the event loop does not slow the engine.

#include <cstdint>
#include <functional>

namespace morvane::app {

class RunController {
 public:
  using Clock = std::function<std::int64_t()>;  // milliseconds
  using Pump = std::function<void()>;

  RunController(Clock clock, Pump pump);

  // The UI was switched off for a run (true) or on again after it (false).
  void SetRunning(bool running);
  bool Running() const { return running_; }

  // TraceStartTicks := now.
  void StartClock() { startTicks_ = clock_(); }
  std::int64_t ElapsedMs() const { return clock_() - startTicks_; }

  // Lets pending events through when enough time has passed since the last time;
  // answers whether it did.
  bool Tick();
  // Whether the next Tick would let events through.
  bool PumpDue() const { return !pumping_ && clock_() - lastPump_ >= kPumpIntervalMs; }
  static constexpr std::int64_t kPumpIntervalMs = 33;

  // The Stop command: only a running job has anything to stop.
  void RequestStop() { stopRequested_ = true; }
  bool StopRequested() const { return stopRequested_; }
  void ClearStop() { stopRequested_ = false; }

  // A close asked for during a run: the window closes once the run has ended.
  void SetClosePending(bool pending) { closePending_ = pending; }
  bool ClosePending() const { return closePending_; }

 private:
  Clock clock_;
  Pump pump_;
  bool running_ = false;
  bool stopRequested_ = false;
  bool closePending_ = false;
  std::int64_t startTicks_ = 0;
  std::int64_t lastPump_ = 0;
  bool pumping_ = false;
};

}  // namespace morvane::app
