#include "app/preferences/GeneralPreferences.h"

#include "app/preferences/PreferencesText.h"
#include "formats/text/UTF8Text.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kLowestRate = 11025;
constexpr uint32_t kHighestRate = 1000000;

bool IsUsableRate(uint32_t rate) { return rate >= kLowestRate && rate <= kHighestRate; }
bool IsUsableBitDepth(uint32_t depth) { return depth == 16 || depth == 24; }

bool SameNoteCounters(const CNoteCounters& a, const CNoteCounters& b) {
    for (ENote note : {ENote::kLuxFile, ENote::kOldNormalizeOption, ENote::kEffectsNotAudible, ENote::kStoredOnly}) {
        if (a.Get(note) != b.Get(note)) return false;
    }
    return true;
}

}  // namespace

bool operator==(const SGeneralPreferences& a, const SGeneralPreferences& b) {
    return a.fHorizontalRulerUnitsSaved == b.fHorizontalRulerUnitsSaved &&
           a.fViewStereoFilesAsSumOfLR == b.fViewStereoFilesAsSumOfLR && a.fDefaultBarsToOne == b.fDefaultBarsToOne &&
           a.fAlwaysMoveLeftLocatorToFirstSlice == b.fAlwaysMoveLeftLocatorToFirstSlice &&
           a.fCropToLoopWhenExportingAsOneSample == b.fCropToLoopWhenExportingAsOneSample &&
           a.fScrollDuringPlayback == b.fScrollDuringPlayback && a.fAutoPlay == b.fAutoPlay &&
           a.fLastExportExtension == b.fLastExportExtension && a.fExportSampleRate == b.fExportSampleRate &&
           a.fExportBitDepth == b.fExportBitDepth && a.fExportFlag == b.fExportFlag &&
           SameNoteCounters(a.fNoteCounters, b.fNoteCounters) &&
           a.fConvertToMonoSelection == b.fConvertToMonoSelection &&
           a.fConvertSampleFormatRate == b.fConvertSampleFormatRate &&
           a.fConvertSampleFormatBitDepth == b.fConvertSampleFormatBitDepth;
}

bool IsValidGeneralPreferences(const SGeneralPreferences& general) {
    const int32_t mono = int32_t(general.fConvertToMonoSelection);
    return general.fHorizontalRulerUnitsSaved <= 1 && mono >= 0 && mono <= 2 &&
           IsUsableRate(general.fExportSampleRate) && IsUsableBitDepth(general.fExportBitDepth) &&
           IsUsableRate(general.fConvertSampleFormatRate) && IsUsableBitDepth(general.fConvertSampleFormatBitDepth) &&
           IsValidUTF8(general.fLastExportExtension) &&
           CountUTF8Characters(general.fLastExportExtension) <= kPreferencesTextCharacterLimit;
}

}  // namespace NSQuillet
