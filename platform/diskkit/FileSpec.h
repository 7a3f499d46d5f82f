#pragma once

#include <string>

#include "platform/diskkit/FolderSpec.h"

namespace NSDiskKit {

// A file named by its folder and its UTF-8 name (one path component). Nothing is checked until
// the file is opened.
class CFileSpec {
public:
    CFileSpec() = default;
    CFileSpec(CFolderSpec folder, std::string name) : fFolder(std::move(folder)), fName(std::move(name)) {}

    // Splits at the last '/': "/a/b.lx2" is folder "/a", name "b.lx2"; "b.lx2" is folder ".".
    static CFileSpec FromPath(const std::string& path);

    const CFolderSpec& GetFolder() const { return fFolder; }
    const std::string& GetName() const { return fName; }
    // The folder's path and the name joined with one '/'.
    std::string GetPath() const;

private:
    CFolderSpec fFolder;
    std::string fName;
};

}  // namespace NSDiskKit
