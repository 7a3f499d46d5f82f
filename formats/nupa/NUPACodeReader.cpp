#include "formats/nupa/NUPACodeReader.h"

namespace NSQuillet {

void SNUPACodeReader::Store(COptimizedNUPADecompressor& owner, const uint32_t* words, uint64_t position) {
    if (int64_t(position) < 0) return;  // the register holds the bits already
    const uint64_t word = position >> 5;
    const int used = int(position & 31);
    owner.fCursor = words + word + (used != 0);
    owner.fBitCount = used ? 32 - used : 0;
    owner.fBits = used ? uint64_t(words[word]) << (32 + used) : 0;
}

__attribute__((noinline)) uint32_t SNUPACodeReader::ReadSlowly(COptimizedNUPADecompressor& owner,
                                                               const uint32_t* words, uint64_t position,
                                                               uint32_t energy) {
    Store(owner, words, position);
    const uint32_t divisor = (3 * energy + 36) >> 7;
    // An energy that has wrapped can give divisor 0, which no stream can code with; it is taken as 1.
    return owner.ReadCodeSlowly(divisor ? divisor : 1);
}

}  // namespace NSQuillet
