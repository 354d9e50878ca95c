#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

namespace morvane::widgets {

class BandBar;

// One band of a BandBar: a grip and a child control. Lengths are twips (the form's
// unit); the bar lays them out in pixels.
class Band {
 public:
  // 1 = the first band of the design; fixed for the band's life.
  int Index() const { return index_; }
  // 1 = the first band in the bar's current order.
  int Position() const;

  QString Key() const { return key_; }
  void SetKey(const QString& key) { key_ = key; }
  // The control shown in the band (null for none). A control that sat in another band
  // leaves that band empty.
  QWidget* Child() const { return child_; }
  void SetChild(QWidget* child);
  double MinHeight() const { return minHeight_; }
  void SetMinHeight(double twips);
  double Width() const { return width_; }
  void SetWidth(double twips);
  bool NewRow() const { return newRow_; }
  void SetNewRow(bool on);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);

 private:
  friend class BandBar;
  Band(BandBar* bar, int index) : bar_(bar), index_(index) {}
  BandBar* bar_;
  int index_;
  QString key_;
  QPointer<QWidget> child_;
  double minHeight_ = 0;
  double width_ = 0;
  bool newRow_ = false;
  bool visible_ = true;
};

// Rows of movable bands, standing in for a cool bar. All rows share one height, the
// tallest visible band's minimum. The last band of a row takes the rest of the row.
// Dragging a band's grip onto a band of another row moves it next to that band (before
// it when dropped on its left half), below the last row opens a new row, and along its
// own row changes the width of the band to its left.
class BandBar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count)

 public:
  explicit BandBar(QWidget* parent = nullptr);
  ~BandBar() override;

  Band* AddBand(const QString& key, QWidget* child, double minHeightTwips, double widthTwips,
                bool newRow);
  int Count() const { return static_cast<int>(bands_.size()); }
  // By design index, 1-based; null when out of range.
  Band* BandAt(int index) const;
  // By current position, 1-based; null when out of range.
  Band* BandAtPosition(int position) const;
  // The first band (in index order) with the key; null when none.
  Band* FindBand(const QString& key) const;
  // Puts the band at a position (1-based) of the current order.
  void MoveBand(Band* band, int position);

  // The band rectangle in pixels (empty for a hidden band), after layout.
  QRect BandRect(const Band* band) const;
  static constexpr int kGripWidth = 10;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The layout changed (order, rows, widths, visibility, height).
  void Changed();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  friend class Band;
  struct Placed {
    Band* band;
    QRect rect;
  };
  void Relayout();
  int RowHeight() const;
  Band* GripAt(QPoint p) const;
  Band* BandUnder(QPoint p) const;

  std::vector<std::unique_ptr<Band>> bands_;  // design order
  std::vector<Band*> order_;                  // current order
  std::vector<Placed> placed_;
  int rows_ = 0;
  bool inLayout_ = false;
  Band* dragging_ = nullptr;
  QPoint dragFrom_;
};

}  // namespace morvane::widgets
