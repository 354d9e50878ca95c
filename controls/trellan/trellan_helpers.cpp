#include "controls/trellan/trellan_helpers.h"

#include <QComboBox>
#include <QCursor>
#include <QListView>

#include <cctype>
#include <string>
#include <string_view>

#include "common/currency.h"
#include "controls/trellan/trellan.h"
#include "controls/trellan/trellan_layout.h"

namespace morvane::trellan {

QString TypeNameOf(const QWidget* control) {
  if (control == nullptr) return QStringLiteral("Nothing");
  const QVariant named = control->property("TypeName");
  if (named.isValid()) return named.toString();
  if (dynamic_cast<const Trellan*>(control) != nullptr) return QStringLiteral("Trellan");
  if (control->isWindow()) return QStringLiteral("Form");
  if (qobject_cast<const QComboBox*>(control) != nullptr) return QStringLiteral("ComboBox");
  if (qobject_cast<const QListView*>(control) != nullptr &&
      QString::fromLatin1(control->metaObject()->className()).startsWith(QLatin1String("QList"))) {
    return QStringLiteral("ListBox");
  }
  if (dynamic_cast<const automation::Control*>(control) != nullptr) return QStringLiteral("UserControl");
  QString name = QString::fromLatin1(control->metaObject()->className());
  name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
  if (name.size() > 1 && name.startsWith(QLatin1Char('Q')) && name[1].isUpper()) name.remove(0, 1);
  return name;
}

std::int32_t ControlIndex(const QWidget* control) {
  if (control == nullptr) return -1;
  bool ok = false;
  const int index = control->property("Index").toInt(&ok);
  return ok && index >= 0 ? index : -1;
}

QString ControlNameOf(const QWidget* control) {
  if (control == nullptr || control->objectName().isEmpty()) return {};
  const std::int32_t index = ControlIndex(control);
  return index >= 0 ? QStringLiteral("%1(%2)").arg(control->objectName()).arg(index)
                    : control->objectName();
}

std::int32_t AlignOf(const QWidget* control) {
  if (control == nullptr) return 0;
  const QVariant align = control->property("Align");
  return align.isValid() ? align.toInt() : 0;
}

QList<QWidget*> FormControls(const QWidget* form) {
  QList<QWidget*> controls;
  if (form == nullptr) return controls;
  const QList<QWidget*> all = form->findChildren<QWidget*>();
  for (QWidget* w : all) {
    if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))) controls << w;
  }
  return controls;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether the text begins with a number at all, whatever its size.
bool BeginsWithNumber(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  if (i + 1 < s.size() && s[i] == '&') {
    const char kind = static_cast<char>(s[i + 1] | 0x20);
    for (i += 2; i < s.size() && IsBlank(s[i]); ++i) {
    }
    if (i >= s.size()) return false;
    const char d = s[i];
    if (kind == 'o') return d >= '0' && d <= '7';
    return kind == 'h' && std::isxdigit(static_cast<unsigned char>(d)) != 0;
  }
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (IsBlank(s[i])) continue;
    if (s[i] >= '0' && s[i] <= '9') return true;
    if (s[i] != '.' || point) return false;
    point = true;
  }
  return false;
}

}  // namespace

std::optional<double> LeadingNumber(const QString& text) {
  const std::string utf8 = text.toStdString();
  if (const std::optional<common::Currency> number = common::Currency::Parse(utf8))
    return number->ToDouble();
  if (BeginsWithNumber(utf8)) return std::nullopt;
  return 0.0;
}

QWidget* FindControlByName(const QWidget* form, const QString& text) {
  if (text.isEmpty() || form == nullptr) return nullptr;
  QString base = text;
  std::int32_t wanted = 0;
  const qsizetype open = text.indexOf(QLatin1Char('('));
  if (open == 0) {
    wanted = -1;
  } else if (open > 0) {
    base = text.left(open);
    const qsizetype close = text.indexOf(QLatin1Char(')'), open);
    const std::optional<double> index =
        LeadingNumber(text.mid(open + 1, close < 0 ? -1 : close - open - 1));
    // No control has an index beyond the 32-bit range.
    if (!index || !(*index > -2147483648.5 && *index < 2147483647.5)) return nullptr;
    wanted = core::RoundToInt32(*index);
  }
  for (QWidget* control : FormControls(form)) {
    if (control->objectName().compare(base, Qt::CaseInsensitive) != 0) continue;
    const std::int32_t index = ControlIndex(control);
    if (index >= 0 && index != wanted) continue;
    return control;
  }
  return nullptr;
}

int FindListItem(QComboBox* list, const QString& text, bool select, bool ignoreCase) {
  if (list == nullptr) return -1;
  if (text.isEmpty() || list->count() == 0) {
    if (select) list->setCurrentIndex(-1);
    return -1;
  }
  const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
  for (int i = 0; i < list->count(); ++i) {
    if (list->itemText(i).compare(text, cs) == 0) {
      if (select) list->setCurrentIndex(i);
      return i;
    }
  }
  if (select) list->setCurrentIndex(-1);
  return -1;
}

QPoint CenterCursorOnWindow(QWidget* widget) {
  const QPoint centre = widget->mapToGlobal(QPoint(widget->width() / 2, widget->height() / 2));
  QCursor::setPos(centre);
  return centre;
}

}  // namespace morvane::trellan
