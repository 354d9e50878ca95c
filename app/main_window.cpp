#include "app/main_window.h"
#include "app/contour_tree.h"
#include "app/edit_surface.h"
#include "app/field_strips.h"
#include "app/status_panels.h"
#include "app/window_layout.h"
#include "app/window_prompts.h"
#include "app/work_picture.h"

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

MainWindow::MainWindow(AppContext context, QWidget* parent)
    : QMainWindow(parent),
      context_(std::move(context)),
      session_(context_.settingsFile),
      run_(CoarseTicks, [this] {
        if (status_ != nullptr) status_->ApplyProgress();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
      }),
      // A run or a busy moment: every command but Stop waits.
      commands_([this] { return host_ && host_->Runs().Phase() != document::RunPhase::Idle; },
                [this](const std::string& name, int index) {
                  return help_ && help_->ShowMenuHelpIfHilited(name, index);
                }) {
  setObjectName(QStringLiteral("fwMain"));
  InitFormResources();
  BuildParts();
  LoadDesign();
  dialogs_ = std::make_unique<DialogService>(this);
  // The help file: the one the dialog service reports back is the window's.
  dialogs_->SetHelpFile(
      QString::fromStdString(context_.programFolder + "/" + core::ThisVersionRecord().title + ".hlp"));
  picture_ = std::make_unique<WorkPicture>(model_, scopel_, settings_, *status_);
  prompts_ = std::make_unique<WindowPrompts>(this, *menus_, settings_,
                                             [this] { return host_ && host_->BusyPointerShown(); });
  host_ = std::make_unique<DocumentHost>(this, model_, run_, settings_, *status_, *picture_, *titles_,
                                         *factors_, *prompts_, *tree_, *menus_, toolbars_, pbMain_,
                                         scopel_, sbDigits_, dialogs_->HelpFileExists());
  connect(picture_.get(), &WorkPicture::EditEnabledChanged, this, [this] { host_->RefreshCommands(); });
  view_ = std::make_unique<ViewCommands>(settings_, *host_, *picture_, scopel_, *menus_, *coolBar_,
                                         *toolbars_[0], *dialogs_);
  connect(picture_.get(), &WorkPicture::ZoomSelected, view_.get(), &ViewCommands::mViewZoom_Click);
  connect(view_.get(), &ViewCommands::BandsChanged, this, [this] { ArrangeMainLayout(); });
  surface_ = std::make_unique<EditSurface>(this, *host_, *prompts_, *picture_, *status_, *tree_,
                                           *titles_, *factors_, *menus_, scopel_, pbMain_, settings_,
                                           commands_, *dialogs_);
  BuildHelp();
  BindCommands();
  qApp->installEventFilter(this);
  Load();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  if (sbDigits_ != nullptr && digitsCookie_ != 0) sbDigits_->events().unadvise(digitsCookie_);
}

widgets::PanelStatusBar* MainWindow::StatusBar() const { return status_->Bar(); }

// --- building ---

void MainWindow::BuildParts() {
  resize(760, 540);
  menus_ = new widgets::MenuModel(this);
  menus_->setObjectName(QStringLiteral("fwMainMenus"));
  CommandTable::BuildMenus(*menus_);
  menus_->Attach(menuBar());

  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("fwMainClient"));
  setCentralWidget(client_);
  client_->installEventFilter(this);

  coolBar_ = new widgets::BandBar(client_);
  coolBar_->setObjectName(QStringLiteral("pbCoolBar"));
  for (int i = 0; i < 2; ++i) {
    auto* bar = new widgets::KeyedToolBar(client_);
    bar->setObjectName(QStringLiteral("pbToolbar"));
    bar->setProperty("Index", i);
    toolbars_[static_cast<std::size_t>(i)] = bar;
  }

  factors_ = new FactorsStrip(client_, this);
  toolbars_[2] = factors_->Bar();
  auto* menusFirst = new MenuMnemonicsFirst(menuBar(), this);
  for (QLabel* l : factors_->Labels()) l->installEventFilter(menusFirst);
  factors_->Panel()->installEventFilter(this);

  titles_ = new TitlesStrip(client_, this);
  toolbars_[3] = titles_->Bar();
  for (QLabel* l : titles_->Labels()) l->installEventFilter(menusFirst);
  titles_->Panel()->installEventFilter(this);
  CommandTable::BuildToolBars(toolbars_);

  coolBar_->AddBand(QStringLiteral("Standard"), toolbars_[0], 390, 7650, false);
  coolBar_->AddBand(QStringLiteral("Stop"), toolbars_[1], 390, 900, false);
  coolBar_->AddBand(QStringLiteral("Factors"), factors_->Panel(), 390, 4800, true);
  coolBar_->AddBand(QStringLiteral("Titles"), titles_->Panel(), 390, 1425, true);
  connect(coolBar_, &widgets::BandBar::Changed, this, [this] { ArrangeMainLayout(); });

  pbMain_ = new QWidget(client_);
  pbMain_->setObjectName(QStringLiteral("pbMain"));
  tree_ = new ContourTree(pbMain_);

  status_ = new StatusPanels(client_, run_);
  connect(status_, &StatusPanels::PanelsMoved, this, [this] { ArrangeMainLayout(); });
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
  scopel_ = ScopelView(host(QStringLiteral("ucScopel"), pbMain_, scopelSite_));
  ucScopel_ = scopel_.control()->widget();
  // The splitter finds the controls it guides by their object names; the window puts
  // its bar at the starting place and leaves the rest to the splitter's next poll.
  ucTrellan_ = host(QStringLiteral("ucTrellan"), pbMain_, trellanSite_)->widget();
  ucTrellan_->setGeometry(kSplitterStart, 0, kSplitterWidth, pbMain_->height());
  ucScopel_->setGeometry(kSplitterStart + kSplitterWidth, 0, 64, 64);
  sbDigits_ = host(QStringLiteral("sbDigits"), titles_->Panel(), digitsSite_);
  sbDigitsWidget_ = sbDigits_->widget();
  titles_->DigitsLabel()->setBuddy(sbDigitsWidget_);
  digitsSink_ = std::make_unique<automation::FunctionSink>([this](automation::DispId id, QVariantList&) {
    if (id == spinbox::eventid::Change && host_) host_->DigitsChanged();
  });
  digitsCookie_ = sbDigits_->events().advise(digitsSink_.get());
}

void MainWindow::BindCommands() {
  connect(menus_, &widgets::MenuModel::ItemClicked, this, [this](widgets::MenuEntry* item) {
    if (item->Popup() == nullptr) commands_.Run(item->Name().toStdString(), item->Index());
  });
  for (widgets::KeyedToolBar* bar : toolbars_) {
    connect(bar, &widgets::KeyedToolBar::ButtonClick, this, [this](widgets::ToolBarButton* button) {
      // A tool-bar click ends a menu-bar help hilite and runs its command.
      help_->ClearHilite();
      if (const ToolSpec* tool = FindTool(button->Key())) commands_.Run(tool->command, tool->index);
    });
  }
  DocumentHost& host = *host_;
  document::Document& doc = host.Doc();
  commands_.Bind("mFileOpen", [&doc](int) { doc.OpenFile(); });
  commands_.Bind("mFileCreate", [&host](int) { host.CreateContours(); });
  commands_.Bind("mFileSave", [&doc](int) { doc.SaveMap(); });
  commands_.Bind("mFileSaveAs", [&doc](int) { doc.SaveMapAs(); });
  commands_.Bind("mFileBatch", [&doc](int) { doc.RunBatch(); });
  commands_.Bind("mFileList", [&doc](int index) { doc.OpenRecentFile(index); });
  commands_.Bind("mFileExit", [this](int) { close(); });
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
  view_->BindCommands(commands_);
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
  parts.menus = menus_;
  parts.toolbars.assign(toolbars_.begin(), toolbars_.end());
  parts.status = status_->Bar();
  parts.zoomView = ucScopel_;
  help_ = std::make_unique<ContextHelp>(parts, *display, dialogs_->HelpFileExists(), this);
  help_->AssignWhatsThisIds();

  HelpCommandsContext commands;
  commands.form = this;
  commands.registry = registry_.get();
  commands.update = &update_;
  commands.dialogs = dialogs_.get();
  commands.record = core::ThisVersionRecord();
  commands.exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  commands.painterPath = [this] { return settings_.painterPath; };
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
  ScopelView& view = scopel_;
  colors.backColor = view.BackColor();
  colors.gridColor = view.GridColor();
  colors.foreColor = view.ForeColor();
  colors.fillColor = view.FillColor();
  const auto find =
      context_.findProgram ? context_.findProgram : [](const std::string&) { return std::string(); };
  settings_ = ReadSettings(session_, DefaultSettings(colors, DefaultPainter(find)));

  host_->SetRecentFiles(settings_.recentFiles);
  document::DocumentModel& model = host_->Model();
  model.LetTextOutputPath(settings_.reportPath);
  model.LetSeparateFiles(settings_.separateFiles);
  model.LetAskBeforeOverwrite(settings_.askBeforeOverwrite);
  host_->LetDigitsValue(settings_.digits);
  view_->UpdatePainterButton();

  view.SetBackColor(settings_.backColor);
  view.SetGridColor(settings_.gridColor);
  view.SetForeColor(settings_.foreColor);
  view.SetFillColor(settings_.fillColor);

  view_->mViewZoom_Click(settings_.zoomIndex);
  view.SetGridLines(settings_.showGrid);
  common::CheckMenuRadio(static_cast<std::int32_t>(settings_.method),
                         menus_->Array(QStringLiteral("mSettingsMethod")));
  const std::array<std::int32_t, 4> swatches{settings_.backColor, settings_.gridColor,
                                             settings_.foreColor, settings_.fillColor};
  const QList<widgets::MenuEntry*> colorItems = menus_->Array(QStringLiteral("mViewColor"));
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
  const QList<widgets::MenuEntry*> toolbarItems = menus_->Array(QStringLiteral("mViewToolbar"));
  for (widgets::MenuEntry* item : toolbarItems) {
    const MenuSpec* spec = FindMenu("mViewToolbar", item->Index());
    const widgets::Band* band =
        spec != nullptr ? coolBar_->FindBand(QString::fromLatin1(spec->band)) : nullptr;
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
  tree_->setFocus();
  std::error_code noFolder;
  const std::string currentFolder = std::filesystem::current_path(noFolder).string();
  host_->LoadAtStart(ParseCommandLine(
      context_.arguments, [](const std::string& p) { return core::IsFile(p); }, currentFolder));
  host_->RefreshCommands();
}

void MainWindow::StoreSettings() {
  common::SaveCoolBarLayout(session_, coolBar_);
  const document::DocumentState& state = host_->State();
  settings_.reportPath = state.TextOutputPath;
  settings_.separateFiles = state.SeparateFiles;
  settings_.askBeforeOverwrite = state.AskBeforeOverwrite;
  ScopelView& view = scopel_;
  settings_.backColor = view.BackColor();
  settings_.gridColor = view.GridColor();
  settings_.foreColor = view.ForeColor();
  settings_.fillColor = view.FillColor();
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
      prompts_->ShowError("The settings could not be saved to \"" + session_.file() +
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
  if (client_ == nullptr || status_ == nullptr) return;
  MainLayoutInput in;
  in.clientWidth = client_->width();
  in.clientHeight = client_->height();
  in.anyBandVisible = false;
  for (int i = 1; i <= coolBar_->Count(); ++i)
    in.anyBandVisible = in.anyBandVisible || coolBar_->BandAt(i)->Visible();
  in.coolBarHeight = coolBar_->sizeHint().height();
  const char* keys[] = {"Info", "Progress1", "Progress2"};
  for (std::size_t i = 0; i < 3; ++i) {
    const widgets::StatusBarPanel* panel = status_->Bar()->Panel(QString::fromLatin1(keys[i]));
    in.panels[i] = {static_cast<int>(panel->Left() / kTpp), static_cast<int>(panel->Width() / kTpp)};
  }
  const MainLayout out = app::ArrangeMainLayout(in);
  coolBar_->setVisible(out.coolBarVisible);
  if (out.coolBarVisible) coolBar_->setGeometry(ToRect(out.coolBar));
  pbMain_->setGeometry(ToRect(out.main));
  status_->Bar()->setGeometry(ToRect(out.status));
  const std::array<QProgressBar*, 3>& progress = status_->ProgressBars();
  for (std::size_t i = 0; i < 3; ++i) {
    progress[i]->setGeometry(ToRect(out.progress[i]));
    progress[i]->raise();
  }
}

void MainWindow::ArrangeFactors() {
  FactorsStrip& f = *factors_;
  const int button = f.Bar()->ButtonSize().width();
  const FactorsLayout out =
      app::ArrangeFactors(f.Panel()->height(), button, titles_->List()->sizeHint().height());
  f.Place(out);
}

void MainWindow::ArrangeTitles() {
  TitlesStrip& t = *titles_;
  const int button = t.Bar()->ButtonSize().width();
  const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const TitlesLayout out =
      app::ArrangeTitles(t.Panel()->height(), button, t.List()->sizeHint().height(), scroll);
  sbDigitsWidget_->setGeometry(ToRect(out.sbDigits));
  t.Place(out);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == client_) ArrangeMainLayout();
    if (factors_ != nullptr && watched == factors_->Panel()) ArrangeFactors();
    if (titles_ != nullptr && watched == titles_->Panel()) ArrangeTitles();
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
      const CommandStates& states = host_->LastCommandStates();
      const auto stop = states.find("tb:Stop");
      if (stop == states.end() || !stop->second.enabled) return false;
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
  host_->Model().LetBatchRunning(false);
  run_.RequestStop();
}

}  // namespace morvane::app
