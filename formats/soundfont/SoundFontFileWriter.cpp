#include "formats/soundfont/SoundFontFileWriter.h"

#include <algorithm>

#include "engine/SampleConversion.h"
#include "formats/text/UTF8Text.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr int64_t kLoopMargin = 8;
constexpr int64_t kMinimumLoopLength = 32;
constexpr size_t kNameLength = 20;
constexpr size_t kInfoTextLength = 255;
constexpr size_t kPointsPerBlock = 4096;

constexpr uint16_t kGeneratorPan = 17;
constexpr uint16_t kGeneratorInstrument = 41;
constexpr uint16_t kGeneratorKeyRange = 43;
constexpr uint16_t kGeneratorSampleID = 53;
// Tenths of a percent: fully left and fully right.
constexpr int16_t kPanLeft = -500;
constexpr int16_t kPanRight = 500;

// Chunk bodies are built in memory, little-endian, and written whole.
class CBody {
public:
    void U8(uint8_t value) { fBytes.push_back(value); }
    void U16(uint16_t value) {
        U8(uint8_t(value));
        U8(uint8_t(value >> 8));
    }
    void U32(uint32_t value) {
        U16(uint16_t(value));
        U16(uint16_t(value >> 16));
    }
    void Zeros(size_t count) { fBytes.insert(fBytes.end(), count, 0); }
    // A fixed field of `size` bytes, zero-filled after the text.
    void Name(const std::string& text, size_t size = kNameLength) {
        const std::string name = text.substr(0, size);
        fBytes.insert(fBytes.end(), name.begin(), name.end());
        Zeros(size - name.size());
    }
    const std::vector<uint8_t>& Bytes() const { return fBytes; }

private:
    std::vector<uint8_t> fBytes;
};

void WriteChunk(CMedia& media, TChunkId id, const CBody& body) {
    CRIFFWriter2 chunk(media);
    chunk.BeginChunk(id);
    media.Write(body.Bytes().size(), body.Bytes().data());
    chunk.EndChunk();
}

// The text, its zero, and a second zero when that keeps the chunk's size even.
void WriteInfoText(CMedia& media, TChunkId id, const std::string& text) {
    const std::string bankText = SoundFontText(text, kInfoTextLength);
    if (bankText.empty()) return;
    CBody body;
    body.Name(bankText, bankText.size() + (bankText.size() % 2 == 0 ? 2 : 1));
    WriteChunk(media, id, body);
}

void Generator(CBody& body, uint16_t oper, uint16_t amount) {
    body.U16(oper);
    body.U16(amount);
}

void Bag(CBody& body, uint16_t generatorIndex) {
    body.U16(generatorIndex);
    body.U16(0);
}

int16_t PanOf(ESoundFontSampleType type) {
    switch (type) {
        case ESoundFontSampleType::kLeft: return kPanLeft;
        case ESoundFontSampleType::kRight: return kPanRight;
        case ESoundFontSampleType::kMono: break;
    }
    return 0;
}

}  // namespace

SSoundFontLoop FitSoundFontLoop(int64_t frameCount, int64_t loopStart, int64_t loopEnd) {
    if (frameCount < 2 * kLoopMargin + kMinimumLoopLength) return {0, std::max<int64_t>(frameCount, 0)};
    if (loopStart < 0 || loopEnd > frameCount || loopStart >= loopEnd) {
        loopStart = 0;
        loopEnd = frameCount;
    }
    SSoundFontLoop loop{std::max(loopStart, kLoopMargin), std::min(loopEnd, frameCount - kLoopMargin)};
    if (loop.fEnd - loop.fStart < kMinimumLoopLength) {
        const int64_t middle = loopStart + (loopEnd - loopStart) / 2;
        loop.fStart = std::clamp(middle - kMinimumLoopLength / 2, kLoopMargin,
                                 frameCount - kLoopMargin - kMinimumLoopLength);
        loop.fEnd = loop.fStart + kMinimumLoopLength;
    }
    return loop;
}

int16_t SoundFontPoint(int32_t value, int32_t bitDepth) {
    if (bitDepth == 24) return NSSampleConversion::Round24To16(NSSampleConversion::ClampTo24(value));
    return int16_t(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

std::string SoundFontText(const std::string& text, size_t maximumLength) { return ToASCII(text, 32, 126, maximumLength); }

CSoundFontFileWriter::CSoundFontFileWriter(CMedia& media) : CRIFFWriter2(media), fMedia(media) {}

CSoundFontFileWriter::~CSoundFontFileWriter() = default;

void CSoundFontFileWriter::BeginBank(const SSoundFontInfo& info) {
    if (IsOpen()) throw NSMishap::XIllegalCallSequence("bank already begun");
    BeginRiff(MakeChunkId("sfbk"));

    CRIFFWriter2 infoList(fMedia);
    infoList.BeginList(MakeChunkId("INFO"));
    CBody version;
    version.U16(2);
    version.U16(1);
    WriteChunk(fMedia, MakeChunkId("ifil"), version);
    CBody engine;
    engine.Name("EMU8000", 8);
    WriteChunk(fMedia, MakeChunkId("isng"), engine);
    WriteInfoText(fMedia, MakeChunkId("INAM"), info.fName);
    WriteInfoText(fMedia, MakeChunkId("ICRD"), info.fCreationDate);
    WriteInfoText(fMedia, MakeChunkId("IENG"), info.fEngineer);
    WriteInfoText(fMedia, MakeChunkId("IPRD"), info.fProduct);
    WriteInfoText(fMedia, MakeChunkId("ICOP"), info.fCopyright);
    WriteInfoText(fMedia, MakeChunkId("ICMT"), info.fComment);
    infoList.EndChunk();

    fSampleList = std::make_unique<CRIFFWriter2>(fMedia);
    fSampleList->BeginList(MakeChunkId("sdta"));
    fSampleChunk = std::make_unique<CRIFFWriter2>(fMedia);
    fSampleChunk->BeginChunk(MakeChunkId("smpl"));
    fPointCount = 0;
}

void CSoundFontFileWriter::AppendSlice(const SSoundFontSlice& slice) {
    if (!fSampleChunk) throw NSMishap::XIllegalCallSequence("no bank begun");
    if (slice.fKey < 0 || slice.fKey > 127) throw NSMishap::XStdInvalidArgument("key outside 0..127");
    if (slice.fBitDepth != 16 && slice.fBitDepth != 24) throw NSMishap::XStdInvalidArgument("bit depth not 16 or 24");
    if (slice.fSampleRate == 0) throw NSMishap::XStdInvalidArgument("sample rate 0");
    const bool stereo = !slice.fRight.empty();
    if (stereo && slice.fRight.size() != slice.fLeft.size())
        throw NSMishap::XStdInvalidArgument("channels of different lengths");
    if (fParams.GetCount() + (stereo ? 2 : 1) > kMaximumSampleCount)
        throw NSMishap::XStdLengthError("too many samples for a bank");
    const uint64_t points = uint64_t(slice.fLeft.size() + uint64_t(kPaddingPoints)) * (stereo ? 2 : 1);
    if (fPointCount + points > UINT32_MAX / 2) throw NSMishap::XStdLengthError("sample data of 4 GB or more");

    if (!stereo) {
        AppendSample(slice.fName, slice.fLeft, slice, ESoundFontSampleType::kMono);
        return;
    }
    const uint16_t left = AppendSample(slice.fName + "L", slice.fLeft, slice, ESoundFontSampleType::kLeft);
    const uint16_t right = AppendSample(slice.fName + "R", slice.fRight, slice, ESoundFontSampleType::kRight);
    fParams.Get(left).fLink = right;
    fParams.Get(right).fLink = left;
}

uint16_t CSoundFontFileWriter::AppendSample(const std::string& name, const std::vector<int32_t>& points,
                                            const SSoundFontSlice& slice, ESoundFontSampleType type) {
    const int64_t count = int64_t(points.size());
    std::vector<uint8_t> block;
    block.reserve(kPointsPerBlock * 2);
    for (size_t at = 0; at < points.size(); at += kPointsPerBlock) {
        block.clear();
        for (size_t i = at; i < std::min(points.size(), at + kPointsPerBlock); ++i) {
            const uint16_t point = uint16_t(SoundFontPoint(points[i], slice.fBitDepth));
            block.push_back(uint8_t(point));
            block.push_back(uint8_t(point >> 8));
        }
        fMedia.Write(block.size(), block.data());
    }
    const uint8_t padding[kPaddingPoints * 2] = {};
    fMedia.Write(sizeof padding, padding);

    const SSoundFontLoop loop =
        FitSoundFontLoop(count, slice.fLoopStart, slice.fLoopEnd < 0 ? count : slice.fLoopEnd);
    SSoundFontSampleParams params;
    params.fName = SoundFontText(name, kNameLength);
    params.fStart = uint32_t(fPointCount);
    params.fEnd = uint32_t(fPointCount + uint64_t(count));
    params.fLoopStart = uint32_t(fPointCount + uint64_t(loop.fStart));
    params.fLoopEnd = uint32_t(fPointCount + uint64_t(loop.fEnd));
    params.fSampleRate = slice.fSampleRate;
    // Played on its own key, the sample sounds as recorded.
    params.fRootPitch = uint8_t(slice.fKey);
    params.fType = type;
    params.fLowKey = uint8_t(slice.fKey);
    params.fHighKey = uint8_t(slice.fKey);
    fPointCount += uint64_t(count + kPaddingPoints);
    return fParams.Add(params);
}

void CSoundFontFileWriter::EndBank(const std::string& presetName) {
    if (!fSampleChunk) throw NSMishap::XIllegalCallSequence("no bank begun");
    fSampleChunk->EndChunk();
    fSampleList->EndChunk();
    fSampleChunk.reset();
    fSampleList.reset();
    WritePresetData(SoundFontText(presetName, kNameLength));
    EndChunk();
}

void CSoundFontFileWriter::WritePresetData(const std::string& presetName) {
    const size_t count = fParams.GetCount();
    CRIFFWriter2 presetList(fMedia);
    presetList.BeginList(MakeChunkId("pdta"));

    // One preset of one zone that selects instrument 0; every table ends with its terminal entry.
    CBody presets;
    presets.Name(presetName);
    presets.U16(0);  // preset number
    presets.U16(0);  // bank
    presets.U16(0);  // first bag
    presets.Zeros(12);
    presets.Name("EOP");
    presets.U16(0);
    presets.U16(0);
    presets.U16(1);
    presets.Zeros(12);
    WriteChunk(fMedia, MakeChunkId("phdr"), presets);

    CBody presetBags;
    Bag(presetBags, 0);
    Bag(presetBags, 1);
    WriteChunk(fMedia, MakeChunkId("pbag"), presetBags);
    CBody presetModulators;
    presetModulators.Zeros(10);
    WriteChunk(fMedia, MakeChunkId("pmod"), presetModulators);
    CBody presetGenerators;
    Generator(presetGenerators, kGeneratorInstrument, 0);
    Generator(presetGenerators, 0, 0);
    WriteChunk(fMedia, MakeChunkId("pgen"), presetGenerators);

    CBody instruments;
    instruments.Name(presetName);
    instruments.U16(0);
    instruments.Name("EOI");
    instruments.U16(uint16_t(count));
    WriteChunk(fMedia, MakeChunkId("inst"), instruments);

    // Zone i: keyRange, pan, sampleID; the key range comes first and the sample last, as
    // players require.
    CBody instrumentBags;
    for (size_t i = 0; i <= count; ++i) Bag(instrumentBags, uint16_t(3 * i));
    WriteChunk(fMedia, MakeChunkId("ibag"), instrumentBags);
    CBody instrumentModulators;
    instrumentModulators.Zeros(10);
    WriteChunk(fMedia, MakeChunkId("imod"), instrumentModulators);
    CBody instrumentGenerators;
    for (size_t i = 0; i < count; ++i) {
        const SSoundFontSampleParams& sample = fParams.Get(i);
        Generator(instrumentGenerators, kGeneratorKeyRange, uint16_t(sample.fLowKey | (sample.fHighKey << 8)));
        Generator(instrumentGenerators, kGeneratorPan, uint16_t(PanOf(sample.fType)));
        Generator(instrumentGenerators, kGeneratorSampleID, uint16_t(i));
    }
    Generator(instrumentGenerators, 0, 0);
    WriteChunk(fMedia, MakeChunkId("igen"), instrumentGenerators);

    CBody samples;
    for (size_t i = 0; i < count; ++i) {
        const SSoundFontSampleParams& sample = fParams.Get(i);
        samples.Name(sample.fName);
        samples.U32(sample.fStart);
        samples.U32(sample.fEnd);
        samples.U32(sample.fLoopStart);
        samples.U32(sample.fLoopEnd);
        samples.U32(sample.fSampleRate);
        samples.U8(sample.fRootPitch);
        samples.U8(uint8_t(sample.fPitchCorrection));
        samples.U16(sample.fLink);
        samples.U16(uint16_t(sample.fType));
    }
    samples.Name("EOS");
    samples.Zeros(26);
    WriteChunk(fMedia, MakeChunkId("shdr"), samples);

    presetList.EndChunk();
}

}  // namespace NSQuillet
