// Feeds arbitrary bytes to the map reader as a map file. Reading must not crash or
// hang; and what it reads, written back by the map writer and read again, must give
// the same contours, titles and digits.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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
  std::string format;
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
    Read r{model.Points(), model.Count(), {}, model.NumberFormat()};
    for (const morvane::engine::ContourTitle& title : model.Titles()) r.titles.push_back(title.title);
    return r;
  };

  const Read first = read("/m/first.htm");
  Check(first.count == static_cast<std::int32_t>(first.titles.size()));
  Check(!first.points.empty() && first.points[0] == morvane::engine::ContourPoint{});

  side.view.centroid = size > 0 && (data[0] & 1) != 0;
  state.MapPath = "/m/second.htm";
  Check(doc.SaveMap());
  const Read second = read("/m/second.htm");

  Check(second.points == first.points);
  Check(second.count == first.count);
  if (first.count > 0) Check(second.format == first.format);
  // "%3" in a title is a placeholder the writer fills in; other titles come back as read.
  bool placeholders = false;
  for (const std::string& t : first.titles) placeholders |= t.find("%3") != std::string::npos;
  if (!placeholders) Check(second.titles == first.titles);
  return 0;
}
