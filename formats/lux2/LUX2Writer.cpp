#include "formats/lux2/LUX2Writer.h"

#include <algorithm>

#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "formats/iff/IFFFileWriter.h"
#include "formats/lux2/ChunkBodyIO.h"
#include "formats/lux2/LUX2CreatorInfoChunk.h"
#include "formats/lux2/LUX2EnvelopeChunk.h"
#include "formats/lux2/LUX2EqualizerChunk.h"
#include "formats/lux2/LUX2ExtraInfoChunk.h"
#include "formats/lux2/LUX2Format.h"
#include "formats/lux2/LUX2GeneralInfoChunk.h"
#include "formats/lux2/LUX2HeaderChunk.h"
#include "formats/lux2/LUX2QuilletInfoChunk.h"
#include "formats/lux2/LUX2SampleInfoChunk.h"
#include "formats/lux2/LUX2SliceChunk.h"
#include "formats/lux2/LUX2SoundEncoding.h"
#include "formats/lux2/LUX2TransientShaperChunk.h"
#include "formats/media/WriteBufferedMedia.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

SLoopFileCreatorInfo MakersDetails() {
    SLoopFileCreatorInfo info;
    info.fName = "Moltrane Software Quillet";
    info.fLegalNotice = "\xC2\xA9 Moltrane Software";
    info.fWebAddress = "https://www.moltrane.example/quillet";
    info.fEmailAddress = "support@moltrane.example";
    return info;
}

SLoopFileGeneralInfo GeneralInfoOf(const SLoopFileSettings& settings, int32_t sliceCount) {
    const CLoopSettings& loop = settings.fLoop;
    SLoopFileGeneralInfo info;
    info.fSliceCount = uint32_t(sliceCount);
    info.fBars = loop.GetBars();
    info.fBeats = loop.GetBeats();
    info.fTimeSignatureNumerator = loop.GetTimeSignatureNumerator();
    info.fTimeSignatureDenominator = loop.GetTimeSignatureDenominator();
    info.fSensitivity = settings.fSensitivity;
    info.fGateSensitivity = settings.fGateSensitivity;
    info.fGain = settings.fGain;
    info.fPitch = settings.fPitch;
    info.fPreviewTempo = loop.GetPreviewTempo();
    info.fExportSlicesSeparately = settings.fExportSlicesSeparately;
    info.fPreviewOn = loop.IsPreviewOn();
    return info;
}

SLUX2SampleInfo SampleInfoOf(const CABCWaveSample& sample, const SLoopFileSettings& settings) {
    SLUX2SampleInfo info;
    info.fChannelCount = sample.GetChannelCount();
    info.fBitDepth = sample.GetBitDepth();
    info.fSampleRate = sample.GetSampleRate();
    info.fFrameCount = uint32_t(std::max(sample.GetFrameCount(), 0));
    info.fLoopStart = uint32_t(std::max(settings.fLeftLocator, 0));
    info.fLoopEnd = uint32_t(std::max(settings.fRightLocator, 0));
    return info;
}

}  // namespace

void WriteLUX2File(CMedia& media, const CABCWaveSample& sample, const CSliceSequence& slices,
                   const SLoopFileSettings& settings, IProgressReporter* progress) {
    // Built first, so that a sample the file cannot hold fails before anything is written.
    const CLUX2SampleInfoChunk sampleInfo(SampleInfoOf(sample, settings));
    const CVersion version = sample.GetBitDepth() == 24 ? CVersion(3, 0) : CVersion(2, 0);

    // The chunk fields and the sizes patched behind them are many small writes: gathered, they
    // reach the file as a few large ones.
    CWriteBufferedMedia buffered(media);
    CIFFFileWriter writer(buffered);
    writer.BeginCat(kLUX2FileType);
    WriteChunk(writer, kLUX2HeaderId, CLUX2HeaderChunk(version));
    WriteChunk(writer, kLUX2CreatorInfoId, CLUX2CreatorInfoChunk(MakersDetails()));
    WriteChunk(writer, kLUX2GeneralInfoId, CLUX2GeneralInfoChunk(GeneralInfoOf(settings, slices.GetSliceCount())));
    WriteChunk(writer, kLUX2QuilletInfoId,
               CLUX2QuilletInfoChunk(version, settings.fLoop.IsSilenceSelected(), settings.fRulerUnits,
                                     settings.fExportSize));
    WriteChunk(writer, kLUX2ExtraInfoId,
               CLUX2ExtraInfoChunk(settings.fEditTool, settings.fWindowState1, settings.fWindowState2,
                                   settings.fWindowStateFlag));

    writer.BeginCat(kLUX2EffectsType);
    WriteChunk(writer, kLUX2EnvelopeId, CLUX2EnvelopeChunk(settings.fEnvelope));
    WriteChunk(writer, kLUX2EqualizerId, CLUX2EqualizerChunk(settings.fEqualizer));
    WriteChunk(writer, kLUX2TransientShaperId, CLUX2TransientShaperChunk(settings.fTransientShaper));
    writer.EndChunk();

    writer.BeginCat(kLUX2SliceListType);
    for (const CSlice& slice : slices.GetSlices()) WriteChunk(writer, kLUX2SliceId, CLUX2SliceChunk(slice));
    writer.EndChunk();

    WriteChunk(writer, kLUX2SampleInfoId, sampleInfo);
    writer.BeginChunk(kLUX2SoundDataId);
    EncodeLUX2Sound(writer.GetMedia(), sample, progress);
    writer.EndChunk();
    writer.EndChunk();
    buffered.Flush();
    media.SetPosition(buffered.GetPosition());
}

}  // namespace NSQuillet
