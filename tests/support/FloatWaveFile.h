#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TemporaryFolder.h"

namespace NSQuilletTest {

// A 32-bit float WAVE file read byte for byte: its format and its interleaved samples, exactly
// as stored. `fChannels` is 0 when the file is not such a file.
struct SFloatWave {
    int32_t fChannels = 0;
    uint32_t fRate = 0;
    std::vector<float> fSamples;
};

inline SFloatWave ReadFloatWave(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u16 = [&](size_t at) { return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8; };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    SFloatWave wave;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return wave;
    int32_t channels = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const size_t size = u32(at + 4);
        const size_t body = at + 8;
        if (body + size > bytes.size()) return SFloatWave();
        if (id == "fmt " && size >= 16) {
            // IEEE float, 32 bits.
            if (u16(body) != 3 || u16(body + 14) != 32) return SFloatWave();
            channels = int32_t(u16(body + 2));
            wave.fRate = u32(body + 4);
        } else if (id == "data" && channels > 0) {
            wave.fSamples.resize(size / sizeof(float));
            std::copy(bytes.begin() + std::ptrdiff_t(body), bytes.begin() + std::ptrdiff_t(body + wave.fSamples.size() * 4),
                      reinterpret_cast<char*>(wave.fSamples.data()));
            wave.fChannels = channels;
        }
        at = body + size + (size & 1);
    }
    return wave;
}

// The samples of a float WAVE file as sox reads them, interleaved; empty when sox fails to
// read the file. sox carries samples as 32-bit integers, so only values that such an integer
// holds exactly (as the tests' signals are) come back unchanged; ReadFloatWave reads the stored
// bits. `soxMissing` tells whether sox is not installed.
inline std::vector<float> ReadFloatWaveWithSox(const std::string& path, bool* soxMissing = nullptr) {
    if (soxMissing) *soxMissing = std::system("command -v sox > /dev/null 2>&1") != 0;
    CTemporaryFolder folder;
    const std::string raw = folder.PathOf("samples.f32");
    const std::string command = "sox -V1 '" + path + "' -t raw -e floating-point -b 32 -L '" + raw + "'";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream in(raw, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::copy(bytes.begin(), bytes.begin() + std::ptrdiff_t(samples.size() * sizeof(float)),
              reinterpret_cast<char*>(samples.data()));
    return samples;
}

// sox's view of the file's channel count and rate: "channels rate", "" on failure.
inline std::string SoxFormatOf(const std::string& path) {
    const std::string command = "sox --i -c '" + path + "' 2>/dev/null; sox --i -r '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string text;
    char buffer[128];
    while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
    pclose(pipe);
    for (char& c : text) {
        if (c == '\n') c = ' ';
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace NSQuilletTest
