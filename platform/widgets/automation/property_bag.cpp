#include "platform/widgets/automation/property_bag.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/widgets/automation/automation_error.h"

namespace morvane::automation {

FontObject::FontObject() {
  const QFont font;
  name = font.family();
  size = font.pointSizeF() > 0 ? font.pointSizeF() : 8.25;
}

QFont FontObject::ToQFont() const {
  QFont font(name);
  if (size > 0) font.setPointSizeF(size);
  font.setWeight(bold ? QFont::Bold : static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
  font.setItalic(italic);
  font.setUnderline(underline);
  font.setStrikeOut(strikethrough);
  return font;
}

FontObject FontObject::FromQFont(const QFont& font) {
  FontObject record;
  record.name = font.family();
  if (font.pointSizeF() > 0) record.size = font.pointSizeF();
  record.weight = font.weight();
  record.bold = font.weight() >= QFont::Bold;
  record.italic = font.italic();
  record.underline = font.underline();
  record.strikethrough = font.strikeOut();
  return record;
}

FontRef CloneFont(const FontRef& font) { return font ? std::make_shared<FontObject>(*font) : nullptr; }

bool IsPicture(const QVariant& value) { return value.metaType().id() == QMetaType::QImage; }
QImage PictureOf(const QVariant& value) { return IsPicture(value) ? value.value<QImage>() : QImage(); }
bool IsFont(const QVariant& value) { return value.metaType() == QMetaType::fromType<FontRef>(); }
FontRef FontOf(const QVariant& value) { return IsFont(value) ? value.value<FontRef>() : nullptr; }

namespace {

QJsonValue EncodeValue(const QVariant& value) {
  if (!value.isValid()) return QJsonValue::Null;
  if (IsPicture(value)) {
    QJsonObject object{{"type", "picture"}};
    const QImage image = PictureOf(value);
    if (!image.isNull()) {
      QByteArray png;
      QBuffer buffer(&png);
      buffer.open(QIODevice::WriteOnly);
      if (!image.save(&buffer, "PNG")) throw AutomationError(kErrInvalidPropertyValue);
      object.insert("png", QString::fromLatin1(png.toBase64()));
    }
    return object;
  }
  if (IsFont(value)) {
    const FontRef font = FontOf(value);
    if (!font) return QJsonValue::Null;
    return QJsonObject{{"type", "font"},
                       {"name", font->name},
                       {"size", font->size},
                       {"bold", font->bold},
                       {"italic", font->italic},
                       {"underline", font->underline},
                       {"strikethrough", font->strikethrough},
                       {"weight", font->weight},
                       {"charset", font->charset}};
  }
  switch (value.metaType().id()) {
    case QMetaType::Bool: return value.toBool();
    case QMetaType::QString: return value.toString();
    case QMetaType::Float:
    case QMetaType::Double: return value.toDouble();
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar: return static_cast<double>(value.toULongLong());
    default:
      if (value.canConvert<qlonglong>()) return static_cast<double>(value.toLongLong());
      throw AutomationError(kErrInvalidPropertyValue);
  }
}

// A value, or no value when the stored form is unreadable.
std::optional<QVariant> DecodeValue(const QJsonValue& json) {
  switch (json.type()) {
    case QJsonValue::Null: return QVariant();
    case QJsonValue::Bool: return QVariant(json.toBool());
    case QJsonValue::String: return QVariant(json.toString());
    case QJsonValue::Double: {
      const double number = json.toDouble();
      if (std::floor(number) == number && std::fabs(number) < 9.0e15) {
        return QVariant::fromValue(static_cast<qlonglong>(number));
      }
      return QVariant(number);
    }
    case QJsonValue::Object: {
      const QJsonObject object = json.toObject();
      const QString type = object.value("type").toString();
      if (type == QLatin1String("picture")) {
        if (!object.contains("png")) return QVariant::fromValue(QImage());
        QImage image;
        const QByteArray png = QByteArray::fromBase64(object.value("png").toString().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        if (png.isEmpty() || !image.loadFromData(png, "PNG")) return std::nullopt;
        return QVariant::fromValue(image);
      }
      if (type == QLatin1String("font")) {
        auto font = std::make_shared<FontObject>();
        if (!object.value("name").isString() || !object.value("size").isDouble()) return std::nullopt;
        font->name = object.value("name").toString();
        font->size = object.value("size").toDouble();
        // The sizes a font can have; Qt measures text of others with nonsense heights.
        if (!(font->size > 0 && font->size <= kMaxFontSize)) return std::nullopt;
        font->bold = object.value("bold").toBool();
        font->italic = object.value("italic").toBool();
        font->underline = object.value("underline").toBool();
        font->strikethrough = object.value("strikethrough").toBool();
        font->weight = object.value("weight").toInt(font->bold ? 700 : 400);
        font->charset = object.value("charset").toInt(0);
        return QVariant::fromValue(FontRef(font));
      }
      return std::nullopt;
    }
    default: return std::nullopt;
  }
}

}  // namespace

const PropertyBag::Entry* PropertyBag::findEntry(const QString& key) const {
  for (const auto& entry : entries_) {
    if (entry.key.compare(key, Qt::CaseInsensitive) == 0) return &entry;
  }
  return nullptr;
}

QVariant PropertyBag::read(const QString& key, const QVariant& defaultValue) const {
  const Entry* entry = findEntry(key);
  if (entry == nullptr) return defaultValue;
  if (entry->broken) {
    throw AutomationError(kErrInvalidPropertyValue,
                          QStringLiteral("Invalid property value: %1").arg(key));
  }
  return entry->value;
}

void PropertyBag::write(const QString& key, const QVariant& value) {
  QVariant stored = value;
  // A font is stored by value: later changes of the caller's object do not reach the bag.
  if (IsFont(value)) stored = QVariant::fromValue(CloneFont(FontOf(value)));
  for (auto& entry : entries_) {
    if (entry.key.compare(key, Qt::CaseInsensitive) == 0) {
      entry.value = stored;
      entry.broken = false;
      return;
    }
  }
  entries_.push_back({key, stored, false});
}

bool PropertyBag::contains(const QString& key) const { return findEntry(key) != nullptr; }

QStringList PropertyBag::keys() const {
  QStringList list;
  for (const auto& entry : entries_) list << entry.key;
  return list;
}

QJsonArray PropertyBag::toJson() const {
  QJsonArray array;
  for (const auto& entry : entries_) {
    if (entry.broken) continue;
    array.append(QJsonArray{entry.key, EncodeValue(entry.value)});
  }
  return array;
}

std::optional<PropertyBag> PropertyBag::fromJson(const QJsonValue& json, QString* error) {
  if (!json.isArray()) {
    if (error != nullptr) *error = QStringLiteral("property bag is not a list");
    return std::nullopt;
  }
  PropertyBag bag;
  for (const QJsonValue& item : json.toArray()) {
    const QJsonArray pair = item.toArray();
    if (!item.isArray() || pair.size() != 2 || !pair.at(0).isString()) {
      if (error != nullptr) *error = QStringLiteral("property bag entry is not a [key, value] pair");
      return std::nullopt;
    }
    const std::optional<QVariant> value = DecodeValue(pair.at(1));
    bag.entries_.push_back({pair.at(0).toString(), value.value_or(QVariant()), !value.has_value()});
  }
  return bag;
}

bool PropertyBag::operator==(const PropertyBag& other) const { return toJson() == other.toJson(); }

QByteArray FormDesign::toJson() const {
  QJsonArray list;
  for (const auto& control : controls) {
    QJsonObject object{{"classId", control.classId}, {"name", control.name}};
    if (control.index >= 0) object.insert("index", control.index);
    object.insert("bag", control.bag.toJson());
    list.append(object);
  }
  return QJsonDocument(QJsonObject{{"form", form}, {"controls", list}}).toJson(QJsonDocument::Indented);
}

std::optional<FormDesign> FormDesign::fromJson(const QByteArray& json, QString* error) {
  QJsonParseError parse{};
  const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
  auto fail = [error](const QString& why) -> std::optional<FormDesign> {
    if (error != nullptr) *error = why;
    return std::nullopt;
  };
  if (parse.error != QJsonParseError::NoError) return fail(parse.errorString());
  if (!document.isObject()) return fail(QStringLiteral("form design is not an object"));
  const QJsonObject root = document.object();
  // A form without hosted controls may leave the list out; one that is not a list,
  // or a form name that is no text, is damage.
  const QJsonValue form = root.value("form"), controls = root.value("controls");
  if (!form.isUndefined() && !form.isString()) return fail(QStringLiteral("form name is not a text"));
  if (!controls.isUndefined() && !controls.isArray())
    return fail(QStringLiteral("hosted controls are not a list"));
  FormDesign design;
  design.form = form.toString();
  for (const QJsonValue& item : controls.toArray()) {
    const QJsonObject object = item.toObject();
    HostedControlDesign control;
    control.classId = object.value("classId").toString();
    control.name = object.value("name").toString();
    control.index = object.value("index").toInt(-1);
    if (control.classId.isEmpty() || control.name.isEmpty()) {
      return fail(QStringLiteral("hosted control without class id or name"));
    }
    QString bagError;
    std::optional<PropertyBag> bag = PropertyBag::fromJson(object.value("bag"), &bagError);
    if (!bag) return fail(control.name + QStringLiteral(": ") + bagError);
    control.bag = std::move(*bag);
    design.controls.push_back(std::move(control));
  }
  return design;
}

std::optional<FormDesign> FormDesign::Load(const QString& path, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error != nullptr) *error = file.errorString();
    return std::nullopt;
  }
  return fromJson(file.readAll(), error);
}

bool FormDesign::Save(const QString& path, QString* error) const {
  QSaveFile file(path);
  const QByteArray bytes = toJson();
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  return true;
}

const HostedControlDesign* FormDesign::find(const QString& name, int index) const {
  for (const auto& control : controls) {
    if (control.name.compare(name, Qt::CaseInsensitive) == 0 && control.index == index) return &control;
  }
  return nullptr;
}

HostedControlDesign* FormDesign::find(const QString& name, int index) {
  return const_cast<HostedControlDesign*>(std::as_const(*this).find(name, index));
}

}  // namespace morvane::automation
