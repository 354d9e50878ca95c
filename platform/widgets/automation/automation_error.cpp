#include "platform/widgets/automation/automation_error.h"

#include <QtGlobal>

#include <mutex>
#include <utility>

namespace morvane::automation {

QString StandardErrorDescription(int number) {
  switch (number) {
    case kErrInvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case kErrOverflow: return QStringLiteral("Overflow");
    case kErrTypeMismatch: return QStringLiteral("Type mismatch");
    case kErrInvalidPropertyValue: return QStringLiteral("Invalid property value");
    case kErrPropertyIsReadOnly: return QStringLiteral("Property is read-only");
    case kErrObjectRequired: return QStringLiteral("Object required");
    case kErrCannotCreateObject: return QStringLiteral("ActiveX component can't create object");
    case kErrNoSuchMember: return QStringLiteral("Object doesn't support this property or method");
    case kErrArgumentNotOptional: return QStringLiteral("Argument not optional");
    default: return {};
  }
}

AutomationError::AutomationError(int number, QString description, QString source)
    : number_(number),
      description_(description.isEmpty() ? StandardErrorDescription(number) : std::move(description)),
      source_(std::move(source)) {
  what_ = QStringLiteral("%1: %2").arg(number_).arg(description_).toStdString();
  if (!source_.isEmpty()) what_ += " (" + source_.toStdString() + ")";
}

namespace {

ErrorHandler& Handler() {
  static ErrorHandler handler;
  return handler;
}

}  // namespace

void SetErrorHandler(ErrorHandler handler) { Handler() = std::move(handler); }

void ReportError(const AutomationError& error) {
  if (Handler()) {
    Handler()(error);
  } else {
    qWarning("%s", error.what());
  }
}

}  // namespace morvane::automation
