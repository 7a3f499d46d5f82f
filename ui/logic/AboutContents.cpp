#include "ui/logic/AboutContents.h"

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/Version.h"
#include "ui/logic/BuildNumber.h"

namespace NSQuillet {

std::string CAboutContents::VersionText(const std::string& version, const std::string& build) {
    return FrameworkShortTextReference(NSShortTextIds::kVersionWithBuild).With(version, build).GetText();
}

std::string CAboutContents::GetVersionText() { return VersionText(kProgramVersion, kProgramBuild); }

const std::vector<SAboutLibrary>& CAboutContents::GetLibraries() {
    static const std::vector<SAboutLibrary> libraries = {
        {"Qt 6", "windows, dialogs and pictures", "GNU LGPL 3.0"},
        {"PortAudio", "audio output", "MIT licence"},
        {"ALSA library", "sound cards", "GNU LGPL 2.1 or later"},
        {"JACK", "audio server connection", "GNU LGPL 2.1 or later"},
        {"libsndfile", "WAVE and AIFF files", "GNU LGPL 2.1 or later"},
    };
    return libraries;
}

}  // namespace NSQuillet
