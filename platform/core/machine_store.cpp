#include "platform/core/machine_store.h"

#include <charconv>

#include "platform/core/app_info.h"
#include "platform/core/file_system.h"
#include "platform/core/ini_profile.h"
#include "platform/core/text_codec.h"

namespace morvane::core {
namespace {

constexpr char kHex[] = "0123456789abcdef";

std::optional<std::string_view> RootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegistryRoot::kCurrentUser: return "HKEY_CURRENT_USER";
    case RegistryRoot::kLocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::kUsers: return "HKEY_USERS";
  }
  return std::nullopt;
}

bool Unstorable(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Text that "sz:" can hold as it stands: NUL-terminated UTF-8 with no other NUL and
// no line break.
bool IsPlainText(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty() || bytes.back() != 0) return false;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size() - 1);
  return !Unstorable(text) && IsValidUtf8(text);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view StripSeparators(std::string_view s) {
  while (!s.empty() && s.front() == '\\') s.remove_prefix(1);
  while (!s.empty() && s.back() == '\\') s.remove_suffix(1);
  return s;
}

}  // namespace

MachineStore::MachineStore(std::string file) : file_(std::move(file)) {}

MachineStore& MachineStore::Default() {
  static MachineStore store(UserConfigFolder() + "/Registry.ini");
  return store;
}

std::optional<std::string> MachineStore::SectionFor(RegistryRoot root, std::string_view keyPath) {
  const auto rootName = RootName(root);
  if (!rootName) return std::nullopt;
  std::string section(*rootName);
  keyPath = StripSeparators(keyPath);
  if (Unstorable(keyPath) || keyPath.find(']') != std::string_view::npos) return std::nullopt;
  bool separator = true;
  for (const char c : keyPath) {
    if (c == '\\') {
      if (separator) continue;
      separator = true;
    } else {
      if (separator) section += '\\';
      separator = false;
    }
    if (c != '\\') section += c;
  }
  return section;
}

std::optional<std::string> MachineStore::EncodeName(std::string_view valueName) {
  if (valueName.empty()) return std::string("@");
  if (Unstorable(valueName) || valueName.find('=') != std::string_view::npos) return std::nullopt;
  const char last = valueName.back();
  if (last == ' ' || last == '\t') return std::nullopt;
  const char first = valueName.front();
  if (first == '@' || first == '[' || first == ';' || first == ' ' || first == '\t') {
    return "@" + std::string(valueName);
  }
  return std::string(valueName);
}

std::string MachineStore::EncodeData(const StoredValue& value) {
  if ((value.type == kRegSz || value.type == kRegExpandSz) && IsPlainText(value.bytes)) {
    return std::string(value.type == kRegSz ? "sz:" : "expand:") +
           std::string(reinterpret_cast<const char*>(value.bytes.data()), value.bytes.size() - 1);
  }
  if (value.type == kRegDword && value.bytes.size() == 4) {
    const std::uint32_t n = static_cast<std::uint32_t>(value.bytes[0]) |
                            (static_cast<std::uint32_t>(value.bytes[1]) << 8) |
                            (static_cast<std::uint32_t>(value.bytes[2]) << 16) |
                            (static_cast<std::uint32_t>(value.bytes[3]) << 24);
    std::string out = "dword:";
    for (int shift = 28; shift >= 0; shift -= 4) out += kHex[(n >> shift) & 0xF];
    return out;
  }
  std::string out = "hex(" + std::to_string(value.type) + "):";
  for (const std::uint8_t b : value.bytes) {
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
  }
  return out;
}

std::optional<StoredValue> MachineStore::DecodeData(std::string_view text) {
  StoredValue value;
  auto asText = [&](std::string_view rest, std::int32_t type) {
    value.type = type;
    value.bytes.assign(rest.begin(), rest.end());
    value.bytes.push_back(0);
    return value;
  };
  if (text.starts_with("sz:")) return asText(text.substr(3), kRegSz);
  if (text.starts_with("expand:")) return asText(text.substr(7), kRegExpandSz);
  if (text.starts_with("dword:")) {
    const std::string_view digits = text.substr(6);
    std::uint32_t n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n, 16);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
      return std::nullopt;
    }
    value.type = kRegDword;
    value.bytes = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                   static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
    return value;
  }
  if (text.starts_with("hex(")) {
    const std::size_t close = text.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view type = text.substr(4, close - 4);
    const auto [end, ec] = std::from_chars(type.data(), type.data() + type.size(), value.type);
    if (type.empty() || ec != std::errc() || end != type.data() + type.size()) return std::nullopt;
    const std::string_view hex = text.substr(close + 2);
    if (hex.size() % 2 != 0) return std::nullopt;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
      const int hi = HexDigit(hex[i]);
      const int lo = HexDigit(hex[i + 1]);
      if (hi < 0 || lo < 0) return std::nullopt;
      value.bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return value;
  }
  return std::nullopt;
}

std::optional<StoredValue> MachineStore::ReadValue(RegistryRoot root, std::string_view keyPath,
                                                   std::string_view valueName) const {
  const auto section = SectionFor(root, keyPath);
  const auto name = EncodeName(valueName);
  if (!section || !name) return std::nullopt;
  const auto text = ReadProfileString(file_, *section, *name);
  if (!text) return std::nullopt;
  return DecodeData(*text);
}

bool MachineStore::KeyExists(RegistryRoot root, std::string_view keyPath) const {
  const auto section = SectionFor(root, keyPath);
  return section && ReadProfileSection(file_, *section).has_value();
}

bool MachineStore::WriteValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                              const StoredValue& value, std::string* error) {
  const auto section = SectionFor(root, keyPath);
  const auto name = EncodeName(valueName);
  if (!section || !name) {
    if (error) *error = "The key path or value name cannot be stored";
    return false;
  }
  // The per-user folder may not exist before the first registration.
  const std::size_t slash = file_.rfind('/');
  if (slash != std::string::npos && slash > 0) CreateFolders(file_.substr(0, slash));
  return WriteProfileString(file_, *section, *name, EncodeData(value), error);
}

bool MachineStore::DeleteValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                               std::string* error) {
  const auto section = SectionFor(root, keyPath);
  const auto name = EncodeName(valueName);
  if (!section || !name) return true;  // such a value cannot exist
  return DeleteProfileKey(file_, *section, *name, error);
}

bool MachineStore::DeleteKey(RegistryRoot root, std::string_view keyPath, std::string* error) {
  // An empty path would name the root with everything below it: never meant.
  if (StripSeparators(keyPath).empty()) {
    if (error) *error = "No key path given";
    return false;
  }
  const auto section = SectionFor(root, keyPath);
  if (!section) return true;
  const std::string below = *section + "\\";
  return UpdateProfile(
      file_,
      [&](IniDocument& doc) {
        for (const std::string& name : doc.SectionNames()) {
          if (NamesEqual(name, *section) ||
              (name.size() > below.size() && NamesEqual(name.substr(0, below.size()), below))) {
            doc.DeleteSection(name);
          }
        }
        return true;
      },
      error);
}

}  // namespace morvane::core
