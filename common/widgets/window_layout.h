#pragma once

// A window's placement and a band bar's layout, carried from one run to the next in
// the settings file.

#include <cstdint>
#include <string>
#include <string_view>

class QObject;
class QWidget;

namespace morvane::common {

class SettingsSession;

// The caller's record of a form's window state (0 normal, 1 minimised, 2 maximised)
// and of its normal-state bounds in twips. The caller keeps the bounds equal to the
// window's while it is normal, so a maximised window saves its normal rectangle.
struct FormPlacement {
  std::int32_t State = 0;
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  // Set by RestoreFormPlacement when the stored rectangle lies off every screen: the
  // size holds, the window manager chooses the place.
  bool PlaceByWindowManager = false;
};

// Reads "Left", "Top", "Width", "Height" and "State" (pixels) of the section (by
// default the form's name and "_State") into the placement and sets the form's window
// state. Missing keys give position 0, 0 and the form's size and state; a stored
// state outside 0 to 2 is ignored. The form is not moved: see MoveToPlacement.
void RestoreFormPlacement(QWidget& form, FormPlacement& placement, const std::string& file,
                          std::string_view section = {});
// The same from a settings session that the caller read once.
void RestoreFormPlacement(QWidget& form, FormPlacement& placement, const SettingsSession& session,
                          std::string_view section = {});
// Reads the placement as RestoreFormPlacement does and leaves the form's state alone,
// for a caller that gives the form its normal bounds before its state.
void ReadFormPlacement(const QWidget& form, FormPlacement& placement, const SettingsSession& session,
                       std::string_view section = {});

// Takes the form's bounds into the placement when it is in the normal state, then
// writes the placement (pixels, truncated toward zero) to the section.
void SaveFormPlacement(const QWidget& form, FormPlacement& placement, const std::string& file,
                       std::string_view section = {});
// The same into a settings session; the caller's Commit writes it.
void SaveFormPlacement(const QWidget& form, FormPlacement& placement, SettingsSession& session,
                       std::string_view section = {});

// Gives a form the placement's bounds (only the size when the window manager places it),
// the size no larger than the desktop; a stored size of 0 or less keeps the form's.
void MoveToPlacement(QWidget& form, const FormPlacement& placement);

// The band layout of a BandBar in the section (by default the bar's name): for the
// band at each position n, keys n "_NewRow", "_Visible", "_Width" (pixels, four
// decimals), "_Name" and "_Index" of its control, "_Buttons" when the control is a
// KeyedToolBar, and "_Key". Any other object is ignored.
void SaveCoolBarLayout(const std::string& file, QObject* coolBar, std::string_view section = {});
void SaveCoolBarLayout(SettingsSession& session, QObject* coolBar, std::string_view section = {});

// Gives band n (design order) the key, row start (from band 2 on), visibility, width
// and control that the band at position n had when saved; the control is looked up by
// name and index among the controls the bar's bands hold, and the band keeps its own
// when none matches (another control of the window never moves into a band). Without
// skipButtons, a tool bar's buttons are shown or hidden as saved (a button tagged "-"
// is always hidden). Any other object is ignored.
void RestoreCoolBarLayout(const std::string& file, QObject* coolBar, std::string_view section = {},
                          bool skipButtons = false);
void RestoreCoolBarLayout(const SettingsSession& session, QObject* coolBar,
                          std::string_view section = {}, bool skipButtons = false);

}  // namespace morvane::common
