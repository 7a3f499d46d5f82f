#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace NSQuillet {

// Modifier combinations of a menu shortcut, by the digit after "#". 2 to 4 are the window
// library's further combinations.
inline constexpr int32_t kMenuModifier_None = 0;
inline constexpr int32_t kMenuModifier_Primary = 1;
inline constexpr int32_t kMenuModifier_Last = 4;

struct SMenuItem {
    bool fSeparator = false;
    std::string fLabel;                    // without the access-key underscore
    char fAccessKey = '\0';                // as written; '\0' for none
    char fShortcutKey = '\0';              // upper case for letters; '\0' for none
    int32_t fShortcutModifiers = kMenuModifier_None;
    int32_t fCommandId = 0;
};

struct SMenu {
    int32_t fId = 0;
    std::string fTitle;            // for a framework menu the name of its kind ("File menu title")
    char fTitleAccessKey = '\0';
    bool fFrameworkMenu = false;   // the items are added to the framework's own menu of that kind
    std::vector<SMenuItem> fItems;
};

// One menu entry's text: "Title;_Item#O=50004;-;..." (see SMenu). A malformed item (no command
// id, a second access key, a bad shortcut) is an XFormatViolation saying what is wrong.
SMenu ParseMenu(int32_t id, const std::string& text);

// A menu table (SMNU) of this platform's entries. Immutable after construction; any thread.
class CMenuTable {
public:
    // A malformed line or menu is an XFormatViolation naming `tableName` and the line.
    CMenuTable(int32_t tableId, const std::string& source, const std::string& tableName);

    int32_t GetTableId() const { return fTableId; }
    // An unknown entry is an XNotFound.
    const SMenu& GetMenu(int32_t entry) const;
    // In id order.
    std::vector<const SMenu*> GetMenus() const;

private:
    int32_t fTableId;
    std::map<int32_t, SMenu> fMenus;
};

}  // namespace NSQuillet
