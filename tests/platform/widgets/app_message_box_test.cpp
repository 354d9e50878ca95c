#include "platform/widgets/app_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>

#include <gtest/gtest.h>

namespace morvane::widgets {
namespace {

core::MessageBoxRequest Request(std::int32_t style, std::optional<std::int32_t> iconId = std::nullopt) {
  core::MessageBoxRequest r;
  r.text = "<b>Not bold</b>\nSecond line";
  r.caption = "Morvane";
  r.style = style;
  r.iconId = iconId;
  return r;
}

QIcon RedIcon() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::red);
  return QIcon(pixmap);
}

TEST(AppMessageBoxTest, StyleChoosesButtonsDefaultAndIcon) {
  using B = QMessageBox::StandardButton;
  struct Case {
    std::int32_t style;
    QMessageBox::StandardButtons buttons;
    B defaultButton;
    QMessageBox::Icon icon;
  };
  const Case cases[] = {
      {core::kMbOk, B::Ok, B::Ok, QMessageBox::NoIcon},
      {core::kMbOkCancel | core::kMbIconExclamation, B::Ok | B::Cancel, B::Ok, QMessageBox::Warning},
      {core::kMbYesNoCancel | core::kMbIconQuestion | core::kMbDefaultButton2,
       B::Yes | B::No | B::Cancel, B::No, QMessageBox::Question},
      {core::kMbYesNo | core::kMbDefaultButton3, B::Yes | B::No, B::Yes, QMessageBox::NoIcon},
      {core::kMbAbortRetryIgnore | core::kMbIconStop | core::kMbDefaultButton3,
       B::Abort | B::Retry | B::Ignore, B::Ignore, QMessageBox::Critical},
      {core::kMbRetryCancel | core::kMbIconInformation, B::Retry | B::Cancel, B::Retry,
       QMessageBox::Information},
  };
  AppMessageBox service;
  for (const Case& c : cases) {
    const auto box = service.Build(Request(c.style));
    EXPECT_EQ(box->standardButtons(), c.buttons) << c.style;
    EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton) << c.style;
    EXPECT_EQ(box->icon(), c.icon) << c.style;
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowTitle(), "Morvane");
  }
}

TEST(AppMessageBoxTest, UserIconIsTheModulesOwn) {
  std::int32_t asked = -1;
  AppMessageBox service([&](std::int32_t id) {
    asked = id;
    return RedIcon();
  });
  const auto box = service.Build(Request(core::kMbUserIcon, 1));
  EXPECT_EQ(asked, 1);
  const QImage icon = box->iconPixmap().toImage();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(QColor(icon.pixel(icon.width() / 2, icon.height() / 2)), QColor(Qt::red));
  // Without an icon source the box falls back to the style's icon.
  EXPECT_TRUE(AppMessageBox().Build(Request(core::kMbUserIcon, 1))->iconPixmap().isNull());
}

TEST(AppMessageBoxTest, OwnerBecomesTheParent) {
  QWidget owner;
  AppMessageBox service({}, [&](std::int32_t handle) { return handle == 7 ? &owner : nullptr; });
  core::MessageBoxRequest r = Request(core::kMbOk);
  r.owner = 7;
  EXPECT_EQ(service.Build(r)->parentWidget(), &owner);
  r.owner = 0;
  EXPECT_EQ(service.Build(r)->parentWidget(), nullptr);
}

// Presses a button of the next modal box once it is up.
void PressWhenShown(QMessageBox::StandardButton button) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, button] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      if (const char* dir = std::getenv("MORVANE_SCREENSHOT_DIR")) {
        box->grab().save(QString(dir) + "/app_message_box.png");
      }
      box->button(button)->click();
    }
  });
  timer->start(10);
}

TEST(AppMessageBoxTest, ShowAnswersTheButtonPressed) {
  AppMessageBox service([](std::int32_t) { return RedIcon(); });
  const std::pair<std::int32_t, QMessageBox::StandardButton> cases[] = {
      {core::kAnswerNo, QMessageBox::No},
      {core::kAnswerYes, QMessageBox::Yes},
      {core::kAnswerCancel, QMessageBox::Cancel},
  };
  for (const auto& [answer, button] : cases) {
    PressWhenShown(button);
    core::MessageBoxRequest r = Request(core::kMbYesNoCancel | core::kMbUserIcon, 1);
    r.text = "Save changes to \"a <b>.htm\"?";
    EXPECT_EQ(service.Show(r), answer);
  }
}

}  // namespace
}  // namespace morvane::widgets
