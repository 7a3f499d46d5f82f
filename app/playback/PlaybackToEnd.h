#pragma once

#include <cstdint>
#include <optional>

#include "foundation/ProgressReporter.h"

namespace NSQuillet {

class CAudioCardManager;
class CQuilletDocument;
class CWavePlayer;

// What a headless front end plays of a document.
struct SPlaybackRun {
    // How many times it plays, 1 or more.
    int64_t fRepeat = 1;
    // An index into the slice list: the play-list entry that slice starts is played alone.
    std::optional<int32_t> fSlice;
};

enum class EPlaybackKind {
    kStraight,  // the sound as it is (no loop length, no slice asked for): the wave player's mode 0
    kLoop,      // the loop through the preview sequencer
    kSlice,     // one slice through the preview sequencer
};

EPlaybackKind ChoosePlaybackKind(const CQuilletDocument& document, const SPlaybackRun& run);

// Plays the document through the wave player until it has played `run.fRepeat` times: the loop
// for exactly that many loop lengths at the output rate, as a render of it ends; a slice or the
// sound straight again after each end. Progress 0..1000 goes to `progress` (may be null); Stop
// there stops the playback and ends with XAbort "user pressed stop". An output that stops
// working ends it with a failure carrying kDriverStopped; an output that is not working plays
// nothing (XIllegalCallSequence). The document must play through `player` and `manager`
// (SDocumentSettings), and a slice index must lie in its slice list (else
// XStdInvalidArgument). User-interface thread; returns when the playback has ended.
void PlayToEnd(CQuilletDocument& document, CAudioCardManager& manager, CWavePlayer& player, const SPlaybackRun& run,
               IProgressReporter* progress);
// The same under the lengthy operation "Play" with "Playing loop…", "Playing slice…" or
// "Playing sound…" (the process-wide progress window: a terminal's Ctrl-C is its Stop).
void PlayToEnd(CQuilletDocument& document, CAudioCardManager& manager, CWavePlayer& player, const SPlaybackRun& run);

}  // namespace NSQuillet
