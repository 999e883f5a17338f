#include "ui/edge_field.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace velmaro::ui {

int CharacterCode(char32_t character) { return character <= 255 ? static_cast<int>(character) : 256; }

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
  const QList<uint> text = event.text().toUcs4();
  if (text.isEmpty()) return -1;
  return CharacterCode(text.front());
}

QString EdgeField::filtered(const QString& text) const {
  QString kept;
  for (const char32_t character : text.toUcs4()) {
    std::int16_t KeyAscii = static_cast<std::int16_t>(CharacterCode(character));
    keyPress_(KeyAscii);
    if (KeyAscii != 0) kept += QString::fromUcs4(&character, 1);
  }
  return kept;
}

void EdgeField::keyPressEvent(QKeyEvent* event) {
  const int code = KeyCharacterCode(*event);
  if (code < 0 || !keyPress_) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (event->text().toUcs4().size() > 1) {
    // A key that carries several characters: each passes the filter on its own, as if typed one by one.
    QKeyEvent kept(event->type(), event->key(), event->modifiers(), filtered(event->text()), event->isAutoRepeat());
    if (kept.text().isEmpty()) return event->accept();
    QLineEdit::keyPressEvent(&kept);
    return event->setAccepted(kept.isAccepted());
  }
  std::int16_t KeyAscii = static_cast<std::int16_t>(code);
  keyPress_(KeyAscii);
  if (KeyAscii == 0) {
    event->accept();  // refused: the field takes nothing, not even a chord's copy or paste
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void EdgeField::inputMethodEvent(QInputMethodEvent* event) {
  if (!keyPress_ || event->commitString().isEmpty()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  // An input method's committed text is typing too: its characters pass the filter one by one.
  QInputMethodEvent kept(event->preeditString(), event->attributes());
  kept.setCommitString(filtered(event->commitString()), event->replacementStart(), event->replacementLength());
  QLineEdit::inputMethodEvent(&kept);
  event->setAccepted(kept.isAccepted());
}

}  // namespace velmaro::ui
