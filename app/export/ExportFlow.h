#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "formats/export/ExportFileFormat.h"
#include "formats/export/ExportFileFormats.h"
#include "formats/export/ReplaceConsent.h"
#include "platform/diskkit/FileSpec.h"

namespace NSQuillet {

class CQuilletDocument;
class ILoopLengthRequest;

// The choices of the export settings dialog.
struct SExportSettings {
    uint32_t fSampleRate = 44100;
    int32_t fBitDepth = 16;
    bool fExportMIDIWithSameName = false;
};

// What the program keeps from one export to the next (the preferences store it).
struct SExportPreferences {
    EExportFormat fLastFormat = EExportFormat::kWave;
    // "Export as one sample will crop to loop".
    bool fCropToLoop = false;
    // Key of the first slice in the MIDI file, the SoundFont and the sampler program, 0..127.
    int32_t fBaseNote = CABCExportFileFormat::kDefaultBaseNote;
    SExportSettings fSettings;
};

// The dialogs the export opens: modal windows in the editor, options in quillet-cli, scripts
// in tests. User-interface thread; each blocks until answered.
class IExportDialogs {
public:
    virtual ~IExportDialogs() = default;
    // Export Settings with the rates and depths `format` offers, starting from `proposed`;
    // none when cancelled.
    virtual std::optional<SExportSettings> AskExportSettings(const CABCExportFileFormat& format,
                                                             const SExportSettings& proposed) = 0;
};

// The Export command up to the save dialog: asks `lengthRequest` for a loop length when the
// loop has none (GiveLoopLength: one "Change Loop Length" step), refuses a loop with nothing
// sounding between the locators with the note "Nothing to export!", and returns the name to
// propose: the document's display name with the last format's extension. A declined request
// or nothing to export is a silent abort.
std::string BeginExport(CQuilletDocument& document, ILoopLengthRequest& lengthRequest,
                        const SExportPreferences& preferences);

// The save dialog's answer: the export of the document as `format` to `file`. A format with a
// slice limit below the slices to export asks "Too many slices!" (Cancel: silent abort) and
// exports the first slices; MIDI is written at once, the other formats after the export
// settings (cancel: silent abort), with the MIDI file of the same name beside them when asked.
// Runs under the lengthy operation "Export"; Stop, a refused replacement or a write failure
// end it with files already written kept. The format and settings become the preferences'.
void FinishExport(CQuilletDocument& document, EExportFormat format, const NSDiskKit::CFileSpec& file,
                  IExportDialogs& dialogs, IReplaceQuestion& replaceQuestion, SExportPreferences& preferences);

// The settings to propose for `format`: the remembered ones, with a rate or depth the format
// does not offer replaced by the loop's own when offered, else by the format's default.
SExportSettings ProposeExportSettings(const CABCExportFileFormat& format, const SExportSettings& remembered,
                                      uint32_t loopRate, int32_t loopBitDepth);

}  // namespace NSQuillet
