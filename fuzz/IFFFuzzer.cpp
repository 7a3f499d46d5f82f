// Walks arbitrary bytes as an IFF file: every group is entered and walked, every chunk body
// read whole, and a few searches run on each level, to a bounded depth. A crash, hang, leak or
// a failure other than a format violation or a read beyond a chunk is a bug.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/iff/IFFFileReader.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "foundation/Mishap.h"

namespace {

using namespace NSQuillet;

constexpr int kMaxDepth = 8;

void Walk(CIFFFileReader& reader, int depth, std::vector<uint8_t>& scratch) {
    const uint64_t count = reader.ChunkCount();
    uint64_t seen = 0;
    for (bool more = reader.FirstChunk(); more; more = reader.NextChunk()) {
        ++seen;
        const size_t innerDepth = reader.GetDepth();
        if (reader.CurrentKind() == EIFFChunkKind::kChunk) {
            CMedia& body = reader.GetMedia();
            if (body.GetSize() > scratch.size()) std::abort();  // a body larger than the file
            body.Read(body.GetSize(), scratch.data());
        } else if (depth < kMaxDepth) {
            Walk(reader, depth + 1, scratch);
        }
        if (reader.GetDepth() != innerDepth) std::abort();
    }
    if (seen != count) std::abort();
    if (reader.FindOptionalChunk(MakeChunkId("SDAT"))) reader.Leave();
    if (reader.EnterForm(MakeChunkId("AIFF"))) reader.Leave();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    COwnedMemoryMedia media(size, data);
    std::vector<uint8_t> scratch(size);
    try {
        CIFFFileReader reader(media);
        Walk(reader, 0, scratch);
    } catch (const NSMishap::XFormatViolation&) {
    } catch (...) {
        std::abort();
    }
    return 0;
}
