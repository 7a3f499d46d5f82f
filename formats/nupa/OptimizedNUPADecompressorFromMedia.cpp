#include "formats/nupa/OptimizedNUPADecompressorFromMedia.h"

#include <algorithm>

#include "formats/nupa/NUPABlockDecoding.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

COptimizedNUPADecompressorFromMedia::COptimizedNUPADecompressorFromMedia(CMedia& media)
    : fMedia(media), fBuffer(new uint32_t[kBufferWords]) {}

void COptimizedNUPADecompressorFromMedia::Refill() {
    const uint64_t size = fMedia.GetSize();
    const uint64_t position = fMedia.GetPosition();
    const uint64_t remaining = position < size ? size - position : 0;
    const size_t words = size_t(std::min<uint64_t>(remaining / 4, kBufferWords));
    if (words == 0) throw NSMishap::XStdDomainError("bad format");
    fMedia.Read(words * 4, fBuffer.get());
    NSNUPA::WordsToNative(fBuffer.get(), words);
    SetInput(words, fBuffer.get());
}

}  // namespace NSQuillet
