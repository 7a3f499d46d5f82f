#pragma once

#include <cstdint>

namespace NSDiskKit {

// A four-character code packed big-endian: 'Q' 'l' 'e' 't' is 0x516C6574.
constexpr uint32_t MakeFourCharCode(char a, char b, char c, char d) {
    return (uint32_t(uint8_t(a)) << 24) | (uint32_t(uint8_t(b)) << 16) | (uint32_t(uint8_t(c)) << 8) | uint32_t(uint8_t(d));
}

inline constexpr uint32_t kQuilletCreatorCode = MakeFourCharCode('Q', 'l', 'e', 't');

}  // namespace NSDiskKit
