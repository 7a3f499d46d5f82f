#include "ui/logic/SampleFormatChoices.h"

#include <algorithm>

#include "app/processing/TargetSampleFormat.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/SampleRate.h"
#include "formats/export/ExportFileFormat.h"

namespace NSQuillet {

namespace {

template <typename TValue>
size_t IndexOf(const std::vector<TValue>& values, TValue value) {
    const auto at = std::find(values.begin(), values.end(), value);
    return at == values.end() ? 0 : size_t(at - values.begin());
}

}  // namespace

SSampleFormatChoices ConvertSampleFormatChoices(const SSampleFormat& current) {
    SSampleFormatChoices choices;
    std::vector<uint32_t>& rates = choices.fSampleRates.fValues;
    rates.assign(kConvertSampleFormatRates.begin(), kConvertSampleFormatRates.end());
    if (IsSampleRateInRange(current.fSampleRate) &&
        std::find(rates.begin(), rates.end(), current.fSampleRate) == rates.end())
        rates.insert(std::lower_bound(rates.begin(), rates.end(), current.fSampleRate), current.fSampleRate);
    const auto rate = std::lower_bound(rates.begin(), rates.end(), current.fSampleRate);
    choices.fSampleRates.fSelected = rate == rates.end() ? rates.size() - 1 : size_t(rate - rates.begin());

    std::vector<int32_t>& depths = choices.fBitDepths.fValues;
    depths.assign(kTargetBitDepths.begin(), kTargetBitDepths.end());
    const auto depth = std::lower_bound(depths.begin(), depths.end(), current.fBitDepth);
    choices.fBitDepths.fSelected = depth == depths.end() ? depths.size() - 1 : size_t(depth - depths.begin());
    return choices;
}

SSampleFormatChoices ExportSettingsChoices(const CABCExportFileFormat& format, const SExportSettings& proposed) {
    SSampleFormatChoices choices;
    choices.fSampleRates.fValues = format.GetSampleRates();
    choices.fSampleRates.fSelected = IndexOf(choices.fSampleRates.fValues, proposed.fSampleRate);
    choices.fBitDepths.fValues = format.GetBitDepths();
    choices.fBitDepths.fSelected = IndexOf(choices.fBitDepths.fValues, proposed.fBitDepth);
    return choices;
}

std::string SampleRateItemText(uint32_t rate) {
    return StringReference(NSStringIds::kHertz).With(std::to_string(rate)).GetText();
}

std::string BitDepthItemText(int32_t depth) {
    return StringReference(NSStringIds::kBitDepth).With(std::to_string(depth)).GetText();
}

}  // namespace NSQuillet
