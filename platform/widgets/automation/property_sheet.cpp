#include "platform/widgets/automation/property_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/property_page.h"

namespace morvane::automation {

PropertySheet::PropertySheet(ClassRegistry& registry, const QList<Control*>& objects, QWidget* owner)
    : QDialog(owner) {
  setObjectName(QStringLiteral("PropertySheet"));
  setWindowTitle(QStringLiteral("Property Pages"));
  tabs_ = new QTabWidget(this);
  buttons_ = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  apply_ = buttons_->button(QDialogButtonBox::Apply);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons_);
  if (!objects.isEmpty()) {
    for (const QString& id : objects.first()->PropertyPages()) {
      PropertyPage* page = registry.createPage(id, tabs_);
      pages_.push_back(page);
      tabs_->addTab(page->widget(), page->caption());
      page->SetChangedHandler([this](bool) { UpdateApply(); });
      page->SetObjects(objects);
    }
  }
  UpdateApply();
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });
  connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
    if (Apply()) accept();
  });
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PropertySheet::~PropertySheet() {
  // The pages go with the tabs; they must not call back into a sheet half gone.
  for (PropertyPage* page : pages_) page->SetChangedHandler(nullptr);
}

void PropertySheet::UpdateApply() {
  bool changed = false;
  for (const PropertyPage* page : pages_) changed = changed || page->Changed();
  apply_->setEnabled(changed);
}

bool PropertySheet::Apply() {
  bool ok = true;
  for (PropertyPage* page : pages_) {
    if (!page->Changed()) continue;
    if (!CatchAtEventBoundary([page] { page->ApplyChanges(); })) {
      ok = false;
      tabs_->setCurrentWidget(page->widget());
      break;
    }
  }
  UpdateApply();
  return ok;
}

bool ShowPropertyPages(ClassRegistry& registry, const QList<Control*>& objects, QWidget* owner,
                       const QString& caption) {
  PropertySheet sheet(registry, objects, owner);
  if (!caption.isEmpty()) sheet.setWindowTitle(caption);
  return sheet.exec() == QDialog::Accepted;
}

}  // namespace morvane::automation
