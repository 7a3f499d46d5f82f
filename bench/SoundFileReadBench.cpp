// Reading five minutes of stereo WAVE and AIFF from memory into a wave sample, 16-bit and
// 24-bit, converted directly or through the library's 32-bit values, in frames per second;
// and reading with the analysis after it or running behind it on a worker thread.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/FollowingAnalysis.h"
#include "engine/SliceSequence.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/soundfile/SoundFileReader.h"
#include "formats/soundfile/SoundFileWriter.h"

namespace {

using namespace NSQuillet;

constexpr int32_t kFrames = 44100 * 300;

const std::string& FileBytes(ESoundFileType type, int32_t depth) {
    static std::string files[2][2];
    std::string& bytes = files[type == ESoundFileType::kAiff][depth == 24];
    if (bytes.empty()) {
        std::unique_ptr<CABCWaveSample> sample;
        if (depth == 24) {
            sample = std::make_unique<C24BitWaveSample>(44100, kFrames, true);
        } else {
            sample = std::make_unique<C16BitWaveSample>(44100, kFrames, true);
        }
        std::mt19937 random(1);
        for (int32_t f = 0; f < kFrames; ++f) {
            sample->Set24(f, int32_t(random() % 16777216) - 8388608, 1);
            sample->Set24(f, int32_t(random() % 16777216) - 8388608, 2);
        }
        COwnedMemoryMedia media;
        WriteSoundFile(*sample, media, type);
        bytes.assign(reinterpret_cast<const char*>(media.GetBytes()), size_t(media.GetSize()));
    }
    return bytes;
}

// Arguments: AIFF (1) or WAVE (0), depth, direct (1) or library (0).
void BM_ReadSoundFile(benchmark::State& state) {
    const ESoundFileType type = state.range(0) ? ESoundFileType::kAiff : ESoundFileType::kWave;
    const std::string& bytes = FileBytes(type, int32_t(state.range(1)));
    const auto reading = state.range(2) ? CSoundFileReader::EPcmReading::kDirect : CSoundFileReader::EPcmReading::kLibrary;
    for (auto _ : state) {
        COwnedMemoryMedia media(bytes.size(), bytes.data());
        auto sample = CSoundFileReader(media, reading).ReadWaveSample(nullptr);
        benchmark::DoNotOptimize(sample.get());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ReadSoundFile)
    ->ArgNames({"aiff", "depth", "direct"})
    ->ArgsProduct({{0, 1}, {16, 24}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// Argument: the analysis follows the reading (1) or comes after it (0). Real time counts: the
// worker's time is the point.
void BM_ReadAndAnalyze(benchmark::State& state) {
    const std::string& bytes = FileBytes(ESoundFileType::kWave, 16);
    for (auto _ : state) {
        COwnedMemoryMedia media(bytes.size(), bytes.data());
        CFollowingAnalysis following;
        std::unique_ptr<CABCWaveSample> sample;
        std::unique_ptr<CSliceSequence> slices;
        if (state.range(0)) {
            sample = CSoundFileReader(media).ReadWaveSample(nullptr, &following);
            following.Finish(nullptr);
            slices = following.TakeSlices();
        } else {
            sample = CSoundFileReader(media).ReadWaveSample(nullptr);
            slices = std::make_unique<CSliceSequence>(sample.get());
            slices->Analyze(nullptr);
        }
        benchmark::DoNotOptimize(slices->GetSliceCount());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ReadAndAnalyze)->ArgName("following")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
