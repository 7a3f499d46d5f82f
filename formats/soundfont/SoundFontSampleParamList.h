#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace NSQuillet {

// How a bank sample is played: alone, or as one half of a stereo pair.
enum class ESoundFontSampleType : uint16_t { kMono = 1, kRight = 2, kLeft = 4 };

// One sample of a bank as its header and its instrument zone describe it. Positions are in
// sample points from the start of the bank's sample data.
struct SSoundFontSampleParams {
    // Printable ASCII, at most 20 characters.
    std::string fName;
    uint32_t fStart = 0;
    // One past the last point; the 46 zero points follow.
    uint32_t fEnd = 0;
    uint32_t fLoopStart = 0;
    // One past the last point of the loop.
    uint32_t fLoopEnd = 0;
    uint32_t fSampleRate = 0;
    // The key on which the sample plays at its own pitch.
    uint8_t fRootPitch = 60;
    // Cents.
    int8_t fPitchCorrection = 0;
    // Index of the other half of a stereo pair; 0 for a mono sample.
    uint16_t fLink = 0;
    ESoundFontSampleType fType = ESoundFontSampleType::kMono;
    // Keys of the sample's instrument zone.
    uint8_t fLowKey = 0;
    uint8_t fHighKey = 127;
};

// The samples of a bank in the order their audio was written. A sample is addressed by a
// 16-bit index in the bank, so the list holds at most 65535 (XStdLengthError beyond).
class CSoundFontSampleParamList {
public:
    static constexpr size_t kMaximumSampleCount = 65535;

    virtual ~CSoundFontSampleParamList() = default;

    // Returns the new sample's index.
    uint16_t Add(const SSoundFontSampleParams& params);
    size_t GetCount() const { return fSamples.size(); }
    // XStdOutOfRange beyond the count.
    const SSoundFontSampleParams& Get(size_t index) const;
    SSoundFontSampleParams& Get(size_t index);

private:
    std::vector<SSoundFontSampleParams> fSamples;
};

}  // namespace NSQuillet
