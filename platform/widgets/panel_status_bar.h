#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

namespace morvane::widgets {

class PanelStatusBar;

enum class PanelAutoSize {
  None,      // keeps its width
  Spring,    // shares the room left over with the other springs
  Contents,  // as wide as its text and picture
};

// One keyed panel of a PanelStatusBar. Left and Width are twips, relative to the bar.
class StatusBarPanel {
 public:
  int Index() const { return index_; }  // 1-based
  QString Key() const { return key_; }
  QString Text() const { return text_; }
  void SetText(const QString& text);
  // A picture shown before the text; null for none.
  QPixmap Picture() const { return picture_; }
  void SetPicture(const QPixmap& picture);
  QString Tag() const { return tag_; }
  void SetTag(const QString& tag) { tag_ = tag; }
  QString ToolTip() const { return toolTip_; }
  void SetToolTip(const QString& text) { toolTip_ = text; }
  PanelAutoSize AutoSize() const { return autoSize_; }
  void SetAutoSize(PanelAutoSize a);
  double MinWidth() const { return minWidth_; }
  void SetMinWidth(double twips);
  // The width asked for (a spring or content panel may end wider).
  void SetWidth(double twips);

  double Left() const;
  double Width() const;
  QRect Rect() const { return rect_; }  // pixels, after layout

 private:
  friend class PanelStatusBar;
  StatusBarPanel(PanelStatusBar* bar, int index) : bar_(bar), index_(index) {}
  PanelStatusBar* bar_;
  int index_;
  QString key_;
  QString text_;
  QPixmap picture_;
  QString tag_;
  QString toolTip_;
  PanelAutoSize autoSize_ = PanelAutoSize::None;
  double width_ = 0;
  double minWidth_ = 0;
  QRect rect_;
};

// A status bar of keyed panels, each sunk into the bar, texts shown as plain text.
// Panels follow each other without gaps in Left and Width (the frames leave a small
// one). Over a panel's face the host may lay a progress bar (see OverlayRect).
class PanelStatusBar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count)

 public:
  explicit PanelStatusBar(QWidget* parent = nullptr);
  ~PanelStatusBar() override;

  StatusBarPanel* AddPanel(const QString& key, double widthTwips,
                           PanelAutoSize autoSize = PanelAutoSize::None, const QString& text = {});
  int Count() const { return static_cast<int>(panels_.size()); }
  StatusBarPanel* PanelAt(int index) const;  // 1-based
  StatusBarPanel* Panel(const QString& key) const;

  // A panel's rectangle in the coordinates of the bar's parent, shrunk by inset pixels
  // on each side: where a progress bar covers the panel's face.
  QRect OverlayRect(const StatusBarPanel* panel, int inset = 2) const;

  QSize sizeHint() const override;

 signals:
  void PanelClick(StatusBarPanel* panel);
  // A press on the bar, in twips of the bar.
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
  // The panels were laid out anew (the host moves its progress bars then).
  void PanelsMoved();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class StatusBarPanel;
  void Relayout();
  int ContentWidth(const StatusBarPanel& p) const;
  StatusBarPanel* PanelUnder(QPoint pt) const;
  std::vector<std::unique_ptr<StatusBarPanel>> panels_;
};

}  // namespace morvane::widgets
