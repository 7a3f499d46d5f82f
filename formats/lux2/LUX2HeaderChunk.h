#pragma once

#include <string>

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/Version.h"

namespace NSQuillet {

// HEAD: the magic number, the header version (which decides how the effect chunks are read),
// 16 zero bytes and a text.
class CLUX2HeaderChunk final : public CABCFormat {
public:
    // Wrong magic: XFormatViolation "bad magic number in header chunk"; a version outside
    // [1.0, 3.0]: XVersionTooNew "old head chunk"; any of the 16 bytes set: XFormatViolation
    // "non-zero uuid in header"; a damaged version or text block, or a body cut short:
    // XFormatViolation "".
    explicit CLUX2HeaderChunk(CMedia& body);
    // A version the reader would refuse is an XStdInvalidArgument.
    explicit CLUX2HeaderChunk(const CVersion& version, std::string text = {});

    const CVersion& GetVersion() const { return fVersion; }
    const std::string& GetText() const { return fText; }
    void Write(CMedia& media) const override;

    static bool IsReadableVersion(const CVersion& version);

private:
    CVersion fVersion;
    std::string fText;
};

}  // namespace NSQuillet
