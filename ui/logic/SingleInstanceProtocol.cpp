#include "ui/logic/SingleInstanceProtocol.h"

#include <algorithm>
#include <filesystem>

namespace NSQuillet {

namespace {

constexpr const char kHeader[] = "quillet-open 1\n";

}  // namespace

std::string SingleInstanceSocketPath(const FEnvironmentReader& read, unsigned userId, const std::string& tempFolder) {
    const char* runtime = read("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/quillet-editor";
    return tempFolder + "/quillet-editor-" + std::to_string(userId);
}

std::string EncodeOpenRequest(const std::vector<std::string>& paths) {
    std::string bytes = kHeader;
    for (const std::string& path : paths) {
        if (path.empty()) continue;
        bytes += path;
        bytes += '\0';
    }
    bytes += '\0';
    return bytes;
}

SOpenRequest DecodeOpenRequest(const std::string& bytes) {
    const std::string header = kHeader;
    SOpenRequest request;
    if (bytes.size() > kMaximumOpenRequestBytes) {
        request.fState = EOpenRequestState::kInvalid;
        return request;
    }
    if (bytes.compare(0, header.size(), header, 0, std::min(bytes.size(), header.size())) != 0) {
        request.fState = EOpenRequestState::kInvalid;
        return request;
    }
    if (bytes.size() <= header.size()) return request;
    size_t position = header.size();
    std::vector<std::string> paths;
    while (position < bytes.size()) {
        const size_t end = bytes.find('\0', position);
        if (end == std::string::npos) return request;
        if (end == position) {
            request.fState = end + 1 == bytes.size() ? EOpenRequestState::kComplete : EOpenRequestState::kInvalid;
            if (request.fState == EOpenRequestState::kComplete) request.fPaths = std::move(paths);
            return request;
        }
        paths.push_back(bytes.substr(position, end - position));
        position = end + 1;
    }
    return request;
}

std::vector<std::string> AbsolutePaths(const std::vector<std::string>& arguments, const std::string& workingFolder) {
    std::vector<std::string> paths;
    for (const std::string& argument : arguments) {
        if (argument.empty()) continue;
        const std::filesystem::path path(argument);
        paths.push_back((path.is_absolute() ? path : std::filesystem::path(workingFolder) / path).lexically_normal().string());
    }
    return paths;
}

}  // namespace NSQuillet
