#pragma once

#include <cstdint>
#include <vector>

#include "formats/iff/ChunkId.h"
#include "formats/media/Media.h"

namespace NSQuillet {

// One entry of a LUX file's slice table: a piece of the exported sound. Offsets and lengths
// are bytes of the 16-bit mono sound data (two per frame); pieces with the same slice number
// next to each other belong to one slice (the export cut a slice into several pieces).
struct SLUXSliceEntry {
    uint32_t fOffset = 0;
    uint32_t fLength = 0;
    uint32_t fSliceNumber = 0;
};

// A slice made of one run of entries.
struct SLUXSlice {
    int32_t fPosition = 0;  // first frame: the first entry's offset / 2
    uint64_t fBytes = 0;    // the run's lengths summed
};

// The application block of a LUX loop file: the body of its APPL chunk, of which at most the
// first 13016 bytes count. Big-endian:
//
//   0     4 bytes  signature "LUX "
//   4     u32      magic 0xD1D1D1DA
//   8     u8, u8   version major, minor; major 1 is read (any minor)
//   10    u32      loop length, ticks of 960 per quarter note, in 4/4
//   14    u16      number of slice entries, 1..999 (the 13016 bytes hold no more)
//   16    u32      tempo, thousandths of a beat per minute
//   20    1000     not decoded
//   1020  12 each  slice entries: u32 offset, u32 length, u32 slice number
//
// The exported size is the sum of every entry's length; it must be the size of the sound data,
// two bytes per frame, which the file information checks.
//
// Failures, each an XFormatViolation: no chunk, a body shorter than its 1020-byte header or too
// short for its entries, "can't read app specific chunk"; another signature, "bad app signature
// for app-specific chunk"; another magic, "bad magic number in app specific chunk"; another
// major version, "incompatible version in app specific chunk"; an entry count of 0 or, read as
// a signed 16-bit number, below 0, "zero or negativ slice count in app specific chunk".
class CLUXApplicationBlock {
public:
    static constexpr TChunkId kSignature = MakeChunkId("LUX ");
    static constexpr uint32_t kMagic = 0xD1D1D1DA;
    static constexpr uint8_t kMajorVersion = 1;
    static constexpr uint64_t kReadLimit = 13016;
    static constexpr uint64_t kHeaderSize = 1020;
    static constexpr uint64_t kEntrySize = 12;
    static constexpr int32_t kTicksPerBeat = 960;
    static constexpr int32_t kBeatsPerBar = 4;

    // `chunk` is the APPL body positioned at 0, null when the file has none.
    explicit CLUXApplicationBlock(CMedia* chunk);

    uint8_t GetMajorVersion() const { return fMajorVersion; }
    uint8_t GetMinorVersion() const { return fMinorVersion; }
    uint32_t GetLoopTicks() const { return fLoopTicks; }
    // ticks / 3840 and (ticks / 960) mod 4.
    int32_t GetBars() const;
    int32_t GetBeats() const;
    // The stored tempo clamped to 20000..450000.
    int32_t GetTempo() const;
    const std::vector<SLUXSliceEntry>& GetEntries() const { return fEntries; }
    uint64_t GetExportedSize() const;
    // The entries merged: each run of neighbouring entries with the same slice number is one
    // slice at the run's first offset, halved to frames. In entry order.
    std::vector<SLUXSlice> GetSlices() const;

private:
    uint8_t fMajorVersion = 0;
    uint8_t fMinorVersion = 0;
    uint32_t fLoopTicks = 0;
    uint32_t fTempo = 0;
    std::vector<SLUXSliceEntry> fEntries;
};

}  // namespace NSQuillet
