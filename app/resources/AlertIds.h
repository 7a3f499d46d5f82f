#pragma once

#include <cstdint>

namespace NSQuillet {

// Entries of the program's alert table (resources/alerts-129.txt). Grouped by hundreds:
// 1100 audio and preferences, 1500 application, 2000 opening, 2200 processing and analysis,
// 2250 editing, 2300 responder, 2400 export.
namespace NSAlertIds {
inline constexpr int32_t kAudioDeviceNotOpened = 1110;
inline constexpr int32_t kLastAudioDeviceNotFound = 1111;
inline constexpr int32_t kAudioDriverStopped = 1112;
inline constexpr int32_t kCouldNotUseAudioDevice = 1113;
inline constexpr int32_t kDriverSettingsNotRestored = 1120;
inline constexpr int32_t kPreferencesCorrupt = 1130;
inline constexpr int32_t kPreferencesOtherVersion = 1131;
inline constexpr int32_t kPreferencesNotOpened = 1132;
inline constexpr int32_t kPreferencesNotSaved = 1135;
inline constexpr int32_t kPreferencesDiskFull = 1136;
inline constexpr int32_t kPreferencesNotCreated = 1137;

inline constexpr int32_t kNoMemoryForWindow = 1500;
inline constexpr int32_t kCannotOpenWebPage = 1510;
inline constexpr int32_t kCannotReadFile = 1520;

inline constexpr int32_t kLongFile = 2000;
inline constexpr int32_t kUnsupportedBitDepth = 2001;
inline constexpr int32_t kUnsupportedChannels = 2002;
inline constexpr int32_t kOldNormalizeOption = 2003;
inline constexpr int32_t kLuxFileNote = 2004;
inline constexpr int32_t kUnsupportedSampleRate = 2015;

inline constexpr int32_t kNormalizeWholeOrSlices = 2200;
inline constexpr int32_t kAlreadyNormalized = 2201;
inline constexpr int32_t kReAnalyzeFoundNothing = 2210;
inline constexpr int32_t kAnalyzeInterrupted = 2211;
inline constexpr int32_t kMoreThan1000Slices = 2220;
inline constexpr int32_t kNoSlicesAdded = 2221;

inline constexpr int32_t kMoveLeftLocatorToFirstSlice = 2250;
inline constexpr int32_t kEffectsNotAudible = 2251;
inline constexpr int32_t kLoopLengthZeroBars = 2260;

inline constexpr int32_t kInternalError = 2300;
inline constexpr int32_t kUndoRedoFailed = 2306;

inline constexpr int32_t kNothingToExport = 2400;
inline constexpr int32_t kTooManySlices = 2401;
inline constexpr int32_t kSliceFileExists = 2402;
}  // namespace NSAlertIds

// Entries of the framework's generic error alerts (resources/alerts-1997.txt).
namespace NSFrameworkAlertIds {
inline constexpr int32_t kOutOfMemory = 0;
inline constexpr int32_t kDiskFull = 3;
inline constexpr int32_t kBadFormat = 6;
inline constexpr int32_t kUnsupportedFormat = 7;
inline constexpr int32_t kReadProblem = 8;
inline constexpr int32_t kWriteProblem = 9;
inline constexpr int32_t kMediaProblem = 10;
inline constexpr int32_t kFileLocked = 13;
inline constexpr int32_t kUnresolvedAlias = 14;
inline constexpr int32_t kFileSystemObjectNotFound = 20;
inline constexpr int32_t kHelpError = 22;
}  // namespace NSFrameworkAlertIds

}  // namespace NSQuillet
