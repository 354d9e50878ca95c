#include "platform/widgets/message_popup.h"

#include <QStringList>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace morvane::widgets {

namespace {

// How the text looks at one point of the parse.
struct Look {
  bool underline = false;
  int colourIndex = 0;  // into the colour table, 0 the default
  int halfPoints = 0;
  bool skip = false;  // a destination whose text is not shown
  bool colourTable = false;
};

// Reads one control word at text[i] (just after the backslash): its letters and its
// optional number; i ends after the word and the one blank that may close it.
void ReadControlWord(const QString& text, qsizetype& i, QString& word, int& number, bool& hasNumber) {
  word.clear();
  while (i < text.size() && text[i].isLetter() && text[i].unicode() < 128) word += text[i++];
  QString digits;
  if (i < text.size() && text[i] == QLatin1Char('-')) digits += text[i++];
  while (i < text.size() && text[i].isDigit() && digits.size() < 10) digits += text[i++];
  hasNumber = !digits.isEmpty() && digits != QLatin1String("-");
  number = hasNumber ? digits.toInt() : 0;
  if (i < text.size() && text[i] == QLatin1Char(' ')) ++i;
}

}  // namespace

QString EscapePopupText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}'))
      out += QLatin1Char('\\');
    out += c;
  }
  return out;
}

std::vector<PopupTextRun> ParsePopupRichText(const QString& rtf) {
  std::vector<PopupTextRun> runs;
  std::vector<std::int32_t> table;  // -1: an entry without a colour, the text's own
  int red = 0, green = 0, blue = 0;
  bool entryHasColour = false;
  std::vector<Look> stack{Look{}};
  int line = 1;

  const auto put = [&](QChar c) {
    const Look& look = stack.back();
    if (look.skip) return;
    const auto index = static_cast<std::size_t>(look.colourIndex);
    const std::int32_t colour = index < table.size() ? table[index] : -1;
    if (!runs.empty()) {
      PopupTextRun& last = runs.back();
      if (last.line == line && last.underline == look.underline && last.colour == colour &&
          last.halfPoints == look.halfPoints) {
        last.text += c;
        return;
      }
    }
    runs.push_back({QString(c), line, look.underline, colour, look.halfPoints});
  };

  for (qsizetype i = 0; i < rtf.size();) {
    const QChar c = rtf[i];
    if (c == QLatin1Char('{')) {
      stack.push_back(stack.back());
      ++i;
    } else if (c == QLatin1Char('}')) {
      if (stack.size() > 1) stack.pop_back();
      ++i;
    } else if (c == QLatin1Char('\\')) {
      ++i;
      if (i >= rtf.size()) break;
      const QChar next = rtf[i];
      if (next == QLatin1Char('\\') || next == QLatin1Char('{') || next == QLatin1Char('}')) {
        put(next);
        ++i;
        continue;
      }
      if (next == QLatin1Char('\'')) {
        // A character by its code in two hex digits.
        bool ok = false;
        const int code = rtf.mid(i + 1, 2).toInt(&ok, 16);
        i = std::min(i + 3, rtf.size());
        if (ok) put(QChar(code));
        continue;
      }
      if (!next.isLetter()) {
        ++i;  // another control symbol: nothing to show
        continue;
      }
      QString word;
      int number = 0;
      bool hasNumber = false;
      ReadControlWord(rtf, i, word, number, hasNumber);
      Look& look = stack.back();
      if (word == QLatin1String("par") || word == QLatin1String("line")) {
        ++line;
      } else if (word == QLatin1String("ul")) {
        look.underline = !hasNumber || number != 0;
      } else if (word == QLatin1String("ulnone")) {
        look.underline = false;
      } else if (word == QLatin1String("cf")) {
        look.colourIndex = std::max(number, 0);
      } else if (word == QLatin1String("fs")) {
        look.halfPoints = std::max(number, 0);
      } else if (word == QLatin1String("colortbl")) {
        look.skip = true;
        look.colourTable = true;
        table.clear();
      } else if (look.colourTable) {
        if (word == QLatin1String("red")) red = number;
        if (word == QLatin1String("green")) green = number;
        if (word == QLatin1String("blue")) blue = number;
        entryHasColour = entryHasColour || word == QLatin1String("red") ||
                         word == QLatin1String("green") || word == QLatin1String("blue");
      } else if (word == QLatin1String("fonttbl") || word == QLatin1String("stylesheet") ||
                 word == QLatin1String("info")) {
        look.skip = true;
      }
    } else {
      if (stack.back().colourTable && c == QLatin1Char(';')) {
        table.push_back(entryHasColour ? (std::clamp(red, 0, 255) << 16) |
                                             (std::clamp(green, 0, 255) << 8) | std::clamp(blue, 0, 255)
                                       : -1);
        red = green = blue = 0;
        entryHasColour = false;
      } else if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
        put(c);
      }
      ++i;
    }
  }
  return runs;
}

QString PopupRunsToHtml(const std::vector<PopupTextRun>& runs) {
  QString html;
  int line = 1;
  for (const PopupTextRun& run : runs) {
    for (; line < run.line; ++line) html += QStringLiteral("<br>");
    QStringList style;
    if (run.colour >= 0) style << QStringLiteral("color:#%1").arg(run.colour, 6, 16, QLatin1Char('0'));
    if (run.halfPoints > 0) style << QStringLiteral("font-size:%1pt").arg(run.halfPoints / 2.0);
    QString piece = run.text.toHtmlEscaped();
    if (!style.isEmpty()) {
      piece = QStringLiteral("<span style=\"%1\">%2</span>").arg(style.join(QLatin1Char(';')), piece);
    }
    if (run.underline) {
      piece = QStringLiteral("<a href=\"%1\" style=\"text-decoration:underline\">%2</a>")
                  .arg(run.line)
                  .arg(piece);
    }
    html += piece;
  }
  return html;
}

QString PopupRichTextToHtml(const QString& rtf) { return PopupRunsToHtml(ParsePopupRichText(rtf)); }

MessagePopup::MessagePopup(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("messagePopup"));
  auto* layout = new QVBoxLayout(this);
  text_ = new QLabel(this);
  text_->setObjectName(QStringLiteral("popupText"));
  text_->setTextFormat(Qt::RichText);
  text_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  text_->setWordWrap(true);
  layout->addWidget(text_);
  row_ = new QHBoxLayout;
  row_->addStretch(1);
  layout->addLayout(row_);
  connect(text_, &QLabel::linkActivated, this, [this](const QString& link) {
    bool ok = false;
    const int number = link.toInt(&ok);
    if (ok) emit LinkClick(this, number);
  });
}

MessagePopup::~MessagePopup() = default;

MessagePopup::Button& MessagePopup::AddButton(const QString& caption) {
  buttons_.append(Button{caption});
  return buttons_.last();
}

int MessagePopup::Popup(const QString& richText, const QString& caption) {
  setWindowTitle(caption);
  text_->setText(PopupRichTextToHtml(richText));
  while (row_->count() > 1) {
    QLayoutItem* item = row_->takeAt(1);
    delete item->widget();
    delete item;
  }
  int pressed = 0;
  int cancel = 0;
  for (qsizetype i = 0; i < buttons_.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    auto* button = new QPushButton(buttons_[i].caption, this);
    button->setObjectName(QStringLiteral("popupButton%1").arg(number));
    button->setAutoDefault(false);
    button->setDefault(buttons_[i].isDefault);
    if (buttons_[i].cancel && cancel == 0) cancel = number;
    connect(button, &QPushButton::clicked, this, [this, &pressed, number] {
      pressed = number;
      accept();
    });
    row_->addWidget(button);
  }
  exec();
  // Escape and the close box count as the cancel button.
  if (pressed == 0 && result() == QDialog::Rejected && !hiddenByCall_) pressed = cancel;
  hiddenByCall_ = false;
  return pressed;
}

void MessagePopup::Hide() {
  hiddenByCall_ = true;
  reject();
}

}  // namespace morvane::widgets
