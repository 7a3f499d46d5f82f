#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/opening/DocumentOpening.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/preferences/PreferencesFile.h"
#include "app/resources/AlertIds.h"
#include "tests/app/preferences/PreferencesTestSupport.h"
#include "tests/formats/legacy/LegacyLoopFileBuilder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;
namespace NSLegacy = NSQuilletTest::NSLegacyLoopFile;

// The preferences of one run of the program: read at start and installed for the process,
// written at stop when changed.
class CProgramRun {
public:
    CProgramRun() {
        fRead = ReadPreferencesFile(fPreferences, nullptr);
        SetPreferences(&fPreferences);
    }
    ~CProgramRun() { SetPreferences(nullptr); }
    CProgramRun(const CProgramRun&) = delete;
    CProgramRun& operator=(const CProgramRun&) = delete;

    bool Stop() { return fPreferences.IsChanged() && WritePreferencesFile(fPreferences); }

    CPreferences fPreferences;
    bool fRead = false;
};

// 2000 frames of a ramp, three slices, one bar at 120 BPM.
std::string MakeLUXFile(const CPreferencesHome& home) {
    NSLegacy::SLUXBlock block;
    block.fLoopTicks = 3840;
    block.fTempo = 120000;
    block.fEntries = {{0, 1000, 7}, {1000, 1000, 7}, {2000, 2000, 8}};
    NSLegacy::SCommon common;
    common.fFrames = 2000;
    const NSLegacy::TBytes bytes = NSLegacy::FormAIFF({NSLegacy::Chunk("COMM", NSLegacy::CommonBody(common)),
                                                      NSLegacy::Chunk("APPL", NSLegacy::LUXBlockBody(block)),
                                                      NSLegacy::Chunk("SSND", NSLegacy::SoundDataBody(NSLegacy::Samples16(NSLegacy::Ramp(2000))))});
    return home.Folder().Make("drums.lux", std::string(bytes.begin(), bytes.end()));
}

size_t OpenCountingLUXNotes(const std::string& path, int times) {
    CScriptedAlertPresenter presenter;
    for (int i = 0; i < times; ++i) {
        CQuilletLengthyOperation operation("Open", true, nullptr);
        EXPECT_TRUE(OpenDocument(path, SDocumentSettings{}, operation));
    }
    const std::vector<std::string> shown = ShownAlerts(presenter);
    for (const std::string& text : shown) EXPECT_EQ(text, AlertText(NSAlertIds::kLuxFileNote));
    return shown.size();
}

TEST(PreferencesNoteCounters, TheLUXNoteShowsOnTheFirstFiveLUXFilesAndNeverAgain) {
    const CPreferencesHome home;
    const std::string lux = MakeLUXFile(home);
    {
        // A fresh preferences file.
        CPreferences fresh;
        ASSERT_TRUE(WritePreferencesFile(fresh));
    }
    {
        CProgramRun run;
        ASSERT_TRUE(run.fRead);
        EXPECT_EQ(OpenCountingLUXNotes(lux, 3), 3u);
        ASSERT_TRUE(run.Stop());
    }
    {
        CProgramRun run;
        EXPECT_EQ(run.fPreferences.GetNoteCounters().Get(ENote::kLuxFile), 2);
        EXPECT_EQ(OpenCountingLUXNotes(lux, 4), 2u);
        EXPECT_EQ(run.fPreferences.GetNoteCounters().Get(ENote::kLuxFile), 0);
        // The other notes were not touched.
        EXPECT_EQ(run.fPreferences.GetNoteCounters().Get(ENote::kOldNormalizeOption), 5);
        ASSERT_TRUE(run.Stop());
    }
    for (int restart = 0; restart < 2; ++restart) {
        CProgramRun run;
        EXPECT_EQ(OpenCountingLUXNotes(lux, 3), 0u);
        // Nothing counted down: nothing to write.
        EXPECT_FALSE(run.fPreferences.IsChanged());
        EXPECT_FALSE(run.Stop());
    }
}

}  // namespace
