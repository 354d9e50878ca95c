#pragma once

// The two parameter panels of the cool bar: the factors strip (shift distances and
// resize factor, filtered as typed) and the titles strip (the contours' titles list
// and the box in which a title is edited).

#include <QObject>

#include <string>
#include <vector>

#include "engine/contour_set.h"

class QComboBox;
class QLineEdit;

namespace morvane::app {

class FactorsStrip : public QObject {
  Q_OBJECT

 public:
  // Works on the window's boxes tbShiftX, tbShiftY and tbFactor.
  FactorsStrip(QLineEdit* shiftX, QLineEdit* shiftY, QLineEdit* factor, QObject* parent = nullptr);

  double ShiftX() const;
  double ShiftY() const;
  double Factor() const;
  // Edit > Shift Contour and Resize Contour may run, as far as the fields go.
  bool ShiftEnabled() const { return ShiftX() != 0 || ShiftY() != 0; }
  bool ResizeEnabled() const { return Factor() != 0; }

 signals:
  // A field changed and passed its filter: the enabling follows.
  void Changed();

 private:
  void Watch(QLineEdit* box, const QString& allowed);

  QLineEdit* shiftX_;
  QLineEdit* shiftY_;
  QLineEdit* factor_;
};

class TitlesStrip : public QObject {
  Q_OBJECT

 public:
  // Works on the window's cbTitles and tbTitles.
  TitlesStrip(QComboBox* list, QLineEdit* box, QObject* parent = nullptr);

  // The list follows the document's titles; the selection stays where it can.
  void SetEntries(const std::vector<engine::ContourTitle>& titles);
  // Selects an entry as the tree or the engine does (no jump to the contour); an
  // index outside the list, or an empty list, leaves it alone.
  void SelectTitle(int index);
  int SelectedIndex() const;
  // The title box differs from the selected entry's title: Set Contour Title may run.
  bool TitleEnabled() const;
  std::string EditedTitle() const;
  // Shows the selected entry's title in the box again, dropping an edit.
  void ResetBox();

 signals:
  // cbTitles_Click by the user: show the contour under this heading ("#01"), the
  // entry's number part (for a contour with a link of its own, its number).
  void ShowContour(const QString& numberPart);
  // Enter in the title box: mEditTitle_Click.
  void ApplyTitle();
  // The box or the selection changed: the enabling follows.
  void Changed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Clicked(bool byUser);
  // The selected entry's title and heading; "" when none is selected.
  std::string SelectedTitle() const;
  std::string SelectedHeading() const;

  QComboBox* list_;
  QLineEdit* box_;
  bool filling_ = false;
};

}  // namespace morvane::app
