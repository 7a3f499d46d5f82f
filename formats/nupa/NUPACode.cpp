#include "formats/nupa/NUPACode.h"

#include <algorithm>

#include "formats/nupa/NUPAChannelState.h"

namespace NSQuillet {

namespace {

// The divisor stays below 2^32: a full run means code >= 7 * d, so 4 * d < 4/7 * 2^32.
template <class TOut>
void PutCode(TOut& out, uint32_t code, uint32_t divisor) {
    uint64_t u = code;
    uint64_t d = divisor;
    for (;;) {
        const uint64_t q = std::min<uint64_t>(u / d, NSNUPA::kRunLength);
        out.Put(0, int(q));
        u -= q * d;
        if (q < NSNUPA::kRunLength) break;
        d *= 4;
    }
    out.Put(1, 1);
    const int b = NSNUPA::BitLength(d);
    const uint64_t t = (uint64_t(1) << b) - d;
    if (u < t) {
        out.Put(uint32_t(u), b - 1);
    } else {
        out.Put(uint32_t(u + t), b);
    }
}

}  // namespace

void PutNUPACode(COutputBitStream& stream, uint32_t code, uint32_t divisor) { PutCode(stream, code, divisor); }

COutputBitStream::CWriter PutNUPACode(COutputBitStream::CWriter writer, uint32_t code, uint32_t divisor) {
    PutCode(writer, code, divisor);
    return writer;
}

}  // namespace NSQuillet
