#include "app/dialog_service.h"

#include <QColorDialog>
#include <QDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/widgets/help_viewer.h"

namespace morvane::app {

namespace {

QColor FromOle(std::int32_t ole) {
  const auto v = static_cast<std::uint32_t>(ole);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

std::int32_t ToOle(const QColor& c) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
                                   (static_cast<std::uint32_t>(c.blue()) << 16));
}

// How the text looks at one point of the parse.
struct Look {
  bool underline = false;
  int colourIndex = 0;
  int halfPoints = 0;
  bool colourTable = false;  // inside {\colortbl ...}: no text, only entries
};

}  // namespace

std::vector<TextRun> ParseRichText(const QString& rtf) {
  std::vector<TextRun> runs;
  std::vector<std::int32_t> table;  // entry 0 is the default colour
  std::int32_t red = 0, green = 0, blue = 0;
  std::vector<Look> stack{Look{}};
  int line = 1;

  const auto put = [&](QChar c) {
    const Look& look = stack.back();
    if (look.colourTable) return;
    const std::size_t index = static_cast<std::size_t>(look.colourIndex);
    const std::int32_t colour = look.colourIndex > 0 && index < table.size() ? table[index] : -1;
    if (!runs.empty()) {
      TextRun& last = runs.back();
      if (last.line == line && last.underline == look.underline && last.colour == colour &&
          last.halfPoints == look.halfPoints) {
        last.text += c;
        return;
      }
    }
    runs.push_back({QString(c), line, look.underline, colour, look.halfPoints});
  };

  const qsizetype n = rtf.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = rtf[i];
    if (c == QLatin1Char('{')) {
      stack.push_back(stack.back());
    } else if (c == QLatin1Char('}')) {
      if (stack.size() > 1) stack.pop_back();
    } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      // Line breaks of the source are no text.
    } else if (c == QLatin1Char(';') && stack.back().colourTable) {
      table.push_back(table.empty() ? -1 : (red << 16) | (green << 8) | blue);
      red = green = blue = 0;
    } else if (c != QLatin1Char('\\')) {
      put(c);
    } else if (i + 1 < n && !rtf[i + 1].isLetter()) {
      const QChar symbol = rtf[++i];
      if (symbol == QLatin1Char('\'') && i + 2 < n) {
        bool ok = false;
        const int code = rtf.mid(i + 1, 2).toInt(&ok, 16);
        i += 2;
        if (ok) put(QChar(code));
      } else if (symbol == QLatin1Char('\\') || symbol == QLatin1Char('{') || symbol == QLatin1Char('}')) {
        put(symbol);
      }
    } else {
      qsizetype j = i + 1;
      while (j < n && rtf[j].isLetter() && rtf[j].unicode() < 128) ++j;
      const QString word = rtf.mid(i + 1, j - i - 1);
      const qsizetype numberStart = j;
      if (j < n && rtf[j] == QLatin1Char('-')) ++j;
      while (j < n && rtf[j].isDigit()) ++j;
      bool hasNumber = false;
      const int number = rtf.mid(numberStart, j - numberStart).toInt(&hasNumber);
      // One blank after a control word belongs to it.
      if (j < n && rtf[j] == QLatin1Char(' ')) ++j;
      i = j - 1;
      Look& look = stack.back();
      if (word == QLatin1String("par")) {
        ++line;
      } else if (word == QLatin1String("colortbl")) {
        look.colourTable = true;
        table.clear();
      } else if (word == QLatin1String("red")) {
        red = std::clamp(number, 0, 255);
      } else if (word == QLatin1String("green")) {
        green = std::clamp(number, 0, 255);
      } else if (word == QLatin1String("blue")) {
        blue = std::clamp(number, 0, 255);
      } else if (word == QLatin1String("cf")) {
        look.colourIndex = std::max(number, 0);
      } else if (word == QLatin1String("ul")) {
        look.underline = !hasNumber || number != 0;
      } else if (word == QLatin1String("ulnone")) {
        look.underline = false;
      } else if (word == QLatin1String("fs")) {
        look.halfPoints = std::max(number, 0);
      }
    }
  }
  return runs;
}

QString RichTextHtml(const std::vector<TextRun>& runs) {
  QString html;
  int line = 1;
  for (const TextRun& run : runs) {
    for (; line < run.line; ++line) html += QStringLiteral("<br>");
    QString style;
    if (run.colour >= 0) style += QStringLiteral("color:#%1;").arg(run.colour, 6, 16, QLatin1Char('0'));
    if (run.halfPoints > 0) style += QStringLiteral("font-size:%1pt;").arg(run.halfPoints / 2.0);
    const QString text = run.text.toHtmlEscaped();
    const QString styled = style.isEmpty() ? text : QStringLiteral("<span style=\"%1\">%2</span>").arg(style, text);
    html += run.underline ? QStringLiteral("<a href=\"link:%1\">%2</a>").arg(run.line).arg(styled) : styled;
  }
  return html;
}

void MessagePopup::Hide() {
  if (dialog_ == nullptr) return;
  dialog_->setProperty("hiddenByLink", true);
  dialog_->done(0);
}

DialogService::DialogService(QWidget* owner) : owner_(owner) { files_.parent = owner; }

DialogService::~DialogService() = default;

bool DialogService::ShowHelp(int command) {
  if (command != 3) return false;
  if (HelpRequested) {
    HelpRequested(helpFile_, 0);
    return true;
  }
  const QString folder = QFileInfo(helpFile_).absolutePath();
  return widgets::HelpViewer::ShowContents(widgets::TopicsFileFor(helpFile_, folder), 0, owner_);
}

void DialogService::SetColor(std::int32_t color) {
  color_ = color;
  if (colorDialog_ != nullptr) colorDialog_->setCurrentColor(FromOle(color));
}

std::int32_t DialogService::ShowColor() {
  QColorDialog dialog(FromOle(color_), owner_);
  dialog.setOption(QColorDialog::DontUseNativeDialog, true);
  colorDialog_ = &dialog;
  int result = QDialog::Rejected;
  if (Mode == 0) {
    // Open beside the window: the window keeps its clicks, and the caller waits here.
    dialog.setModal(false);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, [&](int r) {
      result = r;
      loop.quit();
    });
    dialog.show();
    loop.exec();
  } else {
    result = dialog.exec();
  }
  colorDialog_ = nullptr;
  if (result != QDialog::Accepted) return 0;
  color_ = ToOle(dialog.currentColor());
  return 1;
}

void DialogService::ShowOpen() {
  files_.FileFlags = Flags;
  files_.HelpContextId = HelpContextId;
  files_.HelpFile = helpFile_;
  files_.HelpRequested = HelpRequested;
  files_.DialogTitle = DialogTitle;
  files_.Filter = Filter;
  files_.FileName = FileName;
  files_.InitDir = InitDir;
  files_.InitDialog = InitFileDialog;
  FileName = files_.ShowOpenDialog() == 1 ? files_.FileName : QString();
}

DialogService::PopupButton& DialogService::AddButton(const QString& caption) {
  PopupButton button;
  button.caption = caption;
  buttons_.push_back(button);
  return buttons_.back();
}

int DialogService::Popup(const QString& richText, const QString& caption) {
  QDialog dialog(owner_);
  dialog.setWindowTitle(caption);
  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(&dialog);
  label->setObjectName(QStringLiteral("popupText"));
  label->setTextFormat(Qt::RichText);
  label->setText(RichTextHtml(ParseRichText(richText)));
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  layout->addWidget(label);
  MessagePopup popup(&dialog);
  QObject::connect(label, &QLabel::linkActivated, &dialog, [this, &popup](const QString& link) {
    if (LinkClick) LinkClick(popup, link.mid(link.indexOf(QLatin1Char(':')) + 1).toInt());
  });
  auto* row = new QHBoxLayout;
  row->addStretch();
  int cancel = 0;
  for (qsizetype i = 0; i < buttons_.size(); ++i) {
    const PopupButton& spec = buttons_[i];
    auto* button = new QPushButton(spec.caption, &dialog);
    button->setAutoDefault(false);
    button->setDefault(spec.Default);
    const int number = static_cast<int>(i) + 1;
    if (spec.Cancel && cancel == 0) cancel = number;
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, number] { dialog.done(number); });
    row->addWidget(button);
  }
  layout->addLayout(row);
  popup_ = &dialog;
  const int result = dialog.exec();
  popup_ = nullptr;
  if (result >= 1) return result;
  return dialog.property("hiddenByLink").toBool() ? 0 : cancel;
}

}  // namespace morvane::app
