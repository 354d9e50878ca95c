#include "common/registry.h"

#include "common/currency.h"
#include "common/value_helpers.h"

namespace morvane::common {
namespace {

using core::kRegBinary;
using core::kRegDword;
using core::kRegDwordBigEndian;
using core::kRegExpandSz;
using core::kRegMultiSz;
using core::kRegSz;

std::string Decode(const std::vector<std::uint8_t>& bytes, std::int32_t type) {
  const std::size_t size = bytes.size();
  switch (type) {
    case kRegSz:
    case kRegExpandSz:
    case kRegMultiSz: {
      // Only the terminating NUL goes; a text stored without one keeps all it has.
      const std::size_t n = size > 0 && bytes[size - 1] == 0 ? size - 1 : size;
      return ByteArrayToString(bytes, 0, n, true);
    }
    case kRegDword: {
      std::uint64_t n = 0;
      for (std::size_t i = 0; i < size && i < 8; ++i) n |= std::uint64_t{bytes[i]} << (8 * i);
      return std::to_string(n);
    }
    case kRegDwordBigEndian: {
      std::uint64_t n = 0;
      for (std::size_t i = 0; i < size && i < 8; ++i) n = (n << 8) | bytes[i];
      return std::to_string(n);
    }
    default: return ByteArrayToString(bytes, 0, size, true);
  }
}

}  // namespace

std::string AppRegistryKeyPath(const core::VersionRecord& record) {
  return "SOFTWARE\\" + record.companyName + "\\" + record.title;
}

std::string ReadRegValue(const core::MachineStore& store, core::RegistryRoot root,
                         std::string_view keyPath, std::string_view valueName,
                         std::vector<std::uint8_t>* rawBytes, std::optional<std::int32_t> type,
                         std::string_view defaultText) {
  const auto stored = store.ReadValue(root, keyPath, valueName);
  if (!stored) return std::string(defaultText);
  if (rawBytes) {
    *rawBytes = stored->bytes;
    rawBytes->push_back(0);
  }
  return Decode(stored->bytes, type.value_or(stored->type));
}

std::string ReadRegValue(core::RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                         std::vector<std::uint8_t>* rawBytes, std::optional<std::int32_t> type,
                         std::string_view defaultText) {
  return ReadRegValue(core::MachineStore::Default(), root, keyPath, valueName, rawBytes, type,
                      defaultText);
}

std::int32_t WriteRegValue(core::MachineStore& store, core::RegistryRoot root, std::string_view keyPath,
                           std::string_view valueName, std::string_view value,
                           std::optional<std::int32_t> type) {
  // An absent value is written even when it would read as the empty default.
  if (store.ReadValue(root, keyPath, valueName) &&
      ReadRegValue(store, root, keyPath, valueName, nullptr, type) == value) {
    return kRegistrySuccess;
  }
  core::StoredValue data;
  data.type = type.value_or(kRegSz);
  switch (data.type) {
    case kRegSz:
      data.bytes.assign(value.begin(), value.end());
      data.bytes.push_back(0);
      break;
    case kRegBinary:
      data.bytes.assign(value.begin(), value.end());
      if (data.bytes.empty()) data.bytes.push_back(0);
      break;
    case kRegDword: {
      const auto n = static_cast<std::uint32_t>(Currency::Parse(value).value_or(0).ToInt32());
      data.bytes = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                    static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
      break;
    }
    default: return kRegistryInvalidParameter;
  }
  if (!core::MachineStore::SectionFor(root, keyPath) || !core::MachineStore::EncodeName(valueName)) {
    return kRegistryInvalidParameter;
  }
  return store.WriteValue(root, keyPath, valueName, data) ? kRegistrySuccess : kRegistryAccessDenied;
}

std::int32_t WriteRegValue(core::RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                           std::string_view value, std::optional<std::int32_t> type) {
  return WriteRegValue(core::MachineStore::Default(), root, keyPath, valueName, value, type);
}

}  // namespace morvane::common
