// The library's self-registration entry points, the only symbols it exports.
#include "controls/vitrane/vitrane_image.h"
#include "controls/vitrane/vitrane_typelib.h"
#include "platform/widgets/automation/control_library.h"

MORVANE_CONTROL_LIBRARY(morvane::vitrane::VitraneImage, morvane::vitrane)
