#pragma once

#include <cstddef>
#include <string>

namespace NSQuillet {

// The texts of the preferences file that are read back limited (the export extension, the
// display names of recent documents) hold at most this many characters.
inline constexpr size_t kPreferencesTextCharacterLimit = 95;

// The first `limit` characters of a UTF-8 text (an invalid byte counts as one character).
std::string CutToCharacters(const std::string& utf8, size_t limit);

}  // namespace NSQuillet
