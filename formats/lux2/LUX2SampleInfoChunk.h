#pragma once

#include <cstdint>

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/LUX2Format.h"

namespace NSQuillet {

struct SLUX2SampleInfo {
    int32_t fChannelCount = 1;
    // 16 or 24 when valid; other stored codes give 8, 32 or 0.
    int32_t fBitDepth = 16;
    uint32_t fSampleRate = 44100;
    uint32_t fFrameCount = 0;
    uint32_t fLoopStart = 0;
    uint32_t fLoopEnd = 0;
};

// SINF: the sample format and the loop locators, 18 bytes.
class CLUX2SampleInfoChunk final : public CABCFormat {
public:
    static constexpr SValueRange kSampleRate{1000, 1000000};

    // Other than 1 or 2 channels or 16 or 24 bits, a rate outside 1000..1000000, a loop start
    // after its end or not before the length, or a loop end beyond the length: XFormatViolation
    // "invalid data in sample info chunk"; a body cut short: XFormatViolation "".
    explicit CLUX2SampleInfoChunk(CMedia& body);
    // The rate is clamped into its range, the loop start to 0..length − 1 and the end to
    // start..length. Channels, depth or a length of 0 the reader would refuse are an
    // XStdInvalidArgument.
    explicit CLUX2SampleInfoChunk(const SLUX2SampleInfo& info);

    const SLUX2SampleInfo& GetInfo() const { return fInfo; }
    void Write(CMedia& media) const override;

private:
    SLUX2SampleInfo fInfo;
};

}  // namespace NSQuillet
