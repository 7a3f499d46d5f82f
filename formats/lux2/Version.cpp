#include "formats/lux2/Version.h"

#include "formats/lux2/LUX2Format.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kLongFormFlag = 0xFFFFFFFF;

bool IsValidKind(uint32_t kind) { return kind >= 1 && kind <= CVersion::kFinalRelease; }

int CompareNumbers(uint32_t a, uint32_t b) { return a < b ? -1 : a > b ? 1 : 0; }

// A final release's build 0 is the release itself, later than any numbered build.
uint64_t BuildRank(uint32_t kind, uint32_t build) {
    return kind == CVersion::kFinalRelease && build == 0 ? uint64_t(UINT32_MAX) + 1 : build;
}

}  // namespace

CVersion::CVersion(uint32_t major, uint32_t minor, uint32_t revision, uint32_t kind, uint32_t build, uint32_t sixth)
    : fMajor(major), fMinor(minor), fRevision(revision), fKind(kind), fBuild(build), fSixth(sixth) {
    if (!IsValidKind(kind)) throw NSMishap::XStdInvalidArgument("release kind outside 1..4");
}

CVersion CVersion::Read(CMedia& media) {
    RequireBytesLeft(media, kShortSize);
    uint8_t bytes[kShortSize];
    media.Read(kShortSize, bytes);
    if (bytes[0] != kMarker) throw NSMishap::XFormatViolation("");
    CVersion version;
    if (bytes[1] == 0xFF && bytes[2] == 0xFF && bytes[3] == 0xFF && bytes[4] == 0xFF) {
        RequireBytesLeft(media, kLongSize - kShortSize);
        version.fMajor = ReadU32(media);
        version.fMinor = ReadU32(media);
        version.fRevision = ReadU32(media);
        version.fKind = ReadU32(media);
        version.fBuild = ReadU32(media);
        version.fSixth = ReadU32(media);
        if (!IsValidKind(version.fKind)) throw NSMishap::XFormatViolation("");
    } else {
        version.fMajor = bytes[1];
        version.fMinor = bytes[2];
        version.fRevision = bytes[3];
    }
    return version;
}

bool CVersion::IsShortForm() const {
    return fKind == kFinalRelease && fBuild == 0 && fSixth == 0 && fMajor < 255 && fMinor < 255 && fRevision < 255;
}

void CVersion::Write(CMedia& media) const {
    if (IsShortForm()) {
        const uint8_t bytes[kShortSize] = {kMarker, uint8_t(fMajor), uint8_t(fMinor), uint8_t(fRevision), 0};
        media.Write(kShortSize, bytes);
        return;
    }
    WriteU8(media, kMarker);
    WriteU32(media, kLongFormFlag);
    for (const uint32_t number : {fMajor, fMinor, fRevision, fKind, fBuild, fSixth}) WriteU32(media, number);
}

int CVersion::Compare(const CVersion& other) const {
    if (const int c = CompareNumbers(fMajor, other.fMajor)) return c;
    if (const int c = CompareNumbers(fMinor, other.fMinor)) return c;
    if (const int c = CompareNumbers(fRevision, other.fRevision)) return c;
    if (const int c = CompareNumbers(fKind, other.fKind)) return c;
    const uint64_t build = BuildRank(fKind, fBuild);
    const uint64_t otherBuild = BuildRank(other.fKind, other.fBuild);
    return build < otherBuild ? -1 : build > otherBuild ? 1 : 0;
}

bool CVersion::IsInRange(const CVersion& lowest, const CVersion& highest) const {
    return *this >= lowest && fMajor <= highest.fMajor;
}

}  // namespace NSQuillet
