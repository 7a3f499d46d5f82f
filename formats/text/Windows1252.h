#pragma once

#include <string>

namespace NSQuillet {

// The Windows-1252 code page, the loop files' 8-bit text encoding. Its five unassigned bytes
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for the control characters U+0081, U+008D, U+008F,
// U+0090 and U+009D, as the system's own conversion maps them; so every byte has one character
// and every character of the page one byte, and a text converted one way and back is unchanged.

// The bytes of a UTF-8 text when every character has one in the page; false otherwise (also
// for invalid UTF-8), leaving `bytes` undefined.
bool EncodeWindows1252(const std::string& utf8, std::string& bytes);
std::string DecodeWindows1252(const std::string& bytes);

}  // namespace NSQuillet
