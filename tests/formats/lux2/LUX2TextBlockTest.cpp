#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "formats/lux2/TextBlock.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/text/Windows1252.h"
#include "tests/formats/lux2/LUX2TestSupport.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

TBytes Written(const std::string& text) {
    COwnedMemoryMedia media;
    WriteTextBlock(media, text);
    return BytesOf(media);
}

std::string ReadFrom(const TBytes& bytes) {
    COwnedMemoryMedia media(bytes.size(), bytes.data());
    const std::string text = ReadTextBlock(media);
    EXPECT_EQ(media.GetPosition(), bytes.size()) << "the block is read whole";
    return text;
}

const TBytes kUTF8Header = Cat({U32(0xFFFFFFFF), TBytes{0xBC, 1, 0, 0, 0}});

TEST(LUX2TextBlock, StoresWhatWindows1252HoldsIn8BitsAndTheRestAsUTF8) {
    // Ünïcødé ✓ 日本
    const std::string unicode = "\xC3\x9Cn\xC3\xAF" "c\xC3\xB8" "d\xC3\xA9 \xE2\x9C\x93 \xE6\x97\xA5\xE6\x9C\xAC";
    struct SCase {
        const char* fName;
        std::string fText;
        TBytes fBytes;
    };
    const SCase cases[] = {
        {"empty", "", U32(0)},
        {"ASCII", "Loop", Cat({U32(4), Text("Loop")})},
        // é is U+00E9, byte 0xE9; € is U+20AC, byte 0x80; … is U+2026, byte 0x85.
        {"Latin-1 and the 0x80 row", "caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\xA6",
         Cat({U32(7), Text("caf"), TBytes{0xE9, ' ', 0x80, 0x85}})},
        // The unassigned 0x81 stands for U+0081 both ways.
        {"an unassigned byte", "\xC2\x81", Cat({U32(1), TBytes{0x81}})},
        {"NUL inside", std::string("a\0b", 3), Cat({U32(3), TBytes{'a', 0, 'b'}})},
        // ✓ and 日本 have no byte in the page: the 1.0 block and 22 bytes of UTF-8 (four
        // two-byte letters, three ASCII letters, two spaces, three three-byte characters).
        {"outside the page", unicode, Cat({kUTF8Header, U32(22), Text(unicode)})},
        {"Ā (U+0100) just outside", "\xC4\x80", Cat({kUTF8Header, U32(2), TBytes{0xC4, 0x80}})},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        EXPECT_EQ(Written(c.fText), c.fBytes);
        EXPECT_EQ(ReadFrom(c.fBytes), c.fText);
    }
}

TEST(LUX2TextBlock, EveryByteOfThePageReadsAsOneCharacterThatWritesBackAsThatByte) {
    for (int byte = 1; byte < 256; ++byte) {
        const std::string utf8 = DecodeWindows1252(std::string(1, char(byte)));
        std::string back;
        ASSERT_TRUE(EncodeWindows1252(utf8, back)) << byte;
        EXPECT_EQ(back, std::string(1, char(byte))) << byte;
        EXPECT_EQ(Written(utf8), Cat({U32(1), U8(uint32_t(byte))})) << byte;
    }
    EXPECT_EQ(DecodeWindows1252("\x8D\x8F\x90\x9D"), "\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(DecodeWindows1252("\x9F\xFF"), "\xC5\xB8\xC3\xBF") << "Ÿ and ÿ";
}

TEST(LUX2TextBlock, RefusesToWriteTextThatIsNotUTF8) {
    const std::string cases[] = {
        "caf\xE9",            // a Latin-1 byte
        "\xC0\xAF",           // an overlong '/'
        "\xED\xA0\x80",       // a surrogate
        "\xF4\x90\x80\x80",   // beyond U+10FFFF
        "ok\xE2\x82",         // cut off
    };
    for (const std::string& text : cases) {
        COwnedMemoryMedia media;
        EXPECT_FAILURE(WriteTextBlock(media, text), XStdInvalidArgument, "text is not UTF-8");
        EXPECT_EQ(media.GetSize(), 0u) << "nothing is written";
    }
}

TEST(LUX2TextBlock, RepairsStoredUTF8ThatIsNotValid) {
    // Each byte that begins no valid character becomes U+FFFD (EF BF BD).
    EXPECT_EQ(ReadFrom(Cat({kUTF8Header, U32(4), TBytes{'a', 0xFF, 0xC3, 'b'}})), "a\xEF\xBF\xBD\xEF\xBF\xBD" "b");
}

TEST(LUX2TextBlock, RefusesBlocksThatDoNotFitTheirChunk) {
    struct SCase {
        const char* fName;
        TBytes fBytes;
    };
    const SCase cases[] = {
        {"no length", {0, 0, 0}},
        {"8-bit text beyond the end", Cat({U32(5), Text("four")})},
        {"no version after the marker", U32(0xFFFFFFFF)},
        {"version of family 2", Cat({U32(0xFFFFFFFF), TBytes{0xBC, 2, 0, 0, 0}, U32(0)})},
        {"version of family 0", Cat({U32(0xFFFFFFFF), TBytes{0xBC, 0, 9, 0, 0}, U32(0)})},
        {"a damaged version", Cat({U32(0xFFFFFFFF), TBytes{0xBD, 1, 0, 0, 0}, U32(0)})},
        {"no byte count", kUTF8Header},
        {"byte count beyond the end", Cat({kUTF8Header, U32(3), Text("ab")})},
        {"byte count near 2^32", Cat({kUTF8Header, U32(0xFFFFFFFE), Text("ab")})},
    };
    for (const SCase& c : cases) {
        COwnedMemoryMedia media(c.fBytes.size(), c.fBytes.data());
        SCOPED_TRACE(c.fName);
        EXPECT_FAILURE(ReadTextBlock(media), XFormatViolation, "");
    }
    // A later version of family 1 is read.
    EXPECT_EQ(ReadFrom(Cat({U32(0xFFFFFFFF), TBytes{0xBC, 1, 7, 0, 0}, U32(2), Text("hi")})), "hi");
}

}  // namespace
