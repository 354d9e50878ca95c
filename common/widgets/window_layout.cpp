#include "common/widgets/window_layout.h"

#include "common/currency.h"
#include "common/settings_store.h"
#include "common/value_helpers.h"
#include "common/widgets/control_helpers.h"
#include "platform/core/units.h"
#include "platform/widgets/band_bar.h"
#include "platform/widgets/keyed_tool_bar.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <vector>

namespace morvane::common {

namespace {

constexpr std::int32_t kTpp = core::kTwipsPerPixel;

std::int32_t StateOf(const QWidget& form) {
  const Qt::WindowStates s = form.windowState();
  if (s & Qt::WindowMinimized) return 1;
  if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) return 2;
  return 0;
}

void SetState(QWidget& form, std::int32_t state) {
  Qt::WindowStates s =
      form.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
  if (state == 1) s |= Qt::WindowMinimized;
  if (state == 2) s |= Qt::WindowMaximized;
  form.setWindowState(s);
}

std::string FormSection(const QWidget& form, std::string_view section) {
  return section.empty() ? form.objectName().toStdString() + "_State" : std::string(section);
}

// Pixels of a twips length, truncated toward zero as the settings keep them.
std::int32_t StoredPixels(std::int32_t twips) { return twips / kTpp; }

std::int32_t TwipsOfStored(const Currency& pixels) {
  return core::RoundToInt32(pixels.ToDouble() * kTpp);
}

bool OnSomeScreen(const QRect& r) {
  for (const QScreen* s : QGuiApplication::screens()) {
    if (s->geometry().intersects(r)) return true;
  }
  return false;
}

// The leading number of one character of a buttons text ("1" shown, "0" hidden).
int DigitValue(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

}  // namespace

void RestoreFormPlacement(QWidget& form, FormPlacement& placement, const std::string& file,
                          std::string_view section) {
  RestoreFormPlacement(form, placement, SettingsSession(file), section);
}

void RestoreFormPlacement(QWidget& form, FormPlacement& placement, const SettingsSession& session,
                          std::string_view section) {
  ReadFormPlacement(form, placement, session, section);
  SetState(form, placement.State);
}

void ReadFormPlacement(const QWidget& form, FormPlacement& placement, const SettingsSession& session,
                       std::string_view section) {
  const std::string sec = FormSection(form, section);
  placement.Left = TwipsOfStored(session.ReadIniNumber(sec, "Left", 0));
  placement.Top = TwipsOfStored(session.ReadIniNumber(sec, "Top", 0));
  placement.Width = TwipsOfStored(session.ReadIniNumber(sec, "Width", form.width()));
  placement.Height = TwipsOfStored(session.ReadIniNumber(sec, "Height", form.height()));
  const std::int32_t current = StateOf(form);
  const std::int32_t stored = session.ReadIniNumber(sec, "State", current).ToInt32();
  placement.State = stored >= 0 && stored <= 2 ? stored : current;
  const QRect bounds(core::TwipsToPixels(placement.Left), core::TwipsToPixels(placement.Top),
                     std::max(core::TwipsToPixels(placement.Width), 1),
                     std::max(core::TwipsToPixels(placement.Height), 1));
  placement.PlaceByWindowManager = !QGuiApplication::screens().isEmpty() && !OnSomeScreen(bounds);
}

void SaveFormPlacement(const QWidget& form, FormPlacement& placement, const std::string& file,
                       std::string_view section) {
  SettingsSession session(file);
  SaveFormPlacement(form, placement, session, section);
  session.Commit();
}

void SaveFormPlacement(const QWidget& form, FormPlacement& placement, SettingsSession& session,
                       std::string_view section) {
  if (StateOf(form) == 0) {
    placement.Left = form.pos().x() * kTpp;
    placement.Top = form.pos().y() * kTpp;
    placement.Width = form.width() * kTpp;
    placement.Height = form.height() * kTpp;
  }
  const std::string sec = FormSection(form, section);
  session.WriteIniNumber(sec, "State", placement.State);
  session.WriteIniNumber(sec, "Left", StoredPixels(placement.Left));
  session.WriteIniNumber(sec, "Top", StoredPixels(placement.Top));
  session.WriteIniNumber(sec, "Width", StoredPixels(placement.Width));
  session.WriteIniNumber(sec, "Height", StoredPixels(placement.Height));
}

void MoveToPlacement(QWidget& form, const FormPlacement& placement) {
  // A size no screen can show comes from a damaged file: it is cut to the desktop (a
  // window of millions of pixels would take gigabytes to paint), and one of 0 or less
  // keeps the form's own.
  QSize size(core::TwipsToPixels(placement.Width), core::TwipsToPixels(placement.Height));
  if (size.width() <= 0) size.setWidth(form.width());
  if (size.height() <= 0) size.setHeight(form.height());
  QRect desktop;
  for (const QScreen* s : QGuiApplication::screens()) desktop |= s->availableGeometry();
  if (!desktop.isEmpty()) size = size.boundedTo(desktop.size());
  if (!placement.PlaceByWindowManager) {
    form.move(core::TwipsToPixels(placement.Left), core::TwipsToPixels(placement.Top));
  }
  form.resize(size);
}

void SaveCoolBarLayout(const std::string& file, QObject* coolBar, std::string_view section) {
  SettingsSession session(file);
  SaveCoolBarLayout(session, coolBar, section);
  session.Commit();
}

void SaveCoolBarLayout(SettingsSession& session, QObject* coolBar, std::string_view section) {
  auto* bar = qobject_cast<widgets::BandBar*>(coolBar);
  if (!bar) return;
  const std::string sec = section.empty() ? bar->objectName().toStdString() : std::string(section);
  for (int i = 1; i <= bar->Count(); ++i) {
    const widgets::Band* band = bar->BandAt(i);
    const std::string n = std::to_string(band->Position());
    session.WriteIniNumber(sec, n + "_NewRow", BoolToInt(band->NewRow()));
    session.WriteIniNumber(sec, n + "_Visible", BoolToInt(band->Visible()));
    session.WriteIniNumber(sec, n + "_Width", Currency::FromDouble(band->Width() / kTpp).value_or(0));
    const QWidget* child = band->Child();
    std::string name;
    std::int32_t index = -1;
    if (child && HasName(child)) {
      name = child->objectName().toStdString();
      if (IsArrayMember(child)) index = child->property("Index").toInt();
    }
    session.WriteIniString(sec, n + "_Name", name);
    session.WriteIniNumber(sec, n + "_Index", index);
    if (const auto* tools = qobject_cast<const widgets::KeyedToolBar*>(child)) {
      std::string shown;
      for (int j = 1; j <= tools->Count(); ++j) shown += tools->ButtonAt(j)->Visible() ? '1' : '0';
      session.WriteIniString(sec, n + "_Buttons", shown);
    }
    // The key travels with the band's control, so a band found by key after a
    // reorder is the one that holds that control.
    session.WriteIniString(sec, n + "_Key", band->Key().toStdString());
  }
}

void RestoreCoolBarLayout(const std::string& file, QObject* coolBar, std::string_view section,
                          bool skipButtons) {
  RestoreCoolBarLayout(SettingsSession(file), coolBar, section, skipButtons);
}

void RestoreCoolBarLayout(const SettingsSession& session, QObject* coolBar, std::string_view section,
                          bool skipButtons) {
  auto* bar = qobject_cast<widgets::BandBar*>(coolBar);
  if (!bar) return;
  const std::string sec = section.empty() ? bar->objectName().toStdString() : std::string(section);
  // A layout only moves the bar's own controls between its bands: a name of any other
  // control (the tree, the zoom view, the status bar) is ignored like an unknown one.
  std::vector<QWidget*> held;
  for (int i = 1; i <= bar->Count(); ++i) {
    if (QWidget* child = bar->BandAt(i)->Child()) held.push_back(child);
  }
  for (int i = 1; i <= bar->Count(); ++i) {
    widgets::Band* band = bar->BandAt(i);
    const std::string n = std::to_string(i);

    const QString key =
        QString::fromStdString(session.ReadIniString(sec, n + "_Key", band->Key().toStdString()));
    if (!key.isEmpty()) {
      if (widgets::Band* holder = bar->FindBand(key)) holder->SetKey(QString());
      band->SetKey(key);
    }
    if (i >= 2)
      band->SetNewRow(session.ReadIniNumber(sec, n + "_NewRow", BoolToInt(band->NewRow())) == 1);
    band->SetVisible(session.ReadIniNumber(sec, n + "_Visible", BoolToInt(band->Visible())) == 1);
    const std::int32_t defaultWidth = core::RoundToInt32(band->Width()) / kTpp;
    band->SetWidth(session.ReadIniNumber(sec, n + "_Width", defaultWidth).ToDouble() * kTpp);

    const std::string name = session.ReadIniString(sec, n + "_Name");
    if (name.empty()) continue;
    const std::int32_t index = session.ReadIniNumber(sec, n + "_Index", 0).ToInt32();
    QWidget* found = nullptr;
    for (QWidget* w : held) {
      if (!HasName(w) || w->objectName().toStdString() != name) continue;
      const int wIndex = IsArrayMember(w) ? w->property("Index").toInt() : -1;
      if (wIndex == index) {
        found = w;
        break;
      }
    }
    if (!found) continue;
    band->SetChild(found);

    auto* tools = qobject_cast<widgets::KeyedToolBar*>(found);
    if (skipButtons || !tools) continue;
    std::string current;
    for (int j = 1; j <= tools->Count(); ++j) current += tools->ButtonAt(j)->Visible() ? '1' : '0';
    const std::string shown = session.ReadIniString(sec, n + "_Buttons", current);
    for (int j = 1; j <= tools->Count(); ++j) {
      widgets::ToolBarButton* b = tools->ButtonAt(j);
      if (b->Tag() == QLatin1String("-")) {
        b->SetVisible(false);
      } else if (static_cast<std::size_t>(j) <= shown.size()) {
        b->SetVisible(DigitValue(shown[static_cast<std::size_t>(j) - 1]) > 0);
      } else {
        b->SetVisible(true);
      }
    }
  }
}

}  // namespace morvane::common
