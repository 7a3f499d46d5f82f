#include "app/preferences/PreferencesText.h"

#include "formats/text/UTF8Text.h"

namespace NSQuillet {

std::string CutToCharacters(const std::string& utf8, size_t limit) {
    size_t at = 0;
    for (size_t characters = 0; characters < limit && at < utf8.size(); ++characters) {
        char32_t ignored;
        DecodeUTF8Character(utf8, at, ignored);
    }
    return utf8.substr(0, at);
}

}  // namespace NSQuillet
