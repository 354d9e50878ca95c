#pragma once

// The public face of the LinkBox control, built into the program: what a host needs
// to create it by class id or ProgID and to use it late-bound, by dispatch id.

#include <cstdint>

#include "platform/widgets/automation/standard_events.h"

namespace morvane::linkbox {

inline constexpr const char* kClassName = "LinkBox";
inline constexpr const char* kProgId = "Morvane.LinkBox";
inline constexpr const char* kClassId = "{5E039072-4A0A-4245-9133-44E157BD13E1}";
// Default dispatch interface _LinkBox and event interface __LinkBox.
inline constexpr const char* kDispatchInterfaceId = "{07B3AD25-36A1-4255-A346-B317128C6653}";
inline constexpr const char* kEventInterfaceId = "{87B4DA3F-EA49-4523-A87C-0FCF97EE4241}";

// Label alignment values of Alignment.
enum AlignmentConstants : std::int32_t {
  LeftJustify = 0,
  RightJustify = 1,
  Center = 2,
};

// Dispatch ids of _LinkBox, in interface order. The control's own properties count
// down to 0x68030000 at the last one; its own methods go on upward from there.
namespace dispid {
inline constexpr std::int32_t Alignment = 0x68030005;
inline constexpr std::int32_t AutoSize = -500;
inline constexpr std::int32_t BackColor = -501;
inline constexpr std::int32_t Caption = -518;
inline constexpr std::int32_t CaptionIsPath = 0x68030004;
inline constexpr std::int32_t Enabled = -514;
inline constexpr std::int32_t Font = -512;  // get and set (by reference)
inline constexpr std::int32_t ForeColor = -513;
inline constexpr std::int32_t HotTracking = 0x68030003;
inline constexpr std::int32_t Path = 0x68030002;
inline constexpr std::int32_t hDC = 0x68030001;
inline constexpr std::int32_t hWnd = -515;
inline constexpr std::int32_t Version = 0x68030000;
inline constexpr std::int32_t AboutBox = -552;
inline constexpr std::int32_t SetToolTipText = 0x60030006;  // ([text]) -> empty
inline constexpr std::int32_t TextHeight = 0x60030007;      // (text) -> twips
inline constexpr std::int32_t TextWidth = 0x60030008;       // (text) -> twips
}  // namespace dispid

// Event ids of __LinkBox. X and Y are twips of the control.
namespace eventid {
// Click, KeyDown, KeyPress, KeyUp, MouseDown, MouseMove, MouseUp (it raises no DblClick):
using namespace automation::standard_events;
}  // namespace eventid

}  // namespace morvane::linkbox
