#include "app/resources/MenuTable.h"

#include <cctype>

#include "app/resources/ResourceEntries.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

[[noreturn]] void Reject(const std::string& item, const std::string& what) {
    throw NSMishap::XFormatViolation("menu item \"" + item + "\": " + what);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char UpperCase(char c) { return char(std::toupper(static_cast<unsigned char>(c))); }

// Removes the "_" and answers the letter after it.
char TakeAccessKey(std::string& label, const std::string& item) {
    const size_t mark = label.find('_');
    if (mark == std::string::npos) return '\0';
    if (mark + 1 >= label.size() || label[mark + 1] == '_') Reject(item, "\"_\" not followed by a key");
    if (label.find('_', mark + 1) != std::string::npos) Reject(item, "second access key");
    label.erase(mark, 1);
    return label[mark];
}

std::vector<std::string> SplitItems(const std::string& text) {
    std::vector<std::string> items;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(';', start);
        items.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return items;
        start = end + 1;
    }
}

SMenuItem ParseItem(const std::string& item) {
    SMenuItem parsed;
    if (item == "-") {
        parsed.fSeparator = true;
        return parsed;
    }
    const size_t equals = item.rfind('=');
    if (equals == std::string::npos) Reject(item, "no =command id");
    const std::string id = item.substr(equals + 1);
    if (id.empty() || id.size() > 9 || id.find_first_not_of("0123456789") != std::string::npos)
        Reject(item, "command id is not a number");
    parsed.fCommandId = std::stoi(id);
    if (parsed.fCommandId == 0) Reject(item, "command id 0");
    std::string label = item.substr(0, equals);
    const size_t hash = label.rfind('#');
    if (hash != std::string::npos) {
        const std::string shortcut = label.substr(hash + 1);
        if (shortcut.size() == 1) {
            parsed.fShortcutModifiers = kMenuModifier_Primary;
            parsed.fShortcutKey = UpperCase(shortcut[0]);
        } else if (shortcut.size() == 2 && IsDigit(shortcut[0]) && shortcut[0] - '0' <= kMenuModifier_Last) {
            parsed.fShortcutModifiers = shortcut[0] - '0';
            parsed.fShortcutKey = UpperCase(shortcut[1]);
        } else {
            Reject(item, "shortcut is neither #K nor #<0-4>K");
        }
        if (parsed.fShortcutKey == ' ') Reject(item, "blank shortcut key");
        label.erase(hash);
    }
    parsed.fAccessKey = TakeAccessKey(label, item);
    if (label.empty()) Reject(item, "empty label");
    parsed.fLabel = std::move(label);
    return parsed;
}

}  // namespace

SMenu ParseMenu(int32_t id, const std::string& text) {
    SMenu menu;
    menu.fId = id;
    const std::vector<std::string> items = SplitItems(text);
    std::string title = items.front();
    if (title.size() >= 2 && title.front() == '[' && title.back() == ']') {
        menu.fFrameworkMenu = true;
        title = title.substr(1, title.size() - 2);
    } else if (title == "-" || title.find_first_of("#=[]") != std::string::npos) {
        Reject(title, "not a menu title");
    }
    menu.fTitleAccessKey = TakeAccessKey(title, items.front());
    if (title.empty()) Reject(items.front(), "empty menu title");
    menu.fTitle = std::move(title);
    for (size_t i = 1; i < items.size(); ++i) menu.fItems.push_back(ParseItem(items[i]));
    return menu;
}

CMenuTable::CMenuTable(int32_t tableId, const std::string& source, const std::string& tableName)
    : fTableId(tableId) {
    for (const SResourceEntry& entry : SelectPlatformEntries(ReadResourceEntries(source, tableName), tableName)) {
        try {
            fMenus.emplace(entry.fId, ParseMenu(entry.fId, entry.fText));
        } catch (const NSMishap::XFormatViolation& fault) {
            throw NSMishap::XFormatViolation(DescribeResourceLine(tableName, entry.fLine, fault.what()));
        }
    }
}

const SMenu& CMenuTable::GetMenu(int32_t entry) const {
    const auto found = fMenus.find(entry);
    if (found == fMenus.end())
        throw NSMishap::XNotFound("no entry " + std::to_string(entry) + " in menu table " + std::to_string(fTableId));
    return found->second;
}

std::vector<const SMenu*> CMenuTable::GetMenus() const {
    std::vector<const SMenu*> menus;
    for (const auto& [id, menu] : fMenus) menus.push_back(&menu);
    return menus;
}

}  // namespace NSQuillet
