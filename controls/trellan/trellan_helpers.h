#pragma once

// The splitter library's own helpers over widgets: the kind and name of a control as
// the splitter's checks see them, lookups by name, list searches and the cursor.

#include <QString>
#include <QWidget>

#include <cstdint>

class QComboBox;

namespace morvane::trellan {

// The control's kind: its dynamic property "TypeName" when set, else "Trellan",
// "Form" (a window), "ComboBox", "ListBox", "UserControl" (another hosted control),
// or the Qt class name without its "Q".
QString TypeNameOf(const QWidget* control);
// The index in a control array (dynamic property "Index" of 0 or more), else -1.
std::int32_t ControlIndex(const QWidget* control);
// "Name" or "Name(Index)"; empty for a control without a name.
QString ControlNameOf(const QWidget* control);
// The alignment (dynamic property "Align": 1 top, 2 bottom, 3 left, 4 right), else 0.
std::int32_t AlignOf(const QWidget* control);

// The first control of the form whose name matches "Name" (ignoring case) or
// "Name(Index)"; a plain name also finds the array member with index 0.
QWidget* FindControlByName(const QWidget* form, const QString& text);
// The controls of a form in creation order: its named descendant widgets.
QList<QWidget*> FormControls(const QWidget* form);

// The index of the entry equal to the text (ignoring case when asked), or -1; with
// select, that entry becomes the current one (none when not found).
int FindListItem(QComboBox* list, const QString& text, bool select, bool ignoreCase);

// Puts the mouse cursor on the widget's centre; returns that point on the screen.
QPoint CenterCursorOnWindow(QWidget* widget);

}  // namespace morvane::trellan
