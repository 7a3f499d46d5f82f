#include "ui/logic/DialogStartFolder.h"

#include <filesystem>
#include <system_error>

namespace NSQuillet {

namespace fs = std::filesystem;

std::string DialogStartFolder(const std::string& folder) {
    if (folder.empty()) return "";
    std::error_code error;
    fs::path path = fs::absolute(fs::path(folder), error).lexically_normal();
    if (error) return "";
    while (!fs::is_directory(path, error)) {
        if (!path.has_relative_path()) return "";
        fs::path parent = path.parent_path();
        if (parent == path) return "";
        path = parent;
    }
    std::string text = path.string();
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace NSQuillet
