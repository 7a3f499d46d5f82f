#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/preferences/RecentlyUsedDocumentsListener.h"

namespace NSQuillet {

// One entry of the recent-documents list: the file's path and the name the menu shows, both
// UTF-8.
struct SRecentDocument {
    std::string fPath;
    std::string fDisplayName;

    friend bool operator==(const SRecentDocument& a, const SRecentDocument& b) {
        return a.fPath == b.fPath && a.fDisplayName == b.fDisplayName;
    }
    friend bool operator!=(const SRecentDocument& a, const SRecentDocument& b) { return !(a == b); }
};

// The documents opened last, most recent first: at most eight, one entry per path, display
// names of at most 95 characters (as the preferences file stores them). Every change tells the
// listeners once; an operation that changes nothing tells no one. User-interface thread.
class CRecentlyUsedDocuments {
public:
    static constexpr size_t kMaximumEntries = 8;

    CRecentlyUsedDocuments() = default;
    CRecentlyUsedDocuments(const CRecentlyUsedDocuments&) = delete;
    CRecentlyUsedDocuments& operator=(const CRecentlyUsedDocuments&) = delete;

    const std::vector<SRecentDocument>& GetEntries() const { return fEntries; }

    // Puts the document first, moving its entry when the path is listed; the ninth entry
    // falls off. A path that is empty, holds a NUL or is not UTF-8 names no file the list can
    // store: not listed (false).
    // A display name that is not UTF-8 is repaired.
    bool Add(const std::string& path, const std::string& displayName);
    // Removes the entry of `path`; false when there is none.
    bool Remove(const std::string& path);
    // The whole list at once (from the preferences file): the first eight storable entries,
    // a path's later entries dropped, names limited as Add does.
    void Replace(const std::vector<SRecentDocument>& entries);

    // Not owned; a listener must be removed before it is destroyed.
    void AddListener(IRecentlyUsedDocumentsListener* listener);
    void RemoveListener(IRecentlyUsedDocumentsListener* listener);

private:
    void Assign(std::vector<SRecentDocument> entries);

    std::vector<SRecentDocument> fEntries;
    std::vector<IRecentlyUsedDocumentsListener*> fListeners;
};

}  // namespace NSQuillet
