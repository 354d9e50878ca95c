#include "app/view_commands.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIcon>
#include <QSortFilterProxyModel>
#include <QStyle>

#include <algorithm>

#include "app/command_table.h"
#include "app/dialog_service.h"
#include "app/document_host.h"
#include "app/scopel_view.h"
#include "app/settings_io.h"
#include "app/work_picture.h"
#include "common/file_helpers.h"
#include "common/widgets/menu_helpers.h"
#include "platform/core/file_system.h"
#include "platform/widgets/band_bar.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"

namespace morvane::app {

bool ListedAsProgram(const QFileInfo& info) {
  return info.isDir() || (info.isFile() && info.isExecutable());
}

void ListProgramsOnly(QFileDialog& dialog) {
  // Folders to walk through and the files that can run; the name filter lets all pass.
  class Programs : public QSortFilterProxyModel {
   public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

   protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
      const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
      return files == nullptr || ListedAsProgram(files->fileInfo(files->index(row, 0, parent)));
    }
  };
  dialog.setProxyModel(new Programs(&dialog));
}

QIcon ProgramIcon(const QString& program) {
  // The program's own icon from the desktop's theme, else a generic program icon.
  const QString name = QFileInfo(program).completeBaseName();
  return QIcon::fromTheme(
      name, QIcon::fromTheme(QStringLiteral("application-x-executable"),
                             QApplication::style()->standardIcon(QStyle::SP_ComputerIcon)));
}

ViewCommands::ViewCommands(WindowSettings& settings, DocumentHost& host, WorkPicture& picture,
                           ScopelView& scopel, widgets::MenuModel& menus, widgets::BandBar& coolBar,
                           widgets::KeyedToolBar& standard, DialogService& dialogs, QObject* parent)
    : QObject(parent),
      settings_(settings),
      host_(host),
      picture_(picture),
      scopel_(scopel),
      menus_(menus),
      coolBar_(coolBar),
      standard_(standard),
      dialogs_(dialogs) {}

void ViewCommands::BindCommands(CommandTable& commands) {
  commands.Bind("mViewZoom", [this](int index) { mViewZoom_Click(index); });
  commands.Bind("mViewGrid", [this](int) { mViewGrid_Click(); });
  commands.Bind("mViewPoints", [this](int) { mViewPoints_Click(); });
  commands.Bind("mViewToolbar", [this](int index) { mViewToolbar_Click(index); });
  commands.Bind("mViewPainter", [this](int) { mViewPainter_Click(); });
  commands.Bind("mSettingsConnected", [this](int) {
    settings_.connected = !settings_.connected;
    // Without joining, the batch writes a map per image.
    if (!settings_.connected) host_.Model().LetSeparateFiles(true);
    host_.RefreshCommands();
  });
  commands.Bind("mSettingsCentroid", [this](int) {
    settings_.centroid = !settings_.centroid;
    host_.RefreshCommands();
  });
  commands.Bind("mSettingsMethod", [this](int index) {
    if (index == static_cast<int>(settings_.method)) return;
    settings_.method = static_cast<engine::ReductionMethod>(std::clamp(index, 0, 3));
    common::CheckMenuRadio(index, menus_.Array(QStringLiteral("mSettingsMethod")));
    host_.RefreshCommands();
  });
}

void ViewCommands::mViewZoom_Click(int index) {
  const QList<widgets::MenuEntry*> items = menus_.Array(QStringLiteral("mViewZoom"));
  if (index < 0 || index >= items.size()) return;
  settings_.zoomIndex = index;
  common::CheckMenuRadio(index, items);
  scopel_.SetZooming(items[index]->Tag().toInt());
  host_.RefreshCommands();
}

void ViewCommands::mViewGrid_Click() {
  settings_.showGrid = !settings_.showGrid;
  scopel_.SetGridLines(settings_.showGrid);
  host_.RefreshCommands();
}

void ViewCommands::mViewPoints_Click() {
  settings_.showPoints = !settings_.showPoints;
  // Marks drawn, or painted over in the outline colour, without reloading the picture.
  picture_.DrawPointMarks();
  host_.RefreshCommands();
}

void ViewCommands::mViewToolbar_Click(int index) {
  widgets::MenuEntry* item = menus_.Item(QStringLiteral("mViewToolbar"), index);
  const MenuSpec* spec = FindMenu("mViewToolbar", index);
  if (item == nullptr || spec == nullptr) return;
  widgets::Band* band = coolBar_.FindBand(QString::fromLatin1(spec->band));
  if (band == nullptr) return;
  band->SetVisible(!band->Visible());
  item->SetChecked(band->Visible());
  emit BandsChanged();
}

void ViewCommands::mViewPainter_Click() {
  const widgets::MenuEntry* item = menus_.Item(QStringLiteral("mViewPainter"));
  DialogService& d = dialogs_;
  d.Flags = core::kOfnShareAware | core::kOfnFileMustExist | core::kOfnShowHelp | core::kOfnHideReadOnly;
  d.HelpContextId = item->HelpContextID();
  d.DialogTitle = item->Caption().remove(QLatin1Char('&'));
  d.Filter = QStringLiteral("Programs|*|");
  d.FileName = QString::fromStdString(settings_.painterPath);
  d.InitDir = QString::fromStdString(common::ValidFolderOrDefault(settings_.painterPath, "/"));
  d.InitFileDialog = [](QFileDialog& dialog) { ListProgramsOnly(dialog); };
  d.ShowOpen();
  d.InitFileDialog = nullptr;
  // A cancelled dialog leaves no name: the painter stays as it was.
  const std::string chosen = d.FileName.toStdString();
  if (!chosen.empty() && chosen != settings_.painterPath) {
    settings_.painterPath = chosen;
    UpdatePainterButton();
  }
  d.FileName.clear();
  host_.RefreshCommands();
}

void ViewCommands::UpdatePainterButton() {
  widgets::ToolBarButton* button = standard_.Button(QStringLiteral("Painter"));
  if (button == nullptr || settings_.painterPath.empty() || !core::IsFile(settings_.painterPath)) return;
  button->SetImage(ProgramIcon(QString::fromStdString(settings_.painterPath)));
  button->SetVisible(true);
}

}  // namespace morvane::app
