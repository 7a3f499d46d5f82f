#include "app/clipboard/LoopDataSupplier.h"

#include "app/document/LoopLengthRequest.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/saving/DocumentSaving.h"
#include "engine/Exporter.h"
#include "engine/WaveSample.h"
#include "formats/export/ExportFileFormat.h"
#include "formats/export/ExportFileNames.h"
#include "formats/export/ExportStepProgress.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/midi/MIDIFileFormat.h"
#include "formats/soundfile/WAVFileFormat.h"
#include "foundation/Diagnostics.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr const char* kDiagnosticContext = "copy loop";
constexpr int64_t kKindCount = 3;

std::vector<uint8_t> BytesOf(const COwnedMemoryMedia& media) {
    return std::vector<uint8_t>(media.GetBytes(), media.GetBytes() + media.GetSize());
}

// Why a copy ended without data, as a silent abort in the diagnostics.
void ReportSilentEnd(const char* why) {
    try {
        throw NSMishap::XSilentAbort(why);
    } catch (...) {
        NSMishap::ReportCaughtFailure(kDiagnosticContext);
    }
}

bool HasSound(const CQuilletDocument& document) { return document.GetWaveSample().GetFrameCount() > 0; }

}  // namespace

std::optional<CLoopDataSupplier> CLoopDataSupplier::Render(CQuilletDocument& document,
                                                           CQuilletLengthyOperation& operation) {
    if (!HasSound(document) || document.GetExportSliceCount() == 0) return std::nullopt;
    CLoopDataSupplier supplier;
    supplier.fName = NameWithoutExtension(document.GetDisplayName());

    SExportOptions options;
    options.fLoopName = supplier.fName;
    {
        // The whole loop as one sample, exactly the loop's length so that it repeats seamlessly
        // where it is pasted.
        CExporter exporter(document.GetSequencer(), false, true);
        options.fSampleRate = exporter.GetRenderRate();
        options.fBitDepth = exporter.GetBitDepth();
        CExportStepProgress progress(&operation, 0, kKindCount);
        COwnedMemoryMedia media;
        CWAVFileFormat().WriteSliceTo(exporter, 0, media, options, &progress);
        supplier.fWave = BytesOf(media);
    }
    ThrowIfStopRequested(operation);
    {
        // The notes need the slices, whatever "Export as One Sample" says.
        CExporter exporter(document.GetSequencer(), true, true);
        COwnedMemoryMedia media;
        CMIDIFileFormat().WriteTo(exporter, media, options);
        supplier.fMIDI = BytesOf(media);
    }
    ThrowIfStopRequested(operation);
    {
        CExportStepProgress progress(&operation, 2, kKindCount);
        COwnedMemoryMedia media;
        WriteLoopFileTo(document, media, &progress);
        supplier.fLux2 = BytesOf(media);
    }
    ThrowIfStopRequested(operation);
    operation.Progress(1000);
    return supplier;
}

const std::vector<uint8_t>& CLoopDataSupplier::GetBytes(EClipboardLoopKind kind) const {
    switch (kind) {
        case EClipboardLoopKind::kWave: return fWave;
        case EClipboardLoopKind::kMidi: return fMIDI;
        case EClipboardLoopKind::kLux2: return fLux2;
    }
    throw NSMishap::XStdInvalidArgument("unknown clipboard loop kind");
}

SClipboardLoop CLoopDataSupplier::GetLoop(EClipboardLoopKind kind) const { return SClipboardLoop{kind, GetBytes(kind)}; }

const char* CLoopDataSupplier::GetKindName(EClipboardLoopKind kind) {
    switch (kind) {
        case EClipboardLoopKind::kWave: return "WAVE";
        case EClipboardLoopKind::kMidi: return "MIDI";
        case EClipboardLoopKind::kLux2: return "LUX2";
    }
    return "";
}

std::optional<CLoopDataSupplier> CopyLoopData(CQuilletDocument& document, ILoopLengthRequest& lengthRequest) {
    if (!HasSound(document)) {
        ReportSilentEnd("no sound to copy");
        return std::nullopt;
    }
    if (!GiveLoopLength(document, lengthRequest)) {
        ReportSilentEnd("use aborted specify length dialog");
        return std::nullopt;
    }
    CQuilletLengthyOperation operation(StringReference(NSStringIds::kOperation_CopyLoop).GetText());
    try {
        std::optional<CLoopDataSupplier> supplier = CLoopDataSupplier::Render(document, operation);
        if (!supplier) ReportSilentEnd("nothing to copy");
        return supplier;
    } catch (const NSMishap::XAbort&) {
        NSMishap::ReportCaughtFailure(kDiagnosticContext);
        return std::nullopt;
    }
}

}  // namespace NSQuillet
