#include "platform/core/clock.h"

#include <chrono>

namespace morvane::core {

std::int64_t TickCount() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace morvane::core
