#include "platform/widgets/automation/control_site.h"

#include <utility>

namespace morvane::automation {

ControlSite::ControlSite(QString name, QWidget* container, int index)
    : name_(std::move(name)), container_(container), index_(index) {}

ControlSite::~ControlSite() = default;

QVariant ControlSite::ambient(const QString& property, const QVariant& defaultValue) const {
  return ambient_.value(property.toLower(), defaultValue);
}

void ControlSite::setAmbient(const QString& property, const QVariant& value) {
  ambient_.insert(property.toLower(), value);
}

void ControlSite::PropertyChanged(const QString& property) {
  if (changed_) changed_(property);
}

}  // namespace morvane::automation
