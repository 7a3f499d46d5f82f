#include "formats/soundfont/SoundFontFileFormat.h"

#include <algorithm>
#include <ctime>

#include "engine/WaveSample.h"
#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/export/ExportFileNames.h"
#include "formats/export/ExportSliceRendering.h"
#include "formats/export/ReplaceConsent.h"
#include "formats/soundfont/SoundFontFileWriter.h"
#include "foundation/Mishap.h"
#include "foundation/ProgressReporter.h"
#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kSoundFontTypeCode = NSDiskKit::MakeFourCharCode('s', 'f', 'b', 'k');
constexpr size_t kSampleNameLength = 20;
constexpr int32_t kBankBitDepth = 16;

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return "";
    return SoundFontDateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

SSoundFontInfo BankInfo(const std::string& loopName) {
    SSoundFontInfo info;
    info.fName = loopName;
    info.fCreationDate = TodayText();
    info.fProduct = "Quillet";
    info.fComment = "Created by Quillet";
    return info;
}

std::vector<int32_t> ChannelPoints(const CABCWaveSample& sample, int32_t channel) {
    std::vector<int32_t> points(size_t(std::max(sample.GetFrameCount(), 0)));
    sample.Get24s(0, sample.GetFrameCount(), points.data(), channel);
    return points;
}

SSoundFontSlice SliceOf(const CABCWaveSample& sample, const std::string& name, int32_t key) {
    SSoundFontSlice slice;
    slice.fName = name;
    slice.fKey = key;
    slice.fSampleRate = sample.GetSampleRate();
    slice.fBitDepth = 24;
    slice.fLeft = ChannelPoints(sample, 1);
    if (sample.IsStereo()) slice.fRight = ChannelPoints(sample, 2);
    if (sample.IsLoopSet()) {
        slice.fLoopStart = sample.GetLeftLocator();
        slice.fLoopEnd = sample.GetRightLocator();
    }
    return slice;
}

}  // namespace

std::string SoundFontSampleName(const std::string& loopName, int32_t index) {
    std::string number = std::to_string(int64_t(index) + 1);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    // The space and the channel letter of a stereo pair take two; the number has at most 10.
    std::string stem = SoundFontText(loopName, kSampleNameLength - 2 - number.size());
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    return stem.empty() ? number : stem + " " + number;
}

std::string SoundFontDateText(int32_t year, int32_t month, int32_t day) {
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    if (month < 1 || month > 12) throw NSMishap::XStdInvalidArgument("month outside 1..12");
    return std::string(kMonths[month - 1]) + " " + std::to_string(day) + ", " + std::to_string(year);
}

CSoundFontFileFormat::CSoundFontFileFormat() {
    for (uint32_t rate : {11025u, 22050u, 32000u, 44100u, 48000u, 88200u, 96000u}) AddSampleRate(rate);
    AddBitDepth(kBankBitDepth);
}

int32_t CSoundFontFileFormat::GetMaximumSliceCount(int32_t baseNote) const { return KeyRangeSliceLimit(baseNote); }

void CSoundFontFileFormat::Export(CExporter& exporter, const NSDiskKit::CFileSpec& target,
                                  const SExportOptions& options) {
    if (options.fBaseNote < 0 || options.fBaseNote > 127) throw NSMishap::XStdInvalidArgument("base note outside 0..127");
    RequireReplaceConsent(options).CheckMayWrite(target);
    const int32_t count =
        std::min(ExportedSliceCount(exporter, options), GetMaximumSliceCount(options.fBaseNote));
    const std::string loopName = options.fLoopName.empty() ? NameWithoutExtension(target.GetName()) : options.fLoopName;

    NSDiskKitSupport::CMediaBridge media(target, kSoundFontTypeCode, NSDiskKit::ECreateMode::kReplaceExisting);
    CSoundFontFileWriter writer(media);
    writer.BeginBank(BankInfo(loopName));
    for (int32_t index = 0; index < count; ++index) {
        if (options.fProgress) ThrowIfStopRequested(*options.fProgress);
        const std::unique_ptr<CABCWaveSample> sample =
            RenderExportSlice(exporter, index, options.fSampleRate, kBankBitDepth);
        writer.AppendSlice(SliceOf(*sample, SoundFontSampleName(loopName, index), options.fBaseNote + index));
        if (options.fProgress) options.fProgress->Progress(int32_t(int64_t(index + 1) * 1000 / count));
    }
    if (options.fProgress) ThrowIfStopRequested(*options.fProgress);
    writer.EndBank(loopName);
    media.Close();
}

}  // namespace NSQuillet
