#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace NSQuillet {

// The platform whose suffixed entries this build uses ("5001-Win" wins over "5001").
inline constexpr const char* kResourcePlatform = "Win";

// One line "id[-Platform]<tab>{text}" of a resource table, with "\r" turned into a line break
// and "\\" into a backslash.
struct SResourceEntry {
    int32_t fId = 0;
    std::string fPlatform;  // "" for an entry of every platform
    std::string fText;
    int32_t fLine = 0;      // 1-based, for messages
};

// The entries of `source` in order; empty lines separate groups and are skipped. A malformed
// line (no id, an unknown suffix, missing braces, an unknown escape) is an XFormatViolation
// naming `tableName` and the line.
std::vector<SResourceEntry> ReadResourceEntries(const std::string& source, const std::string& tableName);

// The entries this platform uses, in id order: an entry suffixed with kResourcePlatform
// replaces the plain one of its id, entries of other platforms are dropped. Two entries for the
// same id and platform are an XFormatViolation.
std::vector<SResourceEntry> SelectPlatformEntries(const std::vector<SResourceEntry>& entries,
                                                  const std::string& tableName);

// "TABLE line N: what", the message of a malformed entry.
std::string DescribeResourceLine(const std::string& tableName, int32_t line, const std::string& what);

}  // namespace NSQuillet
