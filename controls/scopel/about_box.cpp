#include "controls/scopel/about_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace morvane::scopel {

namespace {

// Digits of n after one blank, as the runtime's number-to-text gives them.
QString T(int n) { return QLatin1Char(' ') + QString::number(n); }

QString FromStd(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The version without the leading blank and with the revision only from 1 on.
QString AppVersion(const core::VersionRecord& r) {
  QString text = QString::number(r.major) + QLatin1Char('.') + T(r.minor + 100).mid(2);
  if (r.revision >= 1) text += QLatin1Char('.') + T(r.revision + 10000).mid(2);
  return text;
}

}  // namespace

QString VersionText(const core::VersionRecord& r) { return T(r.major).left(1) + AppVersion(r); }

QString VersionText() { return VersionText(core::ThisVersionRecord()); }

AboutContent BuildAboutContent(const core::VersionRecord& r) {
  const QString crlf = QStringLiteral("\r\n");
  AboutContent about;
  about.caption = QStringLiteral("About ") + FromStd(r.trademarks);
  QString description = FromStd(r.title);
  description.replace(QStringLiteral(". "), QStringLiteral(".") + crlf);
  QString text = description + crlf;
  text += QStringLiteral("Version ") + AppVersion(r) + crlf;
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
  QMessageBox box(QMessageBox::NoIcon, about.caption, about.text, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setIconPixmap(QApplication::windowIcon().pixmap(32, 32));
  box.setObjectName(QStringLiteral("ScopelAbout"));
  box.exec();
}

}  // namespace morvane::scopel
