#pragma once

#include <string>
#include <vector>

namespace NSQuillet {

// A library the program is built on, as the About box names it.
struct SAboutLibrary {
    std::string fName;
    // What the program uses it for.
    std::string fUse;
    std::string fLicence;
};

// What the About box shows besides the icon.
class CAboutContents {
public:
    // "^0 (build ^1)" of the framework's short texts: "0.1.0 (build 205)".
    static std::string VersionText(const std::string& version, const std::string& build);
    // This program's version and build number.
    static std::string GetVersionText();
    // The libraries the editor links, each with its licence.
    static const std::vector<SAboutLibrary>& GetLibraries();
};

}  // namespace NSQuillet
