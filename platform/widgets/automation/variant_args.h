#pragma once

#include <QString>
#include <QImage>
#include <QVariant>
#include <QVariantList>

#include <cstdint>

#include "platform/widgets/automation/automation_export.h"

namespace morvane::automation {

// Arguments cross the dispatch interface as QVariants. An argument is omitted when
// the list is too short for it or holds an invalid QVariant at its place.
MORVANE_AUTOMATION_API bool IsMissing(const QVariantList& args, int index);

// Conversions with the runtime's rules: numbers and numeric texts convert, fractions
// round half to even, values outside the target's range (and infinite or undefined
// numbers) raise error 6 (overflow),
// anything else (an omitted optional argument too) error 13 (type mismatch).
MORVANE_AUTOMATION_API std::int16_t ToInt16(const QVariant& value);
MORVANE_AUTOMATION_API std::int32_t ToInt32(const QVariant& value);
MORVANE_AUTOMATION_API double ToDouble(const QVariant& value);
MORVANE_AUTOMATION_API float ToSingle(const QVariant& value);
MORVANE_AUTOMATION_API bool ToBool(const QVariant& value);
MORVANE_AUTOMATION_API QString ToText(const QVariant& value);
// A colour: any 32-bit value, signed or unsigned (system colours have the high bit set).
MORVANE_AUTOMATION_API std::uint32_t ToColor(const QVariant& value);

// args[index] of a required argument; an omitted one raises 449.
MORVANE_AUTOMATION_API const QVariant& Arg(const QVariantList& args, int index);

// A colour as it travels back to a host: the 32-bit value as an unsigned number.
inline QVariant FromColor(std::uint32_t color) { return QVariant::fromValue(color); }

// Property values as a member's getter hands them to the caller: each number keeps
// its width, and an empty picture is Nothing.
inline QVariant ValueOf(bool v) { return v; }
inline QVariant ValueOf(std::int16_t v) { return QVariant::fromValue(v); }
inline QVariant ValueOf(std::int32_t v) { return QVariant::fromValue(v); }
inline QVariant ValueOf(const QString& v) { return v; }
inline QVariant ValueOf(const QImage& v) { return v.isNull() ? QVariant() : QVariant::fromValue(v); }

}  // namespace morvane::automation
