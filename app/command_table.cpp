#include "app/command_table.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include <array>

#include "common/widgets/menu_helpers.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/menu_model.h"

namespace morvane::app {

namespace {

using widgets::ButtonStyle;

// In menu order. Help ids are the topics of the help file.
constexpr MenuSpec kMenus[] = {
    {nullptr, "mFile", -1, "&File", "", "", 0, true},
    {"mFile", "mFileOpen", -1, "&Open...", "Ctrl+O", "", 201, true},
    {"mFile", "mFilePainter", -1, "&Run Painter...", "Ctrl+E", "", 202, true},
    {"mFile", "mFileSep0", -1, "-", "", "", 0, true},
    {"mFile", "mFileCreate", -1, "&Create Contour", "F5", "", 203, true},
    // Bound as the tool tip promises.
    {"mFile", "mFileStart", -1, "Create from &Point", "Shift+F5", "", 204, true},
    {"mFile", "mFileAdd", -1, "&Add Contour", "", "", 205, true},
    {"mFile", "mFileSep1", -1, "-", "", "", 0, true},
    {"mFile", "mFileSave", -1, "&Save", "Ctrl+S", "", 206, true},
    {"mFile", "mFileSaveAs", -1, "Save &As...", "F12", "", 207, true},
    {"mFile", "mFileSep2", -1, "-", "", "", 0, true},
    {"mFile", "mFileBatch", -1, "&Batch Processing...", "Ctrl+B", "", 208, true},
    {"mFile", "mFileSep3", -1, "-", "", "", 0, true},
    {"mFile", "mFileRecent", -1, "Recent &Files", "", "", 209, true},
    {"mFileRecent", "mFileList", 0, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 1, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 2, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 3, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 4, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 5, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 6, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 7, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 8, "", "", "", 209, false},
    {"mFileRecent", "mFileList", 9, "", "", "", 209, false},
    {"mFile", "mFileSep4", -1, "-", "", "", 0, true},
    {"mFile", "mFileExit", -1, "E&xit", "", "Alt+F4", 210, true},

    {nullptr, "mEdit", -1, "&Edit", "", "", 0, true},
    {"mEdit", "mEditRestore", -1, "&Restore", "Ctrl+Y", "", 211, true},
    {"mEdit", "mEditSep0", -1, "-", "", "", 0, true},
    {"mEdit", "mEditCopy", -1, "&Copy COORDS", "", "Ctrl+C", 212, true},
    {"mEdit", "mEditSep1", -1, "-", "", "", 0, true},
    {"mEdit", "mEditDelete", -1, "&Delete Point", "", "Del", 213, true},
    {"mEdit", "mEditChange", -1, "Cha&nge Point", "F2", "", 214, true},
    {"mEdit", "mEditInsert", -1, "&Insert Point", "", "Ins", 215, true},
    {"mEdit", "mEditSep2", -1, "-", "", "", 0, true},
    {"mEdit", "mEditStart", -1, "&Start Rectification", "Ctrl+R", "", 216, true},
    {"mEdit", "mEditMerge", -1, "&Merge two Contours", "Ctrl+M", "", 217, true},
    {"mEdit", "mEditDeleteContour", -1, "D&elete Contour", "Ctrl+D", "", 218, true},
    {"mEdit", "mEditSep3", -1, "-", "", "", 0, false},
    {"mEdit", "mEditClockwise", -1, "Clock&wise Contour", "Shift+F11", "", 220, false},
    {"mEdit", "mEditMove", -1, "Set &Beginning", "Shift+F12", "", 219, true},
    {"mEdit", "mEditSep4", -1, "-", "", "", 0, true},
    {"mEdit", "mEditShift", -1, "S&hift Contour", "", "", 302, true},
    {"mEdit", "mEditResize", -1, "Resi&ze Contour", "", "", 303, true},
    {"mEdit", "mEditSep5", -1, "-", "", "", 0, false},
    {"mEdit", "mEditTitle", -1, "Set Contour &Title", "", "", 306, false},

    {nullptr, "mView", -1, "&View", "", "", 0, true},
    {"mView", "mViewToolbars", -1, "&Toolbars", "", "", 232, true},
    {"mViewToolbars", "mViewToolbar", 0, "&Standard", "", "", 232, true, 0, "Standard"},
    {"mViewToolbars", "mViewToolbar", 1, "St&op", "", "", 232, true, 0, "Stop"},
    {"mViewToolbars", "mViewToolbar", 2, "&Factors", "", "", 232, true, 0, "Factors"},
    {"mViewToolbars", "mViewToolbar", 3, "&Titles", "", "", 232, true, 0, "Titles"},
    {"mView", "mViewSep0", -1, "-", "", "", 0, true},
    {"mView", "mViewGrid", -1, "&Show Grid", "Ctrl+G", "", 233, true},
    {"mView", "mViewPoints", -1, "S&how Vertices", "F6", "", 234, true},
    {"mView", "mViewSep1", -1, "-", "", "", 0, true},
    {"mView", "mViewMagnifier", -1, "&Magnifier", "F4", "", 235, true},
    {"mView", "mViewSep2", -1, "-", "", "", 0, true},
    {"mView", "mViewZoom", 0, "Zoom &1:1", "", "Ctrl+PgUp", 236, true, 1},
    {"mView", "mViewZoom", 1, "Zoom &4:1", "", "Ctrl+PgDn", 236, true, 4},
    {"mView", "mViewZoom", 2, "Zoom &6:1", "", "", 236, true, 6},
    {"mView", "mViewZoom", 3, "Zoom &8:1", "", "", 236, true, 8},

    {nullptr, "mSettings", -1, "&Settings", "", "", 0, true},
    {"mSettings", "mSettingsConnected", -1, "Co&nnected Contour", "F7", "", 241, true},
    {"mSettings", "mSettingsSep0", -1, "-", "", "", 0, true},
    {"mSettings", "mSettingsCentroid", -1, "Compute Cent&roids", "", "", 242, true},
    {"mSettings", "mSettingsSep1", -1, "-", "", "", 0, true},
    {"mSettings", "mSettingsMethod", 0, "Approx. Method &1", "", "", 243, true},
    {"mSettings", "mSettingsMethod", 1, "Approx. Method &2", "", "", 243, true},
    {"mSettings", "mSettingsMethod", 2, "Approx. Method &3", "", "", 243, true},
    {"mSettings", "mSettingsMethod", 3, "Approx. Method &4", "", "", 243, true},
    {"mSettings", "mSettingsSep2", -1, "-", "", "", 0, true},
    {"mSettings", "mViewColor", 0, "Bac&kground Color...", "", "", 244, true},
    {"mSettings", "mViewColor", 1, "&Grid Color...", "", "", 245, true},
    {"mSettings", "mViewColor", 2, "&Contour Color...", "", "", 246, true},
    {"mSettings", "mViewColor", 3, "&Vertex Color...", "", "", 247, true},
    {"mSettings", "mSettingsSep3", -1, "-", "", "", 0, true},
    {"mSettings", "mViewPainter", -1, "C&ustom Painter...", "", "", 249, true},

    {nullptr, "mHelp", -1, "&Help", "", "", 0, true},
    {"mHelp", "mHelpWhatsThis", -1, "&What's This?", "Shift+F1", "", 252, true},
    {"mHelp", "mHelpTopics", -1, "&Help Topics...", "", "F1", 251, true},
    {"mHelp", "mHelpSep0", -1, "-", "", "", 0, true},
    {"mHelp", "mHelpUpdate", -1, "Check for &Update...", "", "", 256, true},
    {"mHelp", "mHelpWeb", -1, "Visit the Web&page...", "", "", 253, true},
    {"mHelp", "mHelpMail", -1, "Feed&back...", "", "", 254, true},
    {"mHelp", "mHelpSep1", -1, "-", "", "", 0, true},
    {"mHelp", "mHelpAbout", -1, "&About...", "", "", 255, true},

    // The right-click popup of the context help.
    {nullptr, "mPopup", -1, "mPopup", "", "", 0, false},
    {"mPopup", "mPopupWhatsThis", -1, "&What's This?", "", "", 252, true},
};

constexpr ToolSpec kTools[] = {
    {"Open", 0, 201, "Open... (Ctrl+O)", "mFileOpen", -1, ButtonStyle::Default},
    {"Painter", 0, 202, "Run Painter... (Ctrl+E)", "mFilePainter", -1, ButtonStyle::Default},
    {"Create", 0, 203, "Create Contour (F5)", "mFileCreate", -1, ButtonStyle::Default},
    {"Start", 0, 204, "Create from Point (Shift+F5)", "mFileStart", -1, ButtonStyle::Default},
    {"Add", 0, 205, "Add Contour", "mFileAdd", -1, ButtonStyle::Default},
    {"Save", 0, 206, "Save (Ctrl+S)", "mFileSave", -1, ButtonStyle::Default},
    {"", 0, 0, "", "", -1, ButtonStyle::Separator},
    {"Copy", 0, 212, "Copy COORDS (Ctrl+C)", "mEditCopy", -1, ButtonStyle::Default},
    {"Delete", 0, 213, "Delete Point (Del)", "mEditDelete", -1, ButtonStyle::Default},
    {"Change", 0, 214, "Change Point (F2)", "mEditChange", -1, ButtonStyle::Default},
    {"Insert", 0, 215, "Insert Point (Ins)", "mEditInsert", -1, ButtonStyle::Default},
    {"Rectify", 0, 216, "Start Rectification (Ctrl+R)", "mEditStart", -1, ButtonStyle::Default},
    {"Merge", 0, 217, "Merge two Contours (Ctrl+M)", "mEditMerge", -1, ButtonStyle::Default},
    {"First", 0, 219, "Set Beginning (Shift+F12)", "mEditMove", -1, ButtonStyle::Default},
    {"", 0, 0, "", "", -1, ButtonStyle::Separator},
    {"Grid", 0, 233, "Show/Hide Grid (Ctrl+G)", "mViewGrid", -1, ButtonStyle::Check},
    {"Points", 0, 234, "Show Vertices", "mViewPoints", -1, ButtonStyle::Check},
    {"Zoom", 0, 235, "Magnifier (F4)", "mViewMagnifier", -1, ButtonStyle::Default},
    {"Connect", 0, 241, "Connected Contour (F7)", "mSettingsConnected", -1, ButtonStyle::Check},
    {"Centroid", 0, 242, "Compute Centroids", "mSettingsCentroid", -1, ButtonStyle::Check},
    {"Dropper", 0, 244, "Background Color...", "mViewColor", 0, ButtonStyle::Default},
    {"", 0, 0, "", "", -1, ButtonStyle::Separator},
    {"Help", 0, 252, "What's This?", "mHelpWhatsThis", -1, ButtonStyle::Default},
    {"Stop", 1, 301, "Stop Processing (Ctrl+Break)", "Stop", -1, ButtonStyle::Default},
    {"Shift", 2, 302, "Shift Contour", "mEditShift", -1, ButtonStyle::Default},
    {"Resize", 2, 303, "Resize Contour", "mEditResize", -1, ButtonStyle::Default},
    {"Title", 3, 305, "Set Contour Title", "mEditTitle", -1, ButtonStyle::Default},
};

// The desktop theme's icon for a button, else a standard one of the style.
QIcon ButtonIcon(const char* key) {
  struct Look {
    const char* key;
    const char* theme;
    QStyle::StandardPixmap fallback;
  };
  static constexpr Look kLooks[] = {
      {"Open", "document-open", QStyle::SP_DialogOpenButton},
      {"Painter", "applications-graphics", QStyle::SP_DesktopIcon},
      {"Create", "system-run", QStyle::SP_MediaPlay},
      {"Start", "edit-select", QStyle::SP_ArrowRight},
      {"Add", "list-add", QStyle::SP_FileDialogNewFolder},
      {"Save", "document-save", QStyle::SP_DialogSaveButton},
      {"Copy", "edit-copy", QStyle::SP_FileDialogContentsView},
      {"Delete", "edit-delete", QStyle::SP_TrashIcon},
      {"Change", "document-edit", QStyle::SP_FileDialogDetailedView},
      {"Insert", "insert-object", QStyle::SP_FileDialogListView},
      {"Rectify", "transform-move", QStyle::SP_ToolBarHorizontalExtensionButton},
      {"Merge", "merge", QStyle::SP_ArrowUp},
      {"First", "go-first", QStyle::SP_MediaSkipBackward},
      {"Grid", "view-grid", QStyle::SP_FileDialogListView},
      {"Points", "draw-points", QStyle::SP_DialogApplyButton},
      {"Zoom", "zoom-in", QStyle::SP_FileDialogContentsView},
      {"Connect", "network-connect", QStyle::SP_ArrowDown},
      {"Centroid", "draw-circle", QStyle::SP_DialogYesButton},
      {"Dropper", "color-picker", QStyle::SP_DriveCDIcon},
      {"Help", "help-contextual", QStyle::SP_TitleBarContextHelpButton},
      {"Stop", "process-stop", QStyle::SP_BrowserStop},
      {"Shift", "transform-move", QStyle::SP_ArrowForward},
      {"Resize", "transform-scale", QStyle::SP_TitleBarMaxButton},
      {"Title", "insert-text", QStyle::SP_DialogApplyButton},
  };
  for (const Look& look : kLooks) {
    if (qstrcmp(look.key, key) != 0) continue;
    return QIcon::fromTheme(QString::fromLatin1(look.theme),
                            QApplication::style()->standardIcon(look.fallback));
  }
  return {};
}

}  // namespace

std::span<const MenuSpec> MenuTable() { return kMenus; }
std::span<const ToolSpec> ToolTable() { return kTools; }

const MenuSpec* FindMenu(std::string_view name, int index) {
  for (const MenuSpec& spec : kMenus) {
    if (name == spec.name && index == spec.index) return &spec;
  }
  return nullptr;
}

const ToolSpec* FindTool(const QString& key) {
  if (key.isEmpty()) return nullptr;
  // Compared case-sensitively in table order: the first match runs.
  for (const ToolSpec& tool : kTools) {
    if (key == QLatin1String(tool.key)) return &tool;
  }
  return nullptr;
}

void CommandTable::Bind(const std::string& name, Handler handler) {
  handlers_[name] = std::move(handler);
}

bool CommandTable::Run(const std::string& name, int index) {
  const auto found = handlers_.find(name);
  if (found == handlers_.end()) return false;
  if (name != "Stop" && running_ && running_()) return false;
  bool ran = false;
  automation::CatchAtEventBoundary([&] {
    if (helpGuard_ && helpGuard_(name, index)) return;
    found->second(index);
    ran = true;
  });
  return ran;
}

void CommandTable::BuildMenus(widgets::MenuModel& model) {
  for (const MenuSpec& spec : kMenus) {
    widgets::MenuEntry* parent = spec.parent ? model.Item(QString::fromLatin1(spec.parent)) : nullptr;
    widgets::MenuEntry* item =
        model.Add(parent, QString::fromLatin1(spec.name), QString::fromUtf8(spec.caption), spec.index);
    item->SetHelpContextID(spec.helpId);
    if (*spec.shortcut != '\0') item->SetShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)));
    if (*spec.shownKey != '\0') common::SetMenuShortcutText(item, QString::fromLatin1(spec.shownKey));
    item->SetVisible(spec.visible);
    if (spec.zoom != 0) item->SetTag(QString::number(spec.zoom));
  }
  model.MakeRadioGroup(model.Array(QStringLiteral("mViewZoom")));
  model.MakeRadioGroup(model.Array(QStringLiteral("mSettingsMethod")));
}

void CommandTable::BuildToolBars(std::span<widgets::KeyedToolBar* const> bars) {
  for (const ToolSpec& tool : kTools) {
    if (tool.bar < 0 || static_cast<std::size_t>(tool.bar) >= bars.size()) continue;
    const QString key = QString::fromLatin1(tool.key);
    bars[static_cast<std::size_t>(tool.bar)]->AddButton(
        key, tool.style == ButtonStyle::Separator ? QIcon() : ButtonIcon(tool.key),
        QString::fromUtf8(tool.toolTip), tool.tag != 0 ? QString::number(tool.tag) : QString(),
        tool.style);
  }
}

}  // namespace morvane::app
