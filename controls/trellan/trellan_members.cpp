#include "controls/trellan/trellan.h"
#include "controls/trellan/trellan_typelib.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::trellan {

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
QVariant Value(Trellan* v) { return v == nullptr ? QVariant() : QVariant::fromValue<QObject*>(v); }

QString OptionalText(const QVariantList& a, int index) {
  return automation::IsMissing(a, index) ? QString() : ToText(a.at(index));
}

}  // namespace

#define TV_GET(expr) [](Trellan & s, QVariantList&) -> QVariant { return expr; }
#define TV_PUT(stmt) [](Trellan & s, QVariantList & a) { stmt; }
#define TV_CALL(expr) [](Trellan & s, QVariantList & a) -> QVariant { return expr; }
#define TV_DO(stmt) [](Trellan & s, QVariantList & a) -> QVariant { stmt; return {}; }
#define TV_COLOR(id, name, index) \
  {id, name, TV_GET(FromColor(s.BarColor(index))), TV_PUT(s.SetBarColor(index, ToColor(Arg(a, 0))))}

const automation::MemberTable<Trellan>& Trellan::Members() {
  static const automation::MemberTable<Trellan> table{
      {dispid::AutoPopupMenu, "AutoPopupMenu", TV_GET(Value(s.AutoPopupMenu())),
       TV_PUT(s.SetAutoPopupMenu(ToBool(Arg(a, 0))))},
      TV_COLOR(dispid::BackColor, "BackColor", 0),
      TV_COLOR(dispid::BeginLine1Color, "BeginLine1Color", 1),
      TV_COLOR(dispid::BeginLine2Color, "BeginLine2Color", 2),
      {dispid::ClipControls, "ClipControls", TV_GET(Value(s.ClipControls())),
       TV_PUT(s.SetClipControls(ToBool(Arg(a, 0))))},
      {dispid::DashSize, "DashSize", TV_GET(Value(s.DashSize())), TV_PUT(s.SetDashSize(ToInt32(Arg(a, 0))))},
      {dispid::DrawJunctions, "DrawJunctions", TV_GET(Value(s.DrawJunctions())),
       TV_PUT(s.SetDrawJunctions(ToInt32(Arg(a, 0))))},
      {dispid::Enabled, "Enabled", TV_GET(Value(s.Enabled())), TV_PUT(s.SetEnabled(ToBool(Arg(a, 0))))},
      TV_COLOR(dispid::FinishLine1Color, "FinishLine1Color", 3),
      TV_COLOR(dispid::FinishLine2Color, "FinishLine2Color", 4),
      {dispid::FirstControl, "FirstControl", TV_GET(s.GuidedControl(0)), TV_PUT(s.LetGuidedControl(0, a.value(0))),
       TV_PUT(s.SetGuidedControl(0, a.value(0)))},
      {dispid::MouseIcon, "MouseIcon", TV_GET(Value(s.MouseIcon())),
       TV_PUT(s.SetMouseIcon(automation::PictureOf(a.value(0)))),
       TV_PUT(s.SetMouseIcon(automation::PictureOf(a.value(0))))},
      {dispid::MousePointer, "MousePointer", TV_GET(Value(s.MousePointer())),
       TV_PUT(s.SetMousePointer(ToInt16(Arg(a, 0))))},
      {dispid::Moveable, "Moveable", TV_GET(Value(s.Moveable())), TV_PUT(s.SetMoveable(ToBool(Arg(a, 0))))},
      {dispid::Orientation, "Orientation", TV_GET(Value(s.Orientation())),
       TV_PUT(s.SetOrientation(ToInt32(Arg(a, 0))))},
      {dispid::ResizeMode, "ResizeMode", TV_GET(Value(s.ResizeMode())), TV_PUT(s.SetResizeMode(ToInt32(Arg(a, 0))))},
      {dispid::SecondControl, "SecondControl", TV_GET(s.GuidedControl(1)), TV_PUT(s.LetGuidedControl(1, a.value(0))),
       TV_PUT(s.SetGuidedControl(1, a.value(0)))},
      {dispid::Style, "Style", TV_GET(Value(s.Style())), TV_PUT(s.SetStyle(ToInt32(Arg(a, 0))))},
      {dispid::ControlInstance, "ControlInstance", TV_GET(s.ControlInstance())},
      {dispid::Controls, "Controls", TV_GET(QVariant::fromValue(s.Controls()))},
      {dispid::hDC, "hDC", TV_GET(Value(s.hDC()))},
      {dispid::hWnd, "hWnd", TV_GET(Value(s.hWnd()))},
      {dispid::Version, "Version", TV_GET(Value(s.Version()))},
      {dispid::AboutBox, "AboutBox", nullptr, nullptr, nullptr, TV_DO((void)a; s.AboutBox())},
      {dispid::TrellanOf, "TrellanOf", nullptr, nullptr, nullptr,
       TV_CALL(Value(s.TrellanOf(a.value(0).value<QObject*>())))},
      {dispid::Refresh, "Refresh", nullptr, nullptr, nullptr, TV_DO((void)a; s.Refresh())},
      {dispid::Repaint, "Repaint", nullptr, nullptr, nullptr, TV_DO((void)a; s.Repaint())},
      {dispid::RestoreFromFile, "RestoreFromFile", nullptr, nullptr, nullptr,
       TV_DO(s.RestoreFromFile(ToText(Arg(a, 0)), OptionalText(a, 1)))},
      {dispid::SaveToFile, "SaveToFile", nullptr, nullptr, nullptr,
       TV_DO(s.SaveToFile(ToText(Arg(a, 0)), OptionalText(a, 1)))},
      {dispid::PopupMenu, "PopupMenu", nullptr, nullptr, nullptr, TV_DO(s.PopupMenu(a.value(0), a.value(1)))},
      {dispid::Swap, "Swap", nullptr, nullptr, nullptr, TV_DO((void)a; s.Swap())},
  };
  return table;
}

#undef TV_GET
#undef TV_PUT
#undef TV_CALL
#undef TV_DO
#undef TV_COLOR

}  // namespace morvane::trellan
