#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <utility>
#include <vector>

#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control_library.h"
#include "platform/widgets/automation/handle_table.h"
#include "platform/widgets/automation/property_page.h"

namespace morvane::automation {
namespace {

TEST(ClassRegistry, NormalizesClassIds) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"{77d9f396-9acc-4b5f-a978-cf06b18db6ad}", "{77D9F396-9ACC-4B5F-A978-CF06B18DB6AD}"},
      {"77D9F396-9ACC-4B5F-A978-CF06B18DB6AD", "{77D9F396-9ACC-4B5F-A978-CF06B18DB6AD}"},
      {" {77D9F396-9ACC-4B5F-A978-CF06B18DB6AD} ", "{77D9F396-9ACC-4B5F-A978-CF06B18DB6AD}"},
      {"ScopelControl.Scopel", ""},
      {"{77D9F396-9ACC-4B5F-A978-CF06B18DB6A}", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeClassId(c.in), c.out) << c.in;
}

TEST(ClassRegistry, RegistrationWritesAndRemovesTheClassKeys) {
  MemoryClassStore store;
  const ClassEntry entry{"{77d9f396-9acc-4b5f-a978-cf06b18db6ad}", "ScopelControl.Scopel", "Scopel",
                         "/opt/morvane/libScopel.so"};
  ASSERT_TRUE(RegisterClassEntry(store, entry));
  ClassRegistry registry(store, {});
  EXPECT_EQ(registry.ClassIdOfProgId("scopelcontrol.scopel"), "{77D9F396-9ACC-4B5F-A978-CF06B18DB6AD}");
  EXPECT_EQ(registry.LibraryOfClass("{77D9F396-9ACC-4B5F-A978-CF06B18DB6AD}"),
            "/opt/morvane/libScopel.so");

  store.WriteValue("SOFTWARE\\Classes\\CLSID\\{OTHER}", "", "kept");
  ASSERT_TRUE(UnregisterClassEntry(store, entry));
  EXPECT_FALSE(registry.ClassIdOfProgId("ScopelControl.Scopel").has_value());
  EXPECT_FALSE(registry.LibraryOfClass(entry.classId).has_value());
  EXPECT_EQ(store.ReadValue("SOFTWARE\\Classes\\CLSID\\{OTHER}", ""), "kept");
  EXPECT_FALSE(RegisterClassEntry(store, {"not an id", "", "", "/x.so"}));
}

TEST(ClassRegistry, UnknownClassRaises429) {
  MemoryClassStore store;
  QTemporaryDir empty;
  ClassRegistry registry(store, {empty.path()});
  // Registered, but its library is not there.
  RegisterClassEntry(store, {"{11111111-2222-3333-4444-555555555555}", "Lib.Gone", "Gone",
                             empty.filePath("libGone.so")});
  for (const char* name : {"{11111111-2222-3333-4444-555555555556}", "Lib.Unknown", "Lib.Gone",
                           "{11111111-2222-3333-4444-555555555555}", ""}) {
    try {
      registry.create(name);
      ADD_FAILURE() << name;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), kErrCannotCreateObject) << name;
      EXPECT_EQ(e.source(), name);
    }
  }
}

TEST(ClassRegistry, ALibraryThatIsNoControlGives429) {
  // This hosting layer's own library loads but has no DllGetClassObject; files named
  // like libraries may hold anything. None of them crashes the host.
  const QString notAControl = LibraryPathOf(reinterpret_cast<const void*>(&NormalizeClassId));
  ASSERT_FALSE(notAControl.isEmpty());
  QTemporaryDir folder;
  for (const auto& [name, bytes] :
       std::vector<std::pair<QString, QByteArray>>{{"libJunk.so", "not a library"},
                                                   {"libEmpty.so", {}},
                                                   {"libElf.so", QByteArray("\x7f"
                                                                            "ELF\x02\x01\x01",
                                                                            7)}}) {
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  MemoryClassStore store;
  const QString id = "{11111111-2222-3333-4444-555555555557}";
  struct Case {
    const char* what;
    QString library;  // registered path, empty for none
  };
  for (const Case& c : std::vector<Case>{{"registered, not a control", notAControl},
                                         {"registered, junk", folder.filePath("libJunk.so")},
                                         {"registered, a folder", folder.path()},
                                         {"only in the search folder", {}}}) {
    SCOPED_TRACE(c.what);
    UnregisterClassEntry(store, {id, "", "", ""});
    if (!c.library.isEmpty()) {
      ASSERT_TRUE(RegisterClassEntry(store, {id, "", "Junk", c.library}));
    }
    ClassRegistry registry(store, {folder.path(), QFileInfo(notAControl).absolutePath()});
    try {
      registry.create(id);
      ADD_FAILURE() << "created";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), kErrCannotCreateObject);
    }
  }
}

TEST(HandleTable, IdsAreOpaqueStableAndNeverOutliveTheirObject) {
  auto* first = new QWidget;
  QWidget second;
  const Handle a = HandleTable::HandleOf(first);
  const Handle b = HandleTable::HandleOf(&second);
  EXPECT_NE(a, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(HandleTable::HandleOf(first), a);
  EXPECT_EQ(HandleTable::ObjectOf(a), first);
  delete first;
  EXPECT_EQ(HandleTable::ObjectOf(a), nullptr);
  EXPECT_EQ(HandleTable::AddressOf(a), nullptr);
  EXPECT_EQ(HandleTable::ObjectOf(b), &second);

  const int surface = 0;
  const Handle dc = HandleTable::HandleOf(static_cast<const void*>(&surface));
  EXPECT_EQ(HandleTable::AddressOf(dc), &surface);
  EXPECT_EQ(HandleTable::ObjectOf(dc), nullptr) << "a surface id is not a widget id";
  HandleTable::Release(&surface);
  EXPECT_EQ(HandleTable::AddressOf(dc), nullptr);
  EXPECT_NE(HandleTable::HandleOf(static_cast<const void*>(&surface)), dc) << "ids are not reused";
  EXPECT_EQ(HandleTable::HandleOf(static_cast<QObject*>(nullptr)), 0);
  HandleTable::Release(&surface);
}

}  // namespace
}  // namespace morvane::automation

namespace morvane::automation {
namespace {

TEST(ClassRegistry, MachineStoreKeepsRegistrationsAcrossInstances) {
  QTemporaryDir dir;
  const QString file = dir.filePath("Registry.ini");
  const ClassEntry entry{"{77D9F396-9ACC-4B5F-A978-CF06B18DB6AD}", "ScopelControl.Scopel", "Scopel",
                         "/opt/morvane dir/libScopel.so"};
  {
    MachineClassStore store(file);
    ASSERT_TRUE(RegisterClassEntry(store, entry));
  }
  MachineClassStore again(file);
  ClassRegistry registry(again, {});
  EXPECT_EQ(registry.ClassIdOfProgId("ScopelControl.Scopel"), entry.classId);
  EXPECT_EQ(registry.LibraryOfClass(entry.classId), entry.libraryPath);
  ASSERT_TRUE(UnregisterClassEntry(again, entry));
  EXPECT_FALSE(registry.LibraryOfClass(entry.classId).has_value());
  EXPECT_TRUE(UnregisterClassEntry(again, entry)) << "unregistering twice is no failure";
}

}  // namespace
}  // namespace morvane::automation

namespace morvane::automation {
namespace {

// A library's class with one page, as its entry points see it.
struct FakePage : QWidget, PropertyPage {
  explicit FakePage(QWidget* parent) : QWidget(parent) {}
  QWidget* widget() override { return this; }
  QString caption() const override { return QStringLiteral("Fake"); }
  void SetObjects(const QList<Control*>&) override {}
  void ApplyChanges() override {}
};

struct NoControls : ClassFactory {
  Control* CreateInstance(QWidget*) override { return nullptr; }
};

const char kFakeClass[] = "{0A0A0A0A-0000-4000-8000-000000000001}";
const char kFakePageClass[] = "{0A0A0A0A-0000-4000-8000-000000000002}";

TEST(ControlLibrary, ClassObjectsOfTheControlAndOfItsPages) {
  static NoControls controls;
  static PageFactoryOf<FakePage> pages;
  static const char anchor = 0;
  const LibraryPage pageList[] = {{kFakePageClass, "Fake", &pages}};
  const LibraryClass library{kFakeClass, "Fake.Control", "Fake", &anchor, &controls, [] { return 0; },
                             pageList};
  const struct {
    const char* classId;
    const char* interfaceId;
    std::int32_t result;
    void* object;
  } rows[] = {
      {kFakeClass, kClassFactoryInterfaceId, kResultOk, &controls},
      {"{0a0a0a0a-0000-4000-8000-000000000001}", kClassFactoryInterfaceId, kResultOk, &controls},
      {kFakeClass, kPageFactoryInterfaceId, kResultNoInterface, nullptr},
      {kFakePageClass, kPageFactoryInterfaceId, kResultOk, &pages},
      {kFakePageClass, kClassFactoryInterfaceId, kResultNoInterface, nullptr},
      {"{0A0A0A0A-0000-4000-8000-000000000003}", kPageFactoryInterfaceId, kResultClassNotAvailable, nullptr},
      {"not an id", kClassFactoryInterfaceId, kResultClassNotAvailable, nullptr},
      {nullptr, kClassFactoryInterfaceId, kResultClassNotAvailable, nullptr},
      {kFakePageClass, nullptr, kResultNoInterface, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << (row.classId ? row.classId : "null") << " "
                                      << (row.interfaceId ? row.interfaceId : "null"));
    void* object = &controls;  // overwritten in every case
    EXPECT_EQ(GetLibraryClassObject(library, row.classId, row.interfaceId, &object), row.result);
    EXPECT_EQ(object, row.object);
  }

  // Registering writes the page's class key beside the control's; unregistering
  // removes both.
  MemoryClassStore store;
  SetDefaultClassStore(&store);
  ASSERT_EQ(RegisterLibraryClass(library), kResultOk);
  ClassRegistry registry(store, {});
  EXPECT_EQ(registry.LibraryOfClass(kFakePageClass), LibraryPathOf(&anchor));
  EXPECT_EQ(registry.LibraryOfClass(kFakeClass), LibraryPathOf(&anchor));
  ASSERT_EQ(UnregisterLibraryClass(library), kResultOk);
  EXPECT_FALSE(registry.LibraryOfClass(kFakePageClass).has_value());
  SetDefaultClassStore(nullptr);
}

TEST(ClassRegistry, TheStandardPagesNeedNoLibrary) {
  MemoryClassStore store;
  ClassRegistry registry(store, {});
  QWidget parent;
  const struct {
    const char* id;
    const char* caption;
  } rows[] = {{kStandardColorPageId, "Color"},
              {kStandardPicturePageId, "Picture"},
              {"{1042632c-aded-4961-8423-9f6f0cbe0c83}", "Color"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    PropertyPage* page = registry.createPage(QString::fromLatin1(row.id), &parent);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->caption(), row.caption);
    EXPECT_EQ(page->widget()->parentWidget(), &parent);
    // No control selected: nothing to list, nothing changed.
    page->SetObjects({});
    EXPECT_FALSE(page->Changed());
  }
}

}  // namespace
}  // namespace morvane::automation
