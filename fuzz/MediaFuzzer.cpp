// Runs a small program taken from the input over a memory media that holds the rest of the
// input: windows at any offset and size, sequential and positioned transfers, primitives,
// skips and syncs. A crash, a leak, a broken position rule or a failure outside std::exception
// is a bug.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <vector>

#include "formats/media/MediaPrimitives.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/media/PartialMedia.h"

namespace {

using namespace NSQuillet;

// No media may grow beyond this, so a read of more bytes can only succeed by reading out of bounds.
constexpr uint64_t kMaxMediaSize = 1 << 16;
constexpr size_t kMaxWindows = 16;

class CProgram {
public:
    CProgram(const uint8_t* data, size_t size) : fData(data), fSize(size) {}

    bool AtEnd() const { return fNext >= fSize; }
    uint8_t Byte() { return fNext < fSize ? fData[fNext++] : 0; }
    // One byte for values up to 127; with the top bit set, eight more bytes for any 64-bit value.
    uint64_t Number() {
        const uint8_t head = Byte();
        if (!(head & 0x80)) return head;
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i) value = (value << 8) | Byte();
        return value;
    }

private:
    const uint8_t* fData;
    size_t fSize;
    size_t fNext = 0;
};

struct SNode {
    std::unique_ptr<CMedia> fMedia;
    uint64_t fOffsetInRoot;  // sum of the offsets above it, modulo 2^64
    bool fWrapped;           // that sum passed 2^64 - 1
};

void Check(bool condition) {
    if (!condition) std::abort();
}

class CRun {
public:
    CRun(const uint8_t* media, size_t size) {
        fNodes.push_back({std::make_unique<COwnedMemoryMedia>(size, media), 0, false});
        fScratch.resize(kMaxMediaSize);
    }

    void Step(CProgram& program) {
        const uint8_t op = program.Byte();
        SNode& node = fNodes[program.Byte() % fNodes.size()];
        CMedia& media = *node.fMedia;
        switch (op % 12) {
            case 0:
            case 1: {
                if (fNodes.size() == kMaxWindows) return;
                const uint64_t offset = program.Number();
                const bool writable = op % 12 == 1;
                const uint64_t size = program.Byte() & 1 ? CPartialMedia::kUnbounded : program.Number();
                std::unique_ptr<CMedia> window = writable ? std::make_unique<CPartialMedia>(media, offset)
                                                          : std::make_unique<CPartialMedia>(media, offset, size);
                const bool wrapped = node.fWrapped || offset > UINT64_MAX - node.fOffsetInRoot;
                fNodes.push_back({std::move(window), node.fOffsetInRoot + offset, wrapped});
                return;
            }
            case 2: Read(media, media.GetPosition(), program.Number(), true); return;
            case 3: Read(media, program.Number(), program.Number(), false); return;
            case 4: {
                const uint64_t before = media.GetPosition();
                switch (program.Byte() % 3) {
                    case 0: ReadU8(media); Check(media.GetPosition() == before + 1); return;
                    case 1: ReadU16(media); Check(media.GetPosition() == before + 2); return;
                    default: ReadU32(media); Check(media.GetPosition() == before + 4); return;
                }
            }
            case 5: media.Skip(int64_t(program.Number())); return;
            case 6: media.SetPosition(program.Number()); return;
            case 7: Write(node, media.GetPosition(), program.Number(), program); return;
            case 8: Write(node, program.Number(), program.Number(), program); return;
            case 9: {
                if (!Fits(node, media.GetPosition(), 4)) return;
                if (program.Byte() & 1) {
                    WriteU16(media, uint16_t(program.Number()));
                } else {
                    WriteU32(media, uint32_t(program.Number()));
                }
                return;
            }
            case 10:
                if (auto* child = dynamic_cast<CABCChildMedia*>(&media)) child->SyncToParent(program.Byte() & 1);
                return;
            default: Check(media.GetSize() <= kMaxMediaSize || dynamic_cast<CPartialMedia*>(&media)); return;
        }
    }

    // Children are destroyed before their parents.
    ~CRun() {
        while (!fNodes.empty()) fNodes.pop_back();
    }

private:
    // A count beyond the scratch space can only succeed by reading past some media's end.
    void Read(CMedia& media, uint64_t position, uint64_t count, bool sequential) {
        if (sequential) {
            media.Read(count, fScratch.data());
        } else {
            media.ReadAt(position, count, fScratch.data());
        }
        Check(count <= kMaxMediaSize);
        Check(media.GetPosition() == position + count);
    }

    // Whether a write keeps the root within its limit; a place that wraps must fail anyway.
    bool Fits(const SNode& node, uint64_t position, uint64_t count) const {
        if (node.fWrapped || position > UINT64_MAX - node.fOffsetInRoot) return true;
        const uint64_t start = node.fOffsetInRoot + position;
        return count <= kMaxMediaSize && start <= kMaxMediaSize - count;
    }

    void Write(SNode& node, uint64_t position, uint64_t count, CProgram& program) {
        if (!Fits(node, position, count)) return;
        const uint8_t fill = program.Byte();
        for (uint64_t i = 0; i < count && i < kMaxMediaSize; ++i) fScratch[size_t(i)] = uint8_t(fill + i);
        node.fMedia->WriteAt(position, count, fScratch.data());
        Check(node.fMedia->GetPosition() == position + count);
    }

    std::vector<SNode> fNodes;
    std::vector<uint8_t> fScratch;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t programSize = std::min<size_t>(size - 2, (size_t(data[0]) << 8) | data[1]);
    CProgram program(data + 2, programSize);
    CRun run(data + 2 + programSize, std::min<size_t>(size - 2 - programSize, kMaxMediaSize));
    while (!program.AtEnd()) {
        try {
            run.Step(program);
        } catch (const std::exception&) {
        }
    }
    return 0;
}
