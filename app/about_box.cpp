#include "app/about_box.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include <stdexcept>

#include "common/app_version.h"
#include "platform/core/version_record.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/property_bag.h"
#include "platform/widgets/desktop_services.h"

#ifndef MORVANE_PLATFORM_LINE
#define MORVANE_PLATFORM_LINE "For Linux"
#endif

namespace morvane::app {

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

QStringList CommentItems(const core::VersionRecord& record) {
  return FromStd(record.comments).split(QStringLiteral(", "));
}

}  // namespace

QString PlatformLine() { return QStringLiteral(MORVANE_PLATFORM_LINE); }

QString AboutText(const core::VersionRecord& record) {
  return PlatformLine() + QStringLiteral("\r\nVersion ") +
         FromStd(common::GetAppVersion(false, record)) + QStringLiteral("\r\n") +
         FromStd(record.copyright);
}

AboutBox::AboutBox(QWidget* owner, automation::ClassRegistry& registry,
                   const core::VersionRecord& record)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), title_(FromStd(record.title)) {
  setObjectName(QStringLiteral("fwAbout"));
  setWindowTitle(QStringLiteral("About ") + title_);
  QString error;
  const std::optional<automation::FormDesign> design =
      automation::FormDesign::Load(QStringLiteral(":/forms/fwAbout.json"), &error);
  if (!design) throw std::runtime_error("fwAbout design: " + error.toStdString());
  const automation::HostedControlDesign* image = design->find(QStringLiteral("liAbout"));
  if (image == nullptr) throw std::runtime_error("fwAbout design lacks liAbout");

  // The image control first, so that it lies under the texts; it cuts the form to its
  // picture when it reads its stored style.
  liAbout_ = registry.create(image->classId, this);
  liAbout_->widget()->setObjectName(QStringLiteral("liAbout"));
  site_.setName(QStringLiteral("liAbout"));
  site_.setContainer(this);
  liAbout_->setSite(&site_);
  liAbout_->widget()->move(0, 0);
  liAbout_->ReadProperties(image->bag);
  setFixedSize(liAbout_->widget()->size());

  const auto label = [this](const char* name, const QRect& place, int points, bool bold) {
    auto* l = new QLabel(this);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    font.setBold(bold);
    l->setFont(font);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setGeometry(place);
    return l;
  };
  const QStringList items = CommentItems(record);
  ltTitle_ = label("ltTitle", QRect(40, 116, 280, 30), 17, true);
  ltTitle_->setText(FromStd(record.trademarks));
  ltAbout_ = label("ltAbout", QRect(40, 152, 280, 62), 9, false);
  ltAbout_->setText(AboutText(record).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  ltSite_ = label("ltSite", QRect(40, 222, 280, 20), 9, false);
  ltSite_->setText(items.value(0));
  ltSite_->setToolTip(QStringLiteral("Visit our Web Page"));
  ltMail_ = label("ltMail", QRect(40, 244, 280, 20), 9, false);
  ltMail_->setText(items.value(1));
  ltMail_->setToolTip(QStringLiteral("Mail us"));
  for (QLabel* link : {ltSite_, ltMail_}) {
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, QColor(31, 95, 115));
    link->setPalette(palette);
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);
  }

  bbClose_ = new QPushButton(QStringLiteral("Close"), this);
  bbClose_->setObjectName(QStringLiteral("bbClose"));
  bbClose_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  bbClose_->setIconSize(QSize(16, 16));
  bbClose_->setGeometry(135, 282, 90, 28);
  bbClose_->setMouseTracking(true);
  bbClose_->installEventFilter(this);
  connect(bbClose_, &QPushButton::clicked, this, &QDialog::accept);
  bbClose_->setFocus();
}

AboutBox::~AboutBox() = default;

QWidget* AboutBox::ImageWidget() const { return liAbout_ != nullptr ? liAbout_->widget() : nullptr; }

void AboutBox::ltSite_Click() { widgets::Shell().Open(ltSite_->text()); }

void AboutBox::ltMail_Click() {
  widgets::Shell().Open(ltMail_->text() + QStringLiteral("?subject=") + title_);
}

void AboutBox::bbClose_MouseMove(int x, int y) {
  // Dragged off the button, the focus leaves it, so a release there does not press it.
  if (y < 0 || y > bbClose_->height() || x < 0 || x > bbClose_->width()) ImageWidget()->setFocus();
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label != nullptr &&
        label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
      if (watched == ltSite_) ltSite_Click();
      if (watched == ltMail_) ltMail_Click();
    }
  } else if (event->type() == QEvent::MouseMove && watched == bbClose_) {
    const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
    bbClose_MouseMove(p.x(), p.y());
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace morvane::app
