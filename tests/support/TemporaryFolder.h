#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace NSQuilletTest {

// A fresh folder under the system's temporary folder, removed with everything in it.
class CTemporaryFolder {
public:
    CTemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        fPath = pattern;
    }
    ~CTemporaryFolder() {
        std::error_code ignored;
        std::filesystem::permissions(fPath, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(fPath, ignored);
    }
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    const std::string& Path() const { return fPath; }
    std::string PathOf(const std::string& name) const { return fPath + "/" + name; }

    std::string Make(const std::string& name, const std::string& bytes) const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Names in the folder, hidden ones included.
    size_t CountEntries() const {
        return size_t(std::distance(std::filesystem::directory_iterator(fPath), std::filesystem::directory_iterator()));
    }

private:
    std::string fPath;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace NSQuilletTest
