#include "formats/midi/MIDIFileWriter.h"

#include <cstring>

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr TChunkId kChunkId_MThd = MakeChunkId("MThd");
constexpr TChunkId kChunkId_MTrk = MakeChunkId("MTrk");

constexpr uint8_t kMetaStatus = 0xFF;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaTimeSignature = 0x58;

bool HasOneDataByte(uint8_t status) { return status >= 0xC0 && status <= 0xDF; }

}  // namespace

void WriteVariableLengthQuantity(CMedia& media, uint32_t value) {
    uint8_t bytes[5];
    size_t count = 0;
    do {
        bytes[count++] = uint8_t(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    uint8_t ordered[5];
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[count - 1 - i];
        ordered[i] = i + 1 < count ? uint8_t(byte | 0x80) : byte;
    }
    media.Write(count, ordered);
}

CMIDIFileWriter::CMIDIFileWriter(CMedia& media, bool runningStatus)
    : CIFFWriter(media, EIFFByteOrder::kBigEndian), fMedia(media), fRunningStatus(runningStatus) {
    SetPadding(false);
}

void CMIDIFileWriter::WriteHeader(uint16_t format, uint16_t trackCount, CMIDIDivision division) {
    BeginChunk(kChunkId_MThd);
    WriteU16(fMedia, format);
    WriteU16(fMedia, trackCount);
    WriteU16(fMedia, division.GetField());
    EndChunk();
}

void CMIDIFileWriter::BeginTrack() {
    BeginChunk(kChunkId_MTrk);
    fLastTime = 0;
    fLastStatus.reset();
    fTrackEnded = false;
}

void CMIDIFileWriter::RequireTrackOpen() const {
    if (!IsOpen()) throw NSMishap::XIllegalCallSequence("no MIDI track open");
    if (fTrackEnded) throw NSMishap::XIllegalCallSequence("event after the end of the MIDI track");
}

void CMIDIFileWriter::WriteDelta(int64_t time) {
    if (time < fLastTime) throw NSMishap::XStdInvalidArgument("MIDI event before the one written last");
    const int64_t delta = time - fLastTime;
    if (delta > int64_t(UINT32_MAX)) throw NSMishap::XStdOutOfRange("MIDI delta time beyond 32 bits");
    WriteVariableLengthQuantity(fMedia, uint32_t(delta));
    fLastTime = time;
}

void CMIDIFileWriter::Event(int64_t time, uint8_t status, uint8_t data1, uint8_t data2) {
    RequireTrackOpen();
    if (status < 0x80 || status > 0xEF) throw NSMishap::XStdInvalidArgument("not a MIDI channel status");
    if (data1 > 0x7F || data2 > 0x7F) throw NSMishap::XStdInvalidArgument("MIDI data byte above 127");
    WriteDelta(time);
    if (!fRunningStatus || fLastStatus != status) WriteU8(fMedia, status);
    fLastStatus = status;
    WriteU8(fMedia, data1);
    if (!HasOneDataByte(status)) WriteU8(fMedia, data2);
}

void CMIDIFileWriter::Meta(int64_t time, uint8_t type, const uint8_t* bytes, uint32_t length) {
    RequireTrackOpen();
    if (type > 0x7F) throw NSMishap::XStdInvalidArgument("MIDI meta type above 127");
    if (length > 0 && !bytes) throw NSMishap::XStdInvalidArgument("MIDI meta event without its bytes");
    WriteDelta(time);
    WriteU8(fMedia, kMetaStatus);
    WriteU8(fMedia, type);
    WriteVariableLengthQuantity(fMedia, length);
    if (length > 0) fMedia.Write(length, bytes);
    fLastStatus.reset();
}

void CMIDIFileWriter::Tempo(int64_t time, uint32_t microsecondsPerQuarter) {
    if (microsecondsPerQuarter > 0xFFFFFF) throw NSMishap::XStdOutOfRange("MIDI tempo beyond 24 bits");
    const uint8_t bytes[3] = {uint8_t(microsecondsPerQuarter >> 16), uint8_t(microsecondsPerQuarter >> 8),
                              uint8_t(microsecondsPerQuarter)};
    Meta(time, kMetaTempo, bytes, 3);
}

void CMIDIFileWriter::TimeSignature(int64_t time, uint8_t numerator, uint8_t denominatorPower) {
    const uint8_t bytes[4] = {numerator, denominatorPower, 24, 8};
    Meta(time, kMetaTimeSignature, bytes, 4);
}

void CMIDIFileWriter::Text(int64_t time, uint8_t type, const char* text) {
    if (!text) throw NSMishap::XStdInvalidArgument("MIDI text missing");
    const size_t length = std::strlen(text);
    if (length > UINT32_MAX) throw NSMishap::XStdLengthError("MIDI text too long");
    Meta(time, type, reinterpret_cast<const uint8_t*>(text), uint32_t(length));
}

void CMIDIFileWriter::EndOfTrack(int64_t time) {
    Meta(time, kMetaEndOfTrack, nullptr, 0);
    fTrackEnded = true;
}

void CMIDIFileWriter::EndTrack() {
    if (!IsOpen()) throw NSMishap::XIllegalCallSequence("no MIDI track open");
    if (!fTrackEnded) EndOfTrack(fLastTime);
    EndChunk();
}

}  // namespace NSQuillet
