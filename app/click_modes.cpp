#include "app/click_modes.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include "platform/widgets/automation/control_events.h"

namespace morvane::app {

const char* CursorKey(CursorPicture picture) {
  switch (picture) {
    case CursorPicture::Point1: return "Point1";
    case CursorPicture::Point2: return "Point2";
    case CursorPicture::Merge1: return "Merge1";
    case CursorPicture::Merge2: return "Merge2";
    case CursorPicture::Zoom: return "Zoom";
    case CursorPicture::Start: return "Start";
    case CursorPicture::Dropper: return "Dropper";
    case CursorPicture::None: break;
  }
  return "";
}

ModeCursor ArmedCursor(ClickMode mode) {
  const auto custom = [](CursorPicture p) { return ModeCursor{core::kPointerCustom, p}; };
  switch (mode) {
    case ClickMode::RectifyFirst: return custom(CursorPicture::Point1);
    case ClickMode::RectifySecond: return custom(CursorPicture::Point2);
    case ClickMode::MergeFirst: return custom(CursorPicture::Merge1);
    case ClickMode::MergeSecond: return custom(CursorPicture::Merge2);
    case ClickMode::Magnifier: return custom(CursorPicture::Zoom);
    case ClickMode::MagnifierOut: return custom(CursorPicture::Zoom);
    case ClickMode::SetBeginning: return {core::kPointerCross, CursorPicture::None};
    case ClickMode::LabelEdit:
    case ClickMode::InsertPoint: return {core::kPointerUpArrow, CursorPicture::None};
    case ClickMode::CreateFromPoint:
    case ClickMode::AddContour: return custom(CursorPicture::Start);
    case ClickMode::Dropper: return custom(CursorPicture::Dropper);
    case ClickMode::None: break;
  }
  return {};
}

ClickStep DecideClick(ClickMode mode, int button, bool zoomedIn) {
  ClickStep step;
  const auto ends = [&step](ClickAction action, bool focusTree) {
    step.action = action;
    step.next = ClickMode::None;
    step.setsCursor = true;
    step.cursor = {};
    step.focusTree = focusTree;
    return step;
  };
  // Zoomed in, the magnifier zooms out with any button.
  if (mode == ClickMode::Magnifier && zoomedIn) return ends(ClickAction::ZoomOut, true);
  if (button != automation::kLeftButton && mode != ClickMode::None)
    return ends(ClickAction::CancelMode, false);
  if (button == automation::kRightButton) {
    step.action = ClickAction::HelpPopup;
    return step;
  }
  const auto picks = [&step](ClickMode next) {
    step.action = ClickAction::PickFirst;
    step.next = next;
    step.setsCursor = true;
    step.cursor = ArmedCursor(next);
    return step;
  };
  const auto stays = [&step](ClickAction action, ClickMode next) {
    step.action = action;
    step.next = next;
    return step;
  };
  switch (mode) {
    case ClickMode::RectifyFirst: return picks(ClickMode::RectifySecond);
    case ClickMode::RectifySecond: return ends(ClickAction::Rectify, true);
    case ClickMode::MergeFirst: return picks(ClickMode::MergeSecond);
    case ClickMode::MergeSecond: return ends(ClickAction::Join, false);
    case ClickMode::Magnifier: return ends(ClickAction::ZoomIn, true);
    case ClickMode::MagnifierOut: return ends(ClickAction::ZoomOut, true);
    case ClickMode::SetBeginning: return ends(ClickAction::SetBeginning, true);
    case ClickMode::LabelEdit: return ends(ClickAction::LabelEdit, false);
    // The new-point box ends the mode.
    case ClickMode::InsertPoint: return stays(ClickAction::InsertPoint, ClickMode::InsertPoint);
    // The run's end sets the default pointer.
    case ClickMode::CreateFromPoint: return stays(ClickAction::CreateFromPoint, ClickMode::None);
    case ClickMode::AddContour: return stays(ClickAction::AddContour, ClickMode::None);
    // Until the colour dialog closes, every press picks again.
    case ClickMode::Dropper: return stays(ClickAction::PickColour, ClickMode::Dropper);
    case ClickMode::None: break;
  }
  return ends(ClickAction::SelectNearest, true);
}

namespace {

void Crosshair(QPainter& p) {
  p.setPen(QPen(Qt::white, 3));
  p.drawLine(16, 2, 16, 30);
  p.drawLine(2, 16, 30, 16);
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(16, 2, 16, 30);
  p.drawLine(2, 16, 30, 16);
}

void Label(QPainter& p, const QString& text, const QRect& box) {
  QFont font;
  font.setPixelSize(11);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) p.drawText(box.translated(dx, dy), Qt::AlignCenter, text);
  }
  p.setPen(Qt::black);
  p.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

QImage CursorImage(CursorPicture picture) {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  switch (picture) {
    case CursorPicture::Point1:
    case CursorPicture::Point2:
      Crosshair(p);
      Label(p, picture == CursorPicture::Point1 ? QStringLiteral("1") : QStringLiteral("2"),
            QRect(19, 19, 12, 12));
      break;
    case CursorPicture::Merge1:
    case CursorPicture::Merge2:
      Crosshair(p);
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPoint(16, 16), 5, 5);
      Label(p, picture == CursorPicture::Merge1 ? QStringLiteral("M1") : QStringLiteral("M2"),
            QRect(17, 19, 15, 12));
      break;
    case CursorPicture::Zoom: {
      // The lens centred on the hot spot, the handle to the lower right.
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(23, 23, 30, 30);
      p.setPen(QPen(Qt::black, 2));
      p.setBrush(QColor(255, 255, 255, 160));
      p.drawEllipse(QPoint(16, 16), 8, 8);
      p.setPen(QPen(Qt::black, 1));
      p.drawLine(12, 16, 20, 16);
      p.drawLine(16, 12, 16, 20);
      break;
    }
    case CursorPicture::Start:
      Crosshair(p);
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(QColor(255, 220, 0));
      p.drawRect(19, 4, 9, 9);
      break;
    case CursorPicture::Dropper: {
      // The pipette's tip on the hot spot, its bulb to the upper right.
      p.setRenderHint(QPainter::Antialiasing);
      QPainterPath glass;
      glass.moveTo(16, 16);
      glass.lineTo(17.5, 11);
      glass.lineTo(25, 3.5);
      glass.lineTo(28.5, 7);
      glass.lineTo(21, 14.5);
      glass.closeSubpath();
      p.setPen(QPen(Qt::black, 1.2));
      p.setBrush(Qt::white);
      p.drawPath(glass);
      p.setBrush(Qt::black);
      p.drawEllipse(QPointF(28, 4), 3, 3);
      break;
    }
    case CursorPicture::None: break;
  }
  return image;
}

}  // namespace morvane::app
