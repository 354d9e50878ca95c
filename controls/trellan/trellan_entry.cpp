// The library's self-registration entry points, the only symbols it exports. The
// library makes the control and its Controls property page.
#include "controls/trellan/trellan.h"
#include "controls/trellan/trellan_page.h"
#include "controls/trellan/trellan_typelib.h"
#include "platform/widgets/automation/control_library.h"

namespace {

::morvane::automation::PageFactoryOf<::morvane::trellan::ControlsPage> gControlsPageFactory;
const ::morvane::automation::LibraryPage kLibraryPages[] = {
    {::morvane::trellan::kControlsPageClassId, "Controls", &gControlsPageFactory}};

}  // namespace

MORVANE_CONTROL_LIBRARY_WITH_PAGES(morvane::trellan::Trellan, morvane::trellan, kLibraryPages)
