// The library's self-registration entry points, the only symbols it exports.
#include "controls/trellan/trellan.h"
#include "controls/trellan/trellan_typelib.h"
#include "platform/widgets/automation/control_library.h"

MORVANE_CONTROL_LIBRARY(morvane::trellan::Trellan, morvane::trellan)
