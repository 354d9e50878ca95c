#pragma once

// The public face of the Vitrane window-shaping image control library: what a host
// needs to create the control by class id and to use it late-bound, by dispatch id.
// Hosts include only this header.

#include <cstdint>

#include "platform/widgets/automation/standard_events.h"

namespace morvane::vitrane {

// Library and class identity.
inline constexpr const char* kLibraryName = "Vitrane";
inline constexpr const char* kHelpFile = "Vitrane.hlp";
inline constexpr const char* kClassName = "VitraneImage";
inline constexpr const char* kProgId = "Vitrane.VitraneImage";
inline constexpr const char* kClassId = "{5961B3DF-5F2A-47C2-B2F5-F87277015D19}";
// Default dispatch interface _VitraneImage and event interface __VitraneImage.
inline constexpr const char* kDispatchInterfaceId = "{9397B9CB-20D4-4D99-A3B3-6B604BD3E6A4}";
inline constexpr const char* kEventInterfaceId = "{00F0AB4B-FB76-4C86-AC2E-E112CC7DAC6C}";
inline constexpr const char* kAutoSizeConstId = "{8DE5BCA6-DFFD-4D26-8B20-87BD5C6FD773}";
inline constexpr const char* kDrawEffectConstId = "{9347DF89-BCD1-48E3-BDC9-6479C31D0559}";
inline constexpr const char* kVitraneStyleConstId = "{29416A5A-BFF1-4B2F-AD94-42DC7DE64976}";

enum AutoSizeConst : std::int32_t {
  None = 0,
  ControlToPicture = 1,
  PictureToControl = 2,
};

enum DrawEffectConst : std::int32_t {
  deNormal = 0,
  deDisabled = 1,
  deUnion = 2,
};

enum VitraneStyleConst : std::int32_t {
  Normal = 0,
  ParentCustomTitled = 1,
  VitraneParentTitled = 2,
  VitraneParentUntitled = 3,
  ParentClingingArea = 4,
};

// Pictures travel as QImages. An icon is a QImage whose text under kPictureTypeKey is
// kIconType; its alpha channel is its own mask. Any other picture is a bitmap.
inline constexpr const char* kPictureTypeKey = "PictureType";
inline constexpr const char* kIconType = "Icon";

// Dispatch ids of _VitraneImage, in interface order. Positions and sizes are twips
// (15 per pixel).
namespace dispid {
inline constexpr std::int32_t AutoSize = 0x68030012;
inline constexpr std::int32_t DrawEffect = 0x68030011;
inline constexpr std::int32_t Enabled = -514;
inline constexpr std::int32_t FillColor = -510;
inline constexpr std::int32_t MaskColor = 0x68030010;
inline constexpr std::int32_t MaskPicture = 0x6803000F;
inline constexpr std::int32_t MouseIcon = 0x6803000E;
inline constexpr std::int32_t MousePointer = 0x6803000D;
inline constexpr std::int32_t ParentTitleOffset = 0x6803000C;
inline constexpr std::int32_t ParentTitleY = 0x6803000B;
inline constexpr std::int32_t Picture = 0x6803000A;
inline constexpr std::int32_t Style = 0x68030009;
inline constexpr std::int32_t TitleLeft = 0x68030008;
inline constexpr std::int32_t TitleTop = 0x68030007;
inline constexpr std::int32_t TitleWidth = 0x68030006;
inline constexpr std::int32_t TitleHeight = 0x68030005;
inline constexpr std::int32_t Controls = 0x68030004;
inline constexpr std::int32_t hDC = 0x68030003;
inline constexpr std::int32_t hWnd = -515;
inline constexpr std::int32_t Image = 0x68030002;
inline constexpr std::int32_t Version = 0x68030001;
inline constexpr std::int32_t ParentCaption = 0x68030000;
inline constexpr std::int32_t AboutBox = -552;
inline constexpr std::int32_t TitleArea = 0x60030013;             // (nLeft, nTop, nWidth, [nHeight])
inline constexpr std::int32_t Refresh = -550;                     // ([bTimer])
inline constexpr std::int32_t WindowProcSimulation = 0x60030014;  // hidden (nMsg, wPar, lPar)
}  // namespace dispid

// Event ids of __VitraneImage. All arguments go by reference.
namespace eventid {
// Click, DblClick, KeyDown, KeyPress, KeyUp, MouseDown, MouseMove, MouseUp:
using namespace automation::standard_events;
inline constexpr std::int32_t OLECompleteDrag = 1;  // (Effect)
inline constexpr std::int32_t OLEDragDrop = 2;      // (Data, Effect, Button, Shift, X, Y)
inline constexpr std::int32_t OLEDragOver = 3;      // (Data, Effect, Button, Shift, X, Y, State)
inline constexpr std::int32_t OLEGiveFeedback = 4;  // (Effect, DefaultCursors)
inline constexpr std::int32_t OLESetData = 5;       // (Data, DataFormat)
inline constexpr std::int32_t OLEStartDrag = 6;     // (Data, AllowedEffects)
inline constexpr std::int32_t Resize = 7;
}  // namespace eventid

// Window messages that WindowProcSimulation understands.
namespace message {
inline constexpr std::int32_t kSize = 5;
inline constexpr std::int32_t kActivate = 6;
inline constexpr std::int32_t kStyleChanged = 125;
inline constexpr std::int32_t kNcPaint = 133;
}  // namespace message

}  // namespace morvane::vitrane
