#include "platform/widgets/message_popup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace morvane::widgets {
namespace {

TEST(MessagePopupTest, RichTextBecomesHtmlWithNumberedLinks) {
  struct Case {
    const char* rtf;
    const char* html;
  };
  const Case cases[] = {
      {R"({\rtf1\ansi{\colortbl;\red0\green0\blue255;}\f0\fs16 Version 1.2 is now available:\par \cf1{\ul http://x/a_Setup.exe}})",
       R"(Version 1.2 is now available:<br><a href="2" style="text-decoration:underline"><span style="color:#0000ff">http://x/a_Setup.exe</span></a>)"},
      // Escaped braces and backslashes are text.
      {R"({\rtf1 a\{b\}c\\d})", R"(a{b}c\d)"},
      // Markup in the text stays text.
      {R"({\rtf1 <b>1</b> & more})", "&lt;b&gt;1&lt;/b&gt; &amp; more"},
      // An underline ends with its group; \ulnone ends it too (its one closing blank is
      // part of the word, the next is text).
      {R"({\rtf1 {\ul one} two \ul three\ulnone  four})",
       R"(<a href="1" style="text-decoration:underline">one</a> two <a href="1" style="text-decoration:underline">three</a> four)"},
      // Unbalanced and cut-off input gives what it can.
      {R"({\rtf1 }}} x {\ul y)", R"( x <a href="1" style="text-decoration:underline">y</a>)"},
      {"\\", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PopupRichTextToHtml(QString::fromUtf8(c.rtf)), QString::fromUtf8(c.html)) << c.rtf;
}

TEST(MessagePopupTest, EscapedTextComesBackAsTheSameText) {
  for (const QString& text : {QStringLiteral("1.2"), QStringLiteral("}\\par{\\ul evil}"), QStringLiteral("\\\\{{")}) {
    EXPECT_EQ(PopupRichTextToHtml(QStringLiteral("{\\rtf1 ") + EscapePopupText(text) + QStringLiteral("}")),
              text.toHtmlEscaped());
  }
}

// Runs body on the popup once it is shown.
void WhenShown(MessagePopup& popup, std::function<void()> body) {
  QTimer::singleShot(0, &popup, [&popup, body] {
    if (popup.isVisible()) {
      body();
    } else {
      WhenShown(popup, body);
    }
  });
}

TEST(MessagePopupTest, ButtonsAnswerTheirNumberAndTheLinkReportsItsLine) {
  MessagePopup popup;
  popup.AddButton(QStringLiteral("Cancel")).cancel = true;
  popup.AddButton(QStringLiteral("Download"));
  WhenShown(popup, [&] { popup.findChild<QPushButton*>(QStringLiteral("popupButton2"))->click(); });
  EXPECT_EQ(popup.Popup(QStringLiteral("{\\rtf1 a}"), QStringLiteral("Morvane")), 2);
  EXPECT_EQ(popup.windowTitle(), QStringLiteral("Morvane"));

  WhenShown(popup, [&] { popup.reject(); });
  EXPECT_EQ(popup.Popup(QStringLiteral("{\\rtf1 a}"), QStringLiteral("Morvane")), 1) << "Escape is Cancel";

  std::vector<int> links;
  QObject::connect(&popup, &MessagePopup::LinkClick, &popup, [&](MessagePopup* from, int number) {
    EXPECT_EQ(from, &popup);
    links.push_back(number);
    from->Hide();
  });
  WhenShown(popup, [&] { emit popup.TextLabel()->linkActivated(QStringLiteral("2")); });
  EXPECT_EQ(popup.Popup(QStringLiteral("{\\rtf1 a\\par {\\ul b}}"), QStringLiteral("Morvane")), 0);
  EXPECT_EQ(links, std::vector<int>{2});
  EXPECT_EQ(popup.findChildren<QPushButton*>().size(), 2) << "buttons are made afresh for each showing";
}

}  // namespace
}  // namespace morvane::widgets
