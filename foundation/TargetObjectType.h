#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace NSMishap {

// Target object groups of a failure word.
constexpr uint8_t kTargetGroup_None = 0;
constexpr uint8_t kTargetGroup_BuiltIn = 1;
constexpr uint8_t kTargetGroup_CallerTable = 2;

constexpr size_t kBuiltInTargetObjectTypeCount = 32;
extern const char* const kBuiltInTargetObjectTypes[kBuiltInTargetObjectTypeCount];

// Group 2: a table of 65-character name fields supplied by the caller.
constexpr size_t kTargetObjectTypeNameField = 65;
struct STargetObjectTypeTable {
    const char (*fNames)[kTargetObjectTypeNameField];
    size_t fCount;
};

// The name of a target object type: "" for group 0, a built-in name for group 1, the caller's
// entry for group 2. Any other group is an XStdLogicError "Unknown group for target object
// type!"; an index outside its table (or group 2 without a table) is an XStdLogicError
// "Unknown index for target object type!".
std::string GetTargetObjectTypeName(uint8_t group, uint8_t index, const STargetObjectTypeTable* table = nullptr);

// Built-in names used by the system's own code.
inline constexpr const char* kTargetObjectType_Memory = "memory";
inline constexpr const char* kTargetObjectType_Disk = "disk";
inline constexpr const char* kTargetObjectType_File = "file";
inline constexpr const char* kTargetObjectType_Directory = "directory";
inline constexpr const char* kTargetObjectType_Interface = "interface";
inline constexpr const char* kTargetObjectType_Api = "api";

// Object types the application names itself.
inline constexpr const char* kTargetObjectType_AudioDriver = "audio_driver";
inline constexpr const char* kTargetObjectType_LuxFile = "lux_file";
inline constexpr const char* kTargetObjectType_UndoStep = "undo_step";
inline constexpr const char* kTargetObjectType_SoundFontFileFormat = "sound_font_file_format";
inline constexpr const char* kTargetObjectType_HelpWindow = "help_window";
inline constexpr const char* kTargetObjectType_ShellItem = "shell_item";

}  // namespace NSMishap
