#include "formats/iff/IFFFileWriter.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

CIFFFileWriter::~CIFFFileWriter() {
    while (!fLevels.empty()) fLevels.pop_back();
}

CMedia& CIFFFileWriter::GetMedia() { return fLevels.empty() ? fMedia : *fLevels.back().fBody; }

template <class TBegin>
void CIFFFileWriter::Begin(TBegin&& begin) {
    CMedia& parent = GetMedia();
    auto writer = std::make_shared<CIFFWriter2>(parent);
    begin(*writer);
    auto body = std::make_shared<CPartialMedia>(parent, parent.GetPosition());
    fLevels.push_back({std::move(writer), std::move(body)});
}

void CIFFFileWriter::BeginCat(TChunkId type) {
    Begin([type](CIFFWriter2& writer) { writer.BeginCat(type); });
}

void CIFFFileWriter::BeginChunk(TChunkId id) {
    Begin([id](CIFFWriter2& writer) { writer.BeginChunk(id); });
}

void CIFFFileWriter::EndChunk() {
    if (fLevels.empty()) throw NSMishap::XIllegalCallSequence("no chunk open");
    SLevel& level = fLevels.back();
    level.fBody->SyncToParent(false);
    level.fWriter->EndChunk();
    fLevels.pop_back();
}

}  // namespace NSQuillet
