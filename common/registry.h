#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/machine_store.h"
#include "platform/core/version_record.h"

namespace morvane::common {

// Registry values over the machine store (platform/core/machine_store.h). The
// functions without a store use MachineStore::Default().

// Result codes, numbered as the old platform's registry services numbered them.
inline constexpr std::int32_t kRegistrySuccess = 0;
inline constexpr std::int32_t kRegistryAccessDenied = 5;
inline constexpr std::int32_t kRegistryInvalidParameter = 87;

// The program runs natively here: never a 32-bit process on a 64-bit system.
constexpr bool IsWow64() { return false; }

// "SOFTWARE\<company>\<title>": the key under the local machine where the program
// records its folder (default value) and "CurrentVersion".
std::string AppRegistryKeyPath(const core::VersionRecord& record);

// The value as text, decoded by type (the given one, else the stored one): texts (1, 2,
// 7) without their terminating NUL, NULs between texts kept and nothing expanded; 4 a
// little-endian and 5 a big-endian unsigned number in decimal; anything else the bytes
// as they are. rawBytes receives the stored bytes and one NUL more. defaultText when
// the key or value is absent.
std::string ReadRegValue(const core::MachineStore& store, core::RegistryRoot root,
                         std::string_view keyPath, std::string_view valueName,
                         std::vector<std::uint8_t>* rawBytes = nullptr,
                         std::optional<std::int32_t> type = std::nullopt,
                         std::string_view defaultText = "");
std::string ReadRegValue(core::RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                         std::vector<std::uint8_t>* rawBytes = nullptr,
                         std::optional<std::int32_t> type = std::nullopt,
                         std::string_view defaultText = "");

// Stores the value unless the same is already stored (compared as ReadRegValue reads
// it): type 1 as text with a terminating NUL, 3 as the text's bytes (one NUL for an
// empty text), 4 as the text's leading number rounded to 32 bits. Answers
// kRegistrySuccess, kRegistryAccessDenied when the store cannot be written, or
// kRegistryInvalidParameter for another type or a name the store cannot hold.
std::int32_t WriteRegValue(core::MachineStore& store, core::RegistryRoot root, std::string_view keyPath,
                           std::string_view valueName, std::string_view value,
                           std::optional<std::int32_t> type = std::nullopt);
std::int32_t WriteRegValue(core::RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                           std::string_view value, std::optional<std::int32_t> type = std::nullopt);

}  // namespace morvane::common
