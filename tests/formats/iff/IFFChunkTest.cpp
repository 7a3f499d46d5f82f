#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/iff/IFFFileReader.h"
#include "formats/iff/IFFFileWriter.h"
#include "formats/iff/IFFReader2.h"
#include "formats/iff/IFFWriter2.h"
#include "formats/iff/RIFFWriter2.h"
#include "formats/media/MediaPrimitives.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;

using TBytes = std::vector<uint8_t>;

TBytes BytesOf(const COwnedMemoryMedia& media) { return TBytes(media.GetBytes(), media.GetBytes() + media.GetSize()); }

// Concatenates text pieces (ids, bodies) and big-endian words.
struct SPiece {
    SPiece(const char* text) : fBytes(text, text + std::char_traits<char>::length(text)) {}
    SPiece(uint32_t word) : fBytes{uint8_t(word >> 24), uint8_t(word >> 16), uint8_t(word >> 8), uint8_t(word)} {}
    SPiece(TBytes bytes) : fBytes(std::move(bytes)) {}
    TBytes fBytes;
};

TBytes Join(std::initializer_list<SPiece> pieces) {
    TBytes joined;
    for (const SPiece& piece : pieces) joined.insert(joined.end(), piece.fBytes.begin(), piece.fBytes.end());
    return joined;
}

std::string ReadAll(CMedia& media) {
    std::string text(size_t(media.GetSize()), '\0');
    media.ReadAt(0, media.GetSize(), text.data());
    return text;
}

constexpr TChunkId kTEST = MakeChunkId("TEST");
constexpr TChunkId kINNR = MakeChunkId("INNR");
constexpr TChunkId kABCD = MakeChunkId("ABCD");
constexpr TChunkId kEFGH = MakeChunkId("EFGH");
constexpr TChunkId kODD1 = MakeChunkId("ODD1");
constexpr TChunkId kLAST = MakeChunkId("LAST");

void WriteBody(CMedia& media, const std::string& body) { media.Write(body.size(), body.data()); }

// CAT TEST { ABCD "xyz", CAT INNR { ODD1 "a", CAT INNR {} }, EFGH "", LAST "zz" }
TBytes WriteNestedFile() {
    COwnedMemoryMedia media;
    {
        CIFFFileWriter writer(media);
        writer.BeginCat(kTEST);
        writer.BeginChunk(kABCD);
        WriteBody(writer.GetMedia(), "xyz");
        writer.EndChunk();
        writer.BeginCat(kINNR);
        writer.BeginChunk(kODD1);
        WriteBody(writer.GetMedia(), "a");
        writer.EndChunk();
        writer.BeginCat(kINNR);
        writer.EndChunk();
        writer.EndChunk();
        writer.BeginChunk(kEFGH);
        writer.EndChunk();
        writer.BeginChunk(kLAST);
        WriteBody(writer.GetMedia(), "zz");
        writer.EndChunk();
        writer.EndChunk();
        EXPECT_EQ(writer.GetDepth(), 0u);
    }
    return BytesOf(media);
}

const TBytes kNestedFile = Join({
    "CAT ", 68u, "TEST",           // 4 + (8+3+1) + (8+26) + 8 + (8+2)
    "ABCD", 3u, "xyz", TBytes{0},  // odd body, one pad byte not counted
    "CAT ", 26u, "INNR",           // 4 + (8+1+1) + (8+4)
    "ODD1", 1u, "a", TBytes{0},
    "CAT ", 4u, "INNR",            // a group holding only its type
    "EFGH", 0u,
    "LAST", 2u, "zz",
});

TEST(IFFFileWriter, BackPatchesNestedSizesAndPadsOddBodies) {
    EXPECT_EQ(WriteNestedFile(), kNestedFile);
}

TEST(IFFFileWriter, ContinuesAfterBytesAlreadyInTheMedia) {
    COwnedMemoryMedia media;
    media.Write(2, "hd");
    {
        CIFFFileWriter writer(media);
        writer.BeginChunk(kABCD);
        WriteBody(writer.GetMedia(), "q");
        writer.EndChunk();
    }
    EXPECT_EQ(BytesOf(media), Join({"hd", "ABCD", 1u, "q", TBytes{0}}));
    EXPECT_EQ(media.GetPosition(), 12u);
}

TEST(IFFFileWriter, LeavesPlaceholderSizesWhenAbandoned) {
    COwnedMemoryMedia media;
    {
        CIFFFileWriter writer(media);
        writer.BeginCat(kTEST);
        writer.BeginChunk(kABCD);
        WriteBody(writer.GetMedia(), "xy");
    }
    EXPECT_EQ(BytesOf(media), Join({"CAT ", 0u, "TEST", "ABCD", 0u, "xy"}));
}

TEST(IFFFileWriter, RefusesBadIdsAndUnbalancedEnds) {
    COwnedMemoryMedia media;
    CIFFFileWriter writer(media);
    EXPECT_FAILURE(writer.EndChunk(), XIllegalCallSequence, "no chunk open");
    EXPECT_FAILURE(writer.BeginChunk(MakeChunkId(" BCD")), XStdInvalidArgument, "invalid chunk id");
    EXPECT_FAILURE(writer.BeginCat(MakeChunkId("AB\x7f" "D")), XStdInvalidArgument, "invalid chunk id");
    EXPECT_EQ(media.GetSize(), 0u) << "nothing is written for a refused id";
    EXPECT_EQ(writer.GetDepth(), 0u);
}

TEST(IFFWriter2, WritesGroupsAndHonoursThePaddingSwitch) {
    struct SCase {
        const char* fName;
        bool fPadding;
        TBytes fExpected;
    };
    const SCase cases[] = {
        {"padded", true, Join({"FORM", 16u, "AIFF", "ABCD", 3u, "xyz", TBytes{0}})},  // 4 + 8 + 3 + 1
        {"unpadded", false, Join({"FORM", 15u, "AIFF", "ABCD", 3u, "xyz"})},         // 11 bytes of chunk
    };
    for (const SCase& c : cases) {
        COwnedMemoryMedia media;
        CIFFWriter2 group(media);
        CIFFWriter2 chunk(media);
        group.SetPadding(c.fPadding);
        chunk.SetPadding(c.fPadding);
        group.BeginForm(MakeChunkId("AIFF"));
        chunk.BeginChunk(kABCD);
        WriteBody(media, "xyz");
        chunk.EndChunk();
        group.EndChunk();
        EXPECT_EQ(BytesOf(media), c.fExpected) << c.fName;
    }
}

TEST(IFFWriter2, WritesListsAndRefusesNesting) {
    COwnedMemoryMedia media;
    CIFFWriter2 writer(media);
    writer.BeginList(kTEST);
    EXPECT_FAILURE(writer.BeginChunk(kABCD), XIllegalCallSequence, "chunk already open");
    writer.EndChunk();
    EXPECT_FAILURE(writer.EndChunk(), XIllegalCallSequence, "no chunk open");
    EXPECT_EQ(BytesOf(media), Join({"LIST", 4u, "TEST"}));
}

TEST(RIFFWriter2, WritesLittleEndianSizes) {
    COwnedMemoryMedia media;
    CRIFFWriter2 riff(media);
    CRIFFWriter2 chunk(media);
    riff.BeginRiff(MakeChunkId("WAVE"));
    chunk.BeginChunk(MakeChunkId("fmt "));
    WriteBody(media, "1234");
    chunk.EndChunk();
    chunk.BeginList(MakeChunkId("INFO"));
    chunk.EndChunk();
    riff.EndChunk();
    // RIFF size 4 + (8 + 4) + (8 + 4) = 28 = 0x1c.
    EXPECT_EQ(BytesOf(media), Join({"RIFF", TBytes{0x1c, 0, 0, 0}, "WAVE", "fmt ", TBytes{4, 0, 0, 0}, "1234",
                                    "LIST", TBytes{4, 0, 0, 0}, "INFO"}));

    COwnedMemoryMedia copy(media.GetSize(), media.GetBytes());
    CIFFReader2 reader(copy, EIFFByteOrder::kLittleEndian);
    ASSERT_TRUE(reader.First());
    EXPECT_EQ(reader.GetDescriptor().fKind, EIFFChunkKind::kRiff);
    EXPECT_EQ(reader.GetDescriptor().fSize, 28u);
    EXPECT_FALSE(reader.Next());
}

TEST(IFFFileReader, FindsChunksAndGroupsByIdAndType) {
    COwnedMemoryMedia media(kNestedFile.size(), kNestedFile.data());
    CIFFFileReader reader(media);
    EXPECT_FALSE(reader.EnterForm(kTEST));
    reader.EnterCat(kTEST);
    EXPECT_EQ(reader.CurrentKind(), EIFFChunkKind::kCat);
    EXPECT_EQ(reader.GetChunkSize(), 64u);  // the size minus the type
    EXPECT_EQ(reader.ChunkCount(), 4u);

    reader.FindChunk(kLAST);
    EXPECT_EQ(reader.GetChunkSize(), 2u);
    EXPECT_EQ(ReadAll(reader.GetMedia()), "zz");
    char beyond;
    EXPECT_FAILURE(reader.GetMedia().ReadAt(2, 1, &beyond), XRead, "");
    reader.Leave();

    reader.FindChunk(kABCD);
    EXPECT_EQ(reader.GetMedia().GetPosition(), 0u);
    EXPECT_EQ(ReadAll(reader.GetMedia()), "xyz");
    EXPECT_FAILURE(reader.FindChunk(kLAST), XIllegalCallSequence, "a plain chunk has no members");
    reader.Leave();

    EXPECT_FAILURE(reader.FindChunk(kODD1), XFormatViolation, "");  // only the innermost group is searched
    EXPECT_FALSE(reader.FindOptionalChunk(kODD1));
    reader.EnterCat(kINNR);
    EXPECT_EQ(reader.ChunkCount(), 2u);
    reader.FindChunk(kODD1);
    EXPECT_EQ(ReadAll(reader.GetMedia()), "a");
    reader.Leave();
    reader.EnterCat(kINNR);
    EXPECT_EQ(reader.GetChunkSize(), 0u);
    EXPECT_EQ(reader.ChunkCount(), 0u);
    EXPECT_FALSE(reader.FirstChunk());
    reader.Leave();
    reader.Leave();
    EXPECT_FAILURE(reader.EnterCat(kABCD), XFormatViolation, "");
    reader.Leave();
    EXPECT_EQ(reader.GetDepth(), 0u);
    EXPECT_FAILURE(reader.Leave(), XIllegalCallSequence, "no level to leave");
}

TEST(IFFFileReader, WalksMembersInFileOrderFromEvenPositions) {
    const TBytes file = WriteNestedFile();
    COwnedMemoryMedia media(file.size(), file.data());
    CIFFFileReader reader(media);
    reader.EnterCat(kTEST);
    EXPECT_FAILURE(reader.NextChunk(), XIllegalCallSequence, "no member open");
    struct SMember {
        EIFFChunkKind fKind;
        TChunkId fId;
        uint64_t fSize;
    };
    const std::vector<SMember> expected = {
        {EIFFChunkKind::kChunk, kABCD, 3}, {EIFFChunkKind::kCat, kChunkId_CAT, 22},
        {EIFFChunkKind::kChunk, kEFGH, 0}, {EIFFChunkKind::kChunk, kLAST, 2}};
    std::vector<SMember> seen;
    for (bool more = reader.FirstChunk(); more; more = reader.NextChunk()) {
        seen.push_back({reader.CurrentKind(), reader.CurrentId(), reader.GetChunkSize()});
        EXPECT_EQ(reader.GetDepth(), 2u);
    }
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].fKind, expected[i].fKind) << i;
        EXPECT_EQ(seen[i].fId, expected[i].fId) << i;
        EXPECT_EQ(seen[i].fSize, expected[i].fSize) << i;
    }
    EXPECT_EQ(reader.GetDepth(), 1u) << "the walk's end leaves the group innermost";

    // Into a member group, then out again with Leave.
    ASSERT_TRUE(reader.FirstChunk());
    ASSERT_TRUE(reader.NextChunk());
    ASSERT_TRUE(reader.FirstChunk());
    EXPECT_EQ(reader.CurrentId(), kODD1);
    reader.Leave();
    EXPECT_EQ(reader.CurrentType(), kINNR);
    ASSERT_TRUE(reader.NextChunk());
    EXPECT_EQ(reader.CurrentId(), kEFGH);
}

// A last odd member without its pad byte ends the walk; a group member's extent is its size
// field, not its body.
TEST(IFFFileReader, EndsTheWalkAtOrBeyondTheGroupsEnd) {
    // 4 + (8+4) + (8+1+1) + (8+1)
    const TBytes file = Join({"CAT ", 35u, "TEST", "LIST", 4u, "SUBS", "ABCD", 1u, "x", TBytes{0}, "EFGH", 1u, "y"});
    COwnedMemoryMedia media(file.size(), file.data());
    CIFFFileReader reader(media);
    reader.EnterCat(kTEST);
    EXPECT_EQ(reader.ChunkCount(), 3u);
    reader.FindChunk(kEFGH);
    EXPECT_EQ(ReadAll(reader.GetMedia()), "y");
}

TEST(IFFFileReader, RejectsDamagedHeadersBeforeReadingBodies) {
    struct SCase {
        const char* fName;
        TBytes fFile;
    };
    const SCase cases[] = {
        {"fewer than 4 bytes for the id", Join({"CAT ", 7u, "TEST", "ABC"})},
        {"fewer than 4 bytes for the size", Join({"CAT ", 10u, "TEST", "ABCD", "zz"})},
        {"id beginning with a space", Join({"CAT ", 12u, "TEST", " BCD", 0u})},
        {"id holding 127", Join({"CAT ", 12u, "TEST", "AB\x7f" "D", 0u})},
        {"id holding 31", Join({"CAT ", 12u, "TEST", "AB\x1f" "D", 0u})},
        {"id holding 128", Join({"CAT ", 12u, "TEST", "AB\x80" "D", 0u})},
        {"size one beyond the group", Join({"CAT ", 14u, "TEST", "ABCD", 3u, "xy"})},
        {"size far beyond the file", Join({"CAT ", 12u, "TEST", "ABCD", 0xfffffff0u})},
        {"group size beyond the file", Join({"CAT ", 0xffffffffu, "TEST"})},
        {"group size below its type", Join({"CAT ", 16u, "TEST", "LIST", 2u, "SU", TBytes{0, 0}})},
        {"group without room for its type", Join({"CAT ", 12u, "TEST", "FORM", 0u})},
        {"group type beginning with a space", Join({"CAT ", 16u, "TEST", "LIST", 4u, " UBS"})},
        {"member after a valid one is damaged", Join({"CAT ", 16u, "TEST", "ABCD", 0u, "EF"})},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        COwnedMemoryMedia media(c.fFile.size(), c.fFile.data());
        CIFFFileReader reader(media);
        EXPECT_FAILURE(
            {
                reader.EnterCat(kTEST);
                reader.ChunkCount();
            },
            XFormatViolation, "");
        EXPECT_FAILURE(CIFFFileReader(media).FindChunk(kEFGH), XFormatViolation, "");
    }
}

TEST(IFFFileReader, AcceptsIdsOfPrintableCharacters) {
    const TBytes file = Join({"CAT ", 28u, "1ABC", "1ABC", 0u, "A~ }", 0u, "x  y", 0u});
    COwnedMemoryMedia media(file.size(), file.data());
    CIFFFileReader reader(media);
    reader.EnterCat(MakeChunkId("1ABC"));
    EXPECT_EQ(reader.ChunkCount(), 3u);
    EXPECT_TRUE(reader.FindOptionalChunk(MakeChunkId("x  y")));
}

TEST(IFFFileReader, RoundTripsWhatTheWriterWrote) {
    COwnedMemoryMedia media;
    const std::string bodies[] = {"", "1", "22", "333", "4444", "55555"};
    {
        CIFFFileWriter writer(media);
        writer.BeginCat(kTEST);
        for (size_t i = 0; i < 6; ++i) {
            writer.BeginChunk(MakeChunkId("CH00") + TChunkId(i));
            WriteBody(writer.GetMedia(), bodies[i]);
            writer.EndChunk();
        }
        writer.EndChunk();
    }
    CIFFFileReader reader(media);
    reader.EnterCat(kTEST);
    EXPECT_EQ(reader.ChunkCount(), 6u);
    for (size_t i = 6; i-- > 0;) {
        reader.FindChunk(MakeChunkId("CH00") + TChunkId(i));
        EXPECT_EQ(ReadAll(reader.GetMedia()), bodies[i]);
        reader.Leave();
    }
}

}  // namespace
