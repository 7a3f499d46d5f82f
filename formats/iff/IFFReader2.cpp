#include "formats/iff/IFFReader2.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

bool CIFFReader2::ReadMemberAt(uint64_t position) {
    if (position >= GetMedia().GetSize()) {
        fDescriptor = SIFFChunkDescriptor();
        return false;
    }
    GetMedia().SetPosition(position);
    ReadHeader();
    return true;
}

bool CIFFReader2::Next() {
    if (fDescriptor.fKind == EIFFChunkKind::kNone) throw NSMishap::XIllegalCallSequence("no current member");
    return ReadMemberAt(fDescriptor.NextStart());
}

bool CIFFReader2::Find(EIFFChunkKind kind, TChunkId idOrType) {
    for (bool more = First(); more; more = Next()) {
        const SIFFChunkDescriptor& d = fDescriptor;
        if (d.fKind == kind && (d.IsGroup() ? d.fType : d.fId) == idOrType) return true;
    }
    return false;
}

}  // namespace NSQuillet
