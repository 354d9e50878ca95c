#include "platform/widgets/automation/class_registry.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QRegularExpression>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/core/machine_store.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/inprocess_classes.h"
#include "platform/widgets/automation/standard_pages.h"

namespace morvane::automation {

ClassStore::~ClassStore() = default;

std::optional<QString> MemoryClassStore::ReadValue(const QString& key, const QString& name) const {
  const auto k = keys_.find(key.toLower());
  if (k == keys_.end()) return std::nullopt;
  const auto v = k->second.find(name.toLower());
  if (v == k->second.end()) return std::nullopt;
  return v->second;
}

bool MemoryClassStore::WriteValue(const QString& key, const QString& name, const QString& value) {
  keys_[key.toLower()][name.toLower()] = value;
  return true;
}

bool MemoryClassStore::DeleteKey(const QString& key) {
  const QString path = key.toLower();
  const QString below = path + QLatin1Char('\\');
  std::erase_if(keys_,
                [&](const auto& entry) { return entry.first == path || entry.first.startsWith(below); });
  return true;
}

namespace {

ClassStore*& CurrentStore() {
  static ClassStore* store = nullptr;
  return store;
}

const QString kClassesRoot = QStringLiteral("SOFTWARE\\Classes\\");

QString ClassKey(const QString& classId) { return kClassesRoot + QStringLiteral("CLSID\\") + classId; }

}  // namespace

struct MachineClassStore::Impl {
  core::MachineStore own{std::string()};
  core::MachineStore* store = nullptr;
};

MachineClassStore::MachineClassStore() : impl_(std::make_unique<Impl>()) {
  impl_->store = &core::MachineStore::Default();
}

MachineClassStore::MachineClassStore(const QString& file) : impl_(std::make_unique<Impl>()) {
  impl_->own = core::MachineStore(file.toStdString());
  impl_->store = &impl_->own;
}

MachineClassStore::~MachineClassStore() = default;

std::optional<QString> MachineClassStore::ReadValue(const QString& key, const QString& name) const {
  const std::optional<core::StoredValue> value =
      impl_->store->ReadValue(core::RegistryRoot::kLocalMachine, key.toStdString(), name.toStdString());
  if (!value || (value->type != core::kRegSz && value->type != core::kRegExpandSz)) return std::nullopt;
  std::string text(value->bytes.begin(), value->bytes.end());
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return QString::fromStdString(text);
}

bool MachineClassStore::WriteValue(const QString& key, const QString& name, const QString& value) {
  core::StoredValue stored;
  stored.type = core::kRegSz;
  const QByteArray utf8 = value.toUtf8();
  stored.bytes.assign(utf8.begin(), utf8.end());
  stored.bytes.push_back(0);
  return impl_->store->WriteValue(core::RegistryRoot::kLocalMachine, key.toStdString(),
                                  name.toStdString(), stored);
}

bool MachineClassStore::DeleteKey(const QString& key) {
  return impl_->store->DeleteKey(core::RegistryRoot::kLocalMachine, key.toStdString());
}

ClassStore& DefaultClassStore() {
  static MachineClassStore machine;
  return CurrentStore() != nullptr ? *CurrentStore() : machine;
}

void SetDefaultClassStore(ClassStore* store) { CurrentStore() = store; }

QString NormalizeClassId(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral(
      "^\\{?([0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})\\}?$"));
  const QRegularExpressionMatch match = pattern.match(text.trimmed());
  if (!match.hasMatch()) return {};
  return QLatin1Char('{') + match.captured(1).toUpper() + QLatin1Char('}');
}

bool RegisterClassEntry(ClassStore& store, const ClassEntry& entry) {
  const QString classId = NormalizeClassId(entry.classId);
  if (classId.isEmpty() || entry.libraryPath.isEmpty()) return false;
  const QString key = ClassKey(classId);
  bool ok = store.WriteValue(key, QString(), entry.className);
  ok = store.WriteValue(key + QStringLiteral("\\InprocServer32"), QString(), entry.libraryPath) && ok;
  if (!entry.progId.isEmpty()) {
    ok = store.WriteValue(key + QStringLiteral("\\ProgID"), QString(), entry.progId) && ok;
    ok = store.WriteValue(kClassesRoot + entry.progId, QString(), entry.className) && ok;
    ok = store.WriteValue(kClassesRoot + entry.progId + QStringLiteral("\\CLSID"), QString(), classId) &&
         ok;
  }
  return ok;
}

bool UnregisterClassEntry(ClassStore& store, const ClassEntry& entry) {
  const QString classId = NormalizeClassId(entry.classId);
  if (classId.isEmpty()) return false;
  bool ok = store.DeleteKey(ClassKey(classId));
  if (!entry.progId.isEmpty()) ok = store.DeleteKey(kClassesRoot + entry.progId) && ok;
  return ok;
}

QString LibraryPathOf(const void* address) {
  Dl_info info{};
  if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

ClassRegistry::ClassRegistry(ClassStore& store)
    : ClassRegistry(store, QStringList{QCoreApplication::applicationDirPath()}) {}

ClassRegistry::ClassRegistry(ClassStore& store, QStringList searchFolders)
    : store_(store), searchFolders_(std::move(searchFolders)) {}

std::optional<QString> ClassRegistry::ClassIdOfProgId(const QString& progId) const {
  const std::optional<QString> id =
      store_.ReadValue(kClassesRoot + progId + QStringLiteral("\\CLSID"), QString());
  if (!id) return std::nullopt;
  const QString normal = NormalizeClassId(*id);
  if (normal.isEmpty()) return std::nullopt;
  return normal;
}

std::optional<QString> ClassRegistry::LibraryOfClass(const QString& classId) const {
  return store_.ReadValue(ClassKey(NormalizeClassId(classId)) + QStringLiteral("\\InprocServer32"),
                          QString());
}

namespace {

// Loaded libraries stay loaded: instances and their code may live until the end. Each
// is loaded once, however many controls it makes.
std::map<QString, std::unique_ptr<QLibrary>>& LoadedLibraries() {
  static std::map<QString, std::unique_ptr<QLibrary>> libraries;
  return libraries;
}

DllGetClassObjectFn EntryOf(const QString& path) {
  auto& loaded = LoadedLibraries();
  if (auto known = loaded.find(path); known != loaded.end()) {
    return reinterpret_cast<DllGetClassObjectFn>(known->second->resolve("DllGetClassObject"));
  }
  auto library = std::make_unique<QLibrary>(path);
  if (!library->load()) return nullptr;
  auto entry = reinterpret_cast<DllGetClassObjectFn>(library->resolve("DllGetClassObject"));
  if (entry != nullptr) {
    loaded.emplace(path, std::move(library));
  }
  // A library without the entry point is left loaded by the system's reference count
  // only as long as others hold it; QLibrary's destructor does not unload.
  return entry;
}

void* AskForClassObject(DllGetClassObjectFn entry, const QString& classId, const char* interfaceId) {
  void* object = nullptr;
  const QByteArray id = classId.toLatin1();
  if (entry(id.constData(), interfaceId, &object) != kResultOk) return nullptr;
  return object;
}

}  // namespace

void* ClassRegistry::ClassObjectFrom(const QString& libraryPath, const QString& classId,
                                     const char* interfaceId) const {
  const DllGetClassObjectFn entry = EntryOf(libraryPath);
  return entry != nullptr ? AskForClassObject(entry, classId, interfaceId) : nullptr;
}

void* ClassRegistry::ClassObjectFromFolders(const QString& classId, const QString& className,
                                            const char* interfaceId) const {
  for (const QString& folder : searchFolders_) {
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) continue;
    // The library named after the class first, then every other library there.
    QStringList candidates;
    if (!className.isEmpty()) candidates << dir.filePath(QStringLiteral("lib%1.so").arg(className));
    for (const QString& file : dir.entryList({QStringLiteral("lib*.so")}, QDir::Files, QDir::Name)) {
      const QString path = dir.filePath(file);
      if (!candidates.contains(path)) candidates << path;
    }
    for (const QString& path : candidates) {
      if (!QFileInfo::exists(path)) continue;
      if (void* object = ClassObjectFrom(path, classId, interfaceId)) return object;
    }
  }
  return nullptr;
}

void* ClassRegistry::FindClassObject(const QString& classId, const QString& className,
                                     const char* interfaceId) const {
  void* object = nullptr;
  if (const std::optional<QString> path = LibraryOfClass(classId))
    object = ClassObjectFrom(*path, classId, interfaceId);
  if (object == nullptr) object = ClassObjectFromFolders(classId, className, interfaceId);
  return object;
}

Control* ClassRegistry::create(const QString& classIdOrProgId, QWidget* parent) {
  // Classes built into the program need no library.
  if (ClassFactory* builtIn = InProcessFactory(classIdOrProgId)) {
    if (Control* control = builtIn->CreateInstance(parent)) return control;
  }
  QString classId = NormalizeClassId(classIdOrProgId);
  QString className;
  if (classId.isEmpty()) {
    // A ProgID: "Library.Class".
    className = classIdOrProgId.section(QLatin1Char('.'), -1);
    classId = ClassIdOfProgId(classIdOrProgId).value_or(QString());
  }
  auto* factory = classId.isEmpty()
                      ? nullptr
                      : static_cast<ClassFactory*>(FindClassObject(classId, className, kClassFactoryInterfaceId));
  Control* control = factory != nullptr ? factory->CreateInstance(parent) : nullptr;
  if (control == nullptr) {
    throw AutomationError(kErrCannotCreateObject, {}, classIdOrProgId);
  }
  return control;
}

PropertyPage* ClassRegistry::createPage(const QString& classId, QWidget* parent) {
  const QString id = NormalizeClassId(classId);
  PageFactory* factory = StandardPageFactory(id);
  if (factory == nullptr && !id.isEmpty())
    factory = static_cast<PageFactory*>(FindClassObject(id, QString(), kPageFactoryInterfaceId));
  PropertyPage* page = factory != nullptr ? factory->CreatePage(parent) : nullptr;
  if (page == nullptr) throw AutomationError(kErrCannotCreateObject, {}, classId);
  return page;
}

}  // namespace morvane::automation
