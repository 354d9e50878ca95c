#pragma once

// Which commands are enabled and checked, from the window's state alone. The window
// applies the answer to its menu items and tool buttons after every command and every
// change of state; nothing else sets an item's Enabled.

#include <map>
#include <string>

namespace morvane::app {

struct CommandInputs {
  bool running = false;        // a trace or batch runs: only Stop may be used
  bool hasPicture = false;     // the zoom view shows an image
  bool changed = false;        // the changed mark is shown
  int upperBound = 0;          // of the point array: 0 is an empty document
  bool mapExists = false;      // MapPath names an existing file
  bool painterExists = false;  // the painter program exists
  int contourCount = 0;
  bool editEnabled = false;    // the last UpdateEditMenuState
  bool addEnabled = false;     // File > Add Contour, as the engine and the document left it
  bool saveAsEnabled = false;  // Save As, as the document left it (changes follow Save)
  bool recentEnabled = false;  // the recent-files submenu holds an entry
  bool helpFileExists = false;
  bool shiftEnabled = false;   // the shift fields hold a nonzero value
  bool resizeEnabled = false;  // the factor field holds a nonzero value
  bool titleEnabled = false;   // the title box differs from the selected title
  // Check marks.
  bool grid = true, points = true, connected = true, centroid = true;
  int zoomIndex = 0;
  int method = 3;
};

struct ItemState {
  bool enabled = true;
  bool checked = false;
  bool operator==(const ItemState&) const = default;
};

// Keyed by menu item name ("mFileSave", "mViewZoom(2)") and by tool-button key in
// the form "tb:Save".
using CommandStates = std::map<std::string, ItemState>;

CommandStates ComputeCommandState(const CommandInputs& in);

}  // namespace morvane::app
