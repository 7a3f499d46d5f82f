#include "ui/logic/AboutContents.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "foundation/Version.h"

namespace NSQuillet {
namespace {

TEST(AboutContents, TheVersionTextCarriesVersionAndBuild) {
    EXPECT_EQ(CAboutContents::VersionText("1.7", "301"), "1.7 (build 301)");
    const std::string text = CAboutContents::GetVersionText();
    const std::string start = std::string(kProgramVersion) + " (build ";
    ASSERT_EQ(text.compare(0, start.size(), start), 0) << text;
    const std::string build = text.substr(start.size(), text.size() - start.size() - 1);
    EXPECT_FALSE(build.empty());
    EXPECT_EQ(build.find_first_not_of("0123456789"), std::string::npos) << text;
    EXPECT_EQ(text.back(), ')');
}

TEST(AboutContents, NameTheLinkedLibrariesWithTheirLicences) {
    std::set<std::string> names;
    for (const SAboutLibrary& library : CAboutContents::GetLibraries()) {
        names.insert(library.fName);
        EXPECT_FALSE(library.fLicence.empty()) << library.fName;
    }
    EXPECT_EQ(names, (std::set<std::string>{"Qt 6", "PortAudio", "ALSA library", "JACK", "libsndfile"}));
}

}  // namespace
}  // namespace NSQuillet
