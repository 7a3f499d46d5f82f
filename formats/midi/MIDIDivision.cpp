#include "formats/midi/MIDIDivision.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

CMIDIDivision CMIDIDivision::TicksPerQuarterNote(int32_t ticks) {
    if (ticks < 1 || ticks > 0x7FFF) throw NSMishap::XStdInvalidArgument("ticks per quarter note out of range");
    return CMIDIDivision(EKind::kTicksPerQuarterNote, uint16_t(ticks));
}

CMIDIDivision CMIDIDivision::SMPTE(int32_t framesPerSecond, int32_t ticksPerFrame) {
    if (framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 && framesPerSecond != 30)
        throw NSMishap::XStdInvalidArgument("unknown SMPTE frame rate");
    if (ticksPerFrame < 1 || ticksPerFrame > 0xFF) throw NSMishap::XStdInvalidArgument("ticks per frame out of range");
    const uint8_t negatedRate = uint8_t(256 - framesPerSecond);
    return CMIDIDivision(EKind::kSMPTE, uint16_t((negatedRate << 8) | ticksPerFrame));
}

}  // namespace NSQuillet
