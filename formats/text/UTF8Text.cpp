#include "formats/text/UTF8Text.h"

#include <cstdint>

namespace NSQuillet {

bool DecodeUTF8Character(const std::string& text, size_t& at, char32_t& character) {
    const auto byte = [&](size_t i) { return uint8_t(text[i]); };
    const uint8_t lead = byte(at);
    size_t length = 0;
    char32_t value = 0;
    char32_t lowest = 0;
    if (lead < 0x80) {
        character = lead;
        ++at;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        lowest = 0x10000;
    }
    if (length == 0 || text.size() - at < length) {
        character = kReplacementCharacter;
        ++at;
        return false;
    }
    for (size_t i = 1; i < length; ++i) {
        const uint8_t next = byte(at + i);
        if ((next & 0xC0) != 0x80) {
            character = kReplacementCharacter;
            ++at;
            return false;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        character = kReplacementCharacter;
        ++at;
        return false;
    }
    character = value;
    at += length;
    return true;
}

void AppendUTF8(std::string& text, char32_t character) {
    if (character < 0x80) {
        text += char(character);
    } else if (character < 0x800) {
        text += char(0xC0 | (character >> 6));
        text += char(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        text += char(0xE0 | (character >> 12));
        text += char(0x80 | ((character >> 6) & 0x3F));
        text += char(0x80 | (character & 0x3F));
    } else {
        text += char(0xF0 | (character >> 18));
        text += char(0x80 | ((character >> 12) & 0x3F));
        text += char(0x80 | ((character >> 6) & 0x3F));
        text += char(0x80 | (character & 0x3F));
    }
}

bool IsValidUTF8(const std::string& text) {
    char32_t character;
    for (size_t at = 0; at < text.size();) {
        if (!DecodeUTF8Character(text, at, character)) return false;
    }
    return true;
}

std::string RepairUTF8(const std::string& text) {
    if (IsValidUTF8(text)) return text;
    std::string repaired;
    repaired.reserve(text.size() + 8);
    char32_t character;
    for (size_t at = 0; at < text.size();) {
        DecodeUTF8Character(text, at, character);
        AppendUTF8(repaired, character);
    }
    return repaired;
}

size_t CountUTF8Characters(const std::string& text) {
    size_t count = 0;
    char32_t character;
    for (size_t at = 0; at < text.size(); ++count) DecodeUTF8Character(text, at, character);
    return count;
}

std::string ToASCII(const std::string& text, char32_t lowest, char32_t highest, size_t maximumLength) {
    std::string result;
    for (size_t at = 0; at < text.size() && result.size() < maximumLength;) {
        char32_t character;
        DecodeUTF8Character(text, at, character);
        result += character >= lowest && character <= highest ? char(character) : '_';
    }
    return result;
}

}  // namespace NSQuillet
