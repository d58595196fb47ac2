#include "ui/qt/key_codes.h"

#include <iterator>

namespace lorvex::ui::qt {

namespace {

struct KeyRow {
  int qtKey;
  int keyCode;
};

// Keys whose code is not their character's.
constexpr KeyRow kKeyRows[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},    {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},   {Qt::Key_Alt, 18},      {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},  {Qt::Key_Escape, 27},   {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},    {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
    {Qt::Key_Home, 36},      {Qt::Key_Left, 37},     {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},     {Qt::Key_Down, 40},     {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},    {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
};

constexpr int kCodeF1 = 112;
constexpr int kShiftShift = 1, kShiftCtrl = 2, kShiftAlt = 4;
constexpr int kHighestCharacterCode = 255;  // one byte per character, as the window's texts

}  // namespace

KeyCodes TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  KeyCodes codes;
  if (modifiers & Qt::ShiftModifier) codes.shift |= kShiftShift;
  if (modifiers & Qt::ControlModifier) codes.shift |= kShiftCtrl;
  if (modifiers & Qt::AltModifier) codes.shift |= kShiftAlt;

  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
    codes.keyCode = qtKey;  // Qt's letter keys are the capitals' codes
  } else if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    codes.keyCode = qtKey;
  } else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
    codes.keyCode = kCodeF1 + (qtKey - Qt::Key_F1);
  } else {
    for (const KeyRow& row : kKeyRows)
      if (row.qtKey == qtKey) codes.keyCode = row.keyCode;
  }

  // With Alt held a key chooses, it types nothing.
  if (text.size() == 1 && (codes.shift & kShiftAlt) == 0) {
    const int character = text.at(0).unicode();
    if (character > 0 && character <= kHighestCharacterCode) codes.keyAscii = character;
  }
  return codes;
}

}  // namespace lorvex::ui::qt
