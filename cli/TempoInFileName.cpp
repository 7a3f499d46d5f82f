#include "cli/TempoInFileName.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace NSQuillet::NSCli {

namespace {

constexpr double kLowestTempo = 20.0;
constexpr double kHighestTempo = 450.0;

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsSeparator(char c) { return c == ' ' || c == '_' || c == '-' || c == '.'; }

bool IsBpmAt(const std::string& name, size_t at) {
    if (at + 3 > name.size()) return false;
    for (size_t i = 0; i < 3; ++i) {
        if (std::tolower(static_cast<unsigned char>(name[at + i])) != "bpm"[i]) return false;
    }
    return at + 3 == name.size() || !IsLetter(name[at + 3]);
}

// The number that ends just before `end`, or none.
std::optional<double> NumberEndingAt(const std::string& name, size_t end) {
    size_t start = end;
    while (start > 0 && IsDigit(name[start - 1])) --start;
    if (start == end) return std::nullopt;
    if (start >= 2 && name[start - 1] == '.' && IsDigit(name[start - 2])) {
        // A fraction: take the whole part before the point too.
        --start;
        while (start > 0 && IsDigit(name[start - 1])) --start;
    }
    const bool afterNumber =
        start > 0 && (IsDigit(name[start - 1]) || (name[start - 1] == '.' && start >= 2 && IsDigit(name[start - 2])));
    if (afterNumber) return std::nullopt;
    return std::strtod(name.substr(start, end - start).c_str(), nullptr);
}

}  // namespace

std::optional<int32_t> FindTempoInFileName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (size_t at = 0; at < name.size(); ++at) {
        if (!IsBpmAt(name, at)) continue;
        std::optional<double> tempo = NumberEndingAt(name, at);
        if (!tempo && at > 0 && IsSeparator(name[at - 1])) tempo = NumberEndingAt(name, at - 1);
        if (tempo && *tempo >= kLowestTempo && *tempo <= kHighestTempo) return int32_t(std::lround(*tempo * 1000.0));
    }
    return std::nullopt;
}

}  // namespace NSQuillet::NSCli
