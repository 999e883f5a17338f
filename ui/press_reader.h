#pragma once
// What the mouse events on the map canvas mean: a mouse-down for the window, or a pan of the map.
// - The second press of a double-click is no press of its own: within the double-click distance and
//   interval of the canvas's last mouse-down it is the second half of one double-click; farther away (or
//   later) it is a press of its own.
// - The middle button captures like the left one, but a middle drag pans: the press is decided on release,
//   a mouse-down when the pointer moved less than the drag distance, a pan otherwise.
// Places are canvas pixels as the event gives them; the pan is in whole screen pixels.

#include <QMouseEvent>
#include <QPoint>
#include <QPointF>
#include <optional>

namespace velmaro::ui {

class PressReader {
 public:
  struct Down {
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    QPointF place;  // on the canvas
  };

  std::optional<Down> pressed(const QMouseEvent& event);
  std::optional<Down> doubleClicked(const QMouseEvent& event);
  std::optional<Down> released(const QMouseEvent& event);
  // The screen pixels a middle drag asks to move the map by since the last move; (0, 0) when none.
  QPoint moved(const QMouseEvent& event);

 private:
  // The values, not the event: Qt shares an event's point with later events of the same device.
  struct Press {
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    QPointF place;   // on the canvas
    QPointF global;  // on the screen
    quint64 time;
  };
  static Press PressOf(const QMouseEvent& event);
  std::optional<Down> pressOrHoldMiddle(const QMouseEvent& event);
  Down down(const Press& press);

  QPointF lastDownPlace_;  // screen position
  quint64 lastDownTime_ = 0;
  std::optional<Press> heldMiddle_;
  QPointF dragLast_;  // screen position
  bool panning_ = false;
};

}  // namespace velmaro::ui
