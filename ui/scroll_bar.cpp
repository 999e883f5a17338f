#include "ui/scroll_bar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace velmaro::ui {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
  setFocusPolicy(Qt::StrongFocus);
}

void ScrollBar::keyPressEvent(QKeyEvent* event) {
  // A scroll bar's controls are inverted so that the wheel scrolls the usual way; on a horizontal bar
  // the toolkit lets that inversion swap Left and Right too, which would move the map against the key.
  const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  if (orientation() == Qt::Horizontal && plain && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
    const bool towardsStart = (event->key() == Qt::Key_Left) != isRightToLeft();
    triggerAction(towardsStart ? SliderSingleStepSub : SliderSingleStepAdd);
    event->accept();
    return;
  }
  QScrollBar::keyPressEvent(event);
}

}  // namespace velmaro::ui

namespace velmaro::ui {

void ScrollBar::paintEvent(QPaintEvent* event) {
  QScrollBar::paintEvent(event);
  if (!hasFocus()) return;
  // Styles draw no focus on a scroll bar; a bar that answers the keys shows that it has them.
  QPainter painter(this);
  QStyleOptionFocusRect focus;
  focus.initFrom(this);
  focus.rect = rect().adjusted(1, 1, -1, -1);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

}  // namespace velmaro::ui
