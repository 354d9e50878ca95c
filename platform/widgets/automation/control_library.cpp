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

// A page is registered like a class without a ProgID, so that a host finds its library.
ClassEntry EntryOf(const LibraryClass& library, const LibraryPage& page) {
  return {QString::fromLatin1(page.classId), QString(), QString::fromLatin1(page.className),
          LibraryPathOf(library.anchor)};
}

}  // namespace

std::int32_t RegisterLibraryClass(const LibraryClass& library) {
  const ClassEntry entry = EntryOf(library);
  if (entry.libraryPath.isEmpty()) return kResultSelfRegClass;
  bool ok = RegisterClassEntry(DefaultClassStore(), entry);
  for (const LibraryPage& page : library.pages)
    ok = RegisterClassEntry(DefaultClassStore(), EntryOf(library, page)) && ok;
  return ok ? kResultOk : kResultSelfRegClass;
}

std::int32_t UnregisterLibraryClass(const LibraryClass& library) {
  bool ok = UnregisterClassEntry(DefaultClassStore(), EntryOf(library));
  for (const LibraryPage& page : library.pages)
    ok = UnregisterClassEntry(DefaultClassStore(), EntryOf(library, page)) && ok;
  return ok ? kResultOk : kResultSelfRegClass;
}

std::int32_t GetLibraryClassObject(const LibraryClass& library, const char* classId,
                                   const char* interfaceId, void** object) {
  if (object == nullptr) return kResultPointer;
  *object = nullptr;
  const QString id = classId != nullptr ? NormalizeClassId(QString::fromLatin1(classId)) : QString();
  if (id.isEmpty()) return kResultClassNotAvailable;
  if (id == QLatin1String(library.classId)) {
    if (interfaceId == nullptr || std::strcmp(interfaceId, kClassFactoryInterfaceId) != 0)
      return kResultNoInterface;
    *object = library.factory;
    return kResultOk;
  }
  for (const LibraryPage& page : library.pages) {
    if (id != QLatin1String(page.classId)) continue;
    if (interfaceId == nullptr || std::strcmp(interfaceId, kPageFactoryInterfaceId) != 0)
      return kResultNoInterface;
    *object = page.factory;
    return kResultOk;
  }
  return kResultClassNotAvailable;
}

std::int32_t CanUnloadLibrary(const LibraryClass& library) {
  return library.liveInstances() == 0 ? kResultOk : kResultFalse;
}

}  // namespace morvane::automation
