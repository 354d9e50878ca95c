#pragma once

#include <QObject>

#include <cstdint>

#include "platform/widgets/automation/automation_export.h"

namespace morvane::automation {

// Opaque 32-bit ids in place of window and device-context handles (hWnd, hDC). A
// host may compare them, keep them and hand them back; only this table turns one into
// its object. An id is never reused within a process, so a stale id finds nothing.
using Handle = std::int32_t;

class MORVANE_AUTOMATION_API HandleTable {
 public:
  // The id of a widget or other object, made on first use; released by itself when
  // the object is destroyed. 0 for null.
  static Handle HandleOf(QObject* object);
  // The id of an object that is not a QObject (a drawing surface); its owner calls
  // Release before it dies. 0 for null.
  static Handle HandleOf(const void* object);
  static void Release(const void* object);

  // The object of an id, or null when the id is unknown or its object has gone.
  static QObject* ObjectOf(Handle handle);
  static const void* AddressOf(Handle handle);
};

}  // namespace morvane::automation
