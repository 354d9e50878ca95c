// Feeds arbitrary bytes to the map reader as a map file. Reading must not crash or
// hang; and what it reads, written back by the map writer and read again, must give
// the same contours, titles, links and digits. The contours come back in the same
// order, but where areas with links of their own nest: the map lists the inner first,
// and no number tells their order back.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "document/area_text.h"
#include "document/document.h"
#include "platform/core/text_codec.h"
#include "tests/document/fakes.h"

namespace {

using namespace morvane::document;

void Check(bool ok) {
  if (!ok) std::abort();
}

// Every file exists (so any img src names a picture); the maps are held in memory and
// read as the real file system reads them.
class AnyFiles : public testing::FakeFiles {
 public:
  bool FileExists(const std::string&) const override { return true; }
  std::optional<std::string> ReadText(const std::string& path,
                                      std::string* = nullptr) const override {
    auto it = files.find(path);
    if (it == files.end()) return std::string();
    return morvane::core::DecodeText(morvane::core::StripUtf8Bom(it->second));
  }
};

struct Read {
  morvane::engine::ContourPoints points;
  std::int32_t count = 0;
  std::vector<std::string> titles;
  std::vector<std::string> hrefs;
  std::string format;

  // Each contour's points with its title (when asked for) and its link, in no order.
  using Area = std::tuple<std::vector<morvane::engine::ContourPoint>, std::string, std::string>;
  std::vector<Area> Areas(bool withTitles) const {
    std::vector<Area> areas;
    std::vector<morvane::engine::ContourPoint> contour;
    std::size_t k = 0;
    auto close = [&] {
      if (contour.empty()) return;
      areas.emplace_back(contour, withTitles && k < titles.size() ? titles[k] : std::string(),
                         k < hrefs.size() ? hrefs[k] : std::string());
      contour.clear();
      ++k;
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
      if (morvane::engine::IsSeparator(points[i])) {
        close();
      } else {
        contour.push_back(points[i]);
      }
    }
    close();
    std::sort(areas.begin(), areas.end(), [](const Area& a, const Area& b) {
      const auto& [pa, ta, ha] = a;
      const auto& [pb, tb, hb] = b;
      if (pa.size() != pb.size()) return pa.size() < pb.size();
      for (std::size_t i = 0; i < pa.size(); ++i) {
        if (pa[i].x != pb[i].x) return pa[i].x < pb[i].x;
        if (pa[i].y != pb[i].y) return pa[i].y < pb[i].y;
      }
      return std::tie(ta, ha) < std::tie(tb, hb);
    });
    return areas;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  AnyFiles files;
  files.files["/m/first.htm"] = std::string(reinterpret_cast<const char*>(data), size);
  testing::WindowSide side;
  DocumentModel& model = side.model;
  DocumentState& state = model.state;
  testing::FakeImages images;
  testing::FakeDialog dialog;
  Document doc(model, side.view.Roles(), side.runs, files, images, dialog);

  auto read = [&](const std::string& map) {
    model.ResetContours();
    state.MapPath = map;
    state.ImagePath = "/m/picture.gif";
    doc.LoadImageMapFile();
    Read r{model.Points(), model.Count(), {}, {}, model.NumberFormat()};
    for (const morvane::engine::ContourTitle& title : model.Titles()) {
      r.titles.push_back(title.title);
      r.hrefs.push_back(title.href.Text());
    }
    return r;
  };

  const Read first = read("/m/first.htm");
  Check(first.count == static_cast<std::int32_t>(first.titles.size()));
  Check(!first.points.empty() && first.points[0] == morvane::engine::ContourPoint{});

  side.view.centroid = size > 0 && (data[0] & 1) != 0;
  state.MapPath = "/m/second.htm";
  Check(doc.SaveMap());
  const Read second = read("/m/second.htm");

  Check(second.count == first.count);
  // "%3" in a title is a placeholder the writer fills in; other titles come back as read.
  bool placeholders = false;
  for (const std::string& t : first.titles) placeholders |= t.find("%3") != std::string::npos;
  const bool ownLinks =
      std::any_of(first.hrefs.begin(), first.hrefs.end(), [](const std::string& h) { return !h.empty(); });
  if (!ownLinks) {
    Check(second.points == first.points);
    // The digits come from the lowest number written; where the contours that would
    // have the lowest numbers all have links of their own, the map does not tell them.
    if (first.count > 0) Check(second.format == first.format);
    if (!placeholders) Check(second.titles == first.titles);
  }
  Check(second.Areas(!placeholders) == first.Areas(!placeholders));
  return 0;
}
