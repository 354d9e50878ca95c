// The library's self-registration entry points, the only symbols it exports.
#include "controls/scopel/scopel.h"
#include "controls/scopel/scopel_typelib.h"
#include "platform/widgets/automation/control_library.h"

MORVANE_CONTROL_LIBRARY(morvane::scopel::Scopel, morvane::scopel)
