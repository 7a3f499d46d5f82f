#include "ui/logic/WindowKeys.h"

namespace NSQuillet {

namespace {

constexpr char32_t Upper(char32_t c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

std::optional<SKeyBinding> Bind(EWindowAction action, EKeyCondition condition = EKeyCondition::kAlways,
                                int32_t argument = 0) {
    return SKeyBinding{action, condition, argument};
}

std::optional<SKeyBinding> FindPrimaryBinding(const SPlainKey& key) {
    if (key.fCode != EKeyCode::kCharacter) return std::nullopt;
    switch (key.fCharacter) {
    case '+':
        return Bind(EWindowAction::kZoomIn);
    case '-':
        return Bind(EWindowAction::kZoomOut);
    default:
        break;
    }
    if (key.fKeypad) return std::nullopt;
    switch (key.fCharacter) {
    // "+" shares its key with "=" on many layouts: Ctrl+= zooms in without Shift.
    case '=':
        return Bind(EWindowAction::kZoomIn);
    case '1':
        return Bind(EWindowAction::kArrowTool);
    case '2':
        return Bind(EWindowAction::kMuteTool);
    case '3':
        return Bind(EWindowAction::kLockTool);
    case '4':
        return Bind(EWindowAction::kPenTool);
    default:
        return std::nullopt;
    }
}

std::optional<SKeyBinding> FindKeypadDigitBinding(char32_t digit) {
    using A = EWindowAction;
    using C = EKeyCondition;
    switch (digit) {
    case '0':
        return Bind(A::kStop, C::kPlaybackAllowed);
    case '1':
        return Bind(A::kCursorToLoopStart);
    case '2':
        return Bind(A::kCursorToLoopEnd);
    case '4':
        return Bind(A::kCursorToPreviousSlice, C::kFocusFree);
    case '6':
        return Bind(A::kCursorToNextSlice, C::kFocusFree);
    case '7':
        return Bind(A::kPlayPreviousSlice, C::kPlaybackAllowed);
    case '8':
        return Bind(A::kPlayCurrentSlice, C::kPlaybackAllowedAndFocusFree);
    case '9':
        return Bind(A::kPlayCurrentSliceAndMoveToNext, C::kPlaybackAllowed);
    default:
        return std::nullopt;
    }
}

std::optional<SKeyBinding> FindCharacterBinding(const SPlainKey& key) {
    using A = EWindowAction;
    const char32_t c = Upper(key.fCharacter);
    if (c >= '0' && c <= '9') {
        if (key.fKeypad) return FindKeypadDigitBinding(c);
        return Bind(A::kSetSensitivity, EKeyCondition::kAlways, int32_t(c - '0') * 11);
    }
    switch (c) {
    case '+':
        return Bind(A::kIncreaseSensitivity);
    case '-':
        return Bind(A::kDecreaseSensitivity);
    case 'Q':
        return Bind(A::kArrowTool);
    case 'W':
        return Bind(A::kMuteTool);
    case 'E':
        return Bind(A::kLockTool);
    case 'R':
        return Bind(A::kPenTool);
    default:
        return std::nullopt;
    }
}

}  // namespace

std::optional<SKeyBinding> FindKeyBinding(const SPlainKey& key) {
    using A = EWindowAction;
    using C = EKeyCondition;
    if (key.fModifiers & kModifier_Fine) return std::nullopt;
    if (key.fModifiers & kModifier_Magnify) return FindPrimaryBinding(key);
    switch (key.fCode) {
    case EKeyCode::kCharacter:
        return FindCharacterBinding(key);
    case EKeyCode::kEnter:
        return key.fKeypad ? Bind(A::kPlayLoop, C::kPlaybackAllowed) : std::nullopt;
    case EKeyCode::kSpace:
        return Bind(A::kStopOrPlay, C::kPlaybackAllowed);
    case EKeyCode::kUp:
        return Bind(A::kPlayCurrentSlice, C::kPlaybackAllowedAndFocusFree);
    case EKeyCode::kLeft:
        return Bind(A::kCursorToPreviousSlice, C::kFocusFree);
    case EKeyCode::kRight:
        return Bind(A::kCursorToNextSlice, C::kFocusFree);
    case EKeyCode::kBackspace:
    case EKeyCode::kDelete:
        return Bind(A::kDeleteSelectedSlices);
    case EKeyCode::kDown:
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace NSQuillet
