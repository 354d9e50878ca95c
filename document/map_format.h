#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/contour_points.h"

namespace morvane::document {

// ---- Character references -------------------------------------------------------

// The text as plain ASCII for an HTML attribute: "&", "<", ">", "'", '"', control
// characters and everything outside ASCII become numeric character references, so
// the page reads the same whatever charset a browser guesses. Bytes that are not
// valid UTF-8 count as U+FFFD.
std::string EscapeHtml(std::string_view utf8);

// Decodes numeric references (&#65; &#x41;) and &amp; &lt; &gt; &quot; &apos;; other
// text, unknown names and references without their ";" stay as they are. A reference
// to no valid character (0, a surrogate, beyond U+10FFFF) gives U+FFFD, and so does a
// NUL in the text.
std::string DecodeHtml(std::string_view text);

// ---- Tags -----------------------------------------------------------------------

// One tag of a page. Its attributes are read from the text when asked for, so a page
// costs no memory per attribute: the text must outlive the tag.
class HtmlTag {
 public:
  std::string name;                // lower case; "/map" for a closing tag
  std::size_t begin = 0, end = 0;  // the tag's bytes in the text, end past its ">"

  // The value of the first attribute of that (lower-case) name, references decoded;
  // "" for an attribute without a value, nullopt when the tag has none of that name.
  std::optional<std::string> Attribute(std::string_view lowerName) const;

 private:
  friend class TagReader;
  std::string_view text_;
  std::size_t attributes_ = 0;  // where the attributes begin
};

// The tags of a text in order, as a browser reads them: values in either quote or
// none, names without regard to case, comments and text skipped; a tag that never
// ends is no tag.
class TagReader {
 public:
  explicit TagReader(std::string_view text) : text_(text) {}
  // The next tag into tag; false when there is none.
  bool Next(HtmlTag& tag);

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// ---- The map file ---------------------------------------------------------------

inline constexpr std::string_view kMapFooter = "</map></body></html>";
// Earlier versions ended their maps with an opening html tag; such files still count
// as this program's own.
inline constexpr std::string_view kOldMapFooter = "</map></body><html>";

inline constexpr std::string_view kAreaTemplate = "<area href='#%1' alt='%2' shape='polygon' coords='";
inline constexpr std::string_view kCentroidAreaTemplate =
    "<area href='#%1' alt='%2' centroid='%3' shape='polygon' coords='";
inline constexpr std::string_view kAreaTail = "'>";

// Line 1 of a map: the img tag and the opening map tag. src and name are escaped here.
std::string MapHeaderLine(std::string_view src, std::string_view name);
// Line 1 as earlier versions wrote it, src and name as they stand.
std::string OldMapHeaderLine(std::string_view src, std::string_view name);

// Whether an existing map may be overwritten without asking: its text, less trailing
// CR LF pairs, is empty, or begins with the header line and CR LF and ends with CR LF
// and either footer, letter case aside.
bool IsOwnMap(std::string_view existing, std::string_view headerLine);

// What the reader takes from a map file.
struct MapArea {
  std::string href;  // as written, "#" included
  std::string alt;
  std::vector<engine::ContourPoint> points;
};

struct MapContent {
  bool hasImage = false;                 // an img tag (the one asked for) was found
  std::string usemap;                    // its usemap value
  std::string src;                       // its src value
  bool hasMapBlock = false;              // the map that usemap names was found and holds areas
  std::optional<std::string> firstHref;  // the first href of the block's areas
  // The first href of the block's areas that is a contour's number (see HrefNumber).
  std::optional<std::string> firstNumberHref;
  std::vector<MapArea> polygons;         // the polygon areas with usable coords
};

// Reads a map's text (UTF-8). With requiredSrc, only an img tag whose src is exactly
// that counts. The map is the first map tag whose name is the usemap value without its
// "#" (letter case aside); its areas run to the first "</map>" after it. An area is a
// contour when its shape is "polygon" (any case) and its coords are an even number of
// whole numbers from 0 to 2147483647; other areas are skipped.
MapContent ReadMapText(std::string_view text, const std::optional<std::string>& requiredSrc = {});

// The contour number of an href that is exactly "#" and one to nine digits, as this
// program writes them; nothing for any other link, which is the area's own.
std::optional<std::int32_t> HrefNumber(std::string_view href);

// Parses coords; nullopt when they do not make a contour (see ReadMapText).
std::optional<std::vector<engine::ContourPoint>> ParseCoords(std::string_view coords);

}  // namespace morvane::document
