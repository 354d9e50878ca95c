#include "app/settings_io.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "common/settings_store.h"
#include "document/document.h"

namespace morvane::app {

namespace {

using Kind = SettingKey::Kind;
using S = WindowSettings;

// In the order the exit writes them.
const SettingKey kKeys[] = {
    {.key = "ZoomScale", .kind = Kind::Number, .number = &S::zoomIndex, .low = 0, .high = 3},
    {.key = "sbDigits", .kind = Kind::Number, .number = &S::digits, .low = 1, .high = 6},
    {.key = "mViewGrid", .kind = Kind::Flag, .flag = &S::showGrid},
    {.key = "mViewPoints", .kind = Kind::Flag, .flag = &S::showPoints},
    {.key = "mSettingsConnected", .kind = Kind::Flag, .flag = &S::connected},
    {.key = "mSettingsCentroid", .kind = Kind::Flag, .flag = &S::centroid},
    {.key = "mSettingsMethod", .kind = Kind::Method, .method = &S::method, .low = 0, .high = 3},
    {.key = "Output1", .kind = Kind::Flag, .flag = &S::separateFiles},
    {.key = "Output2", .kind = Kind::Flag, .flag = &S::askBeforeOverwrite},
    {.key = "TXTFile", .kind = Kind::Text, .text = &S::reportPath},
    {.key = "Painter", .kind = Kind::Text, .text = &S::painterPath},
    {.section = "_Color", .key = "BackColor", .kind = Kind::Number, .number = &S::backColor},
    {.section = "_Color", .key = "GridColor", .kind = Kind::Number, .number = &S::gridColor},
    {.section = "_Color", .key = "ForeColor", .kind = Kind::Number, .number = &S::foreColor},
    {.section = "_Color", .key = "FillColor", .kind = Kind::Number, .number = &S::fillColor},
    {.section = "_Color", .key = "ExclColor", .kind = Kind::Number, .number = &S::exclColor},
};

std::string Section(const SettingKey& key) { return std::string(kFormName) + key.section; }
std::string RecentSection() { return std::string(kFormName) + "_FileList"; }

// A stored number as a 32-bit value; colours above 0x7FFFFFFF were stored unsigned.
std::int32_t ToInt32(double value) {
  if (!std::isfinite(value)) return 0;
  const double rounded = std::nearbyint(value);
  if (rounded >= 2147483648.0 && rounded <= 4294967295.0) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rounded));
  }
  return static_cast<std::int32_t>(std::clamp(rounded, -2147483648.0, 2147483647.0));
}

}  // namespace

std::span<const SettingKey> SettingKeys() { return kKeys; }

WindowSettings DefaultSettings(const ColorDefaults& colors, const std::string& painter) {
  WindowSettings s;
  s.painterPath = painter;
  s.backColor = colors.backColor;
  s.gridColor = colors.gridColor;
  s.foreColor = colors.foreColor;
  s.fillColor = colors.fillColor;
  s.exclColor = colors.exclColor;
  return s;
}

WindowSettings ReadSettings(const common::SettingsSession& session, const WindowSettings& defaults) {
  WindowSettings s = defaults;
  for (const SettingKey& key : kKeys) {
    const std::string section = Section(key);
    switch (key.kind) {
      case Kind::Text: s.*key.text = session.ReadIniString(section, key.key, defaults.*key.text); break;
      case Kind::Flag:
        s.*key.flag =
            session.ReadIniNumber(section, key.key, common::Currency(defaults.*key.flag ? 1 : 0))
                .ToDouble() != 0;
        break;
      case Kind::Number: {
        const double value =
            session.ReadIniNumber(section, key.key, common::Currency(defaults.*key.number)).ToDouble();
        s.*key.number = std::clamp(ToInt32(value), key.low, key.high);
        break;
      }
      case Kind::Method: {
        const std::int32_t fallback = static_cast<std::int32_t>(defaults.*key.method);
        const double value =
            session.ReadIniNumber(section, key.key, common::Currency(fallback)).ToDouble();
        s.*key.method =
            static_cast<engine::ReductionMethod>(std::clamp(ToInt32(value), key.low, key.high));
        break;
      }
    }
  }
  std::vector<std::string> recent;
  if (!session.ReadIniSection(RecentSection(), recent, "\r\n").empty()) {
    for (std::string& path : recent) {
      if (!path.empty()) s.recentFiles.push_back(std::move(path));
    }
  }
  return s;
}

bool WriteSettings(common::SettingsSession& session, const WindowSettings& s) {
  bool ok = true;
  for (const SettingKey& key : kKeys) {
    const std::string section = Section(key);
    switch (key.kind) {
      case Kind::Text: ok = session.WriteIniString(section, key.key, s.*key.text) && ok; break;
      case Kind::Flag:
        ok = session.WriteIniNumber(section, key.key, common::Currency(s.*key.flag ? 1 : 0)) && ok;
        break;
      case Kind::Number: {
        // Colours are stored as the unsigned value the zoom view hands out.
        const bool colour = std::string_view(key.section) == "_Color";
        const double value = colour ? static_cast<double>(static_cast<std::uint32_t>(s.*key.number))
                                    : static_cast<double>(s.*key.number);
        ok = session.WriteIniNumber(section, key.key, common::Currency::FromDouble(value).value_or(0)) &&
             ok;
        break;
      }
      case Kind::Method: {
        const double value = static_cast<double>(static_cast<std::int32_t>(s.*key.method));
        ok = session.WriteIniNumber(section, key.key, common::Currency::FromDouble(value).value_or(0)) &&
             ok;
        break;
      }
    }
  }
  std::string lines;
  for (const std::string& path : s.recentFiles) {
    if (!lines.empty()) lines += "\r\n";
    lines += path;
  }
  // The section is rewritten only when the list differs, so its bytes stay otherwise.
  if (session.ReadIniSection(RecentSection(), "\r\n") != lines) {
    ok = session.WriteIniSection(RecentSection(), lines, "\r\n") && ok;
  }
  return ok;
}

std::string DefaultPainter(const std::function<std::string(const std::string&)>& find) {
  for (const char* program : {"kolourpaint", "pinta", "gimp"}) {
    const std::string path = find(program);
    if (!path.empty()) return path;
  }
  return {};
}

CommandLinePath ParseCommandLine(const std::vector<std::string>& arguments,
                                 const std::function<bool(const std::string&)>& fileExists,
                                 const std::string& currentFolder) {
  CommandLinePath out;
  std::string path;
  for (const std::string& argument : arguments) {
    if (!path.empty()) path += ' ';
    path += argument;
  }
  if (path.empty()) return out;
  // "-n.gif" must not reach the painter as an option, nor "a.gif" the recent files
  // without its folder. Leading "./" steps go; ".." steps stay, since a link before
  // them decides where they lead.
  if (path.front() != '/') {
    std::string_view rest = path;
    while (rest.starts_with("./")) {
      rest.remove_prefix(2);
      while (rest.starts_with('/')) rest.remove_prefix(1);
    }
    std::string folder = currentFolder;
    if (folder.empty() || folder.back() != '/') folder += '/';
    path = folder + std::string(rest);
  }
  if (!fileExists(path)) return out;
  if (document::MatchesPatterns(path, document::kImagePatterns)) {
    out = {CommandLinePath::Kind::Image, path};
  } else if (document::IsMapFile(path)) {
    out = {CommandLinePath::Kind::Map, path};
  }
  return out;
}

}  // namespace morvane::app
