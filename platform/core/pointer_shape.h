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

// The old platform's system cursor ids, as its cursor calls take them.
enum SystemCursor : int {
  kCursorArrow = 32512,
  kCursorIBeam = 32513,
  kCursorWait = 32514,
  kCursorCross = 32515,
  kCursorUpArrow = 32516,
  kCursorSizeNWSE = 32642,
  kCursorSizeNESW = 32643,
  kCursorSizeWE = 32644,
  kCursorSizeNS = 32645,
  kCursorSizeAll = 32646,
  kCursorNo = 32648,
  kCursorHand = 32649,
  kCursorAppStarting = 32650,
  kCursorHelp = 32651,
};

}  // namespace morvane::core
