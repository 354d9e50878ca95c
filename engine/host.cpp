#include "engine/host.h"

#include <cstdlib>

namespace morvane::engine {

std::string FormatContourNumber(std::int32_t number, std::string_view format) {
  std::string digits = std::to_string(std::llabs(static_cast<long long>(number)));
  if (digits.size() < format.size()) {
    digits.insert(0, format.size() - digits.size(), '0');
  }
  return number < 0 ? "-" + digits : digits;
}

std::string ContourTitle(std::int32_t number, std::string_view format) {
  return "#" + FormatContourNumber(number, format);
}

}  // namespace morvane::engine
