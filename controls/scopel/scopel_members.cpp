#include "controls/scopel/scopel.h"

#include "controls/scopel/scopel_typelib.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::scopel {

namespace {

using automation::Arg;
using automation::FromColor;
using automation::ToBool;
using automation::ToColor;
using automation::ToInt16;
using automation::ToInt32;
using automation::ToSingle;
using automation::ToText;

QVariant Value(bool v) { return v; }
QVariant Value(std::int16_t v) { return QVariant::fromValue(v); }
QVariant Value(std::int32_t v) { return QVariant::fromValue(v); }
QVariant Value(const QString& v) { return v; }
QVariant Value(const QImage& v) { return v.isNull() ? QVariant() : QVariant::fromValue(v); }

}  // namespace

// Each entry: id, name, then get, let, set and call where the member has them.
#define MV_GET(expr) [](Scopel & s, QVariantList&) -> QVariant { return expr; }
#define MV_PUT(stmt) [](Scopel & s, QVariantList & a) { stmt; }
#define MV_CALL(expr) [](Scopel & s, QVariantList & a) -> QVariant { return expr; }
#define MV_DO(stmt) [](Scopel & s, QVariantList & a) -> QVariant { stmt; return {}; }

const automation::MemberTable<Scopel>& Scopel::Members() {
  static const automation::MemberTable<Scopel> table{
      {dispid::AutoRedraw, "AutoRedraw", MV_GET(Value(s.AutoRedraw())), MV_PUT(s.SetAutoRedraw(ToBool(Arg(a, 0))))},
      {dispid::BackColor, "BackColor", MV_GET(FromColor(s.BackColor())), MV_PUT(s.SetBackColor(ToColor(Arg(a, 0))))},
      {dispid::BackColorBkg, "BackColorBkg", MV_GET(FromColor(s.BackColorBkg())),
       MV_PUT(s.SetBackColorBkg(ToColor(Arg(a, 0))))},
      {dispid::BorderStyle, "BorderStyle", MV_GET(Value(s.BorderStyle())), MV_PUT(s.SetBorderStyle(ToInt32(Arg(a, 0))))},
      {dispid::DrawMode, "DrawMode", MV_GET(Value(s.DrawMode())), MV_PUT(s.SetDrawMode(ToInt16(Arg(a, 0))))},
      {dispid::DrawStyle, "DrawStyle", MV_GET(Value(s.DrawStyle())), MV_PUT(s.SetDrawStyle(ToInt16(Arg(a, 0))))},
      {dispid::DrawWidth, "DrawWidth", MV_GET(Value(s.DrawWidth())), MV_PUT(s.SetDrawWidth(ToInt16(Arg(a, 0))))},
      {dispid::Enabled, "Enabled", MV_GET(Value(s.Enabled())), MV_PUT(s.SetEnabled(ToBool(Arg(a, 0))))},
      {dispid::FillColor, "FillColor", MV_GET(FromColor(s.FillColor())), MV_PUT(s.SetFillColor(ToColor(Arg(a, 0))))},
      {dispid::FillStyle, "FillStyle", MV_GET(Value(s.FillStyle())), MV_PUT(s.SetFillStyle(ToInt16(Arg(a, 0))))},
      {dispid::Font, "Font", MV_GET(QVariant::fromValue(s.Font())),
       MV_PUT(s.LetFont(automation::FontOf(a.value(0)))), MV_PUT(s.SetFont(automation::FontOf(a.value(0))))},
      {dispid::ForeColor, "ForeColor", MV_GET(FromColor(s.ForeColor())), MV_PUT(s.SetForeColor(ToColor(Arg(a, 0))))},
      {dispid::GridColor, "GridColor", MV_GET(FromColor(s.GridColor())), MV_PUT(s.SetGridColor(ToColor(Arg(a, 0))))},
      {dispid::GridLines, "GridLines", MV_GET(Value(s.GridLines())), MV_PUT(s.SetGridLines(ToBool(Arg(a, 0))))},
      {dispid::MouseIcon, "MouseIcon", MV_GET(Value(s.MouseIcon())), nullptr,
       MV_PUT(s.SetMouseIcon(automation::PictureOf(a.value(0))))},
      {dispid::MousePointer, "MousePointer", MV_GET(Value(s.MousePointer())),
       MV_PUT(s.SetMousePointer(ToInt16(Arg(a, 0))))},
      {dispid::OLEDropMode, "OLEDropMode", MV_GET(Value(s.OLEDropMode())), MV_PUT(s.SetOLEDropMode(ToInt16(Arg(a, 0))))},
      {dispid::Picture, "Picture", MV_GET(s.Picture()), MV_PUT(s.SetPicture(a.value(0))),
       MV_PUT(s.SetPicture(a.value(0)))},
      {dispid::Zooming, "Zooming", MV_GET(Value(s.Zooming())), MV_PUT(s.SetZooming(ToInt16(Arg(a, 0))))},
      {dispid::Controls, "Controls", MV_GET(QVariant::fromValue(s.Controls()))},
      {dispid::CurrentX, "CurrentX", MV_GET(Value(s.CurrentX())), MV_PUT(s.SetCurrentX(ToSingle(Arg(a, 0))))},
      {dispid::CurrentY, "CurrentY", MV_GET(Value(s.CurrentY())), MV_PUT(s.SetCurrentY(ToSingle(Arg(a, 0))))},
      {dispid::DrawImmadiately, "DrawImmadiately", MV_GET(Value(s.DrawImmadiately())),
       MV_PUT(s.SetDrawImmadiately(ToBool(Arg(a, 0))))},
      {dispid::hDC, "hDC", MV_GET(Value(s.hDC()))},
      {dispid::hWnd, "hWnd", MV_GET(Value(s.hWnd()))},
      {dispid::Image, "Image", MV_GET(Value(s.Image()))},
      {dispid::ImageHeight, "ImageHeight", MV_GET(Value(s.ImageHeight()))},
      {dispid::ImageWidth, "ImageWidth", MV_GET(Value(s.ImageWidth()))},
      {dispid::ScrollX, "ScrollX", MV_GET(Value(s.ScrollX())), MV_PUT(s.SetScrollX(ToInt32(Arg(a, 0))))},
      {dispid::ScrollY, "ScrollY", MV_GET(Value(s.ScrollY())), MV_PUT(s.SetScrollY(ToInt32(Arg(a, 0))))},
      {dispid::Version, "Version", MV_GET(Value(s.Version()))},
      {dispid::AboutBox, "AboutBox", nullptr, nullptr, nullptr, MV_DO((void)a; s.AboutBox())},
      {dispid::ClearGraphics, "ClearGraphics", nullptr, nullptr, nullptr, MV_DO((void)a; s.ClearGraphics())},
      {dispid::DrawCircle, "DrawCircle", nullptr, nullptr, nullptr, MV_DO(s.DrawCircle(a))},
      {dispid::DrawLine, "DrawLine", nullptr, nullptr, nullptr, MV_DO(s.DrawLine(a))},
      {dispid::GetPoint, "GetPoint", nullptr, nullptr, nullptr,
       MV_CALL(Value(s.GetPoint(ToSingle(Arg(a, 0)), ToSingle(Arg(a, 1)))))},
      {dispid::EnsureVisible, "EnsureVisible", nullptr, nullptr, nullptr,
       MV_DO(s.EnsureVisible(ToSingle(Arg(a, 0)), ToSingle(Arg(a, 1))))},
      {dispid::LocateCursor, "LocateCursor", nullptr, nullptr, nullptr,
       MV_DO(s.LocateCursor(ToSingle(Arg(a, 0)), ToSingle(Arg(a, 1))))},
      {dispid::PrintText, "PrintText", nullptr, nullptr, nullptr, MV_DO(s.PrintText(ToText(Arg(a, 0))))},
      {dispid::Refresh, "Refresh", nullptr, nullptr, nullptr, MV_DO((void)a; s.Refresh())},
      {dispid::SetPoint, "SetPoint", nullptr, nullptr, nullptr, MV_CALL(Value(s.SetPoint(a)))},
      {dispid::TextHeight, "TextHeight", nullptr, nullptr, nullptr, MV_CALL(Value(s.TextHeight(ToText(Arg(a, 0)))))},
      {dispid::TextWidth, "TextWidth", nullptr, nullptr, nullptr, MV_CALL(Value(s.TextWidth(ToText(Arg(a, 0)))))},
  };
  return table;
}

#undef MV_GET
#undef MV_PUT
#undef MV_CALL
#undef MV_DO

}  // namespace morvane::scopel
