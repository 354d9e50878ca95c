#pragma once

// The two parameter panels of the cool bar: the factors strip (shift distances and
// resize factor, filtered as typed) and the titles strip (the contours' titles list
// and the box in which a title is edited). Each builds its panel with its labels,
// fields and tool bar; the window places them.

#include <QObject>

#include <string>
#include <vector>

#include "app/window_layout.h"
#include "engine/contour_set.h"
#include "engine/window_roles.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace morvane::widgets {
class KeyedToolBar;
}

namespace morvane::app {

// What both strips are: a panel of the cool bar with its own tool bar, pbToolbar(index),
// and labels whose mnemonics the window routes.
class FieldStrip : public QObject {
 public:
  QWidget* Panel() const { return panel_; }
  widgets::KeyedToolBar* Bar() const { return bar_; }
  // The strip's labels, in the order they were built.
  const std::vector<QLabel*>& Labels() const { return labels_; }

 protected:
  FieldStrip(QWidget* client, const char* panelName, QObject* parent);
  // pbToolbar(index) on the panel, as Bar(). The strips build their widgets in the order
  // they always had, the tool bar first or last.
  void AddToolBar(int index);
  // A label on the panel, added to Labels().
  QLabel* AddLabel(const char* name, const char* text);

  QWidget* panel_;
  widgets::KeyedToolBar* bar_ = nullptr;

 private:
  std::vector<QLabel*> labels_;
};

class FactorsStrip : public FieldStrip {
  Q_OBJECT

 public:
  // Builds pbFactors on the client: pbToolbar(2), tlShiftX, tbShiftX, tlShiftY, tbShiftY,
  // tlFactor and tbFactor.
  explicit FactorsStrip(QWidget* client, QObject* parent = nullptr);

  // Puts the tool bar, the labels and the fields where the layout says.
  void Place(const FactorsLayout& layout);

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

  QLabel* tlShiftX_ = nullptr;
  QLineEdit* shiftX_ = nullptr;
  QLabel* tlShiftY_ = nullptr;
  QLineEdit* shiftY_ = nullptr;
  QLabel* tlFactor_ = nullptr;
  QLineEdit* factor_ = nullptr;
};

class TitlesStrip : public FieldStrip, public engine::TitlesView {
  Q_OBJECT

 public:
  // Builds pbTitles on the client: tlDigits, tlTitles, cbTitles, tbTitles and
  // pbToolbar(3). The digits box is hosted on the panel by the window.
  explicit TitlesStrip(QWidget* client, QObject* parent = nullptr);

  QLabel* DigitsLabel() const { return tlDigits_; }
  QComboBox* List() const { return list_; }
  QLineEdit* Box() const { return box_; }
  // Puts the labels, the list with its box over it and the tool bar where the layout
  // says; the digits box is the window's.
  void Place(const TitlesLayout& layout);

  // The list follows the document's titles; the selection stays where it can.
  void SetEntries(const std::vector<engine::ContourTitle>& titles);
  // Selects an entry as the tree or the engine does (no jump to the contour); an
  // index outside the list, or an empty list, leaves it alone.
  void SelectTitle(std::int32_t index) override;
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

  QLabel* tlDigits_;
  QLabel* tlTitles_;
  QComboBox* list_;
  QLineEdit* box_;
  bool filling_ = false;
};

}  // namespace morvane::app
