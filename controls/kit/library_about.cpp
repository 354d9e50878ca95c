#include "controls/kit/library_about.h"

#include <QStringList>

#include "common/app_message_box.h"
#include "common/app_version.h"
#include "platform/widgets/app_message_box.h"
#include "platform/widgets/automation/handle_table.h"

namespace morvane::kit {

namespace {

QString FromStd(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

AboutContent BuildAboutContent(const core::VersionRecord& r, const QString& extraText) {
  const QString crlf = QStringLiteral("\r\n");
  AboutContent about;
  about.caption = QStringLiteral("About ") + FromStd(r.trademarks);
  QString description = FromStd(r.title);
  description.replace(QStringLiteral(". "), QStringLiteral(".") + crlf);
  QString text = description + crlf;
  text += QStringLiteral("Version ") + FromStd(common::GetAppVersion(false, r)) + crlf;
  if (!extraText.isEmpty()) text += extraText + crlf;
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

void ShowLibraryAbout(LibraryIcons icons, QWidget* owner, const QString& extraText) {
  const AboutContent about = BuildAboutContent(core::ThisVersionRecord(), extraText);
  widgets::AppMessageBox box(icons, [](std::int32_t handle) {
    return qobject_cast<QWidget*>(automation::HandleTable::ObjectOf(handle));
  });
  const std::int32_t ownerHandle =
      owner != nullptr ? automation::HandleTable::HandleOf(static_cast<QObject*>(owner)) : 0;
  // One OK button, the library's icon 1, language 0.
  common::MessageBoxWithAppIcon(box, ownerHandle, about.text.toStdString(), core::kMbOk,
                                about.caption.toStdString(), 1, 0);
}

}  // namespace morvane::kit
