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
       R"(<span style="font-size:8pt">Version 1.2 is now available:</span><br><a href="2" style="text-decoration:underline"><span style="color:#0000ff;font-size:8pt">http://x/a_Setup.exe</span></a>)"},
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
  for (const Case& c : cases)
    EXPECT_EQ(PopupRichTextToHtml(QString::fromUtf8(c.rtf)), QString::fromUtf8(c.html)) << c.rtf;
}

const char* const kUpdateText =
    "{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue255;}\\f0\\fs16 Version 2.1 is now available to "
    "download:\\par "
    "\\cf1{\\ul https://example.org/Products/Morvane/morvane_Setup.exe}}";

TEST(MessagePopupTest, RichTextRunsOfTheSubsetTheProgramSends) {
  struct Row {
    const char* rtf;
    std::vector<PopupTextRun> runs;
  };
  const Row rows[] = {
      {kUpdateText,
       {{"Version 2.1 is now available to download:", 1, false, -1, 16},
        {"https://example.org/Products/Morvane/morvane_Setup.exe", 2, true, 0x0000FF, 16}}},
      // A group keeps its looks to itself; \ulnone and \ul0 end an underline.
      {"a{\\ul b}c\\ul d\\ulnone e\\ul f\\ul0 g",
       {{"a"}, {"b", 1, true}, {"c"}, {"d", 1, true}, {"e"}, {"f", 1, true}, {"g"}}},
      // Escaped braces and backslashes are text; one blank after a word is its own.
      {"\\{x\\}\\\\y\\par  z", {{"{x}\\y"}, {" z", 2}}},
      // The second colour entry; an entry the table lacks is the default colour.
      {"{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\\cf2 g\\cf7 d\\cf1 r",
       {{"g", 1, false, 0x008000}, {"d"}, {"r", 1, false, 0xFF0000}}},
      {"caf\\'e9 \\fs30 big", {{QStringLiteral("caf\u00e9 ")}, {"big", 1, false, -1, 30}}},
      {"\\par\\par x", {{"x", 3}}},
      {"", {}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ParsePopupRichText(QString::fromUtf8(row.rtf)), row.runs) << row.rtf;
}

TEST(MessagePopupTest, RichTextRunsAsHtmlEscapeEveryCharacterAndMakeUnderlinedRunsLinks) {
  const QString html = PopupRunsToHtml(ParsePopupRichText(QStringLiteral("<b>&amp;\\par {\\ul <i>}")));
  EXPECT_EQ(
      html,
      QStringLiteral(
          "&lt;b&gt;&amp;amp;<br><a href=\"2\" style=\"text-decoration:underline\">&lt;i&gt;</a>"));
}

TEST(MessagePopupTest, EscapedTextComesBackAsTheSameText) {
  for (const QString& text :
       {QStringLiteral("1.2"), QStringLiteral("}\\par{\\ul evil}"), QStringLiteral("\\\\{{")}) {
    EXPECT_EQ(
        PopupRichTextToHtml(QStringLiteral("{\\rtf1 ") + EscapePopupText(text) + QStringLiteral("}")),
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
  EXPECT_EQ(popup.Popup(QStringLiteral("{\\rtf1 a}"), QStringLiteral("Morvane")), 1)
      << "Escape is Cancel";

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
