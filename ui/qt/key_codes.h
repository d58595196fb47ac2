// The window's key events as the parameters window reads them: a key code for the key-down
// event (letters are their capital's code, digits their own, F1 = 112 ... F12 = 123, Enter
// 13, Escape 27, ...), the shift mask (1 Shift, 2 Ctrl, 4 Alt), and the character code of
// the key-press event that follows when the key types a character.
#pragma once

#include <QString>
#include <Qt>

namespace lorvex::ui::qt {

struct KeyCodes {
  int keyCode = 0;   // 0: a key the window has no code for
  int shift = 0;
  int keyAscii = 0;  // 0: the key types no character (no key-press event)
};

KeyCodes TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace lorvex::ui::qt
