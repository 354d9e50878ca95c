#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/core/message_box.h"

namespace morvane::common {

// Shows text in a message box of the calling module, with that module's icon iconId
// when one is given (the style then gains kMbUserIcon). Answers the button pressed, or
// what the box reports when it cannot be shown; nothing is thrown.
core::DialogAnswer MessageBoxWithAppIcon(core::ModuleMessageBox& box, std::int32_t owner,
                                         std::string_view text, std::int32_t style,
                                         std::string_view caption,
                                         std::optional<std::int32_t> iconId = std::nullopt,
                                         std::int32_t languageId = 0);

}  // namespace morvane::common
