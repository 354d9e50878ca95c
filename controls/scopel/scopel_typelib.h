#pragma once

// The public face of the Scopel zoom view control library: what a host needs to
// create the control by class id and to use it late-bound, by dispatch id. Hosts
// include only this header.

#include <cstdint>

#include "platform/widgets/automation/standard_events.h"

namespace morvane::scopel {

// Library and class identity. The host's control table holds the same ids.
inline constexpr const char* kLibraryName = "ScopelControl";
inline constexpr const char* kHelpFile = "Scopel.chm";
inline constexpr const char* kClassName = "Scopel";
inline constexpr const char* kProgId = "ScopelControl.Scopel";
inline constexpr const char* kClassId = "{77D9F396-9ACC-4B5F-A978-CF06B18DB6AD}";
// Default dispatch interface _Scopel and event interface __Scopel.
inline constexpr const char* kDispatchInterfaceId = "{464DA870-D49E-44BE-BE5D-7CB1396CD371}";
inline constexpr const char* kEventInterfaceId = "{CCEFBE5A-CC27-43D4-AB96-E6DE307E3EAC}";
inline constexpr const char* kBorderStyleConstId = "{6E9D1EEE-0507-40C4-95EF-C6E97FA72089}";

enum BorderStyleConst : std::int32_t {
  None = 0,
  Flat = 1,
  ThreeD = 2,
};

// Dispatch ids of _Scopel, in interface order. Lengths, positions and coordinates
// are twips of the unmagnified image (15 twips per pixel), from its top left.
namespace dispid {
inline constexpr std::int32_t AutoRedraw = 0x68030012;
inline constexpr std::int32_t BackColor = 0x68030011;
inline constexpr std::int32_t BackColorBkg = -501;
inline constexpr std::int32_t BorderStyle = -504;
inline constexpr std::int32_t DrawMode = -507;
inline constexpr std::int32_t DrawStyle = -508;
inline constexpr std::int32_t DrawWidth = -509;
inline constexpr std::int32_t Enabled = -514;
inline constexpr std::int32_t FillColor = -510;
inline constexpr std::int32_t FillStyle = -511;
inline constexpr std::int32_t Font = -512;
inline constexpr std::int32_t ForeColor = 0x68030010;
inline constexpr std::int32_t GridColor = -513;
inline constexpr std::int32_t GridLines = 0x6803000F;
inline constexpr std::int32_t MouseIcon = 0x6803000E;
inline constexpr std::int32_t MousePointer = 0x6803000D;
inline constexpr std::int32_t OLEDropMode = 0x6803000C;
inline constexpr std::int32_t Picture = 0;
inline constexpr std::int32_t Zooming = 0x6803000B;
inline constexpr std::int32_t Controls = 0x6803000A;
inline constexpr std::int32_t CurrentX = 0x68030009;
inline constexpr std::int32_t CurrentY = 0x68030008;
inline constexpr std::int32_t DrawImmadiately = 0x68030007;
inline constexpr std::int32_t hDC = 0x68030006;
inline constexpr std::int32_t hWnd = -515;
inline constexpr std::int32_t Image = 0x68030005;
inline constexpr std::int32_t ImageHeight = 0x68030004;
inline constexpr std::int32_t ImageWidth = 0x68030003;
inline constexpr std::int32_t ScrollX = 0x68030002;
inline constexpr std::int32_t ScrollY = 0x68030001;
inline constexpr std::int32_t Version = 0x68030000;
inline constexpr std::int32_t AboutBox = -552;
inline constexpr std::int32_t ClearGraphics = 0x60030013;
// (bStep, x, y, nRadius, nColor, nStart, nEnd, nAspect), all optional
inline constexpr std::int32_t DrawCircle = 0x60030014;
// (bStep1, X1, Y1, bStep2, X2, Y2, nColor, bBox, bFill), all optional
inline constexpr std::int32_t DrawLine = 0x60030015;
inline constexpr std::int32_t GetPoint = 0x60030016;       // (x, y) -> colour
inline constexpr std::int32_t EnsureVisible = 0x60030017;  // (x, y)
inline constexpr std::int32_t LocateCursor = 0x60030018;   // (x, y)
inline constexpr std::int32_t PrintText = 0x60030019;      // (sText)
inline constexpr std::int32_t Refresh = -550;
inline constexpr std::int32_t SetPoint = 0x6003001A;    // (bStep, x, y, nColor) -> Boolean
inline constexpr std::int32_t TextHeight = 0x6003001B;  // (sText) -> twips
inline constexpr std::int32_t TextWidth = 0x6003001C;   // (sText) -> twips
}  // namespace dispid

// Event ids of __Scopel. All arguments go by reference.
namespace eventid {
// Click, DblClick, KeyDown, KeyPress, KeyUp, MouseDown, MouseMove, MouseUp (x and y
// in image twips):
using namespace automation::standard_events;
inline constexpr std::int32_t OLECompleteDrag = 1;  // (Effect)
inline constexpr std::int32_t OLEDragDrop = 2;      // (Data, Effect, ButtonBox, Shift, x, y)
inline constexpr std::int32_t OLEDragOver = 3;      // (Data, Effect, ButtonBox, Shift, x, y, State)
inline constexpr std::int32_t OLEGiveFeedback = 4;  // (Effect, DefaultCursors)
inline constexpr std::int32_t OLESetData = 5;       // (Data, DataFormat)
inline constexpr std::int32_t OLEStartDrag = 6;     // (Data, AllowedEffects)
}  // namespace eventid

}  // namespace morvane::scopel
