#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/preferences/AudioDeviceRestorer.h"
#include "app/resources/Alert.h"
#include "app/resources/ResourceReference.h"
#include "tests/support/IFFBytes.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/TemporaryFolder.h"

namespace NSQuilletTest {


// A configuration folder of the test's own: XDG_CONFIG_HOME points into a fresh temporary
// folder for the fixture's lifetime, so the preferences file lies there.
class CPreferencesHome {
public:
    CPreferencesHome() : fConfig("XDG_CONFIG_HOME", fFolder.PathOf("config")) {}

    const CTemporaryFolder& Folder() const { return fFolder; }
    std::string PreferencesFolder() const { return fFolder.PathOf("config/Moltrane Software/Quillet"); }
    std::string PreferencesFile() const { return PreferencesFolder() + "/Quillet Preferences File.prf"; }

    void WriteFile(const TBytes& bytes) const {
        std::filesystem::create_directories(PreferencesFolder());
        std::ofstream(PreferencesFile(), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    TBytes ReadFile() const {
        const std::string text = ReadWholeFile(PreferencesFile());
        return TBytes(text.begin(), text.end());
    }
    // A file of the test's own outside the preferences folder, for recent documents.
    std::string MakeDocument(const std::string& name) const { return fFolder.Make(name, "loop"); }

private:
    CTemporaryFolder fFolder;
    CScopedEnvironmentVariable fConfig;
};

// Byte tables of the preferences file are written out field by field in the tests.
// The 8-bit text block: length, then the bytes.
inline void PutText8(TBytes& to, const std::string& bytes) {
    Put32(to, uint32_t(bytes.size()));
    PutText(to, bytes);
}

inline TBytes FormPREF(const std::vector<TBytes>& chunks) { return Form("PREF", chunks); }

// Where the body of the first chunk `id` begins.
inline size_t BodyOffset(const TBytes& file, const std::string& id) {
    for (size_t at = 12; at + 8 <= file.size(); ++at) {
        if (std::string(file.begin() + long(at), file.begin() + long(at + 4)) == id) return at + 8;
    }
    return file.size();
}

// The alert of `id` in the program's alert table, as a presenter sees it.
inline std::string AlertText(int32_t id) {
    const NSQuillet::SAlert alert = NSQuillet::AlertReference(id).GetAlert();
    return alert.fHeading + "|" + alert.fBody;
}

inline std::vector<std::string> ShownAlerts(const NSQuillet::CScriptedAlertPresenter& presenter) {
    std::vector<std::string> texts;
    for (const NSQuillet::SAlert& alert : presenter.GetShown()) texts.push_back(alert.fHeading + "|" + alert.fBody);
    return texts;
}

// Records the blocks it is handed; fails every time when told to.
class CRecordingRestorer final : public NSQuillet::IAudioDeviceRestorer {
public:
    void RestoreAudioDevice(const NSQuillet::SAudioDeviceBlock& block) override {
        fBlocks.push_back(block);
        if (fFailure) fFailure();
    }
    std::vector<NSQuillet::SAudioDeviceBlock> fBlocks;
    void (*fFailure)() = nullptr;
};

}  // namespace NSQuilletTest
