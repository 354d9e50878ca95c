#include "app/scopel_view.h"

#include "controls/scopel/scopel_typelib.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/property_bag.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::app {

namespace id = scopel::dispid;

namespace {
QVariant Color(std::int32_t color) { return automation::FromColor(static_cast<std::uint32_t>(color)); }
std::int32_t ColorOf(const QVariant& value) {
  return static_cast<std::int32_t>(automation::ToColor(value));
}
}  // namespace

void ScopelView::SetPicture(const QImage& picture) {
  control_->put(id::Picture, QVariant::fromValue(picture));
}
bool ScopelView::HasPicture() { return !automation::PictureOf(control_->get(id::Picture)).isNull(); }
std::int32_t ScopelView::BackColor() { return ColorOf(control_->get(id::BackColor)); }
void ScopelView::SetBackColor(std::int32_t color) { control_->put(id::BackColor, Color(color)); }
std::int32_t ScopelView::GridColor() { return ColorOf(control_->get(id::GridColor)); }
void ScopelView::SetGridColor(std::int32_t color) { control_->put(id::GridColor, Color(color)); }
std::int32_t ScopelView::ForeColor() { return ColorOf(control_->get(id::ForeColor)); }
void ScopelView::SetForeColor(std::int32_t color) { control_->put(id::ForeColor, Color(color)); }
std::int32_t ScopelView::FillColor() { return ColorOf(control_->get(id::FillColor)); }
void ScopelView::SetFillColor(std::int32_t color) { control_->put(id::FillColor, Color(color)); }
void ScopelView::SetGridLines(bool on) { control_->put(id::GridLines, on); }
void ScopelView::SetZooming(int factor) { control_->put(id::Zooming, factor); }
std::int32_t ScopelView::ScrollX() { return automation::ToInt32(control_->get(id::ScrollX)); }
std::int32_t ScopelView::ScrollY() { return automation::ToInt32(control_->get(id::ScrollY)); }
void ScopelView::SetScroll(std::int32_t x, std::int32_t y) {
  control_->put(id::ScrollX, x);
  control_->put(id::ScrollY, y);
}
void ScopelView::SetMousePointer(core::PointerShape pointer) { control_->put(id::MousePointer, pointer); }
void ScopelView::SetMouseIcon(const QImage& icon) {
  control_->putRef(id::MouseIcon, QVariant::fromValue(icon));
}
std::int32_t ScopelView::ImageWidth() { return automation::ToInt32(control_->get(id::ImageWidth)); }
std::int32_t ScopelView::ImageHeight() { return automation::ToInt32(control_->get(id::ImageHeight)); }
std::int32_t ScopelView::GetPoint(double x, double y) {
  return ColorOf(control_->call(id::GetPoint, {x, y}));
}
void ScopelView::SetEnabled(bool on) { control_->put(id::Enabled, on); }

void ScopelView::LocateCursor(double x, double y) { control_->call(id::LocateCursor, {x, y}); }
void ScopelView::EnsureVisible(double x, double y) { control_->call(id::EnsureVisible, {x, y}); }

}  // namespace morvane::app
