#include "engine/DSPTables.h"

#include <cmath>

#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct SPitchTable {
    int32_t fSteps[CDSPTables::kPitchTableSize];

    SPitchTable() {
        for (int32_t i = 0; i < CDSPTables::kPitchTableSize; ++i)
            fSteps[i] = int32_t(std::lround(16384.0 * std::exp2(double(i - CDSPTables::kPitchCentre) / 1200.0)));
    }
};

constexpr int32_t kPrototypePoints = CDSPTables::kInterpolationPhases * CDSPTables::kInterpolationTaps;
static_assert(kPrototypePoints == CDSPTables::kFilterShapeSize, "one prototype serves both tables");

// The Hamming-windowed sinc that both the interpolation table and the filter shape sample: six
// sample periods in 1536 points, centred on point 768, the sinc advancing π/256 per point.
void BuildPrototype(double (&prototype)[kPrototypePoints]) {
    constexpr int32_t kPhases = CDSPTables::kInterpolationPhases;
    for (int32_t j = 0; j < kPrototypePoints; ++j) {
        const int32_t offset = j - kPrototypePoints / 2;
        const double window = 0.54 - 0.46 * std::cos(2.0 * kPi * j / kPrototypePoints);
        double sinc = 1.0;
        // At whole sample periods the sinc is exactly 0, so row 0 passes frame n + 2 unchanged.
        if (offset % kPhases == 0 && offset != 0) sinc = 0.0;
        else if (offset != 0) sinc = std::sin(offset * kPi / kPhases) / (offset * kPi / kPhases);
        prototype[j] = window * sinc;
    }
}

struct SFilterShapeTable {
    float fShape[kPrototypePoints];

    SFilterShapeTable() {
        double prototype[kPrototypePoints];
        BuildPrototype(prototype);
        for (int32_t j = 0; j < kPrototypePoints; ++j) fShape[j] = float(prototype[j]);
    }
};

struct SInterpolationTable {
    static constexpr int32_t kPhases = CDSPTables::kInterpolationPhases;
    static constexpr int32_t kTaps = CDSPTables::kInterpolationTaps;

    float fTaps[kPhases * kTaps];

    SInterpolationTable() {
        double prototype[kPrototypePoints];
        BuildPrototype(prototype);
        for (int32_t p = 0; p < kPhases; ++p) {
            float* row = fTaps + p * kTaps;
            double taps[kTaps];
            double sum = 0.0;
            for (int32_t k = 0; k < kTaps; ++k) {
                taps[k] = prototype[(kTaps - 1 - k) * kPhases + p];
                sum += taps[k];
            }
            const double share = (1.0 - sum) / kTaps;
            for (int32_t k = 0; k < kTaps; ++k) row[k] = float(taps[k] + share);
            MakeSumExactlyOne(row);
        }
    }

    // Rounding to float leaves the sum a few units off 1.0f: the last tap takes the rest. The
    // first five add up to nearly 1, so 1 − their sum is exact and the float sum is 1.0f.
    static void MakeSumExactlyOne(float* row) {
        float partial = 0.0f;
        for (int32_t k = 0; k < kTaps - 1; ++k) partial += row[k];
        row[kTaps - 1] = 1.0f - partial;
    }
};

}  // namespace

CDSPTables::CDSPTables(uint32_t outputRate) : fOutputRate(ClampSampleRate(outputRate)) {
    const double blockMilliseconds = 64000.0 / double(fOutputRate);
    for (int32_t i = 0; i < kTableSize; ++i) {
        const double time = std::pow(1.1, double(i) * 100.0 / 1024.0) * 4.0 - 3.9;
        const double rise = 1.0 / (time / blockMilliseconds);
        fTime[size_t(i)] = float(time);
        fRise[size_t(i)] = float(rise);
        fFall[size_t(i)] = float(std::pow(0.25, rise));
    }
    fFall[kTableSize - 1] = 1.0f;
}

const int32_t* CDSPTables::GetPitchTable() {
    static const SPitchTable table;
    return table.fSteps;
}

int32_t CDSPTables::GetPitchStep(int32_t cents) {
    int32_t index = cents + kPitchCentre;
    if (index < 0) index = 0;
    if (index >= kPitchTableSize) index = kPitchTableSize - 1;
    return GetPitchTable()[index];
}

const float* CDSPTables::GetInterpolationTable() {
    static const SInterpolationTable table;
    return table.fTaps;
}

const float* CDSPTables::GetFilterShapeTable() {
    static const SFilterShapeTable table;
    return table.fShape;
}

}  // namespace NSQuillet
