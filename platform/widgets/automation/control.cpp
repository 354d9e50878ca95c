#include "platform/widgets/automation/control.h"

namespace morvane::automation {

Control::~Control() = default;
ClassFactory::~ClassFactory() = default;

}  // namespace morvane::automation
