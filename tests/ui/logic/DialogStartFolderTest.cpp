#include "ui/logic/DialogStartFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TemporaryFolder.h"

namespace NSQuillet {
namespace {

TEST(DialogStartFolder, IsTheRecentFolderOrItsNearestFolderLeft) {
    NSQuilletTest::CTemporaryFolder folder;
    std::filesystem::create_directory(folder.PathOf("Loops"));
    const std::string file = folder.Make("Loops/notes.txt", "x");
    EXPECT_EQ(DialogStartFolder(""), "");
    EXPECT_EQ(DialogStartFolder(folder.PathOf("Loops")), folder.PathOf("Loops"));
    EXPECT_EQ(DialogStartFolder(folder.PathOf("Loops") + "/"), folder.PathOf("Loops"));
    // Gone since, two levels deep: the nearest folder that is left.
    EXPECT_EQ(DialogStartFolder(folder.PathOf("Loops/Gone/Deeper")), folder.PathOf("Loops"));
    // A file where the folder was: its folder.
    EXPECT_EQ(DialogStartFolder(file), folder.PathOf("Loops"));
}

}  // namespace
}  // namespace NSQuillet
