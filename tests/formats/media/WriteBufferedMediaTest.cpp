#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/media/OwnedMemoryMedia.h"
#include "formats/media/WriteBufferedMedia.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;

// A memory media that counts the writes reaching it and fails those past `failFrom`.
class CCountingMedia final : public CMedia {
public:
    explicit CCountingMedia(uint64_t failFrom = UINT64_MAX) : fFailFrom(failFrom) {}
    uint64_t GetSize() const override { return fBytes.GetSize(); }
    std::string Bytes() const { return std::string(reinterpret_cast<const char*>(fBytes.GetBytes()), fBytes.GetSize()); }

    int fWrites = 0;

protected:
    void ReadBytesAt(uint64_t position, uint64_t count, void* destination) override {
        fBytes.ReadAt(position, count, destination);
    }
    void WriteBytesAt(uint64_t position, uint64_t count, const void* source) override {
        if (position + count > fFailFrom) throw NSMishap::XWrite("disk full");
        ++fWrites;
        fBytes.WriteAt(position, count, source);
    }

private:
    COwnedMemoryMedia fBytes;
    uint64_t fFailFrom;
};

struct SWrite {
    uint64_t fPosition;
    std::string fBytes;
};

// The target ends as if every write had gone to it directly, through few writes.
TEST(WriteBufferedMedia, LeavesTheBytesOfTheWritesMadeDirectly) {
    struct SCase {
        const char* fName;
        std::vector<SWrite> fWrites;
        int fTargetWrites;
    };
    // Capacity 8 throughout.
    const SCase cases[] = {
        {"appends fill the buffer", {{0, "abc"}, {3, "def"}, {6, "gh"}, {8, "ij"}}, 2},
        {"a size patched behind", {{0, "FORM"}, {4, "????"}, {4, "0008"}, {8, "x"}}, 2},
        {"a gap and a step back", {{0, "ab"}, {5, "cd"}, {1, "Z"}}, 3},
        {"a write over the buffer's end", {{0, "abcdef"}, {4, "WXYZ!"}}, 2},
        {"a write larger than the buffer", {{0, "ab"}, {2, "0123456789"}, {12, "c"}}, 3},
        {"a write before the buffer's start", {{4, "efgh"}, {2, "CDE"}}, 2},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        COwnedMemoryMedia direct;
        CCountingMedia target;
        {
            CWriteBufferedMedia buffered(target, 8);
            for (const SWrite& w : c.fWrites) {
                direct.WriteAt(w.fPosition, w.fBytes.size(), w.fBytes.data());
                buffered.WriteAt(w.fPosition, w.fBytes.size(), w.fBytes.data());
                EXPECT_EQ(buffered.GetPosition(), w.fPosition + w.fBytes.size());
                EXPECT_EQ(buffered.GetSize(), direct.GetSize());
            }
            buffered.Flush();
        }
        EXPECT_EQ(target.Bytes(), std::string(reinterpret_cast<const char*>(direct.GetBytes()), direct.GetSize()));
        EXPECT_EQ(target.fWrites, c.fTargetWrites);
    }
}

// A read sees the buffered bytes; a failure of the target comes from the call that passes the
// bytes on; bytes never flushed are dropped.
TEST(WriteBufferedMedia, ReadsFlushesFailuresAndDrops) {
    CCountingMedia target;
    {
        CWriteBufferedMedia buffered(target, 8);
        buffered.Write(4, "abcd");
        char read[2] = {};
        buffered.ReadAt(1, 2, read);
        EXPECT_EQ(std::string(read, 2), "bc");
        EXPECT_EQ(target.fWrites, 1);
        buffered.Write(2, "ef");
    }
    EXPECT_EQ(target.Bytes(), "abcd") << "the unflushed write is dropped";

    CCountingMedia failing(6);
    CWriteBufferedMedia buffered(failing, 8);
    buffered.Write(7, "abcdefg");
    EXPECT_EQ(failing.fWrites, 0);
    EXPECT_FAILURE(buffered.Flush(), XWrite, "disk full");
}

}  // namespace
