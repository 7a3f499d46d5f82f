// The README's table of the window's keys and the KEYS section of quillet(1) against the key
// table: every key they list does what its row says, and every key the window acts on is listed.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ui/logic/WindowKeys.h"

namespace NSQuillet {
namespace {

// What the documentation says each action does.
std::string ActionText(EWindowAction action) {
    using A = EWindowAction;
    switch (action) {
    case A::kPlayLoop: return "play the loop";
    case A::kStopOrPlay: return "stop if playing, else play the loop";
    case A::kPlayCurrentSlice: return "play the current slice";
    case A::kPlayPreviousSlice: return "play the previous slice";
    case A::kPlayCurrentSliceAndMoveToNext: return "play the current slice and move to the next";
    case A::kStop: return "stop";
    case A::kArrowTool: return "arrow tool";
    case A::kMuteTool: return "mute tool";
    case A::kLockTool: return "lock tool";
    case A::kPenTool: return "pen tool";
    case A::kZoomIn: return "zoom in by 2 around the cursor";
    case A::kZoomOut: return "zoom out by 2";
    case A::kDeleteSelectedSlices: return "delete the selected slices";
    case A::kCursorToPreviousSlice: return "cursor to the previous slice";
    case A::kCursorToNextSlice: return "cursor to the next slice";
    case A::kCursorToLoopStart: return "cursor to the start of the loop";
    case A::kCursorToLoopEnd: return "cursor to the end of the loop";
    case A::kSetSensitivity: return "sensitivity 0, 11, 22 ... 99 (11 times the digit)";
    case A::kIncreaseSensitivity: return "sensitivity up by 1";
    case A::kDecreaseSensitivity: return "sensitivity down by 1";
    }
    return "?";
}

// A key as the documentation can name it: letters in upper case, Shift left out (it only makes
// the character).
using TKey = std::tuple<EKeyCode, char32_t, bool, bool>;  // code, character, keypad, Ctrl

TKey KeyOf(const SPlainKey& key) {
    const char32_t c = key.fCharacter >= 'a' && key.fCharacter <= 'z' ? key.fCharacter - 'a' + 'A' : key.fCharacter;
    return {key.fCode, c, key.fKeypad, (key.fModifiers & kModifier_Magnify) != 0};
}

struct SDocumentedRow {
    std::string fKeys;  // "Left, Keypad 4"
    std::string fText;
};

std::string Trimmed(const std::string& text) {
    const size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path);
    EXPECT_TRUE(file) << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

// The rows of the README's "| key | action |" table.
std::vector<SDocumentedRow> ReadmeRows(const std::string& path) {
    const std::vector<std::string> lines = ReadLines(path);
    std::vector<SDocumentedRow> rows;
    size_t i = 0;
    while (i < lines.size() && lines[i] != "| key | action |") ++i;
    for (i += 2; i < lines.size() && !lines[i].empty() && lines[i][0] == '|'; ++i) {
        const std::string& line = lines[i];
        const size_t middle = line.find('|', 1);
        rows.push_back({Trimmed(line.substr(1, middle - 1)), Trimmed(line.substr(middle + 1, line.rfind('|') - middle - 1))});
    }
    return rows;
}

std::string Unescaped(std::string text) {
    for (size_t at = text.find("\\-"); at != std::string::npos; at = text.find("\\-", at)) text.erase(at, 1);
    return text;
}

// The ".TP / .B keys / text" entries of the manual page's KEYS section.
std::vector<SDocumentedRow> ManualRows(const std::string& path) {
    const std::vector<std::string> lines = ReadLines(path);
    std::vector<SDocumentedRow> rows;
    size_t i = 0;
    while (i < lines.size() && lines[i] != ".SH KEYS") ++i;
    for (++i; i < lines.size() && lines[i].rfind(".SH", 0) != 0; ++i) {
        if (lines[i] != ".TP" || i + 2 >= lines.size() || lines[i + 1].rfind(".B ", 0) != 0) continue;
        rows.push_back({Unescaped(lines[i + 1].substr(3)), Unescaped(lines[i + 2])});
    }
    return rows;
}

// "Ctrl+Keypad +", "Left", "Q" or "0 to 9" (the main row's digits); false for a name it does
// not know.
bool ParseKeys(const std::string& item, std::vector<SPlainKey>& keys) {
    if (item == "0 to 9") {
        for (char32_t digit = '0'; digit <= '9'; ++digit) keys.push_back(SPlainKey{EKeyCode::kCharacter, digit, false, 0});
        return true;
    }
    SPlainKey key;
    std::string name = item;
    if (name.rfind("Ctrl+", 0) == 0 && name.size() > 5) {
        key.fModifiers = kModifier_Magnify;
        name.erase(0, 5);
    }
    if (name.rfind("Keypad ", 0) == 0) {
        key.fKeypad = true;
        name.erase(0, 7);
    }
    const std::map<std::string, EKeyCode> codes = {
        {"Space", EKeyCode::kSpace}, {"Enter", EKeyCode::kEnter}, {"Backspace", EKeyCode::kBackspace},
        {"Delete", EKeyCode::kDelete}, {"Left", EKeyCode::kLeft}, {"Right", EKeyCode::kRight},
        {"Up", EKeyCode::kUp}, {"Down", EKeyCode::kDown}};
    if (const auto code = codes.find(name); code != codes.end()) {
        key.fCode = code->second;
    } else if (name.size() == 1 && name[0] > ' ' && name[0] < 0x7f) {
        key.fCharacter = char32_t(name[0]);
    } else {
        return false;
    }
    keys.push_back(key);
    return true;
}

// Every key a user can press that the window's logic sees: the named keys, keypad Enter, each
// printable character of the main row and the keypad's characters, alone and with Ctrl.
std::vector<SPlainKey> EveryKey() {
    std::vector<SPlainKey> keys;
    for (uint32_t modifiers : {0u, kModifier_Magnify}) {
        for (EKeyCode code : {EKeyCode::kSpace, EKeyCode::kEnter, EKeyCode::kBackspace, EKeyCode::kDelete,
                              EKeyCode::kLeft, EKeyCode::kRight, EKeyCode::kUp, EKeyCode::kDown})
            keys.push_back(SPlainKey{code, 0, false, modifiers});
        keys.push_back(SPlainKey{EKeyCode::kEnter, 0, true, modifiers});
        for (char32_t c = '!'; c <= '~'; ++c) keys.push_back(SPlainKey{EKeyCode::kCharacter, c, false, modifiers});
        for (char c : std::string("0123456789+-*/.")) keys.push_back(SPlainKey{EKeyCode::kCharacter, char32_t(c), true, modifiers});
    }
    return keys;
}

std::string Describe(const SPlainKey& key) {
    std::ostringstream text;
    text << (key.fModifiers & kModifier_Magnify ? "Ctrl+" : "") << (key.fKeypad ? "Keypad " : "");
    const char* const names[] = {"", "Enter", "Space", "Backspace", "Delete", "Left", "Right", "Up", "Down"};
    if (key.fCode == EKeyCode::kCharacter) {
        text << char(key.fCharacter);
    } else {
        text << names[int(key.fCode)];
    }
    return text.str();
}

void ExpectDocumentsTheKeyTable(const std::string& source, const std::vector<SDocumentedRow>& rows) {
    ASSERT_FALSE(rows.empty()) << source << " lists no keys";
    std::map<TKey, std::string> documented;
    for (const SDocumentedRow& row : rows) {
        std::vector<SPlainKey> keys;
        std::stringstream items(row.fKeys);
        for (std::string item; std::getline(items, item, ',');) {
            EXPECT_TRUE(ParseKeys(Trimmed(item), keys)) << source << ": unknown key \"" << Trimmed(item) << "\"";
        }
        for (const SPlainKey& key : keys) {
            const std::optional<SKeyBinding> binding = FindKeyBinding(key);
            if (!binding) {
                ADD_FAILURE() << source << ": " << Describe(key) << " (" << row.fKeys << ") does nothing in the window";
                continue;
            }
            EXPECT_EQ(row.fText, ActionText(binding->fAction)) << source << ": " << Describe(key);
            EXPECT_TRUE(documented.emplace(KeyOf(key), row.fText).second) << source << ": " << Describe(key) << " twice";
        }
    }
    for (const SPlainKey& key : EveryKey()) {
        const std::optional<SKeyBinding> binding = FindKeyBinding(key);
        if (binding && documented.count(KeyOf(key)) == 0) {
            ADD_FAILURE() << source << " does not list " << Describe(key) << " (" << ActionText(binding->fAction) << ")";
        }
    }
}

TEST(KeyDocumentation, TheReadmeTableListsEveryKeyOfTheWindow) {
    const std::string path = std::string(QUILLET_SOURCE_DIR) + "/README.md";
    ExpectDocumentsTheKeyTable(path, ReadmeRows(path));
}

TEST(KeyDocumentation, TheManualPageListsEveryKeyOfTheWindow) {
    const std::string path = std::string(QUILLET_SOURCE_DIR) + "/resources/man/quillet.1";
    ExpectDocumentsTheKeyTable(path, ManualRows(path));
}

}  // namespace
}  // namespace NSQuillet
