#include "controls/trellan/trellan.h"
#include "controls/trellan/trellan_typelib.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::trellan {

namespace {

using automation::ValueOf;
QVariant ValueOf(Trellan* v) { return v == nullptr ? QVariant() : QVariant::fromValue<QObject*>(v); }

QString OptionalText(const QVariantList& a, int index) {
  return automation::IsMissing(a, index) ? QString() : automation::ToText(a.at(index));
}

}  // namespace

#define TV_COLOR(id, name, index)                             \
  {                                                           \
    id, name, MORVANE_GET(FromColor(c.BarColor(index))),      \
        MORVANE_PUT(c.LetBarColor(index, ToColor(Arg(a, 0)))) \
  }

const automation::MemberTable<Trellan>& Trellan::Members() {
  using namespace automation;  // the conversions of the table
  static const automation::MemberTable<Trellan> table{
      {dispid::AutoPopupMenu, "AutoPopupMenu", MORVANE_GET(ValueOf(c.AutoPopupMenu())),
       MORVANE_PUT(c.LetAutoPopupMenu(ToBool(Arg(a, 0))))},
      TV_COLOR(dispid::BackColor, "BackColor", 0),
      TV_COLOR(dispid::BeginLine1Color, "BeginLine1Color", 1),
      TV_COLOR(dispid::BeginLine2Color, "BeginLine2Color", 2),
      {dispid::ClipControls, "ClipControls", MORVANE_GET(ValueOf(c.ClipControls())),
       MORVANE_PUT(c.LetClipControls(ToBool(Arg(a, 0))))},
      {dispid::DashSize, "DashSize", MORVANE_GET(ValueOf(c.DashSize())),
       MORVANE_PUT(c.LetDashSize(ToInt32(Arg(a, 0))))},
      {dispid::DrawJunctions, "DrawJunctions", MORVANE_GET(ValueOf(c.DrawJunctions())),
       MORVANE_PUT(c.LetDrawJunctions(ToInt32(Arg(a, 0))))},
      {dispid::Enabled, "Enabled", MORVANE_GET(ValueOf(c.Enabled())),
       MORVANE_PUT(c.LetEnabled(ToBool(Arg(a, 0))))},
      TV_COLOR(dispid::FinishLine1Color, "FinishLine1Color", 3),
      TV_COLOR(dispid::FinishLine2Color, "FinishLine2Color", 4),
      {dispid::FirstControl, "FirstControl", MORVANE_GET(c.GuidedControl(0)),
       MORVANE_PUT(c.LetGuidedControl(0, a.value(0))), MORVANE_PUT(c.SetGuidedControl(0, a.value(0)))},
      {dispid::MouseIcon, "MouseIcon", MORVANE_GET(ValueOf(c.MouseIcon())),
       MORVANE_PUT(c.SetMouseIcon(automation::PictureOf(a.value(0)))),
       MORVANE_PUT(c.SetMouseIcon(automation::PictureOf(a.value(0))))},
      {dispid::MousePointer, "MousePointer", MORVANE_GET(ValueOf(c.MousePointer())),
       MORVANE_PUT(c.LetMousePointer(ToInt16(Arg(a, 0))))},
      {dispid::Moveable, "Moveable", MORVANE_GET(ValueOf(c.Moveable())),
       MORVANE_PUT(c.LetMoveable(ToBool(Arg(a, 0))))},
      {dispid::Orientation, "Orientation", MORVANE_GET(ValueOf(c.Orientation())),
       MORVANE_PUT(c.LetOrientation(ToInt32(Arg(a, 0))))},
      {dispid::ResizeMode, "ResizeMode", MORVANE_GET(ValueOf(c.ResizeMode())),
       MORVANE_PUT(c.LetResizeMode(ToInt32(Arg(a, 0))))},
      {dispid::SecondControl, "SecondControl", MORVANE_GET(c.GuidedControl(1)),
       MORVANE_PUT(c.LetGuidedControl(1, a.value(0))), MORVANE_PUT(c.SetGuidedControl(1, a.value(0)))},
      {dispid::Style, "Style", MORVANE_GET(ValueOf(c.Style())),
       MORVANE_PUT(c.LetStyle(ToInt32(Arg(a, 0))))},
      {dispid::ControlInstance, "ControlInstance", MORVANE_GET(c.ControlInstance())},
      {dispid::Controls, "Controls", MORVANE_GET(QVariant::fromValue(c.Controls()))},
      {dispid::hDC, "hDC", MORVANE_GET(ValueOf(c.hDC()))},
      {dispid::hWnd, "hWnd", MORVANE_GET(ValueOf(c.hWnd()))},
      {dispid::Version, "Version", MORVANE_GET(ValueOf(c.Version()))},
      {dispid::AboutBox, "AboutBox", nullptr, nullptr, nullptr, MORVANE_DO(c.AboutBox())},
      {dispid::TrellanOf, "TrellanOf", nullptr, nullptr, nullptr,
       MORVANE_CALL(ValueOf(c.TrellanOf(a.value(0).value<QObject*>())))},
      {dispid::Refresh, "Refresh", nullptr, nullptr, nullptr, MORVANE_DO(c.Refresh())},
      {dispid::Repaint, "Repaint", nullptr, nullptr, nullptr, MORVANE_DO(c.Repaint())},
      {dispid::RestoreFromFile, "RestoreFromFile", nullptr, nullptr, nullptr,
       MORVANE_DO(c.RestoreFromFile(ToText(Arg(a, 0)), OptionalText(a, 1)))},
      {dispid::SaveToFile, "SaveToFile", nullptr, nullptr, nullptr,
       MORVANE_DO(c.SaveToFile(ToText(Arg(a, 0)), OptionalText(a, 1)))},
      {dispid::PopupMenu, "PopupMenu", nullptr, nullptr, nullptr,
       MORVANE_DO(c.PopupMenu(a.value(0), a.value(1)))},
      {dispid::Swap, "Swap", nullptr, nullptr, nullptr, MORVANE_DO(c.Swap())},
  };
  return table;
}

#undef TV_COLOR

}  // namespace morvane::trellan
