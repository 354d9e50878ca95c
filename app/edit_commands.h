#pragma once

// The Edit commands' work on a copy of the document's contours, without widgets: the
// window hands the result to the document model, which tells the views. Positions are
// elements of the point array; the tree shows element i as node i + 2 (node 1 is the
// empty root, node 2 the first contour's heading).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/contour_set.h"

namespace morvane::app {

inline constexpr std::int32_t kRootNode = 1;
inline constexpr std::int32_t kFirstHeadingNode = 2;
constexpr std::int32_t NodeOfElement(std::int32_t element) { return element + 2; }
constexpr std::int32_t ElementOfNode(std::int32_t node) { return node - 2; }

inline constexpr const char* kInvalidValue = "Invalid value.";
inline constexpr const char* kUseDeleteContour = "Use function \"Delete Contour\".";

// The text of a point node ("12,34") or of a separator's heading ("#01").
std::string ElementText(const engine::ContourPoint& p, std::string_view format);
// The first contour's heading: the number 0 in the digits pattern ("#00").
std::string FirstHeadingText(std::string_view format);

// The number at the start of a text as the old platform's Val read it: blanks skipped,
// an optional sign, digits with one decimal point, an optional exponent; 0 when none.
double ValOf(std::string_view text);

// A number written as the old platform's CStr did for the values that matter here:
// whole numbers plainly, others with their shortest exact digits.
std::string NumberText(double value);

// A coordinate entry typed into the tree: accepted only when it equals its canonical
// form (the absolute values of the numbers before and after the first ",", each
// written plainly) and both numbers fit 32 bits once rounded; the point it names, or
// nothing ("Invalid value.").
std::optional<engine::ContourPoint> ParseLabelEntry(std::string_view text);
// The new-point box's text, normalised to its canonical form; nothing for a blank
// text or numbers outside 32 bits.
std::optional<engine::ContourPoint> ParseNewPoint(std::string_view text);

// The point an edit acts on for a selected element: a point is itself; a separator
// (a heading) or element 0 (the first heading) gives the first point of the contour
// under that heading. 0 when there is no such point.
std::int32_t PointElementOf(const engine::ContourPoints& points, std::int32_t element);

// The first point of the contour under the heading shown by a separator element (or
// element 0): a heading click lands there.
std::int32_t FirstPointUnder(const engine::ContourPoints& points, std::int32_t element);

struct EditOutcome {
  bool done = false;
  std::string message;        // for panel "Progress2"
  std::int32_t selected = 0;  // the element to select afterwards
};

// Removes the point at element (snapped to a point first). A contour of 3 points or
// fewer is refused with "Use function "Delete Contour".".
EditOutcome DeletePoint(engine::ContourSet& contours, std::int32_t element);
// Puts p at a point element; false when it was there already or element is no point.
bool ChangePoint(engine::ContourSet& contours, std::int32_t element, engine::ContourPoint p);
// Inserts p after element (snapped to a point first); answers the new element, 0 when
// there is no point to insert after.
std::int32_t InsertPointAfter(engine::ContourSet& contours, std::int32_t element,
                              engine::ContourPoint p);
// Removes the contour that holds element (snapped) with its separator and its title;
// the contours are renumbered and the titles keep their contours. Answers false when
// there is no contour.
bool DeleteContour(engine::ContourSet& contours, std::int32_t element, std::string_view format);
// Reverses the array: the vertex order of every contour and the contours' order; the
// titles are reversed with their contours and all are renumbered.
void ReverseContours(engine::ContourSet& contours, std::string_view format);
// Rewrites the number part of each title to its place in the list (titles whose
// number is no number, as a map may give, keep it).
void RenumberTitles(std::vector<engine::ContourTitle>& titles, std::string_view format);
// Makes the point at element its contour's first point; false for no point.
bool SetBeginning(engine::ContourSet& contours, std::int32_t element);
// Moves every point by (dx, dy), held at 0 below and at the 32-bit limit above.
void ShiftContours(engine::ContourSet& contours, double dx, double dy);
// Scales every point by factor (stored single precision), rounded halves to even and
// held within 32 bits.
void ResizeContours(engine::ContourSet& contours, double factor);
// Gives the title at index its title text (blank text: the contour is untitled);
// false for no such title.
bool SetContourTitle(engine::ContourSet& contours, std::int32_t index, std::string_view title);
// The title part of a titles-list entry: the text after its first two blanks.
std::string TitlePart(std::string_view entry);
// The number part: the text before its first two blanks (the whole text without).
std::string NumberPart(std::string_view entry);

// What the map of the points will hold: its points (separators are none) and its
// areas, one for each contour with a point.
struct MapContents {
  std::int32_t points = 0;
  std::int32_t contours = 0;
  friend bool operator==(const MapContents&, const MapContents&) = default;
};
MapContents CountMapContents(const engine::ContourPoints& points);

// The statistics of panel "Progress1": its image part (the text before " - "), then the
// number of points and of contours ("640x480 - 57 points (3 contours).").
std::string StatisticsText(std::string_view progress1, std::int32_t points, std::int32_t contours);

}  // namespace morvane::app
