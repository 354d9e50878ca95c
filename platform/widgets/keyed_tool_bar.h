#pragma once

#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

#include <QToolButton>

namespace morvane::widgets {

class KeyedToolBar;

enum class ButtonStyle {
  Default,      // a push button
  Check,        // stays pressed until clicked again
  Separator,    // a gap
  Placeholder,  // room for another control
};

// One button of a KeyedToolBar, found by its key. Its enabled and pressed states are
// its own (the menu's are apart). Geometry is in twips, in the tool bar's coordinates.
class ToolBarButton {
 public:
  int Index() const { return index_; }  // 1-based, in button order
  QString Key() const { return key_; }
  ButtonStyle Style() const { return style_; }
  QString Tag() const { return tag_; }
  void SetTag(const QString& tag) { tag_ = tag; }
  QString ToolTip() const { return toolTip_; }
  void SetToolTip(const QString& text);
  QIcon Image() const { return image_; }
  void SetImage(const QIcon& image);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  // Pressed (a check button held down).
  bool Value() const { return value_; }
  void SetValue(bool pressed);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);
  // Placeholder buttons take this width in twips; others the bar's button width.
  void SetWidth(double twips);

  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;

  QToolButton* Widget() const { return widget_; }

 private:
  friend class KeyedToolBar;
  ToolBarButton(KeyedToolBar* bar, int index) : bar_(bar), index_(index) {}
  void Sync();
  KeyedToolBar* bar_;
  int index_;
  QString key_;
  ButtonStyle style_ = ButtonStyle::Default;
  QString tag_;
  QString toolTip_;
  QIcon image_;
  bool enabled_ = true;
  bool value_ = false;
  bool visible_ = true;
  double placeholderWidth_ = 0;
  QPointer<QToolButton> widget_;
  QRect rect_;  // pixels
};

// A row of buttons addressed by key, in place of the old platform's tool bar.
class KeyedToolBar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count)

 public:
  explicit KeyedToolBar(QWidget* parent = nullptr);
  ~KeyedToolBar() override;

  ToolBarButton* AddButton(const QString& key, const QIcon& image, const QString& toolTip,
                           const QString& tag, ButtonStyle style = ButtonStyle::Default);
  int Count() const { return static_cast<int>(buttons_.size()); }
  // 1-based; null when out of range.
  ToolBarButton* ButtonAt(int index) const;
  // By key (exact); null when none.
  ToolBarButton* Button(const QString& key) const;

  // Size of a button in pixels (icons are drawn inside it).
  void SetButtonSize(QSize pixels);
  QSize ButtonSize() const { return buttonSize_; }

  QSize sizeHint() const override;

 signals:
  void ButtonClick(ToolBarButton* button);
  // A press anywhere on the bar (buttons included), in twips of the bar.
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class ToolBarButton;
  void Relayout();
  std::vector<std::unique_ptr<ToolBarButton>> buttons_;
  QSize buttonSize_{23, 22};
};

}  // namespace morvane::widgets
