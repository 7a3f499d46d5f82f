#include "app/resources/ResourceEntries.h"

#include <map>
#include <utility>

#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void Reject(const std::string& tableName, int32_t line, const std::string& what) {
    throw NSMishap::XFormatViolation(DescribeResourceLine(tableName, line, what));
}

std::string Unescape(const std::string& text, const std::string& tableName, int32_t line) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            plain += text[i];
            continue;
        }
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (next == 'r') {
            plain += '\r';
        } else if (next == '\\') {
            plain += '\\';
        } else {
            Reject(tableName, line, "unknown escape in text");
        }
        ++i;
    }
    return plain;
}

SResourceEntry ReadLine(const std::string& text, const std::string& tableName, int32_t line) {
    SResourceEntry entry;
    entry.fLine = line;
    size_t at = 0;
    while (at < text.size() && IsDigit(text[at])) ++at;
    if (at == 0 || at > 9) Reject(tableName, line, "entry without a valid id");
    entry.fId = std::stoi(text.substr(0, at));
    if (text[at] == '-') {
        const size_t end = text.find_first_of(" \t{", at);
        entry.fPlatform = text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
        if (entry.fPlatform != "Win" && entry.fPlatform != "Mac") Reject(tableName, line, "unknown platform suffix");
        at = end == std::string::npos ? text.size() : end;
    }
    const size_t open = text.find_first_not_of(" \t", at);
    if (open == at || open == std::string::npos || text[open] != '{') Reject(tableName, line, "id not followed by {text}");
    const size_t close = text.find_last_not_of(" \t");
    if (text[close] != '}' || close == open) Reject(tableName, line, "text not closed by }");
    entry.fText = Unescape(text.substr(open + 1, close - open - 1), tableName, line);
    return entry;
}

}  // namespace

std::string DescribeResourceLine(const std::string& tableName, int32_t line, const std::string& what) {
    return tableName + " line " + std::to_string(line) + ": " + what;
}

std::vector<SResourceEntry> ReadResourceEntries(const std::string& source, const std::string& tableName) {
    std::vector<SResourceEntry> entries;
    int32_t line = 0;
    size_t start = 0;
    while (start < source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        std::string text = source.substr(start, end - start);
        start = end + 1;
        ++line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find_first_not_of(" \t") == std::string::npos) continue;
        entries.push_back(ReadLine(text, tableName, line));
    }
    return entries;
}

std::vector<SResourceEntry> SelectPlatformEntries(const std::vector<SResourceEntry>& entries,
                                                  const std::string& tableName) {
    std::map<std::pair<int32_t, std::string>, const SResourceEntry*> byKey;
    for (const SResourceEntry& entry : entries) {
        if (!byKey.emplace(std::make_pair(entry.fId, entry.fPlatform), &entry).second)
            Reject(tableName, entry.fLine, "second entry " + std::to_string(entry.fId) + " for the same platform");
    }
    std::map<int32_t, const SResourceEntry*> chosen;
    for (const auto& [key, entry] : byKey) {
        if (key.second.empty()) {
            chosen.emplace(key.first, entry);
        } else if (key.second == kResourcePlatform) {
            chosen[key.first] = entry;
        }
    }
    std::vector<SResourceEntry> selected;
    selected.reserve(chosen.size());
    for (const auto& [id, entry] : chosen) selected.push_back(*entry);
    return selected;
}

}  // namespace NSQuillet
