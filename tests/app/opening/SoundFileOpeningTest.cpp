#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/opening/SoundFileInfoCheck.h"
#include "app/opening/SoundFileOpening.h"
#include "app/opening/SplitStereoPair.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/Alert.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

TEST(Alert, ParsesKindHeadingBodyAndButtons) {
    struct SRow {
        std::string fText;
        EAlertKind fKind;
        std::string fHeading;
        std::string fBody;
        std::vector<std::string> fButtons;
    };
    const SRow rows[] = {
        {"[WARN]Quillet only supports Mono and Stereo sound files.[OK]", EAlertKind::kWarn, "",
         "Quillet only supports Mono and Stereo sound files.", {"OK"}},
        {"[WARN]Long file. Are you sure?[Cancel][Open Anyway]", EAlertKind::kWarn, "", "Long file. Are you sure?",
         {"Cancel", "Open Anyway"}},
        {"[NOTE][LUX files may not sound as expected!]You may have to adjust.[OK]", EAlertKind::kNote,
         "LUX files may not sound as expected!", "You may have to adjust.", {"OK"}},
        {"[STOP]Line one\rline two", EAlertKind::kStop, "", "Line one\rline two", {}},
        {"[WARN][OK]", EAlertKind::kWarn, "", "", {"OK"}},
        {"no brackets", EAlertKind::kNote, "", "no brackets", {}},
        {"", EAlertKind::kNote, "", "", {}},
        {"dangling]", EAlertKind::kNote, "", "dangling]", {}},
    };
    for (const SRow& row : rows) {
        const SAlert alert = ParseAlert(row.fText);
        EXPECT_EQ(alert.fKind, row.fKind) << row.fText;
        EXPECT_EQ(alert.fHeading, row.fHeading) << row.fText;
        EXPECT_EQ(alert.fBody, row.fBody) << row.fText;
        EXPECT_EQ(alert.fButtons, row.fButtons) << row.fText;
    }
    // [Cancel][Open Anyway]: Open Anyway is 33, Cancel 34.
    EXPECT_EQ(AlertAnswerOfButton(1, 2), 33);
    EXPECT_EQ(AlertAnswerOfButton(0, 2), 34);
    EXPECT_EQ(AlertAnswerOfButton(0, 3), 35);
}

class CRecordingPresenter final : public IAlertPresenter {
public:
    CRecordingPresenter() { SetAlertPresenter(this); }
    ~CRecordingPresenter() override { SetAlertPresenter(nullptr); }
    int32_t Present(const SAlert& alert) override {
        fAlerts.push_back(alert);
        return kAlertAnswerOfRightmostButton;
    }
    std::vector<SAlert> fAlerts;
};

TEST(Alert, ShowsThroughThePresenterWhenThereIsOne) {
    EXPECT_EQ(GetAlertPresenter(), nullptr);
    EXPECT_EQ(ShowAlert("[NOTE]Nobody asked.[OK]"), 0);
    CRecordingPresenter presenter;
    EXPECT_EQ(GetAlertPresenter(), &presenter);
    EXPECT_EQ(ShowAlert("[NOTE]Asked.[OK]"), 33);
    ASSERT_EQ(presenter.fAlerts.size(), 1u);
    EXPECT_EQ(presenter.fAlerts[0].fBody, "Asked.");
}

SSoundFileInfo Info(int32_t depth, int32_t channels, int32_t rate, bool isFloat = false) {
    SSoundFileInfo info;
    info.fBitDepth = depth;
    info.fChannels = channels;
    info.fSampleRate = rate;
    info.fFrames = 1000;
    info.fFloat = isFloat;
    return info;
}

TEST(SoundFileInfoCheck, RefusesWithTheFirstFailingCheckInOrder) {
    struct SRow {
        SSoundFileInfo fInfo;
        const CResourceReference* fAlert;  // null: accepted
    };
    const SRow rows[] = {
        {Info(8, 1, 11025), nullptr},
        {Info(16, 2, 44100), nullptr},
        {Info(24, 2, 1000000), nullptr},
        {Info(32, 2, 44100), &kAlert_UnsupportedBitDepth},
        {Info(32, 2, 44100, true), &kAlert_UnsupportedBitDepth},
        {Info(64, 1, 44100, true), &kAlert_UnsupportedBitDepth},
        {Info(12, 1, 44100), &kAlert_UnsupportedBitDepth},
        {Info(16, 3, 44100), &kAlert_UnsupportedChannels},
        {Info(16, 0, 44100), &kAlert_UnsupportedChannels},
        {Info(16, 2, 11024), &kAlert_UnsupportedSampleRate},
        {Info(16, 2, 1000001), &kAlert_UnsupportedSampleRate},
        {Info(32, 3, 8000), &kAlert_UnsupportedBitDepth},
        {Info(24, 6, 8000), &kAlert_UnsupportedChannels},
    };
    for (const SRow& row : rows) {
        CRecordingPresenter presenter;
        const SCaughtFailure caught = CatchFailure([&] { CheckSoundFileInfo(row.fInfo); });
        if (!row.fAlert) {
            EXPECT_EQ(caught.fCode, 0u);
            EXPECT_TRUE(presenter.fAlerts.empty());
            continue;
        }
        EXPECT_EQ(caught.fCode, NSMishap::XSilentAbort::kFailureCode);
        EXPECT_EQ(caught.fMessage, "invalid sound file info");
        ASSERT_EQ(presenter.fAlerts.size(), 1u);
        EXPECT_EQ(presenter.fAlerts[0].fKind, EAlertKind::kWarn);
        EXPECT_EQ("[WARN]" + presenter.fAlerts[0].fBody + "[OK]", row.fAlert->GetText());
        EXPECT_EQ(presenter.fAlerts[0].fButtons, std::vector<std::string>{"OK"});
    }
    // Without a presenter nobody is asked and the open still ends silently.
    EXPECT_FAILURE(CheckSoundFileInfo(Info(32, 2, 44100)), XSilentAbort, "invalid sound file info");
}

TEST(SoundFileOpening, RefusesFilesMadeBySoxWithTheirAlertBeforeReadingAudio) {
    REQUIRE_PROGRAM(sox, "sox");
    CTemporaryFolder folder;
    struct SRow {
        std::vector<std::string> fFormat;
        const CResourceReference* fAlert;
    };
    const SRow rows[] = {
        {{"-r", "44100", "-e", "signed-integer", "-b", "32", "-c", "1"}, &kAlert_UnsupportedBitDepth},
        {{"-r", "44100", "-e", "floating-point", "-b", "32", "-c", "2"}, &kAlert_UnsupportedBitDepth},
        {{"-r", "44100", "-e", "signed-integer", "-b", "16", "-c", "3"}, &kAlert_UnsupportedChannels},
        {{"-r", "8000", "-e", "signed-integer", "-b", "16", "-c", "1"}, &kAlert_UnsupportedSampleRate},
    };
    int index = 0;
    for (const SRow& row : rows) {
        for (const char* extension : {".wav", ".aif"}) {
            const std::string path = folder.PathOf("refused" + std::to_string(index++) + extension);
            std::vector<std::string> make = {sox, "-n"};
            make.insert(make.end(), row.fFormat.begin(), row.fFormat.end());
            make.insert(make.end(), {path, "synth", "0.01", "sine", "440"});
            const SRunResult made = RunProgram(make);
            ASSERT_EQ(made.fExitCode, 0) << made.fOutput;
            CRecordingPresenter presenter;
            EXPECT_FAILURE(OpenSoundFile(path), XSilentAbort, "invalid sound file info");
            ASSERT_EQ(presenter.fAlerts.size(), 1u) << path;
            EXPECT_EQ("[WARN]" + presenter.fAlerts[0].fBody + "[OK]", row.fAlert->GetText()) << path;
        }
    }
}

TEST(SoundFileOpening, RefusesTooShortAndForeignMedia) {
    CTemporaryFolder folder;
    CRecordingPresenter presenter;
    EXPECT_FAILURE(OpenSoundFile(folder.Make("short.wav", "RIFF\0\0\0\0WAV")), XFormatViolation,
                   "sound file media too short");
    EXPECT_FAILURE(OpenSoundFile(folder.Make("other.wav", "OggS0123456789")), XFormatViolation,
                   "unkown main chunk types");
    EXPECT_TRUE(presenter.fAlerts.empty()) << "format failures are the responder's to show";
}

class SplitStereo : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const CABCWaveSample& sample,
                      ESoundFileType type = ESoundFileType::kWave) {
        return fFolder.Make(name, WriteToBytes(sample, type));
    }
    CTemporaryFolder fFolder;
};

TEST_F(SplitStereo, FindsThePartnerByNameCaseAndKind) {
    const auto mono = MakeSample(16, 1, 10);
    for (const char* name : {"drums.L", "drums.R", "snare.l", "snare.r", "kick.L", "kick.r", ".L", ".R", "L", "hat.L"})
        Write(name, *mono);
    std::filesystem::remove(fFolder.PathOf("hat.L"));
    std::filesystem::create_directory(fFolder.PathOf("tom.R"));
    Write("tom.L", *mono);

    EXPECT_EQ(FindSplitStereoPartner(fFolder.PathOf("drums.L")), fFolder.PathOf("drums.R"));
    EXPECT_EQ(FindSplitStereoPartner(fFolder.PathOf("snare.l")), fFolder.PathOf("snare.r"));
    EXPECT_EQ(FindSplitStereoPartner(fFolder.PathOf(".L")), fFolder.PathOf(".R"));
    EXPECT_EQ(FindSplitStereoPartner(fFolder.PathOf("drums.R")), "");
    EXPECT_EQ(FindSplitStereoPartner(fFolder.PathOf("kick.L")), "") << "kick.r does not match the case of .L";
    EXPECT_EQ(FindSplitStereoPartner(fFolder.PathOf("tom.L")), "") << "the partner must be a plain file";
    EXPECT_EQ(FindSplitStereoPartner(fFolder.PathOf("L")), "");
    EXPECT_EQ(FindSplitStereoPartner(fFolder.PathOf("hat.L")), "");
}

TEST_F(SplitStereo, APairOpensAsOneStereoSampleAndARightFileAloneAsMono) {
    const auto left = MakeSample(24, 1, 300, 48000);
    // Channel 2 of a stereo sample differs from channel 1 in every frame.
    const std::vector<int32_t> values = Channel(*MakeSample(24, 2, 300, 48000), 2);
    C24BitWaveSample rightMono(48000, 300, false);
    rightMono.Set24s(0, 300, values.data(), 1);
    ASSERT_NE(values, Channel(*left, 1));
    const std::string leftPath = Write("loop.L", *left, ESoundFileType::kAiff);
    Write("loop.R", rightMono, ESoundFileType::kWave);

    EXPECT_EQ(CSoundFileOpening(leftPath).GetChannelCount(), 2);
    std::vector<std::string> texts;
    const auto stereo = OpenSoundFile(leftPath, nullptr, [&](const std::string& text) { texts.push_back(text); });
    ASSERT_TRUE(stereo->IsStereo());
    EXPECT_EQ(stereo->GetFrameCount(), 300);
    EXPECT_EQ(stereo->GetSampleRate(), 48000u);
    EXPECT_EQ(stereo->GetBitDepth(), 24);
    EXPECT_EQ(Channel(*stereo, 1), Channel(*left, 1));
    EXPECT_EQ(Channel(*stereo, 2), values);
    EXPECT_EQ(texts, (std::vector<std::string>{"Reading loop samples…", "Reading 2nd channel of linked stereo file…"}));

    const auto alone = OpenSoundFile(fFolder.PathOf("loop.R"));
    EXPECT_FALSE(alone->IsStereo());
    EXPECT_EQ(Channel(*alone, 1), values);

    CQuilletLengthyOperation operation("Open", true, nullptr);
    EXPECT_TRUE(OpenSoundFile(leftPath, operation)->IsStereo());
    EXPECT_EQ(operation.GetText(), "Reading 2nd channel of linked stereo file…");
}

TEST_F(SplitStereo, AShorterChannelIsPaddedWithSilence) {
    const auto left = MakeSample(16, 1, 100);
    const auto right = MakeSample(16, 1, 60);
    for (bool leftShorter : {false, true}) {
        const std::string name = leftShorter ? "b" : "a";
        Write(name + ".L", leftShorter ? *right : *left);
        Write(name + ".R", leftShorter ? *left : *right);
        const auto stereo = OpenSoundFile(fFolder.PathOf(name + ".L"));
        ASSERT_EQ(stereo->GetFrameCount(), 100);
        const auto shorter = Channel(*stereo, leftShorter ? 1 : 2);
        const auto longer = Channel(*stereo, leftShorter ? 2 : 1);
        const auto original = Channel(*right, 1);
        EXPECT_TRUE(std::equal(original.begin(), original.end(), shorter.begin()));
        EXPECT_EQ(std::vector<int32_t>(shorter.begin() + 60, shorter.end()), std::vector<int32_t>(40, 0));
        EXPECT_EQ(longer, Channel(*left, 1));
    }
}

TEST_F(SplitStereo, RefusesPartnersThatCannotFormOneSample) {
    struct SRow {
        std::unique_ptr<CABCWaveSample> fLeft;
        std::unique_ptr<CABCWaveSample> fRight;
        std::string fMessage;
    };
    SRow rows[] = {
        {MakeSample(16, 1, 50, 44100), MakeSample(16, 1, 50, 48000), "linked stereo files differ in sample rate"},
        {MakeSample(16, 1, 50), MakeSample(24, 1, 50), "linked stereo files differ in bit depth"},
    };
    int index = 0;
    for (SRow& row : rows) {
        const std::string name = "pair" + std::to_string(index++);
        Write(name + ".R", *row.fRight);
        EXPECT_FAILURE(OpenSoundFile(Write(name + ".L", *row.fLeft)), XUnsupportedFormat, row.fMessage);
    }
}

// A pair is two mono files: a stereo .L file, or a mono one beside a stereo or foreign .R file,
// opens on its own, and the file beside it is not read.
TEST_F(SplitStereo, AFileThatFormsNoMonoPairOpensOnItsOwn) {
    struct SRow {
        std::unique_ptr<CABCWaveSample> fLeft;
        std::string fRightBytes;
    };
    SRow rows[] = {
        {MakeSample(16, 2, 40), WriteToBytes(*MakeSample(16, 1, 50), ESoundFileType::kWave)},
        {MakeSample(24, 2, 40), WriteToBytes(*MakeSample(24, 2, 60), ESoundFileType::kAiff)},
        {MakeSample(16, 2, 40), "not a sound file"},
        {MakeSample(16, 1, 40), WriteToBytes(*MakeSample(16, 2, 50), ESoundFileType::kWave)},
    };
    int index = 0;
    for (SRow& row : rows) {
        const std::string name = "single" + std::to_string(index++);
        fFolder.Make(name + ".R", row.fRightBytes);
        const std::string leftPath = Write(name + ".L", *row.fLeft);
        CSoundFileOpening opening(leftPath);
        EXPECT_EQ(opening.GetPartnerPath(), "") << name;
        EXPECT_EQ(opening.GetChannelCount(), row.fLeft->GetChannelCount()) << name;

        std::vector<std::string> texts;
        const auto opened = OpenSoundFile(leftPath, nullptr, [&](const std::string& text) { texts.push_back(text); });
        ExpectSameAudio(*opened, *row.fLeft);
        EXPECT_EQ(texts, std::vector<std::string>{"Reading loop samples…"}) << name;
    }
}

}  // namespace
