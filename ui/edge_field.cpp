#include "ui/edge_field.h"

#include <QKeyEvent>

namespace velmaro::ui {

int KeyCharacterCode(const QKeyEvent& event) {
  const int key = event.key();
  const bool control = event.modifiers().testFlag(Qt::ControlModifier) && !event.modifiers().testFlag(Qt::AltModifier);
  if (control && key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Delete: return -1;
    default: break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return -1;
  const char16_t unit = text.at(0).unicode();
  if (unit < 32 && unit != 8) return unit;
  return unit <= 255 ? unit : 256;
}

void EdgeField::keyPressEvent(QKeyEvent* event) {
  const int code = KeyCharacterCode(*event);
  if (code < 0 || !keyPress_) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  std::int16_t KeyAscii = static_cast<std::int16_t>(code);
  keyPress_(KeyAscii);
  if (KeyAscii == 0) {
    event->accept();  // refused: the field takes nothing, not even a chord's copy or paste
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace velmaro::ui
