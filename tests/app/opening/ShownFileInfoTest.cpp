#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/opening/DocumentOpening.h"
#include "app/opening/FilePreview.h"
#include "app/opening/FilePreviewWorker.h"
#include "app/opening/ShownFileInfo.h"
#include "app/opening/SoundFileInfoCheck.h"
#include "app/resources/AlertIds.h"
#include "engine/16BitWaveSample.h"
#include "engine/AudioOutputState.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "tests/formats/legacy/LegacyLoopFileBuilder.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/RiffBytes.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

// A PCM (format 1) or float (format 3) WAVE file of silent frames, written out by hand so that
// its size is known: 44 header bytes and the data.
std::string WaveBytes(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames) {
    using namespace NSRiffBytes;
    const uint16_t block = uint16_t(channels * bits / 8);
    const Bytes fmt = U16(format) + U16(channels) + U32(rate) + U32(rate * block) + U16(block) + U16(bits);
    const Bytes data = Zeros(size_t(frames) * block);
    const Bytes body = Id("WAVE") + Chunk("fmt ", fmt) + Chunk("data", data);
    const Bytes riff = Id("RIFF") + U32(uint32_t(body.size())) + body;
    return std::string(riff.begin(), riff.end());
}

std::string Saved(const CTemporaryFolder& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    return folder.Make(name, std::string(bytes.begin(), bytes.end()));
}

// A loop file over `sample` with `slices` (null: none) and `bars` of 4/4.
std::string SaveLoop(const CTemporaryFolder& folder, const std::string& name, std::unique_ptr<CABCWaveSample> sample,
                     std::unique_ptr<CSliceSequence> slices, int32_t bars) {
    if (!slices) slices = std::make_unique<CSliceSequence>(sample.get());
    CQuilletDocument document(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fLoop.SetBars(bars);
    document.PerformParametersChange(parameters, "Change Loop Length");
    const std::string path = folder.PathOf(name);
    SaveAs(document, path);
    return path;
}

std::unique_ptr<CSliceSequence> MutedSlices(const CABCWaveSample& sample, const std::vector<int32_t>& positions) {
    auto slices = std::make_unique<CSliceSequence>(&sample);
    for (const int32_t position : positions) slices->InsertSlice(CSlice(position, 20000, ESliceKind::kMuted));
    return slices;
}

struct SFileTexts {
    std::string fType, fChannels, fLength, fBits, fRate, fSize;
};

SFileTexts FileTexts(const CShownSoundFileInfo& file) {
    return {file.TypeText(), file.ChannelsText(), file.LengthText(), file.BitsText(), file.RateText(), file.SizeText()};
}

void ExpectFileTexts(const CShownSoundFileInfo& file, const SFileTexts& expected) {
    const SFileTexts actual = FileTexts(file);
    EXPECT_EQ(actual.fType, expected.fType);
    EXPECT_EQ(actual.fChannels, expected.fChannels);
    EXPECT_EQ(actual.fLength, expected.fLength);
    EXPECT_EQ(actual.fBits, expected.fBits);
    EXPECT_EQ(actual.fRate, expected.fRate);
    EXPECT_EQ(actual.fSize, expected.fSize);
}

TEST(ShownFileInfo, ValueTextsUseTheProgramsUnits) {
    struct SLength {
        int64_t fFrames, fRate;
        const char* fText;
    };
    const SLength lengths[] = {
        {0, 44100, "0.00 s"},
        {176400, 44100, "4.00 s"},
        {44099, 44100, "0.99 s"},            // 0.99997 s, truncated
        {2646000 - 1, 44100, "59.99 s"},     // a frame short of a minute
        {2646000, 44100, "1.0 m"},
        {11025 * 300 - 1, 11025, "4.9 m"},   // 299.9999 s: 4.99 m, truncated as the long-file rule counts
        {11025 * 300, 11025, "5.0 m"},
        {44100 * 5400, 44100, "90.0 m"},
        {1000, 0, "n/a"},
    };
    for (const SLength& row : lengths) EXPECT_EQ(FormatLengthText(row.fFrames, row.fRate), row.fText) << row.fFrames;

    struct SSize {
        int64_t fBytes;
        const char* fText;
    };
    const SSize sizes[] = {
        {-1, "n/a"},
        {0, "0 bytes"},
        {1, "1 byte"},
        {1023, "1023 bytes"},
        {1024, "1.0 kB"},
        {1536, "1.5 kB"},
        {1075, "1.0 kB"},               // 1.0498 kB
        {1076, "1.1 kB"},               // 1.0508 kB, rounded up
        {1048575, "1.0 MB"},            // 1023.999 kB rounds to 1024.0 kB: shown in the next unit
        {144 + 44 + 1048576 * 3, "3.0 MB"},
        {int64_t(5) << 40, "5120.0 GB"},  // GB is the largest unit
    };
    for (const SSize& row : sizes) EXPECT_EQ(FormatByteSizeText(row.fBytes), row.fText) << row.fBytes;

    struct STempo {
        int32_t fThousandths;
        const char* fText;
    };
    const STempo tempos[] = {
        {0, "n/a"},
        {120000, "120.0 BPM"},
        {97549, "97.5 BPM"},    // tenths rounded: 975.49
        {97550, "97.6 BPM"},    // 975.50 rounds up
        {999900, "999.9 BPM"},
        {999901, ">999.9 BPM"},  // above 999.9 even though it would round to 999.9
        {999999, ">999.9 BPM"},
    };
    for (const STempo& row : tempos) EXPECT_EQ(FormatTempoText(row.fThousandths), row.fText) << row.fThousandths;

    struct SBars {
        int32_t fBars, fBeats, fBeatsPerBar;
        const char* fText;
    };
    const SBars bars[] = {
        {0, 0, 4, "n/a"},
        {2, 0, 4, "2 Bars"},
        {1, 0, 4, "1 Bars"},
        {2, 1, 4, "2.25 Bars"},  // 9 beats / 4
        {1, 2, 4, "1.5 Bars"},   // 6 / 4, the trailing zero dropped
        {0, 1, 3, "0.33 Bars"},  // 1 / 3 = 0.333
        {0, 2, 3, "0.67 Bars"},  // 2 / 3 = 0.667, rounded
        {2, 1, 3, "2.33 Bars"},  // 7 / 3
        {999, 7, 15, "999.47 Bars"},  // 14992 / 15 = 999.4667
    };
    for (const SBars& row : bars)
        EXPECT_EQ(FormatBarsText(row.fBars, row.fBeats, row.fBeatsPerBar), row.fText) << row.fBars << "+" << row.fBeats;
}

TEST(ShownFileInfo, EachReasonHasItsTwoLines) {
    struct SRow {
        int32_t fReason;
        const char* fFirst;
        const char* fSecond;
    };
    const SRow rows[] = {
        {0, "", ""},
        {1, "File too long", "for auto-play"},
        {2, "Loop length", "is not set"},
        {3, "All slices in", "loop are mute"},
        {10, "", ""},
        {11, "Unsupported", "bit depth"},
        {12, "Stereo or", "mono only"},
        {13, "Unsupported", "sample rate"},
        {20, "Too little", "memory"},
        {21, "File corrupt or", "unknown"},
        {22, "File is too new", "to be loaded"},
        {23, "File cannot", "be found"},
        {24, "Unable to", "open file"},
        {25, "Internal", "error"},
        {26, "", ""},
    };
    for (const SRow& row : rows) {
        const std::array<std::string, 2> lines = PreviewMessageLines(row.fReason);
        EXPECT_EQ(lines[0], row.fFirst) << row.fReason;
        EXPECT_EQ(lines[1], row.fSecond) << row.fReason;
    }
    struct SFailure {
        std::exception_ptr fFailure;
        int32_t fReason;
    };
    const SFailure failures[] = {
        {std::make_exception_ptr(NSMishap::XFormatViolation("")), 21},
        {std::make_exception_ptr(NSMishap::XUnsupportedFormat("")), 21},
        {std::make_exception_ptr(NSMishap::XVersionTooNew("")), 22},
        {std::make_exception_ptr(NSMishap::XNotFound("")), 23},
        {std::make_exception_ptr(NSMishap::XPermission("")), 24},
        {std::make_exception_ptr(NSMishap::XRead("")), 24},
        {std::make_exception_ptr(NSMishap::XStdBadAlloc("")), 20},
        {std::make_exception_ptr(std::bad_alloc()), 20},
        {std::make_exception_ptr(NSMishap::XAbort("")), 25},
        {std::make_exception_ptr(std::logic_error("")), 25},
    };
    for (const SFailure& row : failures) {
        try {
            std::rethrow_exception(row.fFailure);
        } catch (const std::exception& failure) {
            EXPECT_EQ(PreviewReasonOfFailure(failure), row.fReason) << typeid(failure).name();
        }
    }
}

TEST(ShownFileInfo, SoundFilesShowTheirHeaderAndTheReasonOpeningWouldRefuse) {
    CTemporaryFolder folder;
    struct SRow {
        const char* fName;
        std::string fBytes;
        SFileTexts fTexts;
        int32_t fReason;
    };
    const SRow rows[] = {
        // 3 bytes per frame: 44 + 48000 × 3 = 144044 bytes = 140.67 kB.
        {"mono24.wav", WaveBytes(1, 1, 48000, 24, 48000),
         {"Wave File", "Mono", "1.00 s", "24-bit", "48000 Hz", "140.7 kB"}, NSPreviewReason::kNone},
        // 44 + 100 × 8 = 844 bytes.
        {"stereo32.wav", WaveBytes(1, 2, 44100, 32, 100),
         {"Wave File", "Stereo", "0.00 s", "32-bit", "44100 Hz", "844 bytes"}, NSPreviewReason::kUnsupportedBitDepth},
        {"float.wav", WaveBytes(3, 1, 44100, 32, 100),
         {"Wave File", "Mono", "0.00 s", "32-bit float", "44100 Hz", "444 bytes"}, NSPreviewReason::kUnsupportedBitDepth},
        // 44 + 22050 × 6 = 132344 bytes = 129.24 kB.
        {"three.wav", WaveBytes(1, 3, 44100, 16, 22050),
         {"Wave File", "3", "0.50 s", "16-bit", "44100 Hz", "129.2 kB"}, NSPreviewReason::kUnsupportedChannels},
        // 44 + 8000 × 2 = 16044 bytes = 15.67 kB.
        {"low.wav", WaveBytes(1, 1, 8000, 16, 8000),
         {"Wave File", "Mono", "1.00 s", "16-bit", "8000 Hz", "15.7 kB"}, NSPreviewReason::kUnsupportedSampleRate},
        // Bit depth is checked before the channels, as opening checks.
        {"both.wav", WaveBytes(1, 3, 8000, 32, 10),
         {"Wave File", "3", "0.00 s", "32-bit", "8000 Hz", "164 bytes"}, NSPreviewReason::kUnsupportedBitDepth},
        // 5 minutes: 44 + 3307500 × 2 = 6615044 bytes = 6.31 MB.
        {"long.wav", WaveBytes(1, 1, 11025, 16, 11025 * 300),
         {"Wave File", "Mono", "5.0 m", "16-bit", "11025 Hz", "6.3 MB"}, NSPreviewReason::kTooLongForAutoPlay},
        {"short.wav", WaveBytes(1, 1, 11025, 16, 11025 * 300 - 1),
         {"Wave File", "Mono", "4.9 m", "16-bit", "11025 Hz", "6.3 MB"}, NSPreviewReason::kNone},
        {"notes.mid", "MThd" + std::string(10, '\0'), {"Standard MIDI File", "n/a", "n/a", "n/a", "n/a", "14 bytes"},
         NSPreviewReason::kNotASound},
        {"bank.sf2", "RIFF" + std::string(4, '\0') + "sfbk", {"SoundFont File", "n/a", "n/a", "n/a", "n/a", "12 bytes"},
         NSPreviewReason::kNotASound},
        {"text.wav", "just some words", {"Undefined Binary", "n/a", "n/a", "n/a", "n/a", "15 bytes"},
         NSPreviewReason::kCorruptOrUnknown},
        {"tiny.wav", "RIFF", {"Undefined Binary", "n/a", "n/a", "n/a", "n/a", "4 bytes"},
         NSPreviewReason::kCorruptOrUnknown},
        // A WAVE whose header is cut short: its type and size stay.
        {"cut.wav", WaveBytes(1, 1, 44100, 16, 10).substr(0, 30), {"Wave File", "n/a", "n/a", "n/a", "n/a", "30 bytes"},
         NSPreviewReason::kCorruptOrUnknown},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fName);
        const SShownFileInfo shown = ReadShownFileInfo(folder.Make(row.fName, row.fBytes));
        ExpectFileTexts(shown.fFile, row.fTexts);
        EXPECT_EQ(shown.fReason, row.fReason);
        EXPECT_FALSE(shown.fLoop.has_value());
    }
    const SShownFileInfo missing = ReadShownFileInfo(folder.PathOf("gone.wav"));
    EXPECT_EQ(missing.fReason, NSPreviewReason::kNotFound);
    ExpectFileTexts(missing.fFile, {"n/a", "n/a", "n/a", "n/a", "n/a", "n/a"});
}

TEST(ShownFileInfo, ALeftFileWithItsPartnerCountsAsStereo) {
    CTemporaryFolder folder;
    const std::string left = folder.Make("drums.L", WaveBytes(1, 1, 44100, 16, 441));
    folder.Make("drums.R", WaveBytes(1, 1, 44100, 16, 441));
    EXPECT_EQ(ReadShownFileInfo(left).fFile.ChannelsText(), "Stereo");
    EXPECT_EQ(ReadShownFileInfo(folder.PathOf("drums.R")).fFile.ChannelsText(), "Mono");
}

// The bit depth refused in the pane is refused on open, with the alert 2001 before any audio.
TEST(ShownFileInfo, AThirtyTwoBitFileIsUnsupportedInThePaneAndOnOpen) {
    CTemporaryFolder folder;
    const std::string path = folder.Make("deep.wav", WaveBytes(1, 2, 44100, 32, 64));
    const SShownFileInfo shown = ReadShownFileInfo(path);
    EXPECT_EQ(PreviewMessageLines(shown.fReason), (std::array<std::string, 2>{"Unsupported", "bit depth"}));
    CScriptedAlertPresenter alerts;
    EXPECT_FAILURE(Open(path), XSilentAbort, "invalid sound file info");
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fBody, AlertReference(NSAlertIds::kUnsupportedBitDepth).GetAlert().fBody);
    EXPECT_EQ(NSAlertIds::kUnsupportedBitDepth, 2001);
}

TEST(ShownFileInfo, LoopFilesShowTheirLoopWithoutTheirSound) {
    CTemporaryFolder folder;
    // 3/8, 2 bars and 1 beat over frames 100..2800 of 3000 at 48000 Hz: 7 beats in 2700 frames
    // are 7466.7 BPM. Slices at 0 (before the loop), 600 (muted), 1207 (locked), 1801 (normal,
    // above the threshold 12908 of sensitivity 60), 2999 (after the loop): 2 play.
    auto document = MakeLoopDocument(24, 2, 3000, 48000);
    ChangeEverySetting(*document);
    const int64_t exportBytes = document->GetExportSize() * 4;
    const std::string path = folder.PathOf("changed.lx2");
    SaveAs(*document, path);
    const SShownFileInfo shown = ReadShownFileInfo(path);
    EXPECT_EQ(shown.fReason, NSPreviewReason::kNone);
    ExpectFileTexts(shown.fFile, {"LUX2 File", "Stereo", "0.06 s", "24-bit", "48000 Hz",
                                  FormatByteSizeText(int64_t(ReadWholeFile(path).size()))});
    ASSERT_TRUE(shown.fLoop.has_value());
    const CShownQuilletFileInfo& loop = *shown.fLoop;
    EXPECT_EQ(loop.TempoText(), ">999.9 BPM");
    EXPECT_EQ(loop.SignText(), "3/8");
    EXPECT_EQ(loop.LengthText(), "2.33 Bars");
    EXPECT_EQ(loop.UsageText(), "90 %");  // 2700 of 3000 frames
    EXPECT_EQ(loop.SlicesText(), "2");
    EXPECT_EQ(loop.fExportSize, exportBytes);

    // The demo loop: 2 bars of 4/4 over its 176400 frames at 44100 Hz, 4 s: 120 BPM.
    auto demo = MakeDemoLoopDocument(2);
    const std::string demoPath = folder.PathOf("demo.lx2");
    SaveAs(*demo, demoPath);
    const SShownFileInfo demoShown = ReadShownFileInfo(demoPath);
    EXPECT_EQ(demoShown.fReason, NSPreviewReason::kNone);
    ExpectFileTexts(demoShown.fFile, {"LUX2 File", "Stereo", "4.00 s", "16-bit", "44100 Hz",
                                      FormatByteSizeText(int64_t(ReadWholeFile(demoPath).size()))});
    ASSERT_TRUE(demoShown.fLoop.has_value());
    EXPECT_EQ(demoShown.fLoop->TempoText(), "120.0 BPM");
    EXPECT_EQ(demoShown.fLoop->SignText(), "4/4");
    EXPECT_EQ(demoShown.fLoop->LengthText(), "2 Bars");
    EXPECT_EQ(demoShown.fLoop->UsageText(), "100 %");
    int32_t active = 0;
    for (const CSlice& slice : demo->GetSliceSequence().GetSlices()) active += demo->GetSliceSequence().IsSliceActive(slice);
    EXPECT_EQ(demoShown.fLoop->fSliceCount, active);
    EXPECT_EQ(demoShown.fLoop->fExportSize, demo->GetExportSize() * 2);
}

TEST(ShownFileInfo, LoopFilesThatCannotBePreviewedSayWhy) {
    using namespace NSLegacyLoopFile;
    CTemporaryFolder folder;
    constexpr int32_t kFiveMinutes = 11025 * 300;
    auto silent = [](int32_t frames) { return std::make_unique<C16BitWaveSample>(11025, frames, false); };
    auto mutedAt = [&](std::unique_ptr<CABCWaveSample> sample, std::vector<int32_t> positions) {
        auto slices = MutedSlices(*sample, positions);
        return std::make_pair(std::move(sample), std::move(slices));
    };
    auto allMuted = mutedAt(silent(1000), {0, 500});
    auto oneNormal = mutedAt(silent(1000), {0, 500});
    oneNormal.second->InsertSlice(CSlice(700, 30000, ESliceKind::kLocked));

    SQLTBlock qlt;
    qlt.fLoopEnd = 44100;
    qlt.fSlices = {{0, 30000, 1}, {11025, 30000, 1 | 4}};

    struct SRow {
        const char* fName;
        std::string fPath;
        const char* fType;
        int32_t fReason;
    };
    const SRow rows[] = {
        {"no length", SaveLoop(folder, "nolength.lx2", silent(1000), nullptr, 0), "LUX2 File",
         NSPreviewReason::kNoLoopLength},
        {"all muted", SaveLoop(folder, "muted.lx2", std::move(allMuted.first), std::move(allMuted.second), 1),
         "LUX2 File", NSPreviewReason::kAllSlicesMuted},
        {"one locked among muted",
         SaveLoop(folder, "locked.lx2", std::move(oneNormal.first), std::move(oneNormal.second), 1), "LUX2 File",
         NSPreviewReason::kNone},
        {"without slices", SaveLoop(folder, "bare.lx2", silent(1000), nullptr, 1), "LUX2 File", NSPreviewReason::kNone},
        {"five minutes", SaveLoop(folder, "long.lx2", silent(kFiveMinutes), nullptr, 1), "LUX2 File",
         NSPreviewReason::kTooLongForAutoPlay},
        {"a frame shorter", SaveLoop(folder, "short.lx2", silent(kFiveMinutes - 1), nullptr, 1), "LUX2 File",
         NSPreviewReason::kNone},
        // No length wins over five minutes.
        {"long without length", SaveLoop(folder, "longnolength.lx2", silent(kFiveMinutes), nullptr, 0), "LUX2 File",
         NSPreviewReason::kNoLoopLength},
        {"QLT all muted", Saved(folder, "old.qlt", LoopFile(44100, QLTBlockBody(qlt))), "Quillet 1.6/1.7 File",
         NSPreviewReason::kAllSlicesMuted},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fName);
        const SShownFileInfo shown = ReadShownFileInfo(row.fPath);
        EXPECT_EQ(shown.fFile.TypeText(), row.fType);
        EXPECT_EQ(shown.fReason, row.fReason);
        EXPECT_TRUE(shown.fLoop.has_value());
    }

    // A loop file cut inside its slice list: what was read before the damage stays.
    const std::string whole = ReadWholeFile(folder.PathOf("locked.lx2"));
    const std::string cut = folder.Make("cut.lx2", whole.substr(0, whole.find("SLCL") + 20));
    const SShownFileInfo damaged = ReadShownFileInfo(cut);
    EXPECT_EQ(damaged.fReason, NSPreviewReason::kCorruptOrUnknown);
    EXPECT_EQ(damaged.fFile.TypeText(), "LUX2 File");
}

class CWorkingOutput final : public IAudioOutputState {
public:
    uint32_t GetOutputRate() const override { return 44100; }
    bool IsOutputRunning() const override { return false; }
    bool IsOutputWorking() const override { return true; }
};

// The worker's deliveries, collected for the test's thread.
class CDeliveries {
public:
    CFilePreviewWorker::FDeliver Deliver() {
        return [this](CFilePreviewWorker::SResult result) {
            std::lock_guard<std::mutex> lock(fMutex);
            fResults.push_back(std::move(result));
            fArrived.notify_all();
        };
    }
    // Waits up to 10 s for `count` deliveries.
    bool WaitFor(size_t count) {
        std::unique_lock<std::mutex> lock(fMutex);
        return fArrived.wait_for(lock, std::chrono::seconds(10), [&] { return fResults.size() >= count; });
    }
    std::vector<CFilePreviewWorker::SResult> Take() {
        std::lock_guard<std::mutex> lock(fMutex);
        return std::move(fResults);
    }

private:
    std::mutex fMutex;
    std::condition_variable fArrived;
    std::vector<CFilePreviewWorker::SResult> fResults;
};

TEST(FilePreviewWorker, DeliversTheInformationThenThePreviewItWasAskedFor) {
    CTemporaryFolder folder;
    const std::string loop = folder.PathOf("demo.lx2");
    SaveAs(*MakeDemoLoopDocument(2), loop);
    const std::string sound = folder.Make("sound.wav", WaveBytes(1, 1, 44100, 16, 4410));
    const std::string noLength = SaveLoop(folder, "nolength.lx2", std::make_unique<C16BitWaveSample>(11025, 100, false),
                                          nullptr, 0);
    const std::string longSound = folder.Make("long.wav", WaveBytes(1, 1, 11025, 16, 11025 * 300));
    struct SRow {
        std::string fPath;
        CFilePreviewWorker::EPreview fPreview;
        bool fPreviewed;
        bool fLoop;
    };
    using EPreview = CFilePreviewWorker::EPreview;
    const SRow rows[] = {
        {loop, EPreview::kNone, false, false},       {loop, EPreview::kAutoPlay, true, true},
        {sound, EPreview::kAutoPlay, true, false},   {noLength, EPreview::kAutoPlay, false, false},
        {noLength, EPreview::kPlay, false, false},   {longSound, EPreview::kAutoPlay, false, false},
        {longSound, EPreview::kPlay, true, false},
    };
    CWorkingOutput output;
    CWavePlayer player(output);
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fPath + " " + std::to_string(int(row.fPreview)));
        CDeliveries deliveries;
        uint64_t generation = 0;
        {
            CFilePreviewWorker worker(deliveries.Deliver());
            generation = worker.Request(row.fPath, row.fPreview);
            ASSERT_TRUE(deliveries.WaitFor(row.fPreviewed ? 2 : 1));
        }
        std::vector<CFilePreviewWorker::SResult> results = deliveries.Take();
        ASSERT_EQ(results.size(), row.fPreviewed ? 2u : 1u);
        EXPECT_EQ(results[0].fGeneration, generation);
        EXPECT_EQ(results[0].fPath, row.fPath);
        EXPECT_FALSE(results[0].IsPreviewDelivery());
        if (!row.fPreviewed) continue;
        EXPECT_EQ(results[1].fGeneration, generation);
        ASSERT_TRUE(results[1].fPreview);
        EXPECT_EQ(results[1].fPreview->IsLoop(), row.fLoop);
        EXPECT_TRUE(results[1].fPreview->Play(player, nullptr));
        EXPECT_EQ(player.GetMode(), row.fLoop ? CWavePlayer::kPlayingLoopObject : CWavePlayer::kPlayingSample);
        player.Stop();
    }
}

TEST(FilePreviewWorker, ANewerRequestOvertakesAPreviewBeingRead) {
    CTemporaryFolder folder;
    // Five minutes of stereo take a while to read, long enough to be overtaken.
    const std::string slow = folder.Make("slow.wav", WaveBytes(1, 2, 44100, 16, 44100 * 300));
    const std::string quick = folder.Make("quick.wav", WaveBytes(1, 1, 44100, 16, 100));
    CDeliveries deliveries;
    CFilePreviewWorker worker(deliveries.Deliver());
    const uint64_t first = worker.Request(slow, CFilePreviewWorker::EPreview::kPlay);
    ASSERT_TRUE(deliveries.WaitFor(1));
    const uint64_t second = worker.Request(quick, CFilePreviewWorker::EPreview::kPlay);
    EXPECT_GT(second, first);
    ASSERT_TRUE(deliveries.WaitFor(3));
    const std::vector<CFilePreviewWorker::SResult> results = deliveries.Take();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].fGeneration, first);
    EXPECT_FALSE(results[0].IsPreviewDelivery());
    // The slow file's preview never arrives: both later deliveries are the quick file's.
    for (size_t i = 1; i < 3; ++i) EXPECT_EQ(results[i].fGeneration, second) << i;
    EXPECT_TRUE(results[2].fPreview);

    // Cancel: the generation moves on and nothing is read.
    const uint64_t cancelled = worker.Cancel();
    EXPECT_GT(cancelled, second);
    EXPECT_EQ(worker.GetNewestGeneration(), cancelled);
}

}  // namespace
