#include "app/edit_commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "common/text_helpers.h"
#include "engine/contour_points.h"
#include "platform/core/units.h"

namespace morvane::app {

using engine::ContourPoint;
using engine::ContourPoints;
using engine::ContourSet;

namespace {

std::size_t At(std::int32_t k) { return static_cast<std::size_t>(k); }

constexpr double kInt32Max = std::numeric_limits<std::int32_t>::max();

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The absolute value rounded as CLng rounds, when it fits 32 bits.
std::optional<std::int32_t> Coordinate(double value) {
  const double r = core::RoundHalfEven(std::fabs(value));
  if (!std::isfinite(r) || r > kInt32Max) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

// The canonical form of an entry and the point it names.
struct Canonical {
  std::string text;
  std::optional<ContourPoint> point;
};

Canonical Canonicalise(std::string_view text) {
  const double x = std::fabs(ValOf(common::StrBefore(text, ",")));
  const double y = std::fabs(ValOf(common::StrAfter(text, ",", 0, true)));
  Canonical c;
  c.text = NumberText(x) + "," + NumberText(y);
  const std::optional<std::int32_t> px = Coordinate(x), py = Coordinate(y);
  if (px && py) c.point = ContourPoint{*px, *py};
  return c;
}

bool IsWholeNumber(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::int32_t Saturate(double value) { return core::RoundToInt32(std::max(value, 0.0)); }

}  // namespace

std::string ElementText(const ContourPoint& p, std::string_view format) {
  if (engine::IsSeparator(p)) return "#" + engine::FormatContourNumber(p.x, format);
  return std::to_string(p.x) + "," + std::to_string(p.y);
}

std::string FirstHeadingText(std::string_view format) {
  return "#" + engine::FormatContourNumber(0, format);
}

double ValOf(std::string_view text) {
  // Blanks anywhere are skipped, as the old Val did ("1 2" is 12).
  std::string number;
  bool digits = false, point = false, exponent = false;
  for (char c : text) {
    if (IsBlank(c)) continue;
    const bool sign = c == '+' || c == '-';
    if (sign && (number.empty() || (exponent && (number.back() == 'e')))) {
      number.push_back(c);
    } else if (c >= '0' && c <= '9') {
      number.push_back(c);
      digits = true;
    } else if (c == '.' && !point && !exponent) {
      number.push_back(c);
      point = true;
    } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && digits && !exponent) {
      number.push_back('e');
      exponent = true;
    } else {
      break;
    }
  }
  // A dangling exponent or sign ends the number before it.
  while (!number.empty() && (number.back() == 'e' || number.back() == '+' || number.back() == '-')) {
    number.pop_back();
  }
  if (!digits) return 0;
  double value = 0;
  const char* begin = number.data();
  if (*begin == '+') ++begin;
  const auto result = std::from_chars(begin, number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    return (number.front() == '-' ? -1 : 1) * std::numeric_limits<double>::infinity();
  }
  return value;
}

std::string NumberText(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<long long>(value));
  }
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::optional<ContourPoint> ParseLabelEntry(std::string_view text) {
  const Canonical c = Canonicalise(text);
  if (c.text != text) return std::nullopt;
  return c.point;
}

std::optional<ContourPoint> ParseNewPoint(std::string_view text) {
  if (std::all_of(text.begin(), text.end(), IsBlank)) return std::nullopt;
  return Canonicalise(text).point;
}

std::int32_t FirstPointUnder(const ContourPoints& points, std::int32_t element) {
  const std::int32_t upper = engine::UpperBound(points);
  for (std::int32_t k = std::max(element, 0) + 1; k <= upper; ++k) {
    if (!engine::IsSeparator(points[At(k)])) return k;
  }
  // A heading with nothing under it: the contour before it.
  for (std::int32_t k = std::min(element, upper); k >= 1; --k) {
    if (!engine::IsSeparator(points[At(k)])) {
      std::int32_t first = 0;
      engine::GetContourRange(points, k, first);
      return first;
    }
  }
  return 0;
}

std::int32_t PointElementOf(const ContourPoints& points, std::int32_t element) {
  const std::int32_t upper = engine::UpperBound(points);
  if (element >= 1 && element <= upper && !engine::IsSeparator(points[At(element)])) return element;
  return FirstPointUnder(points, std::min(element, upper));
}

EditOutcome DeletePoint(ContourSet& contours, std::int32_t element) {
  ContourPoints& points = contours.points;
  EditOutcome out;
  const std::int32_t e = PointElementOf(points, element);
  out.selected = e;
  if (e == 0) return out;
  std::int32_t first = 0, last = 0;
  engine::GetContourRange(points, e, first, &last);
  if (last - first < 3) {
    out.message = kUseDeleteContour;
    return out;
  }
  points.erase(points.begin() + e);
  out.done = true;
  out.selected = std::min(e, engine::UpperBound(points));
  return out;
}

bool ChangePoint(ContourSet& contours, std::int32_t element, ContourPoint p) {
  ContourPoints& points = contours.points;
  if (element < 1 || element > engine::UpperBound(points) || engine::IsSeparator(points[At(element)]))
    return false;
  if (p.y < 0 || points[At(element)] == p) return false;
  points[At(element)] = p;
  return true;
}

std::int32_t InsertPointAfter(ContourSet& contours, std::int32_t element, ContourPoint p) {
  ContourPoints& points = contours.points;
  const std::int32_t e = PointElementOf(points, element);
  if (e == 0 || p.y < 0) return 0;
  points.insert(points.begin() + e + 1, p);
  return e + 1;
}

bool DeleteContour(ContourSet& contours, std::int32_t element, std::string_view format) {
  ContourPoints& points = contours.points;
  const std::int32_t e = PointElementOf(points, element);
  if (e == 0) return false;
  const std::int32_t n = engine::UpperBound(points);
  std::int32_t first = 0, last = 0;
  engine::GetContourRange(points, e, first, &last);
  const std::int32_t number = points[At(first) - 1].x;
  if (number >= 0 && static_cast<std::size_t>(number) < contours.titles.size()) {
    contours.titles.erase(contours.titles.begin() + number);
  }
  if (last >= n) {
    if (first > 1) --first;  // the separator before it goes
  } else {
    ++last;  // its own separator goes
  }
  points.erase(points.begin() + first, points.begin() + last + 1);
  // Separators left without a point head nothing: the document is empty.
  if (std::all_of(points.begin() + 1, points.end(),
                  [](const ContourPoint& p) { return engine::IsSeparator(p); })) {
    engine::ResetPoints(points);
  }
  engine::RenumberContours(points, contours.count);
  RenumberTitles(contours.titles, format);
  return true;
}

void ReverseContours(ContourSet& contours, std::string_view format) {
  ContourPoints& points = contours.points;
  if (points.size() > 1) std::reverse(points.begin() + 1, points.end());
  engine::RenumberContours(points, contours.count);
  std::reverse(contours.titles.begin(), contours.titles.end());
  RenumberTitles(contours.titles, format);
}

void RenumberTitles(std::vector<engine::ContourTitle>& titles, std::string_view format) {
  for (std::size_t k = 0; k < titles.size(); ++k) {
    if (IsWholeNumber(titles[k].number)) {
      titles[k].number = engine::FormatContourNumber(static_cast<std::int32_t>(k), format);
    }
  }
}

bool SetBeginning(ContourSet& contours, std::int32_t element) {
  ContourPoints& points = contours.points;
  if (element < 1 || element > engine::UpperBound(points) || engine::IsSeparator(points[At(element)]))
    return false;
  std::int32_t first = 0;
  engine::GetContourRange(points, element, first);
  if (first == element) return false;
  engine::RotateContour(points, element, true);
  return true;
}

void ShiftContours(ContourSet& contours, double dx, double dy) {
  ContourPoints& points = contours.points;
  for (std::size_t k = 1; k < points.size(); ++k) {
    ContourPoint& p = points[k];
    if (engine::IsSeparator(p)) continue;
    p.x = Saturate(static_cast<double>(p.x) + dx);
    p.y = Saturate(static_cast<double>(p.y) + dy);
  }
}

void ResizeContours(ContourSet& contours, double factor) {
  const double f = static_cast<double>(static_cast<float>(factor));
  ContourPoints& points = contours.points;
  for (std::size_t k = 1; k < points.size(); ++k) {
    ContourPoint& p = points[k];
    if (engine::IsSeparator(p)) continue;
    // A point scaled below 0 would read as a separator.
    p.x = Saturate(f * p.x);
    p.y = Saturate(f * p.y);
  }
}

bool SetContourTitle(ContourSet& contours, std::int32_t index, std::string_view title) {
  if (index < 0 || static_cast<std::size_t>(index) >= contours.titles.size()) return false;
  engine::ContourTitle& t = contours.titles[At(index)];
  t.title = std::string(title);
  t.titled = true;
  return true;
}

std::string TitlePart(std::string_view entry) { return common::StrAfter(entry, "  ", 0, true); }

std::string NumberPart(std::string_view entry) { return common::StrBefore(entry, "  "); }

MapContents CountMapContents(const ContourPoints& points) {
  MapContents counted;
  bool open = false;
  for (std::size_t k = 1; k < points.size(); ++k) {
    if (engine::IsSeparator(points[k])) {
      open = false;
      continue;
    }
    ++counted.points;
    if (!open) ++counted.contours;
    open = true;
  }
  return counted;
}

std::string StatisticsText(std::string_view progress1, std::int32_t points, std::int32_t contours) {
  std::string text = common::StrBefore(progress1, " - ");
  text += " - " + std::to_string(points) + " points";
  if (contours == 1) {
    text += " (1 contour)";
  } else if (contours > 1) {
    text += " (" + std::to_string(contours) + " contours)";
  }
  return text + ".";
}

}  // namespace morvane::app
