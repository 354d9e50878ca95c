#pragma once

#include <QImage>
#include <QObjectList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <array>
#include <cstdint>

#include "controls/trellan/trellan_layout.h"
#include "controls/trellan/trellan_paint.h"
#include "platform/widgets/automation/control_base.h"
#include "platform/widgets/automation/handle_table.h"
#include "platform/widgets/automation/property_bag.h"

class QMenu;
class QAction;

namespace morvane::trellan {

class BorderCut;

// The splitter: a thin bar on a container that lays out two sibling controls, the
// first left of (or above) it and the second right of (or below) it. Guided controls
// are the container's child widgets, found by object name ("Name", or "Name(Index)"
// for a widget whose dynamic property "Index" is 0 or more). Hosts reach it by
// dispatch id (trellan_typelib.h); the typed members below are what the member table
// calls. Lengths and positions are twips.
class Trellan : public QWidget, public automation::ControlBase<Trellan> {
 public:
  explicit Trellan(QWidget* parent = nullptr);
  ~Trellan() override;

  static const automation::MemberTable<Trellan>& Members();

  // automation::Control
  void InitProperties() override;
  void ReadProperties(const automation::PropertyBag& bag) override;
  void WriteProperties(automation::PropertyBag& bag) override;
  // Controls, then the standard colour and picture pages.
  QStringList PropertyPages() const override;
  QStringList PropertiesOfKind(automation::PropertyKind kind) const override;

  // Members in interface order.
  bool AutoPopupMenu() const { return autoPopupMenu_; }
  void LetAutoPopupMenu(bool on);
  std::uint32_t BarColor(int index) const { return colors_.at(static_cast<std::size_t>(index)); }
  void LetBarColor(int index, std::uint32_t color);
  bool ClipControls() const { return clipControls_; }
  void LetClipControls(bool on);
  std::int32_t DashSize() const { return dashSize_; }
  void LetDashSize(std::int32_t twips);
  std::int32_t DrawJunctions() const { return drawJunctions_; }
  void LetDrawJunctions(std::int32_t mode);
  bool Enabled() const { return isEnabled(); }
  void LetEnabled(bool on);
  // FirstControl (slot 0) and SecondControl (slot 1): the widget at run time, the
  // stored name at design time.
  QVariant GuidedControl(int slot) const;
  void LetGuidedControl(int slot, const QVariant& name);
  void SetGuidedControl(int slot, const QVariant& object);
  QImage MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(const QImage& icon);
  std::int16_t MousePointer() const { return mousePointer_; }
  void LetMousePointer(std::int16_t pointer);
  bool Moveable() const { return moveable_; }
  void LetMoveable(bool on);
  std::int32_t Orientation() const { return state_.orientation; }
  void LetOrientation(std::int32_t orientation);
  std::int32_t ResizeMode() const { return state_.resizeMode; }
  void LetResizeMode(std::int32_t mode);
  std::int32_t Style() const { return state_.style; }
  void LetStyle(std::int32_t style);
  QVariant ControlInstance() { return QVariant::fromValue<QObject*>(this); }
  QObjectList Controls() const;
  automation::Handle hDC() { return automation::HandleTable::HandleOf(static_cast<QObject*>(this)); }
  automation::Handle hWnd() { return automation::HandleTable::HandleOf(static_cast<QObject*>(this)); }
  QString Version() const;
  void AboutBox();
  // The Trellan that guides the object (this one or another of the form), or null.
  Trellan* TrellanOf(const QObject* object) const;
  void Refresh();
  void Repaint();
  void RestoreFromFile(const QString& file, const QString& section = {});
  void SaveToFile(const QString& file, const QString& section = {});
  // At (x, y) in the control's twips when both are given, else at the cursor.
  void PopupMenu(const QVariant& x = {}, const QVariant& y = {});
  void Swap();

  // Hides the first (0) or second (1) panel, or shows it again.
  void TogglePanel(int index);

  // The control's name on its form ("Name" or "Name(Index)"), and the plain name.
  QString ControlName() const;
  QString PlainName() const;
  const QString& GuidedControlName(int slot) const { return names_.at(static_cast<std::size_t>(slot)); }
  QWidget* GuidedWidget(int slot) const { return guided_.at(static_cast<std::size_t>(slot)); }
  bool PanelHidden(int slot) const { return state_.panelHidden.at(static_cast<std::size_t>(slot)); }
  bool Dragging() const { return dragging_; }
  const LayoutState& layoutState() const { return state_; }
  // The bar's position: its Left for a vertical bar, else its Top (twips).
  std::int32_t BarPosition() const;
  QMenu* Menu() const { return menu_; }
  // The colours as painted, resolved.
  BarColors ResolvedColors() const;
  // Polls scheduled so far, for tests of the idle splitter.
  int PollCount() const { return pollCount_; }

  // Lays out the bar and the guided controls; errors reach the caller.
  void ArrangeGuidedControls(bool containerChanged);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class BorderCut;

  bool UserMode() const;
  QWidget* Container() const { return parentWidget(); }
  // The widget the control lies on, with its name; the parent form for a top-level.
  QWidget* ParentForm() const;
  // Accepts a control as guided, refuses it silently (null) or with an error.
  QWidget* ValidateGuidedControl(QWidget* control) const;
  bool CheckTrellanContainer();
  void AssignByName(int slot, QString name);
  void UpdateBarPointer();
  void PaintSplitBar();
  void PaintJunctions(bool repaintOthers);
  void LetBarPosition(std::int32_t twips);
  void SchedulePoll();
  void Poll();
  void DragStep(QPoint cursorPixels);
  void EndDrag();
  void KeyStep(int pixels);
  void WatchContainer();
  QString SectionFor(const QString& section) const;
  Box BoxOf(const QWidget* widget) const;
  Insets ContainerInsets(QWidget* container) const;
  void RaiseMouse(automation::DispId id, QMouseEvent* event, Qt::MouseButtons buttons);

  LayoutState state_;
  std::array<std::uint32_t, 5> colors_;
  std::array<QPointer<QWidget>, 2> guided_;
  std::array<QString, 2> names_{QStringLiteral("(None)"), QStringLiteral("(None)")};
  std::int32_t savedBarPosition_ = 0;
  std::int32_t dashSize_ = 0;
  std::int32_t drawJunctions_ = 0;
  std::int16_t mousePointer_ = 0;
  QImage mouseIcon_;
  bool autoPopupMenu_ = true;
  bool moveable_ = true;
  bool clipControls_ = true;
  bool customMouseIcon_ = false;
  bool shown_ = false;
  bool rightButtonDown_ = false;
  bool dragging_ = false;
  bool doubleClicked_ = false;  // until the release of a double click
  bool pollEnabled_ = false;
  bool pollPending_ = false;
  int pollCount_ = 0;
  int arrangeLock_ = 0;
  QString helpFileName_;
  QPointer<QWidget> watched_;
  QPointer<QWidget> watchedWindow_;
  QPointer<BorderCut> borderCut_;
  QMenu* menu_ = nullptr;
  QAction* menuFirst_ = nullptr;
  QAction* menuSecond_ = nullptr;
  QAction* menuSwap_ = nullptr;
  QAction* menuOrientation_ = nullptr;
};

}  // namespace morvane::trellan
