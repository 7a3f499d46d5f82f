#include "ui/logic/AlertButtons.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace NSQuillet {
namespace {

TEST(AlertButtonLabel, TurnsTheAccessKeyMarkIntoTheWidgetLibrarysAndKeepsAmpersands) {
    const struct {
        const char* fTitle;
        const char* fLabel;
    } cases[] = {
        {"OK", "OK"},           {"_Yes", "&Yes"},   {"Save _As", "Save &As"}, {"R&B", "R&&B"},
        {"_R&B", "&R&&B"},      {"Save_", "Save_"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AlertButtonLabel(c.fTitle), c.fLabel) << c.fTitle;
}

TEST(AlertEscapeButton, IsCancelThenNoThenTheOnlyButton) {
    const struct {
        std::vector<std::string> fTitles;
        std::optional<size_t> fEscape;
    } cases[] = {
        {{"Cancel", "Open Anyway"}, 0},
        {{"No", "Yes"}, 0},
        {{"_Yes", "_No", "Cancel"}, 2},  // Cancel wins over No: it changes nothing
        {{"Yes", "_no"}, 1},
        {{"OK"}, 0},
        {{"Open Anyway"}, 0},
        {{"Left", "Right"}, std::nullopt},
        {{"Cancellation", "Nothing"}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(AlertEscapeButton(c.fTitles), c.fEscape) << c.fTitles.size();
}

TEST(AlertDisplayText, MakesTheTablesLineBreaksNewlines) {
    EXPECT_EQ(AlertDisplayText("One.\rTwo."), "One.\nTwo.");
    EXPECT_EQ(AlertDisplayText("One.\r\nTwo.\r"), "One.\nTwo.\n");
    EXPECT_EQ(AlertDisplayText("No break"), "No break");
}

}  // namespace
}  // namespace NSQuillet
