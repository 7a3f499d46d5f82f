#include "formats/program/AKPProgramWriter.h"

#include <algorithm>

#include "formats/iff/RIFFWriter2.h"
#include "formats/program/AKPDiskPrgChunk.h"
#include "formats/program/AKPDiskPrgLFOChunk.h"
#include "formats/program/AKPDiskPrgModSrcsChunk.h"
#include "formats/program/AKPDiskPrgOutChunk.h"
#include "formats/program/AKPDiskPrgTuneChunk.h"
#include "formats/program/AKPKeygroup.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

void WriteAKPProgram(CMedia& media, const std::vector<SAKPKeygroup>& keygroups) {
    if (keygroups.size() > UINT16_MAX) throw NSMishap::XStdLengthError("too many keygroups for a program");
    CRIFFWriter2 writer(media);
    writer.BeginRiff(MakeChunkId("APRG"));

    CAKPDiskPrgChunk program;
    program.SetKeygroupCount(uint16_t(keygroups.size()));
    program.WriteChunk(media);
    CAKPDiskPrgOutChunk().WriteChunk(media);
    CAKPDiskPrgTuneChunk().WriteChunk(media);
    CAKPDiskPrgLFOChunk().WriteChunk(media);
    CAKPDiskPrgLFOChunk().WriteChunk(media);
    CAKPDiskPrgModSrcsChunk().WriteChunk(media);

    for (const SAKPKeygroup& entry : keygroups) {
        CAKPKeygroup keygroup;
        const uint8_t key = uint8_t(std::clamp(entry.fKey, 0, 127));
        keygroup.GetLocation().SetKeyRange(key, key);
        keygroup.GetZone(0).SetSampleName(entry.fZoneName);
        keygroup.Write(media);
    }
    writer.EndChunk();
}

}  // namespace NSQuillet
