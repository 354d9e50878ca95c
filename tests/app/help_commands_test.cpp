#include <gtest/gtest.h>

#include <vector>

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QMenuBar>
#include <QScreen>
#include <QTcpServer>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/about_box.h"
#include "app/help_commands.h"
#include "platform/widgets/help_viewer.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "common/app_version.h"
#include "platform/core/message_box.h"
#include "platform/core/version_record.h"
#include "platform/widgets/message_popup.h"
#include "tests/app/help_fixture.h"
#include "tests/support/local_http_server.h"

using namespace std::chrono_literals;

namespace morvane::testing {
namespace {

using app::MainWindow;

const QString kSite = QStringLiteral("https://morvane.example.org");
const QString kProductPage = kSite + QStringLiteral("/Products/Morvane/");
const QString kSetup = kProductPage + QStringLiteral("test_app_Setup.exe");

TEST(HelpCommands, ThePainterGetsTheImagePathAsOneArgument) {
  HelpWindow w;
  w->Settings().painterPath = "/opt/My Painter/paint";
  w->Host().Model().LetImagePath("/tmp/my pictures/a b.gif");
  ASSERT_TRUE(w->RunCommand("mFilePainter"));
  ASSERT_EQ(w.services.shell.started.size(), 1u);
  EXPECT_EQ(w.services.shell.started[0].program, QStringLiteral("/opt/My Painter/paint"));
  EXPECT_EQ(w.services.shell.started[0].arguments,
            QStringList{QStringLiteral("/tmp/my pictures/a b.gif")});
}

TEST(HelpCommands, WebPageAndFeedbackOpenTheirAddresses) {
  HelpWindow w;
  ASSERT_TRUE(w->RunCommand("mHelpWeb"));
  ASSERT_TRUE(w->RunCommand("mHelpMail"));
  EXPECT_EQ(w.services.shell.opened,
            (std::vector<QString>{
                kProductPage,
                QStringLiteral("mailto:feedback@morvane.example.org?subject=Morvane Bug Report")}));
}

TEST(HelpCommands, TheUpdatePopupsTextEscapesTheVersion) {
  EXPECT_EQ(
      app::UpdatePopupText(QStringLiteral("1.2"), QStringLiteral("http://x/m_Setup.exe")),
      QStringLiteral(
          "{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue255;}\\f0\\fs16 Version 1.2 is now available "
          "to download:\\par \\cf1{\\ul http://x/m_Setup.exe}}"));
  const std::vector<widgets::PopupTextRun> runs = widgets::ParsePopupRichText(
      app::UpdatePopupText(QStringLiteral("9}\\par{\\ul <b>x</b>"), QStringLiteral("a")));
  ASSERT_FALSE(runs.empty());
  EXPECT_TRUE(runs[0].text.startsWith(QStringLiteral("Version 9}\\par{\\ul <b>x</b> is now available")))
      << runs[0].text.toStdString();
  EXPECT_EQ(runs[0].line, 1);
  EXPECT_FALSE(runs[0].underline);
  EXPECT_FALSE(
      widgets::PopupRichTextToHtml(app::UpdatePopupText(QStringLiteral("<b>x</b>"), QStringLiteral("a")))
          .contains(QStringLiteral("<b>")));
}

struct UpdateRun {
  HelpWindow w;
  LocalHttpServer server;
  bool disabledMeanwhile = false;
  bool busyMeanwhile = false;

  void Check(const char* body, int delayMs = 0, std::chrono::milliseconds limit = 2000ms) {
    server.body = body;
    server.delayMs = delayMs;
    w->Update().Configure(server.Address(), {}, w->Update().Version());
    w->Update().SetTimeLimit(limit);
    QTimer::singleShot(50, w.window.get(), [this] {
      disabledMeanwhile = !w->isEnabled();
      busyMeanwhile = QApplication::overrideCursor() != nullptr &&
                      QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    ASSERT_TRUE(w->RunCommand("mHelpUpdate"));
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
};

TEST(HelpCommands, UpdateCheckAnswersWithItsMessages) {
  const QString unreachable =
      QStringLiteral("Remote resource is not accessible now.\r\nPlease try later.");
  const QString upToDate = QStringLiteral("Your copy of the application is up to date.");
  struct Case {
    const char* name;
    const char* body;
    int delayMs;
    QString text;
    int style;
  };
  const Case cases[] = {
      {"same", R"({"version": "1.0"})", 0, upToDate, core::kMbIconInformation},
      {"older", R"({"version": "0.9.12"})", 0, upToDate, core::kMbIconInformation},
      {"malformed", R"({"version": "1.)", 0, unreachable, core::kMbIconStop},
      {"empty", "", 0, unreachable, core::kMbIconStop},
      {"slow past the limit", R"({"version": "9.0"})", 1500, unreachable, core::kMbIconStop},
  };
  for (const Case& c : cases) {
    UpdateRun run;
    ASSERT_EQ(run.w->Update().Version(),
              QString::fromStdString(common::GetAppVersion(true, core::ThisVersionRecord())));
    run.Check(c.body, c.delayMs, c.delayMs > 0 ? 300ms : 2000ms);
    ASSERT_EQ(run.w.services.messageBoxes.shown.size(), 1u) << c.name;
    EXPECT_EQ(run.w.services.messageBoxes.shown[0].text, c.text) << c.name;
    EXPECT_EQ(run.w.services.messageBoxes.shown[0].style, c.style) << c.name;
    EXPECT_EQ(run.w.services.messageBoxes.shown[0].title, QStringLiteral("Morvane")) << c.name;
    EXPECT_TRUE(run.w.services.shell.opened.empty()) << c.name;
    if (c.delayMs > 0) {
      EXPECT_TRUE(run.disabledMeanwhile) << c.name;
      EXPECT_TRUE(run.busyMeanwhile) << c.name;
    }
  }
}

TEST(HelpCommands, AnUnreachableServiceAnswersWithTheStopMessage) {
  HelpWindow w;
  // A port that was just free: nobody listens there.
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const QString address = QStringLiteral("http://127.0.0.1:%1/m.js").arg(probe.serverPort());
  probe.close();
  w->Update().Configure(address, {}, w->Update().Version());
  w->Update().SetTimeLimit(2000ms);
  ASSERT_TRUE(w->RunCommand("mHelpUpdate"));
  ASSERT_EQ(w.services.messageBoxes.shown.size(), 1u);
  EXPECT_EQ(w.services.messageBoxes.shown[0].style, core::kMbIconStop);
}

TEST(HelpCommands, ANewerVersionOffersItsDownload) {
  enum class Choice { Cancel, Download, Link };
  for (const Choice choice : {Choice::Cancel, Choice::Download, Choice::Link}) {
    UpdateRun run;
    QString html;
    QString caption;
    QStringList buttons;
    run.w->HelpMenu().SetPopupShown([&](widgets::MessagePopup& popup) {
      html = popup.TextLabel()->text();
      caption = popup.windowTitle();
      for (const widgets::MessagePopup::Button& b : popup.Buttons()) buttons << b.caption;
      switch (choice) {
        case Choice::Cancel:
          popup.findChild<QPushButton*>(QStringLiteral("popupButton1"))->click();
          break;
        case Choice::Download:
          popup.findChild<QPushButton*>(QStringLiteral("popupButton2"))->click();
          break;
        case Choice::Link: emit popup.TextLabel()->linkActivated(QStringLiteral("2")); break;
      }
    });
    run.Check(R"({"version": "1.0.1"})");
    EXPECT_TRUE(run.w.services.messageBoxes.shown.empty());
    EXPECT_EQ(caption, QStringLiteral("Morvane"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Cancel"), QStringLiteral("Download")}));
    EXPECT_EQ(html, widgets::PopupRichTextToHtml(app::UpdatePopupText(QStringLiteral("1.0.1"), kSetup)));
    EXPECT_TRUE(html.startsWith(QStringLiteral(
        "<span style=\"font-size:8pt\">Version 1.0.1 is now available to download:</span><br>")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"2\""))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("color:#0000ff;font-size:8pt\">") + kSetup +
                              QStringLiteral("</span>")))
        << html.toStdString();
    const std::vector<QString> none;
    EXPECT_EQ(run.w.services.shell.opened,
              choice == Choice::Cancel ? none : std::vector<QString>{kSetup})
        << static_cast<int>(choice);
  }
}

TEST(HelpCommands, EachAboutShowingIsAFreshBoxWithTheProgramsTexts) {
  HelpWindow w;
  std::vector<QPointer<app::AboutBox>> boxes;
  w->HelpMenu().SetAboutShown([&](app::AboutBox& box) {
    boxes.emplace_back(&box);
    EXPECT_EQ(box.objectName(), QStringLiteral("fwAbout"));
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.parentWidget(), w.window.get());
    const auto text = [&](const char* name) {
      return box.findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    const core::VersionRecord& record = core::ThisVersionRecord();
    EXPECT_EQ(text("ltTitle"), QString::fromStdString(record.trademarks));
    EXPECT_EQ(text("ltSite"), kSite);
    EXPECT_EQ(text("ltMail"), QStringLiteral("mailto:feedback@morvane.example.org"));
    EXPECT_EQ(text("ltAbout"), QStringLiteral("For Linux\nVersion ") +
                                   QString::fromStdString(common::GetAppVersion(false, record)) +
                                   QStringLiteral("\n") + QString::fromStdString(record.copyright));
    box.findChild<QPushButton*>(QStringLiteral("bbClose"))->click();
  });
  ASSERT_TRUE(w->RunCommand("mHelpAbout"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].isNull()) << "released when it closed";
  ASSERT_TRUE(w->RunCommand("mHelpAbout"));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[1].isNull());
}

TEST(AboutBox, TheVersionLineDropsARevisionOfZero) {
  core::VersionRecord record;
  record.major = 2;
  record.minor = 20;
  record.copyright = "(C) us";
  EXPECT_EQ(app::AboutText(record), QStringLiteral("For Linux\r\nVersion 2.20\r\n(C) us"));
  record.revision = 7;
  EXPECT_EQ(app::AboutText(record), QStringLiteral("For Linux\r\nVersion 2.20.0007\r\n(C) us"));
}

struct AboutRig {
  FakeServices services;
  AppFolder folder;
  automation::ClassRegistry registry{folder.classes, {QStringLiteral(MORVANE_BINARY_DIR "/bin")}};
  QWidget owner;
  std::unique_ptr<app::AboutBox> box;
  AboutRig() {
    box = std::make_unique<app::AboutBox>(&owner, registry, core::ThisVersionRecord());
    box->show();
  }
  QLabel* Label(const char* name) { return box->findChild<QLabel*>(QString::fromLatin1(name)); }
};

TEST(AboutBox, TheWindowIsCutToThePicture) {
  AboutRig rig;
  EXPECT_EQ(rig.box->size(), QSize(360, 360));
  EXPECT_TRUE(rig.box->windowFlags().testFlag(Qt::FramelessWindowHint));
  const QRegion shape = rig.box->mask();
  ASSERT_FALSE(shape.isEmpty());
  struct Case {
    QPoint at;
    bool kept;
  };
  const Case cases[] = {
      {{180, 180}, true}, {{180, 300}, true},  {{0, 0}, false},
      {{359, 0}, false},  {{340, 340}, false},  // the flat cut at the lower right
      {{180, 60}, false},                       // the hole at the top
      {{180, 85}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(shape.contains(c.at), c.kept) << c.at.x() << "," << c.at.y();
  // The texts and the button lie inside the shape.
  for (QWidget* child :
       {static_cast<QWidget*>(rig.Label("ltTitle")), static_cast<QWidget*>(rig.Label("ltAbout")),
        static_cast<QWidget*>(rig.Label("ltSite")), static_cast<QWidget*>(rig.Label("ltMail")),
        rig.box->findChild<QWidget*>(QStringLiteral("bbClose"))}) {
    EXPECT_TRUE(shape.contains(child->geometry())) << child->objectName().toStdString();
  }
}

TEST(AboutBox, LinksOpenThroughTheShellAndKeepTheBoxOpen) {
  AboutRig rig;
  QTest::mouseClick(rig.Label("ltSite"), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(rig.Label("ltMail"), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(rig.services.shell.opened,
            (std::vector<QString>{
                kSite, QStringLiteral("mailto:feedback@morvane.example.org?subject=Morvane")}));
  EXPECT_TRUE(rig.box->isVisible());
  EXPECT_EQ(rig.Label("ltSite")->toolTip(), QStringLiteral("Visit our Web Page"));
  EXPECT_EQ(rig.Label("ltMail")->toolTip(), QStringLiteral("Mail us"));
}

TEST(AboutBox, DraggingOffCloseTakesTheFocusAway) {
  AboutRig rig;
  QWidget* close = rig.box->findChild<QWidget*>(QStringLiteral("bbClose"));
  struct Case {
    QPoint at;
    bool leaves;
  };
  const int w = close->width();
  const int h = close->height();
  const Case cases[] = {
      {{0, 0}, false}, {{w, h}, false},    {{w / 2, h / 2}, false},  // edges count as inside
      {{-1, 5}, true}, {{5, h + 1}, true}, {{w + 1, 0}, true},      {{5, -1}, true},
  };
  for (const Case& c : cases) {
    close->setFocus();
    rig.box->bbClose_MouseMove(c.at.x(), c.at.y());
    EXPECT_EQ(rig.box->focusWidget() == rig.box->ImageWidget(), c.leaves) << c.at.x() << "," << c.at.y();
    if (!c.leaves) {
      EXPECT_EQ(rig.box->focusWidget(), close);
    }
  }
}

}  // namespace
}  // namespace morvane::testing

namespace morvane::testing {
namespace {

// Pictures of the help for people to look at, taken from the screen under Xvfb.
TEST(Screenshots, HelpPopupWhatsThisModeAndAboutBox) {
  const QString out = qEnvironmentVariable("MORVANE_SCREENSHOTS");
  if (out.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb")) {
    GTEST_SKIP() << "MORVANE_SCREENSHOTS not set or no X display";
  }
  FakeServices services;
  AppFolder folder;
  QFile::copy(SourceTopicsFile(), QString::fromStdString(folder.folder.File("Morvane.topics")));
  auto w = std::make_unique<MainWindow>(folder.Context());
  w->setGeometry(20, 20, 760, 540);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  QTest::qWait(300);
  const auto shoot = [&](const char* name) {
    QTest::qWait(400);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(out + QLatin1Char('/') +
                                                                     QLatin1String(name)));
  };

  // F1 over the Save button.
  widgets::KeyedToolBar* bar = w->ToolBars()[0];
  const widgets::ToolBarButton* save = bar->Button(QStringLiteral("Save"));
  const QPoint at = bar->mapToGlobal(QPoint(static_cast<int>((save->Left() + save->Width() / 2) / 15),
                                            static_cast<int>((save->Top() + save->Height() / 2) / 15)));
  QCursor::setPos(at);
  QTest::qWait(100);
  w->Help().HelpAt(at);
  shoot("help-popup.png");
  if (QWidget* popup = widgets::HelpViewer::CurrentPopup()) popup->close();

  // The what's-this mode with the pointer over the Edit title.
  ASSERT_TRUE(w->RunCommand("mHelpWhatsThis"));
  const QRect edit =
      w->menuBar()->actionGeometry(w->Menus()->Item(QStringLiteral("mEdit"))->Action());
  QCursor::setPos(w->menuBar()->mapToGlobal(edit.center()));
  QMouseEvent move(QEvent::MouseMove, QPointF(edit.center()),
                   QPointF(w->menuBar()->mapToGlobal(edit.center())), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w->menuBar(), &move);
  shoot("whats-this-mode.png");
  w->Help().EndWhatsThisMode();

  // The About box over the window.
  w->HelpMenu().SetAboutShown([&](app::AboutBox& box) {
    box.move(w->geometry().center() - QPoint(180, 180));
    shoot("about-box.png");
    box.close();
  });
  ASSERT_TRUE(w->RunCommand("mHelpAbout"));
}

}  // namespace
}  // namespace morvane::testing
