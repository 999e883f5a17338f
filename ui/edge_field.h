#pragma once
// Text2..Text5: the frame fields. Every typed character goes through the window's key handler first,
// which may refuse it (code 0): the field then inserts nothing. A key that carries several characters
// and an input method's committed text pass the filter character by character, and only the accepted
// characters arrive. Keys that produce no character (arrows, Delete, Home, End) are not filtered, nor is
// text that arrives other than by typing (set by the program, pasted through the context menu).

#include <QLineEdit>
#include <cstdint>
#include <functional>

namespace velmaro::ui {

// The character code a key press delivers, in the single-byte character set (0..255): the typed
// character, or the control code of Enter (13), Escape (27), Backspace (8) and Ctrl+letter chords
// (Ctrl+C is 3). -1 for a key without a character. A character beyond Latin-1 gives 255 + 1, which no
// notation admits.
int KeyCharacterCode(const QKeyEvent& event);
// The code of one character: itself up to 255, 256 beyond Latin-1.
int CharacterCode(char32_t character);

class EdgeField : public QLineEdit {
  Q_OBJECT
 public:
  using KeyPressHandler = std::function<void(std::int16_t& KeyAscii)>;

  explicit EdgeField(QWidget* parent = nullptr) : QLineEdit(parent) {}
  void setKeyPressHandler(KeyPressHandler handler) { keyPress_ = std::move(handler); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  // The characters of `text` that the key handler accepts, in order; each refusal beeps there.
  QString filtered(const QString& text) const;

  KeyPressHandler keyPress_;
};

}  // namespace velmaro::ui
