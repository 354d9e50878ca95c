#include "controls/vitrane/vitrane_image.h"

#include "controls/vitrane/vitrane_typelib.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::vitrane {

// Each entry: id, name, then get, let, set and call where the member has them.

const automation::MemberTable<VitraneImage>& VitraneImage::Members() {
  using namespace automation;  // the conversions of the table
  static const automation::MemberTable<VitraneImage> table{
      {dispid::AutoSize, "AutoSize", MORVANE_GET(ValueOf(c.AutoSize())),
       MORVANE_PUT(c.LetAutoSize(ToInt32(Arg(a, 0))))},
      {dispid::DrawEffect, "DrawEffect", MORVANE_GET(ValueOf(c.DrawEffect())),
       MORVANE_PUT(c.LetDrawEffect(ToInt32(Arg(a, 0))))},
      {dispid::Enabled, "Enabled", MORVANE_GET(ValueOf(c.Enabled())),
       MORVANE_PUT(c.LetEnabled(ToBool(Arg(a, 0))))},
      {dispid::FillColor, "FillColor", MORVANE_GET(FromColor(c.FillColor())),
       MORVANE_PUT(c.LetFillColor(ToColor(Arg(a, 0))))},
      {dispid::MaskColor, "MaskColor", MORVANE_GET(FromColor(c.MaskColor())),
       MORVANE_PUT(c.LetMaskColor(ToColor(Arg(a, 0))))},
      {dispid::MaskPicture, "MaskPicture", MORVANE_GET(c.MaskPicture()),
       MORVANE_PUT(c.SetMaskPicture(a.value(0))), MORVANE_PUT(c.SetMaskPicture(a.value(0)))},
      {dispid::MouseIcon, "MouseIcon", MORVANE_GET(ValueOf(c.MouseIcon())),
       MORVANE_PUT(c.SetMouseIcon(automation::PictureOf(a.value(0)))),
       MORVANE_PUT(c.SetMouseIcon(automation::PictureOf(a.value(0))))},
      {dispid::MousePointer, "MousePointer", MORVANE_GET(ValueOf(c.MousePointer())),
       MORVANE_PUT(c.LetMousePointer(ToInt16(Arg(a, 0))))},
      {dispid::ParentTitleOffset, "ParentTitleOffset", MORVANE_GET(ValueOf(c.ParentTitleOffset())),
       MORVANE_PUT(c.LetParentTitleOffset(ToInt32(Arg(a, 0))))},
      {dispid::ParentTitleY, "ParentTitleY", MORVANE_GET(ValueOf(c.ParentTitleY())),
       MORVANE_PUT(c.LetParentTitleY(ToInt16(Arg(a, 0))))},
      {dispid::Picture, "Picture", MORVANE_GET(c.Picture()), MORVANE_PUT(c.SetPicture(a.value(0))),
       MORVANE_PUT(c.SetPicture(a.value(0)))},
      {dispid::Style, "Style", MORVANE_GET(ValueOf(c.Style())),
       MORVANE_PUT(c.LetStyle(ToInt32(Arg(a, 0))))},
      {dispid::TitleLeft, "TitleLeft", MORVANE_GET(ValueOf(c.TitleLeft())),
       MORVANE_PUT(c.LetTitleLeft(ToInt32(Arg(a, 0))))},
      {dispid::TitleTop, "TitleTop", MORVANE_GET(ValueOf(c.TitleTop())),
       MORVANE_PUT(c.LetTitleTop(ToInt32(Arg(a, 0))))},
      {dispid::TitleWidth, "TitleWidth", MORVANE_GET(ValueOf(c.TitleWidth())),
       MORVANE_PUT(c.LetTitleWidth(ToInt32(Arg(a, 0))))},
      {dispid::TitleHeight, "TitleHeight", MORVANE_GET(ValueOf(c.TitleHeight())),
       MORVANE_PUT(c.LetTitleHeight(ToInt32(Arg(a, 0))))},
      {dispid::Controls, "Controls", MORVANE_GET(QVariant::fromValue(c.Controls()))},
      {dispid::hDC, "hDC", MORVANE_GET(ValueOf(c.hDC()))},
      {dispid::hWnd, "hWnd", MORVANE_GET(ValueOf(c.hWnd()))},
      {dispid::Image, "Image", MORVANE_GET(ValueOf(c.Image()))},
      {dispid::Version, "Version", MORVANE_GET(ValueOf(c.Version()))},
      {dispid::ParentCaption, "ParentCaption", MORVANE_GET(ValueOf(c.ParentCaption())),
       MORVANE_PUT(c.LetParentCaption(ToText(Arg(a, 0))))},
      {dispid::AboutBox, "AboutBox", nullptr, nullptr, nullptr, MORVANE_DO(c.AboutBox())},
      {dispid::TitleArea, "TitleArea", nullptr, nullptr, nullptr,
       MORVANE_DO(c.TitleArea(ToInt16(Arg(a, 0)), ToInt16(Arg(a, 1)), ToInt16(Arg(a, 2)), a.value(3)))},
      {dispid::Refresh, "Refresh", nullptr, nullptr, nullptr, MORVANE_DO(c.Refresh(a.value(0)))},
      {dispid::WindowProcSimulation, "WindowProcSimulation", nullptr, nullptr, nullptr,
       MORVANE_DO(c.WindowProcSimulation(ToInt32(Arg(a, 0)), ToInt32(Arg(a, 1)), ToInt32(Arg(a, 2))))},
  };
  return table;
}

}  // namespace morvane::vitrane
