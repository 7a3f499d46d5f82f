#pragma once

#include <vector>

#include "app/preferences/RecentlyUsedDocuments.h"
#include "formats/lux2/ABCFormat.h"

namespace NSQuillet {

// RECD: the recent documents, most recent first: the list's version, a u8 count (at most 8),
// then per entry the path and the display name as text blocks (the name read back as at most
// 95 characters). Whether the files still exist is for the reader of the preferences to ask.
class CPreferencesRecentChunk final : public CABCFormat {
public:
    // A version this program cannot read: XUnsupportedFormat "incompatible prefs file version";
    // more than 8 entries: XFormatViolation "bad prefs file recent document count"; a damaged
    // version or text block, a body cut short or longer than its entries: XFormatViolation.
    explicit CPreferencesRecentChunk(CMedia& body);
    // More than 8 entries, or a path that is empty, holds a NUL or is not UTF-8, is an
    // XStdInvalidArgument.
    explicit CPreferencesRecentChunk(std::vector<SRecentDocument> entries);

    const std::vector<SRecentDocument>& GetEntries() const { return fEntries; }
    void Write(CMedia& media) const override;

private:
    std::vector<SRecentDocument> fEntries;
};

}  // namespace NSQuillet
