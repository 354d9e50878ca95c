#pragma once

#include <QPointer>
#include <QWidget>

#include <array>

#include "platform/widgets/automation/property_page.h"

class QComboBox;
class QLabel;

namespace morvane::trellan {

class Trellan;

// The Controls property page: the two guided controls chosen from lists of the
// splitter's siblings that it can guide. The library's class factory makes it for a
// host (automation::PropertyPage); the host gives it the selected splitter, enables
// its Apply button on a change and applies it. A choice follows the same rules
// whether a click or a key made it.
class ControlsPage : public QWidget, public automation::PropertyPage {
  Q_OBJECT

 public:
  explicit ControlsPage(QWidget* parent = nullptr);

  // automation::PropertyPage
  QWidget* widget() override { return this; }
  QString caption() const override { return QStringLiteral("Controls"); }
  // The first control, when it is a splitter of this library.
  void SetObjects(const QList<automation::Control*>& objects) override;
  // Writes both choices; once they are written the page holds no change.
  void ApplyChanges() override;
  void EditProperty(const QString& name) override { editProperty(name); }

  // Fills the lists from the target's siblings (or shows why nothing can be chosen).
  void setTarget(Trellan* target);
  // Writes both choices to the target; its errors reach the caller.
  void apply();
  bool isChanged() const { return Changed(); }
  // Focuses the list of "FirstControl" or "SecondControl".
  void editProperty(const QString& name);
  // A choice in a list, as the user's click makes it.
  void choose(int slot, int index);

  QComboBox* list(int slot) const { return lists_.at(static_cast<std::size_t>(slot)); }
  QLabel* heading(int slot) const { return headings_.at(static_cast<std::size_t>(slot)); }
  QLabel* warning() const { return warning_; }

 signals:
  void changed(bool isChanged);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Announce(bool on);
  void Layout();
  // The rules of a choice, run for each change of a list's entry.
  void FollowChoice(int slot);
  void KeyUp(int slot, int key, Qt::KeyboardModifiers modifiers);

  QPointer<Trellan> target_;
  std::array<QLabel*, 2> headings_{};
  std::array<QComboBox*, 2> lists_{};
  QLabel* warning_ = nullptr;
  bool filling_ = false;    // the lists are being filled: no choice is made
  bool following_ = false;  // a choice's rules are running: their own changes are part of it
};

}  // namespace morvane::trellan
