#pragma once

#include "formats/iff/ChunkId.h"
#include "formats/iff/IFFFileReader.h"
#include "formats/iff/IFFFileWriter.h"
#include "formats/lux2/ABCFormat.h"

namespace NSQuillet {

// The chunk `id` of the innermost group, read and validated by its class; none is an
// XFormatViolation "".
template <class TChunk>
TChunk ReadChunk(CIFFFileReader& reader, TChunkId id) {
    reader.FindChunk(id);
    TChunk chunk(reader.GetMedia());
    reader.Leave();
    return chunk;
}

// `chunk`'s body as the chunk `id`, its size patched in afterwards.
inline void WriteChunk(CIFFFileWriter& writer, TChunkId id, const CABCFormat& chunk) {
    writer.BeginChunk(id);
    chunk.Write(writer.GetMedia());
    writer.EndChunk();
}

}  // namespace NSQuillet
