// NUPA encode and decode of five minutes of 16-bit stereo drum-like material (decaying noise
// bursts), in millions of samples per second.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "formats/NUPACompressor.h"
#include "formats/OptimizedNUPADecompressorFromMedia.h"
#include "formats/OutputBitStream.h"
#include "formats/OwnedMemoryMedia.h"

namespace {

using namespace NSQuillet;

constexpr size_t kFrames = size_t(44100) * 300;
constexpr size_t kBlockFrames = 1048576;  // 2,097,152 samples, as a loop file is read

struct SDrums {
    SDrums() : fLeft(kFrames), fRight(kFrames) {
        std::mt19937 random(1);
        std::normal_distribution<double> noise(0, 1);
        const size_t beat = 44100 / 4;
        for (size_t i = 0; i < kFrames; ++i) {
            const size_t t = i % beat;
            const double level = (i / beat) % 4 == 0 ? 20000 : 9000;
            const double envelope = level * std::exp(-double(t) / 2500.0);
            const double tone = std::sin(double(t) * 0.02) * envelope * 0.5;
            fLeft[i] = int16_t(std::max(-32768.0, std::min(32767.0, tone + envelope * 0.4 * noise(random))));
            fRight[i] = int16_t(std::max(-32768.0, std::min(32767.0, tone + envelope * 0.4 * noise(random))));
        }
    }
    std::vector<int16_t> fLeft;
    std::vector<int16_t> fRight;
};

const SDrums& Drums() {
    static const SDrums drums;
    return drums;
}

void Encode(const SDrums& drums, COwnedMemoryMedia& media) {
    COutputBitStream stream(media);
    CNUPACompressor compressor(stream, 2);
    for (size_t done = 0; done < kFrames; done += kBlockFrames) {
        const size_t n = std::min(kBlockFrames, kFrames - done);
        compressor.Encode16(n, drums.fLeft.data() + done, drums.fRight.data() + done);
    }
    stream.Finish();
}

void BM_NUPAEncode16Stereo(benchmark::State& state) {
    const SDrums& drums = Drums();
    for (auto _ : state) {
        COwnedMemoryMedia media(kFrames * 4);
        Encode(drums, media);
        benchmark::DoNotOptimize(media.GetBytes());
    }
    state.counters["Msamples/s"] =
        benchmark::Counter(double(kFrames) * 2e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_NUPAEncode16Stereo)->Unit(benchmark::kMillisecond);

void BM_NUPADecode16Stereo(benchmark::State& state) {
    const SDrums& drums = Drums();
    COwnedMemoryMedia media;
    Encode(drums, media);
    std::vector<int16_t> out(kBlockFrames * 2);
    for (auto _ : state) {
        media.SetPosition(0);
        COptimizedNUPADecompressorFromMedia decoder(media);
        for (size_t done = 0; done < kFrames; done += kBlockFrames) {
            decoder.DecodeStereo(std::min(kBlockFrames, kFrames - done), out.data(), nullptr);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["Msamples/s"] =
        benchmark::Counter(double(kFrames) * 2e-6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["ratio"] = double(kFrames * 4) / double(media.GetSize());
}
BENCHMARK(BM_NUPADecode16Stereo)->Unit(benchmark::kMillisecond);

}  // namespace
