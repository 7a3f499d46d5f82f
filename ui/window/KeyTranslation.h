#pragma once

#include <QtCore/qnamespace.h>

#include <cstdint>
#include <optional>

#include "ui/logic/WindowKeys.h"

class QKeyEvent;

namespace NSQuillet {

// The plain key of a key press, none for keys the window has no use for. Keypad keys carry
// the keypad flag in both Num Lock states: with Num Lock off they arrive as the navigation
// keys with the keypad modifier (Insert for 0, End 1, Down 2, Left 4, Right 6, Home 7, Up 8,
// Page Up 9) and become the keypad digits.
std::optional<SPlainKey> TranslateKey(const QKeyEvent& event);

// The modifier bits of WindowKeys.h: Shift extend, Alt fine, Ctrl magnify.
uint32_t ModifierBits(Qt::KeyboardModifiers modifiers);

}  // namespace NSQuillet
