#pragma once

#include <optional>
#include <string>

#include "app/document/QuilletDocument.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// The loop options shared by the commands that change a loop before using it.
struct SLoopOptions {
    std::optional<int32_t> fSensitivity;
    std::optional<int32_t> fGate;
    std::optional<std::string> fSignature;
    std::optional<int32_t> fBars;
    std::optional<int32_t> fBeats;
    std::optional<int32_t> fLeft;
    std::optional<int32_t> fRight;
    std::optional<bool> fPreview;
    std::optional<double> fTempo;
};

// Registers --sensitivity, --gate, --sign, --bars, --beats and, when `withLocators`, --left and
// --right, then --preview and --tempo.
void AddLoopOptions(CLI::App& command, SLoopOptions& options, bool withLocators);

// "" when the options can be applied, else what is wrong with them.
std::string CheckLoopOptions(const SLoopOptions& options);

// The options with --preview defaulted for playing the loop: without --preview, a loop that has
// a length (its own or the one given) plays at the preview tempo.
SLoopOptions WithPreviewByDefault(const CQuilletDocument& document, const SLoopOptions& options);

// Applies the options as the editor's undoable changes, in this order: sensitivity, gate,
// signature, bars and beats, locators, preview, tempo. Check them first. A tempo needs a loop
// length, the document's or the one given: without one nothing is changed and the answer
// says so; else "".
std::string ApplyLoopOptions(CQuilletDocument& document, const SLoopOptions& options);

}  // namespace NSQuillet::NSCli
