#pragma once

// The View and Settings menus' commands: zoom, grid, point marks, the cool bar's bands,
// the painter, and the trace settings Connected, Centroid and Method.

#include <QObject>

class QFileDialog;
class QFileInfo;
class QIcon;
class QString;
class QWidget;

namespace morvane::widgets {
class BandBar;
class KeyedToolBar;
class MenuModel;
}  // namespace morvane::widgets

namespace morvane::app {

class CommandTable;
class DialogService;
class DocumentHost;
class ScopelView;
class WorkPicture;
struct WindowSettings;

// What the painter choice lists besides folders: files that can run.
bool ListedAsProgram(const QFileInfo& info);
void ListProgramsOnly(QFileDialog& dialog);
// A program's icon from the desktop's icon theme, else a generic program icon.
QIcon ProgramIcon(const QString& program);

class ViewCommands : public QObject {
  Q_OBJECT

 public:
  // The commands set the settings and the zoom view, check their menu items, show the
  // cool bar's bands and the painter's button on the Standard bar (pbToolbar(0)); the
  // enablement follows through the host.
  ViewCommands(WindowSettings& settings, DocumentHost& host, WorkPicture& picture, ScopelView& scopel,
               widgets::MenuModel& menus, widgets::BandBar& coolBar, widgets::KeyedToolBar& standard,
               DialogService& dialogs, QObject* parent = nullptr);

  // The commands handled here, bound into the command table.
  void BindCommands(CommandTable& commands);

  void mViewZoom_Click(int index);
  void mViewGrid_Click();
  void mViewPoints_Click();
  void mViewToolbar_Click(int index);
  void mViewPainter_Click();
  void UpdatePainterButton();

 signals:
  // A band was shown or hidden: the window's layout follows.
  void BandsChanged();

 private:
  WindowSettings& settings_;
  DocumentHost& host_;
  WorkPicture& picture_;
  ScopelView& scopel_;
  widgets::MenuModel& menus_;
  widgets::BandBar& coolBar_;
  widgets::KeyedToolBar& standard_;
  DialogService& dialogs_;
};

}  // namespace morvane::app
