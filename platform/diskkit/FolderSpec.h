#pragma once

#include <string>

namespace NSDiskKit {

// A folder named by its UTF-8 path. Nothing is checked until the folder is used.
class CFolderSpec {
public:
    CFolderSpec() = default;
    explicit CFolderSpec(std::string path) : fPath(std::move(path)) {}

    const std::string& GetPath() const { return fPath; }

private:
    std::string fPath;
};

}  // namespace NSDiskKit
