#pragma once

// The window's "What's This?" help, without a window hook: one application event
// filter sees F1, right clicks and the what's-this mode's clicks, finds the help id of
// what is under the pointer and shows that topic. Every path funnels into one carrier,
// the id to show next (the old hidden picture box's what's-this id): a path puts an id
// there and runs the display step, which shows the topic and clears the id.
//
// Help ids of widgets that are neither tool buttons nor status panels are read from the
// widget's "WhatsThisHelpID" property (AssignWhatsThisIds sets them from one table).

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QWidget;

namespace morvane::widgets {
class KeyedToolBar;
class MenuEntry;
class MenuModel;
class PanelStatusBar;
}  // namespace morvane::widgets

namespace morvane::app {

// Where topics appear: the help viewer for the program, a recorder in tests.
class HelpDisplay {
 public:
  virtual ~HelpDisplay() = default;
  // One topic in a popup at a point of the screen.
  virtual void ShowTopic(int contextId, QPoint globalPos) = 0;
  // The contents of the help file.
  virtual void ShowContents(QWidget* owner) = 0;
};

// The help viewer over one topics file.
class TopicsFileDisplay final : public HelpDisplay {
 public:
  explicit TopicsFileDisplay(QString topicsFile) : topicsFile_(std::move(topicsFile)) {}
  void ShowTopic(int contextId, QPoint globalPos) override;
  void ShowContents(QWidget* owner) override;

 private:
  QString topicsFile_;
};

// The what's-this ids of the window's fields, the tree and the progress bars, by
// object name (and "Index" for control arrays, -1 for none).
struct WhatsThisSpec {
  const char* name;
  int index;
  int helpId;
  bool rightClickPopup;  // a right click offers "What's This?"
};
const std::vector<WhatsThisSpec>& WhatsThisTable();
// Help id of the zoom view's scroll bars.
inline constexpr int kZoomScrollBarHelpId = 907;
inline constexpr const char* kWhatsThisProperty = "WhatsThisHelpID";

// What the context help needs of the window; it owns none of it.
struct ContextHelpParts {
  QMainWindow* form = nullptr;
  widgets::MenuModel* menus = nullptr;
  std::vector<widgets::KeyedToolBar*> toolbars;
  widgets::PanelStatusBar* status = nullptr;
  QWidget* zoomView = nullptr;  // ucScopel
};

class ContextHelp : public QObject {
  Q_OBJECT

 public:
  // available: whether the help file is there (the display step shows nothing else).
  ContextHelp(ContextHelpParts parts, HelpDisplay& display, bool available, QObject* owner = nullptr);
  ~ContextHelp() override;

  bool Available() const { return available_; }
  // Gives the form's fields, tree and progress bars their ids from WhatsThisTable.
  void AssignWhatsThisIds();

  // The carrier: the id the display step shows next (0: nothing).
  int PendingId() const { return pendingId_; }
  void SetPendingId(int id) { pendingId_ = id; }
  // The display step: shows the pending id's topic at the point (nothing below 1 or
  // without the help file), then clears the id.
  bool DisplayPending(QPoint globalPos);

  // The right-click popup: takes the widget's id and pops up "What's This?".
  void ShowWhatsThisPopup(QWidget* control, int helpId, QPoint globalPos);
  // mPopupWhatsThis: the display step at the pointer.
  void mPopupWhatsThis_Click();

  // F1 with the pointer at a point of the screen; whether a topic was shown.
  bool HelpAt(QPoint globalPos);

  // The guard every command handler asks first: true when a menu-bar title is hilited,
  // after showing the command's topic and ending the hilite.
  bool ShowMenuHelpIfHilited(const std::string& name, int index);
  // A tool-bar click ends the hilite, painted one included.
  void ClearHilite();
  int HilitedMenuItem() const { return hilited_; }

  // Help > What's This?: the help pointer; the next click shows the clicked thing's
  // topic, hovering the menu bar hilites its titles.
  void mHelpWhatsThis_Click();
  bool InWhatsThisMode() const { return inWhatsThisMode_; }
  void EndWhatsThisMode();
  // Help > Help Topics.
  void mHelpTopics_Click();

  // The menu-bar position under a point of the screen (visible titles, from 0), -1
  // for none; and hiliting it as the mode does.
  int MenuBarItemAt(QPoint globalPos) const;
  void HiliteMenuBarItem(int position);
  // Drops a menu-bar title's menu for help: a command chosen in it shows its topic.
  void DropMenuForHelp(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool OnKeyPress(QObject* watched, int key, Qt::KeyboardModifiers modifiers);
  bool OnMenuRightRelease(QMenu* menu, QPoint globalPos);
  // A right release in the what's-this popup; false when the menu is another.
  bool ChoosePopupItem(QMenu* menu, QPoint globalPos);
  bool OnRightPress(QWidget* widget, QPoint globalPos);
  bool OnModeMouse(QObject* watched, QEvent* event);
  int HelpIdOf(QWidget* widget, QPoint globalPos, bool clampPanels) const;
  bool IsOurs(const QObject* object) const;
  QMenu* OurMenu(QObject* object) const;
  widgets::MenuEntry* EntryOfAction(const QAction* action) const;
  QMenuBar* Bar() const;
  QList<widgets::MenuEntry*> BarItems() const;
  void PaintHilite(int position);
  void CloseMenus();

  ContextHelpParts parts_;
  HelpDisplay& display_;
  bool available_;
  int pendingId_ = 0;
  int hilited_ = -1;
  bool inWhatsThisMode_ = false;
  bool shownInMode_ = false;
  bool eatRelease_ = false;
  bool popupOpenedByPress_ = false;
  int dropping_ = 0;
  QPointer<QWidget> hilitePainter_;
};

}  // namespace morvane::app
