#include "app/run_controller.h"

namespace morvane::app {

RunController::RunController(Clock clock, Pump pump)
    : clock_(std::move(clock)), pump_(std::move(pump)) {}

void RunController::SetRunning(bool running) {
  if (running && !running_) lastPump_ = clock_();
  running_ = running;
}

bool RunController::Tick() {
  const std::int64_t now = clock_();
  // A tick from inside the pump (an event that itself ticks) does not pump again.
  if (pumping_ || now - lastPump_ < kPumpIntervalMs) return false;
  lastPump_ = now;
  pumping_ = true;
  if (pump_) pump_();
  pumping_ = false;
  return true;
}

}  // namespace morvane::app
