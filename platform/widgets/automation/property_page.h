#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

#include "platform/widgets/automation/automation_export.h"

namespace morvane::automation {

class Control;

// One page of a control's property sheet. A control names the class ids of its pages
// (Control::PropertyPages); the class factory of the library that holds a page makes
// it (ClassRegistry::createPage), and a host puts the pages into one frame
// (PropertySheet). The page is a widget: it belongs to the parent it was made on.
class MORVANE_AUTOMATION_API PropertyPage {
 public:
  PropertyPage() = default;
  virtual ~PropertyPage();
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  virtual QWidget* widget() = 0;
  // The page's title on its tab.
  virtual QString caption() const = 0;
  // The controls the page edits (the selection changed); pages that edit one control
  // take the first. The controls outlive the page's use of them.
  virtual void SetObjects(const QList<Control*>& objects) = 0;
  // Writes what the user chose to the controls; a control's error reaches the caller.
  virtual void ApplyChanges() = 0;
  // Puts the focus on the field of the named property, if the page has one.
  virtual void EditProperty(const QString& name);

  // Whether the page holds choices not yet applied; the host enables its Apply button
  // by it.
  bool Changed() const { return changed_; }
  using ChangedHandler = std::function<void(bool changed)>;
  void SetChangedHandler(ChangedHandler handler) { changedHandler_ = std::move(handler); }

 protected:
  void SetChanged(bool changed);

 private:
  bool changed_ = false;
  ChangedHandler changedHandler_;
};

// The class object of a page class: makes pages on a parent.
class MORVANE_AUTOMATION_API PageFactory {
 public:
  virtual ~PageFactory();
  virtual PropertyPage* CreatePage(QWidget* parent) = 0;
};

// The class object of a page class whose constructor takes the parent widget.
template <class T>
class PageFactoryOf : public PageFactory {
 public:
  PropertyPage* CreatePage(QWidget* parent) override { return new T(parent); }
};

// The interface a page's class object is asked for: DllGetClassObject hands out a
// PageFactory*.
inline constexpr const char* kPageFactoryInterfaceId = "{5A831C80-232F-4F82-AA75-6E952879F485}";

// The hosting layer's own pages, which any control may name: a colour property chosen
// from a list of the control's colour properties, and a picture property loaded from
// a file.
inline constexpr const char* kStandardColorPageId = "{1042632C-ADED-4961-8423-9F6F0CBE0C83}";
inline constexpr const char* kStandardPicturePageId = "{579E5A67-B21E-4753-BA6B-4D896EFE6CA4}";

// What kind of value a property holds, for the standard pages' lists.
enum class PropertyKind { Color, Picture };

}  // namespace morvane::automation
