#include <gtest/gtest.h>

#include "app/preferences/ExportPreferencesMapping.h"
#include "app/preferences/Preferences.h"
#include "foundation/Mishap.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;

TEST(ExportPreferencesMapping, TheDefaultsProposeAMIDIFileAt44100And16Bits) {
    const SExportPreferences exported = GetExportPreferences(CPreferences());
    EXPECT_EQ(exported.fLastFormat, EExportFormat::kMIDI);
    EXPECT_FALSE(exported.fCropToLoop);
    EXPECT_EQ(exported.fSettings.fSampleRate, 44100u);
    EXPECT_EQ(exported.fSettings.fBitDepth, 16);
    EXPECT_FALSE(exported.fSettings.fExportMIDIWithSameName);
    EXPECT_EQ(exported.fBaseNote, CABCExportFileFormat::kDefaultBaseNote);
}

TEST(ExportPreferencesMapping, EachFormatIsStoredAsItsExtensionAndComesBack) {
    struct SCase {
        EExportFormat fFormat;
        const char* fExtension;
    };
    const SCase cases[] = {{EExportFormat::kWave, ".wav"}, {EExportFormat::kAiff, ".aif"}, {EExportFormat::kMIDI, ".mid"},
                           {EExportFormat::kSoundFont, ".sf2"}, {EExportFormat::kSamplerProgram, ".akp"}};
    for (const SCase& c : cases) {
        CPreferences preferences;
        SExportPreferences exported;
        exported.fLastFormat = c.fFormat;
        exported.fCropToLoop = true;
        exported.fBaseNote = 60;
        exported.fSettings = {22050, 24, true};
        StoreExportPreferences(preferences, exported);
        EXPECT_EQ(preferences.GetLastExportExtension(), c.fExtension);
        EXPECT_TRUE(preferences.GetCropToLoopWhenExportingAsOneSample());
        EXPECT_EQ(preferences.GetExportSampleRate(), 22050u);
        EXPECT_EQ(preferences.GetExportBitDepth(), 24u);
        EXPECT_TRUE(preferences.GetExportFlag());
        const SExportPreferences back = GetExportPreferences(preferences);
        EXPECT_EQ(back.fLastFormat, c.fFormat);
        EXPECT_TRUE(back.fCropToLoop);
        EXPECT_EQ(back.fSettings.fSampleRate, 22050u);
        EXPECT_EQ(back.fSettings.fBitDepth, 24);
        EXPECT_TRUE(back.fSettings.fExportMIDIWithSameName);
        // The base note is not one of the preferences.
        EXPECT_EQ(back.fBaseNote, CABCExportFileFormat::kDefaultBaseNote);
    }
}

TEST(ExportPreferencesMapping, AnExtensionOfNoFormatProposesMIDIAndCaseDoesNotMatter) {
    CPreferences preferences;
    preferences.SetLastExportExtension(".WAV");
    EXPECT_EQ(GetExportPreferences(preferences).fLastFormat, EExportFormat::kWave);
    preferences.SetLastExportExtension(".flac");
    EXPECT_EQ(GetExportPreferences(preferences).fLastFormat, EExportFormat::kMIDI);
    preferences.SetLastExportExtension("");
    EXPECT_EQ(GetExportPreferences(preferences).fLastFormat, EExportFormat::kMIDI);
}

TEST(ExportPreferencesMapping, SettingsThePreferencesCannotHoldChangeNothing) {
    for (const SExportSettings settings : {SExportSettings{44100, -16, false}, SExportSettings{8000, 16, false},
                                           SExportSettings{44100, 32, true}}) {
        CPreferences preferences;
        SExportPreferences exported;
        exported.fLastFormat = EExportFormat::kAiff;
        exported.fCropToLoop = true;
        exported.fSettings = settings;
        EXPECT_EQ(NSQuilletTest::CatchFailure([&] { StoreExportPreferences(preferences, exported); }).fCode,
                  NSMishap::XStdInvalidArgument::kFailureCode);
        EXPECT_EQ(preferences.GetLastExportExtension(), ".mid");
        EXPECT_FALSE(preferences.GetCropToLoopWhenExportingAsOneSample());
        EXPECT_FALSE(preferences.IsChanged());
    }
}

}  // namespace
