#include "ui/scroll_bar.h"

#include <QKeyEvent>

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
