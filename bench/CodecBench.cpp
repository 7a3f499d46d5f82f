// NUPA encode and decode of five minutes of drum-like material (decaying noise bursts over a
// tone), 16-bit and 24-bit, in millions of samples per second.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "formats/lux2/LUX2SoundDecoding.h"
#include "formats/lux2/LUX2SoundEncoding.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/nupa/NUPACompressor.h"
#include "formats/nupa/OptimizedNUPADecompressorFromMedia.h"
#include "formats/nupa/OutputBitStream.h"

namespace {

using namespace NSQuillet;

constexpr size_t kFrames = size_t(44100) * 300;
constexpr size_t kBlockFrames = 1048576;  // 2,097,152 samples, as a loop file is read

// Both widths from the same signal: the 24-bit one is the 16-bit one times 256 plus low bits.
struct SDrums {
    SDrums() : fLeft16(kFrames), fRight16(kFrames), fLeft32(kFrames), fRight32(kFrames) {
        std::mt19937 random(1);
        std::normal_distribution<double> noise(0, 1);
        const size_t beat = 44100 / 4;
        for (size_t i = 0; i < kFrames; ++i) {
            const size_t t = i % beat;
            const double level = (i / beat) % 4 == 0 ? 20000 : 9000;
            const double envelope = level * std::exp(-double(t) / 2500.0);
            const double tone = std::sin(double(t) * 0.02) * envelope * 0.5;
            const double left = std::max(-32768.0, std::min(32767.0, tone + envelope * 0.4 * noise(random)));
            const double right = std::max(-32768.0, std::min(32767.0, tone + envelope * 0.4 * noise(random)));
            fLeft16[i] = int16_t(left);
            fRight16[i] = int16_t(right);
            fLeft32[i] = int32_t(std::floor(left * 256));
            fRight32[i] = int32_t(std::floor(right * 256));
        }
    }
    std::vector<int16_t> fLeft16;
    std::vector<int16_t> fRight16;
    std::vector<int32_t> fLeft32;
    std::vector<int32_t> fRight32;
};

const SDrums& Drums() {
    static const SDrums drums;
    return drums;
}

void Encode(const SDrums& drums, int channels, bool wide, COwnedMemoryMedia& media) {
    COutputBitStream stream(media);
    CNUPACompressor compressor(stream, uint8_t(channels));
    for (size_t done = 0; done < kFrames; done += kBlockFrames) {
        const size_t n = std::min(kBlockFrames, kFrames - done);
        if (wide) {
            compressor.Encode32(n, drums.fLeft32.data() + done, channels == 2 ? drums.fRight32.data() + done : nullptr);
        } else {
            compressor.Encode16(n, drums.fLeft16.data() + done, channels == 2 ? drums.fRight16.data() + done : nullptr);
        }
    }
    stream.Finish();
}

void SetRate(benchmark::State& state, int channels) {
    state.counters["Msamples/s"] =
        benchmark::Counter(double(kFrames * size_t(channels)) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

// The media is allocated (and zero-filled) outside the timing: the codec is measured, not the
// allocator.
void BenchmarkEncode(benchmark::State& state, int channels, bool wide) {
    const SDrums& drums = Drums();
    for (auto _ : state) {
        state.PauseTiming();
        auto media = std::make_unique<COwnedMemoryMedia>(kFrames * size_t(channels) * (wide ? 4 : 2));
        state.ResumeTiming();
        Encode(drums, channels, wide, *media);
        benchmark::DoNotOptimize(media->GetBytes());
        state.PauseTiming();
        media.reset();
        state.ResumeTiming();
    }
    SetRate(state, channels);
}

void BenchmarkDecode(benchmark::State& state, int channels, bool wide) {
    const SDrums& drums = Drums();
    COwnedMemoryMedia media;
    Encode(drums, channels, wide, media);
    std::vector<int16_t> out16(wide ? 0 : kBlockFrames * 2);
    std::vector<int32_t> out32(wide ? kBlockFrames * 2 : 0);
    for (auto _ : state) {
        media.SetPosition(0);
        COptimizedNUPADecompressorFromMedia decoder(media);
        for (size_t done = 0; done < kFrames; done += kBlockFrames) {
            const size_t n = std::min(kBlockFrames, kFrames - done);
            int16_t* o16 = wide ? nullptr : out16.data();
            if (channels == 2) {
                decoder.DecodeStereo(n, o16, out32.data());
            } else {
                decoder.DecodeMono(n, o16, out32.data());
            }
        }
        benchmark::DoNotOptimize(out16.data());
        benchmark::DoNotOptimize(out32.data());
    }
    SetRate(state, channels);
    state.counters["ratio"] = double(kFrames * size_t(channels) * (wide ? 3 : 2)) / double(media.GetSize());
}

// A loop file's sound as a whole, 16-bit stereo, from and into a wave sample.
std::unique_ptr<C16BitWaveSample> DrumSample() {
    const SDrums& drums = Drums();
    auto sample = std::make_unique<C16BitWaveSample>(44100, int32_t(kFrames), true);
    sample->Set16s(0, int32_t(kFrames), drums.fLeft16.data(), 1);
    sample->Set16s(0, int32_t(kFrames), drums.fRight16.data(), 2);
    return sample;
}

void BM_LUX2SoundEncode16Stereo(benchmark::State& state) {
    const auto sample = DrumSample();
    for (auto _ : state) {
        state.PauseTiming();
        auto media = std::make_unique<COwnedMemoryMedia>(kFrames * 4);
        state.ResumeTiming();
        EncodeLUX2Sound(*media, *sample, nullptr);
        benchmark::DoNotOptimize(media->GetBytes());
        state.PauseTiming();
        media.reset();
        state.ResumeTiming();
    }
    SetRate(state, 2);
}

void BM_LUX2SoundDecode16Stereo(benchmark::State& state) {
    const auto sample = DrumSample();
    COwnedMemoryMedia media;
    EncodeLUX2Sound(media, *sample, nullptr);
    C16BitWaveSample out(44100, int32_t(kFrames), true);
    for (auto _ : state) {
        media.SetPosition(0);
        DecodeLUX2Sound(media, out, nullptr, true);
    }
    SetRate(state, 2);
}

void BM_NUPAEncode16Stereo(benchmark::State& state) { BenchmarkEncode(state, 2, false); }
void BM_NUPAEncode24Stereo(benchmark::State& state) { BenchmarkEncode(state, 2, true); }
void BM_NUPAEncode16Mono(benchmark::State& state) { BenchmarkEncode(state, 1, false); }
void BM_NUPADecode16Stereo(benchmark::State& state) { BenchmarkDecode(state, 2, false); }
void BM_NUPADecode24Stereo(benchmark::State& state) { BenchmarkDecode(state, 2, true); }
void BM_NUPADecode16Mono(benchmark::State& state) { BenchmarkDecode(state, 1, false); }
BENCHMARK(BM_LUX2SoundEncode16Stereo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LUX2SoundDecode16Stereo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NUPAEncode16Stereo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NUPAEncode24Stereo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NUPAEncode16Mono)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NUPADecode16Stereo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NUPADecode24Stereo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NUPADecode16Mono)->Unit(benchmark::kMillisecond);

}  // namespace
