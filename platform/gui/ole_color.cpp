#include "platform/gui/ole_color.h"

#include <QGuiApplication>
#include <QPalette>

namespace morvane::gui {

QRgb PaletteSystemColor(int index) {
  const QPalette pal = QGuiApplication::palette();
  auto role = [&pal](QPalette::ColorRole r, QPalette::ColorGroup g = QPalette::Active) {
    return pal.color(g, r).rgb() | 0xff000000u;
  };
  switch (index) {
    case kColorScrollBar: return role(QPalette::Button);
    case kColorDesktop: return role(QPalette::Dark);
    case kColorActiveCaption:
    case kColorGradientActiveCaption:
    case kColorHighlight:
    case kColorMenuHighlight: return role(QPalette::Highlight);
    case kColorInactiveCaption:
    case kColorGradientInactiveCaption: return role(QPalette::Highlight, QPalette::Inactive);
    case kColorMenu:
    case kColorMenuBar:
    case kColorActiveBorder:
    case kColorInactiveBorder: return role(QPalette::Window);
    case kColorWindow: return role(QPalette::Base);
    case kColorWindowFrame: return role(QPalette::Shadow);
    case kColorMenuText:
    case kColorWindowText: return role(QPalette::WindowText);
    case kColorCaptionText:
    case kColorHighlightText: return role(QPalette::HighlightedText);
    case kColorAppWorkspace: return role(QPalette::Mid);
    case kColorButtonFace: return role(QPalette::Button);
    case kColorButtonShadow: return role(QPalette::Dark);
    case kColorGrayText: return role(QPalette::Text, QPalette::Disabled);
    case kColorButtonText: return role(QPalette::ButtonText);
    case kColorInactiveCaptionText: return role(QPalette::HighlightedText, QPalette::Inactive);
    case kColorButtonHighlight: return role(QPalette::Light);
    case kColor3DDarkShadow: return role(QPalette::Shadow);
    case kColor3DLight: return role(QPalette::Midlight);
    case kColorInfoText: return role(QPalette::ToolTipText);
    case kColorInfoBackground: return role(QPalette::ToolTipBase);
    case kColorHotLight: return role(QPalette::Link);
    default: return 0xff000000u;
  }
}

QRgb ResolveColor(OleColor c, const SystemColorResolver& resolver) {
  if (!IsSystemColor(c)) return OleToRgb(c & 0xffffffu);
  const int index = static_cast<int>(c & 0xffu);
  return (resolver ? resolver(index) : PaletteSystemColor(index)) | 0xff000000u;
}

}  // namespace morvane::gui
