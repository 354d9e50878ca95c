#include "platform/widgets/message_popup.h"

#include <QColor>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace morvane::widgets {

namespace {

struct RunStyle {
  bool underline = false;
  int colour = 0;       // index into the colour table, 0 the default
  bool skip = false;    // a destination whose text is not shown (the colour table)
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
    if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) out += QLatin1Char('\\');
    out += c;
  }
  return out;
}

QString PopupRichTextToHtml(const QString& rtf) {
  std::vector<RunStyle> stack{RunStyle{}};
  QList<QColor> colours;  // invalid entries: the text's own colour
  int red = 0, green = 0, blue = 0;
  bool entryHasColour = false;
  int line = 1;
  QString html;
  QString pending;           // text of the current run
  RunStyle pendingStyle;
  int pendingLine = 1;

  const auto flush = [&] {
    if (pending.isEmpty()) return;
    QString piece = pending.toHtmlEscaped();
    const QColor colour =
        pendingStyle.colour >= 0 && pendingStyle.colour < colours.size() ? colours[pendingStyle.colour] : QColor();
    if (colour.isValid()) {
      piece = QStringLiteral("<span style=\"color:%1\">%2</span>").arg(colour.name(), piece);
    }
    if (pendingStyle.underline) {
      piece = QStringLiteral("<a href=\"%1\" style=\"text-decoration:underline\">%2</a>").arg(pendingLine).arg(piece);
    }
    html += piece;
    pending.clear();
  };
  const auto addText = [&](QChar c) {
    const RunStyle& style = stack.back();
    if (style.skip) return;
    if (!pending.isEmpty() &&
        (style.underline != pendingStyle.underline || style.colour != pendingStyle.colour || line != pendingLine)) {
      flush();
    }
    if (pending.isEmpty()) {
      pendingStyle = style;
      pendingLine = line;
    }
    pending += c;
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
        addText(next);
        ++i;
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
      RunStyle& style = stack.back();
      if (word == QLatin1String("par") || word == QLatin1String("line")) {
        flush();
        html += QStringLiteral("<br>");
        ++line;
      } else if (word == QLatin1String("ul")) {
        style.underline = !hasNumber || number != 0;
      } else if (word == QLatin1String("ulnone")) {
        style.underline = false;
      } else if (word == QLatin1String("cf")) {
        style.colour = number;
      } else if (word == QLatin1String("colortbl")) {
        style.skip = true;
        style.colourTable = true;
      } else if (style.colourTable) {
        if (word == QLatin1String("red")) red = number;
        if (word == QLatin1String("green")) green = number;
        if (word == QLatin1String("blue")) blue = number;
        entryHasColour = entryHasColour || word == QLatin1String("red") || word == QLatin1String("green") ||
                         word == QLatin1String("blue");
      } else if (word == QLatin1String("fonttbl") || word == QLatin1String("stylesheet") ||
                 word == QLatin1String("info")) {
        style.skip = true;
      }
    } else {
      if (stack.back().colourTable && c == QLatin1Char(';')) {
        colours << (entryHasColour
                        ? QColor(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255))
                        : QColor());
        red = green = blue = 0;
        entryHasColour = false;
      } else if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
        addText(c);
      }
      ++i;
    }
  }
  flush();
  return html;
}

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
    if (buttons_[i].cancel) cancel = number;
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
