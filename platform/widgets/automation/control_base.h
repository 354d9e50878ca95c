#pragma once

#include <QString>
#include <QVariantList>
#include <QWidget>

#include <atomic>
#include <exception>
#include <optional>
#include <utility>

#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/automation/dispatch.h"
#include "platform/widgets/automation/events.h"

namespace morvane::automation {

// What every hosted control shares: its event source and site, dispatch through its
// one member table, property-change notices, event raising stopped at Qt's event
// boundary, and a count of live instances for DllCanUnloadNow.
//
// Self is the control class, a QWidget that derives from ControlBase<Self> and offers
// `static const MemberTable<Self>& Members()`.
template <class Self>
class ControlBase : public Control {
 public:
  ControlBase() { ++liveInstances_; }
  ~ControlBase() override { --liveInstances_; }
  ControlBase(const ControlBase&) = delete;
  ControlBase& operator=(const ControlBase&) = delete;

  QVariant invoke(DispId id, Invoke kind, QVariantList& args) override {
    return Self::Members().invoke(self(), id, kind, args);
  }
  std::optional<DispId> idOfName(QStringView name) const override {
    return Self::Members().idOfName(name);
  }
  QWidget* widget() override { return &self(); }
  EventSource& events() override { return events_; }
  void setSite(ControlSite* site) override { site_ = site; }
  ControlSite* site() const override { return site_; }

  // Instances of this class alive in this module.
  static int LiveInstances() { return liveInstances_.load(); }

 protected:
  // Tells the host that a design-time property changed. Silent while the control
  // reads its stored properties: taking the stored design is no change of it.
  void AnnounceChange(const char* property) {
    if (!readingProperties_ && site_ != nullptr) site_->PropertyChanged(QString::fromLatin1(property));
  }

  // Whether the control is reading its stored properties. A control that must not act
  // before it has its properties (InitProperties or ReadProperties) may count the time
  // until then as reading: StartReadingProperties in its constructor, then
  // EndReadingProperties once they are given.
  bool ReadingProperties() const { return readingProperties_; }
  void StartReadingProperties() { readingProperties_ = true; }
  void EndReadingProperties() { readingProperties_ = false; }

  // The control reads its stored properties for the scope's lifetime (ReadProperties'
  // body), then is back in the state the scope found.
  class PropertyReading {
   public:
    explicit PropertyReading(ControlBase& control)
        : control_(control), before_(std::exchange(control.readingProperties_, true)) {}
    ~PropertyReading() { control_.readingProperties_ = before_; }
    PropertyReading(const PropertyReading&) = delete;
    PropertyReading& operator=(const PropertyReading&) = delete;

   private:
    ControlBase& control_;
    bool before_;
  };

  // Raises an event to the advised sinks. Handlers run inside Qt's event dispatch,
  // where no error may pass: a host's error is reported at the boundary. The
  // arguments come back as the sinks left them (by-reference arguments).
  void Raise(DispId id, QVariantList& args) {
    CatchAtEventBoundary([&] { events_.raise(id, args); });
  }
  void Raise(DispId id, QVariantList&& args = {}) { Raise(id, args); }

  // Reads one stored property: a key that fails costs only its own property, and the
  // others are still read.
  template <class F>
  static void ReadKey(F&& read) {
    try {
      read();
    } catch (const std::exception&) {
    }
  }

 private:
  Self& self() { return static_cast<Self&>(*this); }

  inline static std::atomic<int> liveInstances_{0};
  EventSource events_;
  ControlSite* site_ = nullptr;
  bool readingProperties_ = false;
};

// The class object of a control class whose constructor takes the parent widget.
template <class T>
class ClassFactoryOf : public ClassFactory {
 public:
  Control* CreateInstance(QWidget* parent) override { return new T(parent); }
};

}  // namespace morvane::automation
