#include "tools/DemoLoop.h"

#include <algorithm>
#include <cmath>

namespace NSQuillet::NSTools {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kEighth = SDemoLoop::kFramesPerBeat / 2;

// A fixed xorshift generator: std::uniform_real_distribution differs between libraries.
class CNoise {
public:
    double Next() {
        fState ^= fState << 13;
        fState ^= fState >> 7;
        fState ^= fState << 17;
        return double(fState >> 11) * (2.0 / 9007199254740992.0) - 1.0;
    }

private:
    uint64_t fState = 0x51ED270B27C0FFEEull;
};

void AddKick(std::vector<double>& left, std::vector<double>& right, int32_t start) {
    double phase = 0.0;
    for (int32_t i = 0; i < 13000 && start + i < SDemoLoop::kFrameCount; ++i) {
        const double t = double(i) / SDemoLoop::kSampleRate;
        const double frequency = 48.0 + 110.0 * std::exp(-t * 30.0);
        phase += 2.0 * kPi * frequency / SDemoLoop::kSampleRate;
        const double value = 0.9 * std::exp(-t * 9.0) * std::sin(phase);
        left[size_t(start + i)] += value;
        right[size_t(start + i)] += value;
    }
}

void AddSnare(std::vector<double>& left, std::vector<double>& right, int32_t start, CNoise& noise) {
    for (int32_t i = 0; i < 9000 && start + i < SDemoLoop::kFrameCount; ++i) {
        const double t = double(i) / SDemoLoop::kSampleRate;
        const double body = 0.35 * std::exp(-t * 25.0) * std::sin(2.0 * kPi * 185.0 * t);
        const double rattle = 0.45 * std::exp(-t * 18.0) * noise.Next();
        left[size_t(start + i)] += body + rattle;
        right[size_t(start + i)] += body + 0.9 * rattle;
    }
}

void AddHat(std::vector<double>& left, std::vector<double>& right, int32_t start, CNoise& noise) {
    double previous = 0.0;
    for (int32_t i = 0; i < 2500 && start + i < SDemoLoop::kFrameCount; ++i) {
        const double t = double(i) / SDemoLoop::kSampleRate;
        const double white = noise.Next();
        // First difference: a bright, thin noise.
        const double value = 0.22 * std::exp(-t * 70.0) * (white - previous);
        previous = white;
        left[size_t(start + i)] += 0.7 * value;
        right[size_t(start + i)] += value;
    }
}

int16_t ToSample(double value) {
    const double scaled = std::round(std::clamp(value, -1.0, 1.0) * 32767.0);
    return int16_t(scaled);
}

}  // namespace

std::vector<SDemoLoop::SHit> SDemoLoop::GetHits() {
    std::vector<SHit> hits;
    for (int32_t eighth = 0; eighth < kBars * kBeatsPerBar * 2; ++eighth) {
        const int32_t frame = eighth * kEighth;
        const int32_t inBar = eighth % (kBeatsPerBar * 2);
        // Kick on 1, the "and" of 2 and on 3; snare on 2 and 4; hats on every eighth.
        if (inBar == 0 || inBar == 3 || inBar == 4) hits.push_back({frame, kKick});
        if (inBar == 2 || inBar == 6) hits.push_back({frame, kSnare});
        hits.push_back({frame, kHat});
    }
    return hits;
}

std::unique_ptr<C16BitWaveSample> SDemoLoop::Render() {
    std::vector<double> left(size_t(kFrameCount), 0.0), right(size_t(kFrameCount), 0.0);
    CNoise noise;
    for (const SHit& hit : GetHits()) {
        switch (hit.fDrum) {
            case kKick: AddKick(left, right, hit.fFrame); break;
            case kSnare: AddSnare(left, right, hit.fFrame, noise); break;
            case kHat: AddHat(left, right, hit.fFrame, noise); break;
        }
    }
    auto sample = std::make_unique<C16BitWaveSample>(kSampleRate, kFrameCount, true);
    std::vector<int16_t> values(left.size());
    std::transform(left.begin(), left.end(), values.begin(), ToSample);
    sample->Set16s(0, kFrameCount, values.data(), 1);
    std::transform(right.begin(), right.end(), values.begin(), ToSample);
    sample->Set16s(0, kFrameCount, values.data(), 2);
    sample->BuildPreview();
    return sample;
}

}  // namespace NSQuillet::NSTools
