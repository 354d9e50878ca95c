#pragma once

#include <cstdint>

namespace morvane::core {

// Flag bits of the open and save dialogs, numbered as the old platform numbered them,
// since callers combine the numbers with |.
enum FileDialogFlag : std::int32_t {
  kOfnOverwritePrompt = 0x2,
  kOfnHideReadOnly = 0x4,
  kOfnShowHelp = 0x10,
  kOfnAllowMultiSelect = 0x200,
  kOfnFileMustExist = 0x1000,
  kOfnShareAware = 0x4000,
};

}  // namespace morvane::core
