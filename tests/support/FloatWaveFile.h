#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TemporaryFolder.h"

namespace NSQuilletTest {

// The samples of a float WAVE file as sox reads them, interleaved, exactly; empty when sox
// fails to read the file. `soxMissing` tells whether sox is not installed.
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
