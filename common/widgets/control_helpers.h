#pragma once

// Helpers the forms and controls share for working with controls and windows.
// Objects are taken as QObject and asked, the way a late-bound property read would
// be: a widget's objectName is its name, an "Index" property of 0 or more makes it a
// control-array member, a "Count" property counts its items. Lengths are twips.

#include <QFont>
#include <QString>

#include <iterator>

#include "platform/core/pointer_shape.h"

class QComboBox;
class QObject;
class QTreeWidget;
class QWidget;

namespace morvane::common {

// The object has a name (a non-empty objectName).
bool HasName(const QObject* object);
// The object has a window of its own: it is a widget.
bool HasHwnd(const QObject* object);
// The object is a widget inside a named container widget.
bool HasContainer(const QObject* object);
// The object's "Count" can be read and is at least 1.
bool HasItems(const QObject* object);
template <class Range>
requires requires(const Range& r) { std::size(r); }
bool HasItems(const Range& range) { return std::size(range) >= 1; }
// The object's "Index" can be read and is 0 or more.
bool IsArrayMember(const QObject* object);

// A new font with the family, size, weight, bold, italic, underline and strike-out.
QFont CloneFont(const QFont& font);

// Sizes a form or control (twips); a minimised form is left alone, and only a
// dimension that differs is written.
void SetObjectSize(QWidget* object, double widthTwips, double heightTwips);

// For a text box (QLineEdit): disables and enables it again, keeping its selection,
// and gives it the focus.
void RefocusTextBox(QWidget* control);

// Removes from a text box's or editable combo box's text every character that is not
// in allowed (ignoring case). The caret moves back by one for each character removed
// before it. True when the text changed. The change that the new text raises comes
// back here while the text is being set, and is answered false at once.
bool FilterTextChars(QWidget* control, const QString& allowed);

// Collapses the top-level nodes and removes all nodes, hidden meanwhile; an empty tree
// is left alone. A tree that was hidden before stays hidden.
void ClearTree(QTreeWidget* tree);

// The 1-based index of the KeyedToolBar button under (x, y), twips of the tool bar,
// edges included; 0 when there is none or the object is not such a tool bar. Where two
// buttons share the edge under the point, the left one.
int ToolbarButtonAt(const QObject* toolbar, double x, double y);

// The 1-based index of the PanelStatusBar panel whose span holds x (twips, edges
// included), walking from the first panel's Left by the panels' widths; y is not used.
// No panel: with clamp, 1 left of the first and the count right of the last, else 0.
// 0 when the object is not such a status bar.
int StatusBarPanelAt(const QObject* statusBar, double x, double y, bool clamp);

// Widens a combo box's drop-down list to its widest entry as measured in measure's
// font (by default the combo's container, or its window), plus a scroll bar's width
// beyond ten entries; never narrower than the combo, never past the screen's edge.
void FitComboDropWidth(QComboBox* combo, const QWidget* measure = nullptr);

// Among the child widgets of parent (the top-level windows when null), the index-th
// (0-based; below 1 the first) whose class name and caption equal the given ones,
// ignoring case; an empty class or caption matches any. Null when there is none, and
// at once when both are empty. Captions are window titles, or the "text" of controls.
QWidget* FindWindowByText(QWidget* parent, const QString& caption, const QString& className, int index);

// "Class": the widget's class name; "Text": its caption; anything else "".
QString GetWindowString(const QWidget* window, const QString& kind);

// Shows the pointer of the old platform's cursor id (a core::SystemCursor) over the
// whole screen by grabbing the mouse for window; an unknown id does nothing.
void SetHelpCursor(QWidget* window, int cursorId);

}  // namespace morvane::common
