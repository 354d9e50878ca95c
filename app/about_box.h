#pragma once

// fwAbout: the about box, cut to the shape of its picture by the hosted image control
// liAbout. It shows the program's name, version, legal notice and two links (opened
// through the shell) and closes with Close. Its caller makes a fresh one each time.

#include <QDialog>
#include <QString>

#include <memory>

#include "platform/widgets/automation/control_site.h"

class QLabel;
class QPushButton;

namespace morvane::automation {
class ClassRegistry;
class Control;
}  // namespace morvane::automation
namespace morvane::core {
struct VersionRecord;
}

namespace morvane::app {

// The platform line of the about box, set by the build beside the version texts.
QString PlatformLine();

// ltAbout's text: the platform line, the version and the legal notice, one a line.
QString AboutText(const core::VersionRecord& record);

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  // Raises the automation error of the registry when the image control is missing.
  AboutBox(QWidget* owner, automation::ClassRegistry& registry, const core::VersionRecord& record);
  ~AboutBox() override;

  automation::Control* Image() const { return liAbout_; }
  QWidget* ImageWidget() const;

  void ltSite_Click();
  void ltMail_Click();
  // The pointer moved over Close (button coordinates, pixels).
  void bbClose_MouseMove(int x, int y);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString title_;
  automation::ControlSite site_;
  automation::Control* liAbout_ = nullptr;
  QLabel* ltTitle_ = nullptr;
  QLabel* ltSite_ = nullptr;
  QLabel* ltMail_ = nullptr;
  QLabel* ltAbout_ = nullptr;
  QPushButton* bbClose_ = nullptr;
};

}  // namespace morvane::app
