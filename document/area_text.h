#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/contour_points.h"
#include "engine/contour_set.h"

namespace morvane::document {

// The title of the contour numbered k, as the area text inserts it.
using TitleOf = std::function<std::string(std::int32_t number)>;

// Titles taken from the document's titles, each passed through transform when one is
// given (the map writer escapes them); "" for an untitled contour or one without an
// entry. The titles must outlive the result.
TitleOf TitlesFrom(const std::vector<engine::ContourTitle>& titles,
                   std::function<std::string(std::string_view)> transform = {});

// The area text: one line per contour, joined by CR LF (none after the last). Each
// line is templ with "%1" the contour's number and "%2" its title, then the vertices
// x1,y1,x2,y2,..., then tail; "%3" anywhere in the line (titles included) becomes the
// centroid, the vertex means truncated towards zero, each formatted with
// numberFormat. A contour's number is the x of the separator before it, 0 for the
// first. Separators with no points before them only set the number, so an array that
// begins with one or holds two in a row gives no empty contour; an array without
// points gives "".
std::string FormatOutputText(const engine::ContourPoints& points, std::string_view numberFormat,
                             const TitleOf& titleOf, std::string_view templ, std::string_view tail);

// Splits at CR LF; "" gives no lines.
std::vector<std::string> SplitCrLf(std::string_view text);

}  // namespace morvane::document
