#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/resources/AlertIds.h"
#include "app/resources/FailureAlert.h"
#include "app/resources/ProgramResources.h"
#include "engine/AudioCardManager.h"
#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"
#include "tests/support/ScriptedSoundPortKit.h"

namespace {

using namespace NSQuillet;
using namespace NSMishap;

std::optional<CResourceReference> ChooseFor(const std::function<void()>& fail) {
    try {
        fail();
    } catch (const std::exception& failure) {
        return ChooseFailureAlert(failure);
    }
    ADD_FAILURE() << "nothing was thrown";
    return std::nullopt;
}

std::function<void()> Mishap(uint32_t code, const std::string& target = "") {
    return [=] { ThrowFailure(code, "diagnostic", target); };
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST(FailureAlert, ChoosesByClassThenTargetWithTheFirstMatchingRule) {
    struct SRow {
        const char* fCase;
        std::function<void()> fFail;
        int32_t fTable;    // 0: no alert
        int32_t fEntry;
        const char* fHeading;
    };
    const int32_t kFw = kFrameworkAlertTable;
    const int32_t kApp = kProgramAlertTable;
    const SRow rows[] = {
        {"abort", Mishap(kFailureCode_RuntimeError_Abort), 0, 0, ""},
        {"silent abort", Mishap(kFailureCode_RuntimeError_SilentAbort, kTargetObjectType_UndoStep), 0, 0, ""},
        {"version too new", Mishap(kFailureCode_RuntimeError_VersionTooNew), kFw, 7, "Unsupported Format"},
        {"device not found", Mishap(kFailureCode_RuntimeError_NotFound, kTargetObjectType_AudioDriver), kApp, 1110,
         "The audio device “” could not be opened."},
        {"file not found", Mishap(kFailureCode_RuntimeError_NotFound, kTargetObjectType_File), kFw, 20,
         "File system object not found"},
        {"resolve", Mishap(kFailureCode_RuntimeError_ResolveFailure), kFw, 14, "Unable to resolve Alias"},
        {"locked", Mishap(kFailureCode_RuntimeError_Locked, kTargetObjectType_File), kFw, 13, "Write Problem"},
        {"device not ready", Mishap(kFailureCode_RuntimeError_NotReady, kTargetObjectType_AudioDriver), kApp, 1110,
         "The audio device “” could not be opened."},
        {"not ready", Mishap(kFailureCode_RuntimeError_NotReady), kApp, 2300, "Internal error!"},
        {"create", Mishap(kFailureCode_RuntimeError_Create, kTargetObjectType_File), kFw, 10, "Media Problem"},
        {"device not opened", Mishap(kFailureCode_RuntimeError_Open, kTargetObjectType_AudioDriver), kApp, 1110,
         "The audio device “” could not be opened."},
        {"help not opened", Mishap(kFailureCode_RuntimeError_Open, kTargetObjectType_HelpWindow), kFw, 22, "Help error"},
        {"file not opened", Mishap(kFailureCode_RuntimeError_Open, kTargetObjectType_File), kApp, 2300, "Internal error!"},
        // A class rule wins over the undo-step target of the runtime rule further down.
        {"bad format in undo", Mishap(kFailureCode_RuntimeError_FormatViolation, kTargetObjectType_UndoStep), kFw, 6,
         "Bad Format"},
        {"write", Mishap(kFailureCode_RuntimeError_WriteFailure), kFw, 9, "Write Problem"},
        {"read", Mishap(kFailureCode_RuntimeError_ReadFailure), kFw, 8, "Read Problem"},
        {"disk full", Mishap(kFailureCode_RuntimeError_OutOfSpace, kTargetObjectType_Disk), kFw, 3, "Disk Full"},
        {"out of items", Mishap(kFailureCode_RuntimeError_OutOfSpace, kTargetObjectType_Memory), kApp, 2300,
         "Internal error!"},
        {"unsupported", Mishap(kFailureCode_RuntimeError_UnsupportedFormat), kFw, 7, "Unsupported Format"},
        {"call sequence in undo", Mishap(kFailureCode_LogicError_IllegalCallSequence, kTargetObjectType_UndoStep), kApp,
         2300, "Internal error!"},
        {"invariant", Mishap(kFailureCode_LogicError_InvariantCorrupt), kApp, 2300, "Internal error!"},
        {"failed undo", Mishap(kFailureCode_RuntimeError, kTargetObjectType_UndoStep), kApp, 2306,
         "Could not complete operation!"},
        {"timeout in undo", Mishap(kFailureCode_RuntimeError_Timeout, kTargetObjectType_UndoStep), kApp, 2306,
         "Could not complete operation!"},
        {"runtime", Mishap(kFailureCode_RuntimeError), kApp, 2300, "Internal error!"},
        {"plain runtime_error", [] { throw std::runtime_error("x"); }, kApp, 2300, "Internal error!"},
        {"bad alloc", Mishap(kFailureCode_BadAlloc), kFw, 0, "Out of Memory"},
        {"std::bad_alloc", [] { throw std::bad_alloc(); }, kFw, 0, "Out of Memory"},
        {"memory failure", [] { ThrowOutOfMemory("no buffer"); }, kFw, 0, "Out of Memory"},
        {"invalid argument", Mishap(kFailureCode_LogicError_InvalidArgument), kApp, 2300, "Internal error!"},
        {"logic_error", [] { throw std::logic_error("x"); }, kApp, 2300, "Internal error!"},
        {"exception", Mishap(kFailureCode_Exception), kApp, 2300, "Internal error!"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        const std::optional<CResourceReference> chosen = ChooseFor(row.fFail);
        if (row.fTable == 0) {
            EXPECT_FALSE(chosen.has_value());
            continue;
        }
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->GetKind(), EResourceKind::kAlert);
        EXPECT_EQ(chosen->GetTableId(), row.fTable);
        EXPECT_EQ(chosen->GetEntryId(), row.fEntry);
        EXPECT_EQ(chosen->GetAlert().fHeading, row.fHeading);
    }
    const CResourceReference unknown = ChooseUnknownFailureAlert();
    EXPECT_EQ(unknown.GetTableId(), kProgramAlertTable);
    EXPECT_EQ(unknown.GetEntryId(), NSAlertIds::kInternalError);
}

TEST(FailureAlert, DeviceAlertNamesTheDeviceOfTheFailure) {
    const auto chosen = ChooseFor([] {
        XOpen failure("cannot open device");
        failure.AddProperty(kProperty_TargetObjectType, kTargetObjectType_AudioDriver);
        failure.AddProperty(kProperty_AudioDeviceName, "Line Out [2]");
        throw failure;
    });
    ASSERT_TRUE(chosen.has_value());
    const SAlert alert = chosen->GetAlert();
    EXPECT_EQ(alert.fKind, EAlertKind::kNote);
    EXPECT_EQ(alert.fHeading, "The audio device “Line Out [2]” could not be opened.");
    EXPECT_EQ(alert.fBody, "Please quit other audio programs and/or check the device.");
}

TEST(FailureAlert, FailedUndoShowsItsWarningNotTheInternalError) {
    const auto chosen = ChooseFor(Mishap(kFailureCode_RuntimeError, kTargetObjectType_UndoStep));
    ASSERT_TRUE(chosen.has_value());
    const SAlert alert = chosen->GetAlert();
    EXPECT_EQ(alert.fKind, EAlertKind::kWarn);
    EXPECT_EQ(alert.fBody, "Quillet was unable to complete the Undo/Redo operation.");
    EXPECT_EQ(alert.fButtons, std::vector<std::string>{"OK"});
}

}  // namespace

namespace {

using NSQuilletTest::CScriptedKit;

// What the user reads for each way the audio-card manager's output fails, through the same
// choice the exception responder makes.
TEST(FailureAlert, EveryFailureOfTheAudioOutputGetsItsOwnAlert) {
    struct SRow {
        const char* fCase;
        std::function<void(CAudioCardManager&, CScriptedKit&)> fFail;
        int32_t fEntry;
        const char* fHeading;
        const char* fBody;
    };
    const SRow rows[] = {
        {"busy device", [](CAudioCardManager& m, CScriptedKit&) { m.ChooseDevice("ALSA", "Busy"); }, 1110,
         "The audio device “Busy” could not be opened.", "Please quit other audio programs and/or check the device."},
        {"unknown name", [](CAudioCardManager& m, CScriptedKit&) { m.ChooseDeviceByName("Studio"); }, 1110,
         "The audio device “Studio” could not be opened.", "Please quit other audio programs and/or check the device."},
        {"stored device gone", [](CAudioCardManager& m, CScriptedKit&) { m.RestoreDevice(Bytes("Gone")); }, 1111,
         "Your last used audio device couldn’t be found.", "The standard audio device is used instead."},
        {"rate refused", [](CAudioCardManager& m, CScriptedKit&) {
             m.ChooseDevice("ALSA", "Server");
             m.SetSampleRate(96000);
         },
         1113, "Could not use audio device", "Please quit other audio programs and/or check the device."},
        {"unreadable block", [](CAudioCardManager& m, CScriptedKit&) { m.RestoreDevice(Bytes("!x")); }, 1120, "",
         "Your driver settings could not be restored."},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        CScriptedKit kit;
        CAudioCardManager manager(&kit);
        const auto chosen = ChooseFor([&] { row.fFail(manager, kit); });
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->GetEntryId(), row.fEntry);
        EXPECT_EQ(chosen->GetAlert().fHeading, row.fHeading);
        EXPECT_EQ(chosen->GetAlert().fBody, row.fBody);
    }

    // A stream that stops by itself is found in idle time, without a failure.
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    manager.ChooseDevice("ALSA", "Server");
    kit.fStreamDied = true;
    const EAudioOutputProblem problem = manager.Idle();
    const auto stopped = ChooseAudioOutputAlert(problem, manager.GetProblemDeviceName());
    ASSERT_TRUE(stopped.has_value());
    EXPECT_EQ(stopped->GetEntryId(), 1112);
    EXPECT_EQ(stopped->GetAlert().fKind, EAlertKind::kStop);
    EXPECT_EQ(stopped->GetAlert().fHeading, "Your audio driver has stopped working.");
    EXPECT_FALSE(ChooseAudioOutputAlert(EAudioOutputProblem::kNone, "").has_value());
}

}  // namespace
