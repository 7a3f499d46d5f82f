#include "ui/logic/FatalFailure.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"

namespace NSQuillet {
namespace {

constexpr const char* kCannotRun = "Quillet cannot run because of an unexpected error.";
constexpr const char* kNeedsNewerSystem =
    "Quillet needs a newer version of a system library to run.\nPlease update your system's Qt and audio libraries.";

TEST(FatalFailureText, NamesAMissingSystemPartElseAnUnexpectedError) {
    const struct {
        const char* fTarget;  // null: no target
        const char* fText;
    } cases[] = {
        {NSMishap::kTargetObjectType_Interface, kNeedsNewerSystem},
        {NSMishap::kTargetObjectType_Api, kNeedsNewerSystem},
        {NSMishap::kTargetObjectType_Disk, kCannotRun},
        {"interfaces", kCannotRun},
        {nullptr, kCannotRun},
    };
    for (const auto& c : cases) {
        NSMishap::XNotFound failure("library function missing");
        if (c.fTarget) failure.AddProperty(NSMishap::kProperty_TargetObjectType, c.fTarget);
        EXPECT_EQ(FatalFailureText(&failure), c.fText) << (c.fTarget ? c.fTarget : "none");
    }
}

TEST(FatalFailureText, IsAnUnexpectedErrorForOtherFailures) {
    const std::runtime_error standard("boom");
    EXPECT_EQ(FatalFailureText(&standard), kCannotRun);
    EXPECT_EQ(FatalFailureText(nullptr), kCannotRun);
}

}  // namespace
}  // namespace NSQuillet
