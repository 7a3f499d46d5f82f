#pragma once

#include <array>
#include <cstdint>

namespace NSQuillet {

// The envelope tables of one output rate, and the process-wide pitch and interpolation tables.
// Values are computed in double and stored as float.
//
// Threads: construction (and the first call of each static table) on the user-interface
// thread; the getters never allocate, lock or block, so the audio thread reads them freely.
class CDSPTables {
public:
    static constexpr int32_t kTableSize = 1024;
    static constexpr int32_t kPitchTableSize = 19200;
    // 1200 × 5 + 6900: the index of 0 cents.
    static constexpr int32_t kPitchCentre = 12900;
    // Unchanged speed in the pitch table's unit of 1/16384 frame.
    static constexpr int32_t kUnitStep = 16384;
    static constexpr int32_t kInterpolationPhases = 256;
    static constexpr int32_t kInterpolationTaps = 6;
    static constexpr int32_t kFilterShapeSize = 1536;
    static constexpr int32_t kFilterShapeCentre = 768;

    // `outputRate` is clamped to 11025..1000000.
    explicit CDSPTables(uint32_t outputRate);

    uint32_t GetOutputRate() const { return fOutputRate; }
    // Indexes are clamped to 0..1023.
    // Milliseconds: 1.1^(i × 100 / 1024) × 4 − 3.9.
    float GetTime(int32_t index) const { return fTime[Clamp(index)]; }
    // The per-block increment that takes a level from 0 to 1 in GetTime(index).
    float GetRise(int32_t index) const { return fRise[Clamp(index)]; }
    // The per-block factor that takes a level to a quarter in GetTime(index); 1.0 at 1023.
    float GetFall(int32_t index) const { return fFall[Clamp(index)]; }

    // kPitchTableSize steps in 1/16384 frame: 16384 × 2^((i − kPitchCentre)/1200), rounded.
    static const int32_t* GetPitchTable();
    // The step for `cents`, the index clamped into the table.
    static int32_t GetPitchStep(int32_t cents);
    // kInterpolationPhases rows of kInterpolationTaps taps. Row p weights source frames
    // n..n+5 for the point n + 2 + p/256; the taps of every row add up, in order and in float,
    // to exactly 1.0f.
    static const float* GetInterpolationTable();
    // kFilterShapeSize points of the windowed sinc the interpolation table is cut from, the
    // centre (1.0) at kFilterShapeCentre: the point at centre ± d lies d/256 sample periods
    // away, so the sinc's zeros fall on whole multiples of 256. The half on each side of the
    // centre is the 768-entry shape the sample-rate converter's anti-alias filter samples.
    static const float* GetFilterShapeTable();

private:
    static int32_t Clamp(int32_t index) { return index < 0 ? 0 : index >= kTableSize ? kTableSize - 1 : index; }

    uint32_t fOutputRate;
    std::array<float, kTableSize> fTime;
    std::array<float, kTableSize> fRise;
    std::array<float, kTableSize> fFall;
};

}  // namespace NSQuillet
