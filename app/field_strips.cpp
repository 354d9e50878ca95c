#include "app/field_strips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRect>

#include "app/edit_commands.h"
#include "common/widgets/control_helpers.h"
#include "platform/widgets/keyed_tool_bar.h"

namespace morvane::app {

namespace {
double Val(const QLineEdit* box) { return ValOf(box->text().toStdString()); }

constexpr int kTitleRole = Qt::UserRole;
constexpr int kHeadingRole = Qt::UserRole + 1;

QWidget* MakePanel(QWidget* client, const char* name) {
  auto* panel = new QWidget(client);
  panel->setObjectName(QString::fromLatin1(name));
  return panel;
}

// pbToolbar(index), on its panel.
widgets::KeyedToolBar* MakeToolBar(QWidget* panel, int index) {
  auto* bar = new widgets::KeyedToolBar(panel);
  bar->setObjectName(QStringLiteral("pbToolbar"));
  bar->setProperty("Index", index);
  return bar;
}

QRect ToRect(const core::Box& b) { return QRect(b.left, b.top, b.width, b.height); }

QLineEdit* Edit(QWidget* owner, const char* name) {
  auto* e = new QLineEdit(owner);
  e->setObjectName(QString::fromLatin1(name));
  return e;
}
}  // namespace

// --- both strips ---

FieldStrip::FieldStrip(QWidget* client, const char* panelName, QObject* parent)
    : QObject(parent), panel_(MakePanel(client, panelName)) {}

void FieldStrip::AddToolBar(int index) { bar_ = MakeToolBar(panel_, index); }

QLabel* FieldStrip::AddLabel(const char* name, const char* text) {
  auto* l = new QLabel(QString::fromUtf8(text), panel_);
  l->setObjectName(QString::fromLatin1(name));
  labels_.push_back(l);
  return l;
}

// --- factors ---

FactorsStrip::FactorsStrip(QWidget* client, QObject* parent) : FieldStrip(client, "pbFactors", parent) {
  AddToolBar(2);
  tlShiftX_ = AddLabel("tlShiftX", "Shift&X:");
  shiftX_ = Edit(panel_, "tbShiftX");
  tlShiftY_ = AddLabel("tlShiftY", "Shift&Y:");
  shiftY_ = Edit(panel_, "tbShiftY");
  tlFactor_ = AddLabel("tlFactor", "&Factor:");
  factor_ = Edit(panel_, "tbFactor");
  tlShiftX_->setBuddy(shiftX_);
  tlShiftY_->setBuddy(shiftY_);
  tlFactor_->setBuddy(factor_);
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

void FactorsStrip::Place(const FactorsLayout& layout) {
  bar_->setGeometry(ToRect(layout.toolbar));
  tlShiftX_->setGeometry(ToRect(layout.tlShiftX));
  shiftX_->setGeometry(ToRect(layout.tbShiftX));
  tlShiftY_->setGeometry(ToRect(layout.tlShiftY));
  shiftY_->setGeometry(ToRect(layout.tbShiftY));
  tlFactor_->setGeometry(ToRect(layout.tlFactor));
  factor_->setGeometry(ToRect(layout.tbFactor));
}

double FactorsStrip::ShiftX() const { return Val(shiftX_); }
double FactorsStrip::ShiftY() const { return Val(shiftY_); }
double FactorsStrip::Factor() const { return Val(factor_); }

// --- titles ---

TitlesStrip::TitlesStrip(QWidget* client, QObject* parent)
    : FieldStrip(client, "pbTitles", parent),
      tlDigits_(AddLabel("tlDigits", "&Digits:")),
      tlTitles_(AddLabel("tlTitles", "&Title:")),
      list_(new QComboBox(panel_)),
      box_(Edit(panel_, "tbTitles")) {
  AddToolBar(3);
  list_->setObjectName(QStringLiteral("cbTitles"));
  box_->setFrame(false);
  box_->setTextMargins(4, 0, 0, 0);
  box_->setEnabled(false);
  tlTitles_->setBuddy(box_);
  connect(list_, qOverload<int>(&QComboBox::activated), this, [this] { Clicked(true); });
  connect(box_, &QLineEdit::textChanged, this, [this] { emit Changed(); });
  list_->installEventFilter(this);
  box_->installEventFilter(this);
}

void TitlesStrip::Place(const TitlesLayout& layout) {
  tlDigits_->setGeometry(ToRect(layout.tlDigits));
  tlTitles_->setGeometry(ToRect(layout.tlTitles));
  list_->setGeometry(ToRect(layout.cbTitles));
  box_->setGeometry(ToRect(layout.tbTitles));
  box_->raise();
  bar_->setGeometry(ToRect(layout.toolbar));
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
  return list_->currentIndex() < 0 ? std::string()
                                   : list_->currentData(kTitleRole).toString().toStdString();
}

std::string TitlesStrip::SelectedHeading() const {
  return list_->currentIndex() < 0 ? std::string()
                                   : list_->currentData(kHeadingRole).toString().toStdString();
}

void TitlesStrip::SelectTitle(std::int32_t index) {
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

void TitlesStrip::ResetBox() { box_->setText(QString::fromStdString(SelectedTitle())); }

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
