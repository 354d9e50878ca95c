#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <functional>

#include "platform/widgets/automation/automation_export.h"

namespace morvane::automation {

// What a host tells a control about its place on the form, the host's side of the
// extender: the control's name (its settings key and its system name), the widget
// that contains it, its index in a control array (-1 when it is none), its help
// ids, the ambient properties the host offers, and where its property changes go.
class MORVANE_AUTOMATION_API ControlSite {
 public:
  ControlSite() = default;
  explicit ControlSite(QString name, QWidget* container = nullptr, int index = -1);
  virtual ~ControlSite();

  const QString& name() const { return name_; }
  void setName(const QString& name) { name_ = name; }
  QWidget* container() const { return container_; }
  void setContainer(QWidget* container) { container_ = container; }
  int index() const { return index_; }
  void setIndex(int index) { index_ = index; }

  int helpContextId() const { return helpContextId_; }
  void setHelpContextId(int id) { helpContextId_ = id; }
  int whatsThisHelpId() const { return whatsThisHelpId_; }
  void setWhatsThisHelpId(int id) { whatsThisHelpId_ = id; }
  // The extender's ToolTipText, which a control may show on its constituents.
  const QString& toolTipText() const { return toolTipText_; }
  void setToolTipText(const QString& text) { toolTipText_ = text; }

  // Ambient properties by name ("BackColor", "ForeColor", "Font", "UserMode", ...):
  // what the host offers, or `defaultValue` for one it does not.
  QVariant ambient(const QString& property, const QVariant& defaultValue = {}) const;
  void setAmbient(const QString& property, const QVariant& value);

  // The control announces that a design-time property changed (so the host knows its
  // stored design is out of date). The notice goes to the handler, if any.
  void PropertyChanged(const QString& property);
  using ChangedHandler = std::function<void(const QString& property)>;
  void setChangedHandler(ChangedHandler handler) { changed_ = std::move(handler); }

 private:
  QString name_;
  QPointer<QWidget> container_;
  int index_ = -1;
  int helpContextId_ = 0;
  int whatsThisHelpId_ = 0;
  QString toolTipText_;
  QHash<QString, QVariant> ambient_;  // keys lower-cased
  ChangedHandler changed_;
};

}  // namespace morvane::automation
