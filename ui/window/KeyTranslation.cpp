#include "ui/window/KeyTranslation.h"

#include <QKeyEvent>

namespace NSQuillet {

namespace {

std::optional<char32_t> KeypadDigitWithoutNumLock(int key) {
    switch (key) {
    case Qt::Key_Insert:
        return U'0';
    case Qt::Key_End:
        return U'1';
    case Qt::Key_Down:
        return U'2';
    case Qt::Key_PageDown:
        return U'3';
    case Qt::Key_Clear:
        return U'5';
    case Qt::Key_Left:
        return U'4';
    case Qt::Key_Right:
        return U'6';
    case Qt::Key_Home:
        return U'7';
    case Qt::Key_Up:
        return U'8';
    case Qt::Key_PageUp:
        return U'9';
    default:
        return std::nullopt;
    }
}

}  // namespace

std::optional<SPlainKey> TranslateKey(const QKeyEvent& event) {
    SPlainKey plain;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    plain.fModifiers = ModifierBits(modifiers);
    plain.fKeypad = (modifiers & Qt::KeypadModifier) != 0;

    const int key = event.key();
    if (plain.fKeypad) {
        if (const std::optional<char32_t> digit = KeypadDigitWithoutNumLock(key)) {
            plain.fCode = EKeyCode::kCharacter;
            plain.fCharacter = *digit;
            return plain;
        }
    }
    switch (key) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
        plain.fCode = EKeyCode::kEnter;
        return plain;
    case Qt::Key_Space:
        plain.fCode = EKeyCode::kSpace;
        return plain;
    case Qt::Key_Backspace:
        plain.fCode = EKeyCode::kBackspace;
        return plain;
    case Qt::Key_Delete:
        plain.fCode = EKeyCode::kDelete;
        return plain;
    case Qt::Key_Left:
        plain.fCode = EKeyCode::kLeft;
        return plain;
    case Qt::Key_Right:
        plain.fCode = EKeyCode::kRight;
        return plain;
    case Qt::Key_Up:
        plain.fCode = EKeyCode::kUp;
        return plain;
    case Qt::Key_Down:
        plain.fCode = EKeyCode::kDown;
        return plain;
    default:
        break;
    }
    // Printable keys: Qt's key code is the character (letters upper case), also under Ctrl,
    // where the event's text is a control character.
    if (key > 0x20 && key < 0x7f) {
        plain.fCode = EKeyCode::kCharacter;
        plain.fCharacter = char32_t(key);
        return plain;
    }
    return std::nullopt;
}

uint32_t ModifierBits(Qt::KeyboardModifiers modifiers) {
    uint32_t bits = 0;
    if (modifiers & Qt::ShiftModifier) bits |= kModifier_Extend;
    if (modifiers & Qt::AltModifier) bits |= kModifier_Fine;
    if (modifiers & Qt::ControlModifier) bits |= kModifier_Magnify;
    return bits;
}

}  // namespace NSQuillet
