#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"

namespace NSQuillet {

class CABCWaveSample;
class CLUX2DecompressCallback;
class CSliceSequence;
class ISampleFillListener;

// Finds the slices of a freshly read sound (the analysis); null keeps the fresh sequence.
using FSliceFinder = std::function<std::unique_ptr<CSliceSequence>(CABCWaveSample& sample)>;

// Opens a WAVE, AIFF or loop file (LUX2, LUX, QLT) as the editor does: the format information
// is read and checked (unsupported: its alert, then XSilentAbort "invalid sound file info"), a sound of
// five minutes or more asks the long-file question (anything but Open Anyway: XSilentAbort
// "long file not opened"), the audio is read under `operation` with "Reading loop samples…"
// (a split pair's partner with "Reading 2nd channel of linked stereo file…"), and the
// document is built: a loop file's slices and settings replace what was prepared; a sound
// file's slices come from `findSlices` when given. Then a QLT file with the old Normalize
// option on shows its note, and a LUX file the LUX note, each while its counter
// (GetNoteCounters) allows.
// `filling`, when given, hears of the reading of a single sound file (see
// CSoundFileReader::ReadWaveSample) and is told to release the sample before the document
// takes it or a failure drops it. A sound file's document derives its loop length from
// `knownTempo` (thousandths of BPM) when that is above 0; a loop file keeps the length it carries.
std::unique_ptr<CQuilletDocument> OpenDocument(const std::string& path, const SDocumentSettings& settings,
                                               CQuilletLengthyOperation& operation,
                                               const FSliceFinder& findSlices = nullptr,
                                               ISampleFillListener* filling = nullptr, int32_t knownTempo = 0);

// The audio alone, with the same checks, question and progress as OpenDocument: no document
// is built around it.
std::unique_ptr<CABCWaveSample> OpenAudio(const std::string& path, CQuilletLengthyOperation& operation);

// Whether the file at `path` is a loop file (LUX2, LUX, QLT) by its content, as OpenDocument
// tells them from sound files.
bool IsLoopFile(const std::string& path);

// OpenAudio with the sound of a LUX2 loop file left to decode: every check and the question
// come first, then the sample is allocated and `fDecode`, when set, fills it (on any one
// thread; it fails as OpenAudio would and answers its callback's stop with XAbort). Any other
// file is read whole, as OpenAudio reads it, and `fDecode` is empty.
struct SAudioToDecode {
    std::unique_ptr<CABCWaveSample> fSample;
    std::function<void(CLUX2DecompressCallback* callback)> fDecode;
};
SAudioToDecode OpenAudioToDecode(const std::string& path, CQuilletLengthyOperation& operation);

}  // namespace NSQuillet
