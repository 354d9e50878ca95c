#pragma once

namespace morvane::core {

// Mouse pointer shapes, numbered as the old platform's MousePointer property numbered
// them, since hosts store and pass the numbers.
enum PointerShape : int {
  kPointerDefault = 0,
  kPointerArrow = 1,
  kPointerCross = 2,
  kPointerIBeam = 3,
  kPointerIcon = 4,
  kPointerSize = 5,
  kPointerSizeNESW = 6,
  kPointerSizeNS = 7,
  kPointerSizeNWSE = 8,
  kPointerSizeWE = 9,
  kPointerUpArrow = 10,
  kPointerHourglass = 11,
  kPointerNoDrop = 12,
  kPointerArrowHourglass = 13,
  kPointerArrowQuestion = 14,
  kPointerSizeAll = 15,
  kPointerCustom = 99,
};

}  // namespace morvane::core
