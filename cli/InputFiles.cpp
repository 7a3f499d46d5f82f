#include "cli/InputFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace NSQuillet::NSCli {

namespace fs = std::filesystem;

namespace {

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool HasInputExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* known : {".wav", ".wave", ".aif", ".aiff", ".lx2", ".lux", ".qlt"}) {
        if (extension == known) return true;
    }
    return false;
}

std::string AddFolder(const std::string& folder, std::vector<SInputFile>& files) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && HasInputExtension(it->path())) found.push_back(it->path());
    }
    if (error) return "cannot read the folder " + folder + ": " + error.message();
    std::sort(found.begin(), found.end());
    for (const fs::path& path : found) {
        const fs::path relative = path.lexically_relative(folder);
        files.push_back({path.string(), (relative.parent_path() / relative.stem()).string()});
    }
    return "";
}

}  // namespace

bool NamesSeveralInputs(const std::vector<std::string>& paths) {
    return paths.size() > 1 || (paths.size() == 1 && IsFolder(paths.front()));
}

std::string CollectInputFiles(const std::vector<std::string>& paths, bool recursive, std::vector<SInputFile>& files) {
    for (const std::string& path : paths) {
        if (!IsFolder(path)) {
            files.push_back({path, fs::path(path).stem().string()});
            continue;
        }
        if (!recursive) return path + " is a folder: give --recursive to take its files";
        if (std::string problem = AddFolder(path, files); !problem.empty()) return problem;
    }
    return "";
}

}  // namespace NSQuillet::NSCli
