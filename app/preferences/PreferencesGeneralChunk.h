#pragma once

#include "app/preferences/GeneralPreferences.h"
#include "formats/lux2/ABCFormat.h"

namespace NSQuillet {

// GNRL: the general settings, field by field (u8 unless noted):
//   31 (ignored on reading); ruler units, 23 for 1 and 24 for 0; 0, 0, 0, 100 (ignored);
//   view stereo as sum, scroll during playback, auto play, default bars to one; 1 (ignored);
//   always move the left locator, crop to loop; 0, 1, 1, 1 (ignored); the four note counters
//   (u32 each); the last export's extension (text block, read back as at most 95 characters);
//   export rate (u32), export bit depth (u32), export flag; the mono selection, 12, 13 or 14
//   for 0, 1 or 2; conversion rate (u32) and bit depth (u32).
// Flags are written 0 or 1 and read as true when not 0.
class CPreferencesGeneralChunk final : public CABCFormat {
public:
    // Any other ruler byte: XFormatViolation "bad prefs file ESavedUnitsOnHorizontalRuler";
    // any other mono byte: XFormatViolation "bad prefs file ESavedConvertToMonoSelection";
    // values the program cannot use (IsValidGeneralPreferences): XFormatViolation "ValidateData
    // returned false for prefs file"; a body cut short or longer than its fields, or a damaged
    // text block: XFormatViolation.
    explicit CPreferencesGeneralChunk(CMedia& body);
    // The settings to write; values IsValidGeneralPreferences refuses are an
    // XStdInvalidArgument.
    explicit CPreferencesGeneralChunk(const SGeneralPreferences& general);

    const SGeneralPreferences& GetGeneral() const { return fGeneral; }
    void Write(CMedia& media) const override;

private:
    SGeneralPreferences fGeneral;
};

}  // namespace NSQuillet
