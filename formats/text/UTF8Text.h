#pragma once

#include <cstddef>
#include <string>

namespace NSQuillet {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the character at `at` and moves `at` past it. Valid UTF-8 means the shortest form of a
// code point up to U+10FFFF that is not a surrogate. On an invalid or cut-off sequence answers
// false with U+FFFD and moves one byte on. `at` must be below the text's size.
bool DecodeUTF8Character(const std::string& text, size_t& at, char32_t& character);
// `character` must be a valid code point.
void AppendUTF8(std::string& text, char32_t character);

bool IsValidUTF8(const std::string& text);
// Every byte that does not begin a valid character becomes U+FFFD; valid text is unchanged.
std::string RepairUTF8(const std::string& text);
// Characters of a valid text (each invalid byte counts as one).
size_t CountUTF8Characters(const std::string& text);
// `text` as single bytes for formats that store 7-bit names: each character (each invalid byte)
// from `lowest` to `highest` (both below 0x80) is kept, every other becomes "_"; at most
// `maximumLength` of them.
std::string ToASCII(const std::string& text, char32_t lowest, char32_t highest, size_t maximumLength = std::string::npos);

}  // namespace NSQuillet
