#pragma once

#include <string>

#include "platform/core/version_record.h"

namespace morvane::common {

// The version text of a module. Long form: major, "." and the minor number as two
// digits, then "." and the revision as four digits when the revision is 1 or more
// (1.02.0005, 1.02). Short form: major, "." and the minor number as it is ("00" for 0),
// then "." and the revision as it is when it is 1 or more (1.2.5, 3.00).
std::string GetAppVersion(bool shortForm, const core::VersionRecord& record);

// The same for the module this code is linked into (the program or a control library).
std::string GetAppVersion(bool shortForm);

}  // namespace morvane::common
