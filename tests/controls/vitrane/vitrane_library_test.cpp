// libVitrane.so as a host meets it: registered through its own entry point, created
// by ProgID, reached only by dispatch id.
#include <QLibrary>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/vitrane/vitrane_typelib.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control.h"

namespace morvane::vitrane {
namespace {

QString LibraryPath() { return QStringLiteral(MORVANE_BINARY_DIR "/bin/libVitrane.so"); }

TEST(VitraneLibrary, RegistersAndCreatesByProgId) {
  automation::MemoryClassStore store;
  automation::SetDefaultClassStore(&store);
  QLibrary library(LibraryPath());
  ASSERT_TRUE(library.load()) << library.errorString().toStdString();
  auto registerServer =
      reinterpret_cast<automation::DllRegisterServerFn>(library.resolve("DllRegisterServer"));
  ASSERT_NE(registerServer, nullptr);
  for (const char* entry : {"DllUnregisterServer", "DllGetClassObject", "DllCanUnloadNow"}) {
    EXPECT_NE(library.resolve(entry), nullptr) << entry;
  }
  ASSERT_EQ(registerServer(), automation::kResultOk);

  QWidget form;
  automation::ClassRegistry registry(store, {});
  automation::Control* control = registry.create(QString::fromLatin1(kProgId), &form);
  ASSERT_NE(control, nullptr);
  control->InitProperties();
  EXPECT_EQ(control->get(dispid::MaskColor).value<std::uint32_t>(), 0xffffffu);
  // Every member of the interface answers to its name with its id, in table order.
  const std::pair<const char*, std::int32_t> members[] = {
      {"AutoSize", dispid::AutoSize},
      {"DrawEffect", dispid::DrawEffect},
      {"Enabled", dispid::Enabled},
      {"FillColor", dispid::FillColor},
      {"MaskColor", dispid::MaskColor},
      {"MaskPicture", dispid::MaskPicture},
      {"MouseIcon", dispid::MouseIcon},
      {"MousePointer", dispid::MousePointer},
      {"ParentTitleOffset", dispid::ParentTitleOffset},
      {"ParentTitleY", dispid::ParentTitleY},
      {"Picture", dispid::Picture},
      {"Style", dispid::Style},
      {"TitleLeft", dispid::TitleLeft},
      {"TitleTop", dispid::TitleTop},
      {"TitleWidth", dispid::TitleWidth},
      {"TitleHeight", dispid::TitleHeight},
      {"Controls", dispid::Controls},
      {"hDC", dispid::hDC},
      {"hWnd", dispid::hWnd},
      {"Image", dispid::Image},
      {"Version", dispid::Version},
      {"ParentCaption", dispid::ParentCaption},
      {"AboutBox", dispid::AboutBox},
      {"TitleArea", dispid::TitleArea},
      {"Refresh", dispid::Refresh},
      {"WindowProcSimulation", dispid::WindowProcSimulation}};
  for (const auto& [name, id] : members)
    EXPECT_EQ(control->idOfName(QString::fromLatin1(name)), id) << name;
  // Internal symbols stay inside the library.
  EXPECT_EQ(library.resolve("_ZN7morvane7vitrane15RegionOfPictureERK6QImagej"), nullptr);
  delete control->widget();
  automation::SetDefaultClassStore(nullptr);
}

}  // namespace
}  // namespace morvane::vitrane
