#pragma once

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPoint>
#include <QWidget>

namespace morvane::testing {

// What the widget made of a drag's entry and of the drop that followed it.
struct DropSeen {
  bool entryAccepted = false;
  bool dropAccepted = false;
  Qt::DropAction action = Qt::IgnoreAction;
};

// The data dragged in from another program onto a point of the widget and dropped
// there: the entry, then the drop, sent to the widget as Qt hands them over. A drop
// reaches the widget that took the drag's entry, so both go to the same one.
inline DropSeen SendDrop(QWidget* target, const QMimeData& data, QPoint at,
                         Qt::DropActions actions = Qt::CopyAction,
                         Qt::KeyboardModifiers dropModifiers = Qt::NoModifier) {
  DropSeen seen;
  QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  seen.entryAccepted = enter.isAccepted();
  QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, dropModifiers);
  QApplication::sendEvent(target, &drop);
  seen.dropAccepted = drop.isAccepted();
  seen.action = drop.dropAction();
  return seen;
}

}  // namespace morvane::testing
