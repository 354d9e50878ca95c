#include "app/main_window.h"
#include "app/contour_tree.h"
#include "app/edit_surface.h"
#include "app/field_strips.h"
#include "app/window_layout.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QShortcutEvent>
#include <QStyle>
#include <QTextEdit>

#include "common/app_version.h"
#include "common/file_helpers.h"
#include "common/registry.h"
#include "common/widgets/control_helpers.h"
#include "common/widgets/menu_helpers.h"
#include "controls/scopel/scopel_typelib.h"
#include "controls/spinbox/spinbox.h"
#include "controls/spinbox/spinbox_typelib.h"
#include "platform/core/clock.h"
#include "platform/core/file_system.h"
#include "platform/core/machine_store.h"
#include "platform/core/units.h"
#include "platform/core/version_record.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/events.h"
#include "platform/widgets/automation/property_bag.h"
#include "platform/widgets/band_bar.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"

#include <time.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

// The design data lives in a static library, whose resources the linker keeps only
// when asked for by name.
static void InitFormResources() { Q_INIT_RESOURCE(forms); }

namespace morvane::app {

namespace {

// Alt and a letter open the menu of that letter before they move the focus to a field:
// "&File" and the strip's "&Factor:" share F, and a user pressing Alt+F reaches for the
// menu. Installed on the labels whose mnemonics lead to fields.
class MenuMnemonicsFirst : public QObject {
 public:
  MenuMnemonicsFirst(QMenuBar* bar, QObject* parent) : QObject(parent), bar_(bar) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Shortcut) return false;
    const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
    for (QAction* action : bar_->actions()) {
      if (action->isVisible() && action->isEnabled() && QKeySequence::mnemonic(action->text()) == key) {
        bar_->setActiveAction(action);
        return true;
      }
    }
    return false;
  }

 private:
  QMenuBar* bar_;
};

constexpr int kTpp = core::kTwipsPerPixel;
// XK_Break.
constexpr quint32 kXKeysymBreak = 0xFF6B;
// Below this the menu bar's titles, a row of the cool bar and the status bar no longer
// fit: no size a user could have left the window at.
constexpr QSize kSmallestUsableSize(120, 60);

QRect ToRect(const Box& b) { return QRect(b.left, b.top, b.width, b.height); }

// The picture the "Changed" panel shows while the document has unsaved changes.
QPixmap MakeChangedPicture() {
  QPixmap picture(12, 12);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(200, 30, 30));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(1, 1, 10, 10);
  return picture;
}

// Widgets that copy their own text: Ctrl+C and Ctrl+Ins are theirs.
bool IsTextInput(const QWidget* widget) {
  if (widget == nullptr) return false;
  if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
      qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)) {
    return true;
  }
  const auto* combo = qobject_cast<const QComboBox*>(widget);
  return combo != nullptr && combo->isEditable();
}

// Milliseconds of a clock that is cheap to read: the engine asks after every step.
std::int64_t CoarseTicks() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

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

MainWindow::MainWindow(AppContext context, QWidget* parent)
    : QMainWindow(parent),
      context_(std::move(context)),
      session_(context_.settingsFile),
      run_(CoarseTicks, [this] {
        if (host_) host_->ApplyProgress();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
      }) {
  setObjectName(QStringLiteral("fwMain"));
  InitFormResources();
  BuildParts();
  LoadDesign();
  host_ = std::make_unique<WindowHost>(parts_, run_, settings_);
  dialogs_ = std::make_unique<DialogService>(this);
  // The help file: the one the dialog service reports back is the window's.
  dialogs_->SetHelpFile(
      QString::fromStdString(context_.programFolder + "/" + core::ThisVersionRecord().title + ".hlp"));
  host_->selectZoom = [this](int index) { mViewZoom_Click(index); };
  surface_ = std::make_unique<EditSurface>(*host_, parts_, settings_, commands_, *dialogs_);
  BuildHelp();
  BindCommands();
  qApp->installEventFilter(this);
  Load();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  if (parts_.sbDigits != nullptr && digitsCookie_ != 0)
    parts_.sbDigits->events().unadvise(digitsCookie_);
}

// --- building ---

void MainWindow::BuildParts() {
  resize(760, 540);
  parts_.form = this;
  parts_.menus = new widgets::MenuModel(this);
  parts_.menus->setObjectName(QStringLiteral("fwMainMenus"));
  CommandTable::BuildMenus(*parts_.menus);
  parts_.menus->Attach(menuBar());

  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("fwMainClient"));
  setCentralWidget(client_);
  client_->installEventFilter(this);

  coolBar_ = new widgets::BandBar(client_);
  coolBar_->setObjectName(QStringLiteral("pbCoolBar"));
  for (int i = 0; i < 4; ++i) {
    auto* bar = new widgets::KeyedToolBar(client_);
    bar->setObjectName(QStringLiteral("pbToolbar"));
    bar->setProperty("Index", i);
    parts_.toolbars[static_cast<std::size_t>(i)] = bar;
  }
  CommandTable::BuildToolBars(parts_.toolbars);

  parts_.pbFactors = new QWidget(client_);
  parts_.pbFactors->setObjectName(QStringLiteral("pbFactors"));
  parts_.toolbars[2]->setParent(parts_.pbFactors);
  const auto label = [](QWidget* owner, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromUtf8(text), owner);
    l->setObjectName(QString::fromLatin1(name));
    return l;
  };
  const auto edit = [](QWidget* owner, const char* name) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QString::fromLatin1(name));
    return e;
  };
  tlShiftX_ = label(parts_.pbFactors, "tlShiftX", "Shift&X:");
  tbShiftX_ = edit(parts_.pbFactors, "tbShiftX");
  tlShiftY_ = label(parts_.pbFactors, "tlShiftY", "Shift&Y:");
  tbShiftY_ = edit(parts_.pbFactors, "tbShiftY");
  tlFactor_ = label(parts_.pbFactors, "tlFactor", "&Factor:");
  tbFactor_ = edit(parts_.pbFactors, "tbFactor");
  tlShiftX_->setBuddy(tbShiftX_);
  tlShiftY_->setBuddy(tbShiftY_);
  tlFactor_->setBuddy(tbFactor_);
  auto* menusFirst = new MenuMnemonicsFirst(menuBar(), this);
  for (QLabel* l : {tlShiftX_, tlShiftY_, tlFactor_}) l->installEventFilter(menusFirst);
  parts_.pbFactors->installEventFilter(this);

  parts_.pbTitles = new QWidget(client_);
  parts_.pbTitles->setObjectName(QStringLiteral("pbTitles"));
  tlDigits_ = label(parts_.pbTitles, "tlDigits", "&Digits:");
  tlTitles_ = label(parts_.pbTitles, "tlTitles", "&Title:");
  parts_.cbTitles = new QComboBox(parts_.pbTitles);
  parts_.cbTitles->setObjectName(QStringLiteral("cbTitles"));
  parts_.tbTitles = edit(parts_.pbTitles, "tbTitles");
  parts_.tbTitles->setFrame(false);
  parts_.tbTitles->setTextMargins(4, 0, 0, 0);
  parts_.tbTitles->setEnabled(false);
  tlTitles_->setBuddy(parts_.tbTitles);
  for (QLabel* l : {tlDigits_, tlTitles_}) l->installEventFilter(menusFirst);
  parts_.toolbars[3]->setParent(parts_.pbTitles);
  parts_.pbTitles->installEventFilter(this);

  coolBar_->AddBand(QStringLiteral("Standard"), parts_.toolbars[0], 390, 7650, false);
  coolBar_->AddBand(QStringLiteral("Stop"), parts_.toolbars[1], 390, 900, false);
  coolBar_->AddBand(QStringLiteral("Factors"), parts_.pbFactors, 390, 4800, true);
  coolBar_->AddBand(QStringLiteral("Titles"), parts_.pbTitles, 390, 1425, true);
  connect(coolBar_, &widgets::BandBar::Changed, this, [this] { ArrangeMainLayout(); });

  parts_.pbMain = new QWidget(client_);
  parts_.pbMain->setObjectName(QStringLiteral("pbMain"));
  parts_.tvCoord = new ContourTree(parts_.pbMain);
  parts_.factors = new FactorsStrip(tbShiftX_, tbShiftY_, tbFactor_, this);
  parts_.titles = new TitlesStrip(parts_.cbTitles, parts_.tbTitles, this);

  parts_.status = new widgets::PanelStatusBar(client_);
  parts_.status->setObjectName(QStringLiteral("pbStatus"));
  struct PanelDesign {
    const char* key;
    double width;
    widgets::PanelAutoSize size;
    int tag;
  };
  for (const PanelDesign& p : {PanelDesign{"Changed", 20 * kTpp, widgets::PanelAutoSize::None, 311},
                               PanelDesign{"Info", 110 * kTpp, widgets::PanelAutoSize::None, 312},
                               PanelDesign{"Progress1", 150 * kTpp, widgets::PanelAutoSize::Spring, 313},
                               PanelDesign{"Progress2", 150 * kTpp, widgets::PanelAutoSize::Spring, 314},
                               PanelDesign{"Time", 70 * kTpp, widgets::PanelAutoSize::None, 315}}) {
    parts_.status->AddPanel(QString::fromLatin1(p.key), p.width, p.size)->SetTag(QString::number(p.tag));
  }
  connect(parts_.status, &widgets::PanelStatusBar::PanelsMoved, this, [this] { ArrangeMainLayout(); });
  for (std::size_t i = 0; i < parts_.progress.size(); ++i) {
    auto* bar = new QProgressBar(client_);
    bar->setObjectName(QStringLiteral("pbProgress"));
    bar->setProperty("Index", static_cast<int>(i));
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    bar->setVisible(false);
    parts_.progress[i] = bar;
  }
  parts_.changedPicture = MakeChangedPicture();
}

void MainWindow::LoadDesign() {
  automation::ClassStore& store =
      context_.classStore != nullptr ? *context_.classStore : automation::DefaultClassStore();
  registry_ = std::make_unique<automation::ClassRegistry>(store, context_.controlFolders);
  spinbox::RegisterSpinBoxClass();
  QString error;
  const std::optional<automation::FormDesign> design =
      automation::FormDesign::Load(QStringLiteral(":/forms/fwMain.json"), &error);
  if (!design) throw std::runtime_error("fwMain design: " + error.toStdString());
  const auto host = [&](const QString& name, QWidget* container, automation::ControlSite& site) {
    const automation::HostedControlDesign* control = design->find(name);
    if (control == nullptr) throw std::runtime_error("fwMain design lacks " + name.toStdString());
    automation::Control* made = registry_->create(control->classId, container);
    made->widget()->setObjectName(name);
    site.setName(name);
    site.setContainer(container);
    made->setSite(&site);
    made->ReadProperties(control->bag);
    return made;
  };
  parts_.scopel = ScopelView(host(QStringLiteral("ucScopel"), parts_.pbMain, scopelSite_));
  ucScopel_ = parts_.scopel.control()->widget();
  // The splitter finds the controls it guides by their object names; the window puts
  // its bar at the starting place and leaves the rest to the splitter's next poll.
  ucTrellan_ = host(QStringLiteral("ucTrellan"), parts_.pbMain, trellanSite_)->widget();
  ucTrellan_->setGeometry(kSplitterStart, 0, kSplitterWidth, parts_.pbMain->height());
  ucScopel_->setGeometry(kSplitterStart + kSplitterWidth, 0, 64, 64);
  parts_.sbDigits = host(QStringLiteral("sbDigits"), parts_.pbTitles, digitsSite_);
  sbDigitsWidget_ = parts_.sbDigits->widget();
  tlDigits_->setBuddy(sbDigitsWidget_);
  digitsSink_ = std::make_unique<automation::FunctionSink>([this](automation::DispId id, QVariantList&) {
    if (id == spinbox::eventid::Change && host_) host_->DigitsChanged();
  });
  digitsCookie_ = parts_.sbDigits->events().advise(digitsSink_.get());
}

void MainWindow::BindCommands() {
  // A run or a busy moment: every command but Stop waits.
  commands_.running = [this] { return host_->Runs().Phase() != document::RunPhase::Idle; };
  connect(parts_.menus, &widgets::MenuModel::ItemClicked, this, [this](widgets::MenuEntry* item) {
    if (item->Popup() == nullptr) commands_.Run(item->Name().toStdString(), item->Index());
  });
  for (widgets::KeyedToolBar* bar : parts_.toolbars) {
    connect(bar, &widgets::KeyedToolBar::ButtonClick, this, [this](widgets::ToolBarButton* button) {
      // A tool-bar click ends a menu-bar help hilite and runs its command.
      help_->ClearHilite();
      if (const ToolSpec* tool = FindTool(button->Key())) commands_.Run(tool->command, tool->index);
    });
  }
  WindowHost& host = *host_;
  document::Document& doc = host.Doc();
  commands_.Bind("mFileOpen", [&doc](int) { doc.OpenFile(); });
  commands_.Bind("mFileCreate", [&host](int) { host.CreateContours(); });
  commands_.Bind("mFileSave", [&doc](int) { doc.SaveMap(); });
  commands_.Bind("mFileSaveAs", [&doc](int) { doc.SaveMapAs(); });
  commands_.Bind("mFileBatch", [&doc](int) { doc.RunBatch(); });
  commands_.Bind("mFileList", [&doc](int index) { doc.OpenRecentFile(index); });
  commands_.Bind("mFileExit", [this](int) { close(); });
  commands_.helpGuard = [this](const std::string& name, int index) {
    return help_->ShowMenuHelpIfHilited(name, index);
  };
  ContextHelp& help = *help_;
  commands_.Bind("mHelpWhatsThis", [&help](int) { help.mHelpWhatsThis_Click(); });
  commands_.Bind("mHelpTopics", [&help](int) { help.mHelpTopics_Click(); });
  commands_.Bind("mPopupWhatsThis", [&help](int) { help.mPopupWhatsThis_Click(); });
  HelpCommands& helpMenu = *helpCommands_;
  commands_.Bind("mFilePainter", [&helpMenu](int) { helpMenu.mFilePainter_Click(); });
  commands_.Bind("mHelpUpdate", [&helpMenu](int) { helpMenu.mHelpUpdate_Click(); });
  commands_.Bind("mHelpWeb", [&helpMenu](int) { helpMenu.mHelpWeb_Click(); });
  commands_.Bind("mHelpMail", [&helpMenu](int) { helpMenu.mHelpMail_Click(); });
  commands_.Bind("mHelpAbout", [&helpMenu](int) { helpMenu.mHelpAbout_Click(); });
  commands_.Bind("Stop", [this](int) { Stop(); });
  commands_.Bind("mViewZoom", [this](int index) { mViewZoom_Click(index); });
  commands_.Bind("mViewGrid", [this](int) { mViewGrid_Click(); });
  commands_.Bind("mViewPoints", [this](int) { mViewPoints_Click(); });
  commands_.Bind("mViewToolbar", [this](int index) { mViewToolbar_Click(index); });
  commands_.Bind("mViewPainter", [this](int) { mViewPainter_Click(); });
  commands_.Bind("mSettingsConnected", [this](int) {
    settings_.mSettingsConnected = !settings_.mSettingsConnected;
    // Without joining, the batch writes a map per image.
    if (!settings_.mSettingsConnected) host_->State().SeparateFiles = true;
    host_->RefreshCommands();
  });
  commands_.Bind("mSettingsCentroid", [this](int) {
    settings_.mSettingsCentroid = !settings_.mSettingsCentroid;
    host_->RefreshCommands();
  });
  commands_.Bind("mSettingsMethod", [this](int index) {
    if (index == settings_.mSettingsMethod) return;
    settings_.mSettingsMethod = std::clamp(index, 0, 3);
    common::CheckMenuRadio(index, parts_.menus->Array(QStringLiteral("mSettingsMethod")));
    host_->RefreshCommands();
  });
  surface_->BindCommands();
}

void MainWindow::BuildHelp() {
  const QString topics = dialogs_->TopicsFile();
  HelpDisplay* display = context_.helpDisplay;
  if (display == nullptr) {
    topicsDisplay_ = std::make_unique<TopicsFileDisplay>(topics);
    display = topicsDisplay_.get();
  }
  ContextHelpParts parts;
  parts.form = this;
  parts.menus = parts_.menus;
  parts.toolbars.assign(parts_.toolbars.begin(), parts_.toolbars.end());
  parts.status = parts_.status;
  parts.zoomView = ucScopel_;
  help_ = std::make_unique<ContextHelp>(parts, *display, dialogs_->HelpFileExists(), this);
  help_->AssignWhatsThisIds();
  host_->helpFileExists = dialogs_->HelpFileExists();

  HelpCommandsContext commands;
  commands.form = this;
  commands.registry = registry_.get();
  commands.update = &update_;
  commands.dialogs = dialogs_.get();
  commands.record = core::ThisVersionRecord();
  commands.exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  commands.painterPath = [this] { return settings_.Painter; };
  commands.imagePath = [this] { return host_->State().ImagePath; };
  helpCommands_ = std::make_unique<HelpCommands>(std::move(commands));
}

// --- start-up and shut-down ---

void MainWindow::Load() {
  const core::VersionRecord& record = core::ThisVersionRecord();
  if (context_.machineStore != nullptr) {
    const std::string key = common::AppRegistryKeyPath(record);
    common::WriteRegValue(*context_.machineStore, core::RegistryRoot::kLocalMachine, key, "",
                          context_.programFolder, core::kRegSz);
    common::WriteRegValue(*context_.machineStore, core::RegistryRoot::kLocalMachine, key,
                          "CurrentVersion", common::GetAppVersion(false, record), core::kRegSz);
  }
  const std::string& file = session_.file();
  const std::string comments = record.comments.substr(0, record.comments.find(", "));
  updateValues_ = {
      comments + "/Products/" + record.title + "/" +
          QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString() + ".js",
      file, common::GetAppVersion(true, record)};
  update_.Configure(QString::fromStdString(updateValues_[0]), QString::fromStdString(updateValues_[1]),
                    QString::fromStdString(updateValues_[2]));

  ColorDefaults colors;
  ScopelView& view = parts_.scopel;
  colors.BackColor = view.BackColor();
  colors.GridColor = view.GridColor();
  colors.ForeColor = view.ForeColor();
  colors.FillColor = view.FillColor();
  const auto find =
      context_.findProgram ? context_.findProgram : [](const std::string&) { return std::string(); };
  settings_ = ReadSettings(session_, DefaultSettings(colors, DefaultPainter(find)));

  host_->SetRecentFiles(settings_.recentFiles);
  document::DocumentState& state = host_->State();
  state.TextOutputPath = settings_.TXTFile;
  state.SeparateFiles = settings_.Output1;
  state.AskBeforeOverwrite = settings_.Output2;
  host_->LetDigitsValue(settings_.sbDigits);
  UpdatePainterButton();

  view.SetBackColor(settings_.BackColor);
  view.SetGridColor(settings_.GridColor);
  view.SetForeColor(settings_.ForeColor);
  view.SetFillColor(settings_.FillColor);

  mViewZoom_Click(settings_.ZoomScale);
  view.SetGridLines(settings_.mViewGrid);
  common::CheckMenuRadio(settings_.mSettingsMethod,
                         parts_.menus->Array(QStringLiteral("mSettingsMethod")));
  const std::array<std::int32_t, 4> swatches{settings_.BackColor, settings_.GridColor,
                                             settings_.ForeColor, settings_.FillColor};
  const QList<widgets::MenuEntry*> colorItems = parts_.menus->Array(QStringLiteral("mViewColor"));
  for (qsizetype i = 0; i < colorItems.size() && i < 4; ++i) {
    common::SetMenuColorSwatch(
        this, colorItems[i],
        gui::OleColor(static_cast<std::uint32_t>(swatches[static_cast<std::size_t>(i)])), false);
  }

  common::ReadFormPlacement(*this, placement_, session_);
  // A window that starts minimised looks like a program that failed to start: it starts
  // normal, on its normal bounds.
  if (placement_.State == 1) placement_.State = 0;
  // A size too small to use comes from a damaged file: the form keeps its own, as it
  // does for a size of 0.
  if (core::TwipsToPixels(placement_.Width) < kSmallestUsableSize.width())
    placement_.Width = width() * kTpp;
  if (core::TwipsToPixels(placement_.Height) < kSmallestUsableSize.height())
    placement_.Height = height() * kTpp;
  // The normal bounds first, then the state: a window maximised before it has them
  // would come back from maximised at the form's own size and place.
  ++resizeGuard_;
  common::MoveToPlacement(*this, placement_);
  // A width of exactly 600 px ends 601, as it always has.
  if (placement_.State == 0 && width() == 600) resize(601, height());
  if (placement_.State == 2) setWindowState(windowState() | Qt::WindowMaximized);
  --resizeGuard_;
  common::RestoreCoolBarLayout(session_, coolBar_);
  const QList<widgets::MenuEntry*> toolbarItems = parts_.menus->Array(QStringLiteral("mViewToolbar"));
  for (widgets::MenuEntry* item : toolbarItems) {
    const widgets::Band* band = coolBar_->FindBand(item->Caption().remove(QLatin1Char('&')));
    item->SetChecked(band != nullptr && band->Visible());
  }
  TrackPlacement();
  ArrangeMainLayout();
  ArrangeFactors();
  ArrangeTitles();

  // What the exit would write now is what this program started with: the exit writes
  // only what changed since, and another program's changes to the rest stay.
  StoreSettings();
  session_.TakeBaseline();

  // The tree is where the keys work first: Copy, Del, Ins and the arrows.
  parts_.tvCoord->setFocus();
  std::error_code noFolder;
  const std::string currentFolder = std::filesystem::current_path(noFolder).string();
  host_->LoadAtStart(ParseCommandLine(
      context_.arguments, [](const std::string& p) { return core::IsFile(p); }, currentFolder));
  host_->RefreshCommands();
}

void MainWindow::StoreSettings() {
  common::SaveCoolBarLayout(session_, coolBar_);
  const document::DocumentState& state = host_->State();
  settings_.TXTFile = state.TextOutputPath;
  settings_.Output1 = state.SeparateFiles;
  settings_.Output2 = state.AskBeforeOverwrite;
  ScopelView& view = parts_.scopel;
  settings_.BackColor = view.BackColor();
  settings_.GridColor = view.GridColor();
  settings_.ForeColor = view.ForeColor();
  settings_.FillColor = view.FillColor();
  settings_.recentFiles = host_->Model().RecentFiles();
  common::SaveFormPlacement(*this, placement_, session_);
  WriteSettings(session_, settings_);
}

void MainWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  StoreSettings();
  if (!session_.Commit()) {
    automation::CatchAtEventBoundary([&] {
      host_->ShowError("The settings could not be saved to \"" + session_.file() +
                       "\": " + session_.error());
    });
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (run_.Running()) {
    // The run ends first; the close comes back once the UI is on again.
    Stop();
    run_.SetClosePending(true);
    event->ignore();
    return;
  }
  bool cancel = false;
  automation::CatchAtEventBoundary(
      [&] { cancel = host_->Doc().ConfirmSaveChanges() == document::kAnswerCancel; });
  if (cancel) {
    event->ignore();
    return;
  }
  automation::CatchAtEventBoundary([&] { Unload(); });
  event->accept();
}

// --- layout ---

void MainWindow::TrackPlacement() {
  if (resizeGuard_ > 0) return;
  const Qt::WindowStates s = windowState();
  const std::int32_t state = (s & Qt::WindowMinimized)                            ? 1
                             : (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? 2
                                                                                  : 0;
  // Back from minimised or maximised, the platform (the window manager) gives the window
  // its normal bounds again: a move of ours would run while the frame still has the
  // margins of its maximised state, and put the window off its place by their change.
  placement_.State = state;
  if (state == 0) {
    // The frame's origin, which the move to these bounds and their save use too: the
    // client's would put the window lower by the title bar at each return.
    const QPoint origin = pos();
    placement_.Left = origin.x() * kTpp;
    placement_.Top = origin.y() * kTpp;
    placement_.Width = width() * kTpp;
    placement_.Height = height() * kTpp;
  }
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Minimising moves and resizes nothing: the state is followed on its own.
  if (event->type() == QEvent::WindowStateChange) TrackPlacement();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  TrackPlacement();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  TrackPlacement();
}

void MainWindow::ArrangeMainLayout() {
  if (client_ == nullptr || parts_.status == nullptr) return;
  MainLayoutInput in;
  in.clientWidth = client_->width();
  in.clientHeight = client_->height();
  in.anyBandVisible = false;
  for (int i = 1; i <= coolBar_->Count(); ++i)
    in.anyBandVisible = in.anyBandVisible || coolBar_->BandAt(i)->Visible();
  in.coolBarHeight = coolBar_->sizeHint().height();
  const char* keys[] = {"Info", "Progress1", "Progress2"};
  for (std::size_t i = 0; i < 3; ++i) {
    const widgets::StatusBarPanel* panel = parts_.status->Panel(QString::fromLatin1(keys[i]));
    in.panels[i] = {static_cast<int>(panel->Left() / kTpp), static_cast<int>(panel->Width() / kTpp)};
  }
  const MainLayout out = app::ArrangeMainLayout(in);
  coolBar_->setVisible(out.coolBarVisible);
  if (out.coolBarVisible) coolBar_->setGeometry(ToRect(out.coolBar));
  parts_.pbMain->setGeometry(ToRect(out.main));
  parts_.status->setGeometry(ToRect(out.status));
  for (std::size_t i = 0; i < 3; ++i) {
    parts_.progress[i]->setGeometry(ToRect(out.progress[i]));
    parts_.progress[i]->raise();
  }
}

void MainWindow::ArrangeFactors() {
  const int button = parts_.toolbars[2]->ButtonSize().width();
  const FactorsLayout out =
      app::ArrangeFactors(parts_.pbFactors->height(), button, parts_.cbTitles->sizeHint().height());
  parts_.toolbars[2]->setGeometry(ToRect(out.toolbar));
  tlShiftX_->setGeometry(ToRect(out.tlShiftX));
  tbShiftX_->setGeometry(ToRect(out.tbShiftX));
  tlShiftY_->setGeometry(ToRect(out.tlShiftY));
  tbShiftY_->setGeometry(ToRect(out.tbShiftY));
  tlFactor_->setGeometry(ToRect(out.tlFactor));
  tbFactor_->setGeometry(ToRect(out.tbFactor));
}

void MainWindow::ArrangeTitles() {
  const int button = parts_.toolbars[3]->ButtonSize().width();
  const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const TitlesLayout out = app::ArrangeTitles(parts_.pbTitles->height(), button,
                                              parts_.cbTitles->sizeHint().height(), scroll);
  tlDigits_->setGeometry(ToRect(out.tlDigits));
  sbDigitsWidget_->setGeometry(ToRect(out.sbDigits));
  tlTitles_->setGeometry(ToRect(out.tlTitles));
  parts_.cbTitles->setGeometry(ToRect(out.cbTitles));
  parts_.tbTitles->setGeometry(ToRect(out.tbTitles));
  parts_.tbTitles->raise();
  parts_.toolbars[3]->setGeometry(ToRect(out.toolbar));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == client_) ArrangeMainLayout();
    if (watched == parts_.pbFactors) ArrangeFactors();
    if (watched == parts_.pbTitles) ArrangeTitles();
  } else if (event->type() == QEvent::ShortcutOverride) {
    // Ctrl+E is Run Painter, also in a text field (which on X would take it as "end of
    // line"): the override is left unaccepted, so the window's shortcut runs.
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (widget != nullptr && widget->window() == this &&
        key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_E)) {
      event->ignore();
      return true;
    }
  } else if (event->type() == QEvent::KeyRelease) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (widget != nullptr && widget->window() == this && !key->isAutoRepeat()) {
      bool handled = false;
      automation::CatchAtEventBoundary([&] { handled = FormKeyUp(*key); });
      if (handled) return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// --- commands ---

bool MainWindow::FormKeyUp(const QKeyEvent& event) {
  if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) return false;
  int key = event.key();
  // With Ctrl the Pause key gives the Break keysym on X, which Qt names no key.
  if (key == 0 && event.nativeVirtualKey() == kXKeysymBreak) key = Qt::Key_Pause;
  switch (key) {
    case Qt::Key_Pause:
    case Qt::Key_Cancel: {
      // Idle, there is nothing to stop: a flag left set would end the next run at once.
      const widgets::ToolBarButton* stop = parts_.toolbars[1]->Button(QStringLiteral("Stop"));
      if (stop == nullptr || !stop->Enabled()) return false;
      commands_.Run("Stop");
      return true;
    }
    case Qt::Key_PageUp: commands_.Run("mViewZoom", 0); return true;
    case Qt::Key_PageDown: commands_.Run("mViewZoom", 1); return true;
    case Qt::Key_Insert:
    case Qt::Key_C:
      if (IsTextInput(QApplication::focusWidget())) return false;
      commands_.Run("mEditCopy");
      return true;
    default: return false;
  }
}

void MainWindow::Stop() {
  host_->State().BatchRunning = false;
  run_.RequestStop();
}

void MainWindow::mViewZoom_Click(int index) {
  const QList<widgets::MenuEntry*> items = parts_.menus->Array(QStringLiteral("mViewZoom"));
  if (index < 0 || index >= items.size()) return;
  settings_.ZoomScale = index;
  common::CheckMenuRadio(index, items);
  parts_.scopel.SetZooming(items[index]->Tag().toInt());
  if (host_) host_->RefreshCommands();
}

void MainWindow::mViewGrid_Click() {
  settings_.mViewGrid = !settings_.mViewGrid;
  parts_.scopel.SetGridLines(settings_.mViewGrid);
  host_->RefreshCommands();
}

void MainWindow::mViewPoints_Click() {
  settings_.mViewPoints = !settings_.mViewPoints;
  // Marks drawn, or painted over in the outline colour, without reloading the picture.
  host_->DrawPointMarks();
  host_->RefreshCommands();
}

void MainWindow::mViewToolbar_Click(int index) {
  widgets::MenuEntry* item = parts_.menus->Item(QStringLiteral("mViewToolbar"), index);
  if (item == nullptr) return;
  widgets::Band* band = coolBar_->FindBand(item->Caption().remove(QLatin1Char('&')));
  if (band == nullptr) return;
  band->SetVisible(!band->Visible());
  item->SetChecked(band->Visible());
  ArrangeMainLayout();
}

void MainWindow::mViewPainter_Click() {
  const widgets::MenuEntry* item = parts_.menus->Item(QStringLiteral("mViewPainter"));
  DialogService& d = *dialogs_;
  d.Flags = core::kOfnShareAware | core::kOfnFileMustExist | core::kOfnShowHelp | core::kOfnHideReadOnly;
  d.HelpContextId = item->HelpContextID();
  d.DialogTitle = item->Caption().remove(QLatin1Char('&'));
  d.Filter = QStringLiteral("Programs|*|");
  d.FileName = QString::fromStdString(settings_.Painter);
  d.InitDir = QString::fromStdString(common::ValidFolderOrDefault(settings_.Painter, "/"));
  d.InitFileDialog = [](QFileDialog& dialog) { ListProgramsOnly(dialog); };
  d.ShowOpen();
  d.InitFileDialog = nullptr;
  // A cancelled dialog leaves no name: the painter stays as it was.
  const std::string chosen = d.FileName.toStdString();
  if (!chosen.empty() && chosen != settings_.Painter) {
    settings_.Painter = chosen;
    UpdatePainterButton();
  }
  d.FileName.clear();
  host_->RefreshCommands();
}

void MainWindow::UpdatePainterButton() {
  widgets::ToolBarButton* button = parts_.toolbars[0]->Button(QStringLiteral("Painter"));
  if (button == nullptr || settings_.Painter.empty() || !core::IsFile(settings_.Painter)) return;
  button->SetImage(ProgramIcon(QString::fromStdString(settings_.Painter)));
  button->SetVisible(true);
}

}  // namespace morvane::app
