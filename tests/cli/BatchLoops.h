#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/soundfile/SoundFileWriter.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/DemoLoop.h"

namespace NSQuilletTest {

// A folder of 20 loops of one bar of the demo loop (2 s at 44100 Hz), each turned by its own
// number of frames: even ones stereo, odd ones mono, loop05 24-bit, loop07 not audio at all,
// and loop12 named "loop12 funk 120bpm.wav". Their paths are in name order, as a shell's
// glob gives them.
struct SBatchLoops {
    static constexpr int32_t kFrames = 88200;
    static constexpr size_t kBroken = 7;
    static constexpr size_t kNamedTempo = 12;

    explicit SBatchLoops(const CTemporaryFolder& folder, const std::string& under = "loops", size_t count = 20) {
        const std::string root = folder.PathOf(under);
        std::filesystem::create_directories(root);
        const auto demo = NSQuillet::NSTools::SDemoLoop::Render();
        std::vector<int16_t> left(kFrames), right(kFrames);
        for (size_t i = 0; i < count; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, i == kNamedTempo ? "loop%02zu funk 120bpm.wav" : "loop%02zu.wav", i);
            const std::string path = root + "/" + name;
            fPaths.push_back(path);
            if (i == kBroken) {
                folder.Make(under + "/" + name, "RIFF but no more than words");
                continue;
            }
            const int32_t turn = int32_t(i) * 997;
            demo->Get16s(turn, kFrames, left.data(), 1);
            demo->Get16s(turn, kFrames, right.data(), 2);
            const bool stereo = i % 2 == 0;
            auto media = NSDiskKitSupport::CreateMediaForWriting(path, 0);
            if (i == 5) {
                NSQuillet::C24BitWaveSample sample(44100, kFrames, true);
                std::vector<int32_t> wide(kFrames);
                for (int32_t channel = 1; channel <= 2; ++channel) {
                    const std::vector<int16_t>& source = channel == 1 ? left : right;
                    for (int32_t f = 0; f < kFrames; ++f) wide[size_t(f)] = int32_t(source[size_t(f)]) * 256 + 17;
                    sample.Set24s(0, kFrames, wide.data(), channel);
                }
                NSQuillet::WriteSoundFile(sample, *media, NSQuillet::ESoundFileType::kWave);
            } else {
                NSQuillet::C16BitWaveSample sample(44100, kFrames, stereo);
                sample.Set16s(0, kFrames, left.data(), 1);
                if (stereo) sample.Set16s(0, kFrames, right.data(), 2);
                NSQuillet::WriteSoundFile(sample, *media, NSQuillet::ESoundFileType::kWave);
            }
            media->Close();
        }
    }

    std::vector<std::string> fPaths;
};

}  // namespace NSQuilletTest
