#include "platform/gui/ole_color.h"

#include <QGuiApplication>
#include <QPalette>

namespace morvane::gui {

std::optional<std::uint32_t> PaletteSystemColor(int index) {
  using core::SystemColor;
  const QPalette pal = QGuiApplication::palette();
  auto role = [&pal](QPalette::ColorRole r, QPalette::ColorGroup g = QPalette::Active) {
    return std::optional<std::uint32_t>(pal.color(g, r).rgb() & 0xffffffu);
  };
  switch (static_cast<SystemColor>(index)) {
    case SystemColor::kScrollBars: return role(QPalette::Button);
    case SystemColor::kDesktop: return role(QPalette::Dark);
    case SystemColor::kActiveTitleBar:
    case SystemColor::kGradientActiveCaption:
    case SystemColor::kHighlight:
    case SystemColor::kMenuHighlight: return role(QPalette::Highlight);
    case SystemColor::kInactiveTitleBar:
    case SystemColor::kGradientInactiveCaption: return role(QPalette::Highlight, QPalette::Inactive);
    case SystemColor::kMenuBar:
    case SystemColor::kMenuBarBackground:
    case SystemColor::kActiveBorder:
    case SystemColor::kInactiveBorder: return role(QPalette::Window);
    case SystemColor::kWindowBackground: return role(QPalette::Base);
    case SystemColor::kWindowFrame: return role(QPalette::Shadow);
    case SystemColor::kMenuText:
    case SystemColor::kWindowText: return role(QPalette::WindowText);
    case SystemColor::kTitleBarText:
    case SystemColor::kHighlightText: return role(QPalette::HighlightedText);
    case SystemColor::kApplicationWorkspace: return role(QPalette::Mid);
    case SystemColor::kButtonFace: return role(QPalette::Button);
    case SystemColor::kButtonShadow: return role(QPalette::Dark);
    case SystemColor::kGrayText: return role(QPalette::Text, QPalette::Disabled);
    case SystemColor::kButtonText: return role(QPalette::ButtonText);
    case SystemColor::kInactiveCaptionText: return role(QPalette::HighlightedText, QPalette::Inactive);
    case SystemColor::kButtonHighlight: return role(QPalette::Light);
    case SystemColor::k3DDarkShadow: return role(QPalette::Shadow);
    case SystemColor::k3DLight: return role(QPalette::Midlight);
    case SystemColor::kInfoText: return role(QPalette::ToolTipText);
    case SystemColor::kInfoBackground: return role(QPalette::ToolTipBase);
    case SystemColor::kHotLight: return role(QPalette::Link);
  }
  return std::nullopt;
}

QRgb ResolveColor(OleColor c, const core::SystemColorResolver* resolver) {
  static const PaletteSystemColors palette;
  const std::optional<std::uint32_t> rgb = core::ResolveColor(c, resolver ? *resolver : palette);
  return 0xff000000u | rgb.value_or(0);
}

}  // namespace morvane::gui
