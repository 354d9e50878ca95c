#include "platform/widgets/automation/events.h"

#include <algorithm>
#include <utility>

namespace morvane::automation {

EventSink::~EventSink() = default;

FunctionSink::FunctionSink(Handler handler) : handler_(std::move(handler)) {}

void FunctionSink::onEvent(DispId id, QVariantList& args) {
  if (handler_) handler_(id, args);
}

int EventSource::advise(EventSink* sink) {
  if (sink == nullptr) return 0;
  const int cookie = nextCookie_++;
  connections_.push_back({cookie, sink});
  return cookie;
}

void EventSource::unadvise(int cookie) {
  std::erase_if(connections_, [cookie](const Connection& c) { return c.cookie == cookie; });
}

bool EventSource::hasSinks() const { return !connections_.empty(); }

void EventSource::raise(DispId id, QVariantList& args) {
  // Walk by cookie, so that a sink that unadvises during the call neither invalidates
  // the walk nor gets called after it has gone.
  std::vector<int> cookies;
  cookies.reserve(connections_.size());
  for (const auto& c : connections_) cookies.push_back(c.cookie);
  for (int cookie : cookies) {
    auto it = std::find_if(connections_.begin(), connections_.end(),
                           [cookie](const Connection& c) { return c.cookie == cookie; });
    if (it != connections_.end()) it->sink->onEvent(id, args);
  }
}

}  // namespace morvane::automation
