#include "platform/sndkits/SoundKitStatus.h"

#include <iterator>

#include "foundation/FailureCode.h"
#include "foundation/TargetObjectType.h"

namespace NSSoundKits {

namespace {

using namespace NSMishap;

// The entries both libraries share; each table adds its own "not open" word.
#define QUILLET_SOUND_KIT_COMMON_ENTRIES                                                                \
    {kSoundKitBadArgument, kFailureCode_LogicError_InvalidArgument, nullptr},                          \
        {kSoundKitFormatError, kFailureCode_RuntimeError_FormatViolation, kTargetObjectType_File},     \
        {kSoundKitUnsupportedEncoding, kFailureCode_RuntimeError_UnsupportedFormat, kTargetObjectType_File}, \
        {kSoundKitReadFailure, kFailureCode_RuntimeError_ReadFailure, kTargetObjectType_File},         \
        {kSoundKitWriteFailure, kFailureCode_RuntimeError_WriteFailure, kTargetObjectType_File},       \
        {kSoundKitTruncated, kFailureCode_RuntimeError_FormatViolation, kTargetObjectType_File},       \
        {kSoundKitOutOfMemory, kFailureCode_BadAlloc, kTargetObjectType_Memory},                       \
        {kSoundKitWrongState, kFailureCode_LogicError_IllegalCallSequence, nullptr},                   \
        {kSoundKitUnknownInterface, kFailureCode_RuntimeError_UnsupportedFormat, kTargetObjectType_Interface}

const SStatusTableEntry kRiffEntries[] = {
    {kRiffAudioKitNotOpen, kFailureCode_LogicError_IllegalCallSequence, kTargetObjectType_File},
    QUILLET_SOUND_KIT_COMMON_ENTRIES,
};

const SStatusTableEntry kAppleEntries[] = {
    {kAppleAudioKitNotOpen, kFailureCode_LogicError_IllegalCallSequence, kTargetObjectType_File},
    QUILLET_SOUND_KIT_COMMON_ENTRIES,
};

#undef QUILLET_SOUND_KIT_COMMON_ENTRIES

}  // namespace

const SStatusTable kRiffAudioKitStatusTable = {kSoundKitSuccess, kRiffEntries, std::size(kRiffEntries), nullptr};
const SStatusTable kAppleAudioKitStatusTable = {kSoundKitSuccess, kAppleEntries, std::size(kAppleEntries), nullptr};

}  // namespace NSSoundKits
