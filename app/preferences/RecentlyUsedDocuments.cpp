#include "app/preferences/RecentlyUsedDocuments.h"

#include <algorithm>

#include "app/preferences/PreferencesText.h"
#include "formats/text/UTF8Text.h"

namespace NSQuillet {

namespace {

// A NUL byte ends a path for the system: such a text names no file.
bool IsStorablePath(const std::string& path) {
    return !path.empty() && path.find('\0') == std::string::npos && IsValidUTF8(path);
}

std::string StoredDisplayName(const std::string& name) {
    return CutToCharacters(RepairUTF8(name), kPreferencesTextCharacterLimit);
}

bool Lists(const std::vector<SRecentDocument>& entries, const std::string& path) {
    return std::any_of(entries.begin(), entries.end(), [&](const SRecentDocument& e) { return e.fPath == path; });
}

}  // namespace

bool CRecentlyUsedDocuments::Add(const std::string& path, const std::string& displayName) {
    if (!IsStorablePath(path)) return false;
    std::vector<SRecentDocument> entries{{path, StoredDisplayName(displayName)}};
    for (const SRecentDocument& entry : fEntries) {
        if (entry.fPath != path && entries.size() < kMaximumEntries) entries.push_back(entry);
    }
    Assign(std::move(entries));
    return true;
}

bool CRecentlyUsedDocuments::Remove(const std::string& path) {
    if (!Lists(fEntries, path)) return false;
    std::vector<SRecentDocument> entries;
    for (const SRecentDocument& entry : fEntries) {
        if (entry.fPath != path) entries.push_back(entry);
    }
    Assign(std::move(entries));
    return true;
}

void CRecentlyUsedDocuments::Replace(const std::vector<SRecentDocument>& given) {
    std::vector<SRecentDocument> entries;
    for (const SRecentDocument& entry : given) {
        if (entries.size() == kMaximumEntries) break;
        if (IsStorablePath(entry.fPath) && !Lists(entries, entry.fPath))
            entries.push_back({entry.fPath, StoredDisplayName(entry.fDisplayName)});
    }
    Assign(std::move(entries));
}

void CRecentlyUsedDocuments::Assign(std::vector<SRecentDocument> entries) {
    if (entries == fEntries) return;
    fEntries = std::move(entries);
    // A copy, so that a listener may remove itself while being told.
    const std::vector<IRecentlyUsedDocumentsListener*> listeners = fListeners;
    for (IRecentlyUsedDocumentsListener* listener : listeners) listener->OnRecentlyUsedDocumentsChanged();
}

void CRecentlyUsedDocuments::AddListener(IRecentlyUsedDocumentsListener* listener) {
    if (listener && std::find(fListeners.begin(), fListeners.end(), listener) == fListeners.end())
        fListeners.push_back(listener);
}

void CRecentlyUsedDocuments::RemoveListener(IRecentlyUsedDocumentsListener* listener) {
    fListeners.erase(std::remove(fListeners.begin(), fListeners.end(), listener), fListeners.end());
}

}  // namespace NSQuillet
