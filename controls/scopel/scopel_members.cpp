#include "controls/scopel/scopel.h"

#include "controls/scopel/scopel_typelib.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::scopel {

// Each entry: id, name, then get, let, set and call where the member has them.

const automation::MemberTable<Scopel>& Scopel::Members() {
  using namespace automation;  // the conversions of the table
  static const automation::MemberTable<Scopel> table{
      {dispid::AutoRedraw, "AutoRedraw", MORVANE_GET(ValueOf(c.AutoRedraw())), MORVANE_PUT(c.SetAutoRedraw(ToBool(Arg(a, 0))))},
      {dispid::BackColor, "BackColor", MORVANE_GET(FromColor(c.BackColor())), MORVANE_PUT(c.SetBackColor(ToColor(Arg(a, 0))))},
      {dispid::BackColorBkg, "BackColorBkg", MORVANE_GET(FromColor(c.BackColorBkg())),
       MORVANE_PUT(c.SetBackColorBkg(ToColor(Arg(a, 0))))},
      {dispid::BorderStyle, "BorderStyle", MORVANE_GET(ValueOf(c.BorderStyle())), MORVANE_PUT(c.SetBorderStyle(ToInt32(Arg(a, 0))))},
      {dispid::DrawMode, "DrawMode", MORVANE_GET(ValueOf(c.DrawMode())), MORVANE_PUT(c.SetDrawMode(ToInt16(Arg(a, 0))))},
      {dispid::DrawStyle, "DrawStyle", MORVANE_GET(ValueOf(c.DrawStyle())), MORVANE_PUT(c.SetDrawStyle(ToInt16(Arg(a, 0))))},
      {dispid::DrawWidth, "DrawWidth", MORVANE_GET(ValueOf(c.DrawWidth())), MORVANE_PUT(c.SetDrawWidth(ToInt16(Arg(a, 0))))},
      {dispid::Enabled, "Enabled", MORVANE_GET(ValueOf(c.Enabled())), MORVANE_PUT(c.SetEnabled(ToBool(Arg(a, 0))))},
      {dispid::FillColor, "FillColor", MORVANE_GET(FromColor(c.FillColor())), MORVANE_PUT(c.SetFillColor(ToColor(Arg(a, 0))))},
      {dispid::FillStyle, "FillStyle", MORVANE_GET(ValueOf(c.FillStyle())), MORVANE_PUT(c.SetFillStyle(ToInt16(Arg(a, 0))))},
      {dispid::Font, "Font", MORVANE_GET(QVariant::fromValue(c.Font())),
       MORVANE_PUT(c.LetFont(automation::FontOf(a.value(0)))), MORVANE_PUT(c.SetFont(automation::FontOf(a.value(0))))},
      {dispid::ForeColor, "ForeColor", MORVANE_GET(FromColor(c.ForeColor())), MORVANE_PUT(c.SetForeColor(ToColor(Arg(a, 0))))},
      {dispid::GridColor, "GridColor", MORVANE_GET(FromColor(c.GridColor())), MORVANE_PUT(c.SetGridColor(ToColor(Arg(a, 0))))},
      {dispid::GridLines, "GridLines", MORVANE_GET(ValueOf(c.GridLines())), MORVANE_PUT(c.SetGridLines(ToBool(Arg(a, 0))))},
      {dispid::MouseIcon, "MouseIcon", MORVANE_GET(ValueOf(c.MouseIcon())), nullptr,
       MORVANE_PUT(c.SetMouseIcon(automation::PictureOf(a.value(0))))},
      {dispid::MousePointer, "MousePointer", MORVANE_GET(ValueOf(c.MousePointer())),
       MORVANE_PUT(c.SetMousePointer(ToInt16(Arg(a, 0))))},
      {dispid::OLEDropMode, "OLEDropMode", MORVANE_GET(ValueOf(c.OLEDropMode())), MORVANE_PUT(c.SetOLEDropMode(ToInt16(Arg(a, 0))))},
      {dispid::Picture, "Picture", MORVANE_GET(c.Picture()), MORVANE_PUT(c.SetPicture(a.value(0))),
       MORVANE_PUT(c.SetPicture(a.value(0)))},
      {dispid::Zooming, "Zooming", MORVANE_GET(ValueOf(c.Zooming())), MORVANE_PUT(c.SetZooming(ToInt16(Arg(a, 0))))},
      {dispid::Controls, "Controls", MORVANE_GET(QVariant::fromValue(c.Controls()))},
      {dispid::CurrentX, "CurrentX", MORVANE_GET(ValueOf(c.CurrentX())), MORVANE_PUT(c.SetCurrentX(ToSingle(Arg(a, 0))))},
      {dispid::CurrentY, "CurrentY", MORVANE_GET(ValueOf(c.CurrentY())), MORVANE_PUT(c.SetCurrentY(ToSingle(Arg(a, 0))))},
      {dispid::DrawImmadiately, "DrawImmadiately", MORVANE_GET(ValueOf(c.DrawImmadiately())),
       MORVANE_PUT(c.SetDrawImmadiately(ToBool(Arg(a, 0))))},
      {dispid::hDC, "hDC", MORVANE_GET(ValueOf(c.hDC()))},
      {dispid::hWnd, "hWnd", MORVANE_GET(ValueOf(c.hWnd()))},
      {dispid::Image, "Image", MORVANE_GET(ValueOf(c.Image()))},
      {dispid::ImageHeight, "ImageHeight", MORVANE_GET(ValueOf(c.ImageHeight()))},
      {dispid::ImageWidth, "ImageWidth", MORVANE_GET(ValueOf(c.ImageWidth()))},
      {dispid::ScrollX, "ScrollX", MORVANE_GET(ValueOf(c.ScrollX())), MORVANE_PUT(c.SetScrollX(ToInt32(Arg(a, 0))))},
      {dispid::ScrollY, "ScrollY", MORVANE_GET(ValueOf(c.ScrollY())), MORVANE_PUT(c.SetScrollY(ToInt32(Arg(a, 0))))},
      {dispid::Version, "Version", MORVANE_GET(ValueOf(c.Version()))},
      {dispid::AboutBox, "AboutBox", nullptr, nullptr, nullptr, MORVANE_DO(c.AboutBox())},
      {dispid::ClearGraphics, "ClearGraphics", nullptr, nullptr, nullptr, MORVANE_DO(c.ClearGraphics())},
      {dispid::DrawCircle, "DrawCircle", nullptr, nullptr, nullptr, MORVANE_DO(c.DrawCircle(a))},
      {dispid::DrawLine, "DrawLine", nullptr, nullptr, nullptr, MORVANE_DO(c.DrawLine(a))},
      {dispid::GetPoint, "GetPoint", nullptr, nullptr, nullptr,
       MORVANE_CALL(ValueOf(c.GetPoint(ToSingle(Arg(a, 0)), ToSingle(Arg(a, 1)))))},
      {dispid::EnsureVisible, "EnsureVisible", nullptr, nullptr, nullptr,
       MORVANE_DO(c.EnsureVisible(ToSingle(Arg(a, 0)), ToSingle(Arg(a, 1))))},
      {dispid::LocateCursor, "LocateCursor", nullptr, nullptr, nullptr,
       MORVANE_DO(c.LocateCursor(ToSingle(Arg(a, 0)), ToSingle(Arg(a, 1))))},
      {dispid::PrintText, "PrintText", nullptr, nullptr, nullptr, MORVANE_DO(c.PrintText(ToText(Arg(a, 0))))},
      {dispid::Refresh, "Refresh", nullptr, nullptr, nullptr, MORVANE_DO(c.Refresh())},
      {dispid::SetPoint, "SetPoint", nullptr, nullptr, nullptr, MORVANE_CALL(ValueOf(c.SetPoint(a)))},
      {dispid::TextHeight, "TextHeight", nullptr, nullptr, nullptr, MORVANE_CALL(ValueOf(c.TextHeight(ToText(Arg(a, 0)))))},
      {dispid::TextWidth, "TextWidth", nullptr, nullptr, nullptr, MORVANE_CALL(ValueOf(c.TextWidth(ToText(Arg(a, 0)))))},
  };
  return table;
}

}  // namespace morvane::scopel
