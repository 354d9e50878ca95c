#include "platform/widgets/automation/control_library.h"

#include <QString>

#include <cstring>

#include "platform/widgets/automation/class_registry.h"

namespace morvane::automation {

namespace {

ClassEntry EntryOf(const LibraryClass& library) {
  return {QString::fromLatin1(library.classId), QString::fromLatin1(library.progId),
          QString::fromLatin1(library.className), LibraryPathOf(library.anchor)};
}

}  // namespace

std::int32_t RegisterLibraryClass(const LibraryClass& library) {
  const ClassEntry entry = EntryOf(library);
  if (entry.libraryPath.isEmpty()) return kResultSelfRegClass;
  return RegisterClassEntry(DefaultClassStore(), entry) ? kResultOk : kResultSelfRegClass;
}

std::int32_t UnregisterLibraryClass(const LibraryClass& library) {
  return UnregisterClassEntry(DefaultClassStore(), EntryOf(library)) ? kResultOk : kResultSelfRegClass;
}

std::int32_t GetLibraryClassObject(const LibraryClass& library, const char* classId,
                                   const char* interfaceId, void** object) {
  if (object == nullptr) return kResultPointer;
  *object = nullptr;
  if (classId == nullptr ||
      NormalizeClassId(QString::fromLatin1(classId)) != QLatin1String(library.classId)) {
    return kResultClassNotAvailable;
  }
  if (interfaceId == nullptr || std::strcmp(interfaceId, kClassFactoryInterfaceId) != 0)
    return kResultNoInterface;
  *object = library.factory;
  return kResultOk;
}

std::int32_t CanUnloadLibrary(const LibraryClass& library) {
  return library.liveInstances() == 0 ? kResultOk : kResultFalse;
}

}  // namespace morvane::automation
