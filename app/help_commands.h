#pragma once

// The commands that reach outside the program: the painter on the current image, the
// update check and its popup, the product page, the feedback mail and the about box.
// Addresses come from the two items of the version record's comments (the maker's web
// address, then a "mailto:" link), the program title and the executable's name.

#include <QString>

#include <functional>
#include <string>

#include "platform/core/version_record.h"

class QWidget;

namespace morvane::automation {
class ClassRegistry;
}
namespace morvane::widgets {
class MessagePopup;
class UpdateCheck;
}  // namespace morvane::widgets

namespace morvane::app {

class AboutBox;
class DialogService;

struct HelpCommandsContext {
  QWidget* form = nullptr;
  automation::ClassRegistry* registry = nullptr;
  widgets::UpdateCheck* update = nullptr;
  DialogService* dialogs = nullptr;  // shows the update popup
  core::VersionRecord record;
  QString exeName;  // the executable's file name without extension
  std::function<std::string()> painterPath;
  std::function<std::string()> imagePath;
  // Called with each about box once it is shown (tests close it from here).
  std::function<void(AboutBox&)> aboutShown;
  // Called with the update popup once it is shown.
  std::function<void(widgets::MessagePopup&)> popupShown;
};

// The popup's rich text for a newer version; the version is escaped, so it is text.
QString UpdatePopupText(const QString& version, const QString& setupAddress);

class HelpCommands {
 public:
  explicit HelpCommands(HelpCommandsContext context);

  void SetAboutShown(std::function<void(AboutBox&)> shown) { context_.aboutShown = std::move(shown); }
  void SetPopupShown(std::function<void(widgets::MessagePopup&)> shown) {
    context_.popupShown = std::move(shown);
  }

  QString ProductPage() const;
  QString SetupAddress() const;
  QString FeedbackAddress() const;

  void mFilePainter_Click();
  void mHelpUpdate_Click();
  void mHelpWeb_Click();
  void mHelpMail_Click();
  void mHelpAbout_Click();
  void ucCarrow_LinkClick(widgets::MessagePopup& popup, int number);

 private:
  QString Item(int index) const;
  QString Title() const;

  HelpCommandsContext context_;
};

}  // namespace morvane::app
