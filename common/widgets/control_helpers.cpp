#include "common/widgets/control_helpers.h"

#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/panel_status_bar.h"
#include "platform/core/units.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>
#include <optional>

namespace morvane::common {

namespace {

std::optional<int> IntProperty(const QObject* object, const char* name) {
  if (!object) return std::nullopt;
  const QVariant v = object->property(name);
  bool ok = false;
  const int n = v.isValid() ? v.toInt(&ok) : 0;
  return ok ? std::optional<int>(n) : std::nullopt;
}

QLineEdit* EditOf(QWidget* control) {
  if (auto* e = qobject_cast<QLineEdit*>(control)) return e;
  if (auto* c = qobject_cast<QComboBox*>(control)) return c->lineEdit();
  return nullptr;
}

// Nesting of FilterTextChars while it sets a text, shared by all callers.
int filterNesting = 0;

}  // namespace

bool HasName(const QObject* object) { return object && !object->objectName().isEmpty(); }

bool HasHwnd(const QObject* object) { return object && object->isWidgetType(); }

bool HasContainer(const QObject* object) {
  const auto* w = qobject_cast<const QWidget*>(object);
  return w && !w->isWindow() && HasName(w->parentWidget());
}

bool HasItems(const QObject* object) {
  const std::optional<int> n = IntProperty(object, "Count");
  return n && *n >= 1;
}

bool IsArrayMember(const QObject* object) {
  const std::optional<int> n = IntProperty(object, "Index");
  return n && *n >= 0;
}

QFont CloneFont(const QFont& font) {
  QFont f;
  f.setFamily(font.family());
  if (font.pointSizeF() > 0) f.setPointSizeF(font.pointSizeF());
  else if (font.pixelSize() > 0) f.setPixelSize(font.pixelSize());
  f.setWeight(font.weight());
  f.setBold(font.bold());
  f.setItalic(font.italic());
  f.setUnderline(font.underline());
  f.setStrikeOut(font.strikeOut());
  return f;
}

void SetObjectSize(QWidget* object, double widthTwips, double heightTwips) {
  if (!object) return;
  if (object->isWindow() && (object->windowState() & Qt::WindowMinimized)) return;
  const int w = core::TwipsToPixels(widthTwips), h = core::TwipsToPixels(heightTwips);
  if (object->width() != w) object->resize(w, object->height());
  if (object->height() != h) object->resize(object->width(), h);
}

void RefocusTextBox(QWidget* control) {
  auto* e = qobject_cast<QLineEdit*>(control);
  if (!e) return;
  const bool selected = e->hasSelectedText();
  const int start = selected ? e->selectionStart() : e->cursorPosition();
  const int length = selected ? static_cast<int>(e->selectedText().size()) : 0;
  e->setEnabled(false);
  e->setEnabled(true);
  if (length > 0) e->setSelection(start, length);
  else e->setCursorPosition(start);
  e->setFocus();
}

bool FilterTextChars(QWidget* control, const QString& allowed) {
  QLineEdit* e = EditOf(control);
  if (!e || filterNesting > 0) return false;
  const QString text = e->text();
  const int caret = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
  QString kept;
  kept.reserve(text.size());
  int removedBefore = 0;
  for (int i = 0; i < text.size(); ++i) {
    if (allowed.contains(text[i], Qt::CaseInsensitive)) kept += text[i];
    else if (i < caret) ++removedBefore;
  }
  // Only a removal moves the caret, so an untouched text keeps its caret and selection.
  if (kept == text) return false;
  {
    struct Guard {
      Guard() { ++filterNesting; }
      ~Guard() { --filterNesting; }
    } guard;
    e->setText(kept);
  }
  e->setCursorPosition(caret - removedBefore);
  return true;
}

void ClearTree(QTreeWidget* tree) {
  if (!tree || tree->topLevelItemCount() == 0) return;
  const bool shown = !tree->isHidden();
  tree->hide();
  for (int i = 0; i < tree->topLevelItemCount(); ++i) tree->collapseItem(tree->topLevelItem(i));
  tree->clear();
  if (shown) tree->show();
}

int ToolbarButtonAt(const QObject* toolbar, double x, double y) {
  const auto* bar = qobject_cast<const widgets::KeyedToolBar*>(toolbar);
  if (!bar) return 0;
  int found = 0;
  double foundLeft = 0;
  for (int i = 1; i <= bar->Count(); ++i) {
    const widgets::ToolBarButton* b = bar->ButtonAt(i);
    if (!b->Visible() || b->Width() <= 0) continue;
    const bool inside =
        x >= b->Left() && x <= b->Left() + b->Width() && y >= b->Top() && y <= b->Top() + b->Height();
    if (inside && (found == 0 || b->Left() < foundLeft)) {
      found = i;
      foundLeft = b->Left();
    }
  }
  return found;
}

int StatusBarPanelAt(const QObject* statusBar, double x, double, bool clamp) {
  const auto* bar = qobject_cast<const widgets::PanelStatusBar*>(statusBar);
  if (!bar || bar->Count() == 0) return 0;
  const double first = bar->PanelAt(1)->Left();
  double left = first;
  for (int i = 1; i <= bar->Count(); ++i) {
    const double w = bar->PanelAt(i)->Width();
    if (x >= left && x <= left + w) return i;
    left += w;
  }
  if (!clamp) return 0;
  if (x < first) return 1;
  return x > left ? bar->Count() : 0;
}

void FitComboDropWidth(QComboBox* combo, const QWidget* measure) {
  if (!combo) return;
  if (!measure) {
    measure = HasContainer(combo) && !qobject_cast<const QTabWidget*>(combo->parentWidget())
                  ? combo->parentWidget()
                  : combo->window();
  }
  const QFontMetrics fm = measure->fontMetrics();
  int widest = 0;
  for (int i = 0; i < combo->count(); ++i)
    widest = std::max(widest, fm.horizontalAdvance(combo->itemText(i)));
  int px = widest + 10;
  if (combo->count() - 1 > 9)
    px += combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, combo);
  px = std::max(px, combo->width());
  if (const QScreen* screen = combo->screen()) {
    const int room = screen->geometry().right() + 1 - combo->mapToGlobal(QPoint(0, 0)).x();
    px = std::min(px, room);
  }
  combo->view()->setMinimumWidth(std::max(px, 0));
}

QString GetWindowString(const QWidget* window, const QString& kind) {
  if (!window) return {};
  QString s;
  if (kind == QLatin1String("Class")) {
    s = QString::fromLatin1(window->metaObject()->className());
  } else if (kind == QLatin1String("Text")) {
    const QVariant text = window->property("text");
    s = window->isWindow() || !text.isValid() ? window->windowTitle() : text.toString();
  }
  return s.left(259);  // what a 260-character buffer holds
}

QWidget* FindWindowByText(QWidget* parent, const QString& caption, const QString& className, int index) {
  if (caption.isEmpty() && className.isEmpty()) return nullptr;
  QWidgetList candidates;
  if (parent) {
    for (QObject* child : parent->children()) {
      if (child->isWidgetType()) candidates.append(static_cast<QWidget*>(child));
    }
  } else {
    candidates = QApplication::topLevelWidgets();
  }
  int counter = 0;
  for (QWidget* w : candidates) {
    const bool classMatches =
        className.isEmpty() || GetWindowString(w, "Class").compare(className, Qt::CaseInsensitive) == 0;
    const bool captionMatches =
        caption.isEmpty() || GetWindowString(w, "Text").compare(caption, Qt::CaseInsensitive) == 0;
    if (!classMatches || !captionMatches) continue;
    if (counter >= index || index < 1) return w;
    ++counter;
  }
  return nullptr;
}

void SetHelpCursor(QWidget* window, int cursorId) {
  static const std::pair<int, Qt::CursorShape> kCursors[] = {
      {core::kCursorArrow, Qt::ArrowCursor},        {core::kCursorIBeam, Qt::IBeamCursor},
      {core::kCursorWait, Qt::WaitCursor},          {core::kCursorCross, Qt::CrossCursor},
      {core::kCursorUpArrow, Qt::UpArrowCursor},    {core::kCursorSizeNWSE, Qt::SizeFDiagCursor},
      {core::kCursorSizeNESW, Qt::SizeBDiagCursor}, {core::kCursorSizeWE, Qt::SizeHorCursor},
      {core::kCursorSizeNS, Qt::SizeVerCursor},     {core::kCursorSizeAll, Qt::SizeAllCursor},
      {core::kCursorNo, Qt::ForbiddenCursor},       {core::kCursorHand, Qt::PointingHandCursor},
      {core::kCursorAppStarting, Qt::BusyCursor},   {core::kCursorHelp, Qt::WhatsThisCursor}};
  if (!window) return;
  for (const auto& [id, shape] : kCursors) {
    if (id == cursorId) {
      window->grabMouse(QCursor(shape));
      return;
    }
  }
}

}  // namespace morvane::common
