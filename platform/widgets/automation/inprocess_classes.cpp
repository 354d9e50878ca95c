#include "platform/widgets/automation/inprocess_classes.h"

#include <algorithm>
#include <vector>

#include "platform/widgets/automation/class_registry.h"

namespace morvane::automation {

namespace {

std::vector<InProcessClass>& Classes() {
  static std::vector<InProcessClass> classes;
  return classes;
}

}  // namespace

void RegisterInProcessClass(const InProcessClass& entry) {
  InProcessClass normal = entry;
  normal.classId = NormalizeClassId(entry.classId);
  if (normal.classId.isEmpty() || normal.factory == nullptr) return;
  UnregisterInProcessClass(normal.classId);
  Classes().push_back(normal);
}

void UnregisterInProcessClass(const QString& classId) {
  const QString id = NormalizeClassId(classId);
  std::erase_if(Classes(), [&](const InProcessClass& c) { return c.classId == id; });
}

ClassFactory* InProcessFactory(const QString& classIdOrProgId) {
  const QString id = NormalizeClassId(classIdOrProgId);
  for (const InProcessClass& c : Classes()) {
    const bool match = id.isEmpty()
                           ? c.progId.compare(classIdOrProgId.trimmed(), Qt::CaseInsensitive) == 0
                           : c.classId == id;
    if (match) return c.factory;
  }
  return nullptr;
}

}  // namespace morvane::automation
