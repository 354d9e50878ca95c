#include "controls/scopel/about_box.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStringList>

#include "common/app_message_box.h"
#include "common/app_version.h"
#include "platform/widgets/app_message_box.h"

namespace morvane::scopel {

namespace {

QString FromStd(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The library's icon 1: a magnified cell block with its grid.
QIcon LibraryIcon(std::int32_t id) {
  if (id != 1) return {};
  QPixmap pixmap(32, 32);
  pixmap.fill(QColor(0xc0, 0xc0, 0xc0));
  QPainter p(&pixmap);
  const QColor cells[4] = {QColor(0xdc, 0x1e, 0x1e), QColor(0x1e, 0x3c, 0xc8), QColor(0xff, 0xff, 0xff),
                           QColor(0x00, 0xa0, 0x00)};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) p.fillRect(x * 8, y * 8, 7, 7, cells[(x + y) % 4]);
  }
  return QIcon(pixmap);
}

}  // namespace

QString VersionText(const core::VersionRecord& r) {
  return QLatin1Char(' ') + FromStd(common::GetAppVersion(false, r));
}

QString VersionText() { return VersionText(core::ThisVersionRecord()); }

AboutContent BuildAboutContent(const core::VersionRecord& r) {
  const QString crlf = QStringLiteral("\r\n");
  AboutContent about;
  about.caption = QStringLiteral("About ") + FromStd(r.trademarks);
  QString description = FromStd(r.title);
  description.replace(QStringLiteral(". "), QStringLiteral(".") + crlf);
  QString text = description + crlf;
  text += QStringLiteral("Version ") + FromStd(common::GetAppVersion(false, r)) + crlf;
  text += QString(60, QLatin1Char(' ')) + crlf;
  text += FromStd(r.copyright) + crlf;
  // Empty comments give no line at all.
  const QString comments = FromStd(r.comments);
  if (!comments.isEmpty()) {
    const QStringList parts = comments.split(QStringLiteral(", "));
    text += parts.at(0) + crlf;
    if (parts.size() > 1) text += parts.at(1) + crlf;
  }
  about.text = text;
  return about;
}

void ShowScopelAbout() {
  const AboutContent about = BuildAboutContent(core::ThisVersionRecord());
  widgets::AppMessageBox box(&LibraryIcon);
  // No owner window, one OK button, the library's icon 1, language 0.
  common::MessageBoxWithAppIcon(box, 0, about.text.toStdString(), core::kMbOk, about.caption.toStdString(), 1, 0);
}

}  // namespace morvane::scopel
