#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/contour_points.h"

namespace morvane::engine {

// A contour's own link ("kitchen.html"). It is held apart and only once there is
// one: a whole image gives a title to each of its many contours, and none of them a
// link.
class OwnHref {
 public:
  OwnHref() = default;
  explicit OwnHref(std::string text);
  OwnHref(const OwnHref& other);
  OwnHref& operator=(const OwnHref& other);
  OwnHref(OwnHref&&) noexcept = default;
  OwnHref& operator=(OwnHref&&) noexcept = default;
  ~OwnHref() = default;

  // The link, or "" for a contour whose link is "#" and its number.
  const std::string& Text() const;
  bool Empty() const { return text_ == nullptr; }

  friend bool operator==(const OwnHref& a, const OwnHref& b) { return a.Text() == b.Text(); }

 private:
  std::unique_ptr<const std::string> text_;  // null: no link of its own
};

// One entry of the titles list: the contour's number as it is shown and, once the
// contour has one, its title; and the contour's own link when a map gave it one that
// is not its number, which the map keeps writing.
struct ContourTitle {
  ContourTitle() = default;
  ContourTitle(std::string numberText, std::string titleText = {}, bool hasTitle = false,
               std::string ownHref = {})
      : number(std::move(numberText)),
        title(std::move(titleText)),
        titled(hasTitle),
        href(std::move(ownHref)) {}

  std::string number;
  std::string title;
  bool titled = false;
  OwnHref href;  // empty: the link is "#" and the number

  friend bool operator==(const ContourTitle&, const ContourTitle&) = default;
};

// The titles list entry: "#" and the number (or the contour's own link), and, for a
// titled contour, two blanks and the title.
std::string TitleEntry(const ContourTitle& title);

// The title of a new contour: its number formatted, no title yet.
ContourTitle UntitledContour(std::int32_t number, std::string_view format);

// The contours of a document: the point array, the number the next contour gets, and
// the titles. The engine builds one in a buffer of its own; the document model takes
// it when the operation ends.
struct ContourSet {
  // All contours, element 0 unused.
  ContourPoints points = EmptyContourPoints();
  // The number the next new contour gets.
  std::int32_t count = 0;
  std::vector<ContourTitle> titles;

  friend bool operator==(const ContourSet&, const ContourSet&) = default;
};

// Takes out the contours that hold no point (a separator at the start, after another
// one, or at the end) with their titles; the contours kept are numbered 0, 1, ... in
// array order, their titles' numbers formatted anew, and count is the number kept.
void DropEmptyContours(ContourSet& contours, std::string_view format);

// A contour number formatted with a pattern of n "0"s: at least n digits, the sign
// first (-5 with "00" is "-05"); an empty pattern gives the plain number.
std::string FormatContourNumber(std::int32_t number, std::string_view format);

// The titles list entry of an untitled contour: "#" and the number formatted.
std::string UntitledEntry(std::int32_t number, std::string_view format);

}  // namespace morvane::engine
