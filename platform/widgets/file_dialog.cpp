#include "platform/widgets/file_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>

namespace morvane::widgets {

std::vector<FilterEntry> ParseFilter(const QString& filter) {
  std::vector<FilterEntry> entries;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    FilterEntry entry;
    entry.description = parts[i];
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      entry.patterns << p.trimmed();
    }
    if (entry.description.isEmpty() && entry.patterns.isEmpty()) continue;
    entries.push_back(entry);
  }
  return entries;
}

QString QtNameFilter(const FilterEntry& entry) {
  // Qt reads the patterns from the last parentheses, so the description's own list
  // (with ";" between) gives way to ours.
  QString words = entry.description;
  words.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
  QStringList patterns;
  for (const QString& p : entry.patterns)
    patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
  return QStringLiteral("%1 (%2)").arg(words.trimmed(), patterns.join(QLatin1Char(' ')));
}

QString FileDialog::FileAt(std::int32_t index) const {
  return index >= 0 && index < files_.size() ? files_[index] : QString();
}

std::int32_t FileDialog::ShowOpenDialog() { return Show(false); }

std::int32_t FileDialog::ShowSaveDialog() { return Show(true); }

void FileDialog::ShowHelp() {
  if (HelpRequested) HelpRequested(HelpFile, HelpContextId);
}

std::int32_t FileDialog::Show(bool save) {
  QFileDialog dialog(parent, DialogTitle);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (save) {
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(FileFlags & core::kOfnOverwritePrompt));
    QString suffix = DefaultExt;
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
  } else if (FileFlags & core::kOfnAllowMultiSelect) {
    dialog.setFileMode(QFileDialog::ExistingFiles);
  } else if (FileFlags & core::kOfnFileMustExist) {
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setFileMode(QFileDialog::AnyFile);
  }

  QStringList nameFilters;
  for (const FilterEntry& entry : ParseFilter(Filter)) nameFilters << QtNameFilter(entry);
  if (!nameFilters.isEmpty()) {
    dialog.setNameFilters(nameFilters);
    const int index = FilterIndex >= 1 && FilterIndex <= nameFilters.size() ? FilterIndex - 1 : 0;
    dialog.selectNameFilter(nameFilters[index]);
  }
  if (!InitDir.isEmpty()) dialog.setDirectory(InitDir);
  if (!FileName.isEmpty()) dialog.selectFile(FileName);

  if (FileFlags & core::kOfnShowHelp) {
    if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
      QPushButton* help = box->addButton(QDialogButtonBox::Help);
      help->setText(QStringLiteral("&Help"));
      QObject::connect(help, &QPushButton::clicked, [this] { ShowHelp(); });
    }
  }

  ++depth_;
  if (depth_ == 1 && InitDialog) InitDialog(dialog);
  const int result = dialog.exec();
  --depth_;
  if (result != QDialog::Accepted) return 0;

  files_ = dialog.selectedFiles();
  FileName = files_.value(0);
  const qsizetype chosen = nameFilters.indexOf(dialog.selectedNameFilter());
  if (chosen >= 0) FilterIndex = static_cast<std::int16_t>(chosen + 1);
  return 1;
}

}  // namespace morvane::widgets
