#pragma once
// Test pictures are raw strings drawn one picture row per line, which the formatter leaves
// as they are:
//   R"(
//   ..##..
//   .####.
//   )"
// The line break after R"( and the one before )" only frame the picture.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::testing {

// The rows of a picture. Rows of different widths throw: a mistyped row would otherwise
// read beyond its end or shift the pixels after it.
inline std::vector<std::string> PictureRows(std::string_view picture) {
  if (picture.starts_with('\n')) picture.remove_prefix(1);
  if (picture.ends_with('\n')) picture.remove_suffix(1);
  std::vector<std::string> rows;
  if (picture.empty()) return rows;
  for (;;) {
    const std::size_t end = picture.find('\n');
    rows.emplace_back(picture.substr(0, end));
    if (rows.back().size() != rows.front().size()) {
      throw std::invalid_argument("picture row " + std::to_string(rows.size()) + " is " +
                                  std::to_string(rows.back().size()) + " wide, the first " +
                                  std::to_string(rows.front().size()));
    }
    if (end == std::string_view::npos) break;
    picture.remove_prefix(end + 1);
  }
  return rows;
}

}  // namespace morvane::testing
