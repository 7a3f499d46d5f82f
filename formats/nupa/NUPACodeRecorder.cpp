#include "formats/nupa/NUPACodeRecorder.h"

#include "formats/nupa/NUPABlockEncoding.h"
#include "formats/nupa/NUPAVectorSupport.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CNUPACodeRecorder::CNUPACodeRecorder(uint8_t channelCount) : fChannelCount(channelCount) {
    if (channelCount != 1 && channelCount != 2) throw NSMishap::XStdInvalidArgument("channel count not 1 or 2");
}

void CNUPACodeRecorder::Record16(size_t frameCount, const int16_t* left, const int16_t* right, uint64_t* codes) {
    Record(frameCount, left, right, codes);
}

void CNUPACodeRecorder::Record32(size_t frameCount, const int32_t* left, const int32_t* right, uint64_t* codes) {
    Record(frameCount, left, right, codes);
}

template <class TSample>
void CNUPACodeRecorder::Record(size_t frameCount, const TSample* left, const TSample* right, uint64_t* codes) {
    if (frameCount == 0) return;
    if (!left || !codes || (fChannelCount == 2 && !right)) {
        throw NSMishap::XStdInvalidArgument("missing channel buffer");
    }
    const bool vectors = NSNUPA::UseVectors();
    if (fChannelCount == 2) {
        if (vectors) return NSNUPA::RecordWithVectors<2>(codes, fStates, frameCount, left, right);
        return NSNUPA::RecordPortably<2>(codes, fStates, frameCount, left, right);
    }
    if (vectors) return NSNUPA::RecordWithVectors<1>(codes, fStates, frameCount, left, right);
    NSNUPA::RecordPortably<1>(codes, fStates, frameCount, left, right);
}

}  // namespace NSQuillet
