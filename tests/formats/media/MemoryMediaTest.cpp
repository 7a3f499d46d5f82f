#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "formats/media/OwnedMemoryMedia.h"
#include "tests/support/CaughtFailure.h"

namespace {

using NSQuillet::COwnedMemoryMedia;

std::string Contents(const COwnedMemoryMedia& media) {
    return std::string(reinterpret_cast<const char*>(media.GetBytes()), size_t(media.GetSize()));
}

TEST(OwnedMemoryMedia, GrowsByTheLargestOfOneAndAHalfShortfallsAQuarterOrAHundred) {
    struct SCase {
        uint64_t fInitialCapacity;
        uint64_t fPosition;
        uint64_t fCount;
        uint64_t fCapacity;
    };
    const SCase cases[] = {
        {0, 0, 1, 100},        // shortfall 1: max(1, 0, 100) = 100
        {0, 0, 101, 151},      // shortfall 101: 101 + 50 = 151
        {400, 0, 1400, 1900},  // shortfall 1000: max(1500, 100, 100) = 1500, + 400
        {1000, 1000, 1, 1250}, // shortfall 1: max(1, 250, 100) = 250, + 1000
        {100, 99, 2, 200},     // shortfall 1: max(1, 25, 100) = 100, + 100
        {10, 0, 10, 10},       // fits exactly: no growth
        {0, 7, 0, 100},        // an empty range still ends at 7: shortfall 7 -> 100
    };
    for (const SCase& c : cases) {
        COwnedMemoryMedia media(c.fInitialCapacity);
        const std::vector<uint8_t> source(size_t(c.fCount), 0x5A);
        media.WriteAt(c.fPosition, c.fCount, source.data());
        EXPECT_EQ(media.GetCapacity(), c.fCapacity) << c.fInitialCapacity << " " << c.fPosition << "+" << c.fCount;
        EXPECT_EQ(media.GetSize(), c.fPosition + c.fCount);
    }
}

TEST(OwnedMemoryMedia, KeepsItsBytesAcrossGrowthAndFillsGapsWithZeros) {
    COwnedMemoryMedia media(3, "abc");
    EXPECT_EQ(media.GetCapacity(), 3u);
    media.WriteAt(6, 2, "yz");
    EXPECT_EQ(Contents(media), std::string("abc\0\0\0yz", 8));
    media.WriteAt(1, 1, "B");
    EXPECT_EQ(Contents(media), std::string("aBc\0\0\0yz", 8));
}

// The media holds exactly five bytes with no spare capacity, so a missed check would read
// outside the allocation and trip AddressSanitizer.
TEST(OwnedMemoryMedia, ReadsOnlyRangesWithinItsSize) {
    struct SCase {
        uint64_t fPosition;
        uint64_t fCount;
        bool fSucceeds;
    };
    const SCase cases[] = {
        {0, 5, true}, {2, 3, true}, {5, 0, true}, {0, 6, false}, {4, 2, false}, {6, 0, false},
        {UINT64_MAX, 1, false}, {1, UINT64_MAX, false}, {UINT64_MAX, UINT64_MAX, false}, {UINT64_MAX - 2, 4, false},
    };
    COwnedMemoryMedia media(5, "01234");
    for (const SCase& c : cases) {
        media.SetPosition(42);
        std::vector<char> destination(8, '#');
        if (c.fSucceeds) {
            media.ReadAt(c.fPosition, c.fCount, destination.data());
            EXPECT_EQ(std::string(destination.data(), size_t(c.fCount)), std::string("01234").substr(size_t(c.fPosition)));
            EXPECT_EQ(media.GetPosition(), c.fPosition + c.fCount);
        } else {
            EXPECT_FAILURE(media.ReadAt(c.fPosition, c.fCount, destination.data()), XRead, "");
            EXPECT_EQ(media.GetPosition(), 42u) << "a failed read leaves the position";
            EXPECT_EQ(std::string(destination.data(), 8), "########");
        }
    }
}

TEST(OwnedMemoryMedia, RefusesWritesThatMemoryCannotHoldWithoutChange) {
    COwnedMemoryMedia media(2, "ab");
    const uint64_t positions[] = {UINT64_MAX, UINT64_MAX - 1, uint64_t(1) << 63};
    for (uint64_t position : positions) {
        EXPECT_THROW(media.WriteAt(position, 2, "zz"), std::bad_alloc) << position;
        EXPECT_EQ(Contents(media), "ab");
        EXPECT_EQ(media.GetCapacity(), 2u);
    }
    EXPECT_THROW(COwnedMemoryMedia(uint64_t(1) << 63), std::bad_alloc);
}

TEST(Media, SequentialTransfersAdvanceThePosition) {
    COwnedMemoryMedia media;
    media.Write(3, "abc");
    EXPECT_EQ(media.GetPosition(), 3u);
    media.WriteAt(10, 2, "xy");
    EXPECT_EQ(media.GetPosition(), 12u);
    media.SetPosition(1);
    char two[2];
    media.Read(2, two);
    EXPECT_EQ(std::string(two, 2), "bc");
    EXPECT_EQ(media.GetPosition(), 3u);
    media.ReadAt(10, 2, two);
    EXPECT_EQ(std::string(two, 2), "xy");
    EXPECT_EQ(media.GetPosition(), 12u);
    EXPECT_FAILURE(media.Read(1, two), XRead, "");
    EXPECT_EQ(media.GetPosition(), 12u);
}

TEST(Media, SkipMovesBothWaysButNeverWrapsAround) {
    struct SCase {
        uint64_t fFrom;
        int64_t fDelta;
        bool fSucceeds;
        uint64_t fTo;
    };
    const SCase cases[] = {
        {10, -10, true, 0},
        {10, -3, true, 7},
        {10, 5, true, 15},
        {10, -11, false, 10},
        {UINT64_MAX - 1, 1, true, UINT64_MAX},
        {UINT64_MAX - 1, 2, false, UINT64_MAX - 1},
        {0, INT64_MIN, false, 0},
        {uint64_t(1) << 63, INT64_MIN, true, 0},  // |INT64_MIN| is 2^63
        {0, INT64_MAX, true, uint64_t(INT64_MAX)},
    };
    for (const SCase& c : cases) {
        COwnedMemoryMedia media;
        media.SetPosition(c.fFrom);
        if (c.fSucceeds) {
            media.Skip(c.fDelta);
        } else {
            EXPECT_FAILURE(media.Skip(c.fDelta), XStdOutOfRange, "skip outside the position range");
        }
        EXPECT_EQ(media.GetPosition(), c.fTo) << c.fFrom << " " << c.fDelta;
    }
}

}  // namespace
