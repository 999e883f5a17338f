#include "ui/press_reader.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <cmath>

namespace velmaro::ui {

PressReader::Press PressReader::PressOf(const QMouseEvent& event) {
  return Press{event.button(), event.modifiers(), event.position(), event.globalPosition(), event.timestamp()};
}

std::optional<PressReader::Down> PressReader::pressed(const QMouseEvent& event) { return pressOrHoldMiddle(event); }

std::optional<PressReader::Down> PressReader::doubleClicked(const QMouseEvent& event) {
  const QStyleHints& hints = *QGuiApplication::styleHints();
  const QPointF moved = event.globalPosition() - lastDownPlace_;
  const int distance = hints.mouseDoubleClickDistance();
  const bool near = std::abs(moved.x()) <= distance && std::abs(moved.y()) <= distance;
  // The first half must have been a press on this canvas, not an old one here and a new one elsewhere.
  const bool soon = event.timestamp() - lastDownTime_ <= static_cast<quint64>(hints.mouseDoubleClickInterval());
  if (near && soon) return std::nullopt;
  return pressOrHoldMiddle(event);
}

std::optional<PressReader::Down> PressReader::pressOrHoldMiddle(const QMouseEvent& event) {
  if (event.button() != Qt::MiddleButton) return down(PressOf(event));
  heldMiddle_ = PressOf(event);
  dragLast_ = event.globalPosition();
  panning_ = false;
  return std::nullopt;
}

std::optional<PressReader::Down> PressReader::released(const QMouseEvent& event) {
  if (event.button() != Qt::MiddleButton || !heldMiddle_) return std::nullopt;
  std::optional<Down> result;
  if (!panning_) result = down(*heldMiddle_);
  heldMiddle_.reset();
  panning_ = false;
  return result;
}

QPoint PressReader::moved(const QMouseEvent& event) {
  if (!heldMiddle_ || !event.buttons().testFlag(Qt::MiddleButton)) return {};
  const QPointF travelled = event.globalPosition() - heldMiddle_->global;
  if (!panning_ && travelled.manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) panning_ = true;
  const QPoint delta = (event.globalPosition() - dragLast_).toPoint();
  if (!panning_ || delta.isNull()) return {};
  dragLast_ += QPointF(delta);
  return delta;
}

PressReader::Down PressReader::down(const Press& press) {
  lastDownPlace_ = press.global;
  lastDownTime_ = press.time;
  return Down{press.button, press.modifiers, press.place};
}

}  // namespace velmaro::ui
