#include "engine/Exporter.h"

#include <algorithm>
#include <limits>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/PlayList.h"
#include "engine/QuilletSequencer.h"
#include "foundation/Mishap.h"
#include "foundation/MulDiv.h"
#include "foundation/SampleRate.h"
#include "foundation/Units.h"

namespace NSQuillet {

namespace {

// A multiple of the sequencer's block.
constexpr int32_t kRenderChunkFrames = 64 * kBlockFrames;

// The fade-out that starts at item frame `fadeFrom`, over the `count` frames of `frames`, which
// start at item frame `first`.
void FadeOut(float* frames, int64_t first, int64_t count, int64_t fadeFrom) {
    for (int64_t i = std::max(fadeFrom, first); i < first + count; ++i) {
        const double factor = std::max(0.0, 1.0 - 0.025 * double(i - fadeFrom));
        frames[i - first] = float(frames[i - first] * factor);
    }
}

}  // namespace

CExporter::CExporter(const CQuilletSequencer& sequencer, bool sliceMode, bool cutAtLoopEnd)
    : fSequencer(std::make_unique<CQuilletSequencer>(sequencer)), fSliceMode(sliceMode), fCutAtLoopEnd(cutAtLoopEnd) {
    const CABCWaveSample* sample = fSequencer->GetWaveSample();
    if (!sample) throw NSMishap::XStdInvalidArgument("exporter without a wave sample");
    fSequencer->SetPreviewOn(true);
    fRate = ClampSampleRate(sample->GetSampleRate());
    fSequencer->SetOutputRate(fRate);

    const CPlayList::SLoopRange loop = CPlayList::GetLoopRange(*sample);
    fLeftLocator = loop.fLeft;
    fLoopFrames = int64_t(loop.fRight) - loop.fLeft;
    for (const SPlayListEntry& entry : fSequencer->GetPlayListEntries()) {
        if (entry.fStart >= loop.fLeft && entry.fEnd <= loop.fRight) {
            fPlanned.push_back(entry);
            fPlayLengths.push_back(fSequencer->SampleFramesToOutputFrames(int64_t(entry.fEnd) - entry.fStart));
        }
    }

    fOneSampleLength = fSequencer->SampleFramesToOutputFrames(fLoopFrames);
    int64_t previous = 0;
    for (size_t i = 0; i < fPlanned.size(); ++i) {
        int64_t start = Round64(fSequencer->SampleFramesToOutputFrames(int64_t(fPlanned[i].fStart) - fLeftLocator));
        if (i > 0) start = std::max(start, previous + kBlockFrames);
        fScheduledStarts.push_back(start);
        previous = start;
    }
    if (!fCutAtLoopEnd && !fPlanned.empty()) {
        fOneSampleLength = std::max(fOneSampleLength, fScheduledStarts.back() + fPlayLengths.back());
    }
}

CExporter::CExporter(const CExporter& other)
    : fSequencer(std::make_unique<CQuilletSequencer>(*other.fSequencer)),
      fSliceMode(other.fSliceMode),
      fCutAtLoopEnd(other.fCutAtLoopEnd),
      fLeftLocator(other.fLeftLocator),
      fLoopFrames(other.fLoopFrames),
      fRate(other.fRate),
      fPlanned(other.fPlanned),
      fPlayLengths(other.fPlayLengths),
      fScheduledStarts(other.fScheduledStarts),
      fOneSampleLength(other.fOneSampleLength) {}

CExporter::~CExporter() = default;

std::unique_ptr<CExporter> CExporter::MakeCopy() const { return std::unique_ptr<CExporter>(new CExporter(*this)); }

int32_t CExporter::GetSliceCount() const { return fSliceMode ? int32_t(fPlanned.size()) : 1; }

CLoopSettings CExporter::GetLoopSettings() const { return fSequencer->GetLoopSettings(); }

int32_t CExporter::GetBitDepth() const { return fSequencer->GetWaveSample()->GetBitDepth(); }

bool CExporter::IsStereo() const { return fSequencer->GetWaveSample()->IsStereo(); }

SExportItemInfo CExporter::GetSliceInfo(int32_t index) const {
    if (index < 0 || index >= GetSliceCount()) throw NSMishap::XStdOutOfRange("no such export item");
    SExportItemInfo info;
    if (fSliceMode) {
        const int64_t offset = int64_t(fPlanned[size_t(index)].fStart) - fLeftLocator;
        const int64_t length = GetPlayLength(index);
        info.fStartTick = fSequencer->FramesToTicks(offset);
        info.fEndTick = fSequencer->FramesToTicks(offset + MulDivTruncate(length, fRate, fSequencer->GetOutputRate()));
        info.fLength = length;
    } else {
        info.fEndTick = fSequencer->FramesToTicks(fLoopFrames);
        info.fLength = fOneSampleLength;
    }
    return info;
}

int64_t CExporter::GetTotalFrames() const {
    int64_t total = 0;
    for (int32_t i = 0; i < GetSliceCount(); ++i) total += GetSliceInfo(i).fLength;
    return total;
}

std::unique_ptr<CABCWaveSample> CExporter::RenderSlice(int32_t index) {
    const SExportItemInfo info = GetSliceInfo(index);
    if (info.fLength > std::numeric_limits<int32_t>::max() - kBlockFrames) {
        throw NSMishap::XStdLengthError("export item too long");
    }
    const int32_t length = int32_t(std::max<int64_t>(info.fLength, 0));
    const CABCWaveSample& source = *fSequencer->GetWaveSample();
    std::unique_ptr<CABCWaveSample> result;
    // Every frame is written below.
    if (source.GetBitDepth() == 24) {
        result = std::make_unique<C24BitWaveSample>(fRate, length, source.IsStereo(), EInitialValues::kUnset);
    } else {
        result = std::make_unique<C16BitWaveSample>(fRate, length, source.IsStereo(), EInitialValues::kUnset);
    }
    result->SetLocators(2, 0, length);

    // Rendered a chunk at a time straight into the result: the whole item as floats would need
    // twice the result's memory again. Silence after P (slice mode) and the fade of the last 40
    // frames (a cut one-sample export) are applied by frame index, as over the whole item.
    const int64_t silentFrom = fSliceMode ? std::clamp<int64_t>(GetPlayLength(index), 0, length) : length;
    const int64_t fadeFrom = !fSliceMode && fCutAtLoopEnd ? std::max<int64_t>(length - kFadeFrames, 0) : length;
    std::vector<float> left(size_t(std::min(kRenderChunkFrames, std::max(length, 1))));
    std::vector<float> right(left.size());
    float blockLeft[kBlockFrames];
    float blockRight[kBlockFrames];
    fSequencer->ResetPlayback();
    size_t next = 0;
    for (int32_t chunk = 0; chunk < length; chunk += kRenderChunkFrames) {
        const int32_t chunkFrames = std::min(kRenderChunkFrames, length - chunk);
        for (int32_t offset = 0; offset < chunkFrames; offset += kBlockFrames) {
            const int32_t frame = chunk + offset;
            if (fSliceMode) {
                if (frame == 0) fSequencer->PlaySliceAt(fPlanned[size_t(index)].fStart);
            } else if (next < fPlanned.size() && fScheduledStarts[next] <= frame) {
                fSequencer->PlaySliceAt(fPlanned[next].fStart);
                ++next;
            }
            fSequencer->Render(blockLeft, blockRight, kBlockFrames);
            const int32_t frames = std::min(kBlockFrames, chunkFrames - offset);
            std::copy_n(blockLeft, frames, left.begin() + offset);
            std::copy_n(blockRight, frames, right.begin() + offset);
        }
        for (int64_t i = std::max<int64_t>(silentFrom, chunk); i < chunk + chunkFrames; ++i) {
            left[size_t(i - chunk)] = 0.0f;
            right[size_t(i - chunk)] = 0.0f;
        }
        FadeOut(left.data(), chunk, chunkFrames, fadeFrom);
        FadeOut(right.data(), chunk, chunkFrames, fadeFrom);
        result->SetFloats(chunk, chunkFrames, left.data(), 1);
        if (source.IsStereo()) result->SetFloats(chunk, chunkFrames, right.data(), 2);
    }
    fSequencer->ResetPlayback();
    return result;
}

void CExporter::FadeOutEnd(float* frames, int64_t count) {
    FadeOut(frames, 0, count, std::max<int64_t>(count - kFadeFrames, 0));
}

}  // namespace NSQuillet
