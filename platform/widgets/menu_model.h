#pragma once

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace morvane::widgets {

class MenuModel;

// One menu entry of a form, named as the form names it (objectName). An item with
// children is a popup. The item, not its QAction, holds the state: Qt's own toggle of
// a checkable action is undone before the click reaches the handler, so a handler that
// flips Checked itself flips it once.
class MenuEntry : public QObject {
  Q_OBJECT
  Q_PROPERTY(int Index READ Index)

 public:
  QString Name() const { return objectName(); }
  // Index in the item's control array, -1 when it is in none.
  int Index() const { return index_; }
  MenuModel* Model() const { return model_; }
  MenuEntry* ParentItem() const { return parentItem_; }
  const QList<MenuEntry*>& Children() const { return children_; }
  bool IsSeparator() const { return caption_ == QLatin1String("-"); }

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  int HelpContextID() const { return helpContextId_; }
  void SetHelpContextID(int id) { helpContextId_ = id; }
  QString Tag() const { return tag_; }
  void SetTag(const QString& tag) { tag_ = tag; }
  bool Checked() const { return checked_; }
  void SetChecked(bool on);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);
  QKeySequence Shortcut() const { return shortcut_; }
  void SetShortcut(const QKeySequence& keys);
  // A picture beside the caption, or (replacesCaption) in its place.
  QPixmap Picture() const { return picture_; }
  void SetPicture(const QPixmap& picture, bool replacesCaption = false);
  // Menu item type bits; kept for callers that set them (no column breaks here).
  int TypeBits() const { return typeBits_; }
  void SetTypeBits(int bits) { typeBits_ = bits; }
  // Shows the check mark as a radio bullet (set by CheckMenuRadio).
  bool RadioMark() const { return radio_; }

  // The action the menu shows (a popup's menu action once it has children).
  QAction* Action() const { return action_; }
  QMenu* Popup() const { return popup_.get(); }

  // Does what a click by the user does: Clicked, then the model's ItemClicked.
  void Trigger();

  ~MenuEntry() override;

 signals:
  // A click on the entry, or the opening of its popup. index is Index().
  void Clicked(int index);

 private:
  friend class MenuModel;
  MenuEntry(MenuModel* model, MenuEntry* parentItem, const QString& name, const QString& caption,
            int index);
  void SyncAction();
  void MakePopup();
  void OnTriggered();

  MenuModel* model_;
  MenuEntry* parentItem_;
  QList<MenuEntry*> children_;
  int index_;
  QString caption_;
  QString tag_;
  int helpContextId_ = 0;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool radio_ = false;
  bool pictureReplacesCaption_ = false;
  int typeBits_ = 0;
  QKeySequence shortcut_;
  QPixmap picture_;
  QPointer<QAction> action_;
  std::unique_ptr<QMenu> popup_;
};

// The menus of one form: items in design order, popups built as they gain children,
// control arrays by name, radio groups.
class MenuModel : public QObject {
  Q_OBJECT

 public:
  explicit MenuModel(QObject* owner = nullptr);
  ~MenuModel() override;

  // Adds an entry at the end of parent's popup (of the menu bar when parent is null).
  // A caption of "-" makes a separator; index >= 0 makes it a control-array member.
  MenuEntry* Add(MenuEntry* parent, const QString& name, const QString& caption, int index = -1);

  // The entry by name (and index for array members); null when there is none.
  MenuEntry* Item(const QString& name, int index = -1) const;
  // The members of a control array, in index order.
  QList<MenuEntry*> Array(const QString& name) const;
  // Every entry, in design order (popups before their entries).
  const QList<MenuEntry*>& Items() const { return items_; }
  QList<MenuEntry*> TopLevel() const;

  // Shows the members' check marks as radio bullets.
  void MakeRadioGroup(const QList<MenuEntry*>& members);

  // Puts the top-level entries on a menu bar, in order, and those added later too.
  void Attach(QMenuBar* bar);
  QMenuBar* Bar() const { return bar_; }

 signals:
  void ItemClicked(MenuEntry* item);

 private:
  friend class MenuEntry;
  QList<MenuEntry*> items_;
  QPointer<QMenuBar> bar_;
  std::vector<std::unique_ptr<QActionGroup>> groups_;
};

}  // namespace morvane::widgets
