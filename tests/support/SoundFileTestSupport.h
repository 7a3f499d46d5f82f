#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/WaveSample.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/soundfile/SoundFileReader.h"
#include "formats/soundfile/SoundFileWriter.h"

namespace NSQuilletTest {

// A sample whose values run through the whole range of the depth, both extremes and zero
// included, and differ between the channels.
inline std::unique_ptr<NSQuillet::CABCWaveSample> MakeSample(int32_t depth, int32_t channels, int32_t frames,
                                                             uint32_t rate = 44100) {
    std::unique_ptr<NSQuillet::CABCWaveSample> sample;
    if (depth == 24) {
        sample = std::make_unique<NSQuillet::C24BitWaveSample>(rate, frames, channels == 2);
    } else {
        sample = std::make_unique<NSQuillet::C16BitWaveSample>(rate, frames, channels == 2);
    }
    const int64_t low = depth == 24 ? -8388608 : -32768;
    const int64_t span = depth == 24 ? 16777216 : 65536;
    for (int32_t f = 0; f < frames; ++f) {
        for (int32_t c = 1; c <= channels; ++c) {
            int64_t value = low + (int64_t(f) * 2654435761u + int64_t(c) * 40503) % span;
            if (f == 0) value = c == 1 ? low : low + span - 1;
            if (f == 1) value = 0;
            if (depth == 24) {
                sample->Set24(f, int32_t(value), c);
            } else {
                sample->Set16(f, int16_t(value), c);
            }
        }
    }
    return sample;
}

inline std::string WriteToBytes(const NSQuillet::CABCWaveSample& sample, NSQuillet::ESoundFileType type) {
    NSQuillet::COwnedMemoryMedia media;
    NSQuillet::WriteSoundFile(sample, media, type);
    return std::string(reinterpret_cast<const char*>(media.GetBytes()), size_t(media.GetSize()));
}

inline std::unique_ptr<NSQuillet::CABCWaveSample> ReadFromBytes(const std::string& bytes) {
    NSQuillet::COwnedMemoryMedia media(bytes.size(), bytes.data());
    return NSQuillet::CSoundFileReader(media).ReadWaveSample(nullptr);
}

// Channel c of frame f, on the 24-bit scale.
inline std::vector<int32_t> Channel(const NSQuillet::CABCWaveSample& sample, int32_t channel) {
    std::vector<int32_t> values(size_t(sample.GetFrameCount()));
    sample.Get24s(0, sample.GetFrameCount(), values.data(), channel);
    return values;
}

inline void ExpectSameAudio(const NSQuillet::CABCWaveSample& actual, const NSQuillet::CABCWaveSample& expected) {
    ASSERT_EQ(actual.GetFrameCount(), expected.GetFrameCount());
    ASSERT_EQ(actual.GetChannelCount(), expected.GetChannelCount());
    EXPECT_EQ(actual.GetBitDepth(), expected.GetBitDepth());
    EXPECT_EQ(actual.GetSampleRate(), expected.GetSampleRate());
    for (int32_t c = 1; c <= expected.GetChannelCount(); ++c) EXPECT_TRUE(Channel(actual, c) == Channel(expected, c)) << "channel " << c;
}

// The program's path on PATH, or "" when it is not installed: tests that need it skip.
inline std::string FindProgram(const std::string& name) {
    const char* path = getenv("PATH");
    std::stringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return "";
}

inline std::string Quote(const std::string& argument) {
    std::string quoted = "'";
    for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct SRunResult {
    int fExitCode = -1;
    std::string fOutput;  // standard output and error
};

inline SRunResult RunProgram(const std::vector<std::string>& arguments) {
    std::string command;
    for (const auto& argument : arguments) command += Quote(argument) + " ";
    command += "2>&1";
    SRunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.fOutput.append(buffer, n);
    const int status = pclose(pipe);
    result.fExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace NSQuilletTest

// Skips the test when `program` is not on PATH; else stores its path in `variable`.
#define REQUIRE_PROGRAM(variable, program)                                         \
    const std::string variable = ::NSQuilletTest::FindProgram(program);           \
    if (variable.empty()) GTEST_SKIP() << program << " is not installed"
