#include "formats/legacy/LegacyLoopFile.h"

#include <algorithm>
#include <vector>

#include "engine/LoopSettings.h"
#include "engine/SliceSequence.h"
#include "formats/legacy/LUXApplicationBlock.h"
#include "formats/legacy/LegacyAIFFReader.h"
#include "formats/legacy/QLTApplicationBlock.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kBytesPerFrame = 2;
constexpr int32_t kLUXSensitivity = CSliceSequence::kMaximumSensitivity;

struct SParsedFile {
    SLoopFileInfo fInfo;
    std::vector<CSlice> fSlices;
};

// The information a legacy file shares with a LUX2 file's defaults: 16-bit mono, stored raw.
SLoopFileInfo BasicInfo(const SAIFFSoundFormat& format) {
    const SLoopFileSettings defaults;
    SLoopFileInfo info;
    info.fChannelCount = 1;
    info.fBitDepth = 16;
    info.fSampleRate = format.fSampleRate;
    info.fFrameCount = format.fFrameCount;
    info.fLoopEnd = format.fFrameCount;
    info.fGeneral.fGain = defaults.fGain;
    info.fGeneral.fPitch = defaults.fPitch;
    info.fGeneral.fExportSlicesSeparately = defaults.fExportSlicesSeparately;
    info.fRulerUnits = defaults.fRulerUnits;
    info.fExportSize = uint32_t(std::min<uint64_t>(uint64_t(format.fFrameCount) * kBytesPerFrame, UINT32_MAX));
    info.fCompressionRatio = 1;
    return info;
}

void ParseLUX(CLegacyAIFFReader& reader, SParsedFile& parsed) {
    SLoopFileInfo& info = parsed.fInfo;
    SLoopFileGeneralInfo& general = info.fGeneral;
    const CLUXApplicationBlock block =
        reader.ReadApplicationChunk([](CMedia* chunk) { return CLUXApplicationBlock(chunk); });
    if (block.GetExportedSize() != uint64_t(info.fFrameCount) * kBytesPerFrame) {
        throw NSMishap::XFormatViolation("wrong fExportedSize in file info");
    }
    for (const SLUXSlice& slice : block.GetSlices()) {
        parsed.fSlices.emplace_back(slice.fPosition, INT16_MAX, ESliceKind::kNormal);
    }
    general.fSliceCount = uint32_t(parsed.fSlices.size());
    general.fBars = block.GetBars();
    general.fBeats = block.GetBeats();
    general.fTimeSignatureNumerator = CLUXApplicationBlock::kBeatsPerBar;
    general.fTimeSignatureDenominator = 4;
    general.fPreviewTempo = block.GetTempo();
    general.fSensitivity = kLUXSensitivity;
    if (const auto loop = reader.ReadSustainLoop(uint32_t(info.fFrameCount))) {
        info.fLoopStart = loop->fStart;
        info.fLoopEnd = loop->fEnd;
    }
}

void ParseQLT(CLegacyAIFFReader& reader, SParsedFile& parsed) {
    SLoopFileInfo& info = parsed.fInfo;
    SLoopFileGeneralInfo& general = info.fGeneral;
    const CQLTApplicationBlock block =
        reader.ReadApplicationChunk([](CMedia* chunk) { return CQLTApplicationBlock(chunk); });
    if (block.GetLoopStart() >= block.GetLoopEnd() || block.GetLoopEnd() > info.fFrameCount) {
        throw NSMishap::XFormatViolation("invalid loop points");
    }
    parsed.fSlices = block.GetSlices();
    general.fSliceCount = uint32_t(parsed.fSlices.size());
    info.fLoopStart = block.GetLoopStart();
    info.fLoopEnd = block.GetLoopEnd();
    general.fBars = block.GetBars();
    general.fBeats = block.GetBeats();
    general.fTimeSignatureNumerator = block.GetTimeSignatureNumerator();
    general.fTimeSignatureDenominator = block.GetTimeSignatureDenominator();
    general.fSensitivity = block.GetSensitivity();
    general.fPreviewOn = block.GetLoopMode() != EQLTLoopMode::kOff;
    info.fSilenceSelected = block.GetLoopMode() == EQLTLoopMode::kOnWithSilenceSelected;
    info.fNormalizeOptionOn = block.IsNormalizeOptionOn();
    general.fPreviewTempo = CLoopSettings::ClampPreviewTempo(
        LoopSettingsOf(general).GetOriginalTempo(int64_t(info.fLoopEnd - info.fLoopStart), info.fSampleRate));
}

SParsedFile ParseFile(CMedia& media, ELoopFileKind kind, const char* notSixteenBitMono) {
    CLegacyAIFFReader reader(media);
    const SAIFFSoundFormat format = reader.ReadFormat();
    if (format.fChannelCount != 1 || format.fSampleSize != 16) throw NSMishap::XFormatViolation(notSixteenBitMono);
    SParsedFile parsed;
    parsed.fInfo = BasicInfo(format);
    if (kind == ELoopFileKind::kLUX) {
        ParseLUX(reader, parsed);
    } else {
        ParseQLT(reader, parsed);
    }
    return parsed;
}

const char* InfoMessage(ELoopFileKind kind) {
    return kind == ELoopFileKind::kLUX ? "lux file that isn't 16-bit mono" : "QLT file that isn't 16-bit mono";
}

int32_t ToFrame(int64_t frame) { return int32_t(std::min<int64_t>(frame, INT32_MAX)); }

}  // namespace

CLegacyLoopFile::CLegacyLoopFile(CMedia& media, ELoopFileKind kind) : fMedia(media), fKind(kind) {
    if (kind != ELoopFileKind::kLUX && kind != ELoopFileKind::kQLT) {
        throw NSMishap::XStdInvalidArgument("not a legacy loop file kind");
    }
}

SLoopFileInfo CLegacyLoopFile::ReadInfo() const { return ParseFile(fMedia, fKind, InfoMessage(fKind)).fInfo; }

SLoopFileSettings CLegacyLoopFile::ReadSettings() const {
    const char* message = fKind == ELoopFileKind::kLUX ? InfoMessage(fKind) : "qlt file that isn't 16-bit mono";
    const SLoopFileInfo info = ParseFile(fMedia, fKind, message).fInfo;
    SLoopFileSettings settings;
    settings.fLoop = LoopSettingsOf(info.fGeneral);
    settings.fLoop.SetSilenceSelected(info.fSilenceSelected);
    settings.fSensitivity = std::clamp(info.fGeneral.fSensitivity, 0, CSliceSequence::kMaximumSensitivity);
    settings.fGateSensitivity = 0;
    settings.fExportSize = info.fExportSize;
    settings.fLeftLocator = ToFrame(info.fLoopStart);
    settings.fRightLocator = ToFrame(info.fLoopEnd);
    return settings;
}

void CLegacyLoopFile::ReadSlices(CSliceSequence& sequence) const {
    const SParsedFile parsed = ParseFile(fMedia, fKind, InfoMessage(fKind));
    for (const CSlice& slice : parsed.fSlices) sequence.InsertSlice(slice);
    sequence.SetGateSensitivity(0);
    sequence.SetSensitivity(parsed.fInfo.fGeneral.fSensitivity);
}

std::vector<CSlice> CLegacyLoopFile::ReadSlicePoints() const {
    return ParseFile(fMedia, fKind, InfoMessage(fKind)).fSlices;
}

std::unique_ptr<CABCWaveSample> CLegacyLoopFile::ReadSound(CLUX2DecompressCallback* callback) const {
    const SLoopFileInfo info = ReadInfo();
    CLegacyAIFFReader reader(fMedia);
    std::unique_ptr<CABCWaveSample> sample = reader.ReadSound(reader.ReadFormat(), callback);
    sample->SetLocators(sample->GetLoopKind(), ToFrame(info.fLoopStart), ToFrame(info.fLoopEnd));
    return sample;
}

}  // namespace NSQuillet
