#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/resources/NoteCounters.h"
#include "foundation/Mishap.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;

class CCountingListener final : public IPreferencesListener {
public:
    void OnDisplayPreferencesChanged() override { ++fDisplay; }
    void OnBehaviorPreferencesChanged() override { ++fBehavior; }
    int fDisplay = 0;
    int fBehavior = 0;
};

TEST(Preferences, StartWithTheDefaults) {
    const CPreferences preferences;
    EXPECT_EQ(preferences.GetHorizontalRulerUnitsSaved(), 0u);
    EXPECT_FALSE(preferences.GetViewStereoFilesAsSumOfLR());
    EXPECT_FALSE(preferences.GetDefaultBarsToOne());
    EXPECT_FALSE(preferences.GetAlwaysMoveLeftLocatorToFirstSlice());
    EXPECT_FALSE(preferences.GetCropToLoopWhenExportingAsOneSample());
    EXPECT_TRUE(preferences.GetScrollDuringPlayback());
    EXPECT_TRUE(preferences.GetAutoPlay());
    EXPECT_EQ(preferences.GetLastExportExtension(), ".mid");
    EXPECT_EQ(preferences.GetExportSampleRate(), 44100u);
    EXPECT_EQ(preferences.GetExportBitDepth(), 16u);
    EXPECT_FALSE(preferences.GetExportFlag());
    for (ENote note : {ENote::kLuxFile, ENote::kOldNormalizeOption, ENote::kEffectsNotAudible, ENote::kStoredOnly})
        EXPECT_EQ(preferences.GetGeneral().fNoteCounters.Get(note), 5);
    EXPECT_EQ(preferences.GetConvertToMonoSelection(), EMonoChoice::kMix);
    EXPECT_EQ(preferences.GetConvertSampleFormatRate(), 44100u);
    EXPECT_EQ(preferences.GetConvertSampleFormatBitDepth(), 16u);
    EXPECT_TRUE(preferences.GetRecentDocuments().GetEntries().empty());
    EXPECT_TRUE(preferences.GetAudioDeviceBlock().IsEmpty());
    EXPECT_FALSE(preferences.IsChanged());
}

// Each setter with a value other than the default: which listener operation it calls.
struct SSetterCase {
    const char* fName;
    std::function<void(CPreferences&)> fSetDefault;
    std::function<void(CPreferences&)> fSetOther;
    int fDisplayCalls;
    int fBehaviorCalls;
};

const std::vector<SSetterCase>& SetterCases() {
    static const std::vector<SSetterCase> cases = {
        {"ruler units", [](CPreferences& p) { p.SetHorizontalRulerUnitsSaved(0); },
         [](CPreferences& p) { p.SetHorizontalRulerUnitsSaved(1); }, 1, 0},
        {"view stereo", [](CPreferences& p) { p.SetViewStereoFilesAsSumOfLR(false); },
         [](CPreferences& p) { p.SetViewStereoFilesAsSumOfLR(true); }, 1, 0},
        {"default bars", [](CPreferences& p) { p.SetDefaultBarsToOne(false); },
         [](CPreferences& p) { p.SetDefaultBarsToOne(true); }, 0, 1},
        {"left locator", [](CPreferences& p) { p.SetAlwaysMoveLeftLocatorToFirstSlice(false); },
         [](CPreferences& p) { p.SetAlwaysMoveLeftLocatorToFirstSlice(true); }, 0, 1},
        {"crop to loop", [](CPreferences& p) { p.SetCropToLoopWhenExportingAsOneSample(false); },
         [](CPreferences& p) { p.SetCropToLoopWhenExportingAsOneSample(true); }, 0, 1},
        {"scroll", [](CPreferences& p) { p.SetScrollDuringPlayback(true); },
         [](CPreferences& p) { p.SetScrollDuringPlayback(false); }, 0, 1},
        {"auto play", [](CPreferences& p) { p.SetAutoPlay(true); }, [](CPreferences& p) { p.SetAutoPlay(false); }, 0, 0},
        {"extension", [](CPreferences& p) { p.SetLastExportExtension(".mid"); },
         [](CPreferences& p) { p.SetLastExportExtension(".sf2"); }, 0, 0},
        {"export rate", [](CPreferences& p) { p.SetExportSampleRate(44100); },
         [](CPreferences& p) { p.SetExportSampleRate(96000); }, 0, 0},
        {"export depth", [](CPreferences& p) { p.SetExportBitDepth(16); },
         [](CPreferences& p) { p.SetExportBitDepth(24); }, 0, 0},
        {"export flag", [](CPreferences& p) { p.SetExportFlag(false); }, [](CPreferences& p) { p.SetExportFlag(true); }, 0, 0},
        {"mono", [](CPreferences& p) { p.SetConvertToMonoSelection(EMonoChoice::kMix); },
         [](CPreferences& p) { p.SetConvertToMonoSelection(EMonoChoice::kRight); }, 0, 0},
        {"convert rate", [](CPreferences& p) { p.SetConvertSampleFormatRate(44100); },
         [](CPreferences& p) { p.SetConvertSampleFormatRate(11025); }, 0, 0},
        {"convert depth", [](CPreferences& p) { p.SetConvertSampleFormatBitDepth(16); },
         [](CPreferences& p) { p.SetConvertSampleFormatBitDepth(24); }, 0, 0},
    };
    return cases;
}

TEST(Preferences, EachRealChangeTellsItsOperationOnceAndCountsAsAChange) {
    for (const SSetterCase& c : SetterCases()) {
        CPreferences preferences;
        CCountingListener listener;
        CCountingListener second;
        preferences.AddListener(&listener);
        preferences.AddListener(&second);
        preferences.AddListener(&listener);  // once only

        c.fSetDefault(preferences);
        EXPECT_FALSE(preferences.IsChanged()) << c.fName;
        EXPECT_EQ(listener.fDisplay + listener.fBehavior, 0) << c.fName;

        c.fSetOther(preferences);
        EXPECT_TRUE(preferences.IsChanged()) << c.fName;
        EXPECT_EQ(listener.fDisplay, c.fDisplayCalls) << c.fName;
        EXPECT_EQ(listener.fBehavior, c.fBehaviorCalls) << c.fName;
        EXPECT_EQ(second.fDisplay, c.fDisplayCalls) << c.fName;

        // The same value again changes nothing and tells no one.
        preferences.MarkStored();
        c.fSetOther(preferences);
        EXPECT_FALSE(preferences.IsChanged()) << c.fName;
        EXPECT_EQ(listener.fDisplay, c.fDisplayCalls) << c.fName;
        EXPECT_EQ(listener.fBehavior, c.fBehaviorCalls) << c.fName;

        // Back to the default is a change again.
        c.fSetDefault(preferences);
        EXPECT_TRUE(preferences.IsChanged()) << c.fName;
        EXPECT_EQ(listener.fDisplay, 2 * c.fDisplayCalls) << c.fName;
        EXPECT_EQ(listener.fBehavior, 2 * c.fBehaviorCalls) << c.fName;

        preferences.RemoveListener(&listener);
        c.fSetOther(preferences);
        EXPECT_EQ(listener.fDisplay, 2 * c.fDisplayCalls) << c.fName;
        EXPECT_EQ(second.fDisplay + second.fBehavior, 3 * (c.fDisplayCalls + c.fBehaviorCalls)) << c.fName;
    }
}

TEST(Preferences, RefuseValuesTheFileCannotHoldAndKeepTheirOwn) {
    using NSMishap::XStdInvalidArgument;
    const std::vector<std::pair<const char*, std::function<void(CPreferences&)>>> refused = {
        {"ruler units 2", [](CPreferences& p) { p.SetHorizontalRulerUnitsSaved(2); }},
        {"export rate 11024", [](CPreferences& p) { p.SetExportSampleRate(11024); }},
        {"export rate 1000001", [](CPreferences& p) { p.SetExportSampleRate(1000001); }},
        {"export depth 8", [](CPreferences& p) { p.SetExportBitDepth(8); }},
        {"convert rate 0", [](CPreferences& p) { p.SetConvertSampleFormatRate(0); }},
        {"convert depth 32", [](CPreferences& p) { p.SetConvertSampleFormatBitDepth(32); }},
        {"mono 3", [](CPreferences& p) { p.SetConvertToMonoSelection(EMonoChoice(3)); }},
        {"extension not UTF-8", [](CPreferences& p) { p.SetLastExportExtension("\xC3"); }},
    };
    for (const auto& [name, set] : refused) {
        CPreferences preferences;
        CCountingListener listener;
        preferences.AddListener(&listener);
        EXPECT_EQ(NSQuilletTest::CatchFailure([&] { set(preferences); }).fCode, XStdInvalidArgument::kFailureCode) << name;
        EXPECT_EQ(preferences.Capture(), CPreferences().Capture()) << name;
        EXPECT_FALSE(preferences.IsChanged()) << name;
        EXPECT_EQ(listener.fDisplay + listener.fBehavior, 0) << name;
    }
    // The limits themselves are values the program uses.
    CPreferences preferences;
    preferences.SetExportSampleRate(11025);
    preferences.SetConvertSampleFormatRate(1000000);
    EXPECT_EQ(preferences.GetExportSampleRate(), 11025u);
    EXPECT_EQ(preferences.GetConvertSampleFormatRate(), 1000000u);
}

TEST(Preferences, CutALongExtensionTo95Characters) {
    CPreferences preferences;
    // 90 ASCII characters and 10 two-byte ones: the cut falls after the fifth "é".
    std::string extension = "." + std::string(89, 'x');
    for (int i = 0; i < 10; ++i) extension += "\xC3\xA9";
    preferences.SetLastExportExtension(extension);
    EXPECT_EQ(preferences.GetLastExportExtension(), extension.substr(0, 90 + 5 * 2));
}

TEST(Preferences, CountNoteShowingsRecentDocumentsAndTheDeviceAsChanges) {
    {
        CPreferences preferences;
        CNoteCounters& counters = preferences.GetNoteCounters();
        EXPECT_TRUE(counters.MayShow(ENote::kEffectsNotAudible));
        EXPECT_TRUE(preferences.IsChanged());
        preferences.MarkStored();
        EXPECT_FALSE(preferences.IsChanged());
        // A counter at 0 does not count down: no change.
        counters.Set(ENote::kLuxFile, 0);
        preferences.MarkStored();
        EXPECT_FALSE(counters.MayShow(ENote::kLuxFile));
        EXPECT_FALSE(preferences.IsChanged());
    }
    {
        CPreferences preferences;
        EXPECT_TRUE(preferences.GetRecentDocuments().Add("/loops/a.lx2", "a.lx2"));
        EXPECT_TRUE(preferences.IsChanged());
        preferences.MarkStored();
        preferences.GetRecentDocuments().Add("/loops/a.lx2", "a.lx2");  // already first
        EXPECT_FALSE(preferences.IsChanged());
        EXPECT_FALSE(preferences.GetRecentDocuments().Remove("/loops/b.lx2"));
        EXPECT_FALSE(preferences.IsChanged());
        EXPECT_TRUE(preferences.GetRecentDocuments().Remove("/loops/a.lx2"));
        EXPECT_TRUE(preferences.IsChanged());
    }
    {
        CPreferences preferences;
        SAudioDeviceBlock block;
        preferences.SetAudioDeviceBlock(block);
        EXPECT_FALSE(preferences.IsChanged());
        block.fBytes = {1, 2, 3};
        preferences.SetAudioDeviceBlock(block);
        EXPECT_TRUE(preferences.IsChanged());
        preferences.MarkStored();
        preferences.SetAudioDeviceBlock(block);
        EXPECT_FALSE(preferences.IsChanged());
        // The same bytes under another version are another block.
        block.fVersion = CVersion(1, 0, 0, CVersion::kFinalRelease, 0, 9);
        preferences.SetAudioDeviceBlock(block);
        EXPECT_TRUE(preferences.IsChanged());
        EXPECT_EQ(preferences.GetAudioDeviceBlock().fVersion.GetSixth(), 9u);
    }
}

TEST(Preferences, RestoreTellsEachOperationOnceWhenItsFieldsDifferAndIsNoChange) {
    struct SCase {
        const char* fName;
        std::function<void(SGeneralPreferences&)> fEdit;
        int fDisplayCalls;
        int fBehaviorCalls;
    };
    const SCase cases[] = {
        {"nothing", [](SGeneralPreferences&) {}, 0, 0},
        {"auto play only", [](SGeneralPreferences& g) { g.fAutoPlay = false; }, 0, 0},
        {"both display fields", [](SGeneralPreferences& g) { g.fHorizontalRulerUnitsSaved = 1; g.fViewStereoFilesAsSumOfLR = true; }, 1, 0},
        {"three behavior fields", [](SGeneralPreferences& g) { g.fDefaultBarsToOne = true; g.fCropToLoopWhenExportingAsOneSample = true; g.fScrollDuringPlayback = false; }, 0, 1},
        {"one of each", [](SGeneralPreferences& g) { g.fViewStereoFilesAsSumOfLR = true; g.fAlwaysMoveLeftLocatorToFirstSlice = true; }, 1, 1},
    };
    for (const SCase& c : cases) {
        CPreferences preferences;
        CCountingListener listener;
        preferences.AddListener(&listener);
        SStoredPreferences stored;
        c.fEdit(stored.fGeneral);
        stored.fGeneral.fNoteCounters.Set(ENote::kLuxFile, 2);
        stored.fAudioDevice.fBytes = {9};
        stored.fRecentDocuments = {{"/loops/a.lx2", "a"}};
        preferences.SetExportFlag(true);  // a change, which the restored state replaces
        listener = CCountingListener();
        preferences.Restore(stored);
        EXPECT_EQ(listener.fDisplay, c.fDisplayCalls) << c.fName;
        EXPECT_EQ(listener.fBehavior, c.fBehaviorCalls) << c.fName;
        EXPECT_EQ(preferences.Capture(), stored) << c.fName;
        EXPECT_FALSE(preferences.IsChanged()) << c.fName;
    }
}

TEST(Preferences, InstalledPreferencesLendTheProcessTheirNoteCounters) {
    CPreferences preferences;
    preferences.GetNoteCounters().Set(ENote::kOldNormalizeOption, 1);
    SetPreferences(&preferences);
    EXPECT_EQ(GetPreferences(), &preferences);
    EXPECT_EQ(&GetNoteCounters(), &preferences.GetNoteCounters());
    EXPECT_TRUE(GetNoteCounters().MayShow(ENote::kOldNormalizeOption));
    EXPECT_FALSE(GetNoteCounters().MayShow(ENote::kOldNormalizeOption));
    EXPECT_EQ(preferences.GetGeneral().fNoteCounters.Get(ENote::kOldNormalizeOption), 0);
    EXPECT_TRUE(preferences.IsChanged());
    SetPreferences(nullptr);
    EXPECT_EQ(GetPreferences(), nullptr);
    EXPECT_NE(&GetNoteCounters(), &preferences.GetNoteCounters());
    {
        CPreferences shortLived;
        SetPreferences(&shortLived);
    }
    EXPECT_EQ(GetPreferences(), nullptr);
    EXPECT_EQ(GetNoteCounters().Get(ENote::kStoredOnly), 5);  // the built-in set, not freed memory
}

}  // namespace
