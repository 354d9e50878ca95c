// Feeds arbitrary bytes to the INI reader and checks what callers rely on: the file
// comes back byte for byte, every listed entry can be read, a value written reads back
// and leaves the other sections alone, and stored numbers parse into text that parses
// back to the same number.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/currency.h"
#include "platform/core/ini_profile.h"
#include "platform/core/text_codec.h"

using morvane::common::Currency;
using morvane::core::DecodeIniValue;
using morvane::core::DecodeText;
using morvane::core::EncodeIniValue;
using morvane::core::IniDocument;
using morvane::core::NamesEqual;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::Parse(bytes);
  Check(doc.Serialize() == bytes);

  const auto names = doc.SectionNames();
  for (const std::string& name : names) {
    const auto lines = doc.Section(name);
    Check(lines.has_value());
    for (const std::string& line : *lines) {
      const std::size_t eq = line.find('=');
      const std::string key = line.substr(0, eq);
      if (key.empty()) continue;
      const auto value = doc.Value(name, key);
      Check(value.has_value());
      if (const auto number = Currency::Parse(*value)) {
        Check(Currency::Parse(number->ToText()) == number);
      }
    }
  }

  // A value taken from the input, as UTF-8 text, written into the document.
  const std::string value = DecodeText(bytes.substr(0, size < 24 ? size : 24));
  if (value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) {
    Check(DecodeIniValue(EncodeIniValue(value)) == value);
  }
  IniDocument edited = IniDocument::Parse(bytes);
  if (edited.SetValue("Fuzz", "Key", value)) {
    const IniDocument again = IniDocument::Parse(edited.Serialize());
    Check(again.Value("Fuzz", "Key") == value);
    for (const std::string& name : names) {
      if (!NamesEqual(name, "Fuzz")) Check(again.Section(name) == doc.Section(name));
    }
  }
  IniDocument removed = IniDocument::Parse(bytes);
  removed.DeleteKey("Fuzz", "Key");
  Check(!IniDocument::Parse(removed.Serialize()).Value("Fuzz", "Key").has_value());
  return 0;
}
