#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/nupa/NUPAChannelState.h"
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

}  // namespace NSNUPA

}  // namespace NSQuillet
