#pragma once

namespace NSQuillet {

// Told once for every change of the recent-documents list (the menus are rebuilt then).
// User-interface thread.
class IRecentlyUsedDocumentsListener {
public:
    virtual void OnRecentlyUsedDocumentsChanged() = 0;

protected:
    ~IRecentlyUsedDocumentsListener() = default;
};

}  // namespace NSQuillet
