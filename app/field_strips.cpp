#include "app/field_strips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/edit_commands.h"
#include "common/widgets/control_helpers.h"

namespace morvane::app {

namespace {
double Val(const QLineEdit* box) { return ValOf(box->text().toStdString()); }

constexpr int kTitleRole = Qt::UserRole;
constexpr int kHeadingRole = Qt::UserRole + 1;
}  // namespace

// --- factors ---

FactorsStrip::FactorsStrip(QLineEdit* shiftX, QLineEdit* shiftY, QLineEdit* factor, QObject* parent)
    : QObject(parent), shiftX_(shiftX), shiftY_(shiftY), factor_(factor) {
  Watch(shiftX_, QStringLiteral("-0123456789"));
  Watch(shiftY_, QStringLiteral("-0123456789"));
  Watch(factor_, QStringLiteral(".0123456789"));
}

void FactorsStrip::Watch(QLineEdit* box, const QString& allowed) {
  connect(box, &QLineEdit::textChanged, this, [this, box, allowed] {
    // A cleaned text comes back here as a change of its own.
    if (common::FilterTextChars(box, allowed)) return;
    emit Changed();
  });
}

double FactorsStrip::ShiftX() const { return Val(shiftX_); }
double FactorsStrip::ShiftY() const { return Val(shiftY_); }
double FactorsStrip::Factor() const { return Val(factor_); }

// --- titles ---

TitlesStrip::TitlesStrip(QComboBox* list, QLineEdit* box, QObject* parent)
    : QObject(parent), list_(list), box_(box) {
  connect(list_, qOverload<int>(&QComboBox::activated), this, [this] { Clicked(true); });
  connect(box_, &QLineEdit::textChanged, this, [this] { emit Changed(); });
  list_->installEventFilter(this);
  box_->installEventFilter(this);
}

void TitlesStrip::SetEntries(const std::vector<engine::ContourTitle>& titles) {
  const int keep = list_->currentIndex();
  filling_ = true;
  list_->clear();
  // The title and the heading ride with each entry: a link of a contour's own may hold
  // the two blanks that part them in the entry's text.
  for (const engine::ContourTitle& t : titles) {
    list_->addItem(QString::fromStdString(engine::TitleEntry(t)));
    const int at = list_->count() - 1;
    list_->setItemData(at, QString::fromStdString(t.title), kTitleRole);
    list_->setItemData(at, QString::fromStdString("#" + t.number), kHeadingRole);
  }
  if (!titles.empty()) list_->setCurrentIndex(keep >= 0 && keep < list_->count() ? keep : 0);
  filling_ = false;
  box_->setEnabled(!titles.empty());
  ResetBox();
}

std::string TitlesStrip::SelectedTitle() const {
  return list_->currentIndex() < 0 ? std::string() : list_->currentData(kTitleRole).toString().toStdString();
}

std::string TitlesStrip::SelectedHeading() const {
  return list_->currentIndex() < 0 ? std::string()
                                   : list_->currentData(kHeadingRole).toString().toStdString();
}

void TitlesStrip::SelectTitle(int index) {
  if (index < 0 || index >= list_->count()) return;
  list_->setCurrentIndex(index);
  Clicked(false);
}

int TitlesStrip::SelectedIndex() const { return list_->currentIndex(); }

std::string TitlesStrip::EditedTitle() const { return box_->text().toStdString(); }

bool TitlesStrip::TitleEnabled() const {
  if (list_->currentIndex() < 0) return false;
  return box_->text().toStdString() != SelectedTitle();
}

void TitlesStrip::ResetBox() {
  box_->setText(QString::fromStdString(SelectedTitle()));
}

void TitlesStrip::Clicked(bool byUser) {
  ResetBox();
  if (byUser && !filling_ && list_->currentIndex() >= 0) {
    emit ShowContour(QString::fromStdString(SelectedHeading()));
  }
  emit Changed();
}

bool TitlesStrip::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // Moving between the list and the box keeps an edit; leaving both drops it.
    QWidget* next = QApplication::focusWidget();
    if (next != list_ && next != box_ && (watched == list_ || watched == box_)) ResetBox();
  } else if (watched == box_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers() & Qt::AltModifier;
    if (key->key() == Qt::Key_Escape) {
      Clicked(true);
      return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      emit ApplyTitle();
      return true;
    }
    if (alt && key->key() == Qt::Key_Down) {
      common::FitComboDropWidth(list_);
      list_->showPopup();
      return true;
    }
    if (alt && key->key() == Qt::Key_Up) {
      list_->hidePopup();
      return true;
    }
  } else if (watched == list_ && event->type() == QEvent::MouseButtonPress) {
    common::FitComboDropWidth(list_);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace morvane::app
