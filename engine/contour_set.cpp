#include "engine/contour_set.h"

#include <cstdlib>

namespace morvane::engine {

std::string TitleEntry(const ContourTitle& title) {
  std::string entry = "#" + title.number;
  if (title.titled) {
    entry += "  ";
    entry += title.title;
  }
  return entry;
}

ContourTitle UntitledContour(std::int32_t number, std::string_view format) {
  return ContourTitle{FormatContourNumber(number, format), {}, false};
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

std::string UntitledEntry(std::int32_t number, std::string_view format) {
  return TitleEntry(UntitledContour(number, format));
}

}  // namespace morvane::engine
