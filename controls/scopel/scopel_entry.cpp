// The library's self-registration entry points, the only symbols it exports.
#include <QWidget>

#include <cstdint>
#include <cstring>

#include "controls/scopel/scopel.h"
#include "controls/scopel/scopel_typelib.h"
#include "platform/widgets/automation/class_registry.h"

namespace {

using morvane::automation::ClassEntry;
using morvane::automation::ClassFactory;
using morvane::automation::Control;

class ScopelFactory : public ClassFactory {
 public:
  Control* CreateInstance(QWidget* parent) override { return new morvane::scopel::Scopel(parent); }
};

ScopelFactory gFactory;
const char gAnchor = 0;  // an object of this library, to find its path

ClassEntry Entry() {
  return {QString::fromLatin1(morvane::scopel::kClassId), QString::fromLatin1(morvane::scopel::kProgId),
          QString::fromLatin1(morvane::scopel::kClassName), morvane::automation::LibraryPathOf(&gAnchor)};
}

}  // namespace

#define SCOPEL_ENTRY extern "C" __attribute__((visibility("default")))

SCOPEL_ENTRY std::int32_t DllRegisterServer() {
  const ClassEntry entry = Entry();
  if (entry.libraryPath.isEmpty()) return morvane::automation::kResultSelfRegClass;
  return morvane::automation::RegisterClassEntry(morvane::automation::DefaultClassStore(), entry)
             ? morvane::automation::kResultOk
             : morvane::automation::kResultSelfRegClass;
}

SCOPEL_ENTRY std::int32_t DllUnregisterServer() {
  return morvane::automation::UnregisterClassEntry(morvane::automation::DefaultClassStore(), Entry())
             ? morvane::automation::kResultOk
             : morvane::automation::kResultSelfRegClass;
}

SCOPEL_ENTRY std::int32_t DllGetClassObject(const char* classId, const char* interfaceId, void** object) {
  if (object == nullptr) return morvane::automation::kResultPointer;
  *object = nullptr;
  if (classId == nullptr ||
      morvane::automation::NormalizeClassId(QString::fromLatin1(classId)) != QLatin1String(morvane::scopel::kClassId)) {
    return morvane::automation::kResultClassNotAvailable;
  }
  if (interfaceId == nullptr || std::strcmp(interfaceId, morvane::automation::kClassFactoryInterfaceId) != 0) {
    return morvane::automation::kResultNoInterface;
  }
  *object = static_cast<ClassFactory*>(&gFactory);
  return morvane::automation::kResultOk;
}

SCOPEL_ENTRY std::int32_t DllCanUnloadNow() {
  return morvane::scopel::Scopel::LiveInstances() == 0 ? morvane::automation::kResultOk
                                                       : morvane::automation::kResultFalse;
}
