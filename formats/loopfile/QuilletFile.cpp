#include "formats/loopfile/QuilletFile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "formats/iff/IFFFileReader.h"
#include "formats/legacy/LUXApplicationBlock.h"
#include "formats/legacy/LegacyAIFFReader.h"
#include "formats/legacy/LegacyLoopFile.h"
#include "formats/legacy/QLTApplicationBlock.h"
#include "formats/lux2/ChunkBodyIO.h"
#include "formats/lux2/LUX2CreatorInfoChunk.h"
#include "formats/lux2/LUX2EffectLoading.h"
#include "formats/lux2/LUX2EnvelopeChunk.h"
#include "formats/lux2/LUX2EqualizerChunk.h"
#include "formats/lux2/LUX2ExtraInfoChunk.h"
#include "formats/lux2/LUX2Format.h"
#include "formats/lux2/LUX2GeneralInfoChunk.h"
#include "formats/lux2/LUX2HeaderChunk.h"
#include "formats/lux2/LUX2QuilletInfoChunk.h"
#include "formats/lux2/LUX2SampleInfoChunk.h"
#include "formats/lux2/LUX2SliceChunk.h"
#include "formats/lux2/LUX2SoundDecoding.h"
#include "formats/lux2/LUX2TransientShaperChunk.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kSignatureSize = 24;
constexpr uint64_t kLegacySignatureSize = 12;
constexpr uint64_t kApplicationSignatureSize = 8;

// The reader opened at the file's CAT LUX2 group; none there is an XFormatViolation "".
struct SLUX2Reader {
    explicit SLUX2Reader(CMedia& media) : fReader(media) { fReader.EnterCat(kLUX2FileType); }
    CIFFFileReader fReader;
};

template <class TChunk>
std::optional<TChunk> ReadOptionalChunk(CIFFFileReader& reader, TChunkId id) {
    if (!reader.FindOptionalChunk(id)) return std::nullopt;
    std::optional<TChunk> chunk(std::in_place, reader.GetMedia());
    reader.Leave();
    return chunk;
}

struct SEffectChunks {
    CLUX2EnvelopeChunk fEnvelope;
    CLUX2EqualizerChunk fEqualizer;
    CLUX2TransientShaperChunk fShaper;
};

SEffectChunks ReadEffectChunks(CIFFFileReader& reader) {
    reader.EnterCat(kLUX2EffectsType);
    SEffectChunks effects{ReadChunk<CLUX2EnvelopeChunk>(reader, kLUX2EnvelopeId),
                          ReadChunk<CLUX2EqualizerChunk>(reader, kLUX2EqualizerId),
                          ReadChunk<CLUX2TransientShaperChunk>(reader, kLUX2TransientShaperId)};
    reader.Leave();
    return effects;
}

uint32_t ReadBigEndian(const uint8_t* bytes) {
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
}

// The legacy kind named by the first APPL chunk of a FORM AIFF.
ELoopFileKind IdentifyLegacy(CMedia& media) {
    try {
        CIFFFileReader reader(media);
        if (!reader.EnterForm(kAIFFFileType) || !reader.FindOptionalChunk(kAIFFApplicationId)) {
            return ELoopFileKind::kNone;
        }
        CMedia& chunk = reader.GetMedia();
        if (chunk.GetSize() < kApplicationSignatureSize) return ELoopFileKind::kNone;
        uint8_t bytes[kApplicationSignatureSize];
        chunk.Read(sizeof bytes, bytes);
        const uint32_t signature = ReadBigEndian(bytes);
        const uint32_t magic = ReadBigEndian(bytes + 4);
        if (signature == CLUXApplicationBlock::kSignature && magic == CLUXApplicationBlock::kMagic) {
            return ELoopFileKind::kLUX;
        }
        if (signature == CQLTApplicationBlock::kSignature && magic == CQLTApplicationBlock::kMagic) {
            return ELoopFileKind::kQLT;
        }
    } catch (const NSMishap::XFormatViolation&) {
    }
    return ELoopFileKind::kNone;
}

bool IsLegacy(ELoopFileKind kind) { return kind == ELoopFileKind::kLUX || kind == ELoopFileKind::kQLT; }

SLoopFileInfo ReadLUX2Info(CMedia& media) {
    SLUX2Reader file(media);
    CIFFFileReader& reader = file.fReader;
    ReadChunk<CLUX2HeaderChunk>(reader, kLUX2HeaderId);
    const SLoopFileGeneralInfo glob = ReadChunk<CLUX2GeneralInfoChunk>(reader, kLUX2GeneralInfoId).GetInfo();
    const CLUX2QuilletInfoChunk quil = ReadChunk<CLUX2QuilletInfoChunk>(reader, kLUX2QuilletInfoId);
    const SLUX2SampleInfo sinf = ReadChunk<CLUX2SampleInfoChunk>(reader, kLUX2SampleInfoId).GetInfo();
    reader.FindChunk(kLUX2SoundDataId);
    const uint64_t soundBytes = reader.GetChunkSize();
    reader.Leave();

    SLoopFileInfo info;
    info.fChannelCount = sinf.fChannelCount;
    info.fBitDepth = sinf.fBitDepth;
    info.fSampleRate = sinf.fSampleRate;
    info.fFrameCount = sinf.fFrameCount;
    info.fLoopStart = sinf.fLoopStart;
    info.fLoopEnd = sinf.fLoopEnd;
    info.fGeneral = glob;
    info.fSilenceSelected = quil.IsSilenceSelected();
    info.fRulerUnits = quil.GetRulerUnits();
    info.fExportSize = quil.GetExportSize();
    const double bytesPerSample = sinf.fBitDepth == 16 ? 2 : 4;
    const double uncompressed = double(sinf.fChannelCount) * double(sinf.fFrameCount) * bytesPerSample;
    info.fCompressionRatio = uncompressed / double(soundBytes < 2 ? 1 : soundBytes);
    return info;
}

}  // namespace

ELoopFileKind CQuilletFile::Identify(CMedia& media) {
    if (media.GetSize() < kLegacySignatureSize) return ELoopFileKind::kNone;
    uint8_t bytes[kSignatureSize];
    const uint64_t available = std::min<uint64_t>(media.GetSize(), kSignatureSize);
    media.ReadAt(0, available, bytes);
    if (available == kSignatureSize && ReadBigEndian(bytes) == kChunkId_CAT && ReadBigEndian(bytes + 8) == kLUX2FileType &&
        ReadBigEndian(bytes + 12) == kLUX2HeaderId && ReadBigEndian(bytes + 20) == kLUX2HeaderMagic) {
        return ELoopFileKind::kLUX2;
    }
    if (ReadBigEndian(bytes) == kChunkId_FORM && ReadBigEndian(bytes + 8) == kAIFFFileType) {
        return IdentifyLegacy(media);
    }
    return ELoopFileKind::kNone;
}

CQuilletFile::CQuilletFile(std::shared_ptr<CMedia> media) : fMedia(std::move(media)) {
    if (!fMedia) throw NSMishap::XStdInvalidArgument("no media");
    fKind = Identify(*fMedia);
    if (fKind == ELoopFileKind::kNone) throw NSMishap::XUnsupportedFormat("invalid file type");
    fInfo = IsLegacy(fKind) ? CLegacyLoopFile(*fMedia, fKind).ReadInfo() : ReadLUX2Info(*fMedia);
}

SLoopFileSettings CQuilletFile::ReadSettings() const {
    if (IsLegacy(fKind)) return CLegacyLoopFile(*fMedia, fKind).ReadSettings();
    SLUX2Reader file(*fMedia);
    CIFFFileReader& reader = file.fReader;
    const CVersion version = ReadChunk<CLUX2HeaderChunk>(reader, kLUX2HeaderId).GetVersion();
    const SLoopFileGeneralInfo glob = ReadChunk<CLUX2GeneralInfoChunk>(reader, kLUX2GeneralInfoId).GetInfo();
    const CLUX2QuilletInfoChunk quil = ReadChunk<CLUX2QuilletInfoChunk>(reader, kLUX2QuilletInfoId);
    const std::optional<CLUX2ExtraInfoChunk> qltx = ReadOptionalChunk<CLUX2ExtraInfoChunk>(reader, kLUX2ExtraInfoId);
    const SEffectChunks effects = ReadEffectChunks(reader);
    const SLUX2SampleInfo sinf = ReadChunk<CLUX2SampleInfoChunk>(reader, kLUX2SampleInfoId).GetInfo();

    SLoopFileSettings settings;
    settings.fLoop = LoopSettingsOf(glob);
    settings.fLoop.SetSilenceSelected(quil.IsSilenceSelected());
    settings.fSensitivity = glob.fSensitivity;
    settings.fGateSensitivity = glob.fGateSensitivity;
    settings.fGain = int16_t(CLUX2GeneralInfoChunk::kGain.Clamp(glob.fGain));
    settings.fPitch = int16_t(CLUX2GeneralInfoChunk::kPitch.Clamp(glob.fPitch));
    settings.fExportSlicesSeparately = glob.fExportSlicesSeparately;
    settings.fRulerUnits = quil.GetRulerUnits();
    settings.fExportSize = quil.GetExportSize();
    if (qltx) {
        settings.fEditTool = qltx->GetEditTool();
        settings.fWindowState1 = qltx->GetWindowState1();
        settings.fWindowState2 = qltx->GetWindowState2();
        settings.fWindowStateFlag = qltx->GetWindowStateFlag();
    }
    LoadLUX2Effects(version, sinf.fSampleRate, effects.fEnvelope.GetSettings(), effects.fEqualizer.GetSettings(),
                    effects.fShaper.GetSettings(), settings);
    settings.fLeftLocator = int32_t(std::min<uint32_t>(sinf.fLoopStart, INT32_MAX));
    settings.fRightLocator = int32_t(std::min<uint32_t>(sinf.fLoopEnd, INT32_MAX));
    return settings;
}

SLoopFileShownSettings CQuilletFile::ReadShownSettings() const {
    if (IsLegacy(fKind)) {
        const SLoopFileSettings settings = CLegacyLoopFile(*fMedia, fKind).ReadSettings();
        SLoopFileShownSettings shown;
        shown.fInfo = fInfo;
        shown.fTransientShaperOn = settings.fEnvelope.fOn;
        shown.fEqualizerOn = settings.fEqualizer.fOn;
        shown.fCompressorOn = settings.fTransientShaper.fOn;
        return shown;
    }
    if (fKind != ELoopFileKind::kLUX2) throw NSMishap::XUnsupportedFormat("unknown file type");
    SLUX2Reader file(*fMedia);
    CIFFFileReader& reader = file.fReader;
    ReadChunk<CLUX2GeneralInfoChunk>(reader, kLUX2GeneralInfoId);
    ReadChunk<CLUX2QuilletInfoChunk>(reader, kLUX2QuilletInfoId);
    SLoopFileShownSettings shown;
    shown.fInfo = fInfo;
    if (const auto qltx = ReadOptionalChunk<CLUX2ExtraInfoChunk>(reader, kLUX2ExtraInfoId)) {
        shown.fTransientShaperOn = qltx->IsEnvelopeOn();
        shown.fEqualizerOn = qltx->IsEqualizerOn();
        shown.fCompressorOn = qltx->IsTransientShaperOn();
    } else {
        const SEffectChunks effects = ReadEffectChunks(reader);
        shown.fTransientShaperOn = effects.fEnvelope.GetSettings().fOn;
        shown.fEqualizerOn = effects.fEqualizer.GetSettings().fOn;
        shown.fCompressorOn = effects.fShaper.GetSettings().fOn;
    }
    return shown;
}

bool CQuilletFile::ReadCreatorInfo(SLoopFileCreatorInfo& info) const {
    if (IsLegacy(fKind)) return false;
    SLUX2Reader file(*fMedia);
    const auto crei = ReadOptionalChunk<CLUX2CreatorInfoChunk>(file.fReader, kLUX2CreatorInfoId);
    if (!crei) return false;
    info = crei->GetInfo();
    return true;
}

void CQuilletFile::ReadSlices(CSliceSequence& sequence) const {
    if (IsLegacy(fKind)) return CLegacyLoopFile(*fMedia, fKind).ReadSlices(sequence);
    // All slices are read before the sequence changes, so a damaged list leaves it as it was.
    const std::vector<CSlice> slices = ReadSlicePoints();
    for (const CSlice& slice : slices) sequence.InsertSlice(slice);
    sequence.SetSensitivity(fInfo.fGeneral.fSensitivity);
    sequence.SetGateSensitivity(fInfo.fGeneral.fGateSensitivity);
}

std::vector<CSlice> CQuilletFile::ReadSlicePoints() const {
    if (IsLegacy(fKind)) return CLegacyLoopFile(*fMedia, fKind).ReadSlicePoints();
    SLUX2Reader file(*fMedia);
    CIFFFileReader& reader = file.fReader;
    ReadChunk<CLUX2QuilletInfoChunk>(reader, kLUX2QuilletInfoId);
    const SLoopFileGeneralInfo glob = ReadChunk<CLUX2GeneralInfoChunk>(reader, kLUX2GeneralInfoId).GetInfo();
    reader.EnterCat(kLUX2SliceListType);
    if (reader.ChunkCount() != glob.fSliceCount) {
        throw NSMishap::XFormatViolation("wrong # of chunks in kLUX2SliceCatIFFType cat");
    }
    std::vector<CSlice> slices;
    for (bool more = reader.FirstChunk(); more; more = reader.NextChunk()) {
        if (reader.CurrentKind() != EIFFChunkKind::kChunk || reader.CurrentId() != kLUX2SliceId) {
            throw NSMishap::XFormatViolation("wrong chunks header kind in kLUX2SliceCatIFFType cat");
        }
        slices.push_back(CLUX2SliceChunk(reader.GetMedia()).GetSlice());
    }
    return slices;
}

namespace {

// The sample for a LUX2 file's sound, its frames unset, with every check made before decoding;
// `reader` is left in the sound chunk.
std::unique_ptr<CABCWaveSample> SoundSampleFor(CIFFFileReader& reader) {
    const SLUX2SampleInfo sinf = ReadChunk<CLUX2SampleInfoChunk>(reader, kLUX2SampleInfoId).GetInfo();
    if (sinf.fBitDepth != 16 && sinf.fBitDepth != 24) throw NSMishap::XFormatViolation("unknown bit depth");
    if (sinf.fFrameCount > uint32_t(INT32_MAX)) throw NSMishap::XUnsupportedFormat("too many frames");
    reader.FindChunk(kLUX2SoundDataId);
    CMedia& sound = reader.GetMedia();
    // Checked before the sample is allocated: a damaged length must not claim gigabytes.
    if (sound.GetSize() / 4 * 4 < MinimumLUX2SoundBytes(sinf.fFrameCount, sinf.fChannelCount)) {
        throw NSMishap::XFormatViolation("sound chunk too short for its frames");
    }
    const int32_t frames = int32_t(sinf.fFrameCount);
    const bool stereo = sinf.fChannelCount == 2;
    std::unique_ptr<CABCWaveSample> sample;
    if (sinf.fBitDepth == 24) {
        sample = std::make_unique<C24BitWaveSample>(sinf.fSampleRate, frames, stereo, EInitialValues::kUnset);
    } else {
        sample = std::make_unique<C16BitWaveSample>(sinf.fSampleRate, frames, stereo, EInitialValues::kUnset);
    }
    sample->SetLocators(sample->GetLoopKind(), int32_t(sinf.fLoopStart), int32_t(sinf.fLoopEnd));
    return sample;
}

}  // namespace

std::unique_ptr<CABCWaveSample> CQuilletFile::ReadSound(CLUX2DecompressCallback* callback) const {
    if (IsLegacy(fKind)) return CLegacyLoopFile(*fMedia, fKind).ReadSound(callback);
    SLUX2Reader file(*fMedia);
    std::unique_ptr<CABCWaveSample> sample = SoundSampleFor(file.fReader);
    DecodeLUX2Sound(file.fReader.GetMedia(), *sample, callback, true);
    return sample;
}

std::unique_ptr<CABCWaveSample> CQuilletFile::CreateSoundSample() const {
    if (IsLegacy(fKind)) return nullptr;
    SLUX2Reader file(*fMedia);
    return SoundSampleFor(file.fReader);
}

void CQuilletFile::DecodeSound(CABCWaveSample& sample, CLUX2DecompressCallback* callback) const {
    SLUX2Reader file(*fMedia);
    file.fReader.FindChunk(kLUX2SoundDataId);
    DecodeLUX2Sound(file.fReader.GetMedia(), sample, callback, false);
}

}  // namespace NSQuillet
