#include "app/contour_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

#include "app/edit_commands.h"

namespace morvane::app {

namespace {
// internalId of the root's index; its children carry 1.
constexpr quintptr kRootId = 0;
constexpr quintptr kChildId = 1;
// The rows the view is told of at first, and at least that many more at a time (the
// stretch doubles as the user goes on, so that a walk to the end costs the rows once).
// More than any window shows in one page.
constexpr std::int32_t kRowStretch = 1000;

// The empty document, element 0 alone: an array that lives as long as the tree reads it
// (a caller's empty array may be a temporary).
const engine::ContourPoints& NoPoints() {
  static const engine::ContourPoints none = engine::EmptyContourPoints();
  return none;
}
const engine::ContourPoints& Held(const engine::ContourPoints& points) {
  return points.size() <= 1 ? NoPoints() : points;
}
}  // namespace

// --- model ---

ContourTreeModel::ContourTreeModel(QObject* parent) : QAbstractItemModel(parent), points_(&NoPoints()) {}

void ContourTreeModel::Show(const engine::ContourPoints& points, std::string format,
                            std::int32_t nodes) {
  beginResetModel();
  points_ = &Held(points);
  format_ = std::move(format);
  nodes_ = nodes;
  shownRows_ = std::min(Rows(), kRowStretch);
  endResetModel();
}

void ContourTreeModel::ShowRows(std::int32_t rows) {
  rows = std::min(rows, Rows());
  if (rows <= shownRows_) return;
  beginInsertRows(createIndex(0, 0, kRootId), shownRows_, rows - 1);
  shownRows_ = rows;
  endInsertRows();
}

void ContourTreeModel::RevealNode(std::int32_t node) {
  const std::int32_t row = node - 2;
  if (row >= shownRows_) ShowRows(row + 1 + kRowStretch);
}

bool ContourTreeModel::canFetchMore(const QModelIndex& parent) const {
  // The view asks for its own root, the invisible parent of node 1.
  return (!parent.isValid() || parent.internalId() == kRootId) && shownRows_ < Rows();
}

void ContourTreeModel::fetchMore(const QModelIndex& parent) {
  if (canFetchMore(parent)) ShowRows(shownRows_ + std::max(shownRows_, kRowStretch));
}

void ContourTreeModel::Update(const engine::ContourPoints& points, const engine::ContourPoints& before,
                              const std::string& format, std::int32_t nodes) {
  const engine::ContourPoints& next = Held(points);
  // Rows are elements 0 (the first heading) .. upper bound under the root.
  const std::int32_t oldRows = std::max(nodes_ - 1, 0);
  const std::int32_t newRows = std::max(nodes - 1, 0);
  if (format != format_ || oldRows == 0 || newRows == 0 ||
      before.size() < static_cast<std::size_t>(oldRows)) {
    Show(next, format, nodes);
    return;
  }
  const auto same = [&](std::int32_t a, std::int32_t b) {
    return before[static_cast<std::size_t>(a)] == next[static_cast<std::size_t>(b)];
  };
  std::int32_t head = 1;  // row 0, the first heading, never changes
  const std::int32_t shorter = std::min(oldRows, newRows);
  while (head < shorter && same(head, head)) ++head;
  std::int32_t tail = 0;
  while (tail < shorter - head && same(oldRows - 1 - tail, newRows - 1 - tail)) ++tail;
  const QModelIndex root = createIndex(0, 0, kRootId);
  const std::int32_t oldMiddle = oldRows - head - tail;
  const std::int32_t newMiddle = newRows - head - tail;
  // The view hears only of the rows it was shown; those it has yet to be shown change
  // without a word.
  if (newMiddle < oldMiddle) {
    const std::int32_t first = head + newMiddle;
    const std::int32_t end = head + oldMiddle;
    const std::int32_t shownEnd = std::min(end, shownRows_);
    if (first < shownEnd) beginRemoveRows(root, first, shownEnd - 1);
    points_ = &next;
    nodes_ = nodes;
    if (first < shownEnd) {
      shownRows_ -= shownEnd - first;
      endRemoveRows();
    }
  } else if (newMiddle > oldMiddle) {
    const std::int32_t first = head + oldMiddle;
    const std::int32_t count = newMiddle - oldMiddle;
    const bool shown = first < shownRows_ || shownRows_ == oldRows;
    if (shown) beginInsertRows(root, first, first + count - 1);
    points_ = &next;
    nodes_ = nodes;
    if (shown) {
      shownRows_ += count;
      endInsertRows();
    }
  }
  points_ = &next;
  nodes_ = nodes;
  const std::int32_t changed = std::min(oldMiddle, newMiddle);
  const std::int32_t shownChanged = std::min(head + changed, shownRows_) - head;
  if (shownChanged > 0)
    emit dataChanged(createIndex(head, 0, kChildId), createIndex(head + shownChanged - 1, 0, kChildId));
}

QString ContourTreeModel::NodeText(std::int32_t node) const {
  if (node < 1 || node > nodes_) return {};
  if (node == kRootNode) return {};
  if (node == kFirstHeadingNode) return QString::fromStdString(FirstHeadingText(format_));
  const std::size_t e = static_cast<std::size_t>(ElementOfNode(node));
  if (e >= points_->size()) return {};
  return QString::fromStdString(ElementText((*points_)[e], format_));
}

bool ContourTreeModel::IsGrey(std::int32_t node) const {
  if (node <= kFirstHeadingNode) return true;
  const std::int32_t e = ElementOfNode(node);
  const engine::ContourPoints& points = *points_;
  return e > engine::UpperBound(points) || engine::IsSeparator(points[static_cast<std::size_t>(e)]);
}

QModelIndex ContourTreeModel::IndexOfNode(std::int32_t node) const {
  if (node < 1 || node > nodes_) return {};
  if (node == kRootNode) return createIndex(0, 0, kRootId);
  if (node - 2 >= shownRows_) return {};
  return createIndex(node - 2, 0, kChildId);
}

std::int32_t ContourTreeModel::NodeOf(const QModelIndex& index) const {
  if (!index.isValid()) return 0;
  return index.internalId() == kRootId ? kRootNode : index.row() + 2;
}

QModelIndex ContourTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return nodes_ >= 1 && row == 0 ? createIndex(0, 0, kRootId) : QModelIndex();
  if (parent.internalId() != kRootId || row >= shownRows_) return {};
  return createIndex(row, 0, kChildId);
}

QModelIndex ContourTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == kRootId) return {};
  return createIndex(0, 0, kRootId);
}

int ContourTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return nodes_ >= 1 ? 1 : 0;
  if (parent.internalId() == kRootId) return shownRows_;
  return 0;
}

int ContourTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant ContourTreeModel::data(const QModelIndex& index, int role) const {
  const std::int32_t node = NodeOf(index);
  if (node == 0) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return NodeText(node);
    case Qt::ForegroundRole:
      return QColor(IsGrey(node) ? QColor::fromRgb(kHeadingColor) : QColor(Qt::black));
    default: return {};
  }
}

Qt::ItemFlags ContourTreeModel::flags(const QModelIndex& index) const {
  const std::int32_t node = NodeOf(index);
  if (node == 0) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  // Said of every node but the root, so that the view need not look up whether it
  // was expanded.
  if (node != kRootNode) f |= Qt::ItemNeverHasChildren;
  if (!IsGrey(node)) f |= Qt::ItemIsEditable;
  return f;
}

bool ContourTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || IsGrey(NodeOf(index))) return false;
  emit LabelEdited(value.toString());
  return false;
}

// --- view ---

ContourTree::ContourTree(QWidget* parent) : QTreeView(parent) {
  setObjectName(QStringLiteral("tvCoord"));
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // F2 and clicks do not edit: only Edit > Change Point starts a label edit.
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setModel(&model_);
  connect(&model_, &ContourTreeModel::LabelEdited, this, &ContourTree::LabelEdited);
  // The tree cannot be collapsed by the user.
  connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
    if (!unloading_) expand(index);
  });
  tbNew_ = new QLineEdit(this);
  tbNew_->setObjectName(QStringLiteral("tbNew"));
  tbNew_->hide();
  tbNew_->installEventFilter(this);
}

void ContourTree::Fill(const engine::ContourPoints& points, const std::string& format, bool rebuild,
                       const engine::ContourPoints* before) {
  const std::int32_t upper = engine::UpperBound(points);
  const std::int32_t current = model_.NodeCount();
  const bool fresh = current <= 2 || (rebuild && current - upper > 100);
  std::int32_t nodes = upper + 2;
  if (fresh && upper == 0) nodes = 0;
  const bool wasVisible = isVisible();
  // Hidden while it changes, so that nothing paints a half-filled tree.
  setUpdatesEnabled(false);
  unloading_ = true;
  if (fresh) {
    model_.Show(points, format, nodes);
  } else {
    model_.Update(points, before != nullptr ? *before : model_.Points(), format, nodes);
  }
  unloading_ = false;
  previousNode_ = 0;
  if (nodes >= 1) expand(model_.IndexOfNode(kRootNode));
  if (nodes >= 3) SelectNode(3);
  setUpdatesEnabled(true);
  if (wasVisible) viewport()->update();
}

QColor ContourTree::NodeColor(std::int32_t node) const {
  if (node < 1 || node > model_.NodeCount()) return {};
  return model_.IsGrey(node) ? QColor::fromRgb(kHeadingColor) : QColor(Qt::black);
}

std::int32_t ContourTree::SelectedNode() const { return model_.NodeOf(currentIndex()); }

void ContourTree::SelectNode(std::int32_t node) {
  model_.RevealNode(node);
  const QModelIndex index = model_.IndexOfNode(node);
  if (!index.isValid()) return;
  setCurrentIndex(index);
  scrollTo(index);
}

void ContourTree::ClickNode(std::int32_t node) {
  SelectNode(node);
  emit NodeClicked(node);
}

bool ContourTree::StartLabelEdit() {
  const std::int32_t node = SelectedNode();
  if (node == 0 || model_.IsGrey(node)) return false;
  emit LabelEditStarted();
  setFocus();
  edit(currentIndex());
  return true;
}

void ContourTree::EndLabelEdit() {
  if (state() != QAbstractItemView::EditingState) return;
  // The delegate's editor lives on the viewport.
  for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>()) {
    if (editor->isVisible()) closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void ContourTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  const bool editing = state() == QAbstractItemView::EditingState;
  QTreeView::closeEditor(editor, hint);
  if (editing) emit LabelEditEnded(hint != QAbstractItemDelegate::NoHint);
}

bool ContourTree::ShowNewPointBox() {
  const QModelIndex current = currentIndex();
  if (width() == 0 || height() == 0 || !current.isValid() || !isVisible()) return false;
  scrollTo(current);
  const QRect r = visualRect(current).translated(viewport()->pos());
  tbNew_->clear();
  tbNew_->setGeometry(r.left(), r.bottom() + 1, std::max(width() - r.left(), 0),
                      tbNew_->sizeHint().height());
  tbNew_->show();
  tbNew_->raise();
  tbNew_->setFocus();
  return true;
}

void ContourTree::CloseNewPointBox() {
  const bool shown = tbNew_->isVisible();
  tbNew_->hide();
  if (shown) emit NewPointClosed();
}

bool ContourTree::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tbNew_) {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Escape) {
        CloseNewPointBox();
        return true;
      }
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        emit NewPointEntered(tbNew_->text());
        CloseNewPointBox();
        return true;
      }
    } else if (event->type() == QEvent::FocusOut) {
      // A press on the zoom view takes the focus before the view sees the press: the
      // box closes only after that press had its chance to insert the clicked pixel.
      QTimer::singleShot(0, this, [this] {
        if (tbNew_->isVisible() && !tbNew_->hasFocus()) CloseNewPointBox();
      });
    }
  }
  return QTreeView::eventFilter(watched, event);
}

void ContourTree::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  QTreeView::mousePressEvent(event);
  // A click on a node, selected or not; keys move the selection without one.
  if (index.isValid() && event->button() == Qt::LeftButton) emit NodeClicked(model_.NodeOf(index));
}

void ContourTree::keyPressEvent(QKeyEvent* event) {
  // The copy keys are the window's (Copy COORDS), not the item view's copy of a node.
  if (event->matches(QKeySequence::Copy)) {
    event->ignore();
    return;
  }
  // Ctrl+Down leaves the selection where it is: its release decides where to go.
  if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::ControlModifier)) {
    event->accept();
    return;
  }
  QTreeView::keyPressEvent(event);
}

QModelIndex ContourTree::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  // The keys move over every node: those the view has yet to be shown are shown first.
  switch (action) {
    case MoveEnd: model_.RevealNode(model_.NodeCount()); break;
    case MoveDown:
    case MoveNext:
    case MovePageDown: model_.RevealNode(std::max(SelectedNode(), 2) + 1); break;
    default: break;
  }
  return QTreeView::moveCursor(action, modifiers);
}

void ContourTree::keyReleaseEvent(QKeyEvent* event) {
  QTreeView::keyReleaseEvent(event);
  if (event->isAutoRepeat()) return;
  const std::int32_t selected = SelectedNode();
  const std::int32_t nodes = model_.NodeCount();
  switch (event->key()) {
    case Qt::Key_Delete: emit KeyCommand(TreeKey::Delete); return;
    case Qt::Key_Insert: emit KeyCommand(TreeKey::Insert); return;
    case Qt::Key_Escape: emit KeyCommand(TreeKey::Escape); return;
    case Qt::Key_Up:
      // Up at the top wraps round to the last node.
      if (selected == previousNode_ && nodes >= 1) ClickNode(nodes);
      break;
    case Qt::Key_Down:
      if ((event->modifiers() & Qt::ControlModifier) && nodes > 2 && selected != 0 && selected < nodes) {
        if (model_.NodeText(selected + 1).startsWith(QLatin1Char('#'))) {
          ClickNode(std::min(selected + 2, nodes));  // over the heading to the next contour
        } else if (selected == previousNode_) {
          ClickNode(3);  // round to the top
        }
      }
      break;
    default: return;
  }
  previousNode_ = SelectedNode();
}

}  // namespace morvane::app
