#pragma once

// Builds LUX and QLT loop files (AIFF files with an APPL block) byte by byte from their
// documented layout, independently of the readers. No test framework here: the fuzz target
// uses it too.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/IFFBytes.h"

namespace NSQuilletTest {

namespace NSLegacyLoopFile {

using NSQuilletTest::Chunk;
using NSQuilletTest::Put16;
using NSQuilletTest::Put32;
using NSQuilletTest::Put8;
using NSQuilletTest::PutBytes;
using NSQuilletTest::PutText;
using NSQuilletTest::TBytes;

inline TBytes FormAIFF(const std::vector<TBytes>& chunks) { return Form("AIFF", chunks); }

// 80-bit extended rates: exponent 16383 + 15 (or + 14 below 32768 Hz), then the mantissa
// with its integer bit at the top: 44100 = 0xAC44 << 48 with 2^15.
inline const TBytes kRate44100 = {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0};
inline const TBytes kRate22050 = {0x40, 0x0D, 0xAC, 0x44, 0, 0, 0, 0, 0, 0};
inline const TBytes kRate8000 = {0x40, 0x0B, 0xFA, 0x00, 0, 0, 0, 0, 0, 0};

struct SCommon {
    uint16_t fChannels = 1;
    uint32_t fFrames = 0;
    uint16_t fSampleSize = 16;
    TBytes fRate = kRate44100;
    std::optional<std::string> fCompression;  // the AIFF-C style extension after the rate
};

inline TBytes CommonBody(const SCommon& common) {
    TBytes body;
    Put16(body, common.fChannels);
    Put32(body, common.fFrames);
    Put16(body, common.fSampleSize);
    PutBytes(body, common.fRate);
    if (common.fCompression) PutText(body, *common.fCompression);
    return body;
}

inline TBytes SoundDataBody(const TBytes& frames, uint32_t offset = 0) {
    TBytes body;
    Put32(body, offset);
    Put32(body, 0);
    body.insert(body.end(), offset, 0xEE);
    PutBytes(body, frames);
    return body;
}

// Big-endian 16-bit samples.
inline TBytes Samples16(const std::vector<int16_t>& values) {
    TBytes bytes;
    for (int16_t v : values) Put16(bytes, uint16_t(v));
    return bytes;
}

// INST with only the sustain loop set: base note 60, the full key and velocity range.
inline TBytes InstrumentBody(uint16_t playMode, uint16_t beginMarker, uint16_t endMarker, int8_t detune = 0,
                             uint8_t baseNote = 60) {
    TBytes body = {baseNote, uint8_t(detune), 0, 127, 1, 127};
    Put16(body, 0);  // gain
    Put16(body, playMode);
    Put16(body, beginMarker);
    Put16(body, endMarker);
    Put16(body, 0);  // release loop: no looping
    Put16(body, 0);
    Put16(body, 0);
    return body;
}

struct SMarker {
    uint16_t fId;
    uint32_t fPosition;
    std::string fName;
};

inline TBytes MarkerBody(const std::vector<SMarker>& markers) {
    TBytes body;
    Put16(body, uint16_t(markers.size()));
    for (const SMarker& marker : markers) {
        Put16(body, marker.fId);
        Put32(body, marker.fPosition);
        Put8(body, uint32_t(marker.fName.size()));
        PutText(body, marker.fName);
        if ((marker.fName.size() + 1) % 2) body.push_back(0);
    }
    return body;
}

struct SLUXEntry {
    uint32_t fOffset;
    uint32_t fLength;
    uint32_t fSliceNumber;
};

struct SLUXBlock {
    std::string fSignature = "LUX ";
    uint32_t fMagic = 0xD1D1D1DA;
    uint8_t fMajor = 1;
    uint8_t fMinor = 0;
    uint32_t fLoopTicks = 0;
    std::optional<uint16_t> fCount;  // default: the number of entries
    uint32_t fTempo = 120000;
    std::vector<SLUXEntry> fEntries;
};

inline TBytes LUXBlockBody(const SLUXBlock& block) {
    TBytes body;
    PutText(body, block.fSignature);
    Put32(body, block.fMagic);
    Put8(body, block.fMajor);
    Put8(body, block.fMinor);
    Put32(body, block.fLoopTicks);
    Put16(body, block.fCount ? *block.fCount : uint16_t(block.fEntries.size()));
    Put32(body, block.fTempo);
    body.insert(body.end(), 1000, 0xA5);  // the part no reader decodes
    for (const SLUXEntry& entry : block.fEntries) {
        Put32(body, entry.fOffset);
        Put32(body, entry.fLength);
        Put32(body, entry.fSliceNumber);
    }
    return body;
}

struct SQLTSlice {
    uint32_t fPosition;
    uint16_t fLevel;
    uint8_t fFlags;  // bit 0 muted, bit 1 locked, bit 2 selected
};

struct SQLTBlock {
    std::string fSignature = "Qlet";
    uint32_t fMagic = 0xD1DADED0;
    uint8_t fMajor = 1;
    uint8_t fMinor = 0;
    uint8_t fLoopMode = 11;
    uint8_t fNormalize = 0;
    uint16_t fBars = 1;
    uint8_t fBeats = 0;
    uint8_t fNumerator = 4;
    uint8_t fDenominator = 4;
    uint8_t fSensitivity = 50;
    uint32_t fLoopStart = 0;
    uint32_t fLoopEnd = 0;
    std::optional<uint16_t> fCount;  // default: the number of slices
    std::vector<SQLTSlice> fSlices;
};

inline TBytes QLTBlockBody(const SQLTBlock& block) {
    TBytes body;
    PutText(body, block.fSignature);
    Put32(body, block.fMagic);
    Put8(body, block.fMajor);
    Put8(body, block.fMinor);
    Put8(body, block.fLoopMode);
    Put8(body, block.fNormalize);
    Put16(body, block.fBars);
    Put8(body, block.fBeats);
    Put8(body, block.fNumerator);
    Put8(body, block.fDenominator);
    Put8(body, block.fSensitivity);
    Put32(body, block.fLoopStart);
    Put32(body, block.fLoopEnd);
    Put16(body, block.fCount ? *block.fCount : uint16_t(block.fSlices.size()));
    for (const SQLTSlice& slice : block.fSlices) {
        Put32(body, slice.fPosition);
        Put16(body, slice.fLevel);
        Put8(body, slice.fFlags);
        Put8(body, 0);
    }
    return body;
}

// A ramp that tells frames apart: frame i holds (i × 37) mod 2000 − 1000.
inline std::vector<int16_t> Ramp(uint32_t frames) {
    std::vector<int16_t> values(frames);
    for (uint32_t i = 0; i < frames; ++i) values[i] = int16_t(int32_t(i * 37 % 2000) - 1000);
    return values;
}

// A 16-bit mono AIFF of `frames` ramp frames at 44100 Hz with `application` as its APPL body.
inline TBytes LoopFile(uint32_t frames, const TBytes& application, const std::vector<TBytes>& extraChunks = {}) {
    SCommon common;
    common.fFrames = frames;
    std::vector<TBytes> chunks = {Chunk("COMM", CommonBody(common))};
    for (const TBytes& chunk : extraChunks) chunks.push_back(chunk);
    chunks.push_back(Chunk("APPL", application));
    chunks.push_back(Chunk("SSND", SoundDataBody(Samples16(Ramp(frames)))));
    return FormAIFF(chunks);
}

}  // namespace NSLegacyLoopFile

}  // namespace NSQuilletTest
