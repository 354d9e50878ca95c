#include "document/area_text.h"

#include <vector>

namespace morvane::document {
namespace {

// Replaces every needle in text from position from on; what is put in is not searched
// again.
void ReplaceAll(std::string& text, std::string_view needle, std::string_view with,
                std::size_t from = 0) {
  for (std::size_t at = text.find(needle, from); at != std::string::npos;
       at = text.find(needle, at + with.size())) {
    text.replace(at, needle.size(), with);
  }
}

}  // namespace

TitleOf TitlesFrom(const std::vector<engine::ContourTitle>& titles,
                   std::function<std::string(std::string_view)> transform) {
  return [&titles, transform](std::int32_t number) {
    if (number < 0 || static_cast<std::size_t>(number) >= titles.size()) return std::string();
    const std::string& title = titles[static_cast<std::size_t>(number)].title;
    return transform ? transform(title) : title;
  };
}

std::string FormatOutputText(const engine::ContourPoints& points, std::string_view numberFormat,
                             const TitleOf& titleOf, std::string_view templ, std::string_view tail) {
  std::string text;
  std::int32_t number = 0;
  std::int64_t vertices = 0, sumX = 0, sumY = 0;
  std::size_t lineStart = 0;  // where the open contour's line begins: "%3" is only there

  auto close = [&] {
    if (vertices == 0) return;
    const auto meanX = static_cast<std::int32_t>(sumX / vertices);
    const auto meanY = static_cast<std::int32_t>(sumY / vertices);
    const std::string centroid = engine::FormatContourNumber(meanX, numberFormat) + "," +
                                 engine::FormatContourNumber(meanY, numberFormat);
    ReplaceAll(text, "%3", centroid, lineStart);
    text += tail;
    vertices = 0;
  };

  const std::int32_t upper = engine::UpperBound(points);
  for (std::int32_t i = 1; i <= upper; ++i) {
    const engine::ContourPoint& p = points[static_cast<std::size_t>(i)];
    if (engine::IsSeparator(p)) {
      number = p.x;
      if (i < upper) close();
      continue;
    }
    if (vertices > 0) {
      text += ',';
      text += std::to_string(p.x);
      text += ',';
      text += std::to_string(p.y);
    } else {
      if (!text.empty()) text += "\r\n";
      lineStart = text.size();
      sumX = sumY = 0;
      std::string line(templ);
      ReplaceAll(line, "%1", engine::FormatContourNumber(number, numberFormat));
      ReplaceAll(line, "%2", titleOf ? titleOf(number) : std::string());
      text += line;
      text += std::to_string(p.x);
      text += ',';
      text += std::to_string(p.y);
    }
    ++vertices;
    sumX += p.x;
    sumY += p.y;
  }
  close();
  return text;
}

std::vector<std::string> SplitCrLf(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", start)) {
    lines.emplace_back(text.substr(start, at - start));
    start = at + 2;
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace morvane::document
