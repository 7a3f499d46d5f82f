#pragma once

#include <cstdint>

namespace NSQuillet {

// The division field of a MIDI file header: ticks per quarter note (high bit clear), or SMPTE
// time as the negated frame rate in the high byte and the ticks per frame in the low byte.
class CMIDIDivision {
public:
    enum class EKind { kTicksPerQuarterNote, kSMPTE };

    // 1..32767 ticks; others are an XStdInvalidArgument.
    static CMIDIDivision TicksPerQuarterNote(int32_t ticks);
    // 24, 25, 29 (30 drop-frame) or 30 frames a second and 1..255 ticks a frame; others are an
    // XStdInvalidArgument.
    static CMIDIDivision SMPTE(int32_t framesPerSecond, int32_t ticksPerFrame);

    EKind GetKind() const { return fKind; }
    uint16_t GetField() const { return fField; }

private:
    CMIDIDivision(EKind kind, uint16_t field) : fKind(kind), fField(field) {}

    EKind fKind;
    uint16_t fField;
};

}  // namespace NSQuillet
