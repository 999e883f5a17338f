#pragma once
// HScroll1 and VScroll1: scroll bars that are tab stops and move with the keyboard. The arrow keys step
// towards the side they point to (Right and Down add, Left and Up subtract), Page Up and Page Down move
// by a page, Home and End go to the ends; every move is a change of value, as a mouse move is. A bar
// reached with the keyboard shows a focus frame.

#include <QScrollBar>

namespace velmaro::ui {

class ScrollBar : public QScrollBar {
  Q_OBJECT
 public:
  ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace velmaro::ui
