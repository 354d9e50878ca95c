#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "platform/widgets/automation/automation_export.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/property_page.h"

namespace morvane::automation {

// The store that registration writes to and creation reads from: keys by path
// ("SOFTWARE\Classes\CLSID\{...}"), each with named text values ("" is the key's
// default value). The program plugs in the machine store; tests use MemoryClassStore.
class MORVANE_AUTOMATION_API ClassStore {
 public:
  virtual ~ClassStore();
  virtual std::optional<QString> ReadValue(const QString& key, const QString& name) const = 0;
  virtual bool WriteValue(const QString& key, const QString& name, const QString& value) = 0;
  // Removes the key and every key below it; true also when there was none.
  virtual bool DeleteKey(const QString& key) = 0;
};

class MORVANE_AUTOMATION_API MemoryClassStore : public ClassStore {
 public:
  std::optional<QString> ReadValue(const QString& key, const QString& name) const override;
  bool WriteValue(const QString& key, const QString& name, const QString& value) override;
  bool DeleteKey(const QString& key) override;

 private:
  std::map<QString, std::map<QString, QString>> keys_;  // lower-cased paths and names
};

// The class keys in the machine store (the registry stand-in, a per-user file), under
// the local machine's root.
class MORVANE_AUTOMATION_API MachineClassStore : public ClassStore {
 public:
  // The user's machine store.
  MachineClassStore();
  // The machine store in `file`.
  explicit MachineClassStore(const QString& file);
  ~MachineClassStore() override;

  std::optional<QString> ReadValue(const QString& key, const QString& name) const override;
  bool WriteValue(const QString& key, const QString& name, const QString& value) override;
  bool DeleteKey(const QString& key) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The store of this process: the one that registration entry points write to and
// registries read by default. Until one is set, the user's machine store.
MORVANE_AUTOMATION_API ClassStore& DefaultClassStore();
// Not owned; nullptr goes back to the user's machine store.
MORVANE_AUTOMATION_API void SetDefaultClassStore(ClassStore* store);

// What registering a class writes: class id, ProgID and the library's absolute path.
struct MORVANE_AUTOMATION_API ClassEntry {
  QString classId;  // "{77D9F396-...}"
  QString progId;   // "ScopelControl.Scopel"
  QString className;
  QString libraryPath;
};
MORVANE_AUTOMATION_API bool RegisterClassEntry(ClassStore& store, const ClassEntry& entry);
MORVANE_AUTOMATION_API bool UnregisterClassEntry(ClassStore& store, const ClassEntry& entry);

// A class id in its one written form: upper case, in braces. Empty for text that is
// not a class id.
MORVANE_AUTOMATION_API QString NormalizeClassId(const QString& text);

// Creates controls by class id or ProgID. The library comes from the store
// (registered by its DllRegisterServer); a class that is not registered is looked for
// in the libraries of the search folders (by default the program's own folder).
// Libraries stay loaded for the life of the process. No version is compared.
class MORVANE_AUTOMATION_API ClassRegistry {
 public:
  explicit ClassRegistry(ClassStore& store = DefaultClassStore());
  ClassRegistry(ClassStore& store, QStringList searchFolders);

  // Raises error 429 when no library makes the class.
  Control* create(const QString& classIdOrProgId, QWidget* parent = nullptr);
  // Makes a property page by class id: one of the hosting layer's standard pages, or
  // a page of a library found as for create. Raises error 429 when none makes it.
  PropertyPage* createPage(const QString& classId, QWidget* parent = nullptr);

  std::optional<QString> ClassIdOfProgId(const QString& progId) const;
  std::optional<QString> LibraryOfClass(const QString& classId) const;
  const QStringList& searchFolders() const { return searchFolders_; }

 private:
  // The class object of the class in the library, asked for the interface; null when
  // the library does not make it.
  void* ClassObjectFrom(const QString& libraryPath, const QString& classId,
                        const char* interfaceId) const;
  void* ClassObjectFromFolders(const QString& classId, const QString& className,
                               const char* interfaceId) const;
  // Through the store, then through the search folders.
  void* FindClassObject(const QString& classId, const QString& className,
                        const char* interfaceId) const;

  ClassStore& store_;
  QStringList searchFolders_;
};

// Entry points that every control library exports as extern "C", and their results.
using DllRegisterServerFn = std::int32_t (*)();
using DllUnregisterServerFn = std::int32_t (*)();
using DllGetClassObjectFn = std::int32_t (*)(const char* classId, const char* interfaceId,
                                             void** object);
using DllCanUnloadNowFn = std::int32_t (*)();

inline constexpr std::int32_t kResultOk = 0;
inline constexpr std::int32_t kResultFalse = 1;
inline constexpr std::int32_t kResultNoInterface = static_cast<std::int32_t>(0x80004002u);
inline constexpr std::int32_t kResultPointer = static_cast<std::int32_t>(0x80004003u);
inline constexpr std::int32_t kResultClassNotAvailable = static_cast<std::int32_t>(0x80040111u);
inline constexpr std::int32_t kResultSelfRegClass = static_cast<std::int32_t>(0x80040201u);
// The interface a class object is asked for: DllGetClassObject hands out a ClassFactory*.
inline constexpr const char* kClassFactoryInterfaceId = "{00000001-0000-0000-C000-000000000046}";

// The absolute path of the shared library that holds `address` (any object of that
// library); empty when it cannot be told.
MORVANE_AUTOMATION_API QString LibraryPathOf(const void* address);

}  // namespace morvane::automation
