#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

#include "platform/widgets/automation/automation_export.h"

namespace morvane::automation {

// The largest font size, in points, that a stored property bag may hold.
inline constexpr double kMaxFontSize = 2160;

// The standard font object: a small record that controls hand out by reference, so
// that a host which keeps the object and changes it later changes the control's font
// too (the "set" assignment), while a "let" assignment copies it.
struct MORVANE_AUTOMATION_API FontObject {
  QString name;
  double size = 8.25;  // points, above 0 and at most kMaxFontSize in a stored bag
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int weight = 400;  // 100 .. 900; bold is 700
  int charset = 0;

  // The application's default font.
  FontObject();

  QFont ToQFont() const;
  static FontObject FromQFont(const QFont& font);
  bool operator==(const FontObject&) const = default;
};
using FontRef = std::shared_ptr<FontObject>;

// A copy of a font object, new and unshared; null stays null.
MORVANE_AUTOMATION_API FontRef CloneFont(const FontRef& font);

// A picture travels as a QImage; "Nothing" is an invalid QVariant, and a null QImage
// is an empty picture (one without a handle).
MORVANE_AUTOMATION_API bool IsPicture(const QVariant& value);
MORVANE_AUTOMATION_API QImage PictureOf(const QVariant& value);
MORVANE_AUTOMATION_API bool IsFont(const QVariant& value);
MORVANE_AUTOMATION_API FontRef FontOf(const QVariant& value);

// A control's stored design-time properties: keys in the order they were first
// written (compared without regard to case), values of the dispatch types (Boolean,
// numbers, text, pictures, fonts). Stored as JSON: a list of [key, value] pairs,
// pictures as {"type": "picture", "png": base64}, fonts as {"type": "font", ...}.
class MORVANE_AUTOMATION_API PropertyBag {
 public:
  // The stored value, or `defaultValue` when the key is absent. A value that was
  // stored but could not be decoded raises error 380, so a reader that skips failing
  // keys loses only that key.
  QVariant read(const QString& key, const QVariant& defaultValue = {}) const;
  // Writes or replaces a key's value; a new key goes at the end.
  void write(const QString& key, const QVariant& value);

  bool contains(const QString& key) const;
  QStringList keys() const;
  int size() const { return static_cast<int>(entries_.size()); }

  QJsonArray toJson() const;
  // Entries whose value cannot be decoded are kept as broken (see read); a document
  // that is not a list of pairs fails with an error text.
  static std::optional<PropertyBag> fromJson(const QJsonValue& json, QString* error = nullptr);

  bool operator==(const PropertyBag&) const;

 private:
  struct Entry {
    QString key;
    QVariant value;
    bool broken = false;
  };
  const Entry* findEntry(const QString& key) const;
  QList<Entry> entries_;
};

// A form's stored design data: the hosted controls it creates when it loads, each
// with its class id, its name and its property bag. One JSON document per form:
// {"form": name, "controls": [{"classId", "name", "index"?, "bag"}]}.
struct MORVANE_AUTOMATION_API HostedControlDesign {
  QString classId;
  QString name;
  int index = -1;  // member of a control array when 0 or more
  PropertyBag bag;
};

struct MORVANE_AUTOMATION_API FormDesign {
  QString form;
  QList<HostedControlDesign> controls;

  QByteArray toJson() const;
  static std::optional<FormDesign> fromJson(const QByteArray& json, QString* error = nullptr);

  // Reads a form's design from a file or a Qt resource (":/forms/fwMain.json").
  static std::optional<FormDesign> Load(const QString& path, QString* error = nullptr);
  // Writes it atomically: on failure the old file stays whole and `error` says why.
  bool Save(const QString& path, QString* error = nullptr) const;

  // The design of the named control, or null.
  const HostedControlDesign* find(const QString& name, int index = -1) const;
  HostedControlDesign* find(const QString& name, int index = -1);
};

}  // namespace morvane::automation

Q_DECLARE_METATYPE(morvane::automation::FontRef)
