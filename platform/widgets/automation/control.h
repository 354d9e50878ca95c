#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include "platform/widgets/automation/automation_export.h"
#include "platform/widgets/automation/dispatch.h"
#include "platform/widgets/automation/events.h"
#include "platform/widgets/automation/property_bag.h"
#include "platform/widgets/automation/property_page.h"

namespace morvane::automation {

class ControlSite;

// A hosted control as its host sees it: its dispatch interface (by id), its event
// interface, its widget, and its life-cycle calls. A control is created by its class
// factory as a child widget of the host's container and belongs to it (deleting the
// widget ends the control); a control created without a parent belongs to the caller.
class MORVANE_AUTOMATION_API Control : public Dispatch {
 public:
  ~Control() override;

  virtual QWidget* widget() = 0;
  virtual EventSource& events() = 0;

  // The host's site; set once right after creation, before the properties. The
  // site outlives the control.
  virtual void setSite(ControlSite* site) = 0;
  virtual ControlSite* site() const = 0;

  // Exactly one of the two runs before the control is shown: InitProperties for a
  // new instance, ReadProperties for one restored from stored design data. A failing
  // key is skipped; the others are still read.
  virtual void InitProperties() = 0;
  virtual void ReadProperties(const PropertyBag& bag) = 0;
  // Writes every design-time property; an error reaches the caller.
  virtual void WriteProperties(PropertyBag& bag) = 0;

  // The class ids of the control's property pages, in the order a host shows them
  // (ClassRegistry::createPage makes each); none unless the control names some.
  virtual QStringList PropertyPages() const;
  // The names of the control's properties of one kind, in interface order: what the
  // standard pages offer to edit. None unless the control names some.
  virtual QStringList PropertiesOfKind(PropertyKind kind) const;
};

// The class object of a library: makes instances of one class.
class MORVANE_AUTOMATION_API ClassFactory {
 public:
  virtual ~ClassFactory();
  virtual Control* CreateInstance(QWidget* parent) = 0;
};

}  // namespace morvane::automation
