#pragma once

#include <cstdint>

#include "engine/silent_host.h"

namespace morvane::bench {

// A main window that nobody watches and that never stops a run: the benchmarks time
// the engine alone.
class NullWindow : public engine::SilentHost, public engine::RunControl {
 public:
  void ShowElapsedTime() override {}
  std::int64_t ShowElapsedTimes(std::int64_t) override { return 0; }
  void SetProgress(int, int) override {}
  void HideProgress(int) override {}
  bool StopRequested() const override { return false; }
};

}  // namespace morvane::bench
