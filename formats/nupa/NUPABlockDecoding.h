#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/nupa/OptimizedNUPADecompressor.h"

namespace NSQuillet {

namespace NSNUPA {

// The block decoders behind COptimizedNUPADecompressor::DecodeMono and DecodeStereo, which pick
// one per call: `frameCount` frames of `kChannels` channels (1 or 2) from the decompressor's
// input into `out`, interleaved, from and back into its states. Both give the same samples and
// the same failures. The vector one runs only where NSNUPA::UseVectors() holds.
template <int kChannels, class TSample>
void DecodePortably(COptimizedNUPADecompressor& decompressor, size_t frameCount, TSample* out);
template <int kChannels, class TSample>
void DecodeWithVectors(COptimizedNUPADecompressor& decompressor, size_t frameCount, TSample* out);

// `count` big-endian words to native order, in place.
void WordsToNative(uint32_t* words, size_t count);

}  // namespace NSNUPA

}  // namespace NSQuillet
