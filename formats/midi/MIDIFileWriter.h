#pragma once

#include <cstdint>
#include <optional>

#include "formats/iff/IFFWriter.h"
#include "formats/midi/MIDIDivision.h"

namespace NSQuillet {

// Writes a Standard MIDI File onto a media: the header chunk, then tracks of timed events.
// Chunks are big-endian and never padded. Times are absolute ticks within the track; each
// event is written with its delta from the one before. The media must outlive the writer.
// User-interface thread; blocks on the media's I/O.
//
// Misuse fails before anything is written: a time before the last event's (a negative delta)
// or a byte outside its range is an XStdInvalidArgument, since the caller passed a wrong value;
// an event outside an open track, or after its end-of-track, is an XIllegalCallSequence.
class CMIDIFileWriter final : public CIFFWriter {
public:
    // With `runningStatus` an event repeating the last status byte leaves it out.
    CMIDIFileWriter(CMedia& media, bool runningStatus);

    // The MThd chunk; no track may be open.
    void WriteHeader(uint16_t format, uint16_t trackCount, CMIDIDivision division);
    // Opens an MTrk chunk at time 0 with no status written yet.
    void BeginTrack();
    // A channel message, status 0x80..0xEF, data bytes below 128. Program change and channel
    // pressure (0xC0..0xDF) carry one data byte, so `data2` is not written for them.
    void Event(int64_t time, uint8_t status, uint8_t data1, uint8_t data2);
    // A meta event of type 0..127 with `length` bytes; it cancels running status.
    void Meta(int64_t time, uint8_t type, const uint8_t* bytes, uint32_t length);
    // At most 0xFFFFFF microseconds, the three bytes the event holds (XStdOutOfRange beyond).
    void Tempo(int64_t time, uint32_t microsecondsPerQuarter);
    // Numerator, power of two of the denominator, 24 clocks a click, 8 thirty-seconds a quarter.
    void TimeSignature(int64_t time, uint8_t numerator, uint8_t denominatorPower);
    // A text meta event of `type` holding `text` without its terminating zero.
    void Text(int64_t time, uint8_t type, const char* text);
    void EndOfTrack(int64_t time);
    // Writes the end-of-track at the last event's time if it was not written, then completes
    // the chunk.
    void EndTrack();

private:
    void RequireTrackOpen() const;
    void WriteDelta(int64_t time);

    CMedia& fMedia;
    bool fRunningStatus;
    int64_t fLastTime = 0;
    std::optional<uint8_t> fLastStatus;
    bool fTrackEnded = false;
};

// The standard variable-length quantity: 7 bits a byte, most significant first, the high bit
// set on all but the last; 1 to 5 bytes.
void WriteVariableLengthQuantity(CMedia& media, uint32_t value);

}  // namespace NSQuillet
