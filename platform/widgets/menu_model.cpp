#include "platform/widgets/menu_model.h"

#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include <algorithm>

namespace morvane::widgets {

MenuItem::MenuItem(MenuModel* model, MenuItem* parentItem, const QString& name,
                   const QString& caption, int index)
    : QObject(model), model_(model), parentItem_(parentItem), index_(index), caption_(caption) {
  setObjectName(name);
  action_ = new QAction(model);
  connect(action_, &QAction::triggered, this, &MenuItem::OnTriggered);
  SyncAction();
}

MenuItem::~MenuItem() = default;

void MenuItem::SyncAction() {
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

void MenuItem::SetCaption(const QString& caption) {
  caption_ = caption;
  SyncAction();
}

void MenuItem::SetChecked(bool on) {
  checked_ = on;
  SyncAction();
}

void MenuItem::SetEnabled(bool on) {
  enabled_ = on;
  SyncAction();
}

void MenuItem::SetVisible(bool on) {
  visible_ = on;
  SyncAction();
}

void MenuItem::SetShortcut(const QKeySequence& keys) {
  shortcut_ = keys;
  SyncAction();
}

void MenuItem::SetPicture(const QPixmap& picture, bool replacesCaption) {
  picture_ = picture;
  pictureReplacesCaption_ = replacesCaption && !picture.isNull();
  SyncAction();
}

void MenuItem::OnTriggered() {
  // Qt has already flipped a checkable action; the model's state wins, for this entry
  // and for the other members of its radio group.
  SyncAction();
  if (QActionGroup* g = action_ ? action_->actionGroup() : nullptr) {
    for (MenuItem* other : model_->Items()) {
      if (other != this && other->action_ && other->action_->actionGroup() == g) other->SyncAction();
    }
  }
  Trigger();
}

void MenuItem::Trigger() {
  emit Clicked(index_);
  emit model_->ItemClicked(this);
}

void MenuItem::MakePopup() {
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
  connect(popup_.get(), &QMenu::aboutToShow, this, &MenuItem::Trigger);
  SyncAction();
}

MenuModel::MenuModel(QObject* owner) : QObject(owner) {}

MenuModel::~MenuModel() {
  // Popups hold their entries' actions; take the entries down before the groups.
  for (MenuItem* item : items_) item->popup_.reset();
  qDeleteAll(items_);
  items_.clear();
}

MenuItem* MenuModel::Add(MenuItem* parent, const QString& name, const QString& caption,
                         int index) {
  auto* item = new MenuItem(this, parent, name, caption, index);
  if (parent) {
    parent->MakePopup();
    // In design order an entry follows everything already under its popup.
    MenuItem* last = parent;
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

MenuItem* MenuModel::Item(const QString& name, int index) const {
  for (MenuItem* item : items_) {
    if (item->Name() == name && item->Index() == index) return item;
  }
  return nullptr;
}

QList<MenuItem*> MenuModel::Array(const QString& name) const {
  QList<MenuItem*> members;
  for (MenuItem* item : items_) {
    if (item->Name() == name && item->Index() >= 0) members.append(item);
  }
  std::stable_sort(members.begin(), members.end(),
                   [](const MenuItem* a, const MenuItem* b) { return a->Index() < b->Index(); });
  return members;
}

QList<MenuItem*> MenuModel::TopLevel() const {
  QList<MenuItem*> top;
  for (MenuItem* item : items_) {
    if (!item->ParentItem()) top.append(item);
  }
  return top;
}

void MenuModel::MakeRadioGroup(const QList<MenuItem*>& members) {
  if (members.isEmpty()) return;
  if (members.front()->action_ && members.front()->action_->actionGroup()) {
    for (MenuItem* m : members) m->SyncAction();
    return;
  }
  auto group = std::make_unique<QActionGroup>(nullptr);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (MenuItem* m : members) {
    m->radio_ = true;
    if (m->action_ && !m->popup_) group->addAction(m->action_);
    m->SyncAction();
  }
  groups_.push_back(std::move(group));
}

void MenuModel::Attach(QMenuBar* bar) {
  bar_ = bar;
  if (!bar) return;
  for (MenuItem* item : TopLevel()) bar->addAction(item->action_);
}

}  // namespace morvane::widgets
