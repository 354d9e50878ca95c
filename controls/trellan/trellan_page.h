#pragma once

#include <QPointer>
#include <QWidget>

#include <array>

class QComboBox;
class QLabel;

namespace morvane::trellan {

class Trellan;

// The Controls property page: the two guided controls chosen from lists of the
// splitter's siblings that it can guide. A host puts it into a dialog, gives it the
// selected splitter (setTarget), enables its Apply button on changed(), and calls
// apply().
class ControlsPage : public QWidget {
  Q_OBJECT

 public:
  explicit ControlsPage(QWidget* parent = nullptr);

  // Fills the lists from the target's siblings (or shows why nothing can be chosen).
  void setTarget(Trellan* target);
  // Writes both choices to the target; its errors reach the caller.
  void apply();
  bool isChanged() const { return changed_; }
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
  void SetChanged(bool on);
  void Layout();
  void KeyUp(int slot, int key, Qt::KeyboardModifiers modifiers);

  QPointer<Trellan> target_;
  std::array<QLabel*, 2> headings_{};
  std::array<QComboBox*, 2> lists_{};
  QLabel* warning_ = nullptr;
  bool changed_ = false;
};

}  // namespace morvane::trellan
