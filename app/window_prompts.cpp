#include "app/window_prompts.h"

#include <QApplication>
#include <QWidget>

#include "app/settings_io.h"
#include "platform/core/message_box.h"
#include "platform/core/version_record.h"
#include "platform/widgets/desktop_services.h"
#include "platform/widgets/menu_model.h"

namespace morvane::app {

namespace {

using document::MenuCommand;

QString ItemName(MenuCommand item) {
  switch (item) {
    case MenuCommand::mFileOpen: return QStringLiteral("mFileOpen");
    case MenuCommand::mFileSaveAs: return QStringLiteral("mFileSaveAs");
    case MenuCommand::mFileBatch: return QStringLiteral("mFileBatch");
  }
  return {};
}

// A box shown while the busy pointer is up (a question of a batch, an error of a busy
// moment) is answered with the ordinary pointer.
class OrdinaryPointer {
 public:
  explicit OrdinaryPointer(bool busy) : busy_(busy) {
    if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~OrdinaryPointer() {
    if (busy_) QApplication::restoreOverrideCursor();
  }
  OrdinaryPointer(const OrdinaryPointer&) = delete;
  OrdinaryPointer& operator=(const OrdinaryPointer&) = delete;

 private:
  bool busy_;
};

}  // namespace

WindowPrompts::WindowPrompts(QWidget* form, const widgets::MenuModel& menus,
                             const WindowSettings& settings, std::function<bool()> busyPointerShown)
    : form_(form), menus_(menus), settings_(settings), busyPointerShown_(std::move(busyPointerShown)) {}

void WindowPrompts::Beep(core::BeepType type) { widgets::Beeper().MessageBeep(type); }

core::DialogAnswer WindowPrompts::Ask(const std::string& text, document::Buttons buttons) {
  const int style = (buttons == document::Buttons::YesNoCancel ? core::kMbYesNoCancel : core::kMbYesNo) |
                    core::kMbIconQuestion;
  const OrdinaryPointer pointer(busyPointerShown_());
  return widgets::MessageBoxes().Show(form_, QString::fromStdString(text), style);
}

void WindowPrompts::ShowError(const std::string& text) {
  const OrdinaryPointer pointer(busyPointerShown_());
  widgets::MessageBoxes().Show(form_, QString::fromStdString(text),
                               core::kMbOk | core::kMbIconExclamation);
}

std::string WindowPrompts::ProgramTitle() const { return core::ThisVersionRecord().title; }

void WindowPrompts::SetCaption(const std::string& caption) {
  form_->setWindowTitle(QString::fromStdString(caption));
}

std::string WindowPrompts::MenuCaption(MenuCommand item) const {
  const widgets::MenuEntry* menu = menus_.Item(ItemName(item));
  return menu != nullptr ? menu->Caption().toStdString() : std::string();
}

std::int32_t WindowPrompts::MenuHelpContextId(MenuCommand item) const {
  const widgets::MenuEntry* menu = menus_.Item(ItemName(item));
  return menu != nullptr ? menu->HelpContextID() : 0;
}

bool WindowPrompts::CentroidChecked() const { return settings_.centroid; }

}  // namespace morvane::app
