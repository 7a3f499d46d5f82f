#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/media/OwnedMemoryMedia.h"
#include "formats/media/PartialMedia.h"
#include "tests/support/CaughtFailure.h"

namespace {

using NSQuillet::COwnedMemoryMedia;
using NSQuillet::CPartialMedia;

std::string ReadString(NSQuillet::CMedia& media, uint64_t position, uint64_t count) {
    std::string bytes(size_t(count), '\0');
    media.ReadAt(position, count, bytes.data());
    return bytes;
}

TEST(PartialMedia, ReadsItsWindowUpToExactlyItsEnd) {
    COwnedMemoryMedia parent(8, "ABCDEFGH");
    CPartialMedia window(parent, 2, 4);
    EXPECT_EQ(window.GetSize(), 4u);
    EXPECT_EQ(ReadString(window, 0, 4), "CDEF");
    EXPECT_EQ(ReadString(window, 1, 3), "DEF");
    EXPECT_EQ(window.GetPosition(), 4u);
    char spill[8];
    EXPECT_FAILURE(window.ReadAt(1, 4, spill), XRead, "");
    EXPECT_FAILURE(window.ReadAt(4, 1, spill), XRead, "");
}

// A read-only window can promise more than its parent holds; the parent still refuses, and
// huge positions or counts never reach the parent's bytes.
TEST(PartialMedia, NeverReadsOutsideTheParentWhateverTheNumbers) {
    struct SCase {
        uint64_t fOffset;
        uint64_t fSize;
        uint64_t fPosition;
        uint64_t fCount;
    };
    const SCase cases[] = {
        {6, 10, 0, 3},                        // window beyond the parent's end
        {2, 4, UINT64_MAX, 2},                // position + count wraps
        {2, 4, 2, UINT64_MAX},                // count alone exceeds the window
        {UINT64_MAX - 1, 10, 5, 1},           // offset + position wraps to 3, inside the parent
        {2, CPartialMedia::kUnbounded, 0, 7}, // unbounded: the parent checks
        {2, CPartialMedia::kUnbounded, UINT64_MAX - 1, 1},
    };
    COwnedMemoryMedia parent(8, "ABCDEFGH");
    for (const SCase& c : cases) {
        CPartialMedia window(parent, c.fOffset, c.fSize);
        std::vector<char> destination(16, '#');
        EXPECT_FAILURE(window.ReadAt(c.fPosition, c.fCount, destination.data()), XRead, "");
        EXPECT_EQ(std::string(destination.data(), 16), std::string(16, '#'));
    }
    CPartialMedia tail(parent, 6, 10);
    EXPECT_EQ(ReadString(tail, 0, 2), "GH");
}

TEST(PartialMedia, RefusesWritesThroughAReadOnlyParent) {
    COwnedMemoryMedia parent(4, "ABCD");
    CPartialMedia window(parent, 1, 2);
    EXPECT_FALSE(window.IsWritable());
    EXPECT_FAILURE(window.WriteAt(0, 1, "z"), XIllegalCallSequence, "");
    EXPECT_FAILURE(window.Write(0, ""), XIllegalCallSequence, "");
    EXPECT_EQ(ReadString(parent, 0, 4), "ABCD");
}

TEST(PartialMedia, WritesAtItsOffsetAndSyncsTheParentToTheChunkEnd) {
    COwnedMemoryMedia file;
    file.Write(4, "HEAD");
    CPartialMedia chunk(file, 4);
    EXPECT_EQ(chunk.GetPosition(), 0u);
    chunk.Write(6, "body..");
    EXPECT_EQ(file.GetPosition(), 4u) << "writing through a window leaves the parent's position";
    EXPECT_EQ(chunk.GetSize(), 6u);
    chunk.SyncToParent(false);
    EXPECT_EQ(file.GetPosition(), 10u);
    EXPECT_EQ(ReadString(file, 0, 10), "HEADbody..");

    // The size of a writable window is not checked when reading; the parent's is.
    EXPECT_EQ(ReadString(chunk, 0, 6), "body..");
    char spill[8];
    EXPECT_FAILURE(chunk.ReadAt(0, 7, spill), XRead, "");
    CPartialMedia beyond(file, 20);
    EXPECT_EQ(beyond.GetSize(), 0u);
}

TEST(PartialMedia, RefusesAWriteWhosePlaceInTheParentWrapsAround) {
    COwnedMemoryMedia file(6, "HEADER");
    CPartialMedia chunk(file, 10);
    // 10 + (2^64 - 8) wraps to 2: without the check this would overwrite "AD".
    EXPECT_FAILURE(chunk.WriteAt(UINT64_MAX - 7, 2, "zz"), XWrite, "");
    EXPECT_EQ(ReadString(file, 0, 6), "HEADER");
}

TEST(PartialMedia, StartsAtTheParentsPositionAndLeavesItAlone) {
    COwnedMemoryMedia parent(8, "ABCDEFGH");
    parent.SetPosition(5);
    CPartialMedia window(parent, 2, 6);
    EXPECT_EQ(window.GetPosition(), 3u);
    char three[3];
    window.Read(3, three);
    EXPECT_EQ(std::string(three, 3), "FGH");
    EXPECT_EQ(parent.GetPosition(), 5u);

    // A parent before the window maps back exactly.
    parent.SetPosition(1);
    CPartialMedia ahead(parent, 4, 2);
    parent.SetPosition(7);
    ahead.SyncToParent(false);
    EXPECT_EQ(parent.GetPosition(), 1u);
}

TEST(PartialMedia, SyncsOneOrAllLevelsOfNestedWindows) {
    struct SCase {
        bool fRecursive;
        uint64_t fMiddlePosition;
        uint64_t fRootPosition;
    };
    const SCase cases[] = {
        {false, 8, 0},   // inner position 3 is middle 5 + 3
        {true, 8, 18},   // and root 10 + 8
    };
    for (const SCase& c : cases) {
        const std::vector<uint8_t> zeros(100);
        COwnedMemoryMedia root(zeros.size(), zeros.data());
        CPartialMedia middle(root, 10, 80);
        CPartialMedia inner(middle, 5, 20);
        inner.SetPosition(3);
        inner.SyncToParent(c.fRecursive);
        EXPECT_EQ(middle.GetPosition(), c.fMiddlePosition) << c.fRecursive;
        EXPECT_EQ(root.GetPosition(), c.fRootPosition) << c.fRecursive;
    }
}

TEST(PartialMedia, NestedWindowsReadThroughBothOffsets) {
    COwnedMemoryMedia root(10, "0123456789");
    CPartialMedia middle(root, 2, 6);  // "234567"
    CPartialMedia inner(middle, 3, 3); // "567"
    EXPECT_EQ(ReadString(inner, 0, 3), "567");
    char spill[4];
    EXPECT_FAILURE(inner.ReadAt(1, 3, spill), XRead, "");
    CPartialMedia overhang(middle, 4, 4);  // promises "67" and two bytes middle does not have
    EXPECT_FAILURE(overhang.ReadAt(0, 3, spill), XRead, "");
}

}  // namespace
