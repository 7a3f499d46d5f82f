#include "formats/text/Windows1252.h"

#include <cstdint>

#include "formats/text/UTF8Text.h"

namespace NSQuillet {

namespace {

// 0x80..0x9F; the rest of the page is the same as Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CharacterOf(uint8_t byte) { return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte; }

bool ByteOf(char32_t character, uint8_t& byte) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        byte = uint8_t(character);
        return true;
    }
    for (uint8_t i = 0; i < 32; ++i) {
        if (kHighControls[i] == character) {
            byte = uint8_t(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace

bool EncodeWindows1252(const std::string& utf8, std::string& bytes) {
    bytes.clear();
    bytes.reserve(utf8.size());
    char32_t character;
    uint8_t byte;
    for (size_t at = 0; at < utf8.size();) {
        if (!DecodeUTF8Character(utf8, at, character) || !ByteOf(character, byte)) return false;
        bytes += char(byte);
    }
    return true;
}

std::string DecodeWindows1252(const std::string& bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char byte : bytes) AppendUTF8(utf8, CharacterOf(uint8_t(byte)));
    return utf8;
}

}  // namespace NSQuillet
