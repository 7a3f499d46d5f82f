#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesFile.h"
#include "app/preferences/PreferencesForm.h"
#include "app/resources/AlertIds.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "foundation/Mishap.h"
#include "tests/app/preferences/PreferencesTestSupport.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/FailingDiskKit.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;
using NSMishap::XFormatViolation;
using NSMishap::XUnsupportedFormat;

const TBytes kHeaderBody = {0x76, 0x0B, 0x1E, 0xED, 0xBC, 1, 0, 0, 0};  // magic, version 1.0

// GNRL of the defaults, field by field.
const TBytes kDefaultGeneralBody = {
    31, 24,                                          // lead byte; ruler units 0 as 24
    0, 0, 0, 100,                                    // ignored
    0, 1, 1, 0,                                      // view stereo as sum, scroll, auto play, default bars
    1,                                               // ignored
    0, 0,                                            // always move left locator, crop to loop
    0, 1, 1, 1,                                      // ignored
    0, 0, 0, 5, 0, 0, 0, 5, 0, 0, 0, 5, 0, 0, 0, 5,  // note counters
    0, 0, 0, 4, '.', 'm', 'i', 'd',                  // last export extension
    0, 0, 0xAC, 0x44,                                // export rate 44100
    0, 0, 0, 16,                                     // export bit depth
    0,                                               // export flag
    14,                                              // mono selection 2 as 14
    0, 0, 0xAC, 0x44,                                // conversion rate 44100
    0, 0, 0, 16,                                     // conversion bit depth
};

// GNRL with every field off its default.
const TBytes kChangedGeneralBody = {
    31, 23,                                                        // ruler units 1 as 23
    0, 0, 0, 100,
    1, 0, 0, 1,                                                    // stereo sum on, scroll off, auto play off, bars on
    1,
    1, 1,                                                          // always move, crop to loop
    0, 1, 1, 1,
    0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF,    // counters 4, 0, 3, -1
    0, 0, 0, 4, '.', 'a', 'i', 'f',
    0, 0, 0xBB, 0x80,                                              // 48000
    0, 0, 0, 24,
    1,
    12,                                                            // mono selection 0 as 12
    0, 0, 0x56, 0x22,                                              // 22050
    0, 0, 0, 24,
};

const TBytes kEmptyAudioBody = {0xBC, 1, 0, 0, 0, 0, 0, 0, 0};  // version 1.0, no bytes

// Version 2.1.3 kind 2 build 7 in the long form, then five bytes.
const TBytes kDeviceAudioBody = {0xBC, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 2,
                                 0,    0,    0,    7,    0,    0, 0, 0, 0, 0, 0, 5, 'b', 'l', 'o', 'b', '!'};

// The defaults' file: FORM size 4 + (8 + 9 + 1) + (8 + 59 + 1) + (8 + 9 + 1) = 108, 116 bytes in all.
TBytes DefaultFile() {
    TBytes file = {'F', 'O', 'R', 'M', 0, 0, 0, 108, 'P', 'R', 'E', 'F', 'H', 'E', 'A', 'D', 0, 0, 0, 9};
    PutBytes(file, kHeaderBody);
    PutBytes(file, {0, 'G', 'N', 'R', 'L', 0, 0, 0, 59});
    PutBytes(file, kDefaultGeneralBody);
    PutBytes(file, {0, 'A', 'U', 'D', 'I', 0, 0, 0, 9});
    PutBytes(file, kEmptyAudioBody);
    file.push_back(0);
    return file;
}

// RECD: version 1.0, two entries, the second's name "ドラム" in the UTF-8 form of the text block.
TBytes RecentBody(const std::string& first, const std::string& second) {
    TBytes body = {0xBC, 1, 0, 0, 0, 2};
    PutText8(body, first);
    PutText8(body, "Drums.lx2");
    PutText8(body, second);
    PutBytes(body, {0xFF, 0xFF, 0xFF, 0xFF, 0xBC, 1, 0, 0, 0, 0, 0, 0, 9});
    PutBytes(body, {0xE3, 0x83, 0x89, 0xE3, 0x83, 0xA9, 0xE3, 0x83, 0xA0});
    return body;
}

class PreferencesFile : public ::testing::Test {
protected:
    struct SOutcome {
        bool fRead = false;
        std::vector<std::string> fAlerts;
        SStoredPreferences fStored;
    };

    // `bytes` as the preferences file, read into fresh preferences.
    SOutcome ReadAsFile(const TBytes& bytes, IAudioDeviceRestorer* restorer = nullptr) const {
        fHome.WriteFile(bytes);
        return ReadStored(restorer);
    }
    SOutcome ReadStored(IAudioDeviceRestorer* restorer = nullptr) const {
        CScriptedAlertPresenter presenter;
        CPreferences preferences;
        SOutcome outcome;
        outcome.fRead = ReadPreferencesFile(preferences, restorer);
        outcome.fAlerts = ShownAlerts(presenter);
        outcome.fStored = preferences.Capture();
        // Only a damaged file is to be replaced at stop.
        const bool damaged = outcome.fAlerts == std::vector<std::string>{AlertText(NSAlertIds::kPreferencesCorrupt)};
        EXPECT_EQ(preferences.IsChanged(), damaged);
        return outcome;
    }

    TBytes ChangedFile() const {
        return FormPREF({Chunk("HEAD", kHeaderBody), Chunk("GNRL", kChangedGeneralBody), Chunk("AUDI", kDeviceAudioBody),
                         Chunk("RECD", RecentBody(fFirst, fSecond))});
    }

    static SStoredPreferences Defaults() { return CPreferences().Capture(); }

    CPreferencesHome fHome;
    const std::string fFirst = fHome.MakeDocument("a.lx2");
    const std::string fSecond = fHome.MakeDocument("b.wav");
};

TEST_F(PreferencesFile, DefaultsAreWrittenAsTheByteTableAndReadBack) {
    CPreferences preferences;
    ASSERT_TRUE(WritePreferencesFile(preferences));
    EXPECT_EQ(fHome.ReadFile(), DefaultFile());
    EXPECT_EQ(DefaultFile().size(), 116u);
    const SOutcome outcome = ReadStored();
    EXPECT_TRUE(outcome.fRead);
    EXPECT_TRUE(outcome.fAlerts.empty());
    EXPECT_EQ(outcome.fStored, Defaults());
}

TEST_F(PreferencesFile, GoldenFileIsReadFieldByFieldAndWrittenBackByteForByte) {
    fHome.WriteFile(ChangedFile());
    CScriptedAlertPresenter presenter;
    CPreferences preferences;
    ASSERT_TRUE(ReadPreferencesFile(preferences, nullptr));
    EXPECT_TRUE(presenter.GetShown().empty());
    EXPECT_FALSE(preferences.IsChanged());
    EXPECT_EQ(preferences.GetHorizontalRulerUnitsSaved(), 1u);
    EXPECT_TRUE(preferences.GetViewStereoFilesAsSumOfLR());
    EXPECT_FALSE(preferences.GetScrollDuringPlayback());
    EXPECT_FALSE(preferences.GetAutoPlay());
    EXPECT_TRUE(preferences.GetDefaultBarsToOne());
    EXPECT_TRUE(preferences.GetAlwaysMoveLeftLocatorToFirstSlice());
    EXPECT_TRUE(preferences.GetCropToLoopWhenExportingAsOneSample());
    const CNoteCounters& counters = preferences.GetNoteCounters();
    EXPECT_EQ(counters.Get(ENote::kLuxFile), 4);
    EXPECT_EQ(counters.Get(ENote::kOldNormalizeOption), 0);
    EXPECT_EQ(counters.Get(ENote::kEffectsNotAudible), 3);
    EXPECT_EQ(counters.Get(ENote::kStoredOnly), -1);
    EXPECT_EQ(preferences.GetLastExportExtension(), ".aif");
    EXPECT_EQ(preferences.GetExportSampleRate(), 48000u);
    EXPECT_EQ(preferences.GetExportBitDepth(), 24u);
    EXPECT_TRUE(preferences.GetExportFlag());
    EXPECT_EQ(preferences.GetConvertToMonoSelection(), EMonoChoice::kLeft);
    EXPECT_EQ(preferences.GetConvertSampleFormatRate(), 22050u);
    EXPECT_EQ(preferences.GetConvertSampleFormatBitDepth(), 24u);
    const SAudioDeviceBlock& block = preferences.GetAudioDeviceBlock();
    EXPECT_EQ(block.fVersion, CVersion(2, 1, 3, 2, 7));
    EXPECT_EQ(block.fBytes, (std::vector<uint8_t>{'b', 'l', 'o', 'b', '!'}));
    const std::vector<SRecentDocument> expected = {{fFirst, "Drums.lx2"}, {fSecond, "ドラム"}};
    EXPECT_EQ(preferences.GetRecentDocuments().GetEntries(), expected);

    ASSERT_TRUE(WritePreferencesFile(preferences));
    EXPECT_EQ(fHome.ReadFile(), ChangedFile());
    // Replaced in place: no temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(fHome.PreferencesFolder()), {}), 1);
}

TEST_F(PreferencesFile, EveryFieldSurvivesAWriteAndARead) {
    CPreferences preferences;
    preferences.SetHorizontalRulerUnitsSaved(1);
    preferences.SetViewStereoFilesAsSumOfLR(true);
    preferences.SetDefaultBarsToOne(true);
    preferences.SetAlwaysMoveLeftLocatorToFirstSlice(true);
    preferences.SetCropToLoopWhenExportingAsOneSample(true);
    preferences.SetScrollDuringPlayback(false);
    preferences.SetAutoPlay(false);
    preferences.SetLastExportExtension(".ñø€");  // € is in the 8-bit code page
    preferences.SetExportSampleRate(1000000);
    preferences.SetExportBitDepth(24);
    preferences.SetExportFlag(true);
    preferences.GetNoteCounters().Set(ENote::kLuxFile, 1);
    preferences.GetNoteCounters().Set(ENote::kOldNormalizeOption, 2);
    preferences.GetNoteCounters().Set(ENote::kEffectsNotAudible, INT32_MIN);
    preferences.GetNoteCounters().Set(ENote::kStoredOnly, INT32_MAX);
    preferences.SetConvertToMonoSelection(EMonoChoice::kRight);
    preferences.SetConvertSampleFormatRate(11025);
    preferences.SetConvertSampleFormatBitDepth(24);
    SAudioDeviceBlock block;
    block.fVersion = CVersion(7, 0, 0, CVersion::kFinalRelease, 0, 42);
    block.fBytes.assign(300, 0xA5);
    block.fBytes[0] = 0;
    preferences.SetAudioDeviceBlock(block);
    for (int i = 0; i < 9; ++i) {
        const std::string name = "loop " + std::to_string(i) + (i % 2 ? " 鼓" : " ü");
        preferences.GetRecentDocuments().Add(fHome.MakeDocument(name + ".lx2"), name);
    }
    ASSERT_EQ(preferences.GetRecentDocuments().GetEntries().size(), 8u);
    ASSERT_TRUE(preferences.IsChanged());
    ASSERT_TRUE(WritePreferencesFile(preferences));
    EXPECT_FALSE(preferences.IsChanged());

    const SOutcome outcome = ReadStored();
    EXPECT_TRUE(outcome.fRead);
    EXPECT_TRUE(outcome.fAlerts.empty());
    EXPECT_EQ(outcome.fStored, preferences.Capture());
    EXPECT_EQ(outcome.fStored.fAudioDevice.fVersion.GetSixth(), 42u);
}

TEST_F(PreferencesFile, ARulerByteOf25IsCorruptAndTheDefaultsApply) {
    TBytes file = ChangedFile();
    file[BodyOffset(file, "GNRL") + 1] = 25;
    const SOutcome outcome = ReadAsFile(file);
    EXPECT_FALSE(outcome.fRead);
    ASSERT_EQ(outcome.fAlerts, std::vector<std::string>{AlertText(NSAlertIds::kPreferencesCorrupt)});
    EXPECT_EQ(outcome.fAlerts[0], "Couldn’t read Preferences file!|The file is corrupt. Reverting to standard settings.");
    EXPECT_EQ(outcome.fStored, Defaults());
}

TEST_F(PreferencesFile, ADamagedFileIsReplacedByTheStandardSettingsAtStopAndReportedOnce) {
    TBytes file = ChangedFile();
    file[BodyOffset(file, "GNRL") + 1] = 25;
    fHome.WriteFile(file);
    {
        CScriptedAlertPresenter presenter;
        CPreferences preferences;
        EXPECT_FALSE(ReadPreferencesFile(preferences, nullptr));
        ASSERT_TRUE(preferences.IsChanged());
        ASSERT_TRUE(WritePreferencesFile(preferences));
    }
    const SOutcome next = ReadStored();
    EXPECT_TRUE(next.fRead);
    EXPECT_TRUE(next.fAlerts.empty());
    EXPECT_EQ(next.fStored, Defaults());
}

TEST_F(PreferencesFile, AFileWithoutRecentDocumentsEmptiesTheList) {
    fHome.WriteFile(FormPREF({Chunk("HEAD", kHeaderBody), Chunk("GNRL", kChangedGeneralBody), Chunk("AUDI", kDeviceAudioBody)}));
    CScriptedAlertPresenter presenter;
    CPreferences preferences;
    preferences.GetRecentDocuments().Add(fFirst, "before");
    ASSERT_TRUE(ReadPreferencesFile(preferences, nullptr));
    EXPECT_TRUE(preferences.GetRecentDocuments().GetEntries().empty());
    EXPECT_EQ(preferences.GetExportSampleRate(), 48000u);
    EXPECT_TRUE(presenter.GetShown().empty());
}

TEST_F(PreferencesFile, RecentDocumentsWhoseFilesAreGoneAreDropped) {
    std::filesystem::remove(fFirst);
    const SOutcome outcome = ReadAsFile(ChangedFile());
    EXPECT_TRUE(outcome.fRead);
    EXPECT_EQ(outcome.fStored.fRecentDocuments, (std::vector<SRecentDocument>{{fSecond, "ドラム"}}));

    // A path cut short by a NUL would name the folder before it, which exists.
    TBytes recent = {0xBC, 1, 0, 0, 0, 2};
    PutText8(recent, fHome.Folder().Path() + std::string(1, '\0') + "a.lx2");
    PutText8(recent, "a");
    PutText8(recent, fSecond);
    PutText8(recent, "b");
    const SOutcome cut = ReadAsFile(
        FormPREF({Chunk("HEAD", kHeaderBody), Chunk("GNRL", kDefaultGeneralBody), Chunk("AUDI", kEmptyAudioBody), Chunk("RECD", recent)}));
    EXPECT_TRUE(cut.fRead);
    EXPECT_EQ(cut.fStored.fRecentDocuments, (std::vector<SRecentDocument>{{fSecond, "b"}}));
}

TEST_F(PreferencesFile, AnExtensionOf96CharactersIsReadAs95) {
    const std::string extension = "." + std::string(94, 'x') + "y";  // 96 characters
    TBytes general(kDefaultGeneralBody.begin(), kDefaultGeneralBody.begin() + 33);
    PutText8(general, extension);
    PutBytes(general, {0, 0, 0x5D, 0xC0, 0, 0, 0, 24, 1, 13, 0, 0, 0x7D, 0, 0, 0, 0, 24});  // 24000, 24, on, 1, 32000, 24
    const SOutcome outcome =
        ReadAsFile(FormPREF({Chunk("HEAD", kHeaderBody), Chunk("GNRL", general), Chunk("AUDI", kEmptyAudioBody)}));
    ASSERT_TRUE(outcome.fRead);
    EXPECT_EQ(outcome.fStored.fGeneral.fLastExportExtension, extension.substr(0, 95));
    // The whole text was passed over: the fields after it are in place.
    EXPECT_EQ(outcome.fStored.fGeneral.fExportSampleRate, 24000u);
    EXPECT_EQ(outcome.fStored.fGeneral.fExportBitDepth, 24u);
    EXPECT_TRUE(outcome.fStored.fGeneral.fExportFlag);
    EXPECT_EQ(outcome.fStored.fGeneral.fConvertToMonoSelection, EMonoChoice::kRight);
    EXPECT_EQ(outcome.fStored.fGeneral.fConvertSampleFormatRate, 32000u);
}

TEST_F(PreferencesFile, MissingAndEmptyFilesAreTheFirstRunWithoutAnAlert) {
    {
        const SOutcome outcome = ReadStored();
        EXPECT_FALSE(outcome.fRead);
        EXPECT_TRUE(outcome.fAlerts.empty());
        EXPECT_EQ(outcome.fStored, Defaults());
        // Reading made the folder, and nothing in it.
        EXPECT_TRUE(std::filesystem::is_directory(fHome.PreferencesFolder()));
        EXPECT_FALSE(std::filesystem::exists(fHome.PreferencesFile()));
    }
    const SOutcome outcome = ReadAsFile({});
    EXPECT_FALSE(outcome.fRead);
    EXPECT_TRUE(outcome.fAlerts.empty());
}

TEST_F(PreferencesFile, FilesThatCannotBeReadGiveTheDefaultsWithTheAlertOfTheirKind) {
    const TBytes valid = ChangedFile();
    TBytes laterHead = valid;
    laterHead[BodyOffset(valid, "HEAD") + 6] = 1;  // 1.1, later than this program's 1.0
    TBytes earlierHead = valid;
    earlierHead[BodyOffset(valid, "HEAD") + 5] = 0;  // 0.1
    TBytes laterRecent = valid;
    laterRecent[BodyOffset(valid, "RECD") + 1] = 2;  // 2.0
    TBytes otherForm = valid;
    otherForm[8] = 'A';  // FORM AREF
    TBytes trailing = valid;
    trailing.push_back(0);
    trailing.push_back(0);
    TBytes huge = valid;
    huge.resize((1 << 20) + 1);
    const std::string corrupt = AlertText(NSAlertIds::kPreferencesCorrupt);
    const std::string otherVersion = AlertText(NSAlertIds::kPreferencesOtherVersion);
    struct SCase {
        const char* fName;
        TBytes fFile;
        std::string fAlert;
    };
    const SCase cases[] = {
        {"later head version", laterHead, otherVersion},
        {"earlier head version", earlierHead, otherVersion},
        {"later recent list", laterRecent, otherVersion},
        {"another form type", otherForm, corrupt},
        {"bytes after the form", trailing, corrupt},
        {"larger than any preferences", huge, corrupt},
        {"no form at all", TBytes{'R', 'I', 'F', 'F', 0, 0, 0, 4, 'P', 'R', 'E', 'F'}, corrupt},
        {"no general chunk", FormPREF({Chunk("HEAD", kHeaderBody), Chunk("AUDI", kEmptyAudioBody)}), corrupt},
        {"no audio chunk", FormPREF({Chunk("HEAD", kHeaderBody), Chunk("GNRL", kDefaultGeneralBody)}), corrupt},
        {"no head chunk", FormPREF({Chunk("GNRL", kDefaultGeneralBody), Chunk("AUDI", kEmptyAudioBody)}), corrupt},
    };
    for (const SCase& c : cases) {
        const SOutcome outcome = ReadAsFile(c.fFile);
        EXPECT_FALSE(outcome.fRead) << c.fName;
        EXPECT_EQ(outcome.fAlerts, std::vector<std::string>{c.fAlert}) << c.fName;
        EXPECT_EQ(outcome.fStored, Defaults()) << c.fName;
    }
    // A folder where the file should be cannot be opened.
    std::filesystem::remove(fHome.PreferencesFile());
    std::filesystem::create_directory(fHome.PreferencesFile());
    const SOutcome outcome = ReadStored();
    EXPECT_FALSE(outcome.fRead);
    EXPECT_EQ(outcome.fAlerts, std::vector<std::string>{AlertText(NSAlertIds::kPreferencesNotOpened)});
    EXPECT_EQ(outcome.fAlerts[0], "Couldn’t read Preferences file!|The file could not be opened. Reverting to standard settings.");
}

TEST_F(PreferencesFile, TheReaderNamesWhatIsWrong) {
    const TBytes valid = ChangedFile();
    const size_t head = BodyOffset(valid, "HEAD");
    const size_t general = BodyOffset(valid, "GNRL");
    const size_t recent = BodyOffset(valid, "RECD");
    const size_t audio = BodyOffset(valid, "AUDI");
    struct SCase {
        size_t fOffset;
        uint8_t fValue;
        uint32_t fCode;
        const char* fMessage;
    };
    const SCase cases[] = {
        {head + 3, 0xEE, XFormatViolation::kFailureCode, "bad prefs file magic"},
        {head + 5, 2, XUnsupportedFormat::kFailureCode, "unsupported prefs file head chunk version"},
        {general + 1, 25, XFormatViolation::kFailureCode, "bad prefs file ESavedUnitsOnHorizontalRuler"},
        {general + 50, 15, XFormatViolation::kFailureCode, "bad prefs file ESavedConvertToMonoSelection"},
        {general + 50, 11, XFormatViolation::kFailureCode, "bad prefs file ESavedConvertToMonoSelection"},
        {general + 48, 8, XFormatViolation::kFailureCode, "ValidateData returned false for prefs file"},
        {general + 43, 0, XFormatViolation::kFailureCode, "ValidateData returned false for prefs file"},
        {audio + 32, 4, XFormatViolation::kFailureCode, "unexpected bytes at the end of prefs file audio chunk"},
        {recent + 1, 0, XUnsupportedFormat::kFailureCode, "incompatible prefs file version"},
        {recent + 5, 9, XFormatViolation::kFailureCode, "bad prefs file recent document count"},
        {recent + 5, 1, XFormatViolation::kFailureCode, "unexpected bytes at the end of prefs file recent documents chunk"},
    };
    for (const SCase& c : cases) {
        TBytes file = valid;
        file[c.fOffset] = c.fValue;
        COwnedMemoryMedia media(file.size(), file.data());
        const SCaughtFailure caught = CatchFailure([&] { ReadPreferencesForm(media); });
        EXPECT_EQ(caught.fCode, c.fCode) << c.fMessage;
        EXPECT_EQ(caught.fMessage, c.fMessage);
    }
}

TEST_F(PreferencesFile, EveryTruncationIsCorruptAndKeepsTheDefaults) {
    const TBytes valid = ChangedFile();
    for (size_t length = 1; length < valid.size(); ++length) {
        const SOutcome outcome = ReadAsFile(TBytes(valid.begin(), valid.begin() + long(length)));
        ASSERT_FALSE(outcome.fRead) << length;
        ASSERT_EQ(outcome.fAlerts, std::vector<std::string>{AlertText(NSAlertIds::kPreferencesCorrupt)}) << length;
        ASSERT_EQ(outcome.fStored, Defaults()) << length;
    }
}

TEST_F(PreferencesFile, EverySingleByteChangeIsReadWholeOrRefusedWithTheDefaults) {
    const TBytes valid = ChangedFile();
    const std::string corrupt = AlertText(NSAlertIds::kPreferencesCorrupt);
    const std::string otherVersion = AlertText(NSAlertIds::kPreferencesOtherVersion);
    for (size_t offset = 0; offset < valid.size(); ++offset) {
        for (const uint8_t flip : {0x01, 0x10, 0x80, 0xFF}) {
            TBytes file = valid;
            file[offset] ^= flip;
            const SOutcome outcome = ReadAsFile(file);
            if (outcome.fRead) {
                ASSERT_TRUE(outcome.fAlerts.empty()) << offset << " ^ " << int(flip);
                // What was read is what the writer stores and the reader takes again.
                CPreferences reread;
                reread.Restore(outcome.fStored);
                ASSERT_TRUE(WritePreferencesFile(reread));
                ASSERT_EQ(ReadStored().fStored, outcome.fStored) << offset << " ^ " << int(flip);
            } else {
                ASSERT_EQ(outcome.fAlerts.size(), 1u) << offset << " ^ " << int(flip);
                ASSERT_TRUE(outcome.fAlerts[0] == corrupt || outcome.fAlerts[0] == otherVersion) << offset;
                ASSERT_EQ(outcome.fStored, Defaults()) << offset << " ^ " << int(flip);
            }
        }
    }
}

TEST_F(PreferencesFile, ChangesAtKnownPlacesGiveTheirOutcome) {
    const TBytes valid = ChangedFile();
    SStoredPreferences asRead = ReadAsFile(valid).fStored;
    const size_t head = BodyOffset(valid, "HEAD");
    const size_t general = BodyOffset(valid, "GNRL");
    const size_t audio = BodyOffset(valid, "AUDI");
    const size_t recent = BodyOffset(valid, "RECD");
    const std::string corrupt = AlertText(NSAlertIds::kPreferencesCorrupt);
    const std::string otherVersion = AlertText(NSAlertIds::kPreferencesOtherVersion);

    SStoredPreferences stereoTwo = asRead;  // a flag of 2 reads as on, as 1 does
    SStoredPreferences luxNine = asRead;
    luxNine.fGeneral.fNoteCounters.Set(ENote::kLuxFile, 9);
    SStoredPreferences scrollOn = asRead;
    scrollOn.fGeneral.fScrollDuringPlayback = true;
    SStoredPreferences otherBlock = asRead;
    otherBlock.fAudioDevice.fBytes[4] = '?';
    SStoredPreferences blockThree = asRead;
    blockThree.fAudioDevice.fVersion = CVersion(3, 1, 3, 2, 7);
    SStoredPreferences firstGone = asRead;
    firstGone.fRecentDocuments.erase(firstGone.fRecentDocuments.begin());
    struct SCase {
        const char* fName;
        size_t fOffset;
        uint8_t fValue;
        std::optional<SStoredPreferences> fRead;  // none: refused
        std::string fAlert;
    };
    const SCase cases[] = {
        {"ignored lead byte", general + 0, 0, asRead, ""},
        {"ignored filler", general + 5, 7, asRead, ""},
        {"ignored byte 4 of a short version", head + 8, 9, asRead, ""},
        {"flag of 2", general + 6, 2, stereoTwo, ""},
        {"flag of 0 set", general + 7, 1, scrollOn, ""},
        {"note counter", general + 20, 9, luxNine, ""},
        {"device byte", audio + 37, '?', otherBlock, ""},
        {"device version, the library's to judge", audio + 8, 3, blockThree, ""},
        {"recent path", recent + 9 + fFirst.size(), 'q', firstGone, ""},
        {"form type", 9, 'X', std::nullopt, corrupt},
        {"chunk id", BodyOffset(valid, "GNRL") - 8, 'g', std::nullopt, corrupt},
        {"chunk size", general - 1, 60, std::nullopt, corrupt},
        {"head major", head + 5, 0, std::nullopt, otherVersion},
        {"head marker", head + 4, 0xBD, std::nullopt, corrupt},
        {"extension length", general + 36, 5, std::nullopt, corrupt},
        {"recent list version", recent + 2, 1, std::nullopt, otherVersion},
    };
    for (const SCase& c : cases) {
        TBytes file = valid;
        file[c.fOffset] = c.fValue;
        const SOutcome outcome = ReadAsFile(file);
        EXPECT_EQ(outcome.fRead, c.fRead.has_value()) << c.fName;
        EXPECT_EQ(outcome.fStored, c.fRead.value_or(Defaults())) << c.fName;
        EXPECT_EQ(outcome.fAlerts, c.fAlert.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.fAlert})
            << c.fName;
    }
}

TEST_F(PreferencesFile, AFailedWriteShowsItsAlertAndLeavesTheOldFileAsItWas) {
    CPreferences preferences;
    ASSERT_TRUE(WritePreferencesFile(preferences));
    const TBytes old = fHome.ReadFile();
    struct SCase {
        const char* fName;
        CFailingDiskKit::SPlan fPlan;
        int32_t fAlert;
    };
    const SCase cases[] = {
        {"disk full after 10 bytes", {10, false}, NSAlertIds::kPreferencesDiskFull},
        {"disk full at once", {0, false}, NSAlertIds::kPreferencesDiskFull},
        {"close fails", {UINT64_MAX, true}, NSAlertIds::kPreferencesNotSaved},
    };
    for (const SCase& c : cases) {
        preferences.SetExportFlag(!preferences.GetExportFlag());
        CScriptedAlertPresenter presenter;
        {
            CFailingDiskKit failing(c.fPlan);
            EXPECT_FALSE(WritePreferencesFile(preferences)) << c.fName;
            EXPECT_EQ(failing.GetFailures(), 1) << c.fName;
        }
        EXPECT_EQ(ShownAlerts(presenter), std::vector<std::string>{AlertText(c.fAlert)}) << c.fName;
        EXPECT_EQ(fHome.ReadFile(), old) << c.fName;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(fHome.PreferencesFolder()), {}), 1) << c.fName;
        EXPECT_TRUE(preferences.IsChanged()) << c.fName;
    }
    EXPECT_EQ(AlertText(NSAlertIds::kPreferencesDiskFull),
              "Couldn’t write Preferences file!|Program settings could not be saved because the disk is full.");
}

TEST_F(PreferencesFile, AFileThatCannotBeCreatedShowsItsAlert) {
    const std::string created = AlertText(NSAlertIds::kPreferencesNotCreated);
    CPreferences preferences;
    {
        // A folder has the file's name.
        std::filesystem::create_directories(fHome.PreferencesFile());
        CScriptedAlertPresenter presenter;
        EXPECT_FALSE(WritePreferencesFile(preferences));
        EXPECT_EQ(ShownAlerts(presenter), std::vector<std::string>{created});
        std::filesystem::remove(fHome.PreferencesFile());
    }
    {
        // A file has the company folder's name.
        std::filesystem::remove_all(fHome.Folder().PathOf("config"));
        std::filesystem::create_directories(fHome.Folder().PathOf("config"));
        fHome.Folder().Make("config/Moltrane Software", "in the way");
        CScriptedAlertPresenter presenter;
        EXPECT_FALSE(WritePreferencesFile(preferences));
        EXPECT_EQ(ShownAlerts(presenter), std::vector<std::string>{created});
        EXPECT_EQ(ReadWholeFile(fHome.Folder().PathOf("config/Moltrane Software")), "in the way");
    }
    EXPECT_EQ(created,
              "Couldn’t write Preferences file!|The Program settings file couldn’t be created, probably because the disk is full.");
}

TEST_F(PreferencesFile, TheStoredDeviceGoesToTheRestorer) {
    {
        CRecordingRestorer restorer;
        const SOutcome outcome = ReadAsFile(ChangedFile(), &restorer);
        ASSERT_EQ(restorer.fBlocks.size(), 1u);
        EXPECT_EQ(restorer.fBlocks[0], outcome.fStored.fAudioDevice);
        EXPECT_EQ(restorer.fBlocks[0].fVersion, CVersion(2, 1, 3, 2, 7));
        EXPECT_TRUE(outcome.fAlerts.empty());
    }
    {
        // No device stored: nothing to restore.
        CRecordingRestorer restorer;
        EXPECT_TRUE(ReadAsFile(DefaultFile(), &restorer).fRead);
        EXPECT_TRUE(restorer.fBlocks.empty());
    }
    const SStoredPreferences asRead = ReadAsFile(ChangedFile()).fStored;
    for (void (*failure)() : {+[] { throw NSMishap::XUnsupportedFormat("incompatible driver spec version"); },
                              +[] { throw NSMishap::XStdRuntimeError("couldn't recreate driver from blob"); }}) {
        // The settings stay as read; the standard device is the restorer's business.
        CRecordingRestorer restorer;
        restorer.fFailure = failure;
        const SOutcome outcome = ReadAsFile(ChangedFile(), &restorer);
        EXPECT_TRUE(outcome.fRead);
        EXPECT_EQ(outcome.fStored, asRead);
        ASSERT_EQ(outcome.fAlerts, std::vector<std::string>{AlertText(NSAlertIds::kDriverSettingsNotRestored)});
        EXPECT_EQ(outcome.fAlerts[0], "|Your driver settings could not be restored.");
    }
}

}  // namespace
