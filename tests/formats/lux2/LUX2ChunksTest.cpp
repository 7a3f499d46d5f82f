#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "formats/lux2/LUX2CreatorInfoChunk.h"
#include "formats/lux2/LUX2EnvelopeChunk.h"
#include "formats/lux2/LUX2EqualizerChunk.h"
#include "formats/lux2/LUX2ExtraInfoChunk.h"
#include "formats/lux2/LUX2GeneralInfoChunk.h"
#include "formats/lux2/LUX2HeaderChunk.h"
#include "formats/lux2/LUX2QuilletInfoChunk.h"
#include "formats/lux2/LUX2SampleInfoChunk.h"
#include "formats/lux2/LUX2SliceChunk.h"
#include "formats/lux2/LUX2TransientShaperChunk.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "tests/formats/lux2/LUX2TestSupport.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

constexpr uint32_t kNone = 0;
constexpr uint32_t kFormat = NSMishap::XFormatViolation::kFailureCode;
constexpr uint32_t kTooNew = NSMishap::XVersionTooNew::kFailureCode;

const TBytes kV1 = {0xBC, 1, 0, 0, 0};
const TBytes kV2 = {0xBC, 2, 0, 0, 0};

// Valid bodies, field by field.
TBytes Head(const TBytes& magic = U32(0x490CF18D), const TBytes& version = kV2, const TBytes& uuid = TBytes(16, 0)) {
    return Cat({magic, version, uuid, U32(0)});
}
// slices, bars, beats, numerator, denominator, sensitivity, gate, gain, pitch, tempo, flags
struct SGlob {
    uint32_t fSlices = 2, fBars = 1, fBeats = 0, fNumerator = 4, fDenominator = 4, fSensitivity = 50, fGate = 0,
             fGain = 1000, fPitch = 0, fTempo = 120000;
    TBytes Bytes() const {
        return Cat({U32(fSlices), U16(fBars), U8(fBeats), U8(fNumerator), U8(fDenominator), U8(fSensitivity),
                    U16(fGate), U16(fGain), U16(fPitch), U32(fTempo), U8(1), U8(0)});
    }
};
template <class TChange>
TBytes Glob(TChange change) {
    SGlob glob;
    change(glob);
    return glob.Bytes();
}
TBytes Quil(const TBytes& version = kV2, uint32_t grid = 10, uint32_t last = 0) {
    return Cat({version, U8(1), U8(grid), U32(1234), U32(last)});
}
TBytes Envelope(uint32_t attack, uint32_t decay, uint32_t stretch) {
    return Cat({U8(1), U16(attack), U16(decay), U16(stretch)});
}
TBytes Shaper(uint32_t threshold, uint32_t ratio, uint32_t attack, uint32_t release) {
    return Cat({U8(1), U16(threshold), U16(ratio), U16(attack), U16(release)});
}
// lo-cut, low freq, low gain, low Q, high freq, high gain, high Q, high-cut
TBytes Equalizer(int lowCut, int lowFrequency, int lowGain, int lowQ, int highFrequency, int highGain, int highQ,
                 int highCut) {
    return Cat({U8(1), U16(uint32_t(lowCut)), U16(uint32_t(lowFrequency)), U16(uint32_t(lowGain)), U16(uint32_t(lowQ)),
                U16(uint32_t(highFrequency)), U16(uint32_t(highGain)), U16(uint32_t(highQ)), U16(uint32_t(highCut))});
}
TBytes Slice(uint32_t position, uint32_t level, uint32_t flags) {
    return Cat({U32(position), U32(9), U16(level), U8(flags)});
}
TBytes SampleInfo(uint32_t channels, uint32_t depthCode, uint32_t rate, uint32_t length, uint32_t start, uint32_t end) {
    return Cat({U8(channels), U8(depthCode), U32(rate), U32(length), U32(start), U32(end)});
}

template <class TChunk>
std::function<void(CMedia&)> Reads() {
    return [](CMedia& body) { TChunk chunk(body); };
}

TEST(LUX2Chunks, ValidateTheirBodiesWithTheirOwnMessages) {
    struct SCase {
        const char* fName;
        std::function<void(CMedia&)> fRead;
        TBytes fBody;
        uint32_t fCode;
        const char* fMessage;
    };
    const auto head = Reads<CLUX2HeaderChunk>();
    const auto creator = Reads<CLUX2CreatorInfoChunk>();
    const auto glob = Reads<CLUX2GeneralInfoChunk>();
    const auto quil = Reads<CLUX2QuilletInfoChunk>();
    const auto qltx = Reads<CLUX2ExtraInfoChunk>();
    const auto trsh = Reads<CLUX2EnvelopeChunk>();
    const auto eq = Reads<CLUX2EqualizerChunk>();
    const auto comp = Reads<CLUX2TransientShaperChunk>();
    const auto slce = Reads<CLUX2SliceChunk>();
    const auto sinf = Reads<CLUX2SampleInfoChunk>();
    const char* const kGlob = "invalid data in general info chunk";
    const char* const kQuil = "invalid data in quillet info chunk";
    const char* const kTrsh = "invalid data in transient shaper chunk";
    const char* const kEq = "invalid data in equalizer chunk";
    const char* const kComp = "invalid data in compressor chunk";
    const char* const kSlce = "invalid data in slice chunk";
    const char* const kSinf = "invalid data in sample info chunk";
    const TBytes fiveTexts = Cat({U32(0), U32(0), U32(0), U32(0), U32(0)});
    const TBytes qltxFields = Cat({U32(2), U8(1), U8(1), U8(1), U32(0), U32(0), U8(0)});
    const SCase cases[] = {
        {"HEAD valid", head, Head(), kNone, ""},
        {"HEAD 3.9 valid", head, Head(U32(0x490CF18D), {0xBC, 3, 9, 0, 0}), kNone, ""},
        {"HEAD magic", head, Head(U32(0x490CF18C)), kFormat, "bad magic number in header chunk"},
        {"HEAD 4.0", head, Head(U32(0x490CF18D), {0xBC, 4, 0, 0, 0}), kTooNew, "old head chunk"},
        {"HEAD 0.9", head, Head(U32(0x490CF18D), {0xBC, 0, 9, 0, 0}), kTooNew, "old head chunk"},
        {"HEAD uuid", head, Head(U32(0x490CF18D), kV2, Cat({TBytes(15, 0), U8(1)})), kFormat,
         "non-zero uuid in header"},
        {"HEAD damaged version", head, Head(U32(0x490CF18D), {0xBD, 2, 0, 0, 0}), kFormat, ""},
        {"HEAD without its text", head, Cat({U32(0x490CF18D), kV2, TBytes(16, 0)}), kFormat, ""},
        {"CREI valid", creator, fiveTexts, kNone, ""},
        {"CREI 255 characters", creator, Cat({U32(255), TBytes(255, 'x'), U32(0), U32(0), U32(0), U32(0)}), kNone, ""},
        {"CREI 256 characters", creator, Cat({U32(0), U32(256), TBytes(256, 'x'), U32(0), U32(0), U32(0)}), kFormat,
         "invalid data in creator info chunk"},
        {"CREI four texts", creator, Cat({U32(0), U32(0), U32(0), U32(0)}), kFormat, ""},
        {"GLOB valid", glob, SGlob().Bytes(), kNone, ""},
        {"GLOB limits", glob, Glob([](SGlob& g) {
             g.fBars = 999;
             g.fBeats = 7;
             g.fNumerator = 15;
             g.fDenominator = 0;
             g.fSensitivity = 99;
             g.fGate = 999;
             g.fGain = 7943;
             g.fPitch = uint16_t(-2400);
             g.fTempo = 450000;
         }), kNone, ""},
        {"GLOB no loop length", glob, Glob([](SGlob& g) { g.fBars = 0; }), kNone, ""},
        {"GLOB bars", glob, Glob([](SGlob& g) { g.fBars = 1000; }), kFormat, kGlob},
        {"GLOB beats", glob, Glob([](SGlob& g) { g.fBeats = 8; }), kFormat, kGlob},
        {"GLOB numerator", glob, Glob([](SGlob& g) { g.fNumerator = 16; }), kFormat, kGlob},
        {"GLOB denominator", glob, Glob([](SGlob& g) { g.fDenominator = 16; }), kFormat, kGlob},
        {"GLOB sensitivity", glob, Glob([](SGlob& g) { g.fSensitivity = 100; }), kFormat, kGlob},
        {"GLOB gate", glob, Glob([](SGlob& g) { g.fGate = 1000; }), kFormat, kGlob},
        {"GLOB gain", glob, Glob([](SGlob& g) { g.fGain = 7944; }), kFormat, kGlob},
        {"GLOB pitch up", glob, Glob([](SGlob& g) { g.fPitch = 2401; }), kFormat, kGlob},
        {"GLOB pitch down", glob, Glob([](SGlob& g) { g.fPitch = uint16_t(-2401); }), kFormat, kGlob},
        {"GLOB tempo low", glob, Glob([](SGlob& g) { g.fTempo = 19999; }), kFormat, kGlob},
        {"GLOB tempo high", glob, Glob([](SGlob& g) { g.fTempo = 450001; }), kFormat, kGlob},
        {"GLOB cut short", glob, TBytes(21, 0), kFormat, ""},
        {"QUIL valid", quil, Quil(), kNone, ""},
        {"QUIL 0.0.0", quil, Quil({0xBC, 0, 0, 0, 0}), kNone, ""},
        {"QUIL 7.1", quil, Quil({0xBC, 7, 1, 0, 0}), kNone, ""},
        {"QUIL 1.9", quil, Quil({0xBC, 1, 9, 0, 0}), kFormat, kQuil},
        {"QUIL 0.0.1", quil, Quil({0xBC, 0, 0, 1, 0}), kFormat, kQuil},
        {"QUIL last negative", quil, Quil(kV2, 10, 0x80000000), kFormat, kQuil},
        {"QUIL last 2^31 - 1", quil, Quil(kV2, 10, 0x7FFFFFFF), kNone, ""},
        {"QUIL grid 2", quil, Quil(kV2, 2), kFormat, "invalid grid/unit byte quillet info chunk"},
        {"QUIL grid 13", quil, Quil(kV2, 13), kFormat, "invalid grid/unit byte quillet info chunk"},
        {"QUIL cut short", quil, Cat({kV2, TBytes(9, 0)}), kFormat, ""},
        {"QLTX valid", qltx, Cat({kV1, qltxFields}), kNone, ""},
        {"QLTX 1.4", qltx, Cat({TBytes{0xBC, 1, 4, 0, 0}, qltxFields}), kNone, ""},
        {"QLTX 2.0", qltx, Cat({kV2, qltxFields}), kTooNew, "old extra info chunk"},
        {"QLTX 0.9", qltx, Cat({TBytes{0xBC, 0, 9, 0, 0}, qltxFields}), kTooNew, "old extra info chunk"},
        {"QLTX cut short", qltx, Cat({kV1, TBytes(15, 0)}), kFormat, ""},
        {"TRSH valid", trsh, Envelope(1023, 1023, 100), kNone, ""},
        {"TRSH attack", trsh, Envelope(1024, 0, 0), kFormat, kTrsh},
        {"TRSH decay", trsh, Envelope(0, 1024, 0), kFormat, kTrsh},
        {"TRSH stretch", trsh, Envelope(0, 0, 101), kFormat, kTrsh},
        {"TRSH cut short", trsh, TBytes(6, 0), kFormat, ""},
        {"EQ lowest", eq, Equalizer(15, 20, -18000, 500, 1500, -18000, 500, 100), kNone, ""},
        {"EQ highest", eq, Equalizer(12000, 3000, 18000, 10000, 16000, 18000, 10000, 20000), kNone, ""},
        {"EQ lo-cut", eq, Equalizer(14, 20, 0, 500, 1500, 0, 500, 100), kFormat, kEq},
        {"EQ low frequency", eq, Equalizer(15, 3001, 0, 500, 1500, 0, 500, 100), kFormat, kEq},
        {"EQ low gain", eq, Equalizer(15, 20, -18001, 500, 1500, 0, 500, 100), kFormat, kEq},
        {"EQ low Q", eq, Equalizer(15, 20, 0, 499, 1500, 0, 500, 100), kFormat, kEq},
        {"EQ high frequency", eq, Equalizer(15, 20, 0, 500, 1499, 0, 500, 100), kFormat, kEq},
        {"EQ high gain", eq, Equalizer(15, 20, 0, 500, 1500, 18001, 500, 100), kFormat, kEq},
        {"EQ high Q", eq, Equalizer(15, 20, 0, 500, 1500, 0, 10001, 100), kFormat, kEq},
        {"EQ high-cut", eq, Equalizer(15, 20, 0, 500, 1500, 0, 500, 20001), kFormat, kEq},
        {"EQ cut short", eq, TBytes(16, 0), kFormat, ""},
        {"COMP valid", comp, Shaper(127, 127, 1023, 1023), kNone, ""},
        {"COMP threshold", comp, Shaper(128, 0, 0, 0), kFormat, kComp},
        {"COMP ratio", comp, Shaper(0, 128, 0, 0), kFormat, kComp},
        {"COMP attack", comp, Shaper(0, 0, 1024, 0), kFormat, kComp},
        {"COMP release", comp, Shaper(0, 0, 0, 1024), kFormat, kComp},
        {"COMP cut short", comp, TBytes(8, 0), kFormat, ""},
        {"SLCE valid", slce, Slice(5, 32767, 7 & ~1), kNone, ""},
        {"SLCE flags 3", slce, Slice(5, 1, 3), kFormat, kSlce},
        {"SLCE flags 8", slce, Slice(5, 1, 8), kFormat, "bad flags in slice chunk"},
        {"SLCE flags 0x83", slce, Slice(5, 1, 0x83), kFormat, "bad flags in slice chunk"},
        {"SLCE negative level", slce, Slice(5, 0x8000, 0), kFormat, kSlce},
        {"SLCE position past 2^31 - 1", slce, Slice(0x80000000, 1, 0), kFormat, kSlce},
        {"SLCE cut short", slce, TBytes(10, 0), kFormat, ""},
        {"SINF valid", sinf, SampleInfo(2, 5, 1000, 10, 9, 10), kNone, ""},
        {"SINF 0 channels", sinf, SampleInfo(0, 3, 44100, 10, 0, 10), kFormat, kSinf},
        {"SINF 3 channels", sinf, SampleInfo(3, 3, 44100, 10, 0, 10), kFormat, kSinf},
        {"SINF 8-bit", sinf, SampleInfo(1, 1, 44100, 10, 0, 10), kFormat, kSinf},
        {"SINF 32-bit", sinf, SampleInfo(1, 7, 44100, 10, 0, 10), kFormat, kSinf},
        {"SINF depth code 4", sinf, SampleInfo(1, 4, 44100, 10, 0, 10), kFormat, kSinf},
        {"SINF rate 999", sinf, SampleInfo(1, 3, 999, 10, 0, 10), kFormat, kSinf},
        {"SINF rate 1000001", sinf, SampleInfo(1, 3, 1000001, 10, 0, 10), kFormat, kSinf},
        {"SINF start after end", sinf, SampleInfo(1, 3, 44100, 10, 6, 5), kFormat, kSinf},
        {"SINF start at length", sinf, SampleInfo(1, 3, 44100, 10, 10, 10), kFormat, kSinf},
        {"SINF end past length", sinf, SampleInfo(1, 3, 44100, 10, 0, 11), kFormat, kSinf},
        {"SINF cut short", sinf, TBytes(17, 0), kFormat, ""},
    };
    for (const SCase& c : cases) {
        COwnedMemoryMedia body(c.fBody.size(), c.fBody.data());
        const SCaughtFailure caught = CatchFailure([&] { c.fRead(body); });
        EXPECT_EQ(caught.fCode, c.fCode) << c.fName << " threw: " << caught.fMessage;
        EXPECT_EQ(caught.fMessage, c.fMessage) << c.fName;
    }
}

TBytes Written(const CABCFormat& chunk) {
    COwnedMemoryMedia media;
    chunk.Write(media);
    return BytesOf(media);
}

TEST(LUX2HeaderChunk, WritesMagicVersionZerosAndAnEmptyTextIn29Bytes) {
    const TBytes body = Written(CLUX2HeaderChunk(CVersion(3, 0)));
    EXPECT_EQ(body, Cat({U32(0x490CF18D), TBytes{0xBC, 3, 0, 0, 0}, TBytes(16, 0), U32(0)}));
    EXPECT_EQ(body.size(), 29u);
    EXPECT_FAILURE(CLUX2HeaderChunk(CVersion(4, 0)), XStdInvalidArgument, "header version outside 1.0..3.x");
}

TEST(LUX2QuilletInfoChunk, MapsGridCodesToRulerUnitsAndWritesTheCurrentCodes) {
    struct SCase {
        uint32_t fCode;
        uint32_t fUnits;
        uint32_t fWritten;
    };
    // 0 and 10 time, 11 samples, 12 and the older 1 beats; written 10, 11, 12.
    const SCase cases[] = {{0, 286, 10}, {10, 286, 10}, {11, 287, 11}, {12, 288, 12}, {1, 288, 12}};
    for (const SCase& c : cases) {
        const TBytes body = Quil(kV2, c.fCode, 0);
        COwnedMemoryMedia media(body.size(), body.data());
        const CLUX2QuilletInfoChunk chunk(media);
        EXPECT_EQ(chunk.GetRulerUnits(), c.fUnits) << c.fCode;
        EXPECT_TRUE(chunk.IsSilenceSelected());
        EXPECT_EQ(chunk.GetExportSize(), 1234u);
        EXPECT_EQ(Written(chunk), Quil(kV2, c.fWritten, 0)) << c.fCode;
    }
    EXPECT_EQ(Written(CLUX2QuilletInfoChunk(CVersion(2, 0), false, 999, 7)), Cat({kV2, U8(0), U8(10), U32(7), U32(0)}))
        << "unknown ruler units are written as time";
}

TEST(LUX2SliceChunk, ReadsKindsAndSelectionFromTheFlagsAndWritesThemBack) {
    struct SCase {
        uint32_t fFlags;
        ESliceKind fKind;
        bool fSelected;
    };
    const SCase cases[] = {{0, ESliceKind::kNormal, false}, {1, ESliceKind::kMuted, false},
                           {2, ESliceKind::kLocked, false}, {4, ESliceKind::kNormal, true},
                           {5, ESliceKind::kMuted, true},   {6, ESliceKind::kLocked, true}};
    for (const SCase& c : cases) {
        const TBytes body = Slice(70000, 1234, c.fFlags);
        COwnedMemoryMedia media(body.size(), body.data());
        const CLUX2SliceChunk chunk(media);
        EXPECT_EQ(chunk.GetSlice().GetPosition(), 70000) << c.fFlags;
        EXPECT_EQ(chunk.GetSlice().GetLevel(), 1234) << c.fFlags;
        EXPECT_EQ(chunk.GetSlice().GetKind(), c.fKind) << c.fFlags;
        EXPECT_EQ(chunk.GetSlice().IsSelected(), c.fSelected) << c.fFlags;
        CSlice slice = chunk.GetSlice();
        slice.SetLength(9);
        EXPECT_EQ(Written(CLUX2SliceChunk(slice)), body) << c.fFlags;
    }
}

TEST(LUX2CreatorInfoChunk, KeepsTextsOutsideWindows1252AndCutsLongOnesForWriting) {
    SLoopFileCreatorInfo info;
    info.fName = "\xC3\x9Cn\xC3\xAF" "c\xC3\xB8" "d\xC3\xA9 \xE2\x9C\x93 \xE6\x97\xA5\xE6\x9C\xAC";
    info.fLegalNotice = "\xC2\xA9 caf\xC3\xA9";
    info.fFifth = std::string(254, 'a') + "\xE6\x97\xA5\xE6\x9C\xAC";  // 256 characters
    const CLUX2CreatorInfoChunk written(info);
    EXPECT_EQ(written.GetInfo().fFifth, std::string(254, 'a') + "\xE6\x97\xA5") << "cut to 255 characters";
    const TBytes body = Written(written);
    COwnedMemoryMedia media(body.size(), body.data());
    const CLUX2CreatorInfoChunk read(media);
    EXPECT_EQ(read.GetInfo().fName, info.fName);
    EXPECT_EQ(read.GetInfo().fLegalNotice, info.fLegalNotice);
    EXPECT_EQ(read.GetInfo().fWebAddress, "");
    EXPECT_EQ(read.GetInfo().fFifth, written.GetInfo().fFifth);
    // The legal notice went 8-bit: length 6, © = 0xA9, é = 0xE9; it follows the UTF-8 name.
    const TBytes legal = Cat({U32(6), TBytes{0xA9, ' ', 'c', 'a', 'f', 0xE9}});
    EXPECT_EQ(TBytes(body.begin() + 4 + 5 + 4 + 22, body.begin() + 4 + 5 + 4 + 22 + 10), legal);
}

// The writing constructors clamp, so a document value outside a range cannot make a file that
// its own reader refuses.
TEST(LUX2Chunks, ClampWhatTheyWriteIntoTheRangesTheyRead) {
    const auto readBack = [](const CABCFormat& chunk, auto read) {
        const TBytes body = Written(chunk);
        COwnedMemoryMedia media(body.size(), body.data());
        return read(media);
    };
    SLoopFileGeneralInfo glob;
    glob.fBars = 5000;
    glob.fBeats = -3;
    glob.fTimeSignatureNumerator = 64;
    glob.fTimeSignatureDenominator = -1;
    glob.fSensitivity = 150;
    glob.fGateSensitivity = 4000;
    glob.fGain = -20;
    glob.fPitch = 9999;
    glob.fPreviewTempo = 5;
    const SLoopFileGeneralInfo g =
        readBack(CLUX2GeneralInfoChunk(glob), [](CMedia& m) { return CLUX2GeneralInfoChunk(m).GetInfo(); });
    EXPECT_EQ(g.fBars, 999);
    EXPECT_EQ(g.fBeats, 0);
    EXPECT_EQ(g.fTimeSignatureNumerator, 15);
    EXPECT_EQ(g.fTimeSignatureDenominator, 0);
    EXPECT_EQ(g.fSensitivity, 99);
    EXPECT_EQ(g.fGateSensitivity, 999);
    EXPECT_EQ(g.fGain, 0);
    EXPECT_EQ(g.fPitch, 2400);
    EXPECT_EQ(g.fPreviewTempo, 20000);

    const SEnvelopeSettings e = readBack(CLUX2EnvelopeChunk(SEnvelopeSettings{true, -1, 5000, 300}),
                                         [](CMedia& m) { return CLUX2EnvelopeChunk(m).GetSettings(); });
    EXPECT_EQ(e.fAttack, 0);
    EXPECT_EQ(e.fDecay, 1023);
    EXPECT_EQ(e.fStretch, 100);

    // The release is the largest value a document can hold.
    const STransientShaperSettings s =
        readBack(CLUX2TransientShaperChunk(STransientShaperSettings{true, 200, -5, 1024, 32767}),
                 [](CMedia& m) { return CLUX2TransientShaperChunk(m).GetSettings(); });
    EXPECT_EQ(s.fThreshold, 127);
    EXPECT_EQ(s.fRatio, 0);
    EXPECT_EQ(s.fAttack, 1023);
    EXPECT_EQ(s.fRelease, 1023);

    // Low cut, low frequency, low Q, low gain, high frequency, high Q, high gain, high cut.
    const SEqualizerSettings equalizer{true, 0, 9000, 20, -30000, 100, 20000, 30000, 32767};
    const SEqualizerSettings q =
        readBack(CLUX2EqualizerChunk(equalizer), [](CMedia& m) { return CLUX2EqualizerChunk(m).GetSettings(); });
    EXPECT_EQ(q.fLowCut, 15);
    EXPECT_EQ(q.fLowFrequency, 3000);
    EXPECT_EQ(q.fLowGain, -18000);
    EXPECT_EQ(q.fLowQ, 500);
    EXPECT_EQ(q.fHighFrequency, 1500);
    EXPECT_EQ(q.fHighGain, 18000);
    EXPECT_EQ(q.fHighQ, 10000);
    EXPECT_EQ(q.fHighCut, 20000);

    SLUX2SampleInfo info;
    info.fChannelCount = 1;
    info.fBitDepth = 16;
    info.fSampleRate = 500;
    info.fFrameCount = 100;
    info.fLoopStart = 100;
    info.fLoopEnd = 7;
    const SLUX2SampleInfo i =
        readBack(CLUX2SampleInfoChunk(info), [](CMedia& m) { return CLUX2SampleInfoChunk(m).GetInfo(); });
    EXPECT_EQ(i.fSampleRate, 1000u);
    EXPECT_EQ(i.fLoopStart, 99u);
    EXPECT_EQ(i.fLoopEnd, 99u);
    info.fFrameCount = 0;
    EXPECT_FAILURE(CLUX2SampleInfoChunk{info}, XStdInvalidArgument, "a loop file holds at least one frame");

    const CSlice slice = readBack(CLUX2SliceChunk(CSlice(-4, -7, ESliceKind::kLocked)),
                                  [](CMedia& m) { return CLUX2SliceChunk(m).GetSlice(); });
    EXPECT_EQ(slice.GetPosition(), 0);
    EXPECT_EQ(slice.GetLevel(), 0);

    const auto editTool = [](CMedia& m) { return CLUX2ExtraInfoChunk(m).GetEditTool(); };
    EXPECT_EQ(readBack(CLUX2ExtraInfoChunk(12, 1, 2, 3), editTool), 685u);
}

}  // namespace
