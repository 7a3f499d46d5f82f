#include "formats/export/ExportFileNames.h"

#include <cstdio>

namespace NSQuillet {

namespace {

// The longest prefix of `text` within `limit` bytes that does not end inside a UTF-8 sequence.
std::string CutAtCharacter(const std::string& text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

std::string NameWithoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return name;
    return name.substr(0, dot);
}

std::string SliceFileName(const std::string& chosenName, int index, const std::string& extension,
                          size_t maximumStemLength) {
    char digits[16];
    std::snprintf(digits, sizeof digits, " %03d", index + 1);
    const std::string number(digits);
    std::string stem = NameWithoutExtension(chosenName);
    if (maximumStemLength != 0)
        stem = CutAtCharacter(stem, maximumStemLength > number.size() ? maximumStemLength - number.size() : 0);
    return stem + number + extension;
}

}  // namespace NSQuillet
