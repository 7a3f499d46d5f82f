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
    info.fGain = defaults.fGain;
    info.fPitch = defaults.fPitch;
    info.fExportSlicesSeparately = defaults.fExportSlicesSeparately;
    info.fRulerUnits = defaults.fRulerUnits;
    info.fExportSize = uint32_t(std::min<uint64_t>(uint64_t(format.fFrameCount) * kBytesPerFrame, UINT32_MAX));
    info.fCompressionRatio = 1;
    return info;
}

void ParseLUX(CLegacyAIFFReader& reader, SParsedFile& parsed) {
    SLoopFileInfo& info = parsed.fInfo;
    const CLUXApplicationBlock block =
        reader.ReadApplicationChunk([](CMedia* chunk) { return CLUXApplicationBlock(chunk); });
    if (block.GetExportedSize() != uint64_t(info.fFrameCount) * kBytesPerFrame) {
        throw NSMishap::XFormatViolation("wrong fExportedSize in file info");
    }
    for (const SLUXSlice& slice : block.GetSlices()) {
        parsed.fSlices.emplace_back(slice.fPosition, INT16_MAX, ESliceKind::kNormal);
    }
    info.fSliceCount = uint32_t(parsed.fSlices.size());
    info.fBars = block.GetBars();
    info.fBeats = block.GetBeats();
    info.fTimeSignatureNumerator = CLUXApplicationBlock::kBeatsPerBar;
    info.fTimeSignatureDenominator = 4;
    info.fPreviewTempo = block.GetTempo();
    info.fSensitivity = kLUXSensitivity;
    if (const auto loop = reader.ReadSustainLoop(uint32_t(info.fFrameCount))) {
        info.fLoopStart = loop->fStart;
        info.fLoopEnd = loop->fEnd;
    }
}

void ParseQLT(CLegacyAIFFReader& reader, SParsedFile& parsed) {
    SLoopFileInfo& info = parsed.fInfo;
    const CQLTApplicationBlock block =
        reader.ReadApplicationChunk([](CMedia* chunk) { return CQLTApplicationBlock(chunk); });
    if (block.GetLoopStart() >= block.GetLoopEnd() || block.GetLoopEnd() > info.fFrameCount) {
        throw NSMishap::XFormatViolation("invalid loop points");
    }
    parsed.fSlices = block.GetSlices();
    info.fSliceCount = uint32_t(parsed.fSlices.size());
    info.fLoopStart = block.GetLoopStart();
    info.fLoopEnd = block.GetLoopEnd();
    info.fBars = block.GetBars();
    info.fBeats = block.GetBeats();
    info.fTimeSignatureNumerator = block.GetTimeSignatureNumerator();
    info.fTimeSignatureDenominator = block.GetTimeSignatureDenominator();
    info.fSensitivity = block.GetSensitivity();
    info.fPreviewOn = block.GetLoopMode() != EQLTLoopMode::kOff;
    info.fSilenceSelected = block.GetLoopMode() == EQLTLoopMode::kOnWithSilenceSelected;
    info.fNormalizeOptionOn = block.IsNormalizeOptionOn();
    const CLoopSettings loop = CLoopSettings::FromStoredLength(info.fBars, info.fBeats, info.fTimeSignatureNumerator,
                                                               info.fTimeSignatureDenominator);
    info.fPreviewTempo = CLoopSettings::ClampPreviewTempo(
        loop.GetOriginalTempo(int64_t(info.fLoopEnd - info.fLoopStart), info.fSampleRate));
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
    settings.fLoop = CLoopSettings::FromStoredLength(info.fBars, info.fBeats, info.fTimeSignatureNumerator,
                                                     info.fTimeSignatureDenominator);
    settings.fLoop.SetPreviewTempo(info.fPreviewTempo);
    settings.fLoop.SetPreviewOn(info.fPreviewOn);
    settings.fLoop.SetSilenceSelected(info.fSilenceSelected);
    settings.fSensitivity = std::clamp(info.fSensitivity, 0, CSliceSequence::kMaximumSensitivity);
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
    sequence.SetSensitivity(parsed.fInfo.fSensitivity);
}

std::unique_ptr<CABCWaveSample> CLegacyLoopFile::ReadSound(CLUX2DecompressCallback* callback) const {
    const SLoopFileInfo info = ReadInfo();
    CLegacyAIFFReader reader(fMedia);
    std::unique_ptr<CABCWaveSample> sample = reader.ReadSound(reader.ReadFormat(), callback);
    sample->SetLocators(sample->GetLoopKind(), ToFrame(info.fLoopStart), ToFrame(info.fLoopEnd));
    return sample;
}

}  // namespace NSQuillet
