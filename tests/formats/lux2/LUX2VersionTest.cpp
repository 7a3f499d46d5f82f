#include <gtest/gtest.h>

#include <cstdint>

#include "formats/lux2/Version.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "tests/formats/lux2/LUX2TestSupport.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

TBytes Written(const CVersion& version) {
    COwnedMemoryMedia media;
    version.Write(media);
    return BytesOf(media);
}

CVersion ReadFrom(const TBytes& bytes) {
    COwnedMemoryMedia media(bytes.size(), bytes.data());
    return CVersion::Read(media);
}

TEST(LUX2Version, WritesShortAndLongForms) {
    struct SCase {
        const char* fName;
        CVersion fVersion;
        TBytes fBytes;
    };
    const SCase cases[] = {
        {"2.0 short", CVersion(2, 0), {0xBC, 2, 0, 0, 0}},
        {"1.2.3 short", CVersion(1, 2, 3), {0xBC, 1, 2, 3, 0}},
        {"254.254.254 still short", CVersion(254, 254, 254), {0xBC, 254, 254, 254, 0}},
        // Kind 2 and build 7 need the long form: marker, four 0xFF, six big-endian words.
        {"1.2.3 kind 2 build 7", CVersion(1, 2, 3, 2, 7),
         Cat({U8(0xBC), U32(0xFFFFFFFF), U32(1), U32(2), U32(3), U32(2), U32(7), U32(0)})},
        {"major 255", CVersion(255, 0),
         Cat({U8(0xBC), U32(0xFFFFFFFF), U32(255), U32(0), U32(0), U32(4), U32(0), U32(0)})},
        {"final with a build", CVersion(3, 0, 0, 4, 1),
         Cat({U8(0xBC), U32(0xFFFFFFFF), U32(3), U32(0), U32(0), U32(4), U32(1), U32(0)})},
        {"a sixth number", CVersion(1, 0, 0, 4, 0, 9),
         Cat({U8(0xBC), U32(0xFFFFFFFF), U32(1), U32(0), U32(0), U32(4), U32(0), U32(9)})},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        EXPECT_EQ(Written(c.fVersion), c.fBytes);
        EXPECT_EQ(c.fVersion.GetStoredSize(), c.fBytes.size());
        const CVersion back = ReadFrom(c.fBytes);
        EXPECT_EQ(back.GetMajor(), c.fVersion.GetMajor());
        EXPECT_EQ(back.GetMinor(), c.fVersion.GetMinor());
        EXPECT_EQ(back.GetRevision(), c.fVersion.GetRevision());
        EXPECT_EQ(back.GetKind(), c.fVersion.GetKind());
        EXPECT_EQ(back.GetBuild(), c.fVersion.GetBuild());
        EXPECT_EQ(back.GetSixth(), c.fVersion.GetSixth());
    }
}

TEST(LUX2Version, ReadsTheShortFormIgnoringItsLastByteAndLeavesThePositionAfterTheBlock) {
    const TBytes bytes = {0xBC, 1, 2, 3, 0x77, 0xAA};
    COwnedMemoryMedia media(bytes.size(), bytes.data());
    const CVersion version = CVersion::Read(media);
    EXPECT_EQ(version, CVersion(1, 2, 3));
    EXPECT_EQ(version.GetKind(), 4u);
    EXPECT_EQ(media.GetPosition(), 5u);
}

TEST(LUX2Version, RefusesDamagedBlocks) {
    const TBytes longPrefix = Cat({U8(0xBC), U32(0xFFFFFFFF), U32(1), U32(0), U32(0)});
    struct SCase {
        const char* fName;
        TBytes fBytes;
    };
    const SCase cases[] = {
        {"empty", {}},
        {"four bytes", {0xBC, 2, 0, 0}},
        {"another marker", {0xBD, 2, 0, 0, 0}},
        {"long form cut short", Cat({longPrefix, U32(4), U32(0), TBytes{0, 0, 0}})},
        {"long form kind 0", Cat({longPrefix, U32(0), U32(0), U32(0)})},
        {"long form kind 5", Cat({longPrefix, U32(5), U32(0), U32(0)})},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        EXPECT_FAILURE(ReadFrom(c.fBytes), XFormatViolation, "");
    }
    EXPECT_FAILURE(CVersion(1, 0, 0, 0), XStdInvalidArgument, "release kind outside 1..4");
}

TEST(LUX2Version, OrdersByNumbersThenKindThenBuildWithTheFinalReleaseLast) {
    struct SCase {
        const char* fName;
        CVersion fEarlier;
        CVersion fLater;
    };
    const SCase cases[] = {
        {"major", CVersion(1, 9, 9), CVersion(2, 0)},
        {"minor", CVersion(2, 0, 9), CVersion(2, 1)},
        {"revision", CVersion(2, 1, 0), CVersion(2, 1, 1)},
        {"kind", CVersion(2, 0, 0, 3, 99), CVersion(2, 0, 0, 4, 1)},
        {"build of a beta", CVersion(2, 0, 0, 2, 1), CVersion(2, 0, 0, 2, 2)},
        {"beta build 0 is just the first", CVersion(2, 0, 0, 2, 0), CVersion(2, 0, 0, 2, 1)},
        {"final build 0 after its builds", CVersion(2, 0, 0, 4, 500), CVersion(2, 0, 0, 4, 0)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        EXPECT_LT(c.fEarlier.Compare(c.fLater), 0);
        EXPECT_GT(c.fLater.Compare(c.fEarlier), 0);
        EXPECT_TRUE(c.fEarlier < c.fLater);
        EXPECT_FALSE(c.fLater <= c.fEarlier);
    }
    EXPECT_EQ(CVersion(1, 0, 0, 4, 0, 7), CVersion(1, 0)) << "the sixth number takes no part";
}

TEST(LUX2Version, TellsRangeAndFamily) {
    const CVersion lowest(1, 0);
    const CVersion highest(3, 0);
    EXPECT_TRUE(CVersion(1, 0).IsInRange(lowest, highest));
    EXPECT_TRUE(CVersion(3, 0).IsInRange(lowest, highest));
    EXPECT_TRUE(CVersion(3, 7, 2).IsInRange(lowest, highest)) << "only the major is bounded above";
    EXPECT_FALSE(CVersion(4, 0).IsInRange(lowest, highest));
    EXPECT_FALSE(CVersion(0, 9).IsInRange(lowest, highest));
    EXPECT_FALSE(CVersion(1, 0, 0, 3, 0).IsInRange(lowest, highest)) << "a beta of 1.0 comes before 1.0";
    EXPECT_TRUE(CVersion(1, 5).IsSameFamily(CVersion(1, 0, 0, 1, 3)));
    EXPECT_FALSE(CVersion(2, 0).IsSameFamily(CVersion(1, 0)));
}

}  // namespace
