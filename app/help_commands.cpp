#include "app/help_commands.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "app/about_box.h"
#include "app/dialog_service.h"
#include "platform/core/message_box.h"
#include "platform/widgets/desktop_services.h"
#include "platform/widgets/message_popup.h"
#include "platform/widgets/update_check.h"

namespace morvane::app {

namespace {

// Runs shown with the dialog once its own event loop runs.
template <typename Dialog>
void WhenShown(Dialog& dialog, const std::function<void(Dialog&)>& shown) {
  if (!shown) return;
  QPointer<Dialog> alive(&dialog);
  QTimer::singleShot(0, &dialog, [alive, shown] {
    if (alive) shown(*alive);
  });
}

}  // namespace

QString UpdatePopupText(const QString& version, const QString& setupAddress) {
  return QStringLiteral("{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue255;}\\f0\\fs16 Version ") +
         widgets::EscapePopupText(version) +
         QStringLiteral(" is now available to download:\\par \\cf1{\\ul ") +
         widgets::EscapePopupText(setupAddress) + QStringLiteral("}}");
}

HelpCommands::HelpCommands(HelpCommandsContext context) : context_(std::move(context)) {}

QString HelpCommands::Item(int index) const {
  return QString::fromStdString(context_.record.comments).split(QStringLiteral(", ")).value(index);
}

QString HelpCommands::Title() const { return QString::fromStdString(context_.record.title); }

QString HelpCommands::ProductPage() const {
  return Item(0) + QStringLiteral("/Products/") + Title() + QStringLiteral("/");
}

QString HelpCommands::SetupAddress() const {
  return ProductPage() + context_.exeName + QStringLiteral("_Setup.exe");
}

QString HelpCommands::FeedbackAddress() const {
  return Item(1) + QStringLiteral("?subject=") + Title() + QStringLiteral(" Bug Report");
}

void HelpCommands::mFilePainter_Click() {
  const QString painter =
      QString::fromStdString(context_.painterPath ? context_.painterPath() : std::string());
  if (painter.isEmpty()) return;
  const QString image =
      QString::fromStdString(context_.imagePath ? context_.imagePath() : std::string());
  // One argument, no shell: a path with blanks reaches the painter whole.
  widgets::Shell().Start(painter, image.isEmpty() ? QStringList() : QStringList{image});
}

void HelpCommands::mHelpWeb_Click() { widgets::Shell().Open(ProductPage()); }

void HelpCommands::mHelpMail_Click() { widgets::Shell().Open(FeedbackAddress()); }

void HelpCommands::mHelpAbout_Click() {
  if (context_.registry == nullptr) return;
  // A fresh box each time, released when it closes.
  AboutBox box(context_.form, *context_.registry, context_.record);
  WhenShown<AboutBox>(box, context_.aboutShown);
  box.exec();
}

void HelpCommands::mHelpUpdate_Click() {
  if (context_.update == nullptr || context_.dialogs == nullptr) return;
  QString newest;
  int answer = widgets::kUpdateUnreachable;
  {
    // The window takes no input while the check waits for its answer.
    QPointer<QWidget> form(context_.form);
    if (form) form->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    answer = context_.update->Check(newest);
    QApplication::restoreOverrideCursor();
    if (form) form->setEnabled(true);
  }
  switch (answer) {
    case widgets::kUpdateUnreachable:
      widgets::MessageBoxes().Show(
          context_.form, QStringLiteral("Remote resource is not accessible now.\r\nPlease try later."),
          core::kMbIconStop, Title());
      return;
    case widgets::kUpToDate:
      widgets::MessageBoxes().Show(context_.form,
                                   QStringLiteral("Your copy of the application is up to date."),
                                   core::kMbIconInformation, Title());
      return;
    case widgets::kUpdateAvailable: {
      DialogService& dialogs = *context_.dialogs;
      dialogs.ClearButtons();
      widgets::MessagePopup::Button& cancel = dialogs.AddButton(QStringLiteral("Cancel"));
      cancel.cancel = true;
      cancel.isDefault = false;
      dialogs.AddButton(QStringLiteral("Download")).isDefault = false;
      dialogs.LinkClick = [this](widgets::MessagePopup& popup, int number) {
        ucCarrow_LinkClick(popup, number);
      };
      WhenShown<widgets::MessagePopup>(dialogs.PopupControl(), context_.popupShown);
      if (dialogs.Popup(UpdatePopupText(newest, SetupAddress()), Title()) == 2)
        widgets::Shell().Open(SetupAddress());
      return;
    }
    default: return;
  }
}

void HelpCommands::ucCarrow_LinkClick(widgets::MessagePopup& popup, int number) {
  if (number != 2) return;
  popup.Hide();
  widgets::Shell().Open(SetupAddress());
}

}  // namespace morvane::app
