#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::core {

// The stand-in for the registry: a per-user INI file with one section per key path
// ("HKEY_LOCAL_MACHINE\SOFTWARE\Morvane\Morvane"), one entry per value. Key paths and
// value names match without regard to ASCII letter case, as in a registry.
//
// Entries read "name=kind:data": "sz:" and "expand:" hold text as it is, "dword:" a
// 32-bit number in eight hex digits, "hex(type):" any bytes in hex. The default value
// (empty name) is written under "@"; a name that itself begins with "@" gets one more.

// Root keys, by the numbers the old platform gave its predefined key handles.
enum class RegistryRoot : std::uint32_t {
  kClassesRoot = 0x80000000u,
  kCurrentUser = 0x80000001u,
  kLocalMachine = 0x80000002u,
  kUsers = 0x80000003u,
};

// Value types, numbered as the old platform numbers them.
inline constexpr std::int32_t kRegSz = 1;
inline constexpr std::int32_t kRegExpandSz = 2;
inline constexpr std::int32_t kRegBinary = 3;
inline constexpr std::int32_t kRegDword = 4;
inline constexpr std::int32_t kRegDwordBigEndian = 5;
inline constexpr std::int32_t kRegMultiSz = 7;

struct StoredValue {
  std::int32_t type = kRegSz;
  std::vector<std::uint8_t> bytes;
  bool operator==(const StoredValue&) const = default;
};

class MachineStore {
 public:
  explicit MachineStore(std::string file);

  // The user's store, Registry.ini in the per-user folder (UserConfigFolder()).
  static MachineStore& Default();

  const std::string& file() const { return file_; }

  // Nothing for an unknown root, key or value, or an entry that does not decode.
  std::optional<StoredValue> ReadValue(RegistryRoot root, std::string_view keyPath,
                                       std::string_view valueName) const;
  bool KeyExists(RegistryRoot root, std::string_view keyPath) const;

  // Creates the key as needed. False, with error set and the file unchanged, for a name
  // the file cannot hold (line breaks, "=", blanks at its end, "]" in a key path) or a
  // failed write. An unchanged value leaves the file untouched.
  bool WriteValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                  const StoredValue& value, std::string* error = nullptr);
  bool DeleteValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                   std::string* error = nullptr);
  // Removes the key with its values and all keys below it. An empty path is refused.
  bool DeleteKey(RegistryRoot root, std::string_view keyPath, std::string* error = nullptr);

  // The section that holds a key, or nothing for an unknown root or a path the file
  // cannot hold. Separators at the ends and doubled ones are dropped.
  static std::optional<std::string> SectionFor(RegistryRoot root, std::string_view keyPath);
  static std::optional<std::string> EncodeName(std::string_view valueName);
  static std::string EncodeData(const StoredValue& value);
  static std::optional<StoredValue> DecodeData(std::string_view text);

 private:
  std::string file_;
};

}  // namespace morvane::core
