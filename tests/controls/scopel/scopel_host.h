#pragma once

// A small host for Scopel that works the way the main window does: it creates the
// control by class id through the class registry, talks to it only by dispatch id,
// and records its events.

#include <QSize>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/automation/events.h"

namespace morvane::scopel::hosting {

// The library's entry points, loaded once from the build's program folder.
std::int32_t RegisterScopel();
std::int32_t UnregisterScopel();
std::int32_t CanUnloadScopel();
std::int32_t GetScopelClassObject(const char* classId, const char* interfaceId, void** object);
QString BinaryFolder();

class ScopelHost : public automation::EventSink {
 public:
  struct Event {
    automation::DispId id;
    QVariantList args;
  };

  // Creates the control on a form of the given size; restores it from `bag` when one
  // is given, else initialises it as new.
  explicit ScopelHost(QSize size = QSize(400, 300), const automation::PropertyBag* bag = nullptr,
                      const QString& classIdOrProgId = {});
  ~ScopelHost() override;

  automation::Control& control() { return *control_; }
  QWidget& form() { return form_; }
  QWidget* part(const char* name) const;

  QVariant Get(automation::DispId id);
  void Put(automation::DispId id, const QVariant& value);
  void PutRef(automation::DispId id, const QVariant& value);
  QVariant Call(automation::DispId id, QVariantList args = {});

  void onEvent(automation::DispId id, QVariantList& args) override;

  std::vector<Event> events;
  // Runs inside each event, so a test can answer by reference.
  std::function<void(automation::DispId, QVariantList&)> handler;
  QStringList changed;  // property-changed notices

 private:
  QWidget form_;
  automation::ControlSite site_;
  automation::Control* control_ = nullptr;
  int cookie_ = 0;
};

}  // namespace morvane::scopel::hosting
