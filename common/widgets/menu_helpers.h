#pragma once

// Helpers for single menu entries of a form's MenuModel: shortcut texts, positions,
// radio marks, colour swatches and item type bits.

#include "platform/gui/ole_color.h"

#include <QList>
#include <QPixmap>
#include <QString>

#include <span>

class QWidget;

namespace morvane::widgets {
class MenuEntry;
class MenuModel;
}  // namespace morvane::widgets

namespace morvane::common {

// The caption up to its first TAB, then a TAB and the shortcut (nothing after the
// base for an empty shortcut). Calling it twice leaves one shortcut.
void SetMenuShortcutText(widgets::MenuEntry* item, const QString& shortcut);

// The number of visible entries of the form's menus, in design order, between parent
// and item (nested popups' entries count too): the item's place in parent's popup.
// Without a parent, its place among all visible entries. -1 without an item or when
// parent belongs to another form.
int MenuItemPosition(const widgets::MenuEntry* item, const widgets::MenuEntry* parent = nullptr);

// Unchecks the group's entries and checks entry index, shown as radio bullets. Does
// nothing for an empty group, a missing first entry or an index outside the group.
void CheckMenuRadio(int index, const QList<widgets::MenuEntry*>& group);

// A swatch of colour (framed in the menu text colour, on the menu colour) made the
// entry's picture, shown beside its caption. Returns the bitmap: the swatch, or with
// withCaption the swatch followed by the caption (without "&") in form's font (the
// menu font when null); null without an item.
QPixmap SetMenuColorSwatch(const QWidget* form, widgets::MenuEntry* item, gui::OleColor color,
                           bool withCaption);

// The type bits of the entry at a position path (positions of visible entries from the
// menu bar down): bits >= 0 are added, bits < 0 remove the bits of their absolute
// value when any is set. False when the path names no entry. Column breaks have no
// effect on these menus; the bits are kept for whoever asks.
bool ModifyMenuItemType(widgets::MenuModel& model, int bits, std::span<const int> path);

}  // namespace morvane::common
