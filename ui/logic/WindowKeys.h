#pragma once

#include <cstdint>
#include <optional>

namespace NSQuillet {

// Modifier bits of a plain key or mouse value.
inline constexpr uint32_t kModifier_Extend = 1;   // Shift
inline constexpr uint32_t kModifier_Fine = 2;     // Alt
inline constexpr uint32_t kModifier_Magnify = 4;  // Ctrl, the primary command modifier

enum class EKeyCode { kCharacter, kEnter, kSpace, kBackspace, kDelete, kLeft, kRight, kUp, kDown };

// A key press as the window's logic sees it. Keypad keys carry `fKeypad`, whatever the
// Num Lock state: keypad digits as characters '0'..'9', keypad Enter as kEnter.
struct SPlainKey {
    EKeyCode fCode = EKeyCode::kCharacter;
    char32_t fCharacter = 0;  // for kCharacter; letters in either case
    bool fKeypad = false;
    uint32_t fModifiers = 0;
};

enum class EWindowAction {
    kPlayLoop,
    kStopOrPlay,
    kPlayCurrentSlice,
    kPlayPreviousSlice,
    kPlayCurrentSliceAndMoveToNext,
    kStop,
    kArrowTool,
    kMuteTool,
    kLockTool,
    kPenTool,
    kZoomIn,
    kZoomOut,
    kDeleteSelectedSlices,
    kCursorToPreviousSlice,
    kCursorToNextSlice,
    kCursorToLoopStart,
    kCursorToLoopEnd,
    kSetSensitivity,
    kIncreaseSensitivity,
    kDecreaseSensitivity,
};

// When a key's action applies, besides the document having sound.
enum class EKeyCondition {
    kAlways,
    // The audio output has not failed.
    kPlaybackAllowed,
    kPlaybackAllowedAndFocusFree,
    // The focus is in the waveform or in no view, not in a text field.
    kFocusFree,
};

struct SKeyBinding {
    EWindowAction fAction;
    EKeyCondition fCondition;
    int32_t fArgument = 0;  // the sensitivity of kSetSensitivity

    friend bool operator==(const SKeyBinding& a, const SKeyBinding& b) {
        return a.fAction == b.fAction && a.fCondition == b.fCondition && a.fArgument == b.fArgument;
    }
};

// The window's action for `key`, none for a key the window leaves alone. Shift does not
// change a binding (it makes the character); Alt keys belong to the menus; with Ctrl only the
// tool digits 1 to 4 of the main row, "+", "-" and the main row's "=" (zoom in) act.
std::optional<SKeyBinding> FindKeyBinding(const SPlainKey& key);

}  // namespace NSQuillet
