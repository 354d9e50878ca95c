#pragma once

// tvCoord: the tree beside the zoom view, one node per element of the point array.
// Node 1 is an empty root, node 2 the first contour's heading and node i + 2 shows
// element i: a point as "x,y" in black, a separator as the next contour's heading "#nn"
// in grey. It is an item model that reads the array it is given (the document's own),
// neither a copy of it nor one widget item per point, and the view learns of the rows
// a stretch at a time (as it scrolls down, or a node further down is selected), so
// that filling the tree costs what is shown, not the length of the array.
//
// The tree edits nothing itself: label edits, keys and the new-point box are reported
// through signals, and the window's commands change the document, which fills the tree
// again.

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTreeView>

#include <algorithm>

#include <cstdint>
#include <string>

#include "engine/contour_points.h"

namespace morvane::app {

// Grey nodes (root and headings) cannot be edited.
inline constexpr QRgb kHeadingColor = 0xC0C0C0;

class ContourTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit ContourTreeModel(QObject* parent = nullptr);

  // Shows the array, which is read from where it is: it stays as it is until the next
  // Show or Update. nodes is 0 (empty tree), 2 (root and first heading only) or the
  // upper bound + 2.
  void Show(const engine::ContourPoints& points, std::string format, std::int32_t nodes);
  // The same, telling the view only about the rows that differ from before, the
  // elements shown until now (the common start and end of the two arrays stay), so
  // that a one-point edit of a large document is cheap.
  void Update(const engine::ContourPoints& points, const engine::ContourPoints& before,
              const std::string& format, std::int32_t nodes);

  std::int32_t NodeCount() const { return nodes_; }
  // Makes the view's rows reach the node (and a stretch beyond it), so that it has an
  // index; the last node for all of them.
  void RevealNode(std::int32_t node);
  const engine::ContourPoints& Points() const { return *points_; }
  QString NodeText(std::int32_t node) const;
  bool IsGrey(std::int32_t node) const;
  QModelIndex IndexOfNode(std::int32_t node) const;
  std::int32_t NodeOf(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  // The view asks for more rows when it is scrolled to the end of those it has.
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 signals:
  // A label edit ended with this text (the model keeps its text: the document decides).
  void LabelEdited(const QString& text);

 private:
  const engine::ContourPoints* points_;  // never null: an empty document is element 0 alone
  std::string format_ = "00";
  std::int32_t nodes_ = 0;
  // The root's rows the view has been told of: the first ones of the array's.
  std::int32_t shownRows_ = 0;

  // Rows under the root: elements 0 (the first heading) .. upper bound.
  std::int32_t Rows() const { return std::max(nodes_ - 1, 0); }
  void ShowRows(std::int32_t rows);
};

// Keys of the tree that run commands.
enum class TreeKey { Delete, Insert, Escape };

class ContourTree : public QTreeView {
  Q_OBJECT

 public:
  explicit ContourTree(QWidget* parent = nullptr);

  ContourTreeModel& Model() { return model_; }
  // FillContourTree: rebuilt when the tree holds 2 nodes or fewer, or when rebuild is
  // asked and more than 100 nodes would be surplus; else updated in place (an empty
  // document then keeps the root and the first heading). Node 3 is selected when the
  // tree holds points. The tree reads the points where they are, until the next Fill.
  // before holds the elements the tree showed until now where they changed in place
  // (the document's array after a change); by default they are those of the array of
  // the last Fill.
  void Fill(const engine::ContourPoints& points, const std::string& format, bool rebuild,
            const engine::ContourPoints* before = nullptr);
  // ReadPointsFromTree: the array the tree shows.
  const engine::ContourPoints& ReadPoints() const { return model_.Points(); }

  std::int32_t NodeCount() const { return model_.NodeCount(); }
  QString NodeText(std::int32_t node) const { return model_.NodeText(node); }
  QColor NodeColor(std::int32_t node) const;
  // The selected node, 0 for none.
  std::int32_t SelectedNode() const;
  // Selects a node without reporting a click.
  void SelectNode(std::int32_t node);

  // Starts the label edit of the selected node (Edit > Change Point); false when it
  // is grey, which cancels the edit.
  bool StartLabelEdit();
  // Closes an open label edit without taking its text (a click on the image supplies it).
  void EndLabelEdit();

  // The new-point box tbNew below the selected node, emptied, shown and focused; false
  // (nothing shown) when the tree is hidden or empty-sized or has no selection.
  bool ShowNewPointBox();
  QLineEdit* NewPointBox() const { return tbNew_; }
  // Hides the box and reports its end (tbNew_LostFocus).
  void CloseNewPointBox();

 signals:
  // tvCoord_NodeClick: the user clicked this node (or Up and Ctrl+Down wrapped to it).
  void NodeClicked(std::int32_t node);
  void KeyCommand(morvane::app::TreeKey key);
  // tvCoord_BeforeLabelEdit passed: the click mode of label edits is armed.
  void LabelEditStarted();
  void LabelEdited(const QString& text);
  // The label editor closed: by Enter or Esc (byKey), or because the focus left it.
  void LabelEditEnded(bool byKey);
  // Enter in the new-point box, with its text.
  void NewPointEntered(const QString& text);
  // The box closed (Enter, Esc or lost focus).
  void NewPointClosed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  void ClickNode(std::int32_t node);

  ContourTreeModel model_;
  QLineEdit* tbNew_ = nullptr;
  std::int32_t previousNode_ = 0;
  bool unloading_ = false;
};

}  // namespace morvane::app
