#include "document/widgets/batch_output_panel.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "document/document_model.h"
#include "platform/widgets/file_dialog.h"

namespace morvane::document {
namespace {

QString FromStd(const std::string& s) { return QString::fromStdString(s); }

// The folder a Browse dialog opens in: that of the path typed so far, when it exists.
QString FolderOf(const QString& path) {
  if (path.isEmpty()) return QDir::homePath();
  const QFileInfo info(path);
  const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
  return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

}  // namespace

BatchOutputPanel::BatchOutputPanel(DocumentModel& model, bool connected, widgets::FileDialog& dialogs,
                                   QWidget* parent)
    : QGroupBox(QStringLiteral(" Output Settings "), parent),
      model_(model),
      dialogs_(dialogs),
      chOutput1_(new QCheckBox(QStringLiteral("Separate Files"), this)),
      chOutput2_(new QCheckBox(QStringLiteral("Stop on Error"), this)),
      tlOutput_(new QLabel(QStringLiteral("Output File:"), this)),
      tbOutput_(new QLineEdit(this)),
      bbOutput_(new QPushButton(QStringLiteral("Browse..."), this)),
      bbHelp_(new QPushButton(QStringLiteral("Help"), this)) {
  setObjectName(QStringLiteral("fbOutput"));
  chOutput1_->setObjectName(QStringLiteral("chOutput1"));
  chOutput2_->setObjectName(QStringLiteral("chOutput2"));
  tlOutput_->setObjectName(QStringLiteral("tlOutput"));
  tbOutput_->setObjectName(QStringLiteral("tbOutput"));
  bbOutput_->setObjectName(QStringLiteral("bbOutput"));
  bbHelp_->setObjectName(QStringLiteral("bbHelp"));
  tlOutput_->setTextFormat(Qt::PlainText);
  tlOutput_->setBuddy(tbOutput_);

  // Separate Files and Stop on Error on the first row, Help at its right; the path
  // row below with Browse under Help.
  auto* grid = new QGridLayout(this);
  grid->addWidget(chOutput1_, 0, 0, 1, 2);
  grid->addWidget(chOutput2_, 0, 2, Qt::AlignRight);
  grid->addWidget(bbHelp_, 0, 3);
  grid->addWidget(tlOutput_, 1, 0);
  grid->addWidget(tbOutput_, 1, 1, 1, 2);
  grid->addWidget(bbOutput_, 1, 3);
  grid->setColumnStretch(1, 1);

  // The template's state: Separate Files ticked, the path and Browse disabled.
  chOutput1_->setChecked(true);
  tbOutput_->setEnabled(false);
  bbOutput_->setEnabled(false);

  connect(chOutput1_, &QCheckBox::toggled, this, [this] { chOutput1_Click(); });
  connect(chOutput2_, &QCheckBox::toggled, this, [this] { chOutput2_Click(); });
  connect(tbOutput_, &QLineEdit::textChanged, this, [this] { tbOutput_Change(); });
  connect(bbOutput_, &QPushButton::clicked, this, [this] { bbOutput_Click(); });
  connect(bbHelp_, &QPushButton::clicked, this, [this] { bbHelp_Click(); });

  chOutput1_->setEnabled(connected);
  // A value that changes runs its handler, as a click would.
  const bool separate = model.State().SeparateFiles, stop = model.State().AskBeforeOverwrite;
  const QString path = FromStd(model.State().TextOutputPath);
  chOutput1_->setChecked(separate);
  chOutput2_->setChecked(stop);
  tbOutput_->setText(path);
}

void BatchOutputPanel::chOutput1_Click() {
  const bool clear = !chOutput1_->isChecked();
  tbOutput_->setEnabled(clear);
  bbOutput_->setEnabled(clear);
  model_.LetSeparateFiles(chOutput1_->isChecked());
}

void BatchOutputPanel::chOutput2_Click() { model_.LetAskBeforeOverwrite(chOutput2_->isChecked()); }

void BatchOutputPanel::tbOutput_Change() { model_.LetTextOutputPath(tbOutput_->text().toStdString()); }

void BatchOutputPanel::bbOutput_Click() {
  dialogs_.FileFlags = core::kOfnOverwritePrompt | core::kOfnHideReadOnly;
  dialogs_.DialogTitle = QStringLiteral("Output File");
  dialogs_.DefaultExt = QStringLiteral(".txt");
  dialogs_.Filter = QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*|");
  dialogs_.FilterIndex = 1;
  dialogs_.FileName = tbOutput_->text();
  dialogs_.InitDir = FolderOf(tbOutput_->text());
  if (dialogs_.ShowSaveDialog() == 1) {
    tbOutput_->setText(dialogs_.FileName);
    dialogs_.FileName.clear();
  }
}

void BatchOutputPanel::bbHelp_Click() {
  dialogs_.HelpContextId = 400;
  dialogs_.ShowHelp();
}

BatchOutputPanel* InsertBatchOutputPanel(QFileDialog& dialog, DocumentModel& model, bool connected,
                                         widgets::FileDialog& dialogs) {
  if (!model.State().BatchRunning) return nullptr;
  auto* panel = new BatchOutputPanel(model, connected, dialogs, &dialog);
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Start"));
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(panel, grid->rowCount(), 0, 1, grid->columnCount());
  } else if (dialog.layout() != nullptr) {
    dialog.layout()->addWidget(panel);
  }
  panel->show();
  return panel;
}

}  // namespace morvane::document
