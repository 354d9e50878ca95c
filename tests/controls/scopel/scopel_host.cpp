#include "tests/controls/scopel/scopel_host.h"

#include <QLibrary>

#include <stdexcept>

#include "controls/scopel/scopel_typelib.h"

namespace morvane::scopel::hosting {

namespace {

struct Library {
  automation::MemoryClassStore store;
  QLibrary library;
  automation::DllRegisterServerFn registerServer = nullptr;
  automation::DllUnregisterServerFn unregisterServer = nullptr;
  automation::DllCanUnloadNowFn canUnload = nullptr;
  automation::DllGetClassObjectFn getClassObject = nullptr;

  Library() : library(BinaryFolder() + QStringLiteral("/libScopel.so")) {
    // Registration goes to a store of this test run, never to the user's.
    automation::SetDefaultClassStore(&store);
    if (!library.load()) throw std::runtime_error(library.errorString().toStdString());
    registerServer =
        reinterpret_cast<automation::DllRegisterServerFn>(library.resolve("DllRegisterServer"));
    unregisterServer =
        reinterpret_cast<automation::DllUnregisterServerFn>(library.resolve("DllUnregisterServer"));
    canUnload = reinterpret_cast<automation::DllCanUnloadNowFn>(library.resolve("DllCanUnloadNow"));
    getClassObject =
        reinterpret_cast<automation::DllGetClassObjectFn>(library.resolve("DllGetClassObject"));
  }
};

Library& TheLibrary() {
  static Library library;
  return library;
}

}  // namespace

QString BinaryFolder() { return QStringLiteral(MORVANE_BINARY_DIR "/bin"); }

std::int32_t RegisterScopel() { return TheLibrary().registerServer(); }
std::int32_t UnregisterScopel() { return TheLibrary().unregisterServer(); }
std::int32_t CanUnloadScopel() { return TheLibrary().canUnload(); }
std::int32_t GetScopelClassObject(const char* classId, const char* interfaceId, void** object) {
  return TheLibrary().getClassObject(classId, interfaceId, object);
}

ScopelHost::ScopelHost(QSize size, const automation::PropertyBag* bag, const QString& classIdOrProgId)
    : site_(QStringLiteral("ucScopel"), &form_) {
  TheLibrary();
  form_.setObjectName(QStringLiteral("fwTest"));
  form_.resize(size);
  automation::ClassRegistry registry(automation::DefaultClassStore(), {});
  control_ = registry.create(classIdOrProgId.isEmpty() ? QString::fromLatin1(kClassId) : classIdOrProgId,
                             &form_);
  control_->widget()->setObjectName(QStringLiteral("ucScopel"));
  site_.setChangedHandler([this](const QString& p) { changed << p; });
  site_.setHelpContextId(4711);
  control_->setSite(&site_);
  if (bag != nullptr) {
    control_->ReadProperties(*bag);
  } else {
    control_->InitProperties();
  }
  cookie_ = control_->events().advise(this);
  control_->widget()->setGeometry(0, 0, size.width(), size.height());
  form_.show();
}

ScopelHost::~ScopelHost() {
  control_->events().unadvise(cookie_);
  delete control_->widget();
}

QWidget* ScopelHost::part(const char* name) const {
  return control_->widget()->findChild<QWidget*>(QString::fromLatin1(name));
}

QVariant ScopelHost::Get(automation::DispId id) { return control_->get(id); }
void ScopelHost::Put(automation::DispId id, const QVariant& value) { control_->put(id, value); }
void ScopelHost::PutRef(automation::DispId id, const QVariant& value) { control_->putRef(id, value); }
QVariant ScopelHost::Call(automation::DispId id, QVariantList args) {
  return control_->call(id, std::move(args));
}

void ScopelHost::onEvent(automation::DispId id, QVariantList& args) {
  if (handler) handler(id, args);
  events.push_back({id, args});
}

}  // namespace morvane::scopel::hosting
