#pragma once

#include <cstdint>
#include <string>

#include "foundation/StatusTranslation.h"

namespace NSSoundKits {

// Status words of the two sound-file libraries, RiffAudioKit (WAVE) and AppleAudioKit (AIFF),
// and of the byte readers and writers handed to them. 991 is success; each library has its own
// "not open" word, every other word is shared.
enum ESoundKitStatus : uint32_t {
    kSoundKitSuccess = 991,
    kSoundKitBadArgument = 993,         // a negative position or count, a null pointer, a format out of range
    kRiffAudioKitNotOpen = 994,         // a WAVE byte reader or writer without a media
    kAppleAudioKitNotOpen = 996,        // an AIFF byte reader or writer without a media
    kSoundKitFormatError = 997,         // not a file of the library's container, or a damaged header
    kSoundKitUnsupportedEncoding = 998, // compressed or other non-PCM, non-float sample data
    kSoundKitReadFailure = 999,         // the byte reader failed
    kSoundKitWriteFailure = 1000,       // the byte writer failed, or the encoder could not finish
    kSoundKitTruncated = 1001,          // the audio ends before the frame count of the header
    kSoundKitOutOfMemory = 1002,
    kSoundKitWrongState = 1003,         // more frames than declared, or too few at the end
    kSoundKitUnknownInterface = 1004,   // the factory was asked for another interface
};

// The failure of each status, with "error_code" set to the status by the translation.
extern const NSMishap::SStatusTable kRiffAudioKitStatusTable;
extern const NSMishap::SStatusTable kAppleAudioKitStatusTable;

inline void CheckRiffAudioKitStatus(uint32_t status, const std::string& message) {
    NSMishap::CheckStatus(status, kRiffAudioKitStatusTable, message);
}
inline void CheckAppleAudioKitStatus(uint32_t status, const std::string& message) {
    NSMishap::CheckStatus(status, kAppleAudioKitStatusTable, message);
}

}  // namespace NSSoundKits
