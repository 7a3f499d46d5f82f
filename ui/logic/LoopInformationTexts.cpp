#include "ui/logic/LoopInformationTexts.h"

#include <algorithm>

#include "app/document/QuilletDocument.h"
#include "app/opening/ShownFileInfo.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "ui/logic/SampleFormatChoices.h"

namespace NSQuillet {

namespace {

std::string Text(int32_t entry) { return StringReference(entry).GetText(); }

}  // namespace

SLoopInformation CaptureLoopInformation(const CQuilletDocument& document) {
    const CABCWaveSample& sample = document.GetWaveSample();
    const SDocumentParameters& parameters = document.GetDocumentParameters();
    SLoopInformation information;
    information.fName = document.GetDisplayName();
    information.fStereo = sample.IsStereo();
    information.fSampleRate = sample.GetSampleRate();
    information.fBitDepth = sample.GetBitDepth();
    information.fBars = parameters.fLoop.GetBars();
    information.fBeats = parameters.fLoop.GetBeats();
    information.fBeatsPerBar = parameters.fLoop.GetTimeSignatureNumerator();
    const int32_t left = parameters.fLeftLocator;
    const int32_t right = parameters.fRightLocator;
    information.fLoopFrames = std::max<int64_t>(0, int64_t(right) - left);
    const CSliceSequence& slices = document.GetSliceSequence();
    information.fSliceCount =
        int32_t(std::count_if(slices.GetSlices().begin(), slices.GetSlices().end(), [&](const CSlice& slice) {
            return slice.GetPosition() >= left && slice.GetPosition() < right && slices.IsSliceActive(slice);
        }));
    return information;
}

SLoopInformationTexts MakeLoopInformationTexts(const SLoopInformation& information) {
    using namespace NSStringIds;
    SLoopInformationTexts texts;
    texts.fTitle = StringReference(kInformationForPattern).With(information.fName).GetText();
    texts.fSampleFormat =
        StringReference(kSampleFormatPattern)
            .With(Text(information.fStereo ? kStereo : kMono), SampleRateItemText(information.fSampleRate),
                  BitDepthItemText(information.fBitDepth))
            .GetText();
    const std::string slices =
        std::to_string(information.fSliceCount) + Text(information.fSliceCount == 1 ? kSliceUnit : kSlicesUnit);
    texts.fLoopLength = StringReference(kLoopLengthPattern)
                            .With(FormatBarsText(information.fBars, information.fBeats, information.fBeatsPerBar),
                                  FormatLengthText(information.fLoopFrames, information.fSampleRate), slices)
                            .GetText();
    return texts;
}

}  // namespace NSQuillet
