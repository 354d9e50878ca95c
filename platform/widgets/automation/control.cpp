#include "platform/widgets/automation/control.h"

namespace morvane::automation {

Control::~Control() = default;
ClassFactory::~ClassFactory() = default;

QStringList Control::PropertyPages() const { return {}; }

QStringList Control::PropertiesOfKind(PropertyKind) const { return {}; }

PropertyPage::~PropertyPage() = default;
PageFactory::~PageFactory() = default;

void PropertyPage::EditProperty(const QString&) {}

void PropertyPage::SetChanged(bool changed) {
  changed_ = changed;
  if (changedHandler_) changedHandler_(changed);
}

}  // namespace morvane::automation
