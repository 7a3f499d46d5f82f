#include "formats/soundfont/SoundFontSampleParamList.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

uint16_t CSoundFontSampleParamList::Add(const SSoundFontSampleParams& params) {
    if (fSamples.size() >= kMaximumSampleCount) throw NSMishap::XStdLengthError("too many samples for a bank");
    fSamples.push_back(params);
    return uint16_t(fSamples.size() - 1);
}

const SSoundFontSampleParams& CSoundFontSampleParamList::Get(size_t index) const {
    if (index >= fSamples.size()) throw NSMishap::XStdOutOfRange("no such sample");
    return fSamples[index];
}

SSoundFontSampleParams& CSoundFontSampleParamList::Get(size_t index) {
    if (index >= fSamples.size()) throw NSMishap::XStdOutOfRange("no such sample");
    return fSamples[index];
}

}  // namespace NSQuillet
