#include "app/opening/ShownFileInfo.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "app/opening/LongFileQuestion.h"
#include "app/opening/SoundFileInfoCheck.h"
#include "app/opening/SoundFileOpening.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/LoopSettings.h"
#include "engine/SliceSequence.h"
#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/iff/ChunkId.h"
#include "formats/loopfile/QuilletFile.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

template <class TFailure>
bool Is(const std::exception& failure) {
    return dynamic_cast<const TFailure*>(&failure) != nullptr;
}

std::string Text(int32_t id) { return StringReference(id).GetText(); }
std::string NotAvailable() { return FrameworkShortTextReference(NSShortTextIds::kNotAvailable).GetText(); }

std::string Number(int64_t value) { return std::to_string(value); }

// "12.5", "12.05": `scaled` over 10^decimals, that many decimals.
std::string Decimal(int64_t scaled, int decimals) {
    const int64_t one = decimals == 2 ? 100 : 10;
    char text[48];
    std::snprintf(text, sizeof text, "%" PRId64 ".%0*" PRId64, scaled / one, decimals, scaled % one);
    return text;
}

uint32_t BigEndian(const uint8_t* bytes) {
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
}

// The type of a file that is none of the loop files, by its first 12 bytes.
EShownFileType SniffType(CMedia& media) {
    if (media.GetSize() < 12) return EShownFileType::kUndefinedBinary;
    uint8_t bytes[12];
    media.ReadAt(0, sizeof bytes, bytes);
    const uint32_t first = BigEndian(bytes);
    const uint32_t form = BigEndian(bytes + 8);
    if (first == kChunkId_RIFF) {
        if (form == MakeChunkId("WAVE")) return EShownFileType::kWave;
        if (form == MakeChunkId("sfbk")) return EShownFileType::kSoundFont;
        if (form == MakeChunkId("APRG")) return EShownFileType::kProgram;
    }
    if (first == kChunkId_FORM && (form == MakeChunkId("AIFF") || form == MakeChunkId("AIFC")))
        return EShownFileType::kAIFF;
    if (first == MakeChunkId("MThd")) return EShownFileType::kMIDI;
    return EShownFileType::kUndefinedBinary;
}

int32_t ReasonOfRefusal(ESoundFileInfoRefusal refusal) {
    switch (refusal) {
        case ESoundFileInfoRefusal::kBitDepth: return NSPreviewReason::kUnsupportedBitDepth;
        case ESoundFileInfoRefusal::kChannels: return NSPreviewReason::kUnsupportedChannels;
        case ESoundFileInfoRefusal::kSampleRate: return NSPreviewReason::kUnsupportedSampleRate;
        case ESoundFileInfoRefusal::kNone: break;
    }
    return NSPreviewReason::kNone;
}

bool IsLong(const CShownSoundFileInfo& file) {
    return WholeMinutesOf(file.fFrames, file.fSampleRate) >= kLongFileMinutes;
}

void ReadSoundFile(const std::string& path, SShownFileInfo& shown) {
    const CSoundFileOpening opening(path);
    const SSoundFileInfo& info = opening.GetInfo();
    CShownSoundFileInfo& file = shown.fFile;
    file.fChannels = opening.GetChannelCount();
    file.fBitDepth = info.fBitDepth;
    file.fFloat = info.fFloat;
    file.fSampleRate = info.fSampleRate;
    file.fFrames = info.fFrames;
    SSoundFileInfo checked = info;
    checked.fChannels = file.fChannels;
    shown.fReason = ReasonOfRefusal(FindSoundFileInfoRefusal(checked));
    if (shown.fReason == NSPreviewReason::kNone && IsLong(file)) shown.fReason = NSPreviewReason::kTooLongForAutoPlay;
}

// A slice point as the sequence keeps it after merging the stored points at one position.
struct SMergedSlice {
    int16_t fLevel = 0;
    ESliceKind fKind = ESliceKind::kMuted;
    bool fFirst = true;
};

// The stored slice points inside the sound, ordered and merged as CSliceSequence::InsertSlice
// merges them: the larger level, locked when one is, un-muted by a normal one.
std::map<int32_t, SMergedSlice> MergeSlicePoints(const std::vector<CSlice>& stored, int64_t frames) {
    std::map<int32_t, SMergedSlice> merged;
    for (const CSlice& slice : stored) {
        if (slice.GetPosition() < 0 || slice.GetPosition() >= frames) continue;
        SMergedSlice& at = merged[slice.GetPosition()];
        if (at.fFirst) {
            at = SMergedSlice{slice.GetLevel(), slice.GetKind(), false};
            continue;
        }
        at.fLevel = std::max(at.fLevel, slice.GetLevel());
        if (slice.GetKind() == ESliceKind::kLocked) {
            at.fKind = ESliceKind::kLocked;
        } else if (slice.GetKind() == ESliceKind::kNormal && at.fKind == ESliceKind::kMuted) {
            at.fKind = ESliceKind::kNormal;
        }
    }
    return merged;
}

EShownFileType TypeOfKind(ELoopFileKind kind) {
    switch (kind) {
        case ELoopFileKind::kLUX: return EShownFileType::kLUX1;
        case ELoopFileKind::kQLT: return EShownFileType::kQLT;
        case ELoopFileKind::kLUX2:
        case ELoopFileKind::kNone: break;
    }
    return EShownFileType::kLUX2;
}

void ReadLoopFile(std::shared_ptr<CMedia> media, ELoopFileKind kind, SShownFileInfo& shown) {
    CShownSoundFileInfo& file = shown.fFile;
    file.fType = TypeOfKind(kind);
    const CQuilletFile loopFile(std::move(media));
    const SLoopFileInfo& info = loopFile.GetInfo();
    const SSoundFileInfo sound = SoundFileInfoOf(info);
    file.fChannels = sound.fChannels;
    file.fBitDepth = sound.fBitDepth;
    file.fSampleRate = sound.fSampleRate;
    file.fFrames = sound.fFrames;

    const CLoopSettings loop = LoopSettingsOf(info.fGeneral);
    const int64_t loopEnd = std::clamp<int64_t>(info.fLoopEnd, 0, info.fFrameCount);
    const int64_t loopStart = std::clamp<int64_t>(info.fLoopStart, 0, loopEnd);
    CShownQuilletFileInfo& shownLoop = shown.fLoop.emplace();
    shownLoop.fTempo = loop.GetOriginalTempo(loopEnd - loopStart, info.fSampleRate);
    shownLoop.fTimeSignatureNumerator = loop.GetTimeSignatureNumerator();
    shownLoop.fTimeSignatureDenominator = loop.GetTimeSignatureDenominator();
    shownLoop.fBars = loop.GetBars();
    shownLoop.fBeats = loop.GetBeats();
    shownLoop.fFrames = info.fFrameCount;
    shownLoop.fLoopFrames = loopEnd - loopStart;
    shownLoop.fExportSize = info.fExportSize;

    const int16_t threshold = CSliceSequence::ThresholdForSensitivity(
        std::clamp(info.fGeneral.fSensitivity, 0, CSliceSequence::kMaximumSensitivity));
    int32_t inLoop = 0;
    int32_t muted = 0;
    for (const auto& [position, slice] : MergeSlicePoints(loopFile.ReadSlicePoints(), info.fFrameCount)) {
        if (position < loopStart || position >= loopEnd) continue;
        ++inLoop;
        if (slice.fKind == ESliceKind::kMuted) ++muted;
        if (slice.fKind == ESliceKind::kLocked || (slice.fKind == ESliceKind::kNormal && slice.fLevel > threshold))
            ++shownLoop.fSliceCount;
    }

    shown.fReason = ReasonOfRefusal(FindSoundFileInfoRefusal(sound));
    if (shown.fReason != NSPreviewReason::kNone) return;
    if (!loop.IsLoopLengthSet()) {
        shown.fReason = NSPreviewReason::kNoLoopLength;
    } else if (inLoop > 0 && muted == inLoop) {
        shown.fReason = NSPreviewReason::kAllSlicesMuted;
    } else if (IsLong(file)) {
        shown.fReason = NSPreviewReason::kTooLongForAutoPlay;
    }
}

}  // namespace

int32_t PreviewReasonOfFailure(const std::exception& failure) {
    using namespace NSMishap;
    if (Is<std::bad_alloc>(failure)) return NSPreviewReason::kTooLittleMemory;
    if (Is<XFormatViolation>(failure) || Is<XUnsupportedFormat>(failure)) return NSPreviewReason::kCorruptOrUnknown;
    if (Is<XVersionTooNew>(failure)) return NSPreviewReason::kTooNew;
    if (Is<XNotFound>(failure) || Is<XResolve>(failure)) return NSPreviewReason::kNotFound;
    if (Is<XOpen>(failure) || Is<XPermission>(failure) || Is<XLocked>(failure) || Is<XRead>(failure) ||
        Is<XNotReady>(failure))
        return NSPreviewReason::kCannotOpen;
    return NSPreviewReason::kInternalError;
}

std::array<std::string, 2> PreviewMessageLines(int32_t reason) {
    using namespace NSStringIds;
    struct SLines {
        int32_t fReason;
        int32_t fFirst;
        int32_t fSecond;
    };
    static constexpr SLines kLines[] = {
        {NSPreviewReason::kTooLongForAutoPlay, kFileTooLongLine, kForAutoPlayLine},
        {NSPreviewReason::kNoLoopLength, kLoopLengthLine, kIsNotSetLine},
        {NSPreviewReason::kAllSlicesMuted, kAllSlicesInLine, kLoopAreMuteLine},
        {NSPreviewReason::kUnsupportedBitDepth, kUnsupportedLine, kBitDepthLine},
        {NSPreviewReason::kUnsupportedChannels, kStereoOrLine, kMonoOnlyLine},
        {NSPreviewReason::kUnsupportedSampleRate, kUnsupportedLine, kSampleRateLine},
        {NSPreviewReason::kTooLittleMemory, kTooLittleLine, kMemoryLine},
        {NSPreviewReason::kCorruptOrUnknown, kFileCorruptOrLine, kUnknown},
        {NSPreviewReason::kTooNew, kFileIsTooNewLine, kToBeLoadedLine},
        {NSPreviewReason::kNotFound, kFileCannotLine, kBeFoundLine},
        {NSPreviewReason::kCannotOpen, kUnableToLine, kOpenFileLine},
        {NSPreviewReason::kInternalError, kInternalLine, kErrorLine},
    };
    for (const SLines& lines : kLines) {
        if (lines.fReason == reason) return {Text(lines.fFirst), Text(lines.fSecond)};
    }
    return {};
}

std::string CShownSoundFileInfo::TypeText() const {
    using namespace NSStringIds;
    switch (fType) {
        case EShownFileType::kUnknown: break;
        case EShownFileType::kWave: return Text(kFileType_Wave);
        case EShownFileType::kAIFF: return Text(kFileType_AIFF);
        case EShownFileType::kMIDI: return Text(kFileType_MIDI);
        case EShownFileType::kUndefinedBinary: return Text(kFileType_UndefinedBinary);
        case EShownFileType::kQLT: return Text(kFileType_QLT);
        case EShownFileType::kLUX1: return Text(kFileType_LUX1);
        case EShownFileType::kLUX2: return Text(kFileType_LUX2);
        case EShownFileType::kProgram: return Text(kFileType_Program);
        case EShownFileType::kSoundFont: return Text(kFileType_SoundFont);
    }
    return NotAvailable();
}

std::string CShownSoundFileInfo::ChannelsText() const {
    if (fChannels <= 0) return NotAvailable();
    if (fChannels == 1) return Text(NSStringIds::kMono);
    if (fChannels == 2) return Text(NSStringIds::kStereo);
    return Number(fChannels);
}

std::string CShownSoundFileInfo::LengthText() const { return FormatLengthText(fFrames, fSampleRate); }

std::string CShownSoundFileInfo::BitsText() const {
    if (fBitDepth <= 0) return NotAvailable();
    return StringReference(fFloat ? NSStringIds::kFloatBitDepth : NSStringIds::kBitDepth).With(Number(fBitDepth)).GetText();
}

std::string CShownSoundFileInfo::RateText() const {
    if (fSampleRate <= 0) return NotAvailable();
    return StringReference(NSStringIds::kHertz).With(Number(fSampleRate)).GetText();
}

std::string CShownSoundFileInfo::SizeText() const { return FormatByteSizeText(fByteSize); }

std::string CShownQuilletFileInfo::TempoText() const { return FormatTempoText(fTempo); }

std::string CShownQuilletFileInfo::SignText() const {
    return StringReference(NSStringIds::kTimeSignature)
        .With(Number(fTimeSignatureNumerator), Number(fTimeSignatureDenominator))
        .GetText();
}

std::string CShownQuilletFileInfo::LengthText() const { return FormatBarsText(fBars, fBeats, fTimeSignatureNumerator); }

std::string CShownQuilletFileInfo::UsageText() const {
    if (fFrames <= 0) return NotAvailable();
    const int64_t percent = std::clamp<int64_t>(fLoopFrames, 0, fFrames) * 100 / fFrames;
    return StringReference(NSStringIds::kPercent).With(Number(percent)).GetText();
}

std::string CShownQuilletFileInfo::SlicesText() const { return Number(fSliceCount); }

std::string CShownQuilletFileInfo::ExportSizeText() const { return FormatByteSizeText(fExportSize); }

SShownFileInfo ReadShownFileInfo(const std::string& path) {
    SShownFileInfo shown;
    try {
        std::shared_ptr<CMedia> media = NSDiskKitSupport::OpenMediaForReading(path);
        shown.fFile.fByteSize = int64_t(media->GetSize());
        const ELoopFileKind kind = CQuilletFile::Identify(*media);
        if (kind != ELoopFileKind::kNone) {
            ReadLoopFile(std::move(media), kind, shown);
            return shown;
        }
        shown.fFile.fType = SniffType(*media);
        media.reset();
        switch (shown.fFile.fType) {
            case EShownFileType::kWave:
            case EShownFileType::kAIFF: ReadSoundFile(path, shown); break;
            case EShownFileType::kUndefinedBinary: shown.fReason = NSPreviewReason::kCorruptOrUnknown; break;
            default: shown.fReason = NSPreviewReason::kNotASound; break;
        }
    } catch (const std::exception& failure) {
        shown.fReason = PreviewReasonOfFailure(failure);
    } catch (...) {
        shown.fReason = NSPreviewReason::kInternalError;
    }
    return shown;
}

std::string FormatLengthText(int64_t frames, int64_t sampleRate) {
    if (sampleRate <= 0 || frames < 0) return NotAvailable();
    if (frames / sampleRate < 60) return Decimal(frames * 100 / sampleRate, 2) + " " + Text(NSStringIds::kSecondsUnit);
    return Decimal(frames * 10 / (sampleRate * 60), 1) + " " + Text(NSStringIds::kMinutesUnit);
}

std::string FormatByteSizeText(int64_t bytes) {
    using namespace NSStringIds;
    if (bytes < 0) return NotAvailable();
    if (bytes < 1024) return Number(bytes) + " " + Text(bytes == 1 ? kByteUnit : kBytesUnit);
    const int32_t units[] = {kKilobyteUnit, kMegabyteUnit, kGigabyteUnit};
    int64_t divisor = 1024;
    for (size_t i = 0;; ++i, divisor *= 1024) {
        const int64_t tenths = (bytes * 10 + divisor / 2) / divisor;
        if (tenths < 10240 || i + 1 == std::size(units)) return Decimal(tenths, 1) + " " + Text(units[i]);
    }
}

std::string FormatTempoText(int32_t thousandths) {
    if (thousandths <= 0) return NotAvailable();
    const std::string unit = " " + Text(NSStringIds::kBPMUnit);
    if (thousandths > 999900) return Text(NSStringIds::kTempoAboveLimit) + unit;
    return Decimal((int64_t(thousandths) + 50) / 100, 1) + unit;
}

std::string FormatBarsText(int32_t bars, int32_t beats, int32_t beatsPerBar) {
    if ((bars == 0 && beats == 0) || beatsPerBar <= 0) return NotAvailable();
    const int64_t totalBeats = int64_t(bars) * beatsPerBar + beats;
    const int64_t hundredths = (totalBeats * 200 + beatsPerBar) / (2 * int64_t(beatsPerBar));
    std::string number = Decimal(hundredths, 2);
    while (number.back() == '0') number.pop_back();
    if (number.back() == '.') number.pop_back();
    return number + " " + Text(NSStringIds::kBarsUnit);
}

}  // namespace NSQuillet
