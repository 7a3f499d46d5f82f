#include "platform/soundport/SoundPortKitStatus.h"

#include <iterator>

#include "foundation/FailureCode.h"
#include "foundation/TargetObjectType.h"

namespace NSSoundPortKit2 {

namespace {

using namespace NSMishap;

constexpr const char* kDriver = kTargetObjectType_AudioDriver;

const SStatusTableEntry kEntries[] = {
    {kSoundPortKitBadArgument, kFailureCode_LogicError_InvalidArgument, nullptr},
    {kSoundPortKitUnknownInterface, kFailureCode_RuntimeError_UnsupportedFormat, kTargetObjectType_Interface},
    {kSoundPortKitNoSuchDevice, kFailureCode_RuntimeError_NotFound, kDriver},
    {kSoundPortKitDeviceUnavailable, kFailureCode_RuntimeError_Open, kDriver},
    {kSoundPortKitSettingsRefused, kFailureCode_RuntimeError_UnsupportedFormat, kDriver},
    {kSoundPortKitDriverStopped, kFailureCode_RuntimeError_NotReady, kDriver},
    {kSoundPortKitIncompatibleBlob, kFailureCode_RuntimeError_UnsupportedFormat, kDriver},
    {kSoundPortKitBadBlob, kFailureCode_RuntimeError_FormatViolation, kDriver},
    {kSoundPortKitStreamOpen, kFailureCode_LogicError_IllegalCallSequence, kDriver},
    {kSoundPortKitUnavailable, kFailureCode_RuntimeError_UnsupportedFormat, kTargetObjectType_Api},
    {kSoundPortKitOutOfMemory, kFailureCode_BadAlloc, kTargetObjectType_Memory},
    {kSoundPortKitHostFailure, kFailureCode_RuntimeError_Open, kDriver},
    {kSoundPortKitRecordingFailed, kFailureCode_RuntimeError_Create, kTargetObjectType_File},
    {kSoundPortKitWrongState, kFailureCode_LogicError_IllegalCallSequence, kDriver},
};

}  // namespace

const SStatusTable kSoundPortKitStatusTable = {kSoundPortKitSuccess, kEntries, std::size(kEntries), nullptr};

}  // namespace NSSoundPortKit2
