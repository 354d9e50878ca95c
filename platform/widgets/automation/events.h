#pragma once

#include <QVariantList>

#include <functional>
#include <vector>

#include "platform/widgets/automation/automation_export.h"
#include "platform/widgets/automation/dispatch.h"

namespace morvane::automation {

// A host's receiver of a control's events. All arguments go by reference: what the
// sink writes into `args` the control reads back when the call returns.
class MORVANE_AUTOMATION_API EventSink {
 public:
  virtual ~EventSink();
  virtual void onEvent(DispId id, QVariantList& args) = 0;
};

// A sink over a function, for hosts that handle events in a lambda.
class MORVANE_AUTOMATION_API FunctionSink : public EventSink {
 public:
  using Handler = std::function<void(DispId, QVariantList&)>;
  explicit FunctionSink(Handler handler);
  void onEvent(DispId id, QVariantList& args) override;

 private:
  Handler handler_;
};

// A control's outgoing event interface. Events are raised synchronously on the
// caller's thread: every advised sink has run, in the order of advising, when raise
// returns. Sinks are not owned; a sink unadvises itself before it dies. A sink may
// unadvise (itself or another) while an event is being raised.
class MORVANE_AUTOMATION_API EventSource {
 public:
  // Returns a cookie for unadvise; 0 is never a cookie.
  int advise(EventSink* sink);
  void unadvise(int cookie);
  bool hasSinks() const;

  // An error raised by a sink reaches the caller of raise, and the sinks after it
  // do not run for this event.
  void raise(DispId id, QVariantList& args);

 private:
  struct Connection {
    int cookie;
    EventSink* sink;
  };
  std::vector<Connection> connections_;
  int nextCookie_ = 1;
};

}  // namespace morvane::automation
