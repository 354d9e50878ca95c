#pragma once

// The hosting layer's stand-ins for the platform's standard property pages: a colour
// page and a picture page. Each lists the properties of its kind that the first
// selected control names (Control::PropertiesOfKind), keeps the user's choices until
// Apply, and then writes each chosen value to every selected control that has the
// property.

#include <QImage>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>

#include "platform/widgets/automation/automation_export.h"
#include "platform/widgets/automation/property_page.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace morvane::automation {

class Control;

// The class object of a standard page by class id; null for any other id.
MORVANE_AUTOMATION_API PageFactory* StandardPageFactory(const QString& classId);

// What both pages share: the list of properties and the pending choices.
class MORVANE_AUTOMATION_API StandardPage : public QWidget, public PropertyPage {
 public:
  QWidget* widget() override { return this; }
  void SetObjects(const QList<Control*>& objects) override;
  void EditProperty(const QString& name) override;

  QListWidget* properties() const { return properties_; }
  // The property chosen in the list; empty when there is none.
  QString CurrentProperty() const;

 protected:
  StandardPage(QWidget* parent, PropertyKind kind);
  // The current value of a property as the first control holds it.
  QVariant CurrentValue(const QString& property) const;
  // Writes a value to each selected control that has the property.
  void WriteToAll(const QString& property, const QVariant& value, bool byReference);
  virtual void ShowCurrent() = 0;

  QList<QPointer<QObject>> objectWidgets_;  // to tell that a control is gone
  QList<Control*> objects_;
  PropertyKind kind_;
  QListWidget* properties_ = nullptr;
  QLabel* heading_ = nullptr;
};

// Colour properties, chosen with a colour dialog. Values are 32-bit colour values
// (red in the low byte; system colours keep their high bit until changed).
class MORVANE_AUTOMATION_API ColorPage : public StandardPage {
 public:
  explicit ColorPage(QWidget* parent = nullptr);
  QString caption() const override { return QStringLiteral("Color"); }
  void ApplyChanges() override;

  // Opens the colour dialog for the current property; a chosen colour is kept.
  void ChooseColor();
  // Keeps a colour for the current property, as a choice in the dialog does.
  void SetPendingColor(std::uint32_t color);
  // The colour the current property shows: the pending one, else the control's.
  std::optional<std::uint32_t> ShownColor() const;
  QLabel* swatch() const { return swatch_; }

 protected:
  void ShowCurrent() override;

 private:
  QMap<QString, std::uint32_t> pending_;
  QLabel* swatch_ = nullptr;
  QPushButton* choose_ = nullptr;
};

// Picture properties, loaded from a picture file or cleared.
class MORVANE_AUTOMATION_API PicturePage : public StandardPage {
 public:
  explicit PicturePage(QWidget* parent = nullptr);
  QString caption() const override { return QStringLiteral("Picture"); }
  void ApplyChanges() override;

  // Asks for a picture file for the current property and loads it.
  void BrowsePicture();
  // Loads a picture file for the current property; false with the reason when it
  // cannot be read (nothing is kept then).
  bool LoadPictureFile(const QString& path, QString* error = nullptr);
  // Keeps "no picture" for the current property.
  void ClearPicture();
  QLabel* preview() const { return preview_; }
  QLabel* status() const { return status_; }

 protected:
  void ShowCurrent() override;

 private:
  QMap<QString, QImage> pending_;  // a null image is "no picture"
  QLabel* preview_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* clear_ = nullptr;
};

}  // namespace morvane::automation
