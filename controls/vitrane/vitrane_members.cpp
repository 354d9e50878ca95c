#include "controls/vitrane/vitrane_image.h"

#include "controls/vitrane/vitrane_typelib.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::vitrane {

namespace {

using automation::Arg;
using automation::FromColor;
using automation::ToBool;
using automation::ToColor;
using automation::ToInt16;
using automation::ToInt32;
using automation::ToText;

QVariant Value(bool v) { return v; }
QVariant Value(std::int16_t v) { return QVariant::fromValue(v); }
QVariant Value(std::int32_t v) { return QVariant::fromValue(v); }
QVariant Value(const QString& v) { return v; }
QVariant Value(const QImage& v) { return v.isNull() ? QVariant() : QVariant::fromValue(v); }

}  // namespace

// Each entry: id, name, then get, let, set and call where the member has them.
#define MV_GET(expr) [](VitraneImage & s, QVariantList&) -> QVariant { return expr; }
#define MV_PUT(stmt) [](VitraneImage & s, QVariantList & a) { stmt; }
#define MV_DO(stmt) [](VitraneImage & s, QVariantList & a) -> QVariant { stmt; return {}; }

const automation::MemberTable<VitraneImage>& VitraneImage::Members() {
  static const automation::MemberTable<VitraneImage> table{
      {dispid::AutoSize, "AutoSize", MV_GET(Value(s.AutoSize())), MV_PUT(s.SetAutoSize(ToInt32(Arg(a, 0))))},
      {dispid::DrawEffect, "DrawEffect", MV_GET(Value(s.DrawEffect())), MV_PUT(s.SetDrawEffect(ToInt32(Arg(a, 0))))},
      {dispid::Enabled, "Enabled", MV_GET(Value(s.Enabled())), MV_PUT(s.SetEnabled(ToBool(Arg(a, 0))))},
      {dispid::FillColor, "FillColor", MV_GET(FromColor(s.FillColor())), MV_PUT(s.SetFillColor(ToColor(Arg(a, 0))))},
      {dispid::MaskColor, "MaskColor", MV_GET(FromColor(s.MaskColor())), MV_PUT(s.SetMaskColor(ToColor(Arg(a, 0))))},
      {dispid::MaskPicture, "MaskPicture", MV_GET(s.MaskPicture()), MV_PUT(s.SetMaskPicture(a.value(0))),
       MV_PUT(s.SetMaskPicture(a.value(0)))},
      {dispid::MouseIcon, "MouseIcon", MV_GET(Value(s.MouseIcon())),
       MV_PUT(s.SetMouseIcon(automation::PictureOf(a.value(0)))),
       MV_PUT(s.SetMouseIcon(automation::PictureOf(a.value(0))))},
      {dispid::MousePointer, "MousePointer", MV_GET(Value(s.MousePointer())),
       MV_PUT(s.SetMousePointer(ToInt16(Arg(a, 0))))},
      {dispid::ParentTitleOffset, "ParentTitleOffset", MV_GET(Value(s.ParentTitleOffset())),
       MV_PUT(s.SetParentTitleOffset(ToInt32(Arg(a, 0))))},
      {dispid::ParentTitleY, "ParentTitleY", MV_GET(Value(s.ParentTitleY())),
       MV_PUT(s.SetParentTitleY(ToInt16(Arg(a, 0))))},
      {dispid::Picture, "Picture", MV_GET(s.Picture()), MV_PUT(s.SetPicture(a.value(0))),
       MV_PUT(s.SetPicture(a.value(0)))},
      {dispid::Style, "Style", MV_GET(Value(s.Style())), MV_PUT(s.SetStyle(ToInt32(Arg(a, 0))))},
      {dispid::TitleLeft, "TitleLeft", MV_GET(Value(s.TitleLeft())), MV_PUT(s.SetTitleLeft(ToInt32(Arg(a, 0))))},
      {dispid::TitleTop, "TitleTop", MV_GET(Value(s.TitleTop())), MV_PUT(s.SetTitleTop(ToInt32(Arg(a, 0))))},
      {dispid::TitleWidth, "TitleWidth", MV_GET(Value(s.TitleWidth())), MV_PUT(s.SetTitleWidth(ToInt32(Arg(a, 0))))},
      {dispid::TitleHeight, "TitleHeight", MV_GET(Value(s.TitleHeight())),
       MV_PUT(s.SetTitleHeight(ToInt32(Arg(a, 0))))},
      {dispid::Controls, "Controls", MV_GET(QVariant::fromValue(s.Controls()))},
      {dispid::hDC, "hDC", MV_GET(Value(s.hDC()))},
      {dispid::hWnd, "hWnd", MV_GET(Value(s.hWnd()))},
      {dispid::Image, "Image", MV_GET(Value(s.Image()))},
      {dispid::Version, "Version", MV_GET(Value(s.Version()))},
      {dispid::ParentCaption, "ParentCaption", MV_GET(Value(s.ParentCaption())),
       MV_PUT(s.SetParentCaption(ToText(Arg(a, 0))))},
      {dispid::AboutBox, "AboutBox", nullptr, nullptr, nullptr, MV_DO((void)a; s.AboutBox())},
      {dispid::TitleArea, "TitleArea", nullptr, nullptr, nullptr,
       MV_DO(s.TitleArea(ToInt16(Arg(a, 0)), ToInt16(Arg(a, 1)), ToInt16(Arg(a, 2)), a.value(3)))},
      {dispid::Refresh, "Refresh", nullptr, nullptr, nullptr, MV_DO(s.Refresh(a.value(0)))},
      {dispid::WindowProcSimulation, "WindowProcSimulation", nullptr, nullptr, nullptr,
       MV_DO(s.WindowProcSimulation(ToInt32(Arg(a, 0)), ToInt32(Arg(a, 1)), ToInt32(Arg(a, 2))))},
  };
  return table;
}

#undef MV_GET
#undef MV_PUT
#undef MV_DO

}  // namespace morvane::vitrane
