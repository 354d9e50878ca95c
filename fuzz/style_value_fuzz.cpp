// Feeds arbitrary tag texts to the attribute reader. The input is an attribute name,
// a newline and the tag. Whatever it answers must be a piece of the tag; and in a tag
// built from pieces of the input, a quoted attribute must be found whatever the
// attributes before it hold.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/text_helpers.h"

using morvane::common::GetStyleValue;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string WithoutQuotesOrBrackets(std::string_view s) {
  std::string out;
  for (const char c : s) {
    if (c != '"' && c != '>') out += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string_view name =
      newline == std::string_view::npos ? std::string_view() : input.substr(0, newline);
  const std::string_view tag = newline == std::string_view::npos ? input : input.substr(newline + 1);
  const bool styleFirst = size > 0 && (data[0] & 1) != 0;

  const std::string value = GetStyleValue(tag, name, styleFirst);
  Check(value.empty() || tag.find(value) != std::string_view::npos);

  // A title and coordinates from the input, in a tag the map writer could have written.
  const std::string title = WithoutQuotesOrBrackets(tag.substr(0, tag.size() / 2));
  const std::string coords = WithoutQuotesOrBrackets(tag.substr(tag.size() / 2));
  const std::string area = "<area alt=\"" + title + "\" coords=\"" + coords + "\" shape=\"poly\">";
  Check(GetStyleValue(area, "coords") == coords);
  Check(GetStyleValue(area, "shape") == "poly");
  Check(GetStyleValue(area, "alt") == title);
  return 0;
}
