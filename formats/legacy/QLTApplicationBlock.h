#pragma once

#include <cstdint>
#include <vector>

#include "engine/Slice.h"
#include "formats/iff/ChunkId.h"
#include "formats/media/Media.h"

namespace NSQuillet {

// How the old editor played the loop: the loop flag and the silence setting of a LUX2 file.
enum class EQLTLoopMode : uint8_t { kOff = 10, kOn = 11, kOnWithSilenceSelected = 12 };

// The application block of a QLT loop file (the old editor's own document): the body of its
// APPL chunk. Big-endian:
//
//   0    4 bytes  signature "Qlet"
//   4    u32      magic 0xD1DADED0
//   8    u8, u8   version major, minor; major 1 is read (any minor)
//   10   u8       loop mode: 10 off, 11 on, 12 on with silence selected; 13, the old
//                 editor's end marker, and every other value are invalid
//   11   u8       the old Normalize option (boolean)
//   12   u16      loop length, bars
//   14   u8       loop length, beats
//   15   u8, u8   time signature numerator, denominator
//   17   u8       analysis sensitivity
//   18   u32      loop start frame
//   22   u32      loop end frame
//   26   u16      slice count, 1..32767
//   28   8 each   slices: u32 position (frame), u16 level, u8 flags (bit 0 muted, bit 1
//                 locked, bit 2 selected), u8 0
//
// No tempo is stored: it follows from the loop length over the loop points. Values are
// handed on as stored; the file reader checks the loop points against the sound and clamps.
// Slices are taken leniently, since any value gives a usable slice: the level is brought to
// 1..32767, locked wins over muted, unknown flag bits and the last byte are ignored.
//
// Failures, each an XFormatViolation: no chunk, a body shorter than its 28-byte header or too
// short for its slices, "couldn't read Quillet chunk"; another signature, "bad Quillet chunk
// signature"; another magic, "bad Quillet chunk magic"; another major version, "bad Quillet
// chunk version"; a slice count of 0 or, as a signed 16-bit number, below 0, "zero or negativ
// slice count in app specific chunk"; a loop mode other than 10..12, "invalid loop mode".
class CQLTApplicationBlock {
public:
    static constexpr TChunkId kSignature = MakeChunkId("Qlet");
    static constexpr uint32_t kMagic = 0xD1DADED0;
    static constexpr uint8_t kMajorVersion = 1;
    static constexpr uint64_t kHeaderSize = 28;
    static constexpr uint64_t kSliceSize = 8;

    // `chunk` is the APPL body positioned at 0, null when the file has none.
    explicit CQLTApplicationBlock(CMedia* chunk);

    uint8_t GetMajorVersion() const { return fMajorVersion; }
    uint8_t GetMinorVersion() const { return fMinorVersion; }
    EQLTLoopMode GetLoopMode() const { return fLoopMode; }
    bool IsNormalizeOptionOn() const { return fNormalizeOptionOn; }
    int32_t GetBars() const { return fBars; }
    int32_t GetBeats() const { return fBeats; }
    int32_t GetTimeSignatureNumerator() const { return fTimeSignatureNumerator; }
    int32_t GetTimeSignatureDenominator() const { return fTimeSignatureDenominator; }
    int32_t GetSensitivity() const { return fSensitivity; }
    uint32_t GetLoopStart() const { return fLoopStart; }
    uint32_t GetLoopEnd() const { return fLoopEnd; }
    const std::vector<CSlice>& GetSlices() const { return fSlices; }

private:
    uint8_t fMajorVersion = 0;
    uint8_t fMinorVersion = 0;
    EQLTLoopMode fLoopMode = EQLTLoopMode::kOff;
    bool fNormalizeOptionOn = false;
    int32_t fBars = 0;
    int32_t fBeats = 0;
    int32_t fTimeSignatureNumerator = 4;
    int32_t fTimeSignatureDenominator = 4;
    int32_t fSensitivity = 0;
    uint32_t fLoopStart = 0;
    uint32_t fLoopEnd = 0;
    std::vector<CSlice> fSlices;
};

}  // namespace NSQuillet
