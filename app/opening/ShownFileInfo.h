#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace NSQuillet {

// What a file is by its first bytes (and, for the loop files, their signatures).
enum class EShownFileType {
    kUnknown,  // not read
    kWave,
    kAIFF,
    kMIDI,
    kUndefinedBinary,
    kQLT,
    kLUX1,
    kLUX2,
    kProgram,
    kSoundFont,
};

// Why a file cannot be previewed; 0 when it can. Codes without message lines (kNotASound) only
// keep Play off.
namespace NSPreviewReason {
inline constexpr int32_t kNone = 0;
// Five whole minutes or more, counted as the long-file question counts: not played by Auto
// Play; Play still plays it.
inline constexpr int32_t kTooLongForAutoPlay = 1;
inline constexpr int32_t kNoLoopLength = 2;
// Every slice between the loop's start and end is muted (and there is one at least).
inline constexpr int32_t kAllSlicesMuted = 3;
// A MIDI file, a SoundFont, a sampler program: known, but nothing to play.
inline constexpr int32_t kNotASound = 10;
inline constexpr int32_t kUnsupportedBitDepth = 11;
inline constexpr int32_t kUnsupportedChannels = 12;
inline constexpr int32_t kUnsupportedSampleRate = 13;
inline constexpr int32_t kTooLittleMemory = 20;
inline constexpr int32_t kCorruptOrUnknown = 21;
inline constexpr int32_t kTooNew = 22;
inline constexpr int32_t kNotFound = 23;
inline constexpr int32_t kCannotOpen = 24;
inline constexpr int32_t kInternalError = 25;
}  // namespace NSPreviewReason

// Whether Play may play a file refused for `reason`.
inline bool IsPlayableReason(int32_t reason) {
    return reason == NSPreviewReason::kNone || reason == NSPreviewReason::kTooLongForAutoPlay;
}

// The reason a failure while reading a file gives: out of memory 20; a damaged or unsupported
// format 21; a version too new 22; a file or alias not found 23; opening, permission, lock
// and read failures 24; anything else 25.
int32_t PreviewReasonOfFailure(const std::exception& failure);

// The two message lines of `reason`; both empty for a code without a message.
std::array<std::string, 2> PreviewMessageLines(int32_t reason);

// The "File Information" of a sound or loop file, read from its headers: nothing here needs
// its audio. Counts of 0 (and a size of -1) are not known.
struct CShownSoundFileInfo {
    EShownFileType fType = EShownFileType::kUnknown;
    // A split stereo pair's left file counts the partner: 2.
    int32_t fChannels = 0;
    int32_t fBitDepth = 0;
    bool fFloat = false;
    int32_t fSampleRate = 0;
    int64_t fFrames = 0;
    // The file's own bytes.
    int64_t fByteSize = -1;

    // Each "n/a" while not known.
    std::string TypeText() const;
    // "Mono", "Stereo", or the count.
    std::string ChannelsText() const;
    std::string LengthText() const;
    // "16-bit", "32-bit float".
    std::string BitsText() const;
    // "44100 Hz".
    std::string RateText() const;
    std::string SizeText() const;
};

// The "Quillet Information" of a loop file: its settings and its stored slices, without its
// sound. Counts of 0 are not known where said.
struct CShownQuilletFileInfo {
    // The loop's own tempo from its length and its frames between loop start and end,
    // thousandths of a beat per minute; 0 without a loop length.
    int32_t fTempo = 0;
    int32_t fTimeSignatureNumerator = 4;
    int32_t fTimeSignatureDenominator = 4;
    int32_t fBars = 0;
    int32_t fBeats = 0;
    // The sample's frames, and of them the frames between loop start and end, all of which the
    // loop plays (the part before its first slice as well).
    int64_t fFrames = 0;
    int64_t fLoopFrames = 0;
    // Active slices (locked, or normal above the file's threshold) from loop start to end: the
    // slice points the loop plays.
    int32_t fSliceCount = 0;
    // The bytes of sample data an export of the loop at the file's own format writes, as the
    // file stores it.
    int64_t fExportSize = 0;

    // "140.0 BPM", ">999.9 BPM"; "n/a" without a loop length.
    std::string TempoText() const;
    // "4/4".
    std::string SignText() const;
    // "2 Bars", "2.25 Bars"; "n/a" without a loop length.
    std::string LengthText() const;
    // The loop's frames as a share of the sample's, "87 %", truncated; "n/a" without frames.
    std::string UsageText() const;
    std::string SlicesText() const;
    std::string ExportSizeText() const;
};

// A file as the Open dialog's preview pane shows it.
struct SShownFileInfo {
    CShownSoundFileInfo fFile;
    // Loop files only.
    std::optional<CShownQuilletFileInfo> fLoop;
    int32_t fReason = NSPreviewReason::kNone;
};

// Reads what the pane shows of the file at `path` from its headers and, for a loop file, its
// settings and slice list; never its audio, so even a long file takes a few reads. The
// reason is the first that applies: a failure's (the fields read until then stay), opening's
// checks of bit depth, channels and rate (11, 12, 13), a loop without length (2), a loop whose
// slices are all muted (3), five minutes or more (1); a MIDI file, SoundFont or program 10,
// bytes of no known type 21. Never throws. Blocks on the file system;
// any thread (it touches no shared state).
SShownFileInfo ReadShownFileInfo(const std::string& path);

// The value texts, in the program's units (strings 600-632): "n/a" for a value not known.
// Seconds below a minute with two decimals, else minutes with one, both truncated, so that a
// file shown below "5.0 m" opens without the long-file question.
std::string FormatLengthText(int64_t frames, int64_t sampleRate);
// "1 byte", "512 bytes", "1.5 kB", "2.0 MB", "1.0 GB": 1024 to the next unit, one decimal,
// rounded; "n/a" below 0.
std::string FormatByteSizeText(int64_t bytes);
// Tenths rounded, "BPM" after; a tempo that shows above 999.9 is ">999.9 BPM"; "n/a" for 0.
std::string FormatTempoText(int32_t thousandths);
// The total beats over the beats of a bar, at most two decimals, trailing zeros dropped, and
// "Bars"; "n/a" without a length.
std::string FormatBarsText(int32_t bars, int32_t beats, int32_t beatsPerBar);

}  // namespace NSQuillet
