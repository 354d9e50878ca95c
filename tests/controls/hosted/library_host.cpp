#include "tests/controls/hosted/library_host.h"

#include <QApplication>
#include <QLibrary>

#include <algorithm>
#include <stdexcept>

namespace morvane::testing {

namespace {

struct Libraries {
  automation::MemoryClassStore store;
  automation::ClassRegistry registry{store, {}};

  Libraries() {
    // The entry points write to the process's default store; it is the test's for
    // the moment of registering.
    automation::SetDefaultClassStore(&store);
    for (const char* file : {"libTrellan.so", "libVitrane.so"}) {
      QLibrary library(QStringLiteral(MORVANE_BINARY_DIR "/bin/") + QLatin1String(file));
      if (!library.load()) throw std::runtime_error(library.errorString().toStdString());
      auto registerServer =
          reinterpret_cast<automation::DllRegisterServerFn>(library.resolve("DllRegisterServer"));
      if (registerServer == nullptr || registerServer() != automation::kResultOk)
        throw std::runtime_error(std::string("cannot register ") + file);
    }
    automation::SetDefaultClassStore(nullptr);
  }
};

}  // namespace

automation::ClassRegistry& LibraryRegistry() {
  static Libraries libraries;
  return libraries.registry;
}

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

LibraryHost::LibraryHost(const char* classId, const QString& name, QSize formSize)
    : site_(name) {
  site_.setContainer(&form_);
  form_.setObjectName(QStringLiteral("fwTest"));
  form_.resize(formSize);
  control_ = LibraryRegistry().create(QString::fromLatin1(classId), &form_);
  control_->widget()->setObjectName(name);
  control_->setSite(&site_);
  cookie_ = control_->events().advise(this);
}

LibraryHost::~LibraryHost() { control_->events().unadvise(cookie_); }

void LibraryHost::PutInto(QWidget* container) {
  widget()->setParent(container);
  site_.setContainer(container);
  widget()->show();
}

void LibraryHost::onEvent(automation::DispId id, QVariantList& args) { events.push_back({id, args}); }

int LibraryHost::Count(automation::DispId id) const {
  return static_cast<int>(
      std::count_if(events.begin(), events.end(), [id](const Event& e) { return e.id == id; }));
}

}  // namespace morvane::testing
