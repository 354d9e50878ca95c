#include "common/widgets/menu_helpers.h"

#include "platform/widgets/menu_model.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace morvane::common {

void SetMenuShortcutText(widgets::MenuEntry* item, const QString& shortcut) {
  if (!item) return;
  const QString caption = item->Caption();
  const qsizetype tab = caption.indexOf(QLatin1Char('\t'));
  const QString base = tab < 0 ? caption : caption.left(tab);
  item->SetCaption(shortcut.isEmpty() ? base : base + QLatin1Char('\t') + shortcut);
}

int MenuItemPosition(const widgets::MenuEntry* item, const widgets::MenuEntry* parent) {
  if (!item || (parent && parent->Model() != item->Model())) return -1;
  int counter = -1, atParent = 0;
  for (const widgets::MenuEntry* m : item->Model()->Items()) {
    if (m->Visible()) ++counter;
    if (m == parent) {
      atParent = counter;
    } else if (m == item) {
      return parent ? counter - atParent - 1 : counter;
    }
  }
  return -1;
}

void CheckMenuRadio(int index, const QList<widgets::MenuEntry*>& group) {
  if (group.isEmpty() || !group.front() || index < 0 || index >= group.size()) return;
  for (widgets::MenuEntry* m : group) {
    if (m) m->SetChecked(false);
  }
  group[index]->SetChecked(true);
  group.front()->Model()->MakeRadioGroup(group);
}

QPixmap SetMenuColorSwatch(const QWidget* form, widgets::MenuEntry* item, gui::OleColor color,
                           bool withCaption) {
  if (!item) return {};
  const QStyle* style = QApplication::style();
  // The check-mark cell of a menu entry, less a small margin, as on the old platform.
  const int check = style->pixelMetric(QStyle::PM_SmallIconSize);
  const int w = std::max(check - 3, 1), h = std::max(check - 3, 1);
  const int top = withCaption ? 1 : 0;
  const QFont font = form ? form->font() : QApplication::font("QMenu");
  const QFontMetrics fm(font);
  QString text = item->Caption();
  text.remove(QLatin1Char('&'));
  QSize size(w, h);
  if (withCaption) {
    const int menuHeight = style->pixelMetric(QStyle::PM_SmallIconSize) + 4;
    size = QSize(fm.horizontalAdvance(text) + w + 3, std::max(fm.height(), menuHeight - 4));
  }
  const QColor menu =
      QColor::fromRgb(gui::ResolveColor(core::SystemColorValue(core::SystemColor::kMenuBar)));
  const QColor menuText =
      QColor::fromRgb(gui::ResolveColor(core::SystemColorValue(core::SystemColor::kMenuText)));
  QPixmap bitmap(size);
  bitmap.fill(menu);
  QPainter p(&bitmap);
  if (withCaption) {
    p.setFont(font);
    p.setPen(menuText);
    p.drawText(QRect(w + 3, 0, size.width() - w - 3, size.height()), Qt::AlignLeft | Qt::AlignVCenter,
               text);
  }
  const QRect swatch(0, top, w, h);
  p.fillRect(swatch, QColor::fromRgb(gui::ResolveColor(color)));
  p.setPen(menuText);
  p.drawRect(swatch.adjusted(0, 0, -1, -1));
  p.end();
  // Qt menus draw an entry's picture at icon size beside its caption, so the entry
  // shows the swatch and keeps its caption; the whole bitmap goes to the caller.
  item->SetPicture(withCaption ? bitmap.copy(swatch) : bitmap);
  return bitmap;
}

namespace {

QList<widgets::MenuEntry*> VisibleOf(const QList<widgets::MenuEntry*>& items) {
  QList<widgets::MenuEntry*> shown;
  for (widgets::MenuEntry* m : items) {
    if (m->Visible()) shown.append(m);
  }
  return shown;
}

}  // namespace

bool ModifyMenuItemType(widgets::MenuModel& model, int bits, std::span<const int> path) {
  if (path.empty()) return false;
  QList<widgets::MenuEntry*> level = VisibleOf(model.TopLevel());
  widgets::MenuEntry* entry = nullptr;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const int pos = path[i];
    if (pos < 0 || pos >= level.size()) return false;
    entry = level[pos];
    if (i + 1 < path.size()) level = VisibleOf(entry->Children());
  }
  auto type = static_cast<unsigned>(entry->TypeBits());
  if (bits >= 0) {
    type |= static_cast<unsigned>(bits);
  } else {
    const unsigned clear = 0u - static_cast<unsigned>(bits);  // |bits|, also for the lowest int
    if (type & clear) type &= ~clear;
  }
  entry->SetTypeBits(static_cast<int>(type));
  return true;
}

}  // namespace morvane::common
