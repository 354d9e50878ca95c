#pragma once
// The roles through which the document commands reach the main window, beside the
// engine's (engine/window_roles.h). Each is small, so that different parts of the
// window implement them; silent_roles.h has a base that does nothing for each.

#include <cstdint>
#include <string>

#include "engine/window_roles.h"
#include "platform/core/message_box.h"

namespace morvane::document {

// Message box answers.
using core::kAnswerCancel;
using core::kAnswerNo;
using core::kAnswerYes;

enum class Buttons { YesNo, YesNoCancel };


// Message boxes and beeps. Boxes are captioned with the program's title; each
// question has the question icon.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual void Beep(core::BeepType type) = 0;
  virtual core::DialogAnswer Ask(const std::string& text, Buttons buttons) = 0;
  virtual void ShowError(const std::string& text) = 0;
};

// The main window's caption.
class WindowCaption {
 public:
  virtual ~WindowCaption() = default;
  virtual std::string ProgramTitle() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
};

// Menu items whose caption or help id the document's dialogs take.
enum class MenuCommand { mFileOpen, mFileSaveAs, mFileBatch };

// What the document reads from the menus.
class MenuTexts {
 public:
  virtual ~MenuTexts() = default;
  virtual std::string MenuCaption(MenuCommand item) const = 0;
  virtual std::int32_t MenuHelpContextId(MenuCommand item) const = 0;
  // The check mark of Settings > Centroid (mSettingsCentroid).
  virtual bool CentroidChecked() const = 0;
};

// The window's enablement. After each command and each change of the run state the
// window is told once, and recomputes the enabled state of every menu item, button
// and panel from the document model and the run state.
class CommandState {
 public:
  virtual ~CommandState() = default;
  virtual void StateChanged() = 0;
};

// What a run shows besides its progress: the elapsed-time clock, the busy pointer,
// and the end of a stop request.
class RunDisplay {
 public:
  virtual ~RunDisplay() = default;
  // TraceStartTicks := now.
  virtual void StartRunClock() = 0;
  // The hourglass while busy, the default pointer after.
  virtual void SetBusyPointer(bool busy) = 0;
  // StopRequested := False, at the end of each run.
  virtual void ClearStopRequest() = 0;
};

// All roles of the main window, as one window (or the tool, or a test) hands them to
// the document and the run sequence.
struct WindowRoles {
  engine::RunControl& run;
  engine::StatusLine& status;
  engine::PictureView& picture;
  engine::TitlesView& titles;
  Prompts& prompts;
  WindowCaption& caption;
  MenuTexts& menus;
  CommandState& commands;
  RunDisplay& display;
};

}  // namespace morvane::document
