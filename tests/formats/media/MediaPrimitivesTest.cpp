#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "formats/media/MediaPrimitives.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;

TEST(MediaPrimitives, ReadBigEndianAndAdvance) {
    const uint8_t bytes[] = {0x12, 0x34, 0x49, 0x0C, 0xF1, 0x8D, 0xFE};
    COwnedMemoryMedia media(sizeof bytes, bytes);
    EXPECT_EQ(ReadU16(media), 0x1234);
    EXPECT_EQ(ReadU32(media), 0x490CF18Du);
    EXPECT_EQ(ReadU8(media), 0xFE);
    EXPECT_EQ(media.GetPosition(), 7u);
}

TEST(MediaPrimitives, WriteBigEndianAndAdvance) {
    COwnedMemoryMedia media;
    WriteU32(media, 0x490CF18D);
    WriteU16(media, 0x1234);
    WriteU8(media, 0x80);
    EXPECT_EQ(media.GetPosition(), 7u);
    const std::string expected("\x49\x0C\xF1\x8D\x12\x34\x80", 7);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(media.GetBytes()), size_t(media.GetSize())), expected);
}

TEST(MediaPrimitives, AShortReadFailsWithoutMoving) {
    const uint8_t bytes[] = {1, 2, 3};
    COwnedMemoryMedia media(sizeof bytes, bytes);
    EXPECT_FAILURE(ReadU32(media), XRead, "");
    EXPECT_EQ(media.GetPosition(), 0u);
    media.SetPosition(2);
    EXPECT_FAILURE(ReadU16(media), XRead, "");
    EXPECT_EQ(ReadU8(media), 3);
    EXPECT_FAILURE(ReadU8(media), XRead, "");
}

}  // namespace
