#include "engine/host.h"

#include <cstdlib>

namespace morvane::engine {

std::int64_t RunControl::ShowElapsedTimes(std::int64_t n) {
  for (std::int64_t k = 1; k <= n; ++k) {
    ShowElapsedTime();
    if (StopRequested()) {
      return k;
    }
  }
  return 0;
}

std::string FormatContourNumber(std::int32_t number, std::string_view format) {
  const std::string digits = std::to_string(std::llabs(static_cast<long long>(number)));
  std::string text;
  if (number < 0) {
    text.push_back('-');
  }
  if (digits.size() < format.size()) {
    text.append(format.size() - digits.size(), '0');
  }
  text.append(digits);
  return text;
}

std::string ContourTitle(std::int32_t number, std::string_view format) {
  std::string title = "#";
  title.append(FormatContourNumber(number, format));
  return title;
}

}  // namespace morvane::engine
