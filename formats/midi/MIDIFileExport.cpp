#include "formats/midi/MIDIFileExport.h"

#include <algorithm>

#include "engine/Exporter.h"
#include "formats/midi/MIDIFileWriter.h"
#include "formats/text/UTF8Text.h"
#include "foundation/Mishap.h"
#include "foundation/MulDiv.h"
#include "foundation/Units.h"

namespace NSQuillet {

namespace {

constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kMetaTrackName = 3;
constexpr uint8_t kFullVelocity = 127;

int64_t ToFileTicks(int32_t ticks) {
    return int64_t(ticks) * kMIDIFileTicksPerQuarterNote / kTicksPerQuarterNote;
}

uint8_t DenominatorPower(int32_t denominator) {
    switch (denominator) {
        case 2: return 1;
        case 4: return 2;
        case 8: return 3;
        case 16: return 4;
        default: return 0;
    }
}

// 60,000,000,000 over thousandths of a beat per minute. The slowest tempi need more than the
// three bytes of the tempo event and get the slowest it can state.
uint32_t MicrosecondsPerQuarter(int32_t tempo) {
    if (tempo == 0) return 0;
    return uint32_t(std::min<int64_t>(60000000000LL / tempo, 0xFFFFFF));
}

uint8_t NoteNumber(int32_t baseNote, int32_t index) {
    const int32_t note = ((baseNote + index) % 256 + 256) % 256;
    return uint8_t(std::min(note, 127));
}

void CheckLoop(const SMIDILoop& loop, size_t count) {
    if (loop.fTempo < 0) throw NSMishap::XStdInvalidArgument("negative tempo");
    if (loop.fLoopTicks < 0) throw NSMishap::XStdInvalidArgument("negative loop length");
    for (size_t i = 0; i < count; ++i) {
        const int32_t start = loop.fSlices[i].fStartTick;
        if (start < 0 || (i > 0 && start < loop.fSlices[i - 1].fStartTick))
            throw NSMishap::XStdInvalidArgument("slice out of loop order");
    }
}

}  // namespace

SMIDILoop DescribeMIDILoop(const CExporter& exporter) {
    const CLoopSettings settings = exporter.GetLoopSettings();
    SMIDILoop loop;
    loop.fNumerator = settings.GetTimeSignatureNumerator();
    loop.fDenominator = settings.GetTimeSignatureDenominator();
    loop.fTempo = settings.GetPreviewTempo();
    loop.fLoopTicks = settings.GetLoopTicks();
    for (int32_t i = 0; i < exporter.GetSliceCount(); ++i) {
        const SExportItemInfo info = exporter.GetSliceInfo(i);
        loop.fSlices.push_back(SMIDISliceTicks{info.fStartTick, info.fEndTick});
    }
    return loop;
}

void WriteMIDIFile(const SMIDILoop& loop, CMedia& media, int32_t baseNote, int32_t sliceCount,
                   const std::string& trackName) {
    const size_t available = loop.fSlices.size();
    const size_t count = sliceCount < 0 ? available : std::min(size_t(sliceCount), available);
    CheckLoop(loop, count);

    CMIDIFileWriter writer(media, false);
    writer.WriteHeader(1, 2, CMIDIDivision::TicksPerQuarterNote(kMIDIFileTicksPerQuarterNote));

    writer.BeginTrack();
    writer.TimeSignature(0, uint8_t(std::clamp(loop.fNumerator, 1, 255)), DenominatorPower(loop.fDenominator));
    writer.Tempo(0, MicrosecondsPerQuarter(loop.fTempo));
    writer.EndTrack();

    writer.BeginTrack();
    writer.Text(0, kMetaTrackName, ToASCII(trackName, 0, 0x7F).c_str());
    int64_t lastTime = 0;
    for (size_t i = 0; i < count; ++i) {
        const SMIDISliceTicks& slice = loop.fSlices[i];
        // The next slice of the loop cuts the note even when it is not exported.
        const int32_t limit = i + 1 < available ? loop.fSlices[i + 1].fStartTick : loop.fLoopTicks;
        const int32_t end = std::max(std::min(slice.fEndTick, limit), slice.fStartTick);
        const uint8_t note = NoteNumber(baseNote, int32_t(i));
        writer.Event(ToFileTicks(slice.fStartTick), kNoteOn, note, kFullVelocity);
        lastTime = ToFileTicks(end);
        writer.Event(lastTime, kNoteOn, note, 0);
    }
    writer.EndOfTrack(std::max(ToFileTicks(loop.fLoopTicks), lastTime));
    writer.EndTrack();
}

}  // namespace NSQuillet
