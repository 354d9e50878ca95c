#include "platform/widgets/app_message_box.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QString>
#include <QStyle>

#include <vector>

namespace morvane::widgets {
namespace {

using Button = QMessageBox::StandardButton;

std::vector<Button> ButtonsOf(std::int32_t style) {
  switch (style & core::kMbButtonsMask) {
    case core::kMbOkCancel: return {QMessageBox::Ok, QMessageBox::Cancel};
    case core::kMbAbortRetryIgnore: return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case core::kMbYesNoCancel: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case core::kMbYesNo: return {QMessageBox::Yes, QMessageBox::No};
    case core::kMbRetryCancel: return {QMessageBox::Retry, QMessageBox::Cancel};
    default: return {QMessageBox::Ok};
  }
}

QMessageBox::Icon StandardIcon(std::int32_t style) {
  switch (style & core::kMbIconMask) {
    case core::kMbIconStop: return QMessageBox::Critical;
    case core::kMbIconQuestion: return QMessageBox::Question;
    case core::kMbIconExclamation: return QMessageBox::Warning;
    case core::kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

AppMessageBox::AppMessageBox(IconSource icons, OwnerSource owners)
    : icons_(std::move(icons)), owners_(std::move(owners)) {}

std::unique_ptr<QMessageBox> AppMessageBox::Build(const core::MessageBoxRequest& request) const {
  QWidget* parent = request.owner != 0 && owners_ ? owners_(request.owner) : nullptr;
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QString::fromStdString(request.caption));
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromStdString(request.text));

  const std::vector<Button> buttons = ButtonsOf(request.style);
  QMessageBox::StandardButtons all;
  for (const Button b : buttons) all |= b;
  box->setStandardButtons(all);
  const std::size_t defaultIndex =
      static_cast<std::size_t>((request.style & core::kMbDefaultButtonMask) >> 8);
  box->setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);

  QIcon icon;
  if ((request.style & core::kMbUserIcon) != 0 && request.iconId && icons_) {
    icon = icons_(*request.iconId);
  }
  if (!icon.isNull()) {
    const int size = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box.get());
    box->setIconPixmap(icon.pixmap(size, size));
  } else {
    box->setIcon(StandardIcon(request.style));
  }
  return box;
}

core::DialogAnswer AppMessageBox::AnswerFor(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok: return core::kAnswerOk;
    case QMessageBox::Cancel: return core::kAnswerCancel;
    case QMessageBox::Abort: return core::kAnswerAbort;
    case QMessageBox::Retry: return core::kAnswerRetry;
    case QMessageBox::Ignore: return core::kAnswerIgnore;
    case QMessageBox::Yes: return core::kAnswerYes;
    case QMessageBox::No: return core::kAnswerNo;
    default: return core::kAnswerNone;
  }
}

core::DialogAnswer AppMessageBox::Show(const core::MessageBoxRequest& request) {
  const std::unique_ptr<QMessageBox> box = Build(request);
  box->exec();
  QAbstractButton* clicked = box->clickedButton();
  if (clicked == nullptr) return core::kAnswerNone;
  return AnswerFor(box->standardButton(clicked));
}

}  // namespace morvane::widgets
