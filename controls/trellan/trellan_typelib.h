#pragma once

// The public face of the Trellan splitter control library: what a host needs to
// create the control by class id and to use it late-bound, by dispatch id. Hosts
// include only this header.

#include <cstdint>

#include "platform/widgets/automation/standard_events.h"

namespace morvane::trellan {

inline constexpr const char* kLibraryName = "TrellanControl";
inline constexpr const char* kHelpString = "Trellan ActiveX Control";
inline constexpr const char* kHelpFile = "Trellan.chm";
inline constexpr const char* kClassName = "Trellan";
inline constexpr const char* kProgId = "TrellanControl.Trellan";
inline constexpr const char* kClassId = "{9A1C6BE5-CC3E-4D32-B03D-855167BA3CA5}";
// Default dispatch interface _Trellan and event interface __Trellan.
inline constexpr const char* kDispatchInterfaceId = "{FFBD55FB-B1D7-421A-A2C6-C49EF3A01C20}";
inline constexpr const char* kEventInterfaceId = "{F33A02D8-5967-46D2-9DBF-CE7128EDB62B}";
// The library's property page "Controls", the first page the control names; the
// standard colour and picture pages follow it.
inline constexpr const char* kControlsPageClassId = "{F1B29E97-E00D-4660-8507-EB775A4AAAE5}";

// The bar's direction: a horizontal bar has panels above and below it and moves up
// and down; any value other than Vertical counts as Horizontal.
enum TrellanOrientConst : std::int32_t { Horizontal = 1, Vertical = 2 };
// How the panels follow a change of the container's size.
enum TrellanResizeConst : std::int32_t { Ultimate = 0, Adjacent = 1, Proportional = 2 };
enum TrellanStyleConst : std::int32_t { SplitterStyle = 0, MoverStyle = 1 };
// Which crossings with other Trellan bars are drawn.
enum TrellanJunctionConst : std::int32_t {
  JunctionNone = 0,
  Hierarchic = 1,
  Homogeneous = 2,
  JunctionAll = 3
};

// Dispatch ids of _Trellan, in interface order. Lengths and positions are twips.
namespace dispid {
inline constexpr std::int32_t AutoPopupMenu = 0x68030013;
inline constexpr std::int32_t BackColor = -501;
inline constexpr std::int32_t BeginLine1Color = 0x68030012;
inline constexpr std::int32_t BeginLine2Color = 0x68030011;
inline constexpr std::int32_t ClipControls = 0x68030010;
inline constexpr std::int32_t DashSize = 0x6803000F;
inline constexpr std::int32_t DrawJunctions = 0x6803000E;
inline constexpr std::int32_t Enabled = -514;
inline constexpr std::int32_t FinishLine1Color = 0x6803000D;
inline constexpr std::int32_t FinishLine2Color = 0x6803000C;
inline constexpr std::int32_t FirstControl = 0x6803000B;
inline constexpr std::int32_t MouseIcon = 0x6803000A;
inline constexpr std::int32_t MousePointer = 0x68030009;
inline constexpr std::int32_t Moveable = 0x68030008;
inline constexpr std::int32_t Orientation = 0x68030007;
inline constexpr std::int32_t ResizeMode = 0x68030006;
inline constexpr std::int32_t SecondControl = 0x68030005;
inline constexpr std::int32_t Style = 0x68030004;
inline constexpr std::int32_t ControlInstance = 0x68030003;
inline constexpr std::int32_t Controls = 0x68030002;
inline constexpr std::int32_t hDC = 0x68030001;
inline constexpr std::int32_t hWnd = -515;
inline constexpr std::int32_t Version = 0x68030000;
inline constexpr std::int32_t AboutBox = -552;
inline constexpr std::int32_t TrellanOf = 0x60030014;  // (vObj) -> the Trellan guiding it, hidden
inline constexpr std::int32_t Refresh = -550;
inline constexpr std::int32_t Repaint = 0x60030015;          // hidden
inline constexpr std::int32_t RestoreFromFile = 0x60030016;  // (sFile, Optional sSection)
inline constexpr std::int32_t SaveToFile = 0x60030017;       // (sFile, Optional sSection)
inline constexpr std::int32_t PopupMenu = 0x60030018;        // (Optional x, Optional y)
inline constexpr std::int32_t Swap = 0x60030019;
}  // namespace dispid

// Event ids of __Trellan. All arguments go by reference.
namespace eventid {
// Click, DblClick, KeyDown, KeyPress, KeyUp, MouseDown, MouseMove, MouseUp:
using namespace automation::standard_events;
inline constexpr std::int32_t OLECompleteDrag = 1;
inline constexpr std::int32_t OLEDragDrop = 2;
inline constexpr std::int32_t OLEDragOver = 3;
inline constexpr std::int32_t OLEGiveFeedback = 4;
inline constexpr std::int32_t OLESetData = 5;
inline constexpr std::int32_t OLEStartDrag = 6;
inline constexpr std::int32_t RefreshDone = 7;
inline constexpr std::int32_t Resize = 8;
inline constexpr std::int32_t RightClick = 9;  // (Cancel)
}  // namespace eventid

}  // namespace morvane::trellan
