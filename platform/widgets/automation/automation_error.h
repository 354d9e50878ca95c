#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <string>

#include "platform/widgets/automation/automation_export.h"

namespace morvane::automation {

// Error numbers of the control runtime that hosts and controls rely on.
inline constexpr int kErrInvalidProcedureCall = 5;
inline constexpr int kErrOverflow = 6;
inline constexpr int kErrTypeMismatch = 13;
inline constexpr int kErrInvalidPropertyValue = 380;
inline constexpr int kErrPropertyIsReadOnly = 383;
inline constexpr int kErrObjectRequired = 424;
inline constexpr int kErrCannotCreateObject = 429;
inline constexpr int kErrNoSuchMember = 438;
inline constexpr int kErrArgumentNotOptional = 449;

// The runtime's own description of a numbered error ("Overflow" for 6); an empty
// text for numbers it has no text for.
MORVANE_AUTOMATION_API QString StandardErrorDescription(int number);

// A numbered error raised by a control or by the hosting layer. Hosts catch it at
// their event boundary (CatchAtEventBoundary); it never crosses Qt's event dispatch.
class MORVANE_AUTOMATION_API AutomationError : public std::exception {
 public:
  // An empty description takes the runtime's text for the number.
  explicit AutomationError(int number, QString description = {}, QString source = {});

  int number() const noexcept { return number_; }
  const QString& description() const noexcept { return description_; }
  const QString& source() const noexcept { return source_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int number_;
  QString description_;
  QString source_;
  std::string what_;
};

// Where errors caught at an event boundary go. The default handler writes a warning;
// the program installs one that tells the user. Passing an empty function restores
// the default.
using ErrorHandler = std::function<void(const AutomationError&)>;
MORVANE_AUTOMATION_API void SetErrorHandler(ErrorHandler handler);
MORVANE_AUTOMATION_API void ReportError(const AutomationError& error);

// Runs `body` and hands any AutomationError (or other exception, as error 5) to the
// error handler instead of letting it unwind into Qt. Returns false when it caught.
template <class Body>
bool CatchAtEventBoundary(Body&& body) noexcept {
  try {
    body();
    return true;
  } catch (const AutomationError& error) {
    ReportError(error);
  } catch (const std::exception& error) {
    ReportError(AutomationError(kErrInvalidProcedureCall, QString::fromUtf8(error.what())));
  } catch (...) {
    ReportError(AutomationError(kErrInvalidProcedureCall));
  }
  return false;
}

}  // namespace morvane::automation
