#include "platform/widgets/automation/variant_args.h"

#include <QMetaType>

#include <cmath>
#include <limits>

#include "platform/widgets/automation/automation_error.h"

namespace morvane::automation {

bool IsMissing(const QVariantList& args, int index) {
  return index < 0 || index >= args.size() || !args[index].isValid();
}

const QVariant& Arg(const QVariantList& args, int index) {
  if (IsMissing(args, index)) throw AutomationError(kErrArgumentNotOptional);
  return args[index];
}

namespace {

bool IsNumber(const QVariant& value) {
  switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double: return true;
    default: return false;
  }
}

// Every value that converts to a number, as a finite double; a Boolean True is -1.
// The runtime has no infinite or undefined numbers: a host's is an overflow, and the
// texts "inf" and "nan" that Qt would read are no numbers at all.
double NumberOf(const QVariant& value) {
  // An omitted optional argument does not convert: type mismatch, as in the runtime.
  if (!value.isValid()) throw AutomationError(kErrTypeMismatch);
  if (value.metaType().id() == QMetaType::Bool) return value.toBool() ? -1.0 : 0.0;
  if (IsNumber(value)) {
    const double number = value.toDouble();
    if (!std::isfinite(number)) throw AutomationError(kErrOverflow);
    return number;
  }
  if (value.metaType().id() == QMetaType::QString) {
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return -1.0;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return 0.0;
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (ok && std::isfinite(number)) return number;
  }
  throw AutomationError(kErrTypeMismatch);
}

template <class Int>
Int ToInteger(const QVariant& value) {
  // Unsigned 64-bit values beyond the double's exact range still compare right.
  const double rounded = std::nearbyint(NumberOf(value));
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    throw AutomationError(kErrOverflow);
  }
  return static_cast<Int>(rounded);
}

}  // namespace

std::int16_t ToInt16(const QVariant& value) { return ToInteger<std::int16_t>(value); }
std::int32_t ToInt32(const QVariant& value) { return ToInteger<std::int32_t>(value); }

double ToDouble(const QVariant& value) { return NumberOf(value); }

float ToSingle(const QVariant& value) {
  const double number = NumberOf(value);
  if (std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max())) {
    throw AutomationError(kErrOverflow);
  }
  return static_cast<float>(number);
}

bool ToBool(const QVariant& value) { return NumberOf(value) != 0.0; }

QString ToText(const QVariant& value) {
  if (!value.isValid()) throw AutomationError(kErrTypeMismatch);
  if (value.metaType().id() == QMetaType::Bool) {
    return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  }
  if (value.metaType().id() == QMetaType::QString || IsNumber(value)) return value.toString();
  throw AutomationError(kErrTypeMismatch);
}

std::uint32_t ToColor(const QVariant& value) {
  const double rounded = std::nearbyint(NumberOf(value));
  if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<std::uint32_t>::max())) {
    throw AutomationError(kErrOverflow);
  }
  if (rounded < 0) return static_cast<std::uint32_t>(static_cast<std::int32_t>(rounded));
  return static_cast<std::uint32_t>(rounded);
}

}  // namespace morvane::automation
