#pragma once

#include <QString>

#include "platform/widgets/automation/automation_export.h"
#include "platform/widgets/automation/control.h"

namespace morvane::automation {

// Classes compiled into the program itself have no library to load: the program
// registers their factories here at start-up, and ClassRegistry::create asks this
// table first, by class id or ProgID (both compared without regard to case).
struct MORVANE_AUTOMATION_API InProcessClass {
  QString classId;                  // "{...}"
  QString progId;                   // "Morvane.SpinBox"
  ClassFactory* factory = nullptr;  // not owned; lives as long as the process
};

// Registering a class id again replaces its entry.
MORVANE_AUTOMATION_API void RegisterInProcessClass(const InProcessClass& entry);
MORVANE_AUTOMATION_API void UnregisterInProcessClass(const QString& classId);
// The factory of a registered class, or null.
MORVANE_AUTOMATION_API ClassFactory* InProcessFactory(const QString& classIdOrProgId);

}  // namespace morvane::automation
