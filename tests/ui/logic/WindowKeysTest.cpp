#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ui/logic/WindowKeys.h"

namespace NSQuillet {
namespace {

using A = EWindowAction;
using C = EKeyCondition;

SPlainKey Character(char32_t c, uint32_t modifiers = 0) { return SPlainKey{EKeyCode::kCharacter, c, false, modifiers}; }
SPlainKey Keypad(char32_t c, uint32_t modifiers = 0) { return SPlainKey{EKeyCode::kCharacter, c, true, modifiers}; }
SPlainKey Code(EKeyCode code, bool keypad = false, uint32_t modifiers = 0) { return SPlainKey{code, 0, keypad, modifiers}; }

TEST(WindowKeys, TheKeyTable) {
    struct SRow {
        const char* fCase;
        SPlainKey fKey;
        std::optional<SKeyBinding> fBinding;
    };
    const SRow rows[] = {
        {"keypad Enter", Code(EKeyCode::kEnter, true), SKeyBinding{A::kPlayLoop, C::kPlaybackAllowed}},
        {"Return", Code(EKeyCode::kEnter), std::nullopt},
        {"Space", Code(EKeyCode::kSpace), SKeyBinding{A::kStopOrPlay, C::kPlaybackAllowed}},
        {"Up", Code(EKeyCode::kUp), SKeyBinding{A::kPlayCurrentSlice, C::kPlaybackAllowedAndFocusFree}},
        {"keypad 8", Keypad('8'), SKeyBinding{A::kPlayCurrentSlice, C::kPlaybackAllowedAndFocusFree}},
        {"keypad 7", Keypad('7'), SKeyBinding{A::kPlayPreviousSlice, C::kPlaybackAllowed}},
        {"keypad 9", Keypad('9'), SKeyBinding{A::kPlayCurrentSliceAndMoveToNext, C::kPlaybackAllowed}},
        {"keypad 0", Keypad('0'), SKeyBinding{A::kStop, C::kPlaybackAllowed}},
        {"keypad 1", Keypad('1'), SKeyBinding{A::kCursorToLoopStart, C::kAlways}},
        {"keypad 2", Keypad('2'), SKeyBinding{A::kCursorToLoopEnd, C::kAlways}},
        {"keypad 3", Keypad('3'), std::nullopt},
        {"keypad 4", Keypad('4'), SKeyBinding{A::kCursorToPreviousSlice, C::kFocusFree}},
        {"keypad 5", Keypad('5'), std::nullopt},
        {"keypad 6", Keypad('6'), SKeyBinding{A::kCursorToNextSlice, C::kFocusFree}},
        {"Left", Code(EKeyCode::kLeft), SKeyBinding{A::kCursorToPreviousSlice, C::kFocusFree}},
        {"Right", Code(EKeyCode::kRight), SKeyBinding{A::kCursorToNextSlice, C::kFocusFree}},
        {"Down", Code(EKeyCode::kDown), std::nullopt},
        {"main-row 0", Character('0'), SKeyBinding{A::kSetSensitivity, C::kAlways, 0}},
        {"main-row 1", Character('1'), SKeyBinding{A::kSetSensitivity, C::kAlways, 11}},
        {"main-row 5", Character('5'), SKeyBinding{A::kSetSensitivity, C::kAlways, 55}},
        {"main-row 9", Character('9'), SKeyBinding{A::kSetSensitivity, C::kAlways, 99}},
        {"+", Character('+'), SKeyBinding{A::kIncreaseSensitivity, C::kAlways}},
        {"+ typed with Shift", Character('+', kModifier_Extend), SKeyBinding{A::kIncreaseSensitivity, C::kAlways}},
        {"keypad +", Keypad('+'), SKeyBinding{A::kIncreaseSensitivity, C::kAlways}},
        {"-", Character('-'), SKeyBinding{A::kDecreaseSensitivity, C::kAlways}},
        {"Q", Character('q'), SKeyBinding{A::kArrowTool, C::kAlways}},
        {"W", Character('W'), SKeyBinding{A::kMuteTool, C::kAlways}},
        {"E", Character('e'), SKeyBinding{A::kLockTool, C::kAlways}},
        {"R", Character('R'), SKeyBinding{A::kPenTool, C::kAlways}},
        {"Ctrl+1", Character('1', kModifier_Magnify), SKeyBinding{A::kArrowTool, C::kAlways}},
        {"Ctrl+2", Character('2', kModifier_Magnify), SKeyBinding{A::kMuteTool, C::kAlways}},
        {"Ctrl+3", Character('3', kModifier_Magnify), SKeyBinding{A::kLockTool, C::kAlways}},
        {"Ctrl+4", Character('4', kModifier_Magnify), SKeyBinding{A::kPenTool, C::kAlways}},
        {"Ctrl+5", Character('5', kModifier_Magnify), std::nullopt},
        {"Ctrl+keypad 1", Keypad('1', kModifier_Magnify), std::nullopt},
        {"Ctrl+Q", Character('Q', kModifier_Magnify), std::nullopt},
        {"Ctrl++", Character('+', kModifier_Magnify), SKeyBinding{A::kZoomIn, C::kAlways}},
        {"Ctrl+Shift++", Character('+', kModifier_Magnify | kModifier_Extend), SKeyBinding{A::kZoomIn, C::kAlways}},
        {"Ctrl+= (the + key without Shift)", Character('=', kModifier_Magnify), SKeyBinding{A::kZoomIn, C::kAlways}},
        {"= alone", Character('='), std::nullopt},
        {"Ctrl+keypad -", Keypad('-', kModifier_Magnify), SKeyBinding{A::kZoomOut, C::kAlways}},
        {"Backspace", Code(EKeyCode::kBackspace), SKeyBinding{A::kDeleteSelectedSlices, C::kAlways}},
        {"Delete", Code(EKeyCode::kDelete), SKeyBinding{A::kDeleteSelectedSlices, C::kAlways}},
        {"Alt+5 belongs to the menus", Character('5', kModifier_Fine), std::nullopt},
        {"Alt+Q", Character('Q', kModifier_Fine), std::nullopt},
        {"Ctrl+Space", Code(EKeyCode::kSpace, false, kModifier_Magnify), std::nullopt},
        {"a letter of no binding", Character('F'), std::nullopt},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        EXPECT_EQ(FindKeyBinding(row.fKey), row.fBinding);
    }
}

}  // namespace
}  // namespace NSQuillet
