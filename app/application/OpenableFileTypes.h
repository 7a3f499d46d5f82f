#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace NSQuillet {

// A file type the application opens: its name in the string table and its extensions, without
// the dot, lower case.
struct SOpenableFileType {
    int32_t fName;
    std::vector<const char*> fExtensions;
};

// The LUX2, LUX and QLT loop files, WAVE and AIFF, in that order.
const std::vector<SOpenableFileType>& GetOpenableFileTypes();

// Whether `path` ends in the extension of one of them (any case). A path holding a NUL names no
// file: a NUL would cut it at the system and name another file.
bool IsOpenableFilePath(const std::string& path);

}  // namespace NSQuillet
