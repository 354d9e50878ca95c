#pragma once

// Every command of the main window in one table: the menu items with their captions,
// shortcuts and help ids, and the tool buttons with their keys, tool tips and tags.
// Menu clicks, tool buttons, shortcuts and the form's keys all reach a handler through
// Run, which refuses everything but Stop during a run, asks the context-help guard
// first and keeps errors at the event boundary.

#include <QString>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/widgets/keyed_tool_bar.h"

namespace morvane::widgets {
class MenuModel;
}

namespace morvane::app {

struct MenuSpec {
  const char* parent;  // the popup it belongs to; nullptr for the menu bar
  const char* name;
  int index;             // control-array index, -1 for none
  const char* caption;   // "-" for a separator
  const char* shortcut;  // the item's own key, "" for none
  const char* shownKey;  // text shown after a tab for a key handled elsewhere
  int helpId;
  bool visible;
  int zoom = 0;           // View > Zoom: the zoom factor, which the item's Tag carries
  const char* band = "";  // View > Toolbars: the key of the band the item shows and hides
};

struct ToolSpec {
  const char* key;
  int bar;  // pbToolbar(bar)
  int tag;  // help id
  const char* toolTip;
  const char* command;  // menu item name, or "Stop"
  int index;            // the command's array index, -1 for none
  widgets::ButtonStyle style;
};

std::span<const MenuSpec> MenuTable();
std::span<const ToolSpec> ToolTable();

// The row of a menu item by name and index; null for none.
const MenuSpec* FindMenu(std::string_view name, int index = -1);

// The command a tool button runs: its menu item and index; null for an unknown key.
const ToolSpec* FindTool(const QString& key);

class CommandTable {
 public:
  using Handler = std::function<void(int index)>;
  using RunningCheck = std::function<bool()>;
  using HelpGuard = std::function<bool(const std::string& name, int index)>;

  // running: whether a run is going on (only Stop is accepted then). helpGuard: the
  // context-help guard, true when the click only asked for help on the item.
  CommandTable(RunningCheck running, HelpGuard helpGuard)
      : running_(std::move(running)), helpGuard_(std::move(helpGuard)) {}

  void Bind(const std::string& name, Handler handler);
  // Runs the command's handler; false when it was refused or has no handler.
  bool Run(const std::string& name, int index = -1);
  bool Has(const std::string& name) const { return handlers_.count(name) != 0; }

  // Builds the menus of the table into the model.
  static void BuildMenus(widgets::MenuModel& model);
  // Adds the table's buttons to the four tool bars.
  static void BuildToolBars(std::span<widgets::KeyedToolBar* const> bars);

 private:
  RunningCheck running_;
  HelpGuard helpGuard_;
  std::map<std::string, Handler> handlers_;
};

}  // namespace morvane::app
