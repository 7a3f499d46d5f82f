#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "app/resources/Alert.h"
#include "app/resources/MenuTable.h"
#include "app/resources/ResourceKind.h"

namespace NSQuillet {

// Replaces "^0" to "^3" in one pass by `arguments` (an argument's own "^n" stays as it is);
// a placeholder without its argument becomes empty, any other "^" stays.
std::string ReplacePlaceholders(const std::string& text, const std::array<std::string, 4>& arguments);

// Names one text, alert or menu of the program's resources, with up to four argument texts for
// "^0" to "^3". A value: cheap to copy, resolved only when asked. Resolving reads the compiled
// tables (CProgramResources); an unknown table or entry is an XNotFound.
class CResourceReference {
public:
    static constexpr size_t kMaxArguments = 4;

    CResourceReference(EResourceKind kind, int32_t tableId, int32_t entryId) noexcept
        : fKind(kind), fTableId(tableId), fEntryId(entryId) {}

    // A copy of this reference with the arguments for "^0", "^1", ... in order.
    template <class... TArguments>
    CResourceReference With(TArguments&&... arguments) const {
        static_assert(sizeof...(TArguments) <= kMaxArguments, "at most four arguments");
        CResourceReference copy = *this;
        size_t index = 0;
        ((copy.fArguments[index++] = std::string(std::forward<TArguments>(arguments))), ...);
        (void)index;
        return copy;
    }

    EResourceKind GetKind() const { return fKind; }
    int32_t GetTableId() const { return fTableId; }
    int32_t GetEntryId() const { return fEntryId; }
    const std::array<std::string, kMaxArguments>& GetArguments() const { return fArguments; }

    // The text with its arguments: a string entry, or an alert entry in its inline syntax.
    std::string GetText() const;
    // An alert reference's alert; the arguments are put into heading, body and buttons after
    // parsing, so an argument with brackets (a file name) cannot change the alert's parts.
    SAlert GetAlert() const;
    // A menu reference's menu (arguments do not apply).
    const SMenu& GetMenu() const;

    bool operator==(const CResourceReference& other) const {
        return fKind == other.fKind && fTableId == other.fTableId && fEntryId == other.fEntryId &&
               fArguments == other.fArguments;
    }
    bool operator!=(const CResourceReference& other) const { return !(*this == other); }

private:
    void RequireKind(EResourceKind kind) const;

    EResourceKind fKind;
    int32_t fTableId;
    int32_t fEntryId;
    std::array<std::string, kMaxArguments> fArguments;
};

// References into the program's own tables (strings 129, alerts 129, menus 128) unless another
// table is named.
CResourceReference StringReference(int32_t entryId);
CResourceReference FrameworkStringReference(int32_t entryId);
CResourceReference FrameworkShortTextReference(int32_t entryId);
CResourceReference AlertReference(int32_t entryId);
CResourceReference FrameworkAlertReference(int32_t entryId);
CResourceReference MenuReference(int32_t entryId);

// Presents the alert of `alert` (an alert reference) and answers the button pressed (33 for the
// rightmost, then 34, 35), or 0 when there is no presenter. User-interface thread; blocks.
int32_t ShowAlert(const CResourceReference& alert);

}  // namespace NSQuillet
