#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <memory>
#include <string>

namespace morvane::testing {

// Answers the modal file dialogs with the file, or cancels them, until done is set; a
// dialog that has not listed its folder yet may refuse the first answer. answered, when
// given, counts the answers.
inline void AnswerFileDialog(const std::string& file, bool confirm, const std::shared_ptr<bool>& done,
                             const std::shared_ptr<int>& answered = nullptr) {
  QTimer::singleShot(50, [file, confirm, done, answered] {
    if (*done) return;
    // The next look first: an answer may open a box of the dialog's own and wait in it.
    AnswerFileDialog(file, confirm, done, answered);
    QWidget* modal = QApplication::activeModalWidget();
    // The dialog's own "file not found", should an answer meet one: try again.
    if (auto* box = qobject_cast<QMessageBox*>(modal)) box->reject();
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      dialog->selectFile(QString::fromStdString(file));
      // selectFile leaves the name box alone while it has the focus, and the name box is
      // what the dialog accepts: write the answer there as a user would type it.
      if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        name->setText(QString::fromStdString(file));
      }
      if (confirm) {
        QMetaObject::invokeMethod(dialog, "accept");
      } else {
        dialog->reject();
      }
      if (answered) ++*answered;
    }
  });
}

}  // namespace morvane::testing
