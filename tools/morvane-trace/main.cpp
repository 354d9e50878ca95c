// morvane-trace: the engine from the command line, for tests and benchmarks.
//
//   morvane-trace create IMAGE [--background RRGGBB] [--method 0-3] [--connected]
//   morvane-trace add IMAGE [--background RRGGBB] [--method 0-3] [--connected]
//                 --at X,Y [--at X,Y ...]
//
// Prints one contour per line as x1,y1,x2,y2,... and, on standard error,
// "contours N, points M, T ms" (T: tracing and reduction, without loading).
// Exits 0 on success, 1 when no figure was found, 2 on bad arguments or an
// unreadable image.
#include <QImage>
#include <QString>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/contour_engine.h"

namespace {

using morvane::engine::ContourPoint;
using morvane::engine::ContourPoints;

constexpr int kFound = 0;
constexpr int kNoFigure = 1;
constexpr int kBadInput = 2;

// The window the engine reports to: nobody watches here.
class QuietWindow : public morvane::engine::EngineHost,
                    public morvane::engine::RunControl,
                    public morvane::engine::TitlesList {
 public:
  void ShowElapsedTime() override {}
  void SetProgress(int, int) override {}
  void HideProgress(int) override {}
  bool StopRequested() const override { return false; }

  void Clear() override { titles_.clear(); }
  void AddItem(const std::string& text) override { titles_.push_back(text); }
  void RemoveItem(std::int32_t index) override {
    if (index >= 0 && index < ListCount()) titles_.erase(titles_.begin() + index);
  }
  std::int32_t ListCount() const override { return static_cast<std::int32_t>(titles_.size()); }
  std::string List(std::int32_t index) const override {
    return index >= 0 && index < ListCount() ? titles_[static_cast<std::size_t>(index)] : std::string();
  }
  void SetListIndex(std::int32_t) override {}
  void SetTitlesText(const std::string&) override {}
  void EnableTitlesText(bool) override {}

  void SetProgress2Text(std::string_view) override {}
  std::string OutputNumberFormat() const override { return "0"; }
  bool BatchRunning() const override { return false; }
  void StartRunClock() override {}
  void EnableUiDuringRun(bool) override {}
  void SetBusyPointer(int) override {}
  void SetWindowEnabled(bool) override {}
  void EnableAddCommand(bool) override {}
  void LoadImageFile(bool) override {}
  void ShowImage() override {}
  void RedrawContours() override {}
  void FillContourTree(std::int32_t) override {}
  void MarkChanged() override {}
  void ResetAfterRun() override {}
  void LocateCursor(double, double) override {}
  void SetTitlesSelectionFlag(bool) override {}

 private:
  std::vector<std::string> titles_;
};

struct Options {
  bool create = true;
  std::string image;
  std::int32_t background = 0xFFFFFF;  // OLE colour
  float method = 3;
  bool connected = false;
  std::vector<ContourPoint> clicks;
};

const char* const kUsage =
    "usage: morvane-trace create IMAGE [--background RRGGBB] [--method 0-3] [--connected]\n"
    "       morvane-trace add IMAGE [--background RRGGBB] [--method 0-3] [--connected]"
    " --at X,Y [--at X,Y ...]\n";

template <typename T>
bool ParseNumber(std::string_view text, T& value, int base = 10) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  return ec == std::errc() && ptr == end && !text.empty();
}

// The error message, or nothing when the arguments are good.
std::optional<std::string> ParseArguments(int argc, char** argv, Options& options) {
  if (argc < 2) {
    return "missing command";
  }
  const std::string_view command = argv[1];
  if (command != "create" && command != "add") {
    return "unknown command '" + std::string(command) + "'";
  }
  options.create = command == "create";
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const auto value = [&](std::string_view& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string_view text;
    if (arg == "--connected") {
      options.connected = true;
    } else if (arg == "--background") {
      std::uint32_t rgb = 0;
      if (!value(text) || text.size() != 6 || !ParseNumber(text, rgb, 16)) {
        return "--background needs a colour as RRGGBB";
      }
      options.background = static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
    } else if (arg == "--method") {
      int method = -1;
      if (!value(text) || !ParseNumber(text, method) || method < 0 || method > 3) {
        return "--method needs a number from 0 to 3";
      }
      options.method = static_cast<float>(method);
    } else if (arg == "--at") {
      const std::size_t comma = value(text) ? text.find(',') : std::string_view::npos;
      ContourPoint click;
      if (comma == std::string_view::npos || !ParseNumber(text.substr(0, comma), click.x) ||
          !ParseNumber(text.substr(comma + 1), click.y)) {
        return "--at needs a pixel as X,Y";
      }
      options.clicks.push_back(click);
    } else if (arg.starts_with("--")) {
      return "unknown option '" + std::string(arg) + "'";
    } else if (options.image.empty()) {
      options.image = arg;
    } else {
      return "more than one image given";
    }
  }
  if (options.image.empty()) {
    return "missing image";
  }
  if (options.create && !options.clicks.empty()) {
    return "--at belongs to the add command";
  }
  if (!options.create && options.clicks.empty()) {
    return "add needs at least one --at X,Y";
  }
  return std::nullopt;
}

// The picture as 0xffRRGGBB, transparent pixels laid over white.
std::optional<morvane::core::RgbImage> LoadImage(const std::string& path, std::string& error) {
  QImage loaded(QString::fromStdString(path));
  if (loaded.isNull()) {
    error = "cannot read image '" + path + "'";
    return std::nullopt;
  }
  const bool alpha = loaded.hasAlphaChannel();
  loaded = loaded.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  morvane::core::RgbImage image(loaded.width(), loaded.height());
  for (int y = 0; y < loaded.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(loaded.constScanLine(y));
    std::uint32_t* out = &image.at(0, y);
    for (int x = 0; x < loaded.width(); ++x) {
      std::uint32_t c = row[x];
      if (alpha) {
        const std::uint32_t a = c >> 24;
        const auto blend = [a](std::uint32_t v) { return (v * a + 255 * (255 - a) + 127) / 255; };
        c = (blend((c >> 16) & 0xFF) << 16) | (blend((c >> 8) & 0xFF) << 8) | blend(c & 0xFF);
      }
      out[x] = 0xFF000000u | c;
    }
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const auto error = ParseArguments(argc, argv, options)) {
    std::cerr << "morvane-trace: " << *error << "\n" << kUsage;
    return kBadInput;
  }
  std::string error;
  std::optional<morvane::core::RgbImage> image = LoadImage(options.image, error);
  if (!image) {
    std::cerr << "morvane-trace: " << error << "\n";
    return kBadInput;
  }

  morvane::engine::ContourState state;
  QuietWindow window;
  morvane::engine::ContourEngine engine(state, window, window, window);
  engine.SetImage(&*image);
  engine.SetBackColor(options.background);
  engine.ApproxMethod = options.method;
  engine.Connected = options.connected;

  const auto started = std::chrono::steady_clock::now();
  if (options.create) {
    engine.mFileCreate_Click();
  } else {
    engine.PrepareMask();
    for (const ContourPoint& click : options.clicks) {
      engine.AddContourAtPoint(click.x * morvane::engine::kTwipsPerPixel,
                               click.y * morvane::engine::kTwipsPerPixel);
    }
  }
  const auto elapsed = std::chrono::steady_clock::now() - started;

  std::string out;
  std::int64_t contours = 0, points = 0;
  bool lineOpen = false;
  for (std::size_t k = 1; k < state.ContourPoints.size(); ++k) {
    const ContourPoint& p = state.ContourPoints[k];
    if (morvane::engine::IsSeparator(p)) {
      if (lineOpen) out += '\n';
      lineOpen = false;
      continue;
    }
    if (!lineOpen) {
      ++contours;
      lineOpen = true;
    } else {
      out += ',';
    }
    ++points;
    out += std::to_string(p.x) + ',' + std::to_string(p.y);
  }
  if (lineOpen) out += '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  std::cerr << "contours " << contours << ", points " << points << ", " << ms << " ms\n";
  return contours > 0 ? kFound : kNoFigure;
}
