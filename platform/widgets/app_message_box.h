#pragma once

#include <QIcon>
#include <QMessageBox>

#include <functional>
#include <memory>

#include "platform/core/message_box.h"

class QWidget;

namespace morvane::widgets {

// The message box service on Qt. Each module makes its own, handing in how to find its
// icons by resource id, so a box with a user icon shows that module's icon. The owner
// handle of a request is turned into a parent window by owners when given; without
// one, or for owner 0, the box has no parent. The text is shown as plain text. The
// language id is not used: the buttons speak the application's language.
class AppMessageBox : public core::ModuleMessageBox {
 public:
  using IconSource = std::function<QIcon(std::int32_t iconId)>;
  using OwnerSource = std::function<QWidget*(std::int32_t owner)>;

  explicit AppMessageBox(IconSource icons = {}, OwnerSource owners = {});

  // Shows the box modally and answers kAnswerOk, kAnswerCancel, ... for the button pressed.
  core::DialogAnswer Show(const core::MessageBoxRequest& request) override;

  // The box Show() runs, not yet shown.
  std::unique_ptr<QMessageBox> Build(const core::MessageBoxRequest& request) const;

  // The answer of a box's button.
  static core::DialogAnswer AnswerFor(QMessageBox::StandardButton button);

 private:
  IconSource icons_;
  OwnerSource owners_;
};

}  // namespace morvane::widgets
