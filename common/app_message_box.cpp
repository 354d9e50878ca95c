#include "common/app_message_box.h"

namespace morvane::common {

core::DialogAnswer MessageBoxWithAppIcon(core::ModuleMessageBox& box, std::int32_t owner,
                                         std::string_view text, std::int32_t style,
                                         std::string_view caption, std::optional<std::int32_t> iconId,
                                         std::int32_t languageId) {
  core::MessageBoxRequest request;
  request.owner = owner;
  request.text = std::string(text);
  request.caption = std::string(caption);
  request.style = iconId ? (style | core::kMbUserIcon) : style;
  request.iconId = iconId;
  request.languageId = languageId;
  return box.Show(request);
}

}  // namespace morvane::common
