#pragma once

#include <cstdint>

namespace morvane::core {

// Milliseconds of a steady clock (one that never steps back when the wall clock is
// set), counted from an arbitrary start. 64-bit, so it does not wrap.
std::int64_t TickCount();

}  // namespace morvane::core
