#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "engine/WaveSample.h"
#include "formats/iff/ChunkId.h"
#include "formats/iff/IFFFileReader.h"
#include "formats/media/Media.h"

namespace NSQuillet {

class CLUX2DecompressCallback;

inline constexpr TChunkId kAIFFFileType = MakeChunkId("AIFF");
inline constexpr TChunkId kAIFFCommonId = MakeChunkId("COMM");
inline constexpr TChunkId kAIFFSoundDataId = MakeChunkId("SSND");
inline constexpr TChunkId kAIFFInstrumentId = MakeChunkId("INST");
inline constexpr TChunkId kAIFFMarkerId = MakeChunkId("MARK");
inline constexpr TChunkId kAIFFApplicationId = MakeChunkId("APPL");
inline constexpr TChunkId kAIFFNoCompression = MakeChunkId("NONE");

// The sound format a COMM chunk states, unchecked.
struct SAIFFSoundFormat {
    int32_t fChannelCount = 0;
    uint32_t fFrameCount = 0;
    int32_t fSampleSize = 0;   // bits
    uint32_t fSampleRate = 0;  // Hz, truncated
};

// A loop between two frames, start < end.
struct SAIFFLoopPoints {
    uint32_t fStart = 0;
    uint32_t fEnd = 0;
};

// The program's own reading of an uncompressed AIFF file (a FORM of type AIFF), used for the
// legacy loop files; the media must outlive it. User-interface thread; blocks on the media.
// Structural damage and a missing COMM or SSND chunk are an XFormatViolation "".
class CLegacyAIFFReader {
public:
    static constexpr int32_t kFramesPerBlock = 1 << 20;

    // No FORM AIFF at the top of `media`: XFormatViolation "".
    explicit CLegacyAIFFReader(CMedia& media);

    // COMM: shorter than 18 bytes, XFormatViolation "COMM chunk too short"; from 22 bytes on a
    // compression type other than NONE (sowt included), XUnsupportedFormat "unsupported
    // compression type in COMM chunk"; a rate below 1 Hz or not a number, XFormatViolation
    // "bad sample rate in COMM chunk". Rates above 2^32 - 1 become 2^32 - 1.
    SAIFFSoundFormat ReadFormat();

    // The sustain loop of a valid INST chunk, its markers looked up in MARK, when it lies in
    // 0..frameCount. Both chunks are optional and only describe the sound for other programs,
    // so an invalid or damaged one gives no loop instead of a failure.
    std::optional<SAIFFLoopPoints> ReadSustainLoop(uint32_t frameCount);

    // Calls `read` with the body of the first APPL chunk, or with null when there is none.
    template <class TRead>
    auto ReadApplicationChunk(TRead&& read) {
        if (!fReader.FindOptionalChunk(kAIFFApplicationId)) return read(static_cast<CMedia*>(nullptr));
        SLeaveOnExit leave{fReader};
        return read(&fReader.GetMedia());
    }

    // The SSND frames as a new wave sample: 8-bit samples become 16-bit ones (value × 256),
    // 16-bit a 16-bit sample, 20-, 22- and 24-bit (left-justified in three bytes) a 24-bit one.
    // Refused, each an XFormatViolation: a sample size outside 8..24, "bad bytes/frame"; any
    // other size than those five or other than 1 or 2 channels, "bad CWaveSampleInfo format";
    // fewer than 1 or more than 2^31 - 1 frames, "zero or negative # of frames"; an SSND too
    // short for the frames, "SSND chunk too short for its frames" (before anything is
    // allocated). Read in blocks of kFramesPerBlock with Progress(frames done) before each and
    // Progress(total) at the end; true before a block is XAbort "callback cancelled".
    // `callback` may be null.
    std::unique_ptr<CABCWaveSample> ReadSound(const SAIFFSoundFormat& format, CLUX2DecompressCallback* callback);

private:
    struct SLeaveOnExit {
        CIFFFileReader& fReader;
        ~SLeaveOnExit() { fReader.Leave(); }
    };

    CIFFFileReader fReader;
};

}  // namespace NSQuillet
