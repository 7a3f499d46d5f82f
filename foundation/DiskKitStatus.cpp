#include "foundation/DiskKitStatus.h"

#include <iterator>

#include "foundation/FailureCode.h"
#include "foundation/TargetObjectType.h"

namespace NSDiskKit {

namespace {

using namespace NSMishap;

const SStatusTableEntry kEntries[] = {
    {kDiskKitNotFound, kFailureCode_RuntimeError_NotFound, kTargetObjectType_File},
    {kDiskKitFolderNotFound, kFailureCode_RuntimeError_NotFound, kTargetObjectType_Directory},
    {kDiskKitPermission, kFailureCode_RuntimeError_Permission, kTargetObjectType_File},
    {kDiskKitLocked, kFailureCode_RuntimeError_Locked, kTargetObjectType_File},
    {kDiskKitReadOnly, kFailureCode_RuntimeError_ReadOnly, kTargetObjectType_File},
    {kDiskKitOutOfSpace, kFailureCode_RuntimeError_OutOfSpace, kTargetObjectType_Disk},
    {kDiskKitReadFailure, kFailureCode_RuntimeError_ReadFailure, kTargetObjectType_File},
    {kDiskKitWriteFailure, kFailureCode_RuntimeError_WriteFailure, kTargetObjectType_File},
    {kDiskKitCreateFailure, kFailureCode_RuntimeError_Create, kTargetObjectType_File},
    {kDiskKitOpenFailure, kFailureCode_RuntimeError_Open, kTargetObjectType_File},
    {kDiskKitCloseFailure, kFailureCode_RuntimeError_Close, kTargetObjectType_File},
    {kDiskKitAlreadyExists, kFailureCode_RuntimeError_AlreadyExists, kTargetObjectType_File},
    {kDiskKitBadArgument, kFailureCode_LogicError_InvalidArgument, nullptr},
    {kDiskKitOutOfMemory, kFailureCode_BadAlloc, kTargetObjectType_Memory},
    {kDiskKitUnknownInterface, kFailureCode_RuntimeError_UnsupportedFormat, kTargetObjectType_Interface},
    {kDiskKitNotOpen, kFailureCode_LogicError_IllegalCallSequence, kTargetObjectType_File},
    {kDiskKitWrongAccess, kFailureCode_LogicError_IllegalCallSequence, kTargetObjectType_File},
};

}  // namespace

const SStatusTable kDiskKitStatusTable = {kDiskKitSuccess, kEntries, std::size(kEntries), nullptr};

}  // namespace NSDiskKit
