#pragma once

#include <cstddef>
#include <string>

namespace NSQuillet {

// The name of slice `index` (from 0) of an export named `chosenName`: the chosen name without
// its extension, a space, the slice number from 1 in at least three digits, then `extension`:
// "Funky Beat.wav", 0, ".wav" gives "Funky Beat 001.wav"; index 999 gives "Funky Beat 1000.wav".
// When `maximumStemLength` is not 0, the part before the extension is kept within that many
// bytes by shortening the chosen name (never the number, never inside a UTF-8 character), so
// that every slice keeps a name of its own.
std::string SliceFileName(const std::string& chosenName, int index, const std::string& extension,
                          size_t maximumStemLength = 0);

// `name` without its last extension: "a.b.wav" gives "a.b"; a name starting with its only dot
// is kept whole.
std::string NameWithoutExtension(const std::string& name);

}  // namespace NSQuillet
