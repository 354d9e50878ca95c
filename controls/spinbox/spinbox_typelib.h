#pragma once

// The public face of the SpinBox control, built into the program: what a host needs
// to create it by class id or ProgID and to use it late-bound, by dispatch id.

#include <cstdint>

#include "platform/widgets/automation/standard_events.h"

namespace morvane::spinbox {

inline constexpr const char* kClassName = "SpinBox";
inline constexpr const char* kProgId = "Morvane.SpinBox";
inline constexpr const char* kClassId = "{72E7EB02-2278-4C35-B4EE-10F659070C5D}";
// Default dispatch interface _SpinBox and event interface __SpinBox.
inline constexpr const char* kDispatchInterfaceId = "{C7E0C111-C559-484A-B67E-6857B8FE1282}";
inline constexpr const char* kEventInterfaceId = "{0EC9A6B8-3761-4626-A6E7-0C88F482332C}";

// Dispatch ids of _SpinBox, in interface order. The control's own properties count
// down to 0x68030000 at the last one; its own methods go on upward from there.
namespace dispid {
inline constexpr std::int32_t BackColor = -501;
inline constexpr std::int32_t CustomMenu = 0x6803000C;
inline constexpr std::int32_t Enabled = -514;
inline constexpr std::int32_t Font = -512;  // get and set (by reference)
inline constexpr std::int32_t ForeColor = -513;
inline constexpr std::int32_t Max = 0x6803000B;  // 16-bit
inline constexpr std::int32_t Min = 0x6803000A;  // 16-bit
inline constexpr std::int32_t MouseIcon = 0x68030009;
inline constexpr std::int32_t MousePointer = 0x68030008;
inline constexpr std::int32_t OLEDragMode = 0x68030007;
inline constexpr std::int32_t OLEDropMode = 0x68030006;
inline constexpr std::int32_t SmallChange = 0x68030005;  // 16-bit
inline constexpr std::int32_t Value = -517;              // 32-bit, clamped to Min..Max
inline constexpr std::int32_t hDC = 0x68030004;
inline constexpr std::int32_t hWnd = -515;
inline constexpr std::int32_t SelLength = 0x68030003;
inline constexpr std::int32_t SelStart = 0x68030002;
inline constexpr std::int32_t SelText = 0x68030001;
inline constexpr std::int32_t Version = 0x68030000;
inline constexpr std::int32_t AboutBox = -552;
inline constexpr std::int32_t SetToolTipText = 0x6003000D;  // ([text]) -> empty
inline constexpr std::int32_t TextHeight = 0x6003000E;      // (text) -> twips
inline constexpr std::int32_t TextWidth = 0x6003000F;       // (text) -> twips
}  // namespace dispid

// Event ids of __SpinBox. All arguments go by reference, but what a host writes
// into them does not change what the control does. X and Y are twips of the control.
namespace eventid {
// Click, DblClick, KeyDown, KeyPress, KeyUp, MouseDown, MouseMove, MouseUp:
using namespace automation::standard_events;
inline constexpr std::int32_t Change = 1;
inline constexpr std::int32_t OLECompleteDrag = 2;  // (Effect)
inline constexpr std::int32_t OLEDragDrop = 3;      // (Data, Effect, Button, Shift, X, Y)
inline constexpr std::int32_t OLEDragOver = 4;      // (Data, Effect, Button, Shift, X, Y, State)
inline constexpr std::int32_t OLEGiveFeedback = 5;  // (Effect, DefaultCursors)
inline constexpr std::int32_t OLESetData = 6;       // (Data, DataFormat)
inline constexpr std::int32_t OLEStartDrag = 7;     // (Data, AllowedEffects)
}  // namespace eventid

}  // namespace morvane::spinbox
