#pragma once

#include <QGroupBox>

#include <string>

class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morvane::widgets {
class FileDialog;
}

namespace morvane::document {

class DocumentModel;

// The batch run's output settings, shown inside the batch's open dialog: Separate
// Files, Stop on Error, the report path with Browse, and Help. Each click and
// keystroke goes straight into the document's settings; a cancelled dialog keeps them.
class BatchOutputPanel : public QGroupBox {
  Q_OBJECT

 public:
  // connected: the Connected setting; only with it can Separate Files be changed.
  // dialogs: the dialog control whose Save dialog Browse shows and whose help Help shows.
  // model: the document whose batch settings the panel shows and sets.
  BatchOutputPanel(DocumentModel& model, bool connected, widgets::FileDialog& dialogs,
                   QWidget* parent = nullptr);

  QCheckBox* chOutput1() const { return chOutput1_; }
  QCheckBox* chOutput2() const { return chOutput2_; }
  QLabel* tlOutput() const { return tlOutput_; }
  QLineEdit* tbOutput() const { return tbOutput_; }
  QPushButton* bbOutput() const { return bbOutput_; }
  QPushButton* bbHelp() const { return bbHelp_; }

 private:
  void chOutput1_Click();
  void chOutput2_Click();
  void tbOutput_Change();
  void bbOutput_Click();
  void bbHelp_Click();

  DocumentModel& model_;
  widgets::FileDialog& dialogs_;
  QCheckBox* chOutput1_;
  QCheckBox* chOutput2_;
  QLabel* tlOutput_;
  QLineEdit* tbOutput_;
  QPushButton* bbOutput_;
  QPushButton* bbHelp_;
};

// The dialog control's InitDialog handler for the batch: when a batch dialog is up
// (the model's BatchRunning), relabels its accept button "&Start" and puts a fresh
// panel, laid out from the current settings, under its own controls. Returns the panel,
// owned by the dialog, or nullptr when nothing was inserted.
BatchOutputPanel* InsertBatchOutputPanel(QFileDialog& dialog, DocumentModel& model, bool connected,
                                         widgets::FileDialog& dialogs);

}  // namespace morvane::document
