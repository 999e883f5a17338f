#pragma once
// A thin line across the top of the map's viewport while a map is still being decoded: its coloured part
// grows with the share of rows decoded. It takes no presses; they fall through to the canvas under it.

#include <QWidget>

namespace velmaro::ui {

class DecodeProgressLine : public QWidget {
  Q_OBJECT
 public:
  explicit DecodeProgressLine(QWidget* viewport);
  // Shows the line over the viewport's top edge with `done` of `total` rows decoded.
  void showProgress(int done, int total);
  double fraction() const { return fraction_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double fraction_ = 0;
};

}  // namespace velmaro::ui
