#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ui/logic/DisplayEnvironment.h"

namespace NSQuillet {
namespace {

struct SDisplayCase {
    std::map<std::string, std::string> fVariables;
    bool fHasDisplay;
};

TEST(DisplayEnvironmentTest, AnyOfTheThreeVariablesSetAndNotEmptyGivesADisplay) {
    const SDisplayCase cases[] = {
        {{}, false},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}, false},
        {{{"HOME", "/root"}}, false},
        {{{"DISPLAY", ":0"}}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {{{"DISPLAY", ""}, {"QT_QPA_PLATFORM", "offscreen"}}, true},
    };
    for (const SDisplayCase& test : cases) {
        const auto read = [&](const char* name) -> const char* {
            const auto found = test.fVariables.find(name);
            return found == test.fVariables.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(HasDisplayEnvironment(read), test.fHasDisplay) << test.fVariables.size() << " variables";
    }
}

}  // namespace
}  // namespace NSQuillet
