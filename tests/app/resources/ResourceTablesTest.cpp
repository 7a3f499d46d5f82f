#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "app/resources/AlertIds.h"
#include "app/resources/AlertTable.h"
#include "app/resources/MenuIds.h"
#include "app/resources/MenuTable.h"
#include "app/resources/ProgramResources.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/resources/StringTable.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/ScriptedAlertPresenter.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

std::string FormatFault(const std::function<void()>& parse) {
    const SCaughtFailure caught = CatchFailure(parse);
    EXPECT_EQ(caught.fCode, NSMishap::XFormatViolation::kFailureCode) << caught.fMessage;
    return caught.fMessage;
}

TEST(StringTable, ThisPlatformsSuffixWinsAndOtherPlatformsAreDropped) {
    struct SRow {
        const char* fSource;
        const char* fText;  // null: no entry 5001
    };
    const SRow rows[] = {
        {"5001-Win\t{Bars:}\n5001-Mac\t{Bars}\n", "Bars:"},
        {"5001-Mac\t{Bars}\n5001-Win\t{Bars:}\n", "Bars:"},
        {"5001\t{Bars}\n5001-Win\t{Bars:}\n", "Bars:"},
        {"5001-Win\t{Bars:}\n5001\t{Bars}\n", "Bars:"},
        {"5001-Mac\t{Bars}\n5001\t{Plain}\n", "Plain"},
        {"5001-Mac\t{Bars}\n", nullptr},
        {"5001 {Line\\rbreak \\\\ and ^0}  \r\n", "Line\rbreak \\ and ^0"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fSource);
        const CStringTable table(129, row.fSource, "strings-test.txt");
        EXPECT_EQ(table.HasEntry(5001), row.fText != nullptr);
        if (row.fText) {
            EXPECT_EQ(table.GetText(5001), row.fText);
        } else {
            EXPECT_FAILURE(table.GetText(5001), XNotFound, "no entry 5001 in string table 129");
        }
    }
    EXPECT_EQ(StringReference(NSStringIds::kBarsLabel).GetText(), "Bars:");
}

TEST(StringTable, MalformedLinesFailNamingTableAndLine) {
    struct SRow {
        const char* fSource;
        const char* fMessage;
    };
    const SRow rows[] = {
        {"1\t{a}\n\nBars\t{b}", "t.txt line 3: entry without a valid id"},
        {"12-Linux\t{x}", "t.txt line 1: unknown platform suffix"},
        {"12\tx", "t.txt line 1: id not followed by {text}"},
        {"12{x}", "t.txt line 1: id not followed by {text}"},
        {"12\t{x", "t.txt line 1: text not closed by }"},
        {"12\t{a\\qb}", "t.txt line 1: unknown escape in text"},
        {"12\t{a\\}", "t.txt line 1: unknown escape in text"},
        {"7\t{a}\n7\t{b}", "t.txt line 2: second entry 7 for the same platform"},
        {"7-Win\t{a}\n7-Win\t{b}", "t.txt line 2: second entry 7 for the same platform"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fSource);
        EXPECT_EQ(FormatFault([&] { CStringTable(1, row.fSource, "t.txt"); }), row.fMessage);
    }
}

TEST(Alert, EntriesParseIntoKindHeadingBodyAndButtons) {
    const SAlert question = ParseAlertEntry("[NOTE]Do you want to move the left locator to the first slice point?[No][Yes]");
    EXPECT_EQ(question.fKind, EAlertKind::kNote);
    EXPECT_EQ(question.fHeading, "");
    EXPECT_EQ(question.fBody, "Do you want to move the left locator to the first slice point?");
    EXPECT_EQ(question.fButtons, (std::vector<std::string>{"No", "Yes"}));
    EXPECT_EQ(AlertAnswerOfButton(0, 2), 34);  // No
    EXPECT_EQ(AlertAnswerOfButton(1, 2), 33);  // Yes, the rightmost

    const SAlert headed = ParseAlertEntry("[STOP][Cannot read file]The file “^0” is bad.[OK]");
    EXPECT_EQ(headed.fKind, EAlertKind::kStop);
    EXPECT_EQ(headed.fHeading, "Cannot read file");
    EXPECT_EQ(headed.fBody, "The file “^0” is bad.");
    EXPECT_EQ(headed.fButtons, std::vector<std::string>{"OK"});
}

TEST(Alert, MalformedEntriesAreRejectedWithTheirFault) {
    struct SRow {
        const char* fText;
        const char* fMessage;
    };
    const SRow rows[] = {
        {"Body[OK]", "alert does not begin with [STOP], [NOTE] or [WARN]"},
        {"[INFO]Body[OK]", "alert does not begin with [STOP], [NOTE] or [WARN]"},
        {"[NOTE]Body", "alert without a button"},
        {"[NOTE][Heading][OK]", "alert without a body"},
        {"[NOTE][OK]", "alert without a body"},
        {"[NOTE]Body[OK] trailing", "alert text after its first button"},
        {"[NOTE]Bo]dy[OK]", "alert body holds a ]"},
        {"[NOTE]Body[OK", "alert bracket not closed"},
        {"[NOTE]Body[]", "empty or nested bracket in alert"},
        {"[NOTE]Body[O[K]", "empty or nested bracket in alert"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fText);
        EXPECT_EQ(FormatFault([&] { ParseAlertEntry(row.fText); }), row.fMessage);
    }
    EXPECT_EQ(FormatFault([] { CAlertTable(129, "1\t{[NOTE]Fine.[OK]}\n2\t{[NOTE]No button}\n", "a.txt"); }),
              "a.txt line 2: alert without a button");
}

TEST(MenuTable, ItemsGiveLabelAccessKeyShortcutAndCommand) {
    const SMenu menu = ParseMenu(10, "[File menu title];_Open…#O=50004;-;Scroll _During Playback#0f=20308;"
                                     "Delete=50014;Cu_t#X=50011;Other#3+=7;Digit#1=8");
    EXPECT_EQ(menu.fId, 10);
    EXPECT_TRUE(menu.fFrameworkMenu);
    EXPECT_EQ(menu.fTitle, "File menu title");
    struct SRow {
        bool fSeparator;
        const char* fLabel;
        char fAccessKey;
        char fKey;
        int32_t fModifiers;
        int32_t fCommand;
    };
    const SRow rows[] = {
        {false, "Open…", 'O', 'O', kMenuModifier_Primary, 50004},
        {true, "", '\0', '\0', kMenuModifier_None, 0},
        {false, "Scroll During Playback", 'D', 'F', kMenuModifier_None, 20308},
        {false, "Delete", '\0', '\0', kMenuModifier_None, 50014},
        {false, "Cut", 't', 'X', kMenuModifier_Primary, 50011},
        {false, "Other", '\0', '+', 3, 7},
        {false, "Digit", '\0', '1', kMenuModifier_Primary, 8},
    };
    ASSERT_EQ(menu.fItems.size(), std::size(rows));
    for (size_t i = 0; i < menu.fItems.size(); ++i) {
        SCOPED_TRACE(i);
        const SMenuItem& item = menu.fItems[i];
        EXPECT_EQ(item.fSeparator, rows[i].fSeparator);
        EXPECT_EQ(item.fLabel, rows[i].fLabel);
        EXPECT_EQ(item.fAccessKey, rows[i].fAccessKey);
        EXPECT_EQ(item.fShortcutKey, rows[i].fKey);
        EXPECT_EQ(item.fShortcutModifiers, rows[i].fModifiers);
        EXPECT_EQ(item.fCommandId, rows[i].fCommand);
    }
    const SMenu own = ParseMenu(12, "_View;Magnify to _Fit#F=20304");
    EXPECT_FALSE(own.fFrameworkMenu);
    EXPECT_EQ(own.fTitle, "View");
    EXPECT_EQ(own.fTitleAccessKey, 'V');
}

TEST(MenuTable, MalformedItemsAreRejected) {
    struct SRow {
        const char* fText;
        const char* fFault;
    };
    const SRow rows[] = {
        {"View;Open#O", "no =command id"},
        {"View;Open=5x", "command id is not a number"},
        {"View;Open=", "command id is not a number"},
        {"View;Open=0", "command id 0"},
        {"View;Open#5x=1", "shortcut is neither #K nor #<0-4>K"},
        {"View;Open#Ox=1", "shortcut is neither #K nor #<0-4>K"},
        {"View;Open#=1", "shortcut is neither #K nor #<0-4>K"},
        {"View;_Op_en=1", "second access key"},
        {"View;Open_=1", "\"_\" not followed by a key"},
        {"View;#O=1", "empty label"},
        {"View;;Open=1", "no =command id"},
        {"[];Open=1", "empty menu title"},
        {"Open=1;Close=2", "not a menu title"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fText);
        const std::string message = FormatFault([&] { ParseMenu(1, row.fText); });
        EXPECT_NE(message.find(row.fFault), std::string::npos) << message;
    }
    EXPECT_EQ(FormatFault([] { CMenuTable(128, "10\t{View;Open=1}\n11\t{View;Open}\n", "m.txt"); }),
              "m.txt line 2: menu item \"Open\": no =command id");
}

TEST(ResourceReference, PlaceholdersZeroToThreeAreReplacedOnce) {
    struct SRow {
        const char* fText;
        std::array<std::string, 4> fArguments;
        const char* fReplaced;
    };
    const SRow rows[] = {
        {"^0 out of ^1", {"3", "8", "", ""}, "3 out of 8"},
        {"^3^2^1^0", {"a", "b", "c", "d"}, "dcba"},
        {"Undo ^0", {"^1", "x", "", ""}, "Undo ^1"},
        {"^0 and ^4, 10^", {"A", "", "", ""}, "A and ^4, 10^"},
        {"[^0]", {}, "[]"},
        {"^^0", {"x", "", "", ""}, "^x"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fText);
        EXPECT_EQ(ReplacePlaceholders(row.fText, row.fArguments), row.fReplaced);
    }
    EXPECT_EQ(StringReference(NSStringIds::kUndoLabel).With("Change Pitch").GetText(), "Undo Change Pitch");
    EXPECT_EQ(StringReference(802).With("2 Bars", "4", "4").GetText(), "Loop length: 2 Bars, 4 / 4");
    EXPECT_EQ(FrameworkShortTextReference(NSShortTextIds::kVersionWithBuild).With("1.7", "301").GetText(),
              "1.7 (build 301)");
}

TEST(ResourceReference, UnknownEntriesAndKindsFail) {
    EXPECT_FAILURE(StringReference(99999).GetText(), XNotFound, "no entry 99999 in string table 129");
    EXPECT_FAILURE(AlertReference(1).GetAlert(), XNotFound, "no entry 1 in alert table 129");
    EXPECT_FAILURE(CResourceReference(EResourceKind::kString, 4242, 1).GetText(), XNotFound, "no string table 4242");
    EXPECT_FAILURE(StringReference(NSStringIds::kBarsLabel).GetAlert(), XIllegalCallSequence,
                   "resource reference 129/5001 is of another kind");
    EXPECT_FAILURE(MenuReference(NSMenuIds::kView).GetText(), XIllegalCallSequence,
                   "resource reference 128/12 is of another kind");
}

TEST(ResourceReference, ShowAlertPresentsTheArgumentsAndAnswersTheButton) {
    CScriptedAlertPresenter presenter;
    // A bracket in an argument stays in the body: arguments go in after parsing.
    EXPECT_EQ(ShowAlert(AlertReference(NSAlertIds::kCannotReadFile).With("Loop [2].txt")), 33);
    presenter.Answer(34);
    EXPECT_EQ(ShowAlert(AlertReference(NSAlertIds::kMoveLeftLocatorToFirstSlice)), 34);
    presenter.Answer(35);
    EXPECT_EQ(ShowAlert(AlertReference(NSAlertIds::kSliceFileExists).With("kick.wav")), 35);
    ASSERT_EQ(presenter.GetShown().size(), 3u);
    EXPECT_EQ(presenter.GetShown()[0].fHeading, "Cannot read file");
    EXPECT_EQ(presenter.GetShown()[0].fBody, "The file “Loop [2].txt” is in a format that cannot be opened by Quillet.");
    EXPECT_EQ(presenter.GetShown()[1].fButtons, (std::vector<std::string>{"No", "Yes"}));
    EXPECT_EQ(presenter.GetShown()[2].fButtons, (std::vector<std::string>{"Replace", "Replace All", "Cancel"}));

    // An unexpected question, or an answer that is no button, fails loudly.
    EXPECT_FAILURE(ShowAlert(AlertReference(NSAlertIds::kLongFile)), XIllegalCallSequence,
                   "unscripted question: The sound file you are about to open is long, which might make operations "
                   "in Quillet slower. Are you sure you want to open this file?");
    presenter.Answer(35);
    EXPECT_FAILURE(ShowAlert(AlertReference(NSAlertIds::kMoveLeftLocatorToFirstSlice)), XIllegalCallSequence,
                   "scripted answer 35 is no button of: Do you want to move the left locator to the first slice point?");
}

TEST(ScriptedAlertPresenter, RestoresThePresenterBeforeIt) {
    EXPECT_EQ(GetAlertPresenter(), nullptr);
    {
        CScriptedAlertPresenter outer;
        {
            CScriptedAlertPresenter inner;
            EXPECT_EQ(GetAlertPresenter(), &inner);
        }
        EXPECT_EQ(GetAlertPresenter(), &outer);
    }
    EXPECT_EQ(GetAlertPresenter(), nullptr);
    EXPECT_EQ(ShowAlert(AlertReference(NSAlertIds::kNoSlicesAdded)), 0);
}

TEST(ShippedResources, EveryTableParsesAndHoldsTheNamedEntries) {
    const CProgramResources& resources = CProgramResources::Get();
    EXPECT_EQ(resources.GetTableIds(EResourceKind::kString), (std::vector<int32_t>{129, 1000, 1997}));
    EXPECT_EQ(resources.GetTableIds(EResourceKind::kAlert), (std::vector<int32_t>{129, 1997}));
    EXPECT_EQ(resources.GetTableIds(EResourceKind::kMenu), (std::vector<int32_t>{128}));

    for (int32_t table : resources.GetTableIds(EResourceKind::kAlert)) {
        const CAlertTable& alerts = resources.GetAlertTable(table);
        for (int32_t id : alerts.GetEntryIds()) {
            SCOPED_TRACE(std::to_string(table) + "/" + std::to_string(id));
            const SAlert& alert = alerts.GetAlert(id);
            EXPECT_FALSE(alert.fBody.empty());
            EXPECT_FALSE(alert.fButtons.empty());
            EXPECT_LE(alert.fButtons.size(), 3u);  // answers 33 to 35
        }
    }
    const SAlert longFile = AlertReference(NSAlertIds::kLongFile).GetAlert();
    EXPECT_EQ(longFile.fKind, EAlertKind::kWarn);
    EXPECT_EQ(longFile.fButtons, (std::vector<std::string>{"Cancel", "Open Anyway"}));
    EXPECT_EQ(AlertReference(NSAlertIds::kOldNormalizeOption).GetAlert().fBody,
              "This is an older Quillet file with the “Normalize” option activated, which has been removed in this "
              "version.\rTo normalize the sound, please use the Process menu.");

    const int32_t alertIds[] = {
        NSAlertIds::kAudioDeviceNotOpened, NSAlertIds::kLastAudioDeviceNotFound, NSAlertIds::kAudioDriverStopped,
        NSAlertIds::kCouldNotUseAudioDevice, NSAlertIds::kDriverSettingsNotRestored, NSAlertIds::kPreferencesCorrupt,
        NSAlertIds::kPreferencesOtherVersion, NSAlertIds::kPreferencesNotOpened, NSAlertIds::kPreferencesNotSaved,
        NSAlertIds::kPreferencesDiskFull, NSAlertIds::kPreferencesNotCreated, NSAlertIds::kNoMemoryForWindow,
        NSAlertIds::kCannotOpenWebPage, NSAlertIds::kCannotReadFile, NSAlertIds::kLongFile,
        NSAlertIds::kUnsupportedBitDepth, NSAlertIds::kUnsupportedChannels, NSAlertIds::kOldNormalizeOption,
        NSAlertIds::kLuxFileNote, NSAlertIds::kUnsupportedSampleRate, NSAlertIds::kNormalizeWholeOrSlices,
        NSAlertIds::kAlreadyNormalized, NSAlertIds::kReAnalyzeFoundNothing, NSAlertIds::kAnalyzeInterrupted,
        NSAlertIds::kMoreThan1000Slices, NSAlertIds::kNoSlicesAdded, NSAlertIds::kMoveLeftLocatorToFirstSlice,
        NSAlertIds::kEffectsNotAudible, NSAlertIds::kLoopLengthZeroBars, NSAlertIds::kInternalError,
        NSAlertIds::kUndoRedoFailed, NSAlertIds::kNothingToExport, NSAlertIds::kTooManySlices,
        NSAlertIds::kSliceFileExists,
    };
    for (int32_t id : alertIds) EXPECT_TRUE(resources.GetAlertTable(kProgramAlertTable).HasEntry(id)) << id;
    for (int32_t id : {0, 3, 6, 7, 8, 9, 10, 13, 14, 20, 22})
        EXPECT_TRUE(resources.GetAlertTable(kFrameworkAlertTable).HasEntry(id)) << id;

    const CStringTable& strings = resources.GetStringTable(kProgramStringTable);
    for (int32_t id = NSStringIds::kUndo_ChangeLoopLength; id <= NSStringIds::kUndo_SelectAllSlices; ++id) {
        if (!strings.HasEntry(id)) continue;
        const std::string& name = strings.GetText(id);
        EXPECT_TRUE(name.find('^') == std::string::npos && !name.empty()) << id;
    }
    EXPECT_EQ(strings.GetText(NSStringIds::kUndo_ChangeLoopLength), "Change Loop Length");
    EXPECT_EQ(strings.GetText(NSStringIds::kProgress_FindingSlices), "Finding slices…");
    EXPECT_EQ(strings.GetText(NSStringIds::kUndoLabel), "Undo ^0");
    EXPECT_EQ(strings.GetText(NSStringIds::kRedoLabel), "Redo ^0");
    EXPECT_EQ(FrameworkStringReference(NSFrameworkStringIds::kSaveBeforeQuitting).With("Loop").GetText(),
              "Save changes to the document “Loop” before quitting?");
}

TEST(ShippedResources, MenusSendDistinctCommandsAndKeepTheirShortcuts) {
    std::set<int32_t> commands;
    std::set<std::pair<int32_t, char>> shortcuts;
    for (const SMenu* menu : CProgramResources::Get().GetMenuTable(kProgramMenuTable).GetMenus()) {
        for (const SMenuItem& item : menu->fItems) {
            if (item.fSeparator) continue;
            SCOPED_TRACE(item.fLabel);
            EXPECT_TRUE(commands.insert(item.fCommandId).second);
            if (item.fShortcutKey) {
                EXPECT_TRUE(shortcuts.insert({item.fShortcutModifiers, item.fShortcutKey}).second);
            }
        }
    }
    const SMenu& file = MenuReference(NSMenuIds::kFile).GetMenu();
    EXPECT_TRUE(file.fFrameworkMenu);
    ASSERT_FALSE(file.fItems.empty());
    EXPECT_EQ(file.fItems[0].fLabel, "Open…");
    EXPECT_EQ(file.fItems[0].fCommandId, NSCommandIds::kOpen);
    EXPECT_EQ(file.fItems[0].fShortcutKey, 'O');
    EXPECT_EQ(file.fItems[0].fShortcutModifiers, kMenuModifier_Primary);
    const SMenu& view = MenuReference(NSMenuIds::kView).GetMenu();
    const SMenuItem& scroll = view.fItems.back();
    EXPECT_EQ(scroll.fCommandId, NSCommandIds::kScrollDuringPlayback);
    EXPECT_EQ(scroll.fShortcutKey, 'F');
    EXPECT_EQ(scroll.fShortcutModifiers, kMenuModifier_None);
    for (int32_t command : {NSCommandIds::kGetInfo, NSCommandIds::kExport, NSCommandIds::kUndo,
                            NSCommandIds::kInvertSelection, NSCommandIds::kAddSlicesAt16ths,
                            NSCommandIds::kTechInfoAndSupport})
        EXPECT_TRUE(commands.count(command)) << command;
}

}  // namespace
