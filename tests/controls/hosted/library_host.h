#pragma once

// A host of the tests' own that knows the control libraries only by their files and
// public headers: each library registers itself (its DllRegisterServer) into a store
// of the test's, and controls are made by class id through the class registry, as
// the program's forms make them. Members are reached by dispatch id, events arrive
// through an advised sink.

#include <QSize>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <vector>

#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/automation/events.h"
#include "platform/widgets/automation/property_bag.h"

namespace morvane::testing {

// The registry over the test's store, with libTrellan.so and libVitrane.so of this
// build registered in it.
automation::ClassRegistry& LibraryRegistry();

// Lets queued work run (the splitter's polls, posted layouts).
void Settle();

class LibraryHost : public automation::EventSink {
 public:
  struct Event {
    automation::DispId id;
    QVariantList args;
  };

  // Creates the control on a form named "fwTest" (object and site name `name`). The
  // control is not yet initialised: call InitProperties or ReadProperties.
  LibraryHost(const char* classId, const QString& name, QSize formSize = QSize(600, 400));
  ~LibraryHost() override;
  LibraryHost(const LibraryHost&) = delete;
  LibraryHost& operator=(const LibraryHost&) = delete;

  automation::Control& control() { return *control_; }
  QWidget* widget() { return control_->widget(); }
  QWidget& form() { return form_; }
  automation::ControlSite& site() { return site_; }
  // Moves the control into another container of the form.
  void PutInto(QWidget* container);

  QVariant Get(automation::DispId id) { return control_->get(id); }
  void Let(automation::DispId id, const QVariant& value) { control_->put(id, value); }
  void Set(automation::DispId id, const QVariant& value) { control_->putRef(id, value); }
  QVariant Call(automation::DispId id, QVariantList args = {}) {
    return control_->call(id, std::move(args));
  }

  void onEvent(automation::DispId id, QVariantList& args) override;
  int Count(automation::DispId id) const;
  std::vector<Event> events;

 private:
  automation::ControlSite site_;
  QWidget form_;
  automation::Control* control_ = nullptr;  // a child of the form
  int cookie_ = 0;
};

}  // namespace morvane::testing
