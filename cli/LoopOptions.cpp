#include "cli/LoopOptions.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <map>

#include "app/document/DocumentTexts.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet::NSCli {

namespace {

const std::map<std::string, bool> kOnOff = {{"on", true}, {"off", false}};

struct STimeSignature {
    int32_t fNumerator = 4;
    int32_t fDenominator = 4;
};

// "N/D" with both parts 1..15.
std::optional<STimeSignature> ParseSignature(const std::string& text) {
    int numerator = 0, denominator = 0;
    char slash = 0, extra = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c", &numerator, &slash, &denominator, &extra) != 3 || slash != '/')
        return std::nullopt;
    if (numerator < 1 || numerator > 15 || denominator < 1 || denominator > 15) return std::nullopt;
    return STimeSignature{numerator, denominator};
}

void ChangeSlices(CQuilletDocument& document, int32_t nameEntry, void (CSliceSequence::*set)(int32_t), int32_t value) {
    auto slices = std::make_unique<CSliceSequence>(document.GetSliceSequence());
    (slices.get()->*set)(value);
    document.PerformSliceSequenceChange(std::move(slices), UndoText(nameEntry));
    document.CloseUndoStep();
}

void ChangeParameters(CQuilletDocument& document, const SDocumentParameters& parameters, int32_t nameEntry) {
    if (parameters == document.GetDocumentParameters()) return;
    document.PerformParametersChange(parameters, UndoText(nameEntry));
    document.CloseUndoStep();
}

}  // namespace

void AddLoopOptions(CLI::App& command, SLoopOptions& options, bool withLocators) {
    command.add_option("--sensitivity", options.fSensitivity, "Analysis sensitivity, 0..99")->check(CLI::Range(0, 99));
    command.add_option("--gate", options.fGate, "Gate sensitivity, 0..999 (0: off)")->check(CLI::Range(0, 999));
    command.add_option("--sign", options.fSignature, "Time signature N/D");
    command.add_option("--bars", options.fBars, "Loop length in bars")->check(CLI::Range(0, 999));
    command.add_option("--beats", options.fBeats, "Additional beats")->check(CLI::Range(0, 7));
    if (withLocators) {
        command.add_option("--left", options.fLeft, "Left locator, sample frame")->check(CLI::NonNegativeNumber);
        command.add_option("--right", options.fRight, "Right locator, sample frame")->check(CLI::NonNegativeNumber);
    }
    command.add_option("--preview", options.fPreview, "Preview on or off")->transform(CLI::CheckedTransformer(kOnOff));
    command.add_option("--tempo", options.fTempo, "Preview tempo in BPM")->check(CLI::Range(20.0, 450.0));
}

std::string CheckLoopOptions(const SLoopOptions& options) {
    if (options.fSignature && !ParseSignature(*options.fSignature)) return "--sign takes N/D with N and D from 1 to 15";
    if (options.fLeft && options.fRight && *options.fLeft > *options.fRight)
        return "--left must not be after --right";
    return "";
}

SLoopOptions WithPreviewByDefault(const CQuilletDocument& document, const SLoopOptions& options) {
    SLoopOptions defaulted = options;
    if (!defaulted.fPreview) {
        const SDocumentParameters parameters = document.GetDocumentParameters();
        defaulted.fPreview =
            options.fBars.value_or(parameters.fLoop.GetBars()) != 0 || options.fBeats.value_or(parameters.fLoop.GetBeats()) != 0;
    }
    return defaulted;
}

std::string ApplyLoopOptions(CQuilletDocument& document, const SLoopOptions& options) {
    using namespace NSStringIds;
    const SDocumentParameters before = document.GetDocumentParameters();
    const bool lengthSet =
        options.fBars.value_or(before.fLoop.GetBars()) != 0 || options.fBeats.value_or(before.fLoop.GetBeats()) != 0;
    if (options.fTempo && !lengthSet) return "--tempo needs the loop's length: give --bars or --beats";

    if (options.fSensitivity) ChangeSlices(document, kUndo_ChangeSensitivity, &CSliceSequence::SetSensitivity, *options.fSensitivity);
    if (options.fGate) ChangeSlices(document, kUndo_ChangeGateSensitivity, &CSliceSequence::SetGateSensitivity, *options.fGate);

    SDocumentParameters parameters = document.GetDocumentParameters();
    if (options.fSignature) {
        const STimeSignature signature = *ParseSignature(*options.fSignature);
        parameters.fLoop.SetTimeSignatureNumerator(signature.fNumerator);
        parameters.fLoop.SetTimeSignatureDenominator(signature.fDenominator);
        ChangeParameters(document, parameters, kUndo_ChangeTimeSignature);
    }
    if (options.fBars || options.fBeats) {
        parameters = document.GetDocumentParameters();
        if (options.fBars) parameters.fLoop.SetBars(*options.fBars);
        if (options.fBeats) parameters.fLoop.SetBeats(*options.fBeats);
        ChangeParameters(document, parameters, kUndo_ChangeLoopLength);
    }
    if (options.fLeft || options.fRight) {
        parameters = document.GetDocumentParameters();
        if (options.fLeft) parameters.fLeftLocator = *options.fLeft;
        if (options.fRight) parameters.fRightLocator = *options.fRight;
        ChangeParameters(document, parameters, kUndo_SetLoop);
    }
    if (options.fPreview) {
        parameters = document.GetDocumentParameters();
        parameters.fLoop.SetPreviewOn(*options.fPreview);
        ChangeParameters(document, parameters, kUndo_TogglePreviewPlay);
    }
    if (options.fTempo) {
        parameters = document.GetDocumentParameters();
        parameters.fLoop.SetPreviewTempo(int32_t(std::lround(*options.fTempo * 1000.0)));
        ChangeParameters(document, parameters, kUndo_ChangePreviewTempo);
    }
    return "";
}

}  // namespace NSQuillet::NSCli
