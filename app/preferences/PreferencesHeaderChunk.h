#pragma once

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/Version.h"

namespace NSQuillet {

// HEAD: the magic number and the version of the program that wrote the file.
class CPreferencesHeaderChunk final : public CABCFormat {
public:
    // Wrong magic: XFormatViolation "bad prefs file magic"; a version this program cannot read:
    // XUnsupportedFormat "unsupported prefs file head chunk version"; a damaged version, a body
    // cut short or longer than its fields: XFormatViolation.
    explicit CPreferencesHeaderChunk(CMedia& body);
    // This program's version.
    CPreferencesHeaderChunk();

    const CVersion& GetVersion() const { return fVersion; }
    void Write(CMedia& media) const override;

private:
    CVersion fVersion;
};

}  // namespace NSQuillet
