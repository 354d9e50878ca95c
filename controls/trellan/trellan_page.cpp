#include "controls/trellan/trellan_page.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>

#include "controls/trellan/trellan.h"
#include "controls/trellan/trellan_helpers.h"
#include "controls/trellan/trellan_typelib.h"
#include "platform/widgets/automation/automation_error.h"

namespace morvane::trellan {

namespace {

const QString kNone = QStringLiteral("(None)");

bool IsDesignerKind(const QString& kind) {
  return kind == QLatin1String("UserControl") || kind == QLatin1String("PropertyPage") ||
         kind == QLatin1String("UserDocument");
}

}  // namespace

ControlsPage::ControlsPage(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Controls"));
  static const char* const kHeadings[2] = {"&First Control:", "&Second Control:"};
  for (int slot = 0; slot < 2; ++slot) {
    auto* list = new QComboBox(this);
    list->setObjectName(QStringLiteral("cbControl%1").arg(slot));
    list->setToolTip(QStringLiteral("Trellan's sibling control list"));
    list->installEventFilter(this);
    auto* heading = new QLabel(QString::fromLatin1(kHeadings[slot]), this);
    heading->setObjectName(QStringLiteral("ltControl%1").arg(slot));
    heading->setBuddy(list);
    // Clicks, arrow keys and the page's own keys all change the current entry.
    connect(list, &QComboBox::currentIndexChanged, this, [this, slot](int) {
      automation::CatchAtEventBoundary([&] { FollowChoice(slot); });
    });
    connect(list, &QComboBox::activated, this, [this, slot](int) {
      automation::CatchAtEventBoundary([&] { FollowChoice(slot); });
    });
    lists_[static_cast<std::size_t>(slot)] = list;
    headings_[static_cast<std::size_t>(slot)] = heading;
  }
  warning_ = new QLabel(this);
  warning_->setObjectName(QStringLiteral("ltWarning"));
  warning_->setWordWrap(true);
  warning_->setTextFormat(Qt::PlainText);
  warning_->hide();
  resize(360, 200);
  Layout();
}

void ControlsPage::Layout() {
  const int left = 9;
  const int top = 10;
  const int width = (this->width() - 3 * left) / 2;
  const int height = 19;
  headings_[0]->setGeometry(left, top, width, height);
  headings_[1]->setGeometry(2 * left + width, top, width, height);
  for (int slot = 0; slot < 2; ++slot) {
    const QRect h = headings_[static_cast<std::size_t>(slot)]->geometry();
    lists_[static_cast<std::size_t>(slot)]->setGeometry(h.left(), h.bottom() + 1, h.width(),
                                                        lists_[0]->sizeHint().height());
  }
}

void ControlsPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void ControlsPage::Announce(bool on) {
  SetChanged(on);
  emit changed(on);
}

void ControlsPage::SetObjects(const QList<automation::Control*>& objects) {
  // The page belongs to this library, so the control is one of its own splitters.
  setTarget(objects.isEmpty() ? nullptr : dynamic_cast<Trellan*>(objects.first()));
}

void ControlsPage::setTarget(Trellan* target) {
  target_ = target;
  if (target == nullptr || target->window() == target) return;
  QWidget* container = target->parentWidget();
  if (IsDesignerKind(TypeNameOf(container))) {
    for (QComboBox* list : lists_) list->setEnabled(false);
    return;
  }
  if (IsDesignerKind(TypeNameOf(target->window()))) {
    for (QWidget* w : {static_cast<QWidget*>(headings_[0]), static_cast<QWidget*>(headings_[1]),
                       static_cast<QWidget*>(lists_[0]), static_cast<QWidget*>(lists_[1])}) {
      w->hide();
    }
    warning_->setGeometry(9, 20, width() - 9, height() - 20);
    warning_->setText(
        QStringLiteral("When the Trellan object is contained within a PropertyPage, "
                       "UserControl or UserDocument, set values of the FirstControl "
                       "and/or SecondControl properties not at design time, but at run time."));
    warning_->show();
    return;
  }
  filling_ = true;
  struct EndFill {
    bool& flag;
    ~EndFill() { flag = false; }
  } endFill{filling_};
  for (QComboBox* list : lists_) {
    list->clear();
    list->addItem(kNone);
  }
  for (QWidget* control : FormControls(target->window())) {
    const Trellan* other = target->TrellanOf(control);
    const QString kind = TypeNameOf(control);
    const bool fixedCombo = kind == QLatin1String("ComboBox") && control->property("Style").toInt() != 1;
    if (control == target || control == container) continue;
    if (kind == QLatin1String(kClassName) || fixedCombo || control->isWindow()) continue;
    if (control->parentWidget() != container || AlignOf(control) != 0) continue;
    QString entry = ControlNameOf(control);
    if (other != nullptr && other != target)
      entry += QStringLiteral(" [guided by %1]").arg(other->PlainName());
    for (QComboBox* list : lists_) list->addItem(entry);
  }
  for (int slot = 0; slot < 2; ++slot) {
    QComboBox* list = lists_[static_cast<std::size_t>(slot)];
    FindListItem(list, target->GuidedControlName(slot), true, true);
    if (list->currentIndex() < 0) list->setCurrentIndex(0);
  }
  Announce(false);
}

void ControlsPage::choose(int slot, int index) {
  QComboBox* list = lists_.at(static_cast<std::size_t>(slot));
  if (list->currentIndex() == index) FollowChoice(slot);  // a click on the entry shown
  else list->setCurrentIndex(index);
}

void ControlsPage::FollowChoice(int slot) {
  if (filling_ || following_) return;
  following_ = true;
  struct EndFollow {
    bool& flag;
    ~EndFollow() { flag = false; }
  } endFollow{following_};
  QComboBox* list = lists_.at(static_cast<std::size_t>(slot));
  // A control that another splitter guides cannot be chosen. Going back to "(None)"
  // is itself a choice, so the rules below still see it.
  if (list->currentText().contains(QLatin1String("[guided by"))) list->setCurrentIndex(0);
  if (lists_[0]->currentText() == lists_[1]->currentText()) list->setCurrentIndex(0);
  if (target_) {
    Announce(lists_[0]->currentText() != target_->GuidedControlName(0) ||
             lists_[1]->currentText() != target_->GuidedControlName(1));
  }
}

void ControlsPage::ApplyChanges() {
  apply();
  Announce(false);
}

void ControlsPage::apply() {
  if (!target_) return;
  target_->LetGuidedControl(0, lists_[0]->currentText());
  target_->LetGuidedControl(1, lists_[1]->currentText());
}

void ControlsPage::editProperty(const QString& name) {
  int slot = -1;
  if (name == QLatin1String("FirstControl")) slot = 0;
  if (name == QLatin1String("SecondControl")) slot = 1;
  if (slot < 0) return;
  QComboBox* list = lists_[static_cast<std::size_t>(slot)];
  if (list->isEnabled() && list->isVisible()) list->setFocus();
}

void ControlsPage::KeyUp(int slot, int key, Qt::KeyboardModifiers modifiers) {
  QComboBox* list = lists_.at(static_cast<std::size_t>(slot));
  const Qt::KeyboardModifiers held =
      modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const bool ctrl = held == Qt::ControlModifier;
  const bool shift = held == Qt::ShiftModifier;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (key == Qt::Key_Delete) {
    list->setCurrentIndex(0);
  } else if (ctrl && (key == Qt::Key_Insert || key == Qt::Key_C)) {
    clipboard->setText(list->currentText());
  } else if (ctrl && key == Qt::Key_X) {
    clipboard->setText(list->currentText());
    list->setCurrentIndex(0);
  } else if ((shift && key == Qt::Key_Insert) || (ctrl && key == Qt::Key_V)) {
    const int found = FindListItem(list, clipboard->text(), false, true);
    if (found >= 0) list->setCurrentIndex(found);
  }
}

bool ControlsPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    for (int slot = 0; slot < 2; ++slot) {
      if (watched == lists_[static_cast<std::size_t>(slot)]) {
        auto* key = static_cast<QKeyEvent*>(event);
        automation::CatchAtEventBoundary([&] { KeyUp(slot, key->key(), key->modifiers()); });
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace morvane::trellan
