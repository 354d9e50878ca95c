#pragma once

#include "controls/scopel/scopel.h"
#include "platform/widgets/automation/dispatch.h"

namespace morvane::scopel {

// The member table of _Scopel, in interface order.
const automation::MemberTable<Scopel>& ScopelMembers();

}  // namespace morvane::scopel
