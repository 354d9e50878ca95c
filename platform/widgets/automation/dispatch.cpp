#include "platform/widgets/automation/dispatch.h"

namespace morvane::automation {

Dispatch::~Dispatch() = default;

QVariant Dispatch::get(DispId id) {
  QVariantList args;
  return invoke(id, Invoke::Get, args);
}

void Dispatch::put(DispId id, const QVariant& value) {
  QVariantList args{value};
  invoke(id, Invoke::Put, args);
}

void Dispatch::putRef(DispId id, const QVariant& value) {
  QVariantList args{value};
  invoke(id, Invoke::PutRef, args);
}

QVariant Dispatch::call(DispId id, QVariantList args) { return invoke(id, Invoke::Call, args); }

}  // namespace morvane::automation
