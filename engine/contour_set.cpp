#include "engine/contour_set.h"

#include <cstdlib>

namespace morvane::engine {

OwnHref::OwnHref(std::string text)
    : text_(text.empty() ? nullptr : std::make_unique<const std::string>(std::move(text))) {}

OwnHref::OwnHref(const OwnHref& other) : OwnHref(other.Text()) {}

OwnHref& OwnHref::operator=(const OwnHref& other) {
  if (this != &other) *this = OwnHref(other);
  return *this;
}

const std::string& OwnHref::Text() const {
  static const std::string kNone;
  return text_ != nullptr ? *text_ : kNone;
}

std::string TitleEntry(const ContourTitle& title) {
  std::string entry = title.href.Empty() ? "#" + title.number : title.href.Text();
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

void DropEmptyContours(ContourSet& contours, std::string_view format) {
  ContourPoints& points = contours.points;
  std::vector<ContourTitle>& titles = contours.titles;
  // Contour k runs up to the k-th separator; its title is titles[k]. Points and titles
  // move down in place: a whole image's set is large, and a second copy of it would
  // double the run's peak.
  std::size_t kept = 1;
  std::int32_t contour = 0;
  std::int32_t keptContours = 0;
  bool open = false;  // a point of the current contour was kept
  const auto close = [&] {
    if (!open) return;
    const auto from = static_cast<std::size_t>(contour);
    const auto to = static_cast<std::size_t>(keptContours);
    if (from < titles.size()) {
      if (to != from) titles[to] = std::move(titles[from]);
      titles[to].number = FormatContourNumber(keptContours, format);
    } else if (to < titles.size()) {
      titles[to] = UntitledContour(keptContours, format);
    } else {
      titles.push_back(UntitledContour(keptContours, format));
    }
    ++keptContours;
    open = false;
  };
  for (std::size_t k = 1; k < points.size(); ++k) {
    if (IsSeparator(points[k])) {
      close();
      ++contour;
      continue;
    }
    if (!open && keptContours > 0) points[kept++] = Separator(keptContours);
    points[kept++] = points[k];
    open = true;
  }
  close();
  points.resize(kept);
  contours.count = keptContours;
  titles.erase(titles.begin() + keptContours, titles.end());
}

std::string UntitledEntry(std::int32_t number, std::string_view format) {
  return TitleEntry(UntitledContour(number, format));
}

}  // namespace morvane::engine
