#pragma once

#include <memory>
#include <string>

#include "app/document/QuilletDocument.h"

namespace NSQuillet {

class CABCWaveSample;
class CFollowingAnalysis;
class CSliceSequence;

// What follows a stopped analysis: the editor keeps the slices found so far (Re-Analyze finds
// the rest); quillet-cli ends the command, so that nothing is written.
enum class EStoppedAnalysis { kKeepSlicesFound, kStopOpening };

// The slices of a freshly read sound, found under the lengthy operation "Analyze" with the
// progress text "Finding slices…". When the user stops it the note "Analyze was interrupted!"
// is shown; then the slices found until then are returned, or under kStopOpening the abort
// "user pressed stop" follows. When `following` watched the reading of `sample`, its search,
// which ran behind the reading, is finished instead of a new one. User-interface thread.
std::unique_ptr<CSliceSequence> AnalyzeOpenedSound(CABCWaveSample& sample, EStoppedAnalysis stopped,
                                                   CFollowingAnalysis* following = nullptr);

// OpenDocument under the lengthy operation "Open", a sound file's slices found by
// AnalyzeOpenedSound, its loop length derived from `knownTempo` when above 0.
std::unique_ptr<CQuilletDocument> OpenAnalyzedDocument(const std::string& path, EStoppedAnalysis stopped,
                                                       const SDocumentSettings& settings = SDocumentSettings{},
                                                       int32_t knownTempo = 0);

// OpenDocument under the lengthy operation "Open" without the analysis: a sound file keeps
// the fresh slice sequence. For work whose result does not depend on the slices.
std::unique_ptr<CQuilletDocument> OpenUnanalyzedDocument(const std::string& path,
                                                         const SDocumentSettings& settings = SDocumentSettings{});

}  // namespace NSQuillet
