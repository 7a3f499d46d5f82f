#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/DiskKitStatus.h"
#include "foundation/FailureWord.h"
#include "foundation/Mishap.h"
#include "foundation/ScreenKitStatus.h"
#include "foundation/StatusTranslation.h"

using namespace NSMishap;

namespace {

struct SThrown {
    uint32_t fCode = 0;
    std::string fMessage;
    std::string fTarget;
    std::string fErrorCode;
    bool fMishap = false;
};

template <class TCall>
SThrown Catch(TCall call) {
    SThrown thrown;
    try {
        call();
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::exception& failure) {
        thrown.fCode = GetFailureCode(failure);
        thrown.fMessage = failure.what();
        if (const auto* mishap = FindMishap(failure)) {
            thrown.fMishap = true;
            thrown.fTarget = mishap->GetProperty(kProperty_TargetObjectType).value_or("");
            thrown.fErrorCode = mishap->GetProperty(kProperty_ErrorCode).value_or("");
        }
    }
    return thrown;
}

const SStatusTable kEmptyTable = {5000, nullptr, 0, nullptr};

}  // namespace

TEST(FailureWord, PacksAndRecognisesTheMarker) {
    // 22 << 24 = 0x16000000, group 0, index 0, marker 0xBA.
    EXPECT_EQ(PackFailureWord(22, 0, 0), 0x160000BAu);
    // 30 << 24 | 1 << 16 | 9 << 8 | 0xBA
    EXPECT_EQ(PackFailureWord(30, 1, 9), 0x1E0109BAu);
    EXPECT_TRUE(IsFailureWord(0x160000BAu));
    EXPECT_FALSE(IsFailureWord(0x160000BBu));
    EXPECT_FALSE(IsFailureWord(0x960000BAu));
    SFailureWord word = UnpackFailureWord(0x1E0109BAu);
    EXPECT_EQ(word.fCode, 30u);
    EXPECT_EQ(word.fGroup, 1u);
    EXPECT_EQ(word.fIndex, 9u);
}

TEST(StatusTranslation, EncodedWordsAbove100000DecodeToTheirFailure) {
    auto formatViolation = Catch([] { ThrowForStatus(100000 + 0x160000BAu, kEmptyTable, "decode"); });
    EXPECT_EQ(formatViolation.fCode, 22u);
    EXPECT_EQ(formatViolation.fTarget, "");
    EXPECT_EQ(formatViolation.fErrorCode, std::to_string(100000 + 0x160000BAu));

    // Group 1, index 6 is "disk".
    auto outOfSpace = Catch([] { ThrowForStatus(100000 + PackFailureWord(27, 1, 6), kEmptyTable, "write"); });
    EXPECT_EQ(outOfSpace.fCode, 27u);
    EXPECT_EQ(outOfSpace.fTarget, "disk");

    static const char kNames[2][kTargetObjectTypeNameField] = {"first_thing", "second_thing"};
    static const STargetObjectTypeTable kCallerTypes = {kNames, 2};
    const SStatusTable withCallerTypes = {5000, nullptr, 0, &kCallerTypes};
    auto callerType = Catch([&] { ThrowForStatus(100000 + PackFailureWord(34, 2, 1), withCallerTypes, "find"); });
    EXPECT_EQ(callerType.fCode, 34u);
    EXPECT_EQ(callerType.fTarget, "second_thing");
}

TEST(StatusTranslation, RefusesIllegalCodesAndGroupsInEncodedWords) {
    struct SCase {
        uint32_t fWord;
        const char* fMessage;
    } cases[] = {
        {PackFailureWord(4, 0, 0), "Illegal Mishap failure_code!"},
        {PackFailureWord(44, 0, 0), "Illegal Mishap failure_code!"},
        {PackFailureWord(22, 3, 0), "Unknown group for target object type!"},
        {PackFailureWord(22, 1, 32), "Unknown index for target object type!"},
        {PackFailureWord(22, 2, 0), "Unknown index for target object type!"},
    };
    for (const auto& row : cases) {
        auto thrown = Catch([&] { ThrowForStatus(100000 + row.fWord, kEmptyTable, "x"); });
        EXPECT_EQ(thrown.fCode, 9u) << row.fWord;
        EXPECT_EQ(thrown.fMessage, row.fMessage);
    }
}

TEST(StatusTranslation, UnknownStatusesBecomePlainStandardExceptions) {
    // Below 100000, and above it without the marker byte.
    for (uint32_t status : {12345u, 100000u + 0x160000BBu, 99999u}) {
        auto thrown = Catch([&] { ThrowForStatus(status, kEmptyTable, "odd call"); });
        EXPECT_FALSE(thrown.fMishap);
        EXPECT_EQ(thrown.fMessage, "odd call (status " + std::to_string(status) + ")");
    }
}

TEST(ScreenKitStatus, SuccessNeverThrowsAndEachStatusMapsToItsFailure) {
    EXPECT_NO_THROW(CheckScreenKitStatus(12000, "draw"));
    struct SCase {
        uint32_t fStatus, fCode;
        const char* fTarget;
    } cases[] = {
        {12001, 16, ""}, {12002, 11, ""}, {12003, 14, ""}, {12004, 9, ""},  {12005, 22, ""},
        {12006, 21, ""}, {12007, 17, ""}, {12008, 15, ""}, {12009, 21, "interface"}, {12010, 21, "api"},
    };
    for (const auto& row : cases) {
        auto thrown = Catch([&] { CheckScreenKitStatus(row.fStatus, "window call"); });
        EXPECT_EQ(thrown.fCode, row.fCode) << row.fStatus;
        EXPECT_EQ(thrown.fTarget, row.fTarget) << row.fStatus;
        EXPECT_EQ(thrown.fErrorCode, std::to_string(row.fStatus));
        EXPECT_EQ(thrown.fMessage, "window call");
    }
}

TEST(DiskKitStatus, FileSystemStatusesMapToFailureClassesAndTargets) {
    using namespace NSDiskKit;
    EXPECT_NO_THROW(CheckDiskKitStatus(kDiskKitSuccess, "open"));
    struct SCase {
        uint32_t fStatus, fCode;
        const char* fTarget;
    } cases[] = {
        {kDiskKitNotFound, 34, "file"},      {kDiskKitFolderNotFound, 34, "directory"},
        {kDiskKitPermission, 36, "file"},    {kDiskKitLocked, 37, "file"},
        {kDiskKitReadOnly, 38, "file"},      {kDiskKitOutOfSpace, 27, "disk"},
        {kDiskKitReadFailure, 25, "file"},   {kDiskKitWriteFailure, 26, "file"},
        {kDiskKitCreateFailure, 29, "file"}, {kDiskKitOpenFailure, 30, "file"},
        {kDiskKitCloseFailure, 31, "file"},  {kDiskKitAlreadyExists, 35, "file"},
        {kDiskKitBadArgument, 11, ""},       {kDiskKitOutOfMemory, 16, "memory"},
        {kDiskKitUnknownInterface, 21, "interface"},
    };
    for (const auto& row : cases) {
        auto thrown = Catch([&] { CheckDiskKitStatus(row.fStatus, "disk call"); });
        EXPECT_EQ(thrown.fCode, row.fCode) << row.fStatus;
        EXPECT_EQ(thrown.fTarget, row.fTarget) << row.fStatus;
        EXPECT_EQ(thrown.fErrorCode, std::to_string(row.fStatus));
    }
}
