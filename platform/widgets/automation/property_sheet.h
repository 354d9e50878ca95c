#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include <vector>

#include "platform/widgets/automation/automation_export.h"

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

namespace morvane::automation {

class ClassRegistry;
class Control;
class PropertyPage;

// The frame in which a host shows the property pages of the selected controls: the
// pages the first control names, in its order, one tab each, made through the
// registry; with OK (apply and close), Cancel and Apply (enabled while a page holds
// changes). A control's error on Apply is reported and the sheet stays open. A page
// that no library makes raises error 429 from the constructor.
class MORVANE_AUTOMATION_API PropertySheet : public QDialog {
 public:
  PropertySheet(ClassRegistry& registry, const QList<Control*>& objects, QWidget* owner = nullptr);
  ~PropertySheet() override;

  const std::vector<PropertyPage*>& pages() const { return pages_; }
  QTabWidget* tabs() const { return tabs_; }
  QPushButton* applyButton() const { return apply_; }
  // Applies every page that holds changes; false when a control refused (the error
  // was reported).
  bool Apply();

 private:
  void UpdateApply();

  QTabWidget* tabs_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QPushButton* apply_ = nullptr;
  std::vector<PropertyPage*> pages_;
};

// Shows the sheet modal over the owner; returns whether the user closed it with OK.
MORVANE_AUTOMATION_API bool ShowPropertyPages(ClassRegistry& registry, const QList<Control*>& objects,
                                              QWidget* owner = nullptr, const QString& caption = {});

}  // namespace morvane::automation
