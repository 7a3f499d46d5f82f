#pragma once

#include <cstdint>

namespace NSQuillet {

// Entries of the program's menu table (resources/menus-128.txt).
namespace NSMenuIds {
inline constexpr int32_t kFile = 10;
inline constexpr int32_t kEdit = 11;
inline constexpr int32_t kView = 12;
inline constexpr int32_t kProcess = 13;
inline constexpr int32_t kHelp = 14;
}  // namespace NSMenuIds

// Command ids the menus send: 50000s are the framework's, 20000s the program's.
namespace NSCommandIds {
inline constexpr int32_t kAbout = 50002;
// Exit: the framework's application item, not in the program's menus.
inline constexpr int32_t kQuit = 50003;
inline constexpr int32_t kOpen = 50004;
inline constexpr int32_t kClose = 50005;
inline constexpr int32_t kSave = 50006;
inline constexpr int32_t kSaveAs = 50007;
inline constexpr int32_t kUndo = 50009;
inline constexpr int32_t kRedo = 50010;
inline constexpr int32_t kCut = 50011;
inline constexpr int32_t kCopy = 50012;
inline constexpr int32_t kPaste = 50013;
inline constexpr int32_t kDelete = 50014;
inline constexpr int32_t kSelectAll = 50015;
inline constexpr int32_t kPreferences = 50016;
inline constexpr int32_t kExport = 20106;
inline constexpr int32_t kGetInfo = 20108;
inline constexpr int32_t kOpenRecentFirst = 20150;
inline constexpr int32_t kOpenRecentLast = 20157;
inline constexpr int32_t kInvertSelection = 20208;
inline constexpr int32_t kLockSlices = 20250;
inline constexpr int32_t kUnlockSlices = 20251;
inline constexpr int32_t kMuteSlices = 20252;
inline constexpr int32_t kUnmuteSlices = 20253;
inline constexpr int32_t kMagnifyToFit = 20304;
inline constexpr int32_t kMagnifyToFitLoop = 20305;
inline constexpr int32_t kJumpToCursor = 20306;
inline constexpr int32_t kScrollDuringPlayback = 20308;
inline constexpr int32_t kExportAsOneSample = 20401;
inline constexpr int32_t kSilenceSelected = 20402;
inline constexpr int32_t kNormalize = 20403;
inline constexpr int32_t kConvertToMono = 20404;
inline constexpr int32_t kConvertSampleFormat = 20405;
inline constexpr int32_t kCropLoop = 20406;
inline constexpr int32_t kRemoveDC = 20407;
inline constexpr int32_t kReAnalyze = 20408;
inline constexpr int32_t kAddSlicesAt16ths = 20409;
inline constexpr int32_t kOnlineDocumentation = 20502;
inline constexpr int32_t kHomePage = 20503;
inline constexpr int32_t kLoopsPage = 20504;
inline constexpr int32_t kTechInfoAndSupport = 20505;
}  // namespace NSCommandIds

}  // namespace NSQuillet
