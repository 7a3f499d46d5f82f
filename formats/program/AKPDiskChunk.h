#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "formats/iff/ChunkId.h"
#include "formats/lux2/ABCFormat.h"

namespace NSQuillet {

// One chunk of a sampler program: its id and a body of fixed size, every byte of which is
// stored as given. Kinds start from their default bytes; setters change single fields.
class CAKPDiskChunk : public CABCFormat {
public:
    TChunkId GetId() const { return fId; }
    const std::vector<uint8_t>& GetBody() const { return fBody; }
    void Write(CMedia& media) const override;
    // Id, little-endian size and body at the media's position.
    void WriteChunk(CMedia& media) const;

protected:
    CAKPDiskChunk(TChunkId id, std::initializer_list<uint8_t> body) : fId(id), fBody(body) {}
    // `at` must lie within the body.
    void SetByte(size_t at, uint8_t value) { fBody.at(at) = value; }
    // Low byte first.
    void SetU16(size_t at, uint16_t value);

private:
    TChunkId fId;
    std::vector<uint8_t> fBody;
};

}  // namespace NSQuillet
