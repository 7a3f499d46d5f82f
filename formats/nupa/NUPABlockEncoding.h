#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/nupa/NUPAChannelState.h"
#include "formats/nupa/NUPACode.h"
#include "formats/nupa/OutputBitStream.h"

namespace NSQuillet {

namespace NSNUPA {

// The block coders behind CNUPACompressor::Encode16 and Encode32, which pick one per call:
// `frameCount` frames of `kChannels` channels (1 or 2; `right` only for 2) into `stream`, from
// and back into `states` (slot 0 left, slot 1 the difference). Both put the same bits. The
// vector one runs only where NSNUPA::UseVectors() holds. A media failure leaves the states as
// the block found them and the stream as before the failing word.
template <int kChannels, class TSample>
void EncodePortably(COutputBitStream& stream, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                    const TSample* right);
template <int kChannels, class TSample>
void EncodeWithVectors(COutputBitStream& stream, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                       const TSample* right);

// The same coders without the stream: each code in frame order (per frame left, then the
// difference) as (divisor << 32) | zigzag code into `codes`, kChannels x frameCount entries,
// for PutNUPACodeQuickly later; so the prediction and the packing can run apart.
template <int kChannels, class TSample>
void RecordPortably(uint64_t* codes, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                    const TSample* right);
template <int kChannels, class TSample>
void RecordWithVectors(uint64_t* codes, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                       const TSample* right);

// Where a coder leaves a code: put at once or recorded.
__attribute__((always_inline)) inline void EmitCode(COutputBitStream::CWriter& writer, uint32_t code,
                                                     uint32_t divisor);
__attribute__((always_inline)) inline void EmitCode(uint64_t*& codes, uint32_t code, uint32_t divisor) {
    *codes++ = (uint64_t(divisor) << 32) | code;
}

inline void EmitCode(COutputBitStream::CWriter& writer, uint32_t code, uint32_t divisor) {
    PutNUPACodeQuickly(writer, code, divisor);
}

}  // namespace NSNUPA

}  // namespace NSQuillet
