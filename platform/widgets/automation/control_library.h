#pragma once

// The four self-registration entry points of a control library, emitted once per
// library by MORVANE_CONTROL_LIBRARY in its entry file. They are the only symbols a
// control library exports.

#include <cstdint>
#include <span>

#include "platform/widgets/automation/automation_export.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/property_page.h"

namespace morvane::automation {

// A property page that a library holds beside its control.
struct LibraryPage {
  const char* classId;    // "{...}"
  const char* className;  // "Controls"
  PageFactory* factory;
};

// What a library tells the hosting layer about its one class and its pages.
struct LibraryClass {
  const char* classId;    // "{...}"
  const char* progId;     // "Scopel.ScopelCtrl"
  const char* className;  // "Scopel"
  const void* anchor;     // an object inside the library, to find its file
  ClassFactory* factory;
  int (*liveInstances)();
  std::span<const LibraryPage> pages;
};

MORVANE_AUTOMATION_API std::int32_t RegisterLibraryClass(const LibraryClass& library);
MORVANE_AUTOMATION_API std::int32_t UnregisterLibraryClass(const LibraryClass& library);
MORVANE_AUTOMATION_API std::int32_t GetLibraryClassObject(const LibraryClass& library,
                                                          const char* classId, const char* interfaceId,
                                                          void** object);
MORVANE_AUTOMATION_API std::int32_t CanUnloadLibrary(const LibraryClass& library);

}  // namespace morvane::automation

#define MORVANE_CONTROL_ENTRY extern "C" __attribute__((visibility("default")))

// ControlType derives from ControlBase<ControlType>; typelib is the namespace of its
// <name>_typelib.h with kClassId, kProgId and kClassName.
#define MORVANE_CONTROL_LIBRARY(ControlType, typelib) \
  MORVANE_CONTROL_LIBRARY_WITH_PAGES(ControlType, typelib, (std::span<const ::morvane::automation::LibraryPage>{}))

// The same for a library that also holds property pages: `pages` is an array of
// LibraryPage in the library's entry file.
#define MORVANE_CONTROL_LIBRARY_WITH_PAGES(ControlType, typelib, pages)                              \
  namespace {                                                                                        \
  ::morvane::automation::ClassFactoryOf<ControlType> gLibraryFactory;                                \
  const char gLibraryAnchor = 0;                                                                     \
  ::morvane::automation::LibraryClass ThisLibraryClass() {                                           \
    return {typelib::kClassId, typelib::kProgId, typelib::kClassName,                                \
            &gLibraryAnchor,   &gLibraryFactory, &ControlType::LiveInstances,                        \
            std::span<const ::morvane::automation::LibraryPage>(pages)};                             \
  }                                                                                                  \
  }                                                                                                  \
  MORVANE_CONTROL_ENTRY std::int32_t DllRegisterServer() {                                           \
    return ::morvane::automation::RegisterLibraryClass(ThisLibraryClass());                          \
  }                                                                                                  \
  MORVANE_CONTROL_ENTRY std::int32_t DllUnregisterServer() {                                         \
    return ::morvane::automation::UnregisterLibraryClass(ThisLibraryClass());                        \
  }                                                                                                  \
  MORVANE_CONTROL_ENTRY std::int32_t DllGetClassObject(const char* classId, const char* interfaceId, \
                                                       void** object) {                              \
    return ::morvane::automation::GetLibraryClassObject(ThisLibraryClass(), classId, interfaceId,    \
                                                        object);                                     \
  }                                                                                                  \
  MORVANE_CONTROL_ENTRY std::int32_t DllCanUnloadNow() {                                             \
    return ::morvane::automation::CanUnloadLibrary(ThisLibraryClass());                              \
  }
