#pragma once

// The splitter library's own helpers over widgets: the kind and name of a control as
// the splitter's checks see them, lookups by name, list searches and the cursor.

#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>

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

// The number a text begins with, by the old platform's leading-number rule: blanks
// skipped, a sign, digits with a decimal part and an exponent, "&H" and "&O" for hex
// and octal ("2abc" is 2, a text without a leading number 0). Nothing when the text
// begins with a number too large to read.
std::optional<double> LeadingNumber(const QString& text);

// The first control of the form whose name matches "Name" (ignoring case) or
// "Name(Index)"; a plain name also finds the array member with index 0. The index
// is the leading number of the text between the brackets ("lblArr(2abc)" finds
// lblArr(2)).
QWidget* FindControlByName(const QWidget* form, const QString& text);
// The controls of a form in creation order: its named descendant widgets.
QList<QWidget*> FormControls(const QWidget* form);

// The index of the entry equal to the text (ignoring case when asked), or -1; with
// select, that entry becomes the current one (none when not found).
int FindListItem(QComboBox* list, const QString& text, bool select, bool ignoreCase);

// Puts the mouse cursor on the widget's centre; returns that point on the screen.
QPoint CenterCursorOnWindow(QWidget* widget);

}  // namespace morvane::trellan
