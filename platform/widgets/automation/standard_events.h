#pragma once

// The ids of the standard events every control raises the same way. A control's
// typelib brings them into its own eventid namespace, beside its own events.

#include <cstdint>

namespace morvane::automation::standard_events {

inline constexpr std::int32_t Click = -600;
inline constexpr std::int32_t DblClick = -601;
inline constexpr std::int32_t KeyDown = -602;    // (KeyCode, Shift)
inline constexpr std::int32_t KeyPress = -603;   // (KeyAscii)
inline constexpr std::int32_t KeyUp = -604;      // (KeyCode, Shift)
inline constexpr std::int32_t MouseDown = -605;  // (Button, Shift, X, Y)
inline constexpr std::int32_t MouseMove = -606;  // (Button, Shift, X, Y)
inline constexpr std::int32_t MouseUp = -607;    // (Button, Shift, X, Y)

}  // namespace morvane::automation::standard_events
