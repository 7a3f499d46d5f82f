#include "ui/logic/SampleFormatChoices.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "formats/export/ExportFileFormats.h"

namespace NSQuillet {
namespace {

const std::vector<uint32_t> kSevenRates = {11025, 22050, 32000, 44100, 48000, 88200, 96000};

struct SConvertCase {
    const char* fCase;
    SSampleFormat fCurrent;
    std::vector<uint32_t> fRates;
    size_t fRate;
    size_t fDepth;
};

class ConvertSampleFormatChoices : public testing::TestWithParam<SConvertCase> {};

// The sample's own format is selected, so that OK at once keeps it; the seven rates always
// offered, the depths 16 and 24.
TEST_P(ConvertSampleFormatChoices, OfferTheSevenRatesAndSelectTheSamplesOwnFormat) {
    const SSampleFormatChoices choices = NSQuillet::ConvertSampleFormatChoices(GetParam().fCurrent);
    EXPECT_EQ(choices.fSampleRates.fValues, GetParam().fRates);
    EXPECT_EQ(choices.fSampleRates.fSelected, GetParam().fRate);
    EXPECT_EQ(choices.fBitDepths.fValues, (std::vector<int32_t>{16, 24}));
    EXPECT_EQ(choices.fBitDepths.fSelected, GetParam().fDepth);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, ConvertSampleFormatChoices,
    testing::Values(
        SConvertCase{"44100 Hz 16-bit", {44100, 16}, kSevenRates, 3, 0},
        SConvertCase{"the first and the last", {11025, 24}, kSevenRates, 0, 1},
        SConvertCase{"96000 Hz", {96000, 16}, kSevenRates, 6, 0},
        // A rate between two listed ones comes in its place: 44000 after 32000.
        SConvertCase{"44000 Hz", {44000, 24}, {11025, 22050, 32000, 44000, 44100, 48000, 88200, 96000}, 3, 1},
        SConvertCase{"192000 Hz", {192000, 16}, {11025, 22050, 32000, 44100, 48000, 88200, 96000, 192000}, 7, 0},
        // 8 bits are not written: the nearest above, 16.
        SConvertCase{"8-bit", {22050, 8}, kSevenRates, 1, 0},
        // Outside what the program works in: not listed, the nearest end selected.
        SConvertCase{"below the range", {8000, 16}, kSevenRates, 0, 0},
        SConvertCase{"above the range", {2000000, 32}, kSevenRates, 6, 1}),
    [](const testing::TestParamInfo<SConvertCase>& info) { return std::to_string(info.index); });

struct SExportCase {
    EExportFormat fFormat;
    std::vector<uint32_t> fRates;
    std::vector<int32_t> fDepths;
};

TEST(ExportSettingsChoices, OfferExactlyTheFormatsRatesAndDepths) {
    const SExportCase cases[] = {
        {EExportFormat::kWave, kSevenRates, {16, 24}},
        {EExportFormat::kAiff, kSevenRates, {16, 24}},
        {EExportFormat::kSoundFont, kSevenRates, {16}},
        {EExportFormat::kSamplerProgram, {11025, 22050, 32000, 44100, 48000}, {16}},
        {EExportFormat::kMIDI, {}, {}},
    };
    for (const SExportCase& row : cases) {
        SCOPED_TRACE(GetExportFormatName(row.fFormat));
        const SSampleFormatChoices choices = ExportSettingsChoices(*MakeExportFileFormat(row.fFormat), {});
        EXPECT_EQ(choices.fSampleRates.fValues, row.fRates);
        EXPECT_EQ(choices.fBitDepths.fValues, row.fDepths);
    }
}

TEST(ExportSettingsChoices, SelectTheProposedValuesWhereOfferedElseTheFirst) {
    const auto wave = MakeExportFileFormat(EExportFormat::kWave);
    SSampleFormatChoices choices = ExportSettingsChoices(*wave, SExportSettings{88200, 24, true});
    EXPECT_EQ(choices.fSampleRates.fSelected, 5u);
    EXPECT_EQ(choices.fBitDepths.fSelected, 1u);

    const auto program = MakeExportFileFormat(EExportFormat::kSamplerProgram);
    choices = ExportSettingsChoices(*program, SExportSettings{96000, 24, false});
    EXPECT_EQ(choices.fSampleRates.fSelected, 0u);
    EXPECT_EQ(choices.fBitDepths.fSelected, 0u);
}

TEST(SampleFormatItemTexts, SayTheUnits) {
    EXPECT_EQ(SampleRateItemText(44100), "44100 Hz");
    EXPECT_EQ(BitDepthItemText(24), "24-bit");
}

}  // namespace
}  // namespace NSQuillet
