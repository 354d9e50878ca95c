#pragma once

// The main window's settings: one table of sections and keys drives both the read at
// start-up and the write at exit, so a key cannot be read under one name and written
// under another. The window placement, the band layout and the recent files have
// their own helpers (common/widgets/window_layout.h, common/settings_store.h).

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "engine/contour_engine.h"

namespace morvane::common {
class SettingsSession;
}

namespace morvane::app {

inline constexpr const char* kFormName = "fwMain";

// Design values of the zoom view's colours (OLE colours) and of pbAux's ForeColor.
struct ColorDefaults {
  std::int32_t backColor = 0xFFFFFF;
  std::int32_t gridColor = 0xC0C0C0;
  std::int32_t foreColor = 0x0000FF;
  std::int32_t fillColor = 0x00FF00;
  std::int32_t exclColor = static_cast<std::int32_t>(0x80000012u);
};

struct WindowSettings {
  // The batch report.
  std::string reportPath;
  // Batch: one map per image rather than one report for all.
  bool separateFiles = true;
  // Ask before overwriting a map that this program did not write.
  bool askBeforeOverwrite = false;
  // The digits of contour numbers and centroids.
  std::int32_t digits = 2;
  // The painter program.
  std::string painterPath;
  // The View > Zoom item checked: 0 (1:1) to 3 (8:1).
  std::int32_t zoomIndex = 0;
  // The check marks of View > Points, View > Grid, Settings > Connected and Centroid.
  bool showPoints = true;
  bool showGrid = true;
  bool connected = true;
  bool centroid = true;
  engine::ReductionMethod method = engine::ReductionMethod::DirectionChangeThenLineOfSight;
  // The zoom view's colours (OLE colours).
  std::int32_t backColor = 0, gridColor = 0, foreColor = 0, fillColor = 0, exclColor = 0;
  // Newest first.
  std::vector<std::string> recentFiles;
};

struct SettingKey {
  const char* section = "";  // appended to the form name ("" or "_Color")
  const char* key = nullptr;
  enum class Kind { Text, Flag, Number, Method } kind = Kind::Number;
  // Where the value lives.
  std::string WindowSettings::*text = nullptr;
  bool WindowSettings::*flag = nullptr;
  std::int32_t WindowSettings::*number = nullptr;
  engine::ReductionMethod WindowSettings::*method = nullptr;
  // Numbers and methods are clamped to [low, high] when read; a method is stored as
  // its number.
  std::int32_t low = INT32_MIN, high = INT32_MAX;
};

std::span<const SettingKey> SettingKeys();

// The defaults of a first start: the table's defaults, the colours of the design, and
// the painter found on the PATH.
WindowSettings DefaultSettings(const ColorDefaults& colors, const std::string& painter);

// Every key of the table (defaults where absent) and the recent files.
WindowSettings ReadSettings(const common::SettingsSession& session, const WindowSettings& defaults);
// Every key of the table, then the recent files, set in the session; its Commit writes
// them, leaving unchanged values' bytes alone. False when a value cannot be stored.
bool WriteSettings(common::SettingsSession& session, const WindowSettings& settings);

// The first of kolourpaint, pinta and gimp that find (a PATH search) answers with a
// full path; "" when none.
std::string DefaultPainter(const std::function<std::string(const std::string&)>& find);

// The command line: every argument after the program, joined by one blank, is one
// path (its bytes as they are); a relative one is taken from currentFolder and made
// absolute, so that it names the same file wherever the program looks at it next.
// Only an existing file is taken, as an image or a map by the document's patterns.
struct CommandLinePath {
  enum class Kind { None, Image, Map } kind = Kind::None;
  std::string path;
};
CommandLinePath ParseCommandLine(const std::vector<std::string>& arguments,
                                 const std::function<bool(const std::string&)>& fileExists,
                                 const std::string& currentFolder);

}  // namespace morvane::app
