#include "app/command_state.h"

#include <array>
#include <string_view>

namespace morvane::app {

namespace {

std::string ArrayName(std::string_view name, int index) {
  return std::string(name) + "(" + std::to_string(index) + ")";
}

// Tool buttons that follow a menu item (the Stop and Title buttons follow the run and
// the title field, the Dropper the picture).
constexpr std::array<std::pair<std::string_view, std::string_view>, 21> kButtonItems{{
    {"Open", "mFileOpen"},
    {"Painter", "mFilePainter"},
    {"Create", "mFileCreate"},
    {"Start", "mFileStart"},
    {"Add", "mFileAdd"},
    {"Save", "mFileSave"},
    {"Copy", "mEditCopy"},
    {"Delete", "mEditDelete"},
    {"Change", "mEditChange"},
    {"Insert", "mEditInsert"},
    {"Rectify", "mEditStart"},
    {"Merge", "mEditMerge"},
    {"First", "mEditMove"},
    {"Grid", "mViewGrid"},
    {"Points", "mViewPoints"},
    {"Zoom", "mViewMagnifier"},
    {"Connect", "mSettingsConnected"},
    {"Centroid", "mSettingsCentroid"},
    {"Help", "mHelpWhatsThis"},
    {"Shift", "mEditShift"},
    {"Resize", "mEditResize"},
}};

}  // namespace

CommandStates ComputeCommandState(const CommandInputs& in) {
  CommandStates s;
  const auto set = [&](const std::string& name, bool enabled, bool checked = false) {
    s[name] = ItemState{enabled, checked};
  };
  const bool picture = in.hasPicture;
  const bool save = in.changed && in.upperBound >= 1;

  for (const char* top : {"mFile", "mEdit", "mView", "mSettings", "mHelp"}) set(top, !in.running);

  set("mFileOpen", true);
  set("mFilePainter", picture && in.painterExists);
  set("mFileCreate", picture);
  set("mFileStart", picture);
  set("mFileAdd", picture && in.addEnabled);
  set("mFileSave", save);
  set("mFileSaveAs", in.changed ? save : in.saveAsEnabled);
  set("mFileBatch", true);
  set("mFileRecent", in.recentEnabled);
  set("mFileExit", true);

  set("mEditRestore", in.changed && in.mapExists);
  for (const char* item : {"mEditCopy", "mEditDelete", "mEditInsert", "mEditChange", "mEditStart",
                           "mEditMove", "mEditClockwise"}) {
    set(item, in.editEnabled);
  }
  const bool several = in.editEnabled && in.contourCount > 1 && !in.connected;
  set("mEditMerge", several);
  set("mEditDeleteContour", several);
  set("mEditShift", in.editEnabled && in.shiftEnabled);
  set("mEditResize", in.editEnabled && in.resizeEnabled);
  set("mEditTitle", in.titleEnabled);

  set("mViewToolbars", true);
  set("mViewGrid", picture, in.grid);
  set("mViewPoints", picture, in.points);
  set("mViewMagnifier", picture);
  for (int i = 0; i < 4; ++i) set(ArrayName("mViewZoom", i), picture, i == in.zoomIndex);
  set("mSettingsConnected", true, in.connected);
  set("mSettingsCentroid", true, in.centroid);
  for (int i = 0; i < 4; ++i) set(ArrayName("mSettingsMethod", i), true, i == in.method);
  for (int i = 0; i < 4; ++i) set(ArrayName("mViewColor", i), true);
  set("mViewPainter", true);

  set("mHelpTopics", in.helpFileExists);
  set("mHelpWhatsThis", in.helpFileExists);
  set("mPopupWhatsThis", in.helpFileExists);
  for (const char* item : {"mHelpUpdate", "mHelpWeb", "mHelpMail", "mHelpAbout"}) set(item, true);

  // During a run the menus are off and so are the tool bars, whatever their items say.
  for (const auto& [key, item] : kButtonItems) {
    const ItemState& menu = s[std::string(item)];
    s["tb:" + std::string(key)] = ItemState{menu.enabled && !in.running, menu.checked};
  }
  s["tb:Dropper"] = ItemState{picture && !in.running, false};
  s["tb:Title"] = ItemState{in.titleEnabled && !in.running, false};
  s["tb:Stop"] = ItemState{in.running, false};
  if (in.running) {
    for (auto& [name, state] : s) {
      if (name != "tb:Stop") state.enabled = false;
    }
  }
  return s;
}

}  // namespace morvane::app
