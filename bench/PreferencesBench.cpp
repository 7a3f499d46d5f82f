#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesFile.h"

namespace {

using namespace NSQuillet;

// A configuration folder of the benchmark's own (XDG_CONFIG_HOME) holding a typical
// preferences file: every setting off its default, a stored audio device and eight recent
// documents whose files exist. Removed at exit.
class CTypicalPreferencesFile {
public:
    CTypicalPreferencesFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        fFolder = pattern;
        setenv("XDG_CONFIG_HOME", (fFolder + "/config").c_str(), 1);
        CPreferences preferences;
        preferences.SetHorizontalRulerUnitsSaved(1);
        preferences.SetDefaultBarsToOne(true);
        preferences.SetLastExportExtension(".wav");
        preferences.SetExportSampleRate(48000);
        preferences.SetExportBitDepth(24);
        preferences.GetNoteCounters().Set(ENote::kLuxFile, 0);
        SAudioDeviceBlock block;
        block.fBytes.assign(64, 0x5A);
        preferences.SetAudioDeviceBlock(block);
        for (int i = 0; i < 8; ++i) {
            const std::string path = fFolder + "/Drum Loop " + std::to_string(i) + ".lx2";
            std::ofstream(path) << "loop";
            preferences.GetRecentDocuments().Add(path, "Drum Loop " + std::to_string(i) + ".lx2");
        }
        if (!WritePreferencesFile(preferences)) throw std::runtime_error("preferences file not written");
    }
    ~CTypicalPreferencesFile() {
        std::error_code ignored;
        std::filesystem::remove_all(fFolder, ignored);
    }

private:
    std::string fFolder;
};

// What start-up does: a fresh preferences object filled from the file.
void BM_ReadPreferencesFile(benchmark::State& state) {
    static const CTypicalPreferencesFile file;
    for (auto _ : state) {
        CPreferences preferences;
        if (!ReadPreferencesFile(preferences, nullptr)) state.SkipWithError("preferences file not read");
        benchmark::DoNotOptimize(preferences.GetRecentDocuments().GetEntries().data());
    }
}
BENCHMARK(BM_ReadPreferencesFile)->Unit(benchmark::kMicrosecond);

}  // namespace
