#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <string>
#include <vector>

#include "app/application/Quillet.h"
#include "app/preferences/AudioCardPreferences.h"
#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/preferences/PreferencesFile.h"
#include "app/resources/MenuIds.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"
#include "tests/app/application/ApplicationTestSupport.h"
#include "tests/support/ScriptedSoundPortKit.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

namespace fs = std::filesystem;

class Application : public ApplicationTest {
protected:
    // The test folder's file as the application lists it: the folder with links resolved.
    std::string Listed(const std::string& name) const { return (fs::canonical(fFiles.Path()) / name).string(); }
};

// Start and stop: the preferences and the audio device.

TEST_F(Application, AStartWithoutAPreferencesFileIsTheFirstRunWithoutAlert) {
    struct SRow {
        const char* fCase;
        std::optional<TBytes> fFile;  // none: no file
        bool fFirstRun;
        std::vector<std::string> fAlerts;
    };
    const SRow rows[] = {
        {"no file", std::nullopt, true, {}},
        {"empty file", TBytes{}, true, {}},
        {"damaged file", TBytes{'F', 'O', 'R', 'M', 0, 0, 0, 4, 'J', 'U', 'N', 'K'}, false,
         {"Couldn’t read Preferences file!"}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        std::error_code ignored;
        fs::remove(fHome.PreferencesFile(), ignored);
        if (row.fFile) fHome.WriteFile(*row.fFile);
        CScriptedAlertPresenter alerts;
        CQuillet& application = Start();
        EXPECT_TRUE(application.IsStarted());
        EXPECT_EQ(application.IsFirstRun(), row.fFirstRun);
        EXPECT_EQ(ShownHeadings(alerts), row.fAlerts);
        ASSERT_NE(GetPreferences(), nullptr) << "installed";
        // The standard device, forced to the Null Output.
        ASSERT_TRUE(fManager.IsOutputWorking());
        EXPECT_TRUE(fManager.GetDevice().fIsNullOutput);
        End();
        EXPECT_EQ(GetPreferences(), nullptr);
        EXPECT_FALSE(fManager.HasDevice()) << "the output closed at stop";
    }
}

TEST_F(Application, PreferencesChangedAreWrittenAtStopAndReadAtTheNextStart) {
    const std::string loop = MakeWave("drums.wav");
    {
        CQuillet& application = Start();
        ASSERT_TRUE(application.IsFirstRun());
        GetPreferences()->SetDefaultBarsToOne(true);
        application.OpenPath(loop);
        End();
    }
    ASSERT_TRUE(fs::exists(fHome.PreferencesFile()));
    CQuillet& application = Start();
    EXPECT_FALSE(application.IsFirstRun());
    EXPECT_TRUE(fAlerts.GetShown().empty());
    EXPECT_TRUE(GetPreferences()->GetDefaultBarsToOne());
    EXPECT_EQ(RecentPaths(), std::vector<std::string>{Listed("drums.wav")});
    EXPECT_EQ(application.GetDocumentSettings().fDefaultBarsToOne, true);
    EXPECT_EQ(application.GetDocumentSettings().fAudioCardManager, &fManager);
    EXPECT_EQ(application.GetDocumentSettings().fWavePlayer, &fPlayer);
}

// Windows.

TEST_F(Application, AStartWithoutFilesShowsOnePristineEmptyWindow) {
    CQuillet& application = Start();
    application.StartWithoutFiles();
    ASSERT_EQ(fShell.OpenWindows().size(), 1u);
    const CQuilletDocument& document = fShell.OpenWindows()[0]->GetDocument();
    EXPECT_TRUE(document.IsPristine());
    EXPECT_FALSE(document.HasFile());
    EXPECT_EQ(document.GetDisplayName(), "Untitled");
    EXPECT_EQ(document.GetWaveSample().GetFrameCount(), 0);
    EXPECT_EQ(application.GetWindows(), std::vector<IDocumentWindow*>{fShell.OpenWindows()[0]});
    // A second start without files keeps the one window.
    application.StartWithoutFiles();
    EXPECT_EQ(fShell.fWindows.size(), 1u);
}

TEST_F(Application, TheFirstFileReplacesThePristineWindowAndASecondAddsOne) {
    const std::string first = MakeWave("first.wav");
    const std::string second = MakeWave("SECOND.WAV");
    CQuillet& application = Start();
    application.StartWithoutFiles();
    CFakeWindow* pristine = fShell.OpenWindows().at(0);

    application.OpenPath(first);
    EXPECT_TRUE(pristine->IsClosed());
    EXPECT_EQ(pristine->fClosedWithoutAsking, 1);
    EXPECT_EQ(fShell.OpenWindowNames(), std::vector<std::string>{"first.wav"});

    application.OpenPath(second);
    EXPECT_EQ(fShell.OpenWindowNames(), (std::vector<std::string>{"first.wav", "SECOND.WAV"}));
    ASSERT_EQ(application.GetWindows().size(), 2u);
    EXPECT_EQ(application.GetWindows()[0], fShell.OpenWindows()[0]);
    EXPECT_EQ(application.GetWindows()[1], fShell.OpenWindows()[1]);
    EXPECT_FALSE(fShell.OpenWindows()[1]->GetDocument().IsPristine());
    EXPECT_TRUE(fAlerts.GetShown().empty());
}

TEST_F(Application, AFileAlreadyOpenComesToTheFrontHoweverItsPathIsSpelled) {
    fs::create_directories(fFiles.PathOf("sub"));
    const std::string loop = MakeWave("loop.wav");
    fs::create_symlink(loop, fFiles.PathOf("link.wav"));
    struct SRow {
        const char* fCase;
        std::string fSecondPath;
    };
    const SRow rows[] = {
        {"the same path", loop},
        {"through ..", fFiles.PathOf("sub/../loop.wav")},
        {"through a link", fFiles.PathOf("link.wav")},
        {"through ./ and //", fFiles.Path() + "/.//loop.wav"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        CQuillet& application = Start();
        application.OpenPath(loop);
        application.OpenPath(row.fSecondPath);
        ASSERT_EQ(fShell.OpenWindows().size(), 1u);
        EXPECT_EQ(fShell.OpenWindows()[0]->fBroughtToFront, 1);
        EXPECT_EQ(fShell.OpenWindowNames(), std::vector<std::string>{"loop.wav"});
        EXPECT_EQ(RecentPaths(), std::vector<std::string>{Listed("loop.wav")}) << "one entry for the file";
        EXPECT_TRUE(fAlerts.GetShown().empty());
        End();
    }
}

TEST_F(Application, ClosingTheLastWindowLeavesANewPristineOne) {
    CQuillet& application = Start();
    application.OpenPath(MakeWave("loop.wav"));
    ASSERT_EQ(fShell.OpenWindows().size(), 1u);
    CFakeWindow* loop = fShell.OpenWindows()[0];
    EXPECT_TRUE(loop->RequestClose(false));
    ASSERT_EQ(fShell.OpenWindows().size(), 1u);
    EXPECT_TRUE(fShell.OpenWindows()[0]->GetDocument().IsPristine());
    EXPECT_EQ(application.GetWindows(), std::vector<IDocumentWindow*>{fShell.OpenWindows()[0]});
}

TEST_F(Application, AFileOfAnUnknownTypeShowsCannotReadFileAndOpensNothing) {
    CQuillet& application = Start();
    application.StartWithoutFiles();
    CFakeWindow* pristine = fShell.OpenWindows().at(0);
    for (const char* name : {"notes.txt", "loop.mid", "loop", "loop.wav.bak", "loop.lx"}) {
        SCOPED_TRACE(name);
        CScriptedAlertPresenter alerts;
        application.OpenPath(fFiles.Make(name, "RIFF"));
        ASSERT_EQ(alerts.GetShown().size(), 1u);
        EXPECT_EQ(alerts.GetShown()[0].fKind, EAlertKind::kStop);
        EXPECT_EQ(alerts.GetShown()[0].fHeading, "Cannot read file");
        EXPECT_EQ(alerts.GetShown()[0].fBody,
                  std::string("The file “") + name + "” is in a format that cannot be opened by Quillet.");
        EXPECT_EQ(fShell.fWindows.size(), 1u) << "no window made";
        EXPECT_FALSE(pristine->IsClosed());
    }
    EXPECT_TRUE(RecentPaths().empty());
}

TEST_F(Application, AFileThatCannotBeOpenedShowsItsFailureAndKeepsTheWindows) {
    CQuillet& application = Start();
    application.StartWithoutFiles();
    struct SRow {
        const char* fCase;
        std::string fPath;
        const char* fHeading;
    };
    const SRow rows[] = {
        {"missing", fFiles.PathOf("gone.wav"), "File system object not found"},
        {"11 bytes", fFiles.Make("short.aif", "FORM1234567"), "Bad Format"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        CScriptedAlertPresenter alerts;
        application.OpenPath(row.fPath);
        EXPECT_EQ(ShownHeadings(alerts), std::vector<std::string>{row.fHeading});
        EXPECT_EQ(fShell.fWindows.size(), 1u);
        EXPECT_EQ(fShell.OpenWindows().size(), 1u);
    }
    EXPECT_TRUE(RecentPaths().empty());
}

// Quitting.

TEST_F(Application, AQuitThatAWindowCancelsIsAbandonedAndKeepsTheWindowsNotYetClosed) {
    CQuillet& application = Start();
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) application.OpenPath(MakeWave(name));
    std::vector<CFakeWindow*> windows = fShell.OpenWindows();
    ASSERT_EQ(windows.size(), 3u);
    windows[1]->fAgreesToClose = false;

    application.RequestQuit();
    EXPECT_FALSE(application.IsQuitting());
    EXPECT_EQ(fShell.fQuitCalls, 0);
    EXPECT_EQ(windows[0]->fCloseRequests, std::vector<bool>{true});
    EXPECT_EQ(windows[1]->fCloseRequests, std::vector<bool>{true});
    EXPECT_TRUE(windows[2]->fCloseRequests.empty()) << "not asked after the Cancel";
    EXPECT_EQ(fShell.OpenWindowNames(), (std::vector<std::string>{"b.wav", "c.wav"}));
    EXPECT_EQ(application.GetWindows().size(), 2u);

    // Asked again, all agree: the shell quits, and no pristine window follows the last.
    windows[1]->fAgreesToClose = true;
    application.RequestQuit();
    EXPECT_TRUE(application.IsQuitting());
    EXPECT_EQ(fShell.fQuitCalls, 1);
    EXPECT_TRUE(fShell.OpenWindows().empty());
    EXPECT_TRUE(application.GetWindows().empty());
    EXPECT_EQ(fShell.fWindows.size(), 3u);
}

// The recent list.

TEST_F(Application, TheRecentListKeepsTheEightLastOpenedOrSavedNewestFirst) {
    CQuillet& application = Start();
    for (int i = 0; i < 9; ++i) application.OpenPath(MakeWave("loop" + std::to_string(i) + ".wav"));
    std::vector<std::string> expected;
    for (int i = 8; i >= 1; --i) expected.push_back(Listed("loop" + std::to_string(i) + ".wav"));
    EXPECT_EQ(RecentPaths(), expected) << "loop0 fell off";

    // Opened again (its window comes to the front): it moves up.
    application.OpenPath(fFiles.PathOf("loop3.wav"));
    expected = {Listed("loop3.wav"), Listed("loop8.wav"), Listed("loop7.wav"), Listed("loop6.wav"),
                Listed("loop5.wav"), Listed("loop4.wav"), Listed("loop2.wav"), Listed("loop1.wav")};
    EXPECT_EQ(RecentPaths(), expected);

    // Saved under a new name: first, and loop1 falls off; then saved as loop5: it moves up.
    const int menusChanged = fShell.fMenusChanged;
    application.DocumentSavedAs(fFiles.PathOf("saved.lx2"), "saved.lx2");
    EXPECT_EQ(fShell.fMenusChanged, menusChanged + 1) << "the menus follow the list";
    application.DocumentSavedAs(fFiles.PathOf("loop5.wav"), "loop5.wav");
    expected = {Listed("loop5.wav"), Listed("saved.lx2"), Listed("loop3.wav"), Listed("loop8.wav"),
                Listed("loop7.wav"), Listed("loop6.wav"), Listed("loop4.wav"), Listed("loop2.wav")};
    EXPECT_EQ(RecentPaths(), expected);
    EXPECT_EQ(application.GetRecentFolder(), fs::canonical(fFiles.Path()).string());
}

TEST_F(Application, OpenRecentCommandsFollowTheListAndNameItsEntries) {
    fs::create_directories(fFiles.PathOf("one"));
    fs::create_directories(fFiles.PathOf("two"));
    CQuillet& application = Start();
    EXPECT_EQ(application.GetRecentFolder(), "");
    for (int32_t command = NSCommandIds::kOpenRecentFirst; command <= NSCommandIds::kOpenRecentLast; ++command) {
        EXPECT_TRUE(application.IsApplicationCommand(command));
        EXPECT_FALSE(application.IsApplicationCommandEnabled(command));
        EXPECT_EQ(application.GetRecentCommandLabel(command), "");
    }
    application.OpenPath(MakeWave("one/loop.wav"));
    application.OpenPath(MakeWave("two/loop.wav"));
    application.OpenPath(MakeWave("kick.wav"));
    const int32_t first = NSCommandIds::kOpenRecentFirst;
    EXPECT_EQ(application.GetRecentCommandLabel(first), "kick.wav");
    // The same name twice: each names its folder.
    EXPECT_EQ(application.GetRecentCommandLabel(first + 1), "loop.wav (" + Listed("two") + ")");
    EXPECT_EQ(application.GetRecentCommandLabel(first + 2), "loop.wav (" + Listed("one") + ")");
    EXPECT_EQ(application.GetRecentCommandLabel(first + 3), "");
    for (int32_t index = 0; index < 8; ++index) {
        EXPECT_EQ(application.IsApplicationCommandEnabled(first + index), index < 3) << index;
    }
}

TEST_F(Application, OpenRecentOpensTheEntryOrDropsAFileThatIsGone) {
    const std::string a = MakeWave("a.wav");
    const std::string b = MakeWave("b.wav");
    CQuillet& application = Start();
    application.OpenPath(a);
    application.OpenPath(b);
    for (CFakeWindow* window : fShell.OpenWindows()) window->RequestClose(false);
    ASSERT_EQ(fShell.OpenWindowNames(), std::vector<std::string>{"Untitled"});
    ASSERT_EQ(RecentPaths(), (std::vector<std::string>{Listed("b.wav"), Listed("a.wav")}));

    // Entry 1 (a.wav) opens in place of the pristine window and goes to the top.
    application.DoApplicationCommand(NSCommandIds::kOpenRecentFirst + 1);
    EXPECT_EQ(fShell.OpenWindowNames(), std::vector<std::string>{"a.wav"});
    EXPECT_EQ(RecentPaths(), (std::vector<std::string>{Listed("a.wav"), Listed("b.wav")}));
    EXPECT_TRUE(fAlerts.GetShown().empty());

    // b.wav deleted: its entry alerts and goes, nothing opens.
    fs::remove(b);
    const size_t made = fShell.fWindows.size();
    application.DoApplicationCommand(NSCommandIds::kOpenRecentFirst + 1);
    EXPECT_EQ(ShownHeadings(fAlerts), std::vector<std::string>{"File system object not found"});
    EXPECT_EQ(RecentPaths(), std::vector<std::string>{Listed("a.wav")});
    EXPECT_EQ(fShell.fWindows.size(), made);
    EXPECT_FALSE(application.IsApplicationCommandEnabled(NSCommandIds::kOpenRecentFirst + 1));
}

// Commands and failures.

TEST_F(Application, AFailureEndingACommandShowsItsOneAlertAndTheProgramGoesOn) {
    using namespace NSMishap;
    struct SRow {
        const char* fCase;
        std::function<void()> fCommand;
        std::vector<std::string> fAlerts;
    };
    const SRow rows[] = {
        {"failed undo",
         [] { ThrowFailure(kFailureCode_RuntimeError, "undo failed", kTargetObjectType_UndoStep); },
         {"Could not complete operation!"}},
        {"runtime error elsewhere", [] { ThrowFailure(kFailureCode_RuntimeError, "x", kTargetObjectType_File); },
         {"Internal error!"}},
        {"abort", [] { ThrowFailure(kFailureCode_RuntimeError_Abort, "user pressed stop"); }, {}},
        {"silent abort", [] { ThrowFailure(kFailureCode_RuntimeError_SilentAbort, "long file not opened"); }, {}},
        {"bad format", [] { ThrowFailure(kFailureCode_RuntimeError_FormatViolation, "x"); }, {"Bad Format"}},
        {"out of memory", [] { throw std::bad_alloc(); }, {"Out of Memory"}},
        {"no exception class", [] { throw 42; }, {"Internal error!"}},
    };
    CQuillet& application = Start();
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        CScriptedAlertPresenter alerts;
        EXPECT_FALSE(application.RunCommand(row.fCommand));
        EXPECT_EQ(ShownHeadings(alerts), row.fAlerts);
    }
    CScriptedAlertPresenter alerts;
    int runs = 0;
    EXPECT_TRUE(application.RunCommand([&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(alerts.GetShown().empty());
}

TEST_F(Application, TheHelpCommandsOpenTheirPagesOrSayWhichCouldNotBeOpened) {
    const SHelpAddresses help = TestHelpAddresses();
    const std::pair<int32_t, std::string> rows[] = {
        {NSCommandIds::kOnlineDocumentation, help.fDocumentation},
        {NSCommandIds::kHomePage, help.fHomePage},
        {NSCommandIds::kLoopsPage, help.fLoopsPage},
        {NSCommandIds::kTechInfoAndSupport, help.fSupport},
    };
    CQuillet& application = Start();
    for (const auto& [command, address] : rows) {
        SCOPED_TRACE(address);
        EXPECT_TRUE(application.IsApplicationCommandEnabled(command));
        for (bool opens : {true, false}) {
            fShell.fWebPages.clear();
            fShell.fWebPagesOpen = opens;
            CScriptedAlertPresenter alerts;
            application.DoApplicationCommand(command);
            EXPECT_EQ(fShell.fWebPages, std::vector<std::string>{address});
            if (opens) {
                EXPECT_TRUE(alerts.GetShown().empty());
                continue;
            }
            ASSERT_EQ(alerts.GetShown().size(), 1u);
            EXPECT_EQ(alerts.GetShown()[0].fHeading, "Cannot open web page");
            EXPECT_EQ(alerts.GetShown()[0].fBody, "The web page “" + address +
                                                      "” could not be opened, please make sure the address has been "
                                                      "entered correctly.");
        }
    }
}

TEST_F(Application, TheBuiltHelpAddressesAreTheInstalledDocumentationAndTheProjectPages) {
    const SHelpAddresses help = GetDefaultHelpAddresses();
    const std::string documentation = "/share/doc/quillet/README.md";
    EXPECT_EQ(help.fDocumentation.rfind("file:///", 0), 0u) << help.fDocumentation;
    ASSERT_GT(help.fDocumentation.size(), documentation.size());
    EXPECT_EQ(help.fDocumentation.substr(help.fDocumentation.size() - documentation.size()), documentation);
    for (const std::string& page : {help.fHomePage, help.fLoopsPage, help.fSupport}) {
        EXPECT_EQ(page.rfind("https://", 0), 0u) << page;
    }
}

TEST_F(Application, OpenAsksFromTheRecentFolderOnceAtATimeAndOpensTheChoice) {
    fs::create_directories(fFiles.PathOf("loops"));
    const std::string chosen = MakeWave("loops/chosen.wav");
    CQuillet& application = Start();
    application.StartWithoutFiles();

    // Cancelled: the pristine window stays.
    application.DoApplicationCommand(NSCommandIds::kOpen);
    EXPECT_EQ(fShell.fOpenDialogFolders, std::vector<std::string>{""});
    EXPECT_EQ(fShell.OpenWindowNames(), std::vector<std::string>{"Untitled"});

    // A second Open while the dialog shows does nothing.
    fShell.fFileToOpen = chosen;
    fShell.fWhileOpenDialogShows = [&] { application.DoApplicationCommand(NSCommandIds::kOpen); };
    application.DoApplicationCommand(NSCommandIds::kOpen);
    EXPECT_EQ(fShell.fOpenDialogFolders.size(), 2u);
    EXPECT_EQ(fShell.OpenWindowNames(), std::vector<std::string>{"chosen.wav"});

    // The next dialog starts where the last file was.
    fShell.fWhileOpenDialogShows = nullptr;
    fShell.fFileToOpen = std::nullopt;
    application.DoApplicationCommand(NSCommandIds::kOpen);
    ASSERT_EQ(fShell.fOpenDialogFolders.size(), 3u);
    EXPECT_EQ(fShell.fOpenDialogFolders[2], Listed("loops"));
    EXPECT_TRUE(fAlerts.GetShown().empty());
}

TEST_F(Application, TheApplicationCommandsAreAlwaysAvailableAndTheWindowsOthersAreNot) {
    CQuillet& application = Start();
    for (int32_t command : {NSCommandIds::kAbout, NSCommandIds::kOpen, NSCommandIds::kPaste,
                            NSCommandIds::kPreferences, NSCommandIds::kQuit}) {
        EXPECT_TRUE(application.IsApplicationCommand(command)) << command;
        EXPECT_TRUE(application.IsApplicationCommandEnabled(command)) << command;
    }
    for (int32_t command :
         {NSCommandIds::kSave, NSCommandIds::kUndo, NSCommandIds::kExport, 20149, 20158, 20501, 20506}) {
        EXPECT_FALSE(application.IsApplicationCommand(command)) << command;
        EXPECT_FALSE(application.IsApplicationCommandEnabled(command)) << command;
    }
    application.DoApplicationCommand(NSCommandIds::kAbout);
    application.DoApplicationCommand(NSCommandIds::kPreferences);
    EXPECT_EQ(fShell.fAboutShown, 1);
    EXPECT_EQ(fShell.fPreferencesShown, 1);
}

TEST_F(Application, APreferencesDialogWithoutMemoryHasItsOwnAlert) {
    CQuillet& application = Start();
    fShell.fPreferencesOutOfMemory = true;
    application.DoApplicationCommand(NSCommandIds::kPreferences);
    ASSERT_EQ(fAlerts.GetShown().size(), 1u);
    EXPECT_EQ(fAlerts.GetShown()[0].fKind, EAlertKind::kStop);
    EXPECT_EQ(fAlerts.GetShown()[0].fBody, "There is not enough memory for the dialog or window!");
}

TEST_F(Application, PasteAsNewDocumentShowsTheClipboardsLoopInPlaceOfThePristineWindow) {
    CQuillet& application = Start();
    application.StartWithoutFiles();

    // Nothing on the clipboard: nothing happens.
    application.DoApplicationCommand(NSCommandIds::kPaste);
    EXPECT_EQ(fShell.fWindows.size(), 1u);
    EXPECT_TRUE(fAlerts.GetShown().empty());

    const std::string bytes = WriteToBytes(*MakeSample(16, 2, 4410), ESoundFileType::kWave);
    fShell.fClipboard = SClipboardLoop{EClipboardLoopKind::kWave, std::vector<uint8_t>(bytes.begin(), bytes.end())};
    application.DoApplicationCommand(NSCommandIds::kPaste);
    ASSERT_EQ(fShell.OpenWindows().size(), 1u);
    const CQuilletDocument& pasted = fShell.OpenWindows()[0]->GetDocument();
    EXPECT_FALSE(pasted.IsPristine());
    EXPECT_FALSE(pasted.HasFile());
    EXPECT_TRUE(pasted.IsModified());
    EXPECT_EQ(pasted.GetWaveSample().GetFrameCount(), 4410);
    EXPECT_EQ(pasted.GetWaveSample().GetChannelCount(), 2);
    EXPECT_TRUE(RecentPaths().empty());

    // MIDI cannot be pasted: its alert, the window stays.
    fShell.fClipboard = SClipboardLoop{EClipboardLoopKind::kMidi, {'M', 'T', 'h', 'd'}};
    application.DoApplicationCommand(NSCommandIds::kPaste);
    EXPECT_EQ(ShownHeadings(fAlerts), std::vector<std::string>{"Unsupported Format"});
    EXPECT_EQ(fShell.OpenWindows().size(), 1u);
}

TEST_F(Application, ActivationReleasesAndRetakesTheDeviceOnlyOnceStarted) {
    CQuillet application(fShell, fManager, fPlayer, TestHelpAddresses());
    fManager.StartDefaultDevice();
    application.SetActive(false);
    EXPECT_FALSE(fManager.IsReleased()) << "not started yet";
    application.Start();
    // The Null Output stands in for a card opened exclusively: released while inactive.
    application.SetActive(false);
    EXPECT_TRUE(fManager.IsReleased());
    application.SetActive(true);
    EXPECT_FALSE(fManager.IsReleased());
    EXPECT_TRUE(fManager.IsOutputWorking());
    EXPECT_TRUE(fAlerts.GetShown().empty());
    application.Stop();
}

// The device a start opens, on a library of scripted devices whose standard one is the card.
TEST_F(Application, AStartRestoresTheStoredDeviceOrStartsTheStandardOne) {
    const CScopedEnvironmentVariable device("QUILLET_AUDIO_DEVICE", std::nullopt);
    struct SRow {
        const char* fCase;
        std::optional<std::string> fStored;  // the stored device block; none: no file
        const char* fPlaying;                // "" when the output failed
        std::vector<std::string> fAlerts;
    };
    const SRow rows[] = {
        {"first run", std::nullopt, "Card (hw:0,0)", {}},
        {"stored device", std::string("Server"), "Server", {}},
        {"stored device gone", std::string("Gone"), "Card (hw:0,0)",
         {"Your last used audio device couldn’t be found."}},
        {"stored device busy", std::string("Busy"), "", {"The audio device “Busy” could not be opened."}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        std::error_code ignored;
        fs::remove(fHome.PreferencesFile(), ignored);
        if (row.fStored) {
            CPreferences preferences;
            SAudioDeviceBlock block;
            block.fVersion = GetAudioDriverSpecVersion();
            block.fBytes.assign(row.fStored->begin(), row.fStored->end());
            preferences.SetAudioDeviceBlock(block);
            ASSERT_TRUE(WritePreferencesFile(preferences));
        }
        CScriptedAlertPresenter alerts;
        CScriptedKit kit;
        CAudioCardManager manager(&kit);
        CWavePlayer player(manager);
        CQuillet application(fShell, manager, player, TestHelpAddresses());
        application.Start();
        EXPECT_TRUE(application.IsStarted());
        EXPECT_EQ(application.IsFirstRun(), !row.fStored);
        EXPECT_EQ(ShownHeadings(alerts), row.fAlerts);
        if (*row.fPlaying == '\0') {
            EXPECT_FALSE(manager.IsOutputWorking());
        } else {
            ASSERT_TRUE(manager.IsOutputWorking());
            EXPECT_EQ(manager.GetDevice().fName, row.fPlaying);
        }
        application.Stop();
    }
}

// The editor's audio idle: a stream that died is noticed once, with its alert, and leaves the
// output not working instead of playing on into nothing.
TEST_F(Application, TheAudioIdleReportsADeadStreamOnce) {
    const CScopedEnvironmentVariable device("QUILLET_AUDIO_DEVICE", std::nullopt);
    std::error_code ignored;
    fs::remove(fHome.PreferencesFile(), ignored);
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    CWavePlayer player(manager);
    CQuillet application(fShell, manager, player, TestHelpAddresses());
    application.AudioIdle();
    application.Start();
    ASSERT_TRUE(manager.IsOutputWorking());
    application.AudioIdle();
    EXPECT_TRUE(fAlerts.GetShown().empty());
    kit.fStreamDied = true;
    application.AudioIdle();
    application.AudioIdle();
    EXPECT_EQ(ShownHeadings(fAlerts), std::vector<std::string>{"Your audio driver has stopped working."});
    EXPECT_FALSE(manager.IsOutputWorking());
    application.Stop();
}

}  // namespace
