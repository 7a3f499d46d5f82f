#include "app/preferences/PreferencesGeneralChunk.h"

#include "app/preferences/PreferencesFileFormat.h"
#include "app/preferences/PreferencesText.h"
#include "formats/lux2/LUX2Format.h"
#include "formats/lux2/TextBlock.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint8_t kLeadByte = 31;
constexpr uint8_t kRulerUnitsCodeFor1 = 23;
constexpr uint8_t kRulerUnitsCodeFor0 = 24;
constexpr uint8_t kFirstFillerBytes[] = {0, 0, 0, 100};
constexpr uint8_t kSecondFillerByte = 1;
constexpr uint8_t kThirdFillerBytes[] = {0, 1, 1, 1};
constexpr uint8_t kMonoCodeFor0 = 12;
constexpr uint8_t kMonoCodeCount = 3;

constexpr ENote kNotesInFileOrder[] = {ENote::kLuxFile, ENote::kOldNormalizeOption, ENote::kEffectsNotAudible,
                                       ENote::kStoredOnly};

bool ReadFlag(CMedia& body) {
    RequireBytesLeft(body, 1);
    return ReadU8(body) != 0;
}

uint32_t ReadNumber(CMedia& body) {
    RequireBytesLeft(body, 4);
    return ReadU32(body);
}

void SkipIgnored(CMedia& body, uint64_t count) {
    RequireBytesLeft(body, count);
    body.Skip(int64_t(count));
}

}  // namespace

CPreferencesGeneralChunk::CPreferencesGeneralChunk(CMedia& body) {
    SkipIgnored(body, 1);
    RequireBytesLeft(body, 1);
    const uint8_t rulerCode = ReadU8(body);
    if (rulerCode != kRulerUnitsCodeFor1 && rulerCode != kRulerUnitsCodeFor0)
        throw NSMishap::XFormatViolation("bad prefs file ESavedUnitsOnHorizontalRuler");
    fGeneral.fHorizontalRulerUnitsSaved = rulerCode == kRulerUnitsCodeFor1 ? 1 : 0;
    SkipIgnored(body, sizeof kFirstFillerBytes);
    fGeneral.fViewStereoFilesAsSumOfLR = ReadFlag(body);
    fGeneral.fScrollDuringPlayback = ReadFlag(body);
    fGeneral.fAutoPlay = ReadFlag(body);
    fGeneral.fDefaultBarsToOne = ReadFlag(body);
    SkipIgnored(body, 1);
    fGeneral.fAlwaysMoveLeftLocatorToFirstSlice = ReadFlag(body);
    fGeneral.fCropToLoopWhenExportingAsOneSample = ReadFlag(body);
    SkipIgnored(body, sizeof kThirdFillerBytes);
    for (const ENote note : kNotesInFileOrder) fGeneral.fNoteCounters.Set(note, int32_t(ReadNumber(body)));
    fGeneral.fLastExportExtension = CutToCharacters(ReadTextBlock(body), kPreferencesTextCharacterLimit);
    fGeneral.fExportSampleRate = ReadNumber(body);
    fGeneral.fExportBitDepth = ReadNumber(body);
    fGeneral.fExportFlag = ReadFlag(body);
    RequireBytesLeft(body, 1);
    const uint8_t monoCode = ReadU8(body);
    if (monoCode < kMonoCodeFor0 || monoCode >= kMonoCodeFor0 + kMonoCodeCount)
        throw NSMishap::XFormatViolation("bad prefs file ESavedConvertToMonoSelection");
    fGeneral.fConvertToMonoSelection = EMonoChoice(monoCode - kMonoCodeFor0);
    fGeneral.fConvertSampleFormatRate = ReadNumber(body);
    fGeneral.fConvertSampleFormatBitDepth = ReadNumber(body);
    RequireEndOfPreferencesChunk(body, "general");
    if (!IsValidGeneralPreferences(fGeneral)) throw NSMishap::XFormatViolation("ValidateData returned false for prefs file");
}

CPreferencesGeneralChunk::CPreferencesGeneralChunk(const SGeneralPreferences& general) : fGeneral(general) {
    if (!IsValidGeneralPreferences(general)) throw NSMishap::XStdInvalidArgument("preference outside its values");
}

void CPreferencesGeneralChunk::Write(CMedia& media) const {
    WriteU8(media, kLeadByte);
    WriteU8(media, fGeneral.fHorizontalRulerUnitsSaved == 1 ? kRulerUnitsCodeFor1 : kRulerUnitsCodeFor0);
    media.Write(sizeof kFirstFillerBytes, kFirstFillerBytes);
    for (const bool flag : {fGeneral.fViewStereoFilesAsSumOfLR, fGeneral.fScrollDuringPlayback, fGeneral.fAutoPlay,
                            fGeneral.fDefaultBarsToOne})
        WriteU8(media, flag ? 1 : 0);
    WriteU8(media, kSecondFillerByte);
    WriteU8(media, fGeneral.fAlwaysMoveLeftLocatorToFirstSlice ? 1 : 0);
    WriteU8(media, fGeneral.fCropToLoopWhenExportingAsOneSample ? 1 : 0);
    media.Write(sizeof kThirdFillerBytes, kThirdFillerBytes);
    for (const ENote note : kNotesInFileOrder) WriteU32(media, uint32_t(fGeneral.fNoteCounters.Get(note)));
    WriteTextBlock(media, fGeneral.fLastExportExtension);
    WriteU32(media, fGeneral.fExportSampleRate);
    WriteU32(media, fGeneral.fExportBitDepth);
    WriteU8(media, fGeneral.fExportFlag ? 1 : 0);
    WriteU8(media, uint8_t(kMonoCodeFor0 + int32_t(fGeneral.fConvertToMonoSelection)));
    WriteU32(media, fGeneral.fConvertSampleFormatRate);
    WriteU32(media, fGeneral.fConvertSampleFormatBitDepth);
}

}  // namespace NSQuillet
