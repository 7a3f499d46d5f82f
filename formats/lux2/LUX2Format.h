#pragma once

#include <cstdint>

#include "formats/iff/ChunkId.h"
#include "formats/media/Media.h"
#include "foundation/ValueRange.h"

namespace NSQuillet {

// The ids of the LUX2 loop file: one CAT LUX2 group holding the chunks below, with the
// effect chunks in CAT DEVL and the slices in CAT SLCL.
inline constexpr TChunkId kLUX2FileType = MakeChunkId("LUX2");
inline constexpr TChunkId kLUX2HeaderId = MakeChunkId("HEAD");
inline constexpr TChunkId kLUX2CreatorInfoId = MakeChunkId("CREI");
inline constexpr TChunkId kLUX2GeneralInfoId = MakeChunkId("GLOB");
inline constexpr TChunkId kLUX2QuilletInfoId = MakeChunkId("QUIL");
inline constexpr TChunkId kLUX2ExtraInfoId = MakeChunkId("QLTX");
inline constexpr TChunkId kLUX2EffectsType = MakeChunkId("DEVL");
inline constexpr TChunkId kLUX2EnvelopeId = MakeChunkId("TRSH");
inline constexpr TChunkId kLUX2EqualizerId = MakeChunkId("EQ  ");
inline constexpr TChunkId kLUX2TransientShaperId = MakeChunkId("COMP");
inline constexpr TChunkId kLUX2SliceListType = MakeChunkId("SLCL");
inline constexpr TChunkId kLUX2SliceId = MakeChunkId("SLCE");
inline constexpr TChunkId kLUX2SampleInfoId = MakeChunkId("SINF");
inline constexpr TChunkId kLUX2SoundDataId = MakeChunkId("SDAT");

inline constexpr uint32_t kLUX2HeaderMagic = 0x490CF18D;

// The sound is coded and decoded in blocks of this many frames.
inline constexpr int32_t kLUX2SoundBlockFrames = 1 << 20;

// Fewer than `count` bytes between the media's position and its end is an XFormatViolation "":
// a body cut short.
void RequireBytesLeft(const CMedia& media, uint64_t count);
uint64_t BytesLeft(const CMedia& media);

}  // namespace NSQuillet
