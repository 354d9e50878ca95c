#pragma once

// What the document asks of the window besides its views: message boxes and beeps,
// the caption, and the menu items' captions and help ids.

#include <cstdint>
#include <functional>
#include <string>

#include "document/window_roles.h"

class QWidget;

namespace morvane::widgets {
class MenuModel;
}

namespace morvane::app {

struct WindowSettings;

class WindowPrompts : public document::Prompts,
                      public document::WindowCaption,
                      public document::MenuTexts {
 public:
  // Boxes are owned by the form; busyPointerShown tells whether the busy pointer is up,
  // which a box puts aside while it is answered.
  WindowPrompts(QWidget* form, const widgets::MenuModel& menus, const WindowSettings& settings,
                std::function<bool()> busyPointerShown);

  // document::Prompts
  void Beep(core::BeepType type) override;
  core::DialogAnswer Ask(const std::string& text, document::Buttons buttons) override;
  void ShowError(const std::string& text) override;

  // document::WindowCaption
  std::string ProgramTitle() const override;
  void SetCaption(const std::string& caption) override;

  // document::MenuTexts
  std::string MenuCaption(document::MenuCommand item) const override;
  std::int32_t MenuHelpContextId(document::MenuCommand item) const override;
  bool CentroidChecked() const override;

 private:
  QWidget* form_;
  const widgets::MenuModel& menus_;
  const WindowSettings& settings_;
  std::function<bool()> busyPointerShown_;
};

}  // namespace morvane::app
