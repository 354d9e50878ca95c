#pragma once
// One base per document role that does nothing (or answers plainly): the command-line
// tool and the tests derive from these and override only what they watch.

#include "document/window_roles.h"
#include "engine/silent_roles.h"

namespace morvane::document {

// Beeps unheard, errors unseen, every question answered Cancel.
class SilentPrompts : public Prompts {
 public:
  void Beep(core::BeepType) override {}
  core::DialogAnswer Ask(const std::string&, Buttons) override { return kAnswerCancel; }
  void ShowError(const std::string&) override {}
};

class SilentCaption : public WindowCaption {
 public:
  std::string ProgramTitle() const override { return "Morvane"; }
  void SetCaption(const std::string&) override {}
};

class SilentMenus : public MenuTexts {
 public:
  std::string MenuCaption(MenuCommand) const override { return {}; }
  std::int32_t MenuHelpContextId(MenuCommand) const override { return 0; }
  bool CentroidChecked() const override { return false; }
};

class SilentCommandState : public CommandState {
 public:
  void StateChanged() override {}
};

class SilentRunDisplay : public RunDisplay {
 public:
  void StartRunClock() override {}
  void SetBusyPointer(bool) override {}
  void ClearStopRequest() override {}
};

// Every role of the window, all silent. A derived window overrides what it watches
// and hands itself over with Roles().
struct SilentWindow : engine::SilentWindow,
                      SilentPrompts,
                      SilentCaption,
                      SilentMenus,
                      SilentCommandState,
                      SilentRunDisplay {
  WindowRoles Roles() { return {*this, *this, *this, *this, *this, *this, *this, *this, *this}; }
};

}  // namespace morvane::document
