#pragma once

// A control of type T hosted on a form the way a program hosts it: a site with a
// name and the form as container, property-change notices and events recorded, and
// members reached by name through the dispatch table, as a late-bound host would.

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/widgets/automation/control_site.h"
#include "platform/widgets/automation/dispatch.h"
#include "platform/widgets/automation/events.h"

namespace morvane::testing {

template <class T>
class HostedControl : public automation::EventSink {
 public:
  struct Event {
    automation::DispId id;
    QVariantList args;
  };

  // The control is made on the form but not yet initialised: call InitProperties or
  // ReadProperties on it as the test needs.
  explicit HostedControl(const QString& name, QSize formSize = QSize(400, 300))
      : site_(name, &form_), control_(new T(&form_)) {
    form_.resize(formSize);
    control_->setSite(&site_);
    site_.setChangedHandler([this](const QString& property) { changed << property; });
    cookie_ = control_->events().advise(this);
  }
  ~HostedControl() override { control_->events().unadvise(cookie_); }
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;

  T& control() { return *control_; }
  T* operator->() { return control_; }
  QWidget& form() { return form_; }
  automation::ControlSite& site() { return site_; }

  // Members by name, as a late-bound host calls them.
  QVariant Get(const char* member) { return control_->get(Id(member)); }
  void Let(const char* member, const QVariant& value) { control_->put(Id(member), value); }
  void Set(const char* member, const QVariant& value) { control_->putRef(Id(member), value); }
  QVariant Call(const char* member, QVariantList args = {}) {
    return control_->call(Id(member), std::move(args));
  }

  void onEvent(automation::DispId id, QVariantList& args) override {
    if (handler) handler(id, args);
    events.push_back({id, args});
  }

  int Count(automation::DispId id) const {
    return static_cast<int>(
        std::count_if(events.begin(), events.end(), [id](const Event& e) { return e.id == id; }));
  }
  void Forget() {
    events.clear();
    changed.clear();
  }

  std::vector<Event> events;
  QStringList changed;  // property-change notices, in order
  // Runs inside each event before it is recorded, so a test can answer by reference.
  std::function<void(automation::DispId, QVariantList&)> handler;

 private:
  automation::DispId Id(const char* member) const {
    const auto id = control_->idOfName(QString::fromLatin1(member));
    if (!id) throw std::invalid_argument(member);
    return *id;
  }

  QWidget form_;
  automation::ControlSite site_;
  T* control_;  // a child of form_
  int cookie_ = 0;
};

}  // namespace morvane::testing
