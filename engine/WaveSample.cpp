#include "engine/WaveSample.h"

#include <new>

#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

int32_t CheckedFrameCount(int32_t frameCount) {
    if (frameCount < 0) throw NSMishap::XStdInvalidArgument("negative frame count");
    return frameCount;
}

std::unique_ptr<CWaveSamplePreview> CopyPreview(const CWaveSamplePreview* preview) {
    if (!preview) return nullptr;
    try {
        return std::make_unique<CWaveSamplePreview>(*preview);
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory to copy the wave sample preview");
    }
}

}  // namespace

CABCWaveSample::CABCWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo, int32_t bitDepth)
    : fSampleRate(sampleRate),
      fFrameCount(CheckedFrameCount(frameCount)),
      fBitDepth(bitDepth),
      fStereo(stereo),
      fRightLocator(frameCount) {}

CABCWaveSample::CABCWaveSample(const CABCWaveSample& other)
    : fSampleRate(other.fSampleRate),
      fFrameCount(other.fFrameCount),
      fBitDepth(other.fBitDepth),
      fStereo(other.fStereo),
      fHasPreview(other.fHasPreview),
      fPreview(CopyPreview(other.fPreview.get())),
      fLoopSet(other.fLoopSet),
      fLoopKind(other.fLoopKind),
      fLeftLocator(other.fLeftLocator),
      fRightLocator(other.fRightLocator) {}

CABCWaveSample::~CABCWaveSample() = default;

void CABCWaveSample::SetLocators(int32_t loopKind, int32_t left, int32_t right) {
    fLoopKind = loopKind;
    fLeftLocator = left;
    fRightLocator = right;
    fLoopSet = true;
}

void CABCWaveSample::BuildPreview() {
    std::unique_ptr<CWaveSamplePreview> preview;
    try {
        preview = std::make_unique<CWaveSamplePreview>(*this, fFrameCount, fStereo);
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the wave sample preview");
    }
    fPreview = std::move(preview);
    fHasPreview = true;
}

}  // namespace NSQuillet
