#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/export/ExportFlow.h"
#include "ui/logic/WindowCommands.h"

namespace NSQuillet {

class CABCExportFileFormat;

// A popup's values in their order and the index of the one selected at the start.
template <typename TValue>
struct SChoiceList {
    std::vector<TValue> fValues;
    size_t fSelected = 0;
};

struct SSampleFormatChoices {
    SChoiceList<uint32_t> fSampleRates;
    SChoiceList<int32_t> fBitDepths;
};

// The rates Convert Sample Format offers, in hertz.
inline constexpr std::array<uint32_t, 7> kConvertSampleFormatRates = {11025, 22050, 32000, 44100, 48000, 88200, 96000};

// Convert Sample Format's popups, with the sample's own format selected: the seven rates, and
// the sample's rate in its place among them when it is another one the program works in, so
// that OK at the start changes nothing; the depths the conversion writes (16, 24). A depth
// it does not write selects the nearest above (8 bits: 16), else the highest.
SSampleFormatChoices ConvertSampleFormatChoices(const SSampleFormat& current);

// Export Settings' popups: exactly the rates and depths `format` offers, in its order, with
// `proposed`'s selected, or the format's first where it does not offer them.
SSampleFormatChoices ExportSettingsChoices(const CABCExportFileFormat& format, const SExportSettings& proposed);

// The popups' item texts: "44100 Hz", "24-bit".
std::string SampleRateItemText(uint32_t rate);
std::string BitDepthItemText(int32_t depth);

}  // namespace NSQuillet
