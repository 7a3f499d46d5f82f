#include "ui/logic/AlertButtons.h"

#include <algorithm>
#include <cctype>

namespace NSQuillet {

namespace {

// The title without its access-key mark, lower case: "_No" and "no" name the same button.
std::string PlainTitle(const std::string& title) {
    std::string plain;
    for (char c : title) {
        if (c == '_' || c == '&') continue;
        plain += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return plain;
}

std::optional<size_t> FindTitle(const std::vector<std::string>& titles, const std::string& wanted) {
    const auto found = std::find_if(titles.begin(), titles.end(),
                                    [&](const std::string& title) { return PlainTitle(title) == wanted; });
    if (found == titles.end()) return std::nullopt;
    return size_t(found - titles.begin());
}

}  // namespace

std::string AlertButtonLabel(const std::string& title) {
    std::string label;
    for (size_t i = 0; i < title.size(); ++i) {
        if (title[i] == '&') {
            label += "&&";
        } else if (title[i] == '_' && i + 1 < title.size()) {
            label += '&';
        } else {
            label += title[i];
        }
    }
    return label;
}

std::optional<size_t> AlertEscapeButton(const std::vector<std::string>& titles) {
    if (auto cancel = FindTitle(titles, "cancel")) return cancel;
    if (auto no = FindTitle(titles, "no")) return no;
    if (titles.size() == 1) return size_t(0);
    return std::nullopt;
}

std::string AlertDisplayText(const std::string& text) {
    std::string display;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            display += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            display += text[i];
        }
    }
    return display;
}

}  // namespace NSQuillet
