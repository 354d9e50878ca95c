// morvane-trace: the engine from the command line, for tests and benchmarks.
//
//   morvane-trace create IMAGE [--background RRGGBB] [--method 0-3] [--connected]
//                 [--output MAP [--digits N] [--centroid]]
//   morvane-trace add IMAGE [--background RRGGBB] [--method 0-3] [--connected]
//                 --at X,Y [--at X,Y ...] [--output MAP [--digits N] [--centroid]]
//   morvane-trace read MAP
//   morvane-trace batch (--separate | --report FILE) [--stop-on-error]
//                 [--background RRGGBB] [--method 0-3] [--connected]
//                 [--digits N] [--centroid] IMAGE...
//
// create and add print one contour per line as x1,y1,x2,y2,... and, on standard
// error, "contours N, points M, T ms" (T: tracing and reduction, without loading);
// with --output they also write the HTML image map (N digits, 2 unless given). read
// prints a map's contours the same way, then its titles list, and "contours N,
// points M" on standard error. batch traces each image into a map beside it or into
// one report, and says "N images processed." on standard error.
// --help (or -h) prints what each option does, the 16-colour rule and the exit codes.
// Exits 0 on success, 1 when no figure was found (batch: when an image was missing or
// unreadable, or a changed map was not overwritten), 2 on bad arguments or an
// unreadable image, 3 when a map or report could not be written.
#include <QGuiApplication>
#include <QString>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/area_text.h"
#include "document/document.h"
#include "document/local_file_system.h"
#include "engine/contour_engine.h"
#include "platform/core/file_system.h"
#include "platform/gui/image_loader.h"
#include "tools/morvane-trace/trace_window.h"

namespace {

using morvane::engine::ContourPoint;
using morvane::engine::ContourPoints;

constexpr int kFound = 0;
constexpr int kNoFigure = 1;
constexpr int kBadInput = 2;

using morvane::trace::QuietWindow;

constexpr int kNotWritten = 3;

struct Options {
  enum class Command { Create, Add, Read, Batch } command = Command::Create;
  bool create = true;
  std::string image;                // create, add; the map for read
  std::vector<std::string> images;  // batch
  std::string output;
  int digits = 2;
  bool centroid = false;
  bool separate = false;
  std::string report;
  bool askBeforeOverwrite = false;     // --stop-on-error
  std::int32_t background = 0xFFFFFF;  // OLE colour
  morvane::engine::ReductionMethod method =
      morvane::engine::ReductionMethod::DirectionChangeThenLineOfSight;
  bool connected = false;
  std::vector<ContourPoint> clicks;
};

const char* const kUsage =
    "usage: morvane-trace create IMAGE [--background RRGGBB] [--method 0-3] [--connected]\n"
    "       morvane-trace add IMAGE [--background RRGGBB] [--method 0-3] [--connected]"
    " --at X,Y [--at X,Y ...]\n"
    "       (create and add: [--output MAP [--digits 1-6] [--centroid]])\n"
    "       morvane-trace read MAP\n"
    "       morvane-trace batch (--separate | --report FILE) [--stop-on-error]"
    " [--background RRGGBB] [--method 0-3] [--connected] [--digits 1-6] [--centroid] IMAGE...\n";

// What --help adds to the usage: each option and the exit codes.
const char* const kHelp =
    "\n"
    "create traces every figure of the image; add traces the figure under each pixel given;\n"
    "read prints a map's contours and titles; batch traces many images into maps or a report.\n"
    "\n"
    "options:\n"
    "  --background RRGGBB  the background colour, also as #RRGGBB (default FFFFFF, white)\n"
    "  --method 0-3         how corners are kept: 0 line fit, 1 direction change, 2 line of sight,\n"
    "                       3 direction change then line of sight (default 3)\n"
    "  --connected          join the figures into one contour\n"
    "  --at X,Y             (add) a pixel of the figure to trace, from 0,0 at the top left\n"
    "  --output MAP         (create, add) also write the HTML image map to MAP\n"
    "  --digits N           digits of each number in the map, 1 to 6 (default 2)\n"
    "  --centroid           write each area's centre point too\n"
    "  --separate           (batch) write a map beside each image\n"
    "  --report FILE        (batch) write all contours into one text report\n"
    "  --stop-on-error      (batch) ask before overwriting a map this program did not write (answered "
    "No)\n"
    "  -h, --help           show this text\n"
    "\n"
    "Colours are compared after the 16-colour rule: each pixel, and the background colour, is\n"
    "taken to the nearest of the 16 standard VGA colours; a pixel whose nearest colour is the\n"
    "background's counts as background. Light tints of white, for example, are all background.\n"
    "\n"
    "exit codes:\n"
    "  0  figures found (batch: every image processed and written)\n"
    "  1  no figure found (batch: an image missing or unreadable, or a map not overwritten)\n"
    "  2  bad arguments or an unreadable image\n"
    "  3  a map or report could not be written\n";

bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

// The OLE colour as RRGGBB.
std::string RgbText(std::int32_t ole) {
  const auto value = static_cast<std::uint32_t>(ole);
  char text[7];
  std::snprintf(text, sizeof text, "%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF,
                (value >> 16) & 0xFF);
  return text;
}

// Why a path names no image file, or nothing when it is a regular file (or is missing:
// the caller has its own words for that).
std::optional<std::string> NotAnImageFile(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (std::filesystem::is_directory(status)) return "'" + path + "' is a folder, not an image";
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return "'" + path + "' is not a regular file";
  }
  return std::nullopt;
}

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
  using Command = Options::Command;
  if (command == "create") {
    options.command = Command::Create;
  } else if (command == "add") {
    options.command = Command::Add;
  } else if (command == "read") {
    options.command = Command::Read;
  } else if (command == "batch") {
    options.command = Command::Batch;
  } else {
    return "unknown command '" + std::string(command) + "'";
  }
  options.create = command == "create";
  const bool tracing = options.command != Command::Read;
  const bool writing = tracing;
  bool digitsGiven = false, centroidGiven = false;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const auto value = [&](std::string_view& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string_view text;
    if (!tracing && arg.starts_with("--")) {
      return "read takes no option '" + std::string(arg) + "'";
    }
    if (writing && arg == "--output" && options.command != Command::Batch) {
      if (!value(text) || text.empty()) return "--output needs a map file";
      options.output = text;
    } else if (writing && arg == "--digits") {
      if (!value(text) || !ParseNumber(text, options.digits) || options.digits < 1 ||
          options.digits > 6) {
        return "--digits needs a number from 1 to 6";
      }
      digitsGiven = true;
    } else if (writing && arg == "--centroid") {
      options.centroid = true;
      centroidGiven = true;
    } else if (options.command == Command::Batch && arg == "--separate") {
      options.separate = true;
    } else if (options.command == Command::Batch && arg == "--report") {
      if (!value(text) || text.empty()) return "--report needs a file";
      options.report = text;
    } else if (options.command == Command::Batch && arg == "--stop-on-error") {
      options.askBeforeOverwrite = true;
    } else if (arg == "--connected") {
      options.connected = true;
    } else if (arg == "--background") {
      std::uint32_t rgb = 0;
      if (value(text) && text.size() == 7 && text.front() == '#') text.remove_prefix(1);
      if (text.size() != 6 || !ParseNumber(text, rgb, 16)) {
        return "--background needs a colour as RRGGBB or #RRGGBB";
      }
      options.background =
          static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
    } else if (arg == "--method") {
      int method = -1;
      if (!value(text) || !ParseNumber(text, method) || method < 0 || method > 3) {
        return "--method needs a number from 0 to 3";
      }
      options.method = static_cast<morvane::engine::ReductionMethod>(method);
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
    } else if (options.command == Command::Batch) {
      options.images.emplace_back(arg);
    } else if (options.image.empty()) {
      options.image = arg;
    } else {
      return options.command == Command::Read ? "more than one map given" : "more than one image given";
    }
  }
  if (options.command == Command::Read) {
    if (options.image.empty()) return "missing map";
    return std::nullopt;
  }
  if (options.command == Command::Batch) {
    if (options.images.empty()) return "missing image";
    if (options.separate == !options.report.empty())
      return "batch needs either --separate or --report FILE";
    return std::nullopt;
  }
  if (options.image.empty()) {
    return "missing image";
  }
  if (options.output.empty() && (digitsGiven || centroidGiven)) {
    return "--digits and --centroid belong to --output";
  }
  if (options.create && !options.clicks.empty()) {
    return "--at belongs to the add command";
  }
  if (!options.create && options.clicks.empty()) {
    return "add needs at least one --at X,Y";
  }
  return std::nullopt;
}

// The document keeps an image by its full path: the map names it so, and then finds
// it from wherever the map lies.
std::string FullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

// The picture through the program's loader: 0xffRRGGBB, transparency over white.
std::optional<morvane::core::RgbImage> LoadImage(const std::string& path, std::string& error) {
  morvane::core::RgbImage image;
  const morvane::gui::PictureLoad load = morvane::gui::LoadRgbPicture(path, image);
  if (image.empty()) {
    error = "cannot read image '" + path + "': " + load.reason.toStdString();
    return std::nullopt;
  }
  return image;
}

// The pictures of the program, for the document.
class Pictures : public morvane::document::ImageSource {
 public:
  bool LoadPicture(const std::string& path, morvane::core::RgbImage& image,
                   std::string& message) override {
    std::optional<morvane::core::RgbImage> loaded = LoadImage(path, message);
    if (!loaded) return false;
    image = std::move(*loaded);
    return true;
  }
};

// The batch's file dialog, answered by the command line.
class ChosenFiles : public morvane::document::DialogControl {
 public:
  explicit ChosenFiles(std::vector<std::string> files) : files_(std::move(files)) {}
  std::int32_t FileCount() const override { return static_cast<std::int32_t>(files_.size()); }
  std::string FileAt(std::int32_t i) const override {
    return i >= 0 && i < FileCount() ? files_[static_cast<std::size_t>(i)] : std::string();
  }
  std::int32_t ShowOpenDialog() override { return 1; }
  std::int32_t ShowSaveDialog() override { return 0; }

 private:
  std::vector<std::string> files_;
};

// The document and the engine around one quiet window, as the program's window holds
// them.
struct DocumentSide {
  explicit DocumentSide(const Options& options, std::vector<std::string> files = {})
      : engine(window, window, window, window),
        runs(model, engine, window.Roles()),
        dialog(std::move(files)),
        document(model, window.Roles(), runs, disk, pictures, dialog) {
    engine.SetImage(&window.picture);
    engine.LetBackColor(options.background);
    engine.ApproxMethod = options.method;
    engine.Connected = options.connected;
  }
  QuietWindow window;
  morvane::document::DocumentModel model;
  morvane::engine::ContourEngine engine;
  morvane::document::RunSequence runs;
  morvane::document::LocalFileSystem disk;
  Pictures pictures;
  ChosenFiles dialog;
  morvane::document::Document document;
};

// Prints contours one per line as x1,y1,x2,y2,...
void PrintContours(const morvane::engine::ContourPoints& points, std::int64_t& contours,
                   std::int64_t& count) {
  std::string out;
  contours = 0;
  count = 0;
  bool lineOpen = false;
  for (std::size_t k = 1; k < points.size(); ++k) {
    const ContourPoint& p = points[k];
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
    ++count;
    out += std::to_string(p.x) + ',' + std::to_string(p.y);
    // Written in pieces: the text of a large image's contours would rival its picture.
    if (out.size() >= 1 << 16) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  if (lineOpen) out += '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
}

int ReadMap(const Options& options) {
  DocumentSide side(options);
  morvane::document::DocumentState& state = side.model.state;
  state.MapPath = options.image;
  if (!side.disk.FileExists(options.image)) {
    std::cerr << "morvane-trace: cannot read map '" << options.image << "'\n";
    return kBadInput;
  }
  side.document.LoadImageMapFile();
  // The reader says nothing when it stops (but for a file it could not read, which it
  // has told); here the user is told why nothing came.
  const bool told = side.window.errors > 0;
  if (!told && state.ImageSrc.empty()) {
    std::cerr << "morvane-trace: '" << options.image << "' holds no image map\n";
  } else if (!told && !side.disk.FileExists(state.ImagePath)) {
    std::cerr << "morvane-trace: the map's image '" << state.ImagePath << "' does not exist\n";
  }
  // The Copy command's text, with LF line ends, then the titles list.
  const std::string text = side.document.FormatOutputText("", "");
  std::string out;
  out.reserve(text.size() + 1);
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text.compare(at, 2, "\r\n") != 0) out += text[at];
  }
  if (!out.empty()) out += '\n';
  for (const std::string& entry : side.model.TitleEntries()) out += entry + '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::int64_t points = 0;
  const ContourPoints& read = side.model.Points();
  for (std::size_t k = 1; k < read.size(); ++k) {
    points += morvane::engine::IsSeparator(read[k]) ? 0 : 1;
  }
  const std::size_t titles = side.model.Titles().size();
  std::cerr << "contours " << titles << ", points " << points << "\n";
  return titles > 0 ? kFound : kNoFigure;
}

int Batch(const Options& options) {
  std::vector<std::string> images;
  for (const std::string& image : options.images) {
    images.push_back(FullPath(image));
    // The batch passes over a missing file without a word; here the user is told.
    if (const auto why = NotAnImageFile(images.back())) {
      std::cerr << "morvane-trace: " << *why << ": skipped\n";
    } else if (!morvane::core::IsFile(images.back())) {
      std::cerr << "morvane-trace: no image '" << image << "': skipped\n";
    }
  }
  DocumentSide side(options, std::move(images));
  side.window.centroid = options.centroid;
  side.model.LetDigits(options.digits);
  morvane::document::DocumentState& state = side.model.state;
  state.SeparateFiles = options.separate;
  state.TextOutputPath = options.report;
  state.AskBeforeOverwrite = options.askBeforeOverwrite;
  const morvane::document::Document::BatchResult result = side.document.RunBatch();
  std::cerr << side.window.progress1 << "\n";
  if (options.separate) std::cerr << result.mapsWritten << " maps written.\n";
  if (result.reportFailed || result.mapsFailed > 0) return kNotWritten;
  const bool all = result.processed == static_cast<int>(options.images.size());
  return all && side.window.errors == 0 && side.window.declined == 0 ? kFound : kNoFigure;
}

// Writes the traced contours as the map of the image.
bool WriteMap(const Options& options, DocumentSide& side) {
  side.model.state.ImagePath = FullPath(options.image);
  side.model.state.MapPath = options.output;
  return side.document.SaveMap();
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksForHelp(argc, argv)) {
    std::cout << kUsage << kHelp;
    return kFound;
  }
  Options options;
  if (const auto error = ParseArguments(argc, argv, options)) {
    std::cerr << "morvane-trace: " << *error << "\n" << kUsage;
    return kBadInput;
  }
  // Metafiles are drawn with Qt, which wants its application object; no window opens,
  // and Qt's own notes stay off standard error, which carries this tool's summary.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
  });
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  if (options.command == Options::Command::Read) return ReadMap(options);
  if (options.command == Options::Command::Batch) return Batch(options);
  std::string error;
  std::optional<morvane::core::RgbImage> image = LoadImage(options.image, error);
  if (!image) {
    std::cerr << "morvane-trace: " << error << "\n";
    return kBadInput;
  }

  DocumentSide side(options);
  side.window.picture = std::move(*image);
  // Contour numbers get the map's digits; without a map they are plain.
  side.model.LetDigits(options.output.empty() ? 1 : options.digits);
  side.window.centroid = options.centroid;
  // A pixel outside the picture names no figure, and its position in twips would not
  // fit the engine's numbers.
  for (const ContourPoint& click : options.clicks) {
    const morvane::core::RgbImage& picture = side.window.picture;
    if (click.x < 0 || click.y < 0 || click.x >= picture.width || click.y >= picture.height) {
      std::cerr << "morvane-trace: --at " << click.x << ',' << click.y
                << " lies outside the image, which is " << picture.width << " x " << picture.height
                << " pixels\n";
      return kBadInput;
    }
  }

  const auto started = std::chrono::steady_clock::now();
  if (options.create) {
    side.runs.CreateWholeImageContours();
  } else {
    side.engine.PrepareMask();
    for (const ContourPoint& click : options.clicks) {
      side.runs.AddContourAtPoint(click.x * morvane::engine::kTwipsPerPixel,
                                  click.y * morvane::engine::kTwipsPerPixel);
    }
  }
  const auto elapsed = std::chrono::steady_clock::now() - started;

  std::int64_t contours = 0, points = 0;
  PrintContours(side.model.Points(), contours, points);
  if (!options.output.empty() && !WriteMap(options, side)) {
    std::cerr << "contours " << contours << ", points " << points << "\n";
    return kNotWritten;
  }
  if (contours == 0) {
    std::cerr << "morvane-trace: nothing found: "
              << (options.create ? "every pixel" : "each pixel given") << " counts as background "
              << RgbText(options.background) << " under the 16-colour rule (see --help)\n";
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  std::cerr << "contours " << contours << ", points " << points << ", " << ms << " ms\n";
  return contours > 0 ? kFound : kNoFigure;
}
