#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/LUX2Format.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"
#include "foundation/ValueRange.h"

namespace NSQuillet {

// One stored field of an effect chunk: the setting it holds and the values a file may store.
template <class TSettings>
struct SLUX2EffectField {
    int16_t TSettings::*fMember;
    SValueRange fRange;
};

template <class TSettings, size_t kCount>
constexpr bool RangesFitSixteenBits(const SLUX2EffectField<TSettings> (&fields)[kCount]) {
    constexpr SValueRange kSixteenBits{INT16_MIN, INT16_MAX};
    for (const SLUX2EffectField<TSettings>& field : fields) {
        if (!kSixteenBits.Contains(field.fRange.fLowest) || !kSixteenBits.Contains(field.fRange.fHighest)) return false;
    }
    return true;
}

// The body of an effect chunk: the switch as one byte, then each field of `TLayout::kFields`
// as 16 bits, in that order. `TLayout` names the settings group (TSettings), its fields and
// the message that refuses a value outside its range (kInvalidMessage).
template <class TLayout>
class CLUX2EffectChunk final : public CABCFormat {
public:
    using TSettings = typename TLayout::TSettings;
    static constexpr uint64_t kBodySize = 1 + 2 * std::size(TLayout::kFields);
    static_assert(RangesFitSixteenBits(TLayout::kFields), "every field is kept in 16 bits");

    // A field outside its range: XFormatViolation kInvalidMessage; a body cut short:
    // XFormatViolation "".
    explicit CLUX2EffectChunk(CMedia& body) {
        RequireBytesLeft(body, kBodySize);
        fSettings.fOn = ReadU8(body) != 0;
        bool valid = true;
        // An unsigned field above 32767 reads negative, outside its range, so reading every
        // field as signed refuses the same values.
        for (const SLUX2EffectField<TSettings>& field : TLayout::kFields) {
            fSettings.*field.fMember = int16_t(ReadU16(body));
            valid = valid && field.fRange.Contains(fSettings.*field.fMember);
        }
        if (!valid) throw NSMishap::XFormatViolation(TLayout::kInvalidMessage);
    }

    // Each field clamped into its range.
    explicit CLUX2EffectChunk(const TSettings& settings) : fSettings(settings) {
        for (const SLUX2EffectField<TSettings>& field : TLayout::kFields) {
            fSettings.*field.fMember = int16_t(field.fRange.Clamp(fSettings.*field.fMember));
        }
    }

    // As stored: validated, not yet brought into what the voices use.
    const TSettings& GetSettings() const { return fSettings; }

    void Write(CMedia& media) const override {
        WriteU8(media, fSettings.fOn ? 1 : 0);
        for (const SLUX2EffectField<TSettings>& field : TLayout::kFields) {
            WriteU16(media, uint16_t(fSettings.*field.fMember));
        }
    }

private:
    TSettings fSettings;
};

}  // namespace NSQuillet
