#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::engine {

// What a long run needs of its host: a tick that lets pending events through, progress
// bars, and the stop flag that the Stop command sets during a tick.
class RunControl {
 public:
  virtual ~RunControl() = default;

  // Called after every step; the host handles pending events here (throttled as it
  // likes) and shows the elapsed time.
  virtual void ShowElapsedTime() = 0;
  // n ticks at once, for a stretch of steps the engine went through without ticking:
  // the same as n calls of ShowElapsedTime, but ending at the first tick after which
  // StopRequested is set. Returns that tick (1 to n), or 0 when no stop was seen. The
  // engine replays the stretch up to that tick, so a stop lands where it would have.
  // Hosts that do little per tick answer it without looping.
  virtual std::int64_t ShowElapsedTimes(std::int64_t n);
  // Progress bar index: 0 batch, 1 whole-image run, 2 reduction, pair search and pixel
  // count. Percent 0 shows the bar.
  virtual void SetProgress(int index, int percent) = 0;
  virtual void HideProgress(int index) = 0;
  virtual bool StopRequested() const = 0;
};

// The titles list (cbTitles) and its text box (tbTitles): entry k belongs to the
// contour numbered k and reads "#", the number formatted, and for a titled contour two
// blanks and the title.
class TitlesList {
 public:
  virtual ~TitlesList() = default;

  virtual void Clear() = 0;
  virtual void AddItem(const std::string& text) = 0;
  virtual void RemoveItem(std::int32_t index) = 0;
  virtual std::int32_t ListCount() const = 0;
  virtual std::string List(std::int32_t index) const = 0;
  virtual void SetListIndex(std::int32_t index) = 0;
  virtual void SetTitlesText(const std::string& text) = 0;
  virtual void EnableTitlesText(bool enabled) = 0;
};

// The main window as the engine's operations see it.
class EngineHost {
 public:
  virtual ~EngineHost() = default;

  // Status panel "Progress2": "No figure found.", "Already added.", "The same
  // contour.", "Different contours." or "".
  virtual void SetProgress2Text(std::string_view text) = 0;
  // The pattern of "0"s that contour numbers are formatted with.
  virtual std::string OutputNumberFormat() const = 0;
  virtual bool BatchRunning() const = 0;
  // TraceStartTicks := now.
  virtual void StartRunClock() = 0;

  virtual void EnableUiDuringRun(bool enabled) = 0;
  virtual void SetBusyPointer(int pointer) = 0;  // 11 hourglass, 0 default
  virtual void SetWindowEnabled(bool enabled) = 0;
  virtual void EnableAddCommand(bool enabled) = 0;  // mFileAdd
  // Shows the image again (keeping the scroll position when asked), clearing the
  // contours drawn on the view.
  virtual void LoadImageFile(bool keepScroll) = 0;
  // Puts the plain image back on the zoom view, clearing drawn contours.
  virtual void ShowImage() = 0;
  virtual void RedrawContours() = 0;
  virtual void FillContourTree(std::int32_t selected) = 0;
  // Status panel "Changed" gets the changed mark; then UpdateChangedState runs.
  virtual void MarkChanged() = 0;
  virtual void ResetAfterRun() = 0;
  // Moves the mouse pointer onto a position in twips of the image.
  virtual void LocateCursor(double x, double y) = 0;
  // True while the engine selects a title, so the list's own click handling ignores it.
  virtual void SetTitlesSelectionFlag(bool set) = 0;
};

// A contour number formatted with a pattern of n "0"s: at least n digits, the sign
// first (-5 with "00" is "-05"); an empty pattern gives the plain number.
std::string FormatContourNumber(std::int32_t number, std::string_view format);

// The titles list entry of an untitled contour: "#" and the number formatted.
std::string ContourTitle(std::int32_t number, std::string_view format);

}  // namespace morvane::engine
