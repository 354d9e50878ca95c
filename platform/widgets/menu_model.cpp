#include "platform/widgets/menu_model.h"

#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include <algorithm>

namespace morvane::widgets {

MenuEntry::MenuEntry(MenuModel* model, MenuEntry* parentItem, const QString& name,
                     const QString& caption, int index)
    : QObject(model), model_(model), parentItem_(parentItem), index_(index), caption_(caption) {
  setObjectName(name);
  action_ = new QAction(model);
  connect(action_, &QAction::triggered, this, &MenuEntry::OnTriggered);
  SyncAction();
}

MenuEntry::~MenuEntry() = default;

void MenuEntry::SyncAction() {
  if (!action_) return;
  const QSignalBlocker block(action_);
  action_->setSeparator(IsSeparator());
  action_->setText(IsSeparator() || pictureReplacesCaption_ ? QString() : caption_);
  action_->setIcon(picture_.isNull() ? QIcon() : QIcon(picture_));
  action_->setEnabled(enabled_);
  action_->setVisible(visible_);
  if (!popup_) {
    action_->setShortcut(shortcut_);
    // Only a checked entry (or a radio member) is checkable, so unchecked entries
    // show no empty indicator.
    action_->setCheckable(checked_ || radio_);
    action_->setChecked(checked_);
  }
}

void MenuEntry::SetCaption(const QString& caption) {
  caption_ = caption;
  SyncAction();
}

void MenuEntry::SetChecked(bool on) {
  checked_ = on;
  SyncAction();
}

void MenuEntry::SetEnabled(bool on) {
  enabled_ = on;
  SyncAction();
}

void MenuEntry::SetVisible(bool on) {
  visible_ = on;
  SyncAction();
}

void MenuEntry::SetShortcut(const QKeySequence& keys) {
  shortcut_ = keys;
  SyncAction();
}

void MenuEntry::SetPicture(const QPixmap& picture, bool replacesCaption) {
  picture_ = picture;
  pictureReplacesCaption_ = replacesCaption && !picture.isNull();
  SyncAction();
}

void MenuEntry::OnTriggered() {
  // Qt has already flipped a checkable action; the model's state wins, for this entry
  // and for the other members of its radio group.
  SyncAction();
  if (QActionGroup* g = action_ ? action_->actionGroup() : nullptr) {
    for (MenuEntry* other : model_->Items()) {
      if (other != this && other->action_ && other->action_->actionGroup() == g) other->SyncAction();
    }
  }
  Trigger();
}

void MenuEntry::Trigger() {
  emit Clicked(index_);
  emit model_->ItemClicked(this);
}

void MenuEntry::MakePopup() {
  if (popup_) return;
  popup_ = std::make_unique<QMenu>();
  QAction* old = action_;
  QAction* replacement = popup_->menuAction();
  QWidget* container = parentItem_ ? static_cast<QWidget*>(parentItem_->popup_.get())
                                   : static_cast<QWidget*>(model_->bar_.data());
  if (container && old) {
    container->insertAction(old, replacement);
    container->removeAction(old);
  }
  action_ = replacement;
  delete old;
  connect(popup_.get(), &QMenu::aboutToShow, this, &MenuEntry::Trigger);
  SyncAction();
}

MenuModel::MenuModel(QObject* owner) : QObject(owner) {}

MenuModel::~MenuModel() {
  // Popups hold their entries' actions; take the entries down before the groups.
  for (MenuEntry* item : items_) item->popup_.reset();
  qDeleteAll(items_);
  items_.clear();
}

MenuEntry* MenuModel::Add(MenuEntry* parent, const QString& name, const QString& caption, int index) {
  auto* item = new MenuEntry(this, parent, name, caption, index);
  if (parent) {
    parent->MakePopup();
    // In design order an entry follows everything already under its popup.
    MenuEntry* last = parent;
    while (!last->children_.isEmpty()) last = last->children_.constLast();
    items_.insert(items_.indexOf(last) + 1, item);
    parent->children_.append(item);
    parent->popup_->addAction(item->action_);
  } else {
    items_.append(item);
    if (bar_) bar_->addAction(item->action_);
  }
  return item;
}

MenuEntry* MenuModel::Item(const QString& name, int index) const {
  for (MenuEntry* item : items_) {
    if (item->Name() == name && item->Index() == index) return item;
  }
  return nullptr;
}

QList<MenuEntry*> MenuModel::Array(const QString& name) const {
  QList<MenuEntry*> members;
  for (MenuEntry* item : items_) {
    if (item->Name() == name && item->Index() >= 0) members.append(item);
  }
  std::stable_sort(members.begin(), members.end(),
                   [](const MenuEntry* a, const MenuEntry* b) { return a->Index() < b->Index(); });
  return members;
}

QList<MenuEntry*> MenuModel::TopLevel() const {
  QList<MenuEntry*> top;
  for (MenuEntry* item : items_) {
    if (!item->ParentItem()) top.append(item);
  }
  return top;
}

void MenuModel::MakeRadioGroup(const QList<MenuEntry*>& members) {
  if (members.isEmpty()) return;
  if (members.front()->action_ && members.front()->action_->actionGroup()) {
    for (MenuEntry* m : members) m->SyncAction();
    return;
  }
  auto group = std::make_unique<QActionGroup>(nullptr);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (MenuEntry* m : members) {
    m->radio_ = true;
    if (m->action_ && !m->popup_) group->addAction(m->action_);
    m->SyncAction();
  }
  groups_.push_back(std::move(group));
}

void MenuModel::Attach(QMenuBar* bar) {
  bar_ = bar;
  if (!bar) return;
  for (MenuEntry* item : TopLevel()) bar->addAction(item->action_);
}

}  // namespace morvane::widgets
