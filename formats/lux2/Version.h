#pragma once

#include <cstdint>

#include "formats/media/Media.h"

namespace NSQuillet {

// A version of a loop-file block: major, minor, revision, release kind (1..4, 4 a final
// release), build and a sixth number. A plain a.b has revision 0, kind 4, build 0, sixth 0.
//
// Stored as 5 bytes (0xBC, major, minor, revision, 0) when kind is 4, build and sixth are 0
// and major, minor and revision are below 255; otherwise as 29 bytes: 0xBC, four bytes 0xFF
// and the six numbers as big-endian u32.
class CVersion {
public:
    static constexpr uint8_t kMarker = 0xBC;
    static constexpr uint32_t kFinalRelease = 4;
    static constexpr uint64_t kShortSize = 5;
    static constexpr uint64_t kLongSize = 29;

    // 0.0.0, a final release.
    CVersion() = default;
    // A kind outside 1..4 is an XStdInvalidArgument.
    CVersion(uint32_t major, uint32_t minor, uint32_t revision = 0, uint32_t kind = kFinalRelease,
             uint32_t build = 0, uint32_t sixth = 0);

    // Reads a block at the media's position. Fewer than 5 bytes left, a first byte other than
    // 0xBC, a long form cut short or a long form's kind outside 1..4 is an XFormatViolation "".
    static CVersion Read(CMedia& media);
    void Write(CMedia& media) const;

    uint32_t GetMajor() const { return fMajor; }
    uint32_t GetMinor() const { return fMinor; }
    uint32_t GetRevision() const { return fRevision; }
    uint32_t GetKind() const { return fKind; }
    uint32_t GetBuild() const { return fBuild; }
    uint32_t GetSixth() const { return fSixth; }

    bool IsShortForm() const;
    uint64_t GetStoredSize() const { return IsShortForm() ? kShortSize : kLongSize; }

    // Negative, 0 or positive as this is earlier than, as late as or later than `other`: by
    // major, minor, revision, kind (higher later), then build, where a final release's build 0
    // is later than any other build. The sixth number takes no part.
    int Compare(const CVersion& other) const;
    // At least `lowest`, and a major not above `highest`'s.
    bool IsInRange(const CVersion& lowest, const CVersion& highest) const;
    bool IsSameFamily(const CVersion& other) const { return fMajor == other.fMajor; }

    friend bool operator==(const CVersion& a, const CVersion& b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CVersion& a, const CVersion& b) { return a.Compare(b) != 0; }
    friend bool operator<(const CVersion& a, const CVersion& b) { return a.Compare(b) < 0; }
    friend bool operator>(const CVersion& a, const CVersion& b) { return a.Compare(b) > 0; }
    friend bool operator<=(const CVersion& a, const CVersion& b) { return a.Compare(b) <= 0; }
    friend bool operator>=(const CVersion& a, const CVersion& b) { return a.Compare(b) >= 0; }

private:
    uint32_t fMajor = 0;
    uint32_t fMinor = 0;
    uint32_t fRevision = 0;
    uint32_t fKind = kFinalRelease;
    uint32_t fBuild = 0;
    uint32_t fSixth = 0;
};

}  // namespace NSQuillet
