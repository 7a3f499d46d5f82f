#include "formats/iff/IFFFileReader.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

CIFFFileReader::CIFFFileReader(CMedia& media, EIFFByteOrder byteOrder) : fByteOrder(byteOrder) {
    auto whole = std::make_shared<CPartialMedia>(media, 0, media.GetSize());
    whole->SetPosition(0);
    fLevels.push_back({SIFFChunkDescriptor(), nullptr, std::move(whole), false});
}

CIFFFileReader::~CIFFFileReader() {
    while (!fLevels.empty()) fLevels.pop_back();
}

void CIFFFileReader::Push(const std::shared_ptr<CIFFReader2>& reader, bool walking) {
    const SIFFChunkDescriptor& d = reader->GetDescriptor();
    auto body = std::make_shared<CPartialMedia>(reader->GetMedia(), d.fBodyStart, d.fBodySize);
    body->SetPosition(0);
    fLevels.push_back({d, reader, std::move(body), walking});
}

bool CIFFFileReader::Enter(EIFFChunkKind kind, TChunkId idOrType, bool walking) {
    const SLevel& level = fLevels.back();
    if (level.fDescriptor.fKind == EIFFChunkKind::kChunk) {
        throw NSMishap::XIllegalCallSequence("a plain chunk has no members");
    }
    CMedia& group = *level.fBody;
    const uint64_t position = group.GetPosition();
    auto reader = std::make_shared<CIFFReader2>(group, fByteOrder);
    const bool found = kind == EIFFChunkKind::kNone ? reader->First() : reader->Find(kind, idOrType);
    group.SetPosition(position);
    if (found) Push(reader, walking);
    return found;
}

void CIFFFileReader::EnterCat(TChunkId type) {
    if (!Enter(EIFFChunkKind::kCat, type, false)) throw NSMishap::XFormatViolation("");
}

bool CIFFFileReader::EnterForm(TChunkId type) { return Enter(EIFFChunkKind::kForm, type, false); }

bool CIFFFileReader::EnterList(TChunkId type) { return Enter(EIFFChunkKind::kList, type, false); }

void CIFFFileReader::FindChunk(TChunkId id) {
    if (!Enter(EIFFChunkKind::kChunk, id, false)) throw NSMishap::XFormatViolation("");
}

bool CIFFFileReader::FindOptionalChunk(TChunkId id) { return Enter(EIFFChunkKind::kChunk, id, false); }

bool CIFFFileReader::FirstChunk() { return Enter(EIFFChunkKind::kNone, 0, true); }

bool CIFFFileReader::NextChunk() {
    if (!fLevels.back().fWalking) throw NSMishap::XIllegalCallSequence("no member open");
    std::shared_ptr<CIFFReader2> reader = fLevels.back().fReader;
    fLevels.pop_back();
    CMedia& group = reader->GetMedia();
    const uint64_t position = group.GetPosition();
    const bool more = reader->Next();
    group.SetPosition(position);
    if (more) Push(reader, true);
    return more;
}

uint64_t CIFFFileReader::ChunkCount() {
    uint64_t count = 0;
    for (bool more = FirstChunk(); more; more = NextChunk()) ++count;
    return count;
}

void CIFFFileReader::Leave() {
    if (fLevels.size() == 1) throw NSMishap::XIllegalCallSequence("no level to leave");
    fLevels.pop_back();
}

}  // namespace NSQuillet
