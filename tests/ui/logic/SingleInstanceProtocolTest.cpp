#include "ui/logic/SingleInstanceProtocol.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace NSQuillet {
namespace {

using namespace std::string_literals;

TEST(SingleInstanceSocketPath, IsInTheRuntimeFolderElseInTheTempFolderWithTheUserId) {
    const struct {
        std::map<std::string, std::string> fEnvironment;
        const char* fPath;
    } cases[] = {
        {{{"XDG_RUNTIME_DIR", "/run/user/1000"}}, "/run/user/1000/quillet-editor"},
        {{}, "/tmp/quillet-editor-1000"},
        {{{"XDG_RUNTIME_DIR", ""}}, "/tmp/quillet-editor-1000"},
        {{{"XDG_RUNTIME_DIR", "relative/run"}}, "/tmp/quillet-editor-1000"},
    };
    for (const auto& c : cases) {
        const auto read = [&](const char* name) -> const char* {
            const auto found = c.fEnvironment.find(name);
            return found == c.fEnvironment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(SingleInstanceSocketPath(read, 1000, "/tmp"), c.fPath);
    }
}

TEST(OpenRequest, CarriesPathsWithAnyCharacterButNul) {
    const std::vector<std::string> paths = {"/home/a/Loop 1.lx2", "/home/a/line\nbreak.wav", "/ü/[x].aif"};
    const std::string bytes = EncodeOpenRequest(paths);
    EXPECT_EQ(bytes, "quillet-open 1\n/home/a/Loop 1.lx2\0/home/a/line\nbreak.wav\0/ü/[x].aif\0\0"s);
    const SOpenRequest request = DecodeOpenRequest(bytes);
    EXPECT_EQ(request.fState, EOpenRequestState::kComplete);
    EXPECT_EQ(request.fPaths, paths);
}

TEST(OpenRequest, WithoutPathsIsTheHeaderAndTheEnd) {
    EXPECT_EQ(EncodeOpenRequest({}), "quillet-open 1\n\0"s);
    EXPECT_EQ(EncodeOpenRequest({"", "/a.wav"}), "quillet-open 1\n/a.wav\0\0"s);
    const SOpenRequest request = DecodeOpenRequest("quillet-open 1\n\0"s);
    EXPECT_EQ(request.fState, EOpenRequestState::kComplete);
    EXPECT_TRUE(request.fPaths.empty());
}

TEST(OpenRequest, ReadsPartsAsIncompleteAndRejectsWhatIsNotOne) {
    const struct {
        std::string fBytes;
        EOpenRequestState fState;
    } cases[] = {
        {"", EOpenRequestState::kIncomplete},
        {"quillet-op", EOpenRequestState::kIncomplete},
        {"quillet-open 1\n", EOpenRequestState::kIncomplete},
        {"quillet-open 1\n/a.wav", EOpenRequestState::kIncomplete},
        {"quillet-open 1\n/a.wav\0"s, EOpenRequestState::kIncomplete},
        {"quillet-open 2\n/a.wav\0\0"s, EOpenRequestState::kInvalid},
        {"GET / HTTP/1.1\r\n", EOpenRequestState::kInvalid},
        {"quillet-open 1\n/a.wav\0\0/b.wav\0"s, EOpenRequestState::kInvalid},
        {"quillet-open 1\n" + std::string(kMaximumOpenRequestBytes, 'a'), EOpenRequestState::kInvalid},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeOpenRequest(c.fBytes).fState, c.fState) << c.fBytes.substr(0, 30);
}

TEST(AbsolutePaths, ResolvesRelativeArgumentsFromTheWorkingFolder) {
    EXPECT_EQ(AbsolutePaths({"demo.lx2", "/tmp/a.wav", "../b/c.aif", "./d.wav", ""}, "/home/u/loops"),
              (std::vector<std::string>{"/home/u/loops/demo.lx2", "/tmp/a.wav", "/home/u/b/c.aif", "/home/u/loops/d.wav"}));
}

}  // namespace
}  // namespace NSQuillet
