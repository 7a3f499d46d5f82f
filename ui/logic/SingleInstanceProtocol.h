#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ui/logic/DisplayEnvironment.h"

namespace NSQuillet {

// Where the running editor of this user listens: "quillet-editor" in $XDG_RUNTIME_DIR (private
// to the user) when it is set to an absolute folder, else "quillet-editor-UID" in `tempFolder`.
std::string SingleInstanceSocketPath(const FEnvironmentReader& read, unsigned userId, const std::string& tempFolder);

// What a second editor process sends to the running one: a header line, each path followed by
// a NUL, then an empty entry (a second NUL) that ends the request. Empty paths are left out.
std::string EncodeOpenRequest(const std::vector<std::string>& paths);

enum class EOpenRequestState { kIncomplete, kComplete, kInvalid };

struct SOpenRequest {
    EOpenRequestState fState = EOpenRequestState::kIncomplete;
    std::vector<std::string> fPaths;  // when complete
};

// Reads the bytes received so far: complete, still incomplete, or invalid (another header,
// bytes after the end, more than kMaximumOpenRequestBytes).
SOpenRequest DecodeOpenRequest(const std::string& bytes);

inline constexpr size_t kMaximumOpenRequestBytes = size_t(1) << 20;
// The running editor's answer once it has taken the paths.
inline constexpr const char* kOpenRequestAcknowledgement = "ok\n";

// `arguments` as absolute paths from `workingFolder` (an argument already absolute stays).
std::vector<std::string> AbsolutePaths(const std::vector<std::string>& arguments, const std::string& workingFolder);

}  // namespace NSQuillet
